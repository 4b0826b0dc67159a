#include "app/EncerramentoPrograma.h"

#include <QApplication>

#include "common/Encerramento.h"
#include "data/fb/FbCliente.h"

void InstalarEncerramentoDoPrograma() {
    InstalarEncerramentoPorSinal([](int sinal) {
        // On the watcher thread: cancel, then hand the rest to the GUI thread.
        fb::InterromperOperacoes();
        QMetaObject::invokeMethod(
            qApp,
            [sinal] {
                QApplication::closeAllWindows();
                QCoreApplication::exit(CodigoDeSaida(sinal));
            },
            Qt::QueuedConnection);
    });
    // A signal that comes once the application object is going must not post to it.
    qAddPostRoutine(DesligarEncerramentoPorSinal);
}

int ResultadoDoPrograma(int resultado) { return EncerramentoPedido() ? RelatarEncerramento("etiquetas") : resultado; }
