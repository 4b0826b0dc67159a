// Program entry: the program put together (TPrograma), then the message loop
// until the main window closes.
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/EncerramentoPrograma.h"
#include "app/JanelaPrimeiroUso.h"
#include "app/Programa.h"
#include "common/PastaExecucao.h"
#include "common/Versao.h"
#include "common/gui/FuncoesGui.h"

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("%s\n", LinhaVersao("etiquetas").c_str());
        return 0;
    }
    // A printer port whose reader went away (a pipe, a socket) must fail the
    // write with a message, not end the program.
    (void)std::signal(SIGPIPE, SIG_IGN);  // a valid signal and SIG_IGN: it cannot fail
    PrepararPastaExecucao();              // started by a service or as root without a session
    PrepararTravasFirebird();             // installed program: the embedded engine's lock files per user
    TAplicacao app(argc, argv);
    app.setApplicationName(QStringLiteral("etiquetas"));
    InstalarEncerramentoDoPrograma();

    int resultado = 0;
    try {
        // An installed program without a shop database: configure it or take
        // a demo shop, before the data modules read PATH MERKOR.
        auto primeiroUso = TfrmPrimeiroUso::TEscolha{};
        TPrograma programa(std::vector<std::string>(argv + 1, argv + argc),
                           [&primeiroUso] { primeiroUso = ConduzirPrimeiroUso(); });
        TfrmPrincipal& frmPrincipal = programa.frmPrincipal;
        frmPrincipal.show();
        if (primeiroUso == TfrmPrimeiroUso::TEscolha::Configurar)
            QTimer::singleShot(0, &frmPrincipal, [&frmPrincipal] { frmPrincipal.btnConfigClick(); });
        resultado = app.exec();
    } catch (const std::exception& falha) {
        // A failure while the modules are made (an unreadable configEtq.ini):
        // say so instead of aborting.
        erros_de_sistema(nullptr, falha);
        resultado = 1;
    }
    return ResultadoDoPrograma(resultado);
}
