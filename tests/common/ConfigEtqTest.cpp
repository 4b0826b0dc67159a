#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

class ConfigEtqTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("cfg-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        DefinirDiretorioSistema(dir_.string());
    }
    void TearDown() override {
        DefinirDiretorioSistema("");
        fs::remove_all(dir_);
    }
    void Escrever(const std::string& bytes) { Gravar(dir_ / "configEtq.ini", bytes); }
    std::string Ler() { return LerTudo(dir_ / "configEtq.ini"); }
    fs::path dir_;
};

TEST_F(ConfigEtqTest, ArquivoAusenteLeVazioEGravarCriaSecao) {
    EXPECT_EQ(LerConfig("PATH MERKOR"), "");
    GravarConfig("PATH MERKOR", "/dados/loja.fdb");
    EXPECT_EQ(Ler(), "[CONF]\r\nPATH MERKOR=/dados/loja.fdb\r\n");
    EXPECT_EQ(LerConfig("path merkor"), "/dados/loja.fdb");
}

TEST_F(ConfigEtqTest, ChavesSemCaixaValoresAparadosLinhasPreservadas) {
    Escrever("; feito na loja\n[OUTRA]\nMODELO=NAO MEXER\n[conf]\n  Path Merkor =  c:\\merkor\\dados.fdb  \nMODELO=PPLA\n\n[FIM]\nx=1\n");
    EXPECT_EQ(LerConfig("PATH MERKOR"), "c:\\merkor\\dados.fdb");
    EXPECT_EQ(LerConfig("modelo"), "PPLA");
    EXPECT_EQ(LerConfig("TEMPERATURA"), "");

    GravarConfig({{"MODELO", "ZPL"}, {"TEMPERATURA", "12"}});
    EXPECT_EQ(Ler(),
              "; feito na loja\r\n[OUTRA]\r\nMODELO=NAO MEXER\r\n[conf]\r\n  Path Merkor =  c:\\merkor\\dados.fdb  \r\n"
              "MODELO=ZPL\r\nTEMPERATURA=12\r\n\r\n[FIM]\r\nx=1\r\n");
    EXPECT_EQ(TArquivoIni(CaminhoConfigEtq()).LerTexto("OUTRA", "MODELO"), "NAO MEXER");
}

TEST_F(ConfigEtqTest, Windows1252NaLeituraENaGravacao) {
    Escrever("[CONF]\r\nTokenVitrinex=a\xE7\xE3o\r\n");
    EXPECT_EQ(LerConfig("TokenVitrinex"), "ação");
    GravarConfig("RegTrafego", "número");
    EXPECT_EQ(Ler(), "[CONF]\r\nTokenVitrinex=a\xE7\xE3o\r\nRegTrafego=n\xFAmero\r\n");
}

TEST_F(ConfigEtqTest, ArquivoUtf8ComMarcaDeOrdemTambemELido) {
    Escrever("\xEF\xBB\xBF[CONF]\r\nPATH REDE=sa\xC3\xAD" "da.prn\r\n");
    EXPECT_EQ(LerConfig("PATH REDE"), "saída.prn");
    GravarConfig("MODELO", "ZPL");
    EXPECT_EQ(Ler(), "[CONF]\r\nPATH REDE=sa\xED" "da.prn\r\nMODELO=ZPL\r\n");
}

TEST_F(ConfigEtqTest, MascaraDeDataVaziaVoltaSemBrancos) {
    GravarConfig("data_inicio_at", "  -  -    ");
    EXPECT_NE(Ler().find("data_inicio_at=  -  -    \r\n"), std::string::npos);
    EXPECT_EQ(LerConfig("data_inicio_at"), "-  -");
}

TEST_F(ConfigEtqTest, ValorComQuebraNaoCriaChaveNova) {
    GravarConfig("PATH REDE", "LPT1\r\nMODELO=ZPL");
    EXPECT_EQ(LerConfig("MODELO"), "");
    EXPECT_EQ(LerConfig("PATH REDE"), "LPT1  MODELO=ZPL");
}

TEST_F(ConfigEtqTest, FalhaAoGravarDeixaOArquivoAntigoInteiro) {
    Escrever("[CONF]\r\nMODELO=PPLA\r\n");
    // A folder where the temporary file should go makes the write fail.
    fs::create_directory(dir_ / "configEtq.ini.tmp");
    try {
        GravarConfig("MODELO", "ZPL");
        FAIL() << "a gravação deveria falhar";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("Não foi possível gravar o arquivo de configuração"), std::string::npos);
    }
    EXPECT_EQ(Ler(), "[CONF]\r\nMODELO=PPLA\r\n");
}

TEST_F(ConfigEtqTest, ArquivoIlegivelDaMensagemClara) {
    fs::create_directory(dir_ / "configEtq.ini");
    try {
        LerConfig("MODELO");
        FAIL() << "a leitura deveria falhar";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("Não foi possível ler o arquivo de configuração"), std::string::npos);
    }
}
