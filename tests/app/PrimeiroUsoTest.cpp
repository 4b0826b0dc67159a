// First start of an installed program: when the window comes, what its
// buttons choose, and the demo shop it makes in the user's data folder.
#include <gtest/gtest.h>

#include <QPushButton>

#include <cstdlib>
#include <filesystem>

#include "app/JanelaPrimeiroUso.h"
#include "app/PrimeiroUso.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

// An installed layout (bin/ with share/etiquetas/ beside it) and HOME, XDG
// folders in a scratch folder; the environment is put back afterwards.
class PrimeiroUso : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(pasta_.caminho / "usr/bin");
        fs::create_directories(pasta_.caminho / "usr/share/etiquetas");
        fs::create_directories(pasta_.caminho / "etc");
        DefinirDiretorioSistema(pasta_ / "usr/bin");
        DefinirPastaConfigLoja(pasta_ / "etc");
        ambiente_.Definir("HOME", pasta_ / "casa");
        ambiente_.Definir("XDG_CONFIG_HOME", "");
        ambiente_.Definir("XDG_DATA_HOME", "");
    }
    void TearDown() override {
        DefinirDiretorioSistema("");
        DefinirPastaConfigLoja("");
    }
    TPastaTemp pasta_{"primeiro-uso"};
    TAmbienteTeste ambiente_;
};

TEST_F(PrimeiroUso, SoParaOProgramaInstaladoSemBancoConfigurado) {
    EXPECT_TRUE(PrecisaDePrimeiroUso());
    // The shop-wide default names a database: nothing to ask.
    Gravar(pasta_ / "etc/configEtq.ini", "[CONF]\r\nPATH MERKOR=servidor:/dados/loja.fdb\r\n");
    EXPECT_FALSE(PrecisaDePrimeiroUso());
    fs::remove(pasta_ / "etc/configEtq.ini");
    // A blank value counts as none.
    GravarConfig("PATH MERKOR", "   ");
    EXPECT_TRUE(PrecisaDePrimeiroUso());
    // A copy run from its own folder (the build tree) is never asked.
    fs::remove_all(pasta_.caminho / "usr/share");
    EXPECT_FALSE(PrecisaDePrimeiroUso());
}

TEST_F(PrimeiroUso, PastaDaDemonstracaoSegueXdgDataHome) {
    EXPECT_EQ(PastaDemoUsuario(), pasta_ / "casa/.local/share/etiquetas/demo/");
    ::setenv("XDG_DATA_HOME", (pasta_ / "dados").c_str(), 1);
    EXPECT_EQ(PastaDemoUsuario(), pasta_ / "dados/etiquetas/demo/");
    ::setenv("XDG_DATA_HOME", "relativo", 1);
    EXPECT_EQ(PastaDemoUsuario(), pasta_ / "casa/.local/share/etiquetas/demo/");
}

TEST_F(PrimeiroUso, LojaDeDemonstracaoCriadaEConfigurada) {
    const TLojaDemoUsuario r = CriarLojaDemoUsuario(5);
    const std::string demo = pasta_ / "casa/.local/share/etiquetas/demo/";
    EXPECT_TRUE(r.criada);
    EXPECT_EQ(r.banco, demo + "loja.fdb");
    EXPECT_GT(fs::file_size(r.banco), 0u);
    EXPECT_EQ(CaminhoConfigEtq(), pasta_ / "casa/.config/etiquetas/configEtq.ini");
    EXPECT_EQ(LerConfig("PATH MERKOR"), r.banco);
    EXPECT_EQ(LerConfig("PATH REDE"), "FILE:" + demo + "saida.prn");
    EXPECT_EQ(LerConfig("MODELO"), "PPLA");
    EXPECT_EQ(LerConfig("MODELO PRINT").substr(0, 5), "11 - ");
    EXPECT_FALSE(PrecisaDePrimeiroUso());

    // A second time the database is kept as it is.
    const auto antes = fs::last_write_time(r.banco);
    EXPECT_FALSE(CriarLojaDemoUsuario(5).criada);
    EXPECT_EQ(fs::last_write_time(r.banco), antes);
}

TEST_F(PrimeiroUso, PastaDeDadosImpossivelNomeiaOCaminho) {
    Gravar(pasta_ / "casa", "não é pasta");
    const std::string msg = MensagemDe([] { CriarLojaDemoUsuario(5); });
    EXPECT_NE(msg.find(pasta_ / "casa"), std::string::npos) << msg;
}

TEST_F(PrimeiroUso, BotoesDaJanela) {
    using E = TfrmPrimeiroUso::TEscolha;
    struct Caso {
        QPushButton* TfrmPrimeiroUso::*botao;
        E escolha;
        int resultado;
    };
    const Caso casos[] = {
        {&TfrmPrimeiroUso::btnConfigurar, E::Configurar, QDialog::Accepted},
        {&TfrmPrimeiroUso::btnDemonstracao, E::Demonstracao, QDialog::Accepted},
        {&TfrmPrimeiroUso::btnFechar, E::Nenhuma, QDialog::Rejected},
    };
    for (const auto& c : casos) {
        TfrmPrimeiroUso janela;
        (janela.*c.botao)->click();
        EXPECT_EQ(janela.Escolha(), c.escolha);
        EXPECT_EQ(janela.result(), c.resultado);
    }
}

}  // namespace
