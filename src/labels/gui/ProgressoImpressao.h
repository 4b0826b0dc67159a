#pragma once
// The small window shown while a thermal print runs: labels sent out of the
// labels to send, a bar, the time left at the pace of the labels delivered, and "Cancelar", which stops the print before its next job.
// It waits the pause after each job with the event loop running, so the
// window repaints and the button answers.
#include <cstdint>

#include <QDialog>

#include "labels/ResumoImpressao.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TfrmProgressoImpressao : public QDialog {
    Q_OBJECT
public:
    // `relogio`: the clock of the time-left estimate (the machine's when empty).
    explicit TfrmProgressoImpressao(QWidget* parent = nullptr, TEstimativaTempo::TRelogio relogio = {});

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
    TEstimativaTempo estimativa_;
};
