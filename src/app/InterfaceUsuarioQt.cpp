#include "app/InterfaceUsuarioQt.h"

#include <memory>
#include <vector>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStringList>

#include "app/uFrmAvisoAbertura.h"
#include "app/uFrmServidorSemResposta.h"
#include "common/Encerramento.h"
#include "common/gui/FuncoesGui.h"

void MostraMensagem(const std::string& texto) {
    QWidget* dono = QApplication::activeModalWidget();
    if (!dono) dono = QApplication::activeWindow();
    QString t = QString::fromStdString(texto);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // the messages are written Windows-style
    QMessageBox caixa(QMessageBox::Information, QStringLiteral("Etiquetas de codigo de barras"), t, QMessageBox::Ok,
                      dono);
    caixa.exec();
}

// While the program ends on a signal nobody is there to answer a box.
void TInterfaceUsuarioQt::Mensagem(const std::string& texto) {
    if (!EncerramentoPedido()) MostraMensagem(texto);
}

bool TInterfaceUsuarioQt::Confirma(const std::string& pergunta) {
    return !EncerramentoPedido() && ConfirmaAcao(pergunta);
}

namespace {
// The callers block the event loop while the window is up: let the window
// system map and paint it, but take no clicks or keys meanwhile.
void Desenha(TfrmAvisoAbertura& janela) {
    janela.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
}  // namespace

void TInterfaceUsuarioQt::MostraAguarde() {
    aguarde_.show();
    aguarde_.raise();
    Desenha(aguarde_);
}

void TInterfaceUsuarioQt::RepintaAguarde() { Desenha(aguarde_); }

void TInterfaceUsuarioQt::EscondeAguarde() { aguarde_.hide(); }

namespace {
// The other windows keep their picture while events run during the wait, as
// the queue's grid does while a print walks the table: a repaint would read
// rows the call in progress may be fetching (no database call starts
// meanwhile, fb::ChamadaEmEspera).
class TJanelasCongeladas {
public:
    void Congelar(const QWidget* exceto) {
        if (!congeladas_.empty()) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != exceto && w->isVisible() && w->updatesEnabled()) {
                w->setUpdatesEnabled(false);
                congeladas_.emplace_back(w);
            }
    }
    ~TJanelasCongeladas() {
        for (const QPointer<QWidget>& w : congeladas_)
            if (w) w->setUpdatesEnabled(true);
    }

private:
    std::vector<QPointer<QWidget>> congeladas_;
};
}  // namespace

// Until the server falls silent the screen waits as it always did, without
// events. Then the window comes up, and events run (the window is modal: only
// its button takes clicks; while it is hidden again, no input at all) until
// the call ends: by an answer, by the limit, or by "Desistir".
void TInterfaceUsuarioQt::AguardaServidor(TEsperaServidor& chamada) {
    TJanelasCongeladas congeladas;
    std::unique_ptr<TfrmServidorSemResposta> janela;
    while (!chamada.AguardarConclusao(100)) {
        const int segundos = chamada.SegundosSemResposta();
        if (segundos > 0) {
            if (!janela) {
                QWidget* dono = QApplication::activeModalWidget();
                janela = std::make_unique<TfrmServidorSemResposta>(chamada, dono ? dono : QApplication::activeWindow());
                congeladas.Congelar(janela.get());
            }
            janela->Atualizar(segundos);
            if (!janela->isVisible()) janela->show();
        } else if (janela) {
            janela->hide();  // the server answers again
        }
        if (janela)
            QCoreApplication::processEvents(janela->isVisible() ? QEventLoop::AllEvents
                                                                : QEventLoop::ExcludeUserInputEvents);
    }
}

void AbrirPrograma(const std::string& caminho) {
    const QString arquivo = QString::fromStdString(caminho);
    const QFileInfo info(arquivo);
    if (!info.exists()) return;
    // The loader inherits this program's working folder.
    if (info.isExecutable() && info.isFile())
        QProcess::startDetached(arquivo, QStringList());
    else
        QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{arquivo});
}
