// SIGTERM and SIGINT end the program and etiquetas-cli in order while they
// work on a database server: the client library used to take the signals
// over, shut the connections down and leave the program running on them.
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <thread>

#include <gtest/gtest.h>
#include <QTimer>

#include "ServidorFb.h"
#include "app/EncerramentoPrograma.h"
#include "app/InterfaceUsuarioQt.h"
#include "app/ModulosDadosReais.h"
#include "app/uFrmAvisoAbertura.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"
#include "suporte/Caminhos.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

std::string g_programa;

struct CasoSinal {
    const char* nome;
    int sinal;
    bool usaBanco;  // the program has worked on the database before the signal
};

// Sends `sinal` to `p` and checks that it ended by its own orderly path, not
// by the watcher's last resort: soon, with 128 + the signal, saying so, and
// without the client library's own shutdown.
void EncerrarComSinal(TProcesso& p, const char* nome, int sinal) {
    const auto inicio = std::chrono::steady_clock::now();
    p.Sinal(sinal);
    ASSERT_TRUE(p.Esperar(10)) << nome << " não terminou com o sinal\n" << p.Saida();
    EXPECT_LT(Segundos(inicio), 4.0);
    EXPECT_EQ(p.Status(), 128 + sinal) << p.Saida();
    EXPECT_NE(p.Saida().find(std::string("encerrado pelo ") + (sinal == SIGTERM ? "SIGTERM" : "SIGINT")),
              std::string::npos)
        << p.Saida();
    EXPECT_EQ(p.Saida().find("shutdown"), std::string::npos) << p.Saida();
}

class EncerramentoPrograma : public ::testing::TestWithParam<CasoSinal> {
protected:
    void SetUp() override { EXIGIR_SERVIDOR(); }
};

TEST_P(EncerramentoPrograma, OProgramaTerminaEmOrdemComOSinal) {
    const CasoSinal& c = GetParam();
    TPastaTemp pasta("etiq-sinal");
    const std::string arquivo = pasta / "loja.fdb";
    const std::string caminho = Servidor().Caminho(arquivo);
    CriarLojaNoServidor(caminho);
    DefinirDiretorioSistema(pasta.caminho.string());
    GravarConfig("PATH MERKOR", caminho);
    DefinirDiretorioSistema("");

    TProcesso programa({g_programa, "--programa", pasta.caminho.string(), c.usaBanco ? "banco" : "ocioso"},
                       pasta.caminho.string(), {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_TRUE(programa.EsperarTexto("pronto", 30)) << programa.Saida();
    TConexao outra(caminho);
    EXPECT_EQ(OutrosAnexos(outra, programa.Pid()), c.usaBanco ? 1 : 0);

    ASSERT_NO_FATAL_FAILURE(EncerrarComSinal(programa, "o programa", c.sinal));
    EXPECT_EQ(OutrosAnexos(outra, programa.Pid()), 0);
}

INSTANTIATE_TEST_SUITE_P(Casos, EncerramentoPrograma,
                         ::testing::Values(CasoSinal{"TermDepoisDeUsarOBanco", SIGTERM, true},
                                           CasoSinal{"IntDepoisDeUsarOBanco", SIGINT, true},
                                           CasoSinal{"TermSemTerUsadoOBanco", SIGTERM, false}),
                         [](const auto& i) { return std::string(i.param.nome); });

class EncerramentoCli : public ::testing::TestWithParam<CasoSinal> {
protected:
    void SetUp() override { EXIGIR_SERVIDOR(); }
};

// A demo shop being made on the server is cut short: the half-made database
// goes away and the command says why it ended.
TEST_P(EncerramentoCli, OComandoTerminaEmOrdemNoMeioDoTrabalho) {
    const CasoSinal& c = GetParam();
    TPastaTemp pasta("etiq-sinal-cli");
    const std::string arquivo = pasta / "loja.fdb";
    TProcesso cli({kProgramaCli, "demo-db", Servidor().Caminho(arquivo), "--mercadorias", "2000000"},
                  pasta.caminho.string());
    ASSERT_TRUE(cli.EsperarTexto("Mercadorias: ", 60)) << cli.Saida();

    ASSERT_NO_FATAL_FAILURE(EncerrarComSinal(cli, "etiquetas-cli", c.sinal));
    EXPECT_FALSE(fs::exists(arquivo)) << "o banco pela metade ficou no disco";
}

INSTANTIATE_TEST_SUITE_P(Casos, EncerramentoCli,
                         ::testing::Values(CasoSinal{"Term", SIGTERM, true}, CasoSinal{"Int", SIGINT, true}),
                         [](const auto& i) { return std::string(i.param.nome); });

// etiquetas-cli imprimir stopped by Ctrl+C or SIGTERM in the middle of a long
// print, on the embedded engine and on the server: it ends within 2 s of
// saying so, with the database detached. A file port is not paced, so the
// thermal print asks for millions of labels to be still under way. Ctrl+C used to leave the embedded
// engine spinning in the detach; SIGTERM used to end it 5 s later, mute.
struct CasoImprimir {
    const char* nome;
    int sinal;
    bool servidor;
    bool a4;  // a row of 1,000,000,000 labels on an A4 sheet model
};

class ImprimirInterrompido : public ::testing::TestWithParam<CasoImprimir> {
protected:
    void SetUp() override {
        if (GetParam().servidor) EXIGIR_SERVIDOR();
    }
};

TEST_P(ImprimirInterrompido, TerminaLogoComOBancoFechado) {
    const CasoImprimir& c = GetParam();
    TPastaTemp pasta("etiq-sinal-imprimir");
    const std::string arquivo = pasta / "loja.fdb";
    const std::string caminho = c.servidor ? Servidor().Caminho(arquivo) : arquivo;
    {
        TProcesso demo({kProgramaCli, "demo-db", caminho, "--mercadorias", "50"}, pasta.caminho.string());
        ASSERT_TRUE(demo.Esperar(120)) << demo.Saida();
        ASSERT_EQ(demo.Status(), 0) << demo.Saida();
        TConexao banco(caminho);
        banco.Executar("delete from etiquetaread");
        banco.Executar(
            "insert into etiquetaread (codigo, barras, nome, so_nome, estoque, vlr_ven, quantidade) "
            "select cod_red, cod_bar, nom_mer, nom_mer, 0, vlr_ven, " +
            std::string(c.a4 ? "1000000000" : "10000000") + " from mercadorias where cod_red = 1");
        banco.Executar("insert into etiquetamrg (linha1, ct_lin) values ('ANTES', 0)");
    }
    const std::string porta = pasta / "saida.prn";
    DefinirDiretorioSistema(pasta.caminho.string());
    GravarConfig({{"PATH MERKOR", caminho},
                  {"PATH REDE", "FILE:" + porta},
                  {"MODELO", "PPLA"},
                  {"MODELO PRINT", c.a4 ? "26 - A4" : "11 - PPLA"}});
    DefinirDiretorioSistema("");
    fs::copy_file(kProgramaCli, pasta / "etiquetas-cli");
    std::vector<std::string> argumentos = {pasta / "etiquetas-cli", "imprimir"};
    if (c.a4) argumentos.insert(argumentos.end(), {"--pdf", pasta / "folhas.pdf"});
    TProcesso cli(argumentos, pasta.caminho.string());
    // Under way: the first labels at the port, or the sheet table filling.
    for (int i = 0; i < 300 && !cli.Esperar(0) && (c.a4 ? i < 10 : !fs::exists(porta)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_FALSE(cli.Esperar(0)) << cli.Saida();

    cli.Sinal(c.sinal);
    const auto inicio = std::chrono::steady_clock::now();
    ASSERT_TRUE(cli.Esperar(20)) << "etiquetas-cli não terminou\n" << cli.Saida();
    // The A4 path first takes back the sheet rows it wrote (some seconds for tens of thousands).
    EXPECT_LT(Segundos(inicio), c.a4 ? 15.0 : 2.5) << cli.Saida();
    EXPECT_EQ(cli.Status(), 128 + c.sinal) << cli.Saida();
    if (c.sinal == SIGINT)
        EXPECT_NE(cli.Saida().find("Impressão cancelada: "), std::string::npos) << cli.Saida();
    else
        EXPECT_NE(cli.Saida().find("encerrado pelo SIGTERM"), std::string::npos) << cli.Saida();
    EXPECT_FALSE(fs::exists(pasta / "folhas.pdf"));

    // Closed: the database opens again (the embedded file is no longer held)
    // and the sheet table holds what it held.
    TConexao banco(caminho);
    EXPECT_EQ(OutrosAnexos(banco, cli.Pid()), 0);
    EXPECT_EQ(banco.Texto("select list(linha1) from etiquetamrg"), "ANTES");
}

INSTANTIATE_TEST_SUITE_P(Casos, ImprimirInterrompido,
                         ::testing::Values(CasoImprimir{"CtrlCEmbutido", SIGINT, false, false},
                                           CasoImprimir{"CtrlCServidor", SIGINT, true, false},
                                           CasoImprimir{"TermEmbutido", SIGTERM, false, false},
                                           CasoImprimir{"TermServidor", SIGTERM, true, false},
                                           CasoImprimir{"CtrlCBilhaoA4", SIGINT, false, true}),
                         [](const auto& i) { return std::string(i.param.nome); });

// The program as its entry builds it, on the configEtq.ini of `pasta`. With
// "banco" it runs the "Etiquetas" action first (no goods window here), so
// the database is connected and its transaction open when the signal comes.
int Programa(const std::string& pasta, bool usaBanco) {
    DefinirDiretorioSistema(pasta);
    int argc = 1;
    char nome[] = "etiquetas";
    char* argv[] = {nome, nullptr};
    TAplicacao app(argc, argv);
    InstalarEncerramentoDoPrograma();
    TfrmPrincipal frmPrincipal({});
    TfrmAvisoAbertura frmAvisoAbertura(&frmPrincipal);
    TInterfaceUsuarioQt interfaceQt(frmAvisoAbertura);
    DefinirInterfaceUsuario(&interfaceQt);
    int resultado = 0;
    {
        TModulosDadosReais modulos;
        frmPrincipal.DefinirModulosDados(&modulos);
        TFuncoes funcoes;
        frmPrincipal.show();
        QTimer::singleShot(0, &frmPrincipal, [&] {
            if (usaBanco) Protegido(&frmPrincipal, [&] { frmPrincipal.btnEtiquetasClick(); });
            std::cout << "pronto" << std::endl;
        });
        resultado = app.exec();
        frmPrincipal.DefinirModulosDados(nullptr);
    }
    DefinirInterfaceUsuario(nullptr);
    return ResultadoDoPrograma(resultado);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--programa") return Programa(argv[2], std::string(argv[3]) == "banco");
    g_programa = fs::canonical("/proc/self/exe").string();
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-sinais");
}
