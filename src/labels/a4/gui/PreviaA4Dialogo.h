#pragma once
// The preview of an A4 report: Qt's print preview over the composed sheets,
// with printing and the "Documento PDF" export. Installed by the program as
// the preview of the A4 models.
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <functional>

#include "labels/a4/RelatorioA4.h"

class QAction;

class TPreviaA4Dialogo {
public:
    explicit TPreviaA4Dialogo(TDocumentoA4& documento, QWidget* parent = nullptr);

    QPrintPreviewDialog& Dialogo() { return dialogo_; }
    QAction* AcaoPdf() const { return acaoPdf_; }
    // File of the PDF export; empty cancels. A file dialog unless replaced (tests).
    std::function<QString()> EscolherArquivoPdf;
    void ExportarPdf();
    int Exec() { return dialogo_.exec(); }

private:
    TDocumentoA4& documento_;
    QPrinter impressora_;  // made before the dialog that shows it
    QPrintPreviewDialog dialogo_;
    QAction* acaoPdf_ = nullptr;
};

// Shows the preview modally; what InstalarPreviaA4 takes.
void MostraPreviaA4Dialogo(TDocumentoA4& documento);
