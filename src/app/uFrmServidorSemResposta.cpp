#include "app/uFrmServidorSemResposta.h"

#include <algorithm>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/InterfaceUsuario.h"
#include "common/gui/FuncoesGui.h"
#include "data/fb/VigiaServidor.h"

TfrmServidorSemResposta::TfrmServidorSemResposta(TEsperaServidor& chamada, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), chamada_(chamada) {
    setObjectName("frmServidorSemResposta");
    setWindowTitle(QStringLiteral("Servidor sem resposta"));
    // Over every window: nothing else may touch the database meanwhile.
    setWindowModality(Qt::ApplicationModal);

    lblTexto = new QLabel(this);
    lblTexto->setObjectName("lblTexto");
    lblTexto->setWordWrap(true);
    lblTexto->setMinimumWidth(360);

    pbSilencio = new QProgressBar(this);
    pbSilencio->setObjectName("pbSilencio");
    pbSilencio->setRange(0, chamada.Limite());
    pbSilencio->setTextVisible(false);

    btnDesistir = new QPushButton(QStringLiteral("Desistir"), this);
    btnDesistir->setObjectName("btnDesistir");
    btnDesistir->setCursor(Qt::ArrowCursor);
    connect(btnDesistir, &QPushButton::clicked, this, [this] { Protegido(this, [this] { btnDesistirClick(); }); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTexto);
    layout->addWidget(pbSilencio);
    layout->addWidget(btnDesistir, 0, Qt::AlignRight);
    setCursor(Qt::WaitCursor);
    Atualizar(0);
}

void TfrmServidorSemResposta::Atualizar(int segundos) {
    if (!btnDesistir->isEnabled()) return;
    lblTexto->setText(
        QString::fromStdString(fb::TextoEsperaServidor(chamada_.Servidor(), segundos, chamada_.Limite())));
    pbSilencio->setValue(std::min(segundos, chamada_.Limite()));
}

void TfrmServidorSemResposta::btnDesistirClick() {
    btnDesistir->setEnabled(false);
    lblTexto->setText(QStringLiteral("Abandonando a conexão com o servidor ") +
                      QString::fromStdString(chamada_.Servidor()) + QStringLiteral("..."));
    chamada_.Desistir();
}
