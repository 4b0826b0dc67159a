#include "common/gui/Controles.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Named, placed and sized to its caption.
template <class W>
W* ComLegenda(const char* texto, int x, int y, QWidget* pai, const char* nome) {
    auto* w = new W(QString::fromUtf8(texto), pai);
    w->setObjectName(nome);
    w->move(x, y);
    w->adjustSize();
    return w;
}

}  // namespace

QLabel* Rotulo(const char* texto, int x, int y, QWidget* pai, const char* nome) {
    return ComLegenda<QLabel>(texto, x, y, pai, nome);
}

QCheckBox* Marca(const char* texto, int x, int y, QWidget* pai, const char* nome, bool marrom) {
    auto* c = new QCheckBox(QString::fromUtf8(texto), pai);
    c->setObjectName(nome);
    if (marrom) c->setStyleSheet(QStringLiteral("color: #800000;"));
    c->move(x, y);
    c->adjustSize();
    return c;
}

QRadioButton* Radio(const char* texto, int x, int y, QWidget* pai, const char* nome) {
    return ComLegenda<QRadioButton>(texto, x, y, pai, nome);
}

QLineEdit* Edit(int x, int y, int largura, QWidget* pai, const char* nome, const char* texto) {
    auto* e = new QLineEdit(QString::fromUtf8(texto), pai);
    e->setObjectName(nome);
    e->setGeometry(x, y, largura, kAlturaEdit);
    return e;
}
