#include "labels/gui/HistoricoImpressoes.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/gui/FuncoesGui.h"

TfrmHistoricoImpressoes::TfrmHistoricoImpressoes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHistoricoImpressoes"));
    setWindowTitle(QStringLiteral("Histórico de impressões"));
    resize(1000, 480);
    auto* layout = new QVBoxLayout(this);
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    lblAviso->setVisible(false);
    layout->addWidget(lblAviso);
    arvore = new QTreeWidget(this);
    arvore->setObjectName(QStringLiteral("arvore"));
    // The run's columns; a queue row uses the first five (code, barcode, lot, name, delivered).
    arvore->setHeaderLabels(
        {QStringLiteral("Nº / Código"), QStringLiteral("Início / Barras"), QStringLiteral("Fim / Lote"),
         QStringLiteral("Estação / Nome"), QStringLiteral("Usuário / Entregues"), QStringLiteral("Modelo"),
         QStringLiteral("Linguagem"), QStringLiteral("Porta"), QStringLiteral("Entregues"), QStringLiteral("Situação"),
         QStringLiteral("Continua"), QStringLiteral("Mensagem"), QStringLiteral("Observação")});
    arvore->setAlternatingRowColors(true);
    arvore->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(arvore);
    auto* fechar = new QPushButton(QStringLiteral("Fechar"), this);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    connect(fechar, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(fechar, 0, Qt::AlignRight);
}

void TfrmHistoricoImpressoes::Mostrar(const std::vector<TRegistroDiario>& runs, const std::string& aviso) {
    arvore->clear();
    lblAviso->setText(ParaQString(aviso));
    lblAviso->setVisible(!aviso.empty());
    if (aviso.empty() && runs.empty()) {
        lblAviso->setText(QStringLiteral("Nenhuma impressão registrada."));
        lblAviso->setVisible(true);
    }
    for (const auto& r : runs) {
        QStringList colunas;
        for (const auto& c : ColunasRegistro(r)) colunas << ParaQString(c);
        auto* item = new QTreeWidgetItem(arvore, colunas);
        // A print that did not end whole stands out.
        if (r.SITUACAO != kInteira)
            for (int k = 0; k < colunas.size(); ++k) item->setForeground(k, QBrush(Qt::darkRed));
        for (const auto& i : r.itens) {
            QStringList linha;
            for (const auto& c : ColunasItem(i)) linha << ParaQString(c);
            new QTreeWidgetItem(item, linha);
        }
    }
}
