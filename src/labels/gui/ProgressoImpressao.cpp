#include "labels/gui/ProgressoImpressao.h"

#include <algorithm>
#include <utility>

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TfrmProgressoImpressao::TfrmProgressoImpressao(QWidget* parent, TEstimativaTempo::TRelogio relogio)
    : QDialog(parent), estimativa_(std::move(relogio)) {
    setObjectName(QStringLiteral("frmProgressoImpressao"));
    setWindowTitle(QStringLiteral("Imprimindo etiquetas"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    lblEnviadas = new QLabel(this);
    lblEnviadas->setObjectName(QStringLiteral("lblEnviadas"));
    lblEnviadas->setMinimumWidth(260);
    lblEnviadas->setAlignment(Qt::AlignCenter);
    barra = new QProgressBar(this);
    barra->setObjectName(QStringLiteral("barra"));
    barra->setTextVisible(true);
    lblTempo = new QLabel(this);
    lblTempo->setObjectName(QStringLiteral("lblTempo"));
    lblTempo->setAlignment(Qt::AlignCenter);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setAutoDefault(false);
    auto* caixa = new QVBoxLayout(this);
    caixa->setContentsMargins(16, 16, 16, 16);
    caixa->addWidget(lblEnviadas);
    caixa->addWidget(barra);
    caixa->addWidget(lblTempo);
    caixa->addWidget(btnCancelar, 0, Qt::AlignCenter);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmProgressoImpressao::Cancelar);
    Atualizar(0, 0);
}

void TfrmProgressoImpressao::Atualizar(int64_t enviadas, int64_t aEnviar) {
    lblEnviadas->setText(QStringLiteral("Etiquetas enviadas: %1 de %2").arg(enviadas).arg(aEnviar));
    // The bar counts in labels; a total beyond its int range is scaled down.
    const int64_t escala = std::max<int64_t>(1, aEnviar / 1000000000 + 1);
    barra->setRange(0, static_cast<int>(std::max<int64_t>(aEnviar, 1) / escala));
    barra->setValue(static_cast<int>(std::min(enviadas, aEnviar) / escala));
    estimativa_.Registrar(enviadas, aEnviar);
    const std::string tempo = estimativa_.Texto();
    lblTempo->setText(tempo.empty() ? QStringLiteral("Tempo restante: calculando...") : QString::fromStdString(tempo));
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
