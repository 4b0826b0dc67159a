#include "app/Manual.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"

std::string CaminhoManual() {
    std::vector<std::string> candidatos;
    if (!PastaDadosInstalacao().empty())
        candidatos.push_back(DiretorioSistema() + "../share/doc/etiquetas/manual/index.html");
    candidatos.push_back(std::string(ETIQ_FONTE_PROJETO) + "/docs/manual/index.html");
    std::error_code ec;
    for (const auto& c : candidatos)
        if (std::filesystem::is_regular_file(c, ec)) return std::filesystem::weakly_canonical(c, ec).string();
    return "";
}

TfrmManual::TfrmManual(const std::string& arquivo, QWidget* pai) : QDialog(pai, Qt::Window) {
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QString::fromUtf8("Manual — Etiquetas de codigo de barras"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 680);

    edtProcurar = new QLineEdit(this);
    edtProcurar->setObjectName(QStringLiteral("edtProcurar"));
    edtProcurar->setPlaceholderText(QString::fromUtf8("Procurar no manual (Enter: próxima, Shift+Enter: anterior)"));
    edtProcurar->setClearButtonEnabled(true);
    btnProcurar = new QPushButton(QStringLiteral("Procurar"), this);
    btnProcurar->setObjectName(QStringLiteral("btnProcurar"));
    lblProcura = new QLabel(this);
    lblProcura->setObjectName(QStringLiteral("lblProcura"));
    auto* fechar = new QPushButton(QStringLiteral("Fechar"), this);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    fechar->setAutoDefault(false);
    btnProcurar->setAutoDefault(false);

    txtManual = new QTextBrowser(this);
    txtManual->setObjectName(QStringLiteral("txtManual"));
    // Links inside the manual stay here; a web address goes to the browser, if there is one.
    txtManual->setOpenExternalLinks(true);
    txtManual->setSource(QUrl::fromLocalFile(QString::fromStdString(arquivo)));

    auto* barra = new QHBoxLayout;
    barra->addWidget(edtProcurar, 1);
    barra->addWidget(btnProcurar);
    barra->addWidget(lblProcura);
    barra->addWidget(fechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(barra);
    layout->addWidget(txtManual, 1);

    connect(btnProcurar, &QPushButton::clicked, this, [this] { Procurar(edtProcurar->text()); });
    connect(edtProcurar, &QLineEdit::returnPressed, this,
            [this] { Procurar(edtProcurar->text(), QApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(fechar, &QPushButton::clicked, this, &QDialog::close);
    auto* ctrlF = new QShortcut(QKeySequence::Find, this);
    connect(ctrlF, &QShortcut::activated, this, [this] {
        edtProcurar->setFocus();
        edtProcurar->selectAll();
    });
    edtProcurar->setFocus();
}

bool TfrmManual::Procurar(const QString& texto, bool paraTras) {
    lblProcura->clear();
    if (texto.trimmed().isEmpty()) return false;
    const QTextDocument::FindFlags modo = paraTras ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (txtManual->find(texto, modo)) return true;
    // Round the end once, from the other end.
    const QTextCursor guardado = txtManual->textCursor();
    QTextCursor c = guardado;
    c.movePosition(paraTras ? QTextCursor::End : QTextCursor::Start);
    txtManual->setTextCursor(c);
    if (txtManual->find(texto, modo)) return true;
    txtManual->setTextCursor(guardado);
    lblProcura->setText(QString::fromUtf8("\"%1\" não está no manual").arg(texto));
    return false;
}

TfrmManual* AbrirManual(QWidget* pai) {
    const std::string manual = CaminhoManual();
    if (manual.empty()) throw Exception("O manual não foi encontrado nesta instalação.");
    // Over a modal window (the goods or queue window) the manual must be its
    // child, or the modal one would keep it from taking a click.
    QWidget* dono = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : pai;
    static QPointer<TfrmManual> aberta;
    if (aberta && aberta->parentWidget() != dono) {
        aberta->close();
        aberta = nullptr;
    }
    if (!aberta) aberta = new TfrmManual(manual, dono);
    aberta->show();
    aberta->raise();
    aberta->activateWindow();
    return aberta;
}
