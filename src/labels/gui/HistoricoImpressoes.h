#pragma once
// "Histórico": the journal of label prints, one line per print run (how it
// ended and how many labels the printer took first) and, under it, the queue
// rows it printed; a legend says what the red runs mean.
#include <string>
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
    QLabel* lblLegenda;  // shown while a red run is listed

private:
    void AjustarColunas();
};

// The column titles, in order (one table builds the header and the cells).
std::vector<std::string> TitulosHistorico();
