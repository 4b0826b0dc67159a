#pragma once
// The window of the first start: no shop database yet, two ways on.
#include <QDialog>

class QLineEdit;
class QPushButton;
class TGaleriaPainel;

class TfrmPrimeiroUso : public QDialog {
public:
    static constexpr int kModeloFigura = 50;  // prints the shop's name and text line
    enum class TEscolha { Nenhuma, Configurar, Demonstracao };
    explicit TfrmPrimeiroUso(QWidget* pai = nullptr);
    TEscolha Escolha() const { return escolha_; }

    QPushButton* btnConfigurar;
    QPushButton* btnDemonstracao;
    QPushButton* btnFechar;
    QLineEdit* edtNomeLoja;   // NOME LOJA, written on Configurar or the demo
    QLineEdit* edtTextoLoja;  // TEXTO LOJA
    TGaleriaPainel* pnlGaleria;

private:
    void Escolher(TEscolha escolha);
    TEscolha escolha_ = TEscolha::Nenhuma;
};

// Shows the window and, for the demo, creates it, points the configuration at
// it and says what was made and where. A failure is raised.
TfrmPrimeiroUso::TEscolha MostrarPrimeiroUso();

// Run before the data modules read PATH MERKOR: when the installed program
// has no shop database, shows the window and, for the demo, creates it and
// points the configuration at it (a failure is shown and the program goes
// on). Returns the operator's choice; Configurar is for the caller to open
// the configuration panel once the main window is up.
TfrmPrimeiroUso::TEscolha ConduzirPrimeiroUso();
