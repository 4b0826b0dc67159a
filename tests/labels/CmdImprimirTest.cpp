// etiquetas-cli imprimir, run as a script runs it: a copy of the program
// beside the configEtq.ini of the test shop, whose port is a file.
#include <filesystem>

#include "FilaTeste.h"
#include "Ouro.h"
#include "suporte/ProgramaCli.h"

namespace fs = std::filesystem;

namespace {

class CmdImprimir : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, ETIQ_CLI);
        Mercadoria(1, "7891234567895", "CAMISETA BÁSICA ALGODÃO MANGA CURTA", "CB-01", "29.9");
        Fila(1, "7891234567895", "A", "4", "29.9");
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar("imprimir " + argumentos);
    }
    TProgramaCli cli_;
};

TEST_F(CmdImprimir, ImprimeAFilaComoOBotaoDaJanela) {
    const TResultadoCli r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo 11)\n");
    EXPECT_EQ(r.erro, "");
    EXPECT_TRUE(IgualAoOuro("modelo11_quantidade4.prn", Saida()));
}

TEST_F(CmdImprimir, ModeloDaLinhaDeComandoVenceOConfigurado) {
    TResultadoCli r = Rodar("--sem-pausa --modelo 6");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo 06)\n");
    EXPECT_NE(Saida().find("Manter restriado"), std::string::npos);
    r = Rodar("--sem-pausa --modelo 60");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Modelo 60 não existe: nada foi impresso\n");
    // The port is left alone: the labels of the last print are still there.
    EXPECT_NE(Saida().find("Manter restriado"), std::string::npos);
}

// Every thermal and shelf-edge model from the command line; the languages
// take turns, so each model and each language is seen at least once.
TEST_F(CmdImprimir, CadaModeloTermicoEmCadaLinguagem) {
    const int modelos[] = {1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12, 13, 14, 15, 16, 17,
                           18, 19, 21, 22, 23, 24, 25, 27, 29, 30, 31, 36, 37, 38, 40, 41,
                           43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 56, 57, 58, 59};
    const char* const linguagens[] = {"PPLA", "PPLB", "EPL2", "ZPL"};
    int i = 0;
    for (int n : modelos) {
        const std::string linguagem = linguagens[i++ % 4];
        GravarConfig("MODELO", linguagem);
        const TResultadoCli r = Rodar("--sem-pausa --modelo " + std::to_string(n));
        const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
        EXPECT_EQ(r.codigo, 0) << n << " " << linguagem << ": " << r.erro;
        EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo " + nn + ")\n") << linguagem;
        EXPECT_FALSE(Saida().empty()) << n << " " << linguagem;
    }
}

TEST_F(CmdImprimir, FalhasSaemComStatusEMensagem) {
    const std::pair<const char*, const char*> casos[] = {
        {"--colunas58 5", "Valor inválido para --colunas58: 5 (use 3 ou 4)\n"},
        {"--parcelas 2", "--parcelas pede dois números: --parcelas P1 P2\n"},
        {"--brancos x", "Valor inválido para --brancos: x\n"},
        {"--cor azul", "Opção desconhecida: --cor\n"},
    };
    for (auto [argumentos, mensagem] : casos) {
        const TResultadoCli r = Rodar(argumentos);
        EXPECT_NE(r.codigo, 0) << argumentos;
        EXPECT_EQ(r.erro, mensagem) << argumentos;
    }
    GravarConfig("TEMPERATURA", "x");
    const TResultadoCli r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "'0x' não é um valor inteiro válido\n");
    EXPECT_FALSE(fs::exists(saida_));
}

}  // namespace
