// Program entry: the windows and data modules in their order, then the message
// loop until the main window closes.
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/InterfaceUsuarioQt.h"
#include "app/JanelaMercadorias.h"
#include "app/JanelaPrimeiroUso.h"
#include "app/JanelasPrograma.h"
#include "app/ModulosDadosReais.h"
#include "app/EncerramentoPrograma.h"
#include "app/Parametros.h"
#include "app/uFrmAvisoAbertura.h"
#include "app/ufrmPrincipal.h"
#include "common/Excecoes.h"
#include "common/PastaExecucao.h"
#include "common/Versao.h"
#include "common/gui/FuncoesGui.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "labels/a4/gui/PreviaA4Dialogo.h"
#include "labels/gui/MrgEtiquetas.h"

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("%s\n", LinhaVersao("etiquetas").c_str());
        return 0;
    }
    // A printer port whose reader went away (a pipe, a socket) must fail the
    // write with a message, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    PrepararPastaExecucao();  // started by a service or as root without a session
    PrepararTravasFirebird();  // installed program: the embedded engine's lock files per user
    TAplicacao app(argc, argv);
    app.setApplicationName(QStringLiteral("etiquetas"));
    InstalarEncerramentoDoPrograma();

    std::vector<std::string> argumentos(argv + 1, argv + argc);
    DefinirParametrosPrograma(LerParametrosPrograma(argumentos));
    DefinirFabricaJanelaMercadorias([](TModulosDadosReais& m, QWidget* principal) {
        auto janela = std::make_unique<TMrgMercadoriasBD>(m.dtmAplicativo, m.DtmMercadorias, m.dtmFornecedores, principal);
        janela->ParamModelo = ParamModelo();
        return std::unique_ptr<TJanelaMercadorias>(std::move(janela));
    });

    TfrmPrincipal frmPrincipal(argumentos);
    TfrmAvisoAbertura frmAvisoAbertura(&frmPrincipal);
    TInterfaceUsuarioQt interfaceQt(frmAvisoAbertura);
    DefinirInterfaceUsuario(&interfaceQt);
    InstalarPreviaA4(MostraPreviaA4Dialogo);

    // The label queue window, on the application module's connection; the
    // command-line model number goes to its print object.
    DefinirFabricaJanelaEtiquetas([](TModulosDadosReais& modulos, QWidget* principal) -> std::unique_ptr<QWidget> {
        auto janela = std::make_unique<TmrgEtiquetas>(modulos.dtmAplicativo, principal);
        janela->Impressao().ParamModelo = ParamModelo();
        return janela;
    });

    // The one the goods window opens on every new batch: a fresh window over
    // the goods window, freed when it closes.
    TModulosDadosReais* modulosAtivos = nullptr;
    DefinirFabricaJanelaEtiquetasFila([&modulosAtivos]() -> std::unique_ptr<TJanelaEtiquetas> {
        if (!modulosAtivos) throw Exception("A fila de etiquetas precisa dos módulos de dados, que não foram criados.");
        auto janela = std::make_unique<TmrgEtiquetas>(modulosAtivos->dtmAplicativo, QApplication::activeModalWidget());
        janela->Impressao().ParamModelo = ParamModelo();
        return janela;
    });

    // An installed program without a shop database: configure it or take a
    // demo shop, before the data modules read PATH MERKOR.
    const auto primeiroUso = ConduzirPrimeiroUso();

    int resultado = 0;
    try {
        TModulosDadosReais modulos;
        modulosAtivos = &modulos;
        frmPrincipal.DefinirModulosDados(&modulos);
        std::unique_ptr<TJanelaMercadorias> mrgMercadoriasBD = CriarJanelaMercadorias(modulos, &frmPrincipal);
        frmPrincipal.DefinirJanelaMercadorias(mrgMercadoriasBD.get());
        TFuncoes funcoes;
        std::unique_ptr<QWidget> mrgEtiquetas = CriarJanelaEtiquetas(modulos, &frmPrincipal);

        frmPrincipal.show();
        if (primeiroUso == TfrmPrimeiroUso::TEscolha::Configurar)
            QTimer::singleShot(0, &frmPrincipal, [&frmPrincipal] { frmPrincipal.btnConfigClick(); });
        resultado = app.exec();
        frmPrincipal.DefinirJanelaMercadorias(nullptr);
        frmPrincipal.DefinirModulosDados(nullptr);
        modulosAtivos = nullptr;
    } catch (const std::exception& falha) {
        // A failure while the modules are made (an unreadable configEtq.ini):
        // say so instead of aborting.
        modulosAtivos = nullptr;
        erros_de_sistema(nullptr, falha);
        resultado = 1;
    }
    DefinirInterfaceUsuario(nullptr);
    return ResultadoDoPrograma(resultado);
}
