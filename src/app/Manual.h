#pragma once
// The manual F1 opens: the installed copy, or the source tree's for a copy
// run from the build tree, shown in a window of the program (no browser
// needed), with a search field.
#include <string>

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

// "" when neither exists.
std::string CaminhoManual();

class TfrmManual : public QDialog {
    Q_OBJECT
public:
    TfrmManual(const std::string& arquivo, QWidget* pai);

    // Finds the next place (or, with `paraTras`, the previous one) holding
    // `texto`, from the current one, going round the end once; says on
    // lblProcura when the manual does not hold it.
    bool Procurar(const QString& texto, bool paraTras = false);

    QTextBrowser* txtManual;
    QLineEdit* edtProcurar;
    QPushButton* btnProcurar;
    QLabel* lblProcura;
};

// Shows the manual window over whatever window is in front (a modal one
// included) and returns it; says so when the manual is not installed.
TfrmManual* AbrirManual(QWidget* pai);
