#include "app/JanelaPrimeiroUso.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/PrimeiroUso.h"
#include "common/ConfigEtq.h"
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
    layout->addLayout(botoes);
    setMinimumWidth(520);

    connect(btnConfigurar, &QPushButton::clicked, this, [this] {
        escolha_ = TEscolha::Configurar;
        accept();
    });
    connect(btnDemonstracao, &QPushButton::clicked, this, [this] {
        escolha_ = TEscolha::Demonstracao;
        accept();
    });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmPrimeiroUso::TEscolha ConduzirPrimeiroUso() {
    using E = TfrmPrimeiroUso::TEscolha;
    try {
        if (!PrecisaDePrimeiroUso()) return E::Nenhuma;
        TfrmPrimeiroUso janela;
        janela.exec();
        if (janela.Escolha() == E::Demonstracao) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            try {
                CriarLojaDemoUsuario();
            } catch (...) {
                QApplication::restoreOverrideCursor();
                throw;
            }
            QApplication::restoreOverrideCursor();
        }
        return janela.Escolha();
    } catch (const std::exception& falha) {
        erros_de_sistema(nullptr, falha);
        return E::Nenhuma;
    }
}
