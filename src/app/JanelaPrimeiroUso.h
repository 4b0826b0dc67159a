#pragma once
// The window of the first start: no shop database yet, two ways on.
#include <QDialog>

class QPushButton;

class TfrmPrimeiroUso : public QDialog {
public:
    enum class TEscolha { Nenhuma, Configurar, Demonstracao };
    explicit TfrmPrimeiroUso(QWidget* pai = nullptr);
    TEscolha Escolha() const { return escolha_; }

    QPushButton* btnConfigurar;
    QPushButton* btnDemonstracao;
    QPushButton* btnFechar;

private:
    TEscolha escolha_ = TEscolha::Nenhuma;
};
