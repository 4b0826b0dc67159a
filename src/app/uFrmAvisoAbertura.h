#pragma once
// The waiting window: shown while tables open and while the catalogue loader
// runs. Its bar runs through in five seconds and starts again.
#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

class TfrmAvisoAbertura : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAvisoAbertura(QWidget* parent = nullptr);

    QLabel* lbltexto;
    QLabel* Image1;
    QProgressBar* p;
    QTimer* Timer1;

    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
};
