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

// Run before the data modules read PATH MERKOR: when the installed program
// has no shop database, shows the window and, for the demo, creates it and
// points the configuration at it (a failure is shown and the program goes
// on). Returns the operator's choice; Configurar is for the caller to open
// the configuration panel once the main window is up.
TfrmPrimeiroUso::TEscolha ConduzirPrimeiroUso();
