# cmake -DSAIDA=x.cpp -DATUAL=loja.sql -DANTIGA=loja_antiga.sql -P embutir.cmake
# Keeps the DDL scripts inside the program, so demo-db works from any folder.
file(READ ${ATUAL} atual)
file(READ ${ANTIGA} antiga)
set(conteudo "// Generated from src/data/esquema at build time: edit the .sql files.\n#include \"data/fb/EsquemaLoja.h\"\n\nnamespace fb {\n\nstd::string_view EsquemaLoja(TVersaoEsquema versao) {\n    static const char atual[] = R\"SQLDDL(${atual})SQLDDL\";\n    static const char antiga[] = R\"SQLDDL(${antiga})SQLDDL\";\n    if (versao == TVersaoEsquema::Antiga) return {antiga, sizeof antiga - 1};\n    return {atual, sizeof atual - 1};\n}\n\n}  // namespace fb\n")
file(WRITE ${SAIDA}.tmp "${conteudo}")
file(COPY_FILE ${SAIDA}.tmp ${SAIDA} ONLY_IF_DIFFERENT)
file(REMOVE ${SAIDA}.tmp)
