#include "previa/gui/PreviaEtiquetas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "labels/ImpressaoEtiquetas.h"

TfrmPreviaEtiquetas::TfrmPreviaEtiquetas(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPreviaEtiquetas"));
    setWindowTitle(QStringLiteral("Visualizar etiquetas"));
    resize(960, 640);
    auto* layout = new QVBoxLayout(this);

    lblResumo = new QLabel(QStringLiteral("Desenhando as etiquetas..."), this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));
    layout->addWidget(lblResumo);

    Rolagem = new QScrollArea(this);
    Rolagem->setObjectName(QStringLiteral("Rolagem"));
    Rolagem->setWidgetResizable(true);
    Rolagem->setBackgroundRole(QPalette::Dark);
    auto* conteudo = new QWidget(Rolagem);
    lista_ = new QVBoxLayout(conteudo);
    lista_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lista_->setSpacing(12);
    Rolagem->setWidget(conteudo);
    layout->addWidget(Rolagem, 1);

    memoAvisos = new QPlainTextEdit(this);
    memoAvisos->setObjectName(QStringLiteral("memoAvisos"));
    memoAvisos->setReadOnly(true);
    memoAvisos->setMaximumHeight(90);
    memoAvisos->setVisible(false);
    layout->addWidget(memoAvisos);

    auto* rodape = new QHBoxLayout;
    rodape->addStretch(1);
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    rodape->addWidget(btnFechar);
    layout->addLayout(rodape);
}

void TfrmPreviaEtiquetas::Adicionar(const QImage& imagem, int indice) {
    auto* quadro = new QLabel;
    quadro->setObjectName(QStringLiteral("etiqueta%1").arg(indice + 1));
    // The label's own edge, as the roll shows it.
    quadro->setFrameShape(QFrame::Box);
    quadro->setPixmap(QPixmap::fromImage(imagem));
    quadro->setToolTip(QStringLiteral("Etiqueta %1").arg(indice + 1));
    lista_->addWidget(quadro);
    imagens_.push_back(imagem);
}

void TfrmPreviaEtiquetas::Executar(TImpressaoEtiquetas& impressao, int dpi) {
    previa::TPreviaImpressao previa(impressao);
    previa.Dpi = dpi;
    QElapsedTimer repintura;
    repintura.start();
    previa.AoImagem = [&](const QImage& imagem, int indice) {
        if (indice < kMaxNaTela) Adicionar(imagem, indice);
        // The first image at once, then a repaint now and then while the walk goes on.
        if (indice == 0 || repintura.elapsed() > 100) {
            lblResumo->setText(QStringLiteral("Desenhando as etiquetas... %1").arg(indice + 1));
            QApplication::processEvents();
            repintura.restart();
        }
        return isVisible();
    };
    resultado_ = previa.Executar();

    QString resumo =
        QStringLiteral("%1 imagem(ns) de etiqueta do modelo %2 (%3, %4 dpi); nada foi enviado à impressora.")
            .arg(resultado_.imagens)
            .arg(resultado_.modelo)
            .arg(QString::fromLatin1(previa::NomeLinguagem(resultado_.linguagem)))
            .arg(dpi);
    if (resultado_.imagens > kMaxNaTela) resumo += QStringLiteral(" Mostrando as primeiras %1.").arg(kMaxNaTela);
    if (resultado_.imagens == 0)
        resumo = QStringLiteral("Nenhuma etiqueta a imprimir: informe as quantidades na fila.");
    lblResumo->setText(resumo);
    if (!resultado_.avisos.empty()) {
        QStringList linhas;
        for (const auto& a : resultado_.avisos) linhas << QString::fromStdString(a);
        memoAvisos->setPlainText(linhas.join('\n'));
        memoAvisos->setVisible(true);
    }
}
