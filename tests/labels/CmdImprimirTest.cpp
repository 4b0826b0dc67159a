// etiquetas-cli imprimir, run as a script runs it: a copy of the program
// beside the configEtq.ini of the test shop, whose port is a file.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "FilaTeste.h"
#include "Ouro.h"

namespace fs = std::filesystem;

namespace {

struct Resultado {
    int codigo;
    std::string saida, erro;
};

class CmdImprimir : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        programa = pasta_ + "/etiquetas-cli";
        fs::copy_file(ETIQ_CLI, programa);
        Mercadoria(1, "7891234567895", "CAMISETA BÁSICA ALGODÃO MANGA CURTA", "CB-01", "29.9");
        Fila(1, "7891234567895", "A", "4", "29.9");
    }
    Resultado Rodar(const std::string& argumentos) {
        FecharOutro();
        const std::string cmd = "'" + programa + "' imprimir " + argumentos + " >'" + pasta_ + "/stdout' 2>'" +
                                pasta_ + "/stderr'";
        int r = std::system(cmd.c_str());
        return {WIFEXITED(r) ? WEXITSTATUS(r) : -1, LerTudo(pasta_ + "/stdout"), LerTudo(pasta_ + "/stderr")};
    }
    std::string programa;
};

TEST_F(CmdImprimir, ImprimeAFilaComoOBotaoDaJanela) {
    const Resultado r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo 11)\n");
    EXPECT_EQ(r.erro, "");
    EXPECT_TRUE(IgualAoOuro("modelo11_quantidade4.prn", Saida()));
}

TEST_F(CmdImprimir, ModeloDaLinhaDeComandoVenceOConfigurado) {
    Resultado r = Rodar("--sem-pausa --modelo 6");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "Modelo 06 ainda não disponível\n");
    r = Rodar("--sem-pausa --modelo 60");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Modelo 60 não existe: nada foi impresso\n");
    EXPECT_EQ(Saida(), "");
}

TEST_F(CmdImprimir, FalhasSaemComStatusEMensagem) {
    const std::pair<const char*, const char*> casos[] = {
        {"--colunas58 5", "Valor inválido para --colunas58: 5 (use 3 ou 4)\n"},
        {"--parcelas 2", "--parcelas pede dois números: --parcelas P1 P2\n"},
        {"--brancos x", "Valor inválido para --brancos: x\n"},
        {"--cor azul", "Opção desconhecida: --cor\n"},
    };
    for (auto [argumentos, mensagem] : casos) {
        const Resultado r = Rodar(argumentos);
        EXPECT_NE(r.codigo, 0) << argumentos;
        EXPECT_EQ(r.erro, mensagem) << argumentos;
    }
    GravarConfig("TEMPERATURA", "x");
    const Resultado r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "'0x' não é um valor inteiro válido\n");
    EXPECT_FALSE(fs::exists(saida_));
}

}  // namespace
