#include "app/EncerramentoPrograma.h"

#include <cstdio>

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
}

int ResultadoDoPrograma(int resultado) {
    if (!EncerramentoPedido()) return resultado;
    const int sinal = SinalDeEncerramento();
    std::fprintf(stderr, "etiquetas: encerrado pelo %s; o que não tinha sido gravado no banco de dados foi desfeito.\n",
                 NomeDoSinal(sinal).c_str());
    return CodigoDeSaida(sinal);
}
