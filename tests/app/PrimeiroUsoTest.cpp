// First start of an installed program: when the window comes, what its
// buttons choose, and the demo shop it makes in the user's data folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>

#include "AuxiliarTeste.h"
#include "app/GaleriaPainel.h"
#include "app/JanelaPrimeiroUso.h"
#include "app/ModulosDadosReais.h"
#include "app/PrimeiroUso.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"
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

namespace {

// The operator is told what was made, where, and where the labels go.
TEST_F(PrimeiroUso, MensagemDizOQueFoiFeitoEOnde) {
    const TLojaDemoUsuario r = CriarLojaDemoUsuario(5);
    const std::string texto = TextoLojaDemoCriada(r);
    EXPECT_EQ(texto.rfind("Loja de demonstração criada com 5 mercadorias em " + r.banco + ".", 0), 0u) << texto;
    EXPECT_NE(texto.find("As etiquetas vão para o arquivo " + r.saida), std::string::npos) << texto;
    EXPECT_NE(texto.find("Configuração gravada em " + CaminhoConfigEtq() + "."), std::string::npos) << texto;
    const std::string denovo = TextoLojaDemoCriada(CriarLojaDemoUsuario(5));
    EXPECT_EQ(denovo.rfind("A loja de demonstração que já existia em " + r.banco + " foi mantida.", 0), 0u) << denovo;
}

// The shop's texts on the first-start window: written with either way on,
// refused with the field named (the window stays, nothing written).
TEST_F(PrimeiroUso, NomeETextoDaLojaNaJanela) {
    TInterfaceTeste iu;
    {
        TfrmPrimeiroUso janela;
        janela.edtNomeLoja->setText(QString::fromStdString(std::string(41, 'x')));
        janela.btnConfigurar->click();
        EXPECT_EQ(janela.result(), 0);  // still open
        ASSERT_EQ(iu.mensagens.size(), 1u);
        EXPECT_EQ(iu.mensagens[0].rfind("Nome da loja: no máximo 40 caracteres", 0), 0u) << iu.mensagens[0];
        EXPECT_FALSE(fs::exists(CaminhoConfigEtq()));
        janela.edtNomeLoja->setText(QString::fromUtf8("Empório São João"));
        janela.edtTextoLoja->setText("Oferta");
        janela.btnConfigurar->click();
        EXPECT_EQ(janela.Escolha(), TfrmPrimeiroUso::TEscolha::Configurar);
    }
    EXPECT_EQ(LerConfig("NOME LOJA"), "Empório São João");
    EXPECT_EQ(LerConfig("TEXTO LOJA"), "Oferta");
    EXPECT_TRUE(PrecisaDePrimeiroUso());  // still no database
    // A new window shows them, and the model that prints them follows the typing.
    TfrmPrimeiroUso janela;
    EXPECT_EQ(janela.edtNomeLoja->text(), QString::fromUtf8("Empório São João"));
    QCoreApplication::processEvents();
    const QImage antes = janela.pnlGaleria->lblFigura->pixmap().toImage();
    ASSERT_FALSE(antes.isNull()) << janela.pnlGaleria->lblFigura->text().toStdString();
    janela.edtNomeLoja->setText("Bazar");
    QCoreApplication::processEvents();
    EXPECT_NE(janela.pnlGaleria->lblFigura->pixmap().toImage(), antes);
}

// With no database configured, "Etiquetas" leads back to the first-start
// window, whatever was chosen there before; the demo made from it is used at once.
TEST_F(PrimeiroUso, EtiquetasSemBancoVoltaAJanelaDaPrimeiraVez) {
    TInterfaceTeste iu;
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    TModulosDadosReais modulos;
    EXPECT_FALSE(modulos.BancoConfigurado());
    TfrmPrincipal frm{{}};
    frm.DefinirModulosDados(&modulos);
    frm.NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };

    // Fechar, as a person would, on the real window.
    QuandoModal<QDialog>([](QDialog* d) { dynamic_cast<TfrmPrimeiroUso&>(*d).btnFechar->click(); });
    frm.btnEtiquetas->click();
    EXPECT_TRUE(falhas.empty()) << falhas[0];
    EXPECT_TRUE(iu.mensagens.empty());
    EXPECT_FALSE(frm.pnlConfig->isVisibleTo(&frm));

    // Configurar opens the panel.
    QuandoModal<QDialog>([](QDialog* d) { dynamic_cast<TfrmPrimeiroUso&>(*d).btnConfigurar->click(); });
    frm.btnEtiquetas->click();
    EXPECT_TRUE(falhas.empty()) << falhas[0];
    EXPECT_TRUE(frm.pnlConfig->isVisibleTo(&frm));
    frm.SpeedButton2Click();  // Cancela: still no database

    // The demo: made, said, and the connections follow the new path.
    int vezes = 0;
    frm.PrimeiroUso = [&] {
        ++vezes;
        CriarLojaDemoUsuario(5);
        return TfrmPrimeiroUso::TEscolha::Demonstracao;
    };
    frm.btnEtiquetasClick();
    EXPECT_EQ(vezes, 1);
    EXPECT_TRUE(falhas.empty()) << falhas[0];
    EXPECT_EQ(modulos.dtmAplicativo.dtbAplicativo.Caminho(), LerConfig("PATH MERKOR"));
    EXPECT_EQ(modulos.dtmAplicativo.dtbAplicativoMrg.Caminho(), LerConfig("PATH MERKOR"));
    EXPECT_TRUE(modulos.dtmAplicativo.dtbAplicativo.Conectado());  // the tables were opened on it
    // Configured now: the window does not come again.
    frm.btnEtiquetasClick();
    EXPECT_EQ(vezes, 1);
    DefinirTratadorFalhas(anterior);
}

}  // namespace
