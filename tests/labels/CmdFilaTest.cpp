// etiquetas-cli fila, run as a script runs it: a copy of the program beside
// the configEtq.ini that points at the test shop.
#include "FilaBanco.h"
#include "common/ConfigEtq.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace {

class CmdFila : public FilaBanco {
protected:
    void SetUp() override {
        FilaBanco::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
    }
    TResultadoCli Rodar(const std::string& argumentos) { return cli_.Rodar("fila " + argumentos); }
    TProgramaCli cli_;
};

TEST_F(CmdFila, ListaEmOrdemDeNomeSeparadoPorTabulacao) {
    Enfileirar({"30, '789300', 'CAMISA', 'CAMISA', 0, 50, 2", "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 0",
                "20, NULL, 'ARROZ', 'ARROZ', -2, 20, 1.5"});
    TResultadoCli r = Rodar("");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida,
              "20\t\tARROZ\t20.000\t-2.000\t1.500\n"
              "10\t789100\tCAFE PILAO\t12.500\t3.500\t0.000\n"
              "30\t789300\tCAMISA\t50.000\t0.000\t2.000\n");
    EXPECT_EQ(r.erro, "");
}

// One queue row per line whatever the name holds: tabs, line breaks and
// carriage returns are written escaped, the backslash doubled.
TEST_F(CmdFila, SeparadoresNoNomeSaemEscapados) {
    Enfileirar({"10, '789100', 'CAFE' || ascii_char(10) || 'PILAO', 'CAFE', 0, 1, 0",
                "20, '789200', 'CHA' || ascii_char(9) || 'MATE' || ascii_char(13), 'CHA', 0, 1, 0",
                "30, '78\\93', 'PAO\\N', 'PAO', 0, 1, 0"});
    const TResultadoCli r = Rodar("");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida,
              "10\t789100\tCAFE\\nPILAO\t1.000\t0.000\t0.000\n"
              "20\t789200\tCHA\\tMATE\\r\t1.000\t0.000\t0.000\n"
              "30\t78\\\\93\tPAO\\\\N\t1.000\t0.000\t0.000\n");
}

TEST_F(CmdFila, AdicionaPorBarrasEReferenciaComoAJanela) {
    TResultadoCli r = Rodar("--barras 555001 --grades");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    r = Rodar("--referencia REF-CAFE");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    r = Rodar("--barras 789100");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(FilaGravada(),
              "10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000;10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000;"
              "30|555001|CAMISA - AZUL 42|CAMISA|2.000|50.000|AZUL 42|1.000");
}

TEST_F(CmdFila, FalhasSaemComStatusEMensagemSemMudarAFila) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 0"});
    struct Caso {
        const char* argumentos;
        const char* erro;
    };
    const Caso casos[] = {
        {"--barras 555001", "Mercadoria não localizada: 555001\n"},  // a variant, without --grades
        {"--barras NADA --grades", "Mercadoria não localizada: NADA\n"},
        {"--referencia REF-NADA", "Mercadoria não localizada: REF-NADA\n"},
        {"--quantidade 77 5", "O código 77 não está na fila de etiquetas.\n"},
        {"--quantidade 10 muitas", "'muitas' não é um valor numérico válido\n"},
        {"--quantidade 10 -1", "A quantidade de etiquetas não pode ser negativa: -1\n"},
        {"--quantidade 10", "Uso: etiquetas-cli fila --quantidade CODIGO N\n"},
        {"--barras 789100 --estoque", "Use só uma de --barras, --referencia, --estoque e --quantidade.\n"},
        {"--grades", "--grades só vale com --barras.\n"},
        {"--tudo", "Opção desconhecida: --tudo\n"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos);
        TResultadoCli r = Rodar(c.argumentos);
        EXPECT_NE(r.codigo, 0);
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
    }
    EXPECT_EQ(FilaGravada(), "10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||0.000");
}

TEST_F(CmdFila, EstoqueEQuantidadeFicamGravados) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 0", "20, '789200', 'ARROZ', 'ARROZ', -2, 20, 4",
                "30, '555001', 'CAMISA - AZUL', 'CAMISA', 2, 50, 0",
                "30, '555002', 'CAMISA - VERDE', 'CAMISA', 0, 50, 0"});
    TResultadoCli r = Rodar("--estoque");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Quantidade do estoque importada em 2 linha(s).\n");
    EXPECT_EQ(TextoAParte("select list(quantidade, ';') from (select quantidade from etiquetaread order by barras)"),
              "2.000;0.000;3.500;4.000");
    r = Rodar("--quantidade 30 12");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Quantidade 12 em 2 linha(s) do código 30.\n");
    EXPECT_EQ(TextoAParte("select list(quantidade, ';') from (select quantidade from etiquetaread order by barras)"),
              "12.000;12.000;3.500;4.000");
}

TEST_F(CmdFila, SemPathMerkorDizOQueFalta) {
    GravarPathMerkor("");
    TResultadoCli r = Rodar("");
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "PATH MERKOR não está definido em " + pasta_ + "/configEtq.ini.\n");
}

}  // namespace
