// Where configEtq.ini lives: beside a copy run from a folder, in the user's
// XDG folder for an installed program, with the shop-wide default behind it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

TEST(LocalConfig, EscolhaPelaPastaDoPrograma) {
    struct Caso {
        const char* nome;
        bool aoLado, gravavel, instalado;
        const char* xdg;
        const char* arquivo;
        const char* padrao;
    };
    const Caso casos[] = {
        {"pasta de trabalho gravável", false, true, false, "", "/opt/loja/configEtq.ini", ""},
        {"arquivo ao lado numa pasta só de leitura", true, false, false, "", "/opt/loja/configEtq.ini", ""},
        {"instalado com arquivo ao lado", true, false, true, "", "/opt/loja/configEtq.ini", ""},
        {"instalado, pasta gravável pelo root", false, true, true, "", "/home/ana/.config/etiquetas/configEtq.ini",
         "/etc/etiquetas/configEtq.ini"},
        {"pasta só de leitura sem arquivo", false, false, false, "", "/home/ana/.config/etiquetas/configEtq.ini",
         "/etc/etiquetas/configEtq.ini"},
        {"XDG_CONFIG_HOME absoluto", false, false, true, "/cfg/", "/cfg/etiquetas/configEtq.ini",
         "/etc/etiquetas/configEtq.ini"},
        {"XDG_CONFIG_HOME relativo é ignorado", false, false, true, "cfg", "/home/ana/.config/etiquetas/configEtq.ini",
         "/etc/etiquetas/configEtq.ini"},
    };
    for (const auto& c : casos) {
        TAmbienteConfig a;
        a.pastaPrograma = "/opt/loja/";
        a.arquivoAoLado = c.aoLado;
        a.pastaGravavel = c.gravavel;
        a.instalado = c.instalado;
        a.xdgConfigHome = c.xdg;
        a.home = "/home/ana";
        const TLocalConfig l = EscolherLocalConfig(a);
        EXPECT_EQ(l.arquivo, c.arquivo) << c.nome;
        EXPECT_EQ(l.padrao, c.padrao) << c.nome;
        EXPECT_EQ(l.doUsuario, std::string(c.padrao) != "") << c.nome;
    }
}

// An installed layout in a scratch folder: bin/ with share/etiquetas/ beside
// it, HOME and XDG_CONFIG_HOME in the same folder, a shop-wide folder of its own.
class LocalConfigInstalado : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(pasta_.caminho / "usr/bin");
        fs::create_directories(pasta_.caminho / "usr/share/etiquetas");
        fs::create_directories(pasta_.caminho / "etc");
        DefinirDiretorioSistema(pasta_ / "usr/bin");
        DefinirPastaConfigLoja(pasta_ / "etc");
        ambiente_.Definir("HOME", pasta_ / "casa");
        ambiente_.Definir("XDG_CONFIG_HOME", pasta_ / "xdg");
    }
    void TearDown() override {
        DefinirDiretorioSistema("");
        DefinirPastaConfigLoja("");
    }
    std::string Usuario() const { return pasta_ / "xdg/etiquetas/configEtq.ini"; }
    TPastaTemp pasta_{"cfg-local"};
    TAmbienteTeste ambiente_;
};

TEST_F(LocalConfigInstalado, UsuarioLeOPadraoDaLojaECopiaNaPrimeiraGravacao) {
    Gravar(pasta_ / "etc/configEtq.ini", "[CONF]\r\nPATH MERKOR=servidor:/dados/loja.fdb\r\nMODELO=ZPL\r\n");
    EXPECT_EQ(CaminhoConfigEtq(), Usuario());
    EXPECT_EQ(LerConfig("PATH MERKOR"), "servidor:/dados/loja.fdb");
    EXPECT_FALSE(fs::exists(Usuario()));

    GravarConfig("MODELO", "EPL2");
    EXPECT_EQ(LerTudo(Usuario()), "[CONF]\r\nPATH MERKOR=servidor:/dados/loja.fdb\r\nMODELO=EPL2\r\n");
    EXPECT_EQ(LerTudo(pasta_ / "etc/configEtq.ini"),
              "[CONF]\r\nPATH MERKOR=servidor:/dados/loja.fdb\r\nMODELO=ZPL\r\n");
    EXPECT_EQ(fs::status(pasta_ / "xdg/etiquetas").permissions() & fs::perms::all, fs::perms::owner_all);

    // From now on the user's file alone counts.
    Gravar(pasta_ / "etc/configEtq.ini", "[CONF]\r\nPATH MERKOR=outro:/x.fdb\r\n");
    EXPECT_EQ(LerConfig("PATH MERKOR"), "servidor:/dados/loja.fdb");
}

TEST_F(LocalConfigInstalado, SemPadraoDaLojaComecaVazio) {
    EXPECT_EQ(LerConfig("PATH MERKOR"), "");
    GravarConfig("PATH MERKOR", "/dados/loja.fdb");
    EXPECT_EQ(LerTudo(Usuario()), "[CONF]\r\nPATH MERKOR=/dados/loja.fdb\r\n");
}

TEST_F(LocalConfigInstalado, ArquivoAoLadoDoProgramaInstaladoContinuaValendo) {
    Gravar(pasta_ / "usr/bin/configEtq.ini", "[CONF]\r\nPATH MERKOR=/ao/lado.fdb\r\n");
    EXPECT_EQ(CaminhoConfigEtq(), pasta_ / "usr/bin/configEtq.ini");
    EXPECT_EQ(LerConfig("PATH MERKOR"), "/ao/lado.fdb");
    // Marked read-only by the shop: read, and refused at save with the usual message.
    fs::permissions(pasta_ / "usr/bin/configEtq.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_NE(MensagemDe([] { GravarConfig("MODELO", "ZPL"); }).find("o arquivo é somente leitura"), std::string::npos);
    EXPECT_FALSE(fs::exists(Usuario()));
}

TEST_F(LocalConfigInstalado, PastaDoUsuarioImpossivelNomeiaOCaminhoENadaFicaPelaMetade) {
    // A file where the XDG folder should be: the folder cannot be made.
    Gravar(pasta_ / "xdg", "não é pasta");
    const std::string msg = MensagemDe([] { GravarConfig("MODELO", "ZPL"); });
    EXPECT_NE(msg.find(Usuario()), std::string::npos) << msg;
    EXPECT_EQ(LerTudo(pasta_ / "xdg"), "não é pasta");
}

TEST_F(LocalConfigInstalado, PadraoDaLojaIlegivelNomeiaOArquivo) {
    fs::create_directories(pasta_ / "etc/configEtq.ini");  // a folder in place of the file
    const std::string msg = MensagemDe([] { LerConfig("PATH MERKOR"); });
    EXPECT_NE(msg.find(pasta_ / "etc/configEtq.ini"), std::string::npos) << msg;
    EXPECT_NE(MensagemDe([] { GravarConfig("MODELO", "ZPL"); }), "(nada lançado)");
    EXPECT_FALSE(fs::exists(Usuario()));
}

TEST(LocalConfig, ChavesSecretas) {
    for (const char* k : {"SENHA BD", "senha bd", "TokenVitrinex"}) EXPECT_TRUE(ChaveSecreta(k)) << k;
    for (const char* k : {"PATH MERKOR", "USUARIO BD", "MODELO"}) EXPECT_FALSE(ChaveSecreta(k)) << k;
}
