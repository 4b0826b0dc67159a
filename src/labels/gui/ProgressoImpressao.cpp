#include "labels/gui/ProgressoImpressao.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmProgressoImpressao::TfrmProgressoImpressao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmProgressoImpressao"));
    setWindowTitle(QStringLiteral("Imprimindo etiquetas"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    lblEnviadas = new QLabel(this);
    lblEnviadas->setObjectName(QStringLiteral("lblEnviadas"));
    lblEnviadas->setMinimumWidth(260);
    lblEnviadas->setAlignment(Qt::AlignCenter);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setAutoDefault(false);
    auto* caixa = new QVBoxLayout(this);
    caixa->setContentsMargins(16, 16, 16, 16);
    caixa->addWidget(lblEnviadas);
    caixa->addWidget(btnCancelar, 0, Qt::AlignCenter);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmProgressoImpressao::Cancelar);
    Atualizar(0, 0);
}

void TfrmProgressoImpressao::Atualizar(int64_t enviadas, int64_t aEnviar) {
    lblEnviadas->setText(QStringLiteral("Etiquetas enviadas: %1 de %2").arg(enviadas).arg(aEnviar));
}

void TfrmProgressoImpressao::Cancelar() {
    if (cancelado_) return;
    cancelado_ = true;
    btnCancelar->setEnabled(false);
    lblEnviadas->setText(lblEnviadas->text() + QStringLiteral("\nCancelando..."));
    emit Cancelou();
}

void TfrmProgressoImpressao::Esperar(int ms) {
    if (cancelado_) return;
    QEventLoop laco;
    QTimer relogio;
    relogio.setSingleShot(true);
    connect(&relogio, &QTimer::timeout, &laco, &QEventLoop::quit);
    connect(this, &TfrmProgressoImpressao::Cancelou, &laco, &QEventLoop::quit);
    relogio.start(ms);
    laco.exec();
}

void TfrmProgressoImpressao::closeEvent(QCloseEvent* evento) {
    // The print decides when this window goes; closing it asks to stop.
    Cancelar();
    evento->ignore();
}

void TfrmProgressoImpressao::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape) {
        Cancelar();
        return;
    }
    QDialog::keyPressEvent(evento);
}
