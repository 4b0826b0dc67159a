#pragma once
// The waiting window of a call whose database server stopped answering: the
// seconds of silence against the limit, and "Desistir", which abandons the
// connection at once instead of waiting for the limit.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class TEsperaServidor;

class TfrmServidorSemResposta : public QDialog {
    Q_OBJECT
public:
    TfrmServidorSemResposta(TEsperaServidor& chamada, QWidget* parent = nullptr);

    QLabel* lblTexto;
    QProgressBar* pbSilencio;
    QPushButton* btnDesistir;

    // Shows `segundos` of silence.
    void Atualizar(int segundos);
    void btnDesistirClick();

protected:
    // Closing the window or Esc would leave the call waiting unseen: only "Desistir" ends it early.
    void reject() override {}

private:
    TEsperaServidor& chamada_;
};
