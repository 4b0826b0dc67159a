#pragma once
// The small window shown while a thermal print runs: labels sent out of the
// labels to send, a bar, the time left at the pace so far, and "Cancelar", which stops the print before its next job.
// It waits the pause after each job with the event loop running, so the
// window repaints and the button answers.
#include <cstdint>

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

class TfrmProgressoImpressao : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgressoImpressao(QWidget* parent = nullptr);

    QLabel* lblEnviadas;
    QProgressBar* barra;
    QLabel* lblTempo;
    QPushButton* btnCancelar;

    void Atualizar(int64_t enviadas, int64_t aEnviar);
    // Waits `ms` milliseconds, or less when the operator cancels.
    void Esperar(int ms);
    bool Cancelado() const { return cancelado_; }
    void Cancelar();

protected:
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

signals:
    void Cancelou();

private:
    bool cancelado_ = false;
    QElapsedTimer relogio_;  // from the window's creation, as the print starts
};
