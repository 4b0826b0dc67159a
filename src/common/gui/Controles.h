#pragma once
// Builders of the small controls the windows place by hand: each gets its
// object name (tests and the key handling find controls by it) and its place
// in the parent, in pixels.
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// Height of a one-line edit or list.
constexpr int kAlturaEdit = 21;

// A caption sized to its text.
QLabel* Rotulo(const char* texto, int x, int y, QWidget* pai, const char* nome);

// A check box sized to its caption; `marrom` paints the caption dark red.
QCheckBox* Marca(const char* texto, int x, int y, QWidget* pai, const char* nome, bool marrom = false);

// A radio button sized to its caption.
QRadioButton* Radio(const char* texto, int x, int y, QWidget* pai, const char* nome);

// A one-line edit `largura` wide, holding `texto`.
QLineEdit* Edit(int x, int y, int largura, QWidget* pai, const char* nome, const char* texto = "");

// The control as given, disabled: a value that waits for its check box.
template <class W>
W* Desligado(W* controle) {
    controle->setEnabled(false);
    return controle;
}
