#include "app/JanelaPrimeiroUso.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ConfigPainel.h"
#include "app/GaleriaPainel.h"
#include "app/ModelosEtiqueta.h"
#include "app/PrimeiroUso.h"
#include "common/ConfigEtq.h"
#include "common/InterfaceUsuario.h"
#include "common/gui/FuncoesGui.h"

TfrmPrimeiroUso::TfrmPrimeiroUso(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("frmPrimeiroUso"));
    setWindowTitle(QStringLiteral("Etiquetas de codigo de barras"));
    auto html = [](const std::string& s) { return QString::fromStdString(s).toHtmlEscaped(); };
    auto* texto = new QLabel(
        QStringLiteral("<p><b>Nenhum banco de dados da loja está configurado.</b></p>"
                       "<p>Informe o banco de dados da loja e a impressora no painel de configuração "
                       "(ele pede a senha do dia), ou crie uma loja de demonstração para conhecer o programa: "
                       "as etiquetas dela vão para um arquivo, sem impressora.</p>"
                       "<p>Configuração: %1<br>Loja de demonstração: %2</p>")
            .arg(html(CaminhoConfigEtq()), html(PastaDemoUsuario() + "loja.fdb")));
    texto->setObjectName(QStringLiteral("lblTexto"));
    texto->setWordWrap(true);
    texto->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The shop's name and text line, seen on a model that prints both.
    edtNomeLoja = new QLineEdit(this);
    edtNomeLoja->setObjectName(QStringLiteral("edtNomeLoja"));
    edtNomeLoja->setText(ParaQString(LerConfig("NOME LOJA")));
    edtNomeLoja->setPlaceholderText(QString::fromUtf8("Loja Demonstração"));
    edtTextoLoja = new QLineEdit(this);
    edtTextoLoja->setObjectName(QStringLiteral("edtTextoLoja"));
    edtTextoLoja->setText(ParaQString(LerConfig("TEXTO LOJA")));
    edtTextoLoja->setPlaceholderText(QString::fromUtf8("Preço Baixo"));
    auto* campos = new QFormLayout;
    campos->addRow(QString::fromUtf8("Nome da loja (nas etiquetas):"), edtNomeLoja);
    campos->addRow(QString::fromUtf8("Texto da loja (segunda linha):"), edtTextoLoja);
    pnlGaleria = new TGaleriaPainel(this);
    pnlGaleria->setFixedSize(460, 300);
    auto atualizar = [this] {
        pnlGaleria->Mostrar(LinhasModelo()[kModeloFigura - 1], "PPLA", ParaStd(edtNomeLoja->text()),
                            ParaStd(edtTextoLoja->text()));
    };
    connect(edtNomeLoja, &QLineEdit::textChanged, this, atualizar);
    connect(edtTextoLoja, &QLineEdit::textChanged, this, atualizar);
    atualizar();

    btnConfigurar = new QPushButton(QStringLiteral("Configurar"), this);
    btnConfigurar->setObjectName(QStringLiteral("btnConfigurar"));
    btnDemonstracao = new QPushButton(QStringLiteral("Criar loja de demonstração"), this);
    btnDemonstracao->setObjectName(QStringLiteral("btnDemonstracao"));
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    btnDemonstracao->setDefault(true);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConfigurar);
    botoes->addWidget(btnDemonstracao);
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texto);
    layout->addLayout(campos);
    layout->addWidget(pnlGaleria, 0, Qt::AlignHCenter);
    layout->addLayout(botoes);
    setMinimumWidth(520);

    connect(btnConfigurar, &QPushButton::clicked, this, [this] { Escolher(TEscolha::Configurar); });
    connect(btnDemonstracao, &QPushButton::clicked, this, [this] { Escolher(TEscolha::Demonstracao); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPrimeiroUso::Escolher(TEscolha escolha) {
    // The texts go with either way on; refused, the window stays and nothing is written.
    try {
        GravarTextosLoja(ParaStd(edtNomeLoja->text()), ParaStd(edtTextoLoja->text()));
    } catch (const std::exception& falha) {
        InterfaceUsuario().Mensagem(falha.what());
        return;
    }
    escolha_ = escolha;
    accept();
}

TfrmPrimeiroUso::TEscolha MostrarPrimeiroUso() {
    using E = TfrmPrimeiroUso::TEscolha;
    TfrmPrimeiroUso janela(QApplication::activeWindow());
    janela.exec();
    if (janela.Escolha() != E::Demonstracao) return janela.Escolha();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TLojaDemoUsuario loja;
    try {
        loja = CriarLojaDemoUsuario();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    InterfaceUsuario().Mensagem(TextoLojaDemoCriada(loja));
    return E::Demonstracao;
}

TfrmPrimeiroUso::TEscolha ConduzirPrimeiroUso() {
    using E = TfrmPrimeiroUso::TEscolha;
    try {
        if (!PrecisaDePrimeiroUso()) return E::Nenhuma;
        return MostrarPrimeiroUso();
    } catch (const std::exception& falha) {
        erros_de_sistema(nullptr, falha);
        return E::Nenhuma;
    }
}
