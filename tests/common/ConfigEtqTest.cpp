#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <future>

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
    Escrever(
        "; feito na loja\n[OUTRA]\nMODELO=NAO MEXER\n[conf]\n  Path Merkor =  c:\\merkor\\dados.fdb  "
        "\nMODELO=PPLA\n\n[FIM]\nx=1\n");
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
    Escrever(
        "\xEF\xBB\xBF[CONF]\r\nPATH REDE=sa\xC3\xAD"
        "da.prn\r\n");
    EXPECT_EQ(LerConfig("PATH REDE"), "saída.prn");
    GravarConfig("MODELO", "ZPL");
    EXPECT_EQ(Ler(),
              "[CONF]\r\nPATH REDE=sa\xED"
              "da.prn\r\nMODELO=ZPL\r\n");
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

TEST_F(ConfigEtqTest, ArquivoSomenteLeituraNaoESubstituido) {
    Escrever("[CONF]\r\nMODELO=PPLA\r\n");
    const fs::path ini = dir_ / "configEtq.ini";
    fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Refused by its permission bits, also when the tests run as root.
    EXPECT_EQ(MensagemDe([] { GravarConfig("MODELO", "ZPL"); }),
              "Não foi possível gravar o arquivo de configuração " + ini.string() + ": o arquivo é somente leitura");
    EXPECT_EQ(Ler(), "[CONF]\r\nMODELO=PPLA\r\n");
    EXPECT_EQ(fs::status(ini).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(fs::exists(dir_ / "configEtq.ini.tmp"));
}

TEST_F(ConfigEtqTest, LinkSimbolicoGravaNoAlvoEContinuaLink) {
    fs::create_directory(dir_ / "compartilhado");
    const fs::path alvo = dir_ / "compartilhado" / "loja.ini";
    Gravar(alvo, "[CONF]\r\nMODELO=PPLA\r\n");
    fs::permissions(alvo, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("compartilhado/loja.ini", dir_ / "configEtq.ini");

    GravarConfig("MODELO", "ZPL");

    EXPECT_TRUE(fs::is_symlink(dir_ / "configEtq.ini"));
    EXPECT_EQ(LerTudo(alvo), "[CONF]\r\nMODELO=ZPL\r\n");
    EXPECT_EQ(LerConfig("MODELO"), "ZPL");
    // The rewritten file keeps the permissions it had; nothing is left behind.
    EXPECT_EQ(fs::status(alvo).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(dir_ / "configEtq.ini.tmp"));
    EXPECT_FALSE(fs::exists(dir_ / "compartilhado" / "loja.ini.tmp"));
}

struct CasoFimDeLinha {
    const char* nome;
    const char* fim;
};

class ConfigEtqFimDeLinhaTest : public ConfigEtqTest, public ::testing::WithParamInterface<CasoFimDeLinha> {};

TEST_P(ConfigEtqFimDeLinhaTest, TodoFimDeLinhaSeparaAsChaves) {
    const std::string f = GetParam().fim;
    Escrever("[CONF]" + f + "PATH REDE=LPT1" + f + "MODELO=ZPL" + f + "[OUTRA]" + f + "MODELO=PPLA" + f);
    EXPECT_EQ(LerConfig("PATH REDE"), "LPT1");
    EXPECT_EQ(LerConfig("MODELO"), "ZPL");
    GravarConfig("TEMPERATURA", "12");
    EXPECT_EQ(Ler(), "[CONF]\r\nPATH REDE=LPT1\r\nMODELO=ZPL\r\nTEMPERATURA=12\r\n[OUTRA]\r\nMODELO=PPLA\r\n");
}

INSTANTIATE_TEST_SUITE_P(Finais, ConfigEtqFimDeLinhaTest,
                         ::testing::Values(CasoFimDeLinha{"CRLF", "\r\n"}, CasoFimDeLinha{"LF", "\n"},
                                           CasoFimDeLinha{"CR", "\r"}),
                         [](const auto& i) { return std::string(i.param.nome); });

TEST_F(ConfigEtqTest, FimDeLinhaMisturadoNaoJuntaNemCriaLinhas) {
    Escrever("[CONF]\rPATH REDE=LPT1\r\nMODELO=ZPL\nTEMPERATURA=12");
    EXPECT_EQ(LerConfig("PATH REDE"), "LPT1");
    EXPECT_EQ(LerConfig("MODELO"), "ZPL");
    EXPECT_EQ(LerConfig("TEMPERATURA"), "12");
}

TEST_F(ConfigEtqTest, PipeNoLugarDoArquivoERecusadoSemEsperar) {
    const fs::path ini = dir_ / "configEtq.ini";
    ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
    auto leitura = std::async(std::launch::async, [] { return MensagemDe([] { LerConfig("MODELO"); }); });
    if (leitura.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Unblock the reader so the test ends, then fail.
        int fd = ::open(ini.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        leitura.wait();
        FAIL() << "a leitura de um pipe ficou esperando";
    }
    const std::string esperado = "Não foi possível ler o arquivo de configuração " + ini.string() +
                                 ": não é um arquivo comum (é um dispositivo, um pipe ou um soquete)";
    EXPECT_EQ(leitura.get(), esperado);
    EXPECT_EQ(MensagemDe([] { GravarConfig("MODELO", "ZPL"); }), esperado);
}

TEST_F(ConfigEtqTest, MensagensDeFalhaEmPortugues) {
    fs::create_directory(dir_ / "configEtq.ini");
    EXPECT_EQ(MensagemDe([] { LerConfig("MODELO"); }), "Não foi possível ler o arquivo de configuração " +
                                                           (dir_ / "configEtq.ini").string() +
                                                           ": o caminho é uma pasta, não um arquivo");
    fs::remove(dir_ / "configEtq.ini");
    // A path through something that is not a folder.
    Gravar(dir_ / "arquivo", "x");
    TArquivoIni ini((dir_ / "arquivo" / "configEtq.ini").string());
    EXPECT_EQ(MensagemDe([&] { ini.GravarTexto("CONF", "MODELO", "ZPL"); }),
              "Não foi possível ler o arquivo de configuração " + (dir_ / "arquivo" / "configEtq.ini").string() +
                  ": Caminho inválido");
}

TEST_F(ConfigEtqTest, ArquivoEnormeERecusadoSemLerTudoParaAMemoria) {
    Escrever("[CONF]\r\nMODELO=ZPL\r\n" + std::string(2 << 20, ';'));
    EXPECT_EQ(MensagemDe([] { LerConfig("MODELO"); }), "Não foi possível ler o arquivo de configuração " +
                                                           (dir_ / "configEtq.ini").string() +
                                                           ": arquivo grande demais para um arquivo de configuração (" +
                                                           std::to_string((2 << 20) + 20) + " bytes)");
}
