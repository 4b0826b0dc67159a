#include "labels/a4/gui/PreviaA4Dialogo.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QToolBar>

#include "common/gui/FuncoesGui.h"

TPreviaA4Dialogo::TPreviaA4Dialogo(TDocumentoA4& documento, QWidget* parent)
    : documento_(documento), impressora_(QPrinter::HighResolution), dialogo_(&impressora_, parent) {
    // The forms place everything from the paper's corner: no printer margins.
    impressora_.setFullPage(true);
    impressora_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    impressora_.setDocName(QString::fromStdString(documento.Titulo()));
    dialogo_.setWindowTitle(QString::fromStdString(documento.Titulo()));
    QObject::connect(&dialogo_, &QPrintPreviewDialog::paintRequested, &dialogo_, [this](QPrinter* p) {
        Protegido(&dialogo_, [&] {
            documento_.Imprimir(*p);
            // The preview paints through its picture engine; a print goes to the printer's.
            const QPaintEngine* motor = p->paintEngine();
            if (motor && motor->type() == QPaintEngine::Picture) return;
            documento_.Entregue(p->outputFormat() == QPrinter::PdfFormat ? "PDF: " + p->outputFileName().toStdString()
                                                                         : p->printerName().toStdString());
        });
    });

    EscolherArquivoPdf = [this] {
        return QFileDialog::getSaveFileName(&dialogo_, QStringLiteral("Exportar"),
                                            QString::fromStdString(documento_.Titulo()) + QStringLiteral(".pdf"),
                                            QStringLiteral("Documento PDF (*.pdf)"));
    };
    acaoPdf_ = new QAction(QStringLiteral("Documento PDF"), &dialogo_);
    acaoPdf_->setToolTip(QStringLiteral("Salvar como Documento PDF"));
    QObject::connect(acaoPdf_, &QAction::triggered, &dialogo_,
                     [this] { Protegido(&dialogo_, [&] { ExportarPdf(); }); });
    if (auto* barra = dialogo_.findChild<QToolBar*>()) {
        barra->addSeparator();
        barra->addAction(acaoPdf_);
    } else {
        dialogo_.addAction(acaoPdf_);
    }
}

void TPreviaA4Dialogo::ExportarPdf() {
    QString arquivo = EscolherArquivoPdf ? EscolherArquivoPdf() : QString();
    if (arquivo.isEmpty()) return;
    if (!arquivo.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) arquivo += QStringLiteral(".pdf");
    documento_.ExportarPdf(arquivo.toStdString());
}

void MostraPreviaA4Dialogo(TDocumentoA4& documento) {
    TPreviaA4Dialogo previa(documento, QApplication::activeWindow());
    previa.Exec();
}
