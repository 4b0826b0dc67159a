#pragma once
// "Histórico": the journal of label prints as etiquetas-cli historico lists
// it, one line per print run and, under it, the queue rows it printed.
#include <vector>

#include <QDialog>

#include "labels/DiarioImpressao.h"

class QLabel;
class QTreeWidget;

class TfrmHistoricoImpressoes : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHistoricoImpressoes(QWidget* parent = nullptr);

    // The runs, newest first; `aviso` in place of them when the journal could not be read.
    void Mostrar(const std::vector<TRegistroDiario>& runs, const std::string& aviso = "");

    QTreeWidget* arvore;
    QLabel* lblAviso;
};
