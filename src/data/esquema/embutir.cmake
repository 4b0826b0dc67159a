# cmake -DSAIDA=x.cpp -DBASE=loja.sql -DAJUSTES=loja_ajustes.sql -P embutir.cmake
# Keeps the DDL scripts inside the program, so demo-db works from any folder.
# The older schema is the base script; the current one is the base followed by
# the adjustments.
file(READ ${BASE} base)
file(READ ${AJUSTES} ajustes)
set(conteudo "// Generated from src/data/esquema at build time: edit the .sql files.
#include <string>

#include \"data/fb/EsquemaLoja.h\"

namespace fb {

namespace {
const char base[] = R\"SQLDDL(${base})SQLDDL\";
const char ajustes[] = R\"SQLDDL(${ajustes})SQLDDL\";
}  // namespace

std::string_view EsquemaLoja(TVersaoEsquema versao) {
    if (versao == TVersaoEsquema::Antiga) return {base, sizeof base - 1};
    static const std::string atual = std::string(base, sizeof base - 1) + \"\\n\" + ajustes;
    return atual;
}

}  // namespace fb
")
file(WRITE ${SAIDA}.tmp "${conteudo}")
file(COPY_FILE ${SAIDA}.tmp ${SAIDA} ONLY_IF_DIFFERENT)
file(REMOVE ${SAIDA}.tmp)
