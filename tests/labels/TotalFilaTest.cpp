// The line under the queue grid, the sheets an A4 print fills, the limit of
// configEtq.ini and the question before a big print.
#include <cstdlib>

#include <gtest/gtest.h>

#include "labels/TotalFila.h"

namespace {

class TotalFila : public ::testing::Test {
protected:
    void SetUp() override { setenv("LC_ALL", "C", 1); }  // the Brazilian forms
    void TearDown() override { unsetenv("LC_ALL"); }
};

TEST_F(TotalFila, LinhaSobAGrade) {
    struct Caso {
        TTotalFila total;
        int64_t folhas;
        const char* texto;
    };
    const Caso casos[] = {
        {{0, 0}, -1, "0 linhas, 0 etiquetas"},
        {{1, 1}, -1, "1 linha, 1 etiqueta"},
        {{92060, 4715}, -1, "92.060 linhas, 4.715 etiquetas"},
        {{100000, 45199}, 1507, "100.000 linhas, 45.199 etiquetas, 1.507 folhas"},
        {{3, 1}, 1, "3 linhas, 1 etiqueta, 1 folha"},
        {{3, 0}, 0, "3 linhas, 0 etiquetas, 0 folhas"},
        {{1, 1234567}, -1, "1 linha, 1.234.567 etiquetas"},
    };
    for (const Caso& c : casos) EXPECT_EQ(TextoTotalFila(c.total, c.folhas), c.texto);
}

TEST_F(TotalFila, FolhasA4ContamAsBrancasDaPrimeira) {
    struct Caso {
        int64_t etiquetas;
        int brancas, celulas;
        int64_t folhas;
    };
    const Caso casos[] = {
        {0, 5, 30, 0},  {1, 0, 30, 1},        {30, 0, 30, 1},       {31, 0, 30, 2},  {26, 5, 30, 2},
        {25, 5, 30, 1}, {45199, 0, 30, 1507}, {45199, 0, 126, 359}, {10, -3, 30, 1}, {10, 0, 0, 0},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(FolhasA4(c.etiquetas, c.brancas, c.celulas), c.folhas) << c.etiquetas << "+" << c.brancas;
}

// A hand-edited value that is no whole number of 0 or more gives the default:
// asked once too often rather than never. The panel refuses it with a reason.
TEST_F(TotalFila, LimiteDeConfirmacaoDoArquivo) {
    struct Caso {
        const char* valor;
        int64_t etiquetas, folhas;
        bool aceito;
    };
    const Caso casos[] = {
        {"", 500, 20, true},
        {"500", 500, 20, true},
        {" 1000 ", 1000, 40, true},
        {"0", 0, 0, true},
        {"1", 1, 1, true},
        {"26", 26, 2, true},
        {"abc", 500, 20, false},
        {"-5", 500, 20, false},
        {"12.5", 500, 20, false},
        {"1.000", 500, 20, false},
        {"5e3", 500, 20, false},
        {"9999999999999999999", 500, 20, false},
        {"999999999", 999999999, 40000000, true},
        {"1000000000", 500, 20, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.valor);
        const TLimiteConfirmacao l = LimiteConfirmacaoDe(c.valor);
        EXPECT_EQ(l.etiquetas, c.etiquetas);
        EXPECT_EQ(l.folhas, c.folhas);
        const std::string erro = ValidarLimiteConfirmacao(c.valor);
        EXPECT_EQ(erro.empty(), c.aceito) << erro;
        if (!c.aceito) {
            EXPECT_NE(erro.find(c.valor), std::string::npos) << erro;
        }
    }
}

TEST_F(TotalFila, PerguntaAntesDeUmaImpressaoGrande) {
    struct Caso {
        int64_t etiquetas;
        int modelo;
        const char* porta;
        int64_t folhas;
        TLimiteConfirmacao limite;
        const char* pergunta;
    };
    const Caso casos[] = {
        {4715, 11, "FILE:/tmp/saida.prn", -1, {}, "Imprimir 4.715 etiquetas (modelo 11) em FILE:/tmp/saida.prn?"},
        {500, 11, "LPT1", -1, {}, ""},  // at the limit: no question
        {501, 6, "LPT1", -1, {}, "Imprimir 501 etiquetas (modelo 06) em LPT1?"},
        {501, 6, "", -1, {}, "Imprimir 501 etiquetas (modelo 06)?"},
        {100000, 11, "LPT1", -1, {0, 0}, ""},  // 0: never asked
        {12, 11, "LPT1", -1, {10, 1}, "Imprimir 12 etiquetas (modelo 11) em LPT1?"},
        // A4: the sheets decide, not the labels
        {45199, 26, "LPT1", 1507, {}, "Imprimir 45.199 etiquetas (modelo 26) em 1.507 folhas?"},
        {600, 26, "LPT1", 20, {}, ""},
        {630, 26, "", 21, {}, "Imprimir 630 etiquetas (modelo 26) em 21 folhas?"},
        {45199, 26, "", 1507, {0, 0}, ""},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(PerguntaImpressaoGrande({c.etiquetas, c.etiquetas}, c.modelo, c.porta, c.folhas, c.limite),
                  c.pergunta)
            << c.etiquetas;
}

}  // namespace
