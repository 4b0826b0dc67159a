#include "app/uFrmAvisoAbertura.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include "app/Icones.h"
#include "common/gui/FuncoesGui.h"

TfrmAvisoAbertura::TfrmAvisoAbertura(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmAvisoAbertura");
    setWindowTitle(" ");
    setFixedSize(249, 119);
    setCursor(Qt::WaitCursor);
    // Shown over the work in progress without taking the focus from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setModal(false);

    lbltexto = new QLabel(QStringLiteral("Aguarde ..."), this);
    lbltexto->setObjectName("lbltexto");
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(19);
    f.setBold(true);
    f.setItalic(true);
    lbltexto->setFont(f);
    lbltexto->setStyleSheet(QStringLiteral("color: #800000;"));
    lbltexto->move(96, 24);
    lbltexto->adjustSize();

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(16, 16, 41, 41);
    Image1->setPixmap(ImagemAmpulheta(41));

    p = new QProgressBar(this);
    p->setObjectName("p");
    p->setGeometry(16, 88, 215, 16);
    p->setRange(0, 20);
    p->setValue(0);
    p->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, [this] { Protegido(this, [this] { Timer1Timer(); }); });

    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TfrmAvisoAbertura::Timer1Timer() {
    int v = p->value() + 1;
    if (v >= 20) v = 0;
    p->setValue(v);
}

void TfrmAvisoAbertura::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Timer1->start();
}

void TfrmAvisoAbertura::hideEvent(QHideEvent* e) {
    Timer1->stop();
    QDialog::hideEvent(e);
}

void TfrmAvisoAbertura::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            Timer1->start();
        else
            Timer1->stop();
    }
    QDialog::changeEvent(e);
}
