// F1 shows the manual in a window of the program (no browser needed), over
// whatever window is in front, with a search; and the manual says what every
// window shows and asks.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "AuxiliarTeste.h"
#include "app/Manual.h"
#include "app/ufrmPrincipal.h"

namespace fs = std::filesystem;

namespace {

std::string TextoDoManual() {
    QTextDocument doc;
    std::ifstream f(CaminhoManual());
    std::stringstream s;
    s << f.rdbuf();
    doc.setHtml(QString::fromStdString(s.str()));
    // One line of blanks: a message may wrap in the source of the page.
    return doc.toPlainText().simplified().toStdString();
}

TEST(Manual, F1MostraOManualNumaJanelaDoPrograma) {
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};
    frm.show();
    frm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frm));
    QTest::keyClick(&frm, Qt::Key_F1);
    auto* manual = frm.findChild<TfrmManual*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    EXPECT_EQ(manual->txtManual->source().toLocalFile().toStdString(), CaminhoManual());
    EXPECT_NE(manual->txtManual->toPlainText().indexOf(QString::fromUtf8("O que as mensagens querem dizer")), -1);
    // A second F1 brings the same window forward.
    QTest::keyClick(&frm, Qt::Key_F1);
    EXPECT_EQ(frm.findChildren<TfrmManual*>().size(), 1);
    manual->close();
}

TEST(Manual, ProcuraAvancaDaVoltaEDizQuandoNaoAcha) {
    TfrmManual manual(CaminhoManual(), nullptr);
    ASSERT_TRUE(manual.Procurar(QString::fromUtf8("Continuar de onde parou")));
    EXPECT_EQ(manual.txtManual->textCursor().selectedText(), QString::fromUtf8("Continuar de onde parou"));
    // Every place in turn from the top, then round to the first again.
    QTextCursor topo = manual.txtManual->textCursor();
    topo.movePosition(QTextCursor::Start);
    manual.txtManual->setTextCursor(topo);
    std::vector<int> lugares;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(manual.Procurar(QString::fromUtf8("Histórico")));
        const int pos = manual.txtManual->textCursor().selectionStart();
        if (!lugares.empty() && pos == lugares.front()) break;
        lugares.push_back(pos);
    }
    ASSERT_GE(lugares.size(), 2u);
    EXPECT_TRUE(std::is_sorted(lugares.begin(), lugares.end()));
    // Backwards from the first place goes round to the last.
    ASSERT_TRUE(manual.Procurar(QString::fromUtf8("Histórico"), true));
    EXPECT_EQ(manual.txtManual->textCursor().selectionStart(), lugares.back());
    EXPECT_TRUE(manual.lblProcura->text().isEmpty());

    const int antes = manual.txtManual->textCursor().selectionStart();
    EXPECT_FALSE(manual.Procurar("xilofone quântico"));
    EXPECT_EQ(manual.lblProcura->text(), QString::fromUtf8("\"xilofone quântico\" não está no manual"));
    EXPECT_EQ(manual.txtManual->textCursor().selectionStart(), antes);  // stays where it was
    EXPECT_FALSE(manual.Procurar("   "));
    // Enter in the field searches.
    manual.edtProcurar->setText("Visualizar");
    QTest::keyClick(manual.edtProcurar, Qt::Key_Return);
    EXPECT_EQ(manual.txtManual->textCursor().selectedText().toLower(), "visualizar");  // any case
}

// A modal window (the goods or queue window) would keep a manual of its own
// owner from taking a click: the manual becomes its child.
TEST(Manual, SobreUmaJanelaModalFicaUsavel) {
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};
    frm.show();
    QDialog modal(&frm);
    TfrmManual* aberto = nullptr;
    QuandoModal<QDialog>([&](QDialog* d) {
        aberto = AbrirManual(&frm);
        d->accept();
    });
    modal.exec();
    ASSERT_NE(aberto, nullptr);
    EXPECT_EQ(aberto->parentWidget(), &modal);
    aberto->close();
}

// The windows' own texts: their help, and every message they show or question they ask.
TEST(Manual, CobreAsJanelasESuasMensagens) {
    const std::string manual = TextoDoManual();
    const char* esperados[] = {
        // what the windows offer
        "Histórico", "Continuar de onde parou", "Visualizar", "Editor de etiqueta (modelo 09)",
        "Repetir última seleção", "Importar quantidade do estoque", "Teste Cod Barras / Texto", "Nome da loja",
        "Texto da loja", "LIMITE CONFIRMACAO", "Criar loja de demonstração",
        // what they say
        "Mercadoria não localizada", "Senha não confere", "Sair do sistema?",
        "Nenhum modelo de etiqueta configurado: nada foi impresso",
        "Transação não efetuada, será revertida, favor tentar novamente.", "Esta fila já foi impressa às",
        "Impressão cancelada:", "entregues à impressora antes da falha",
        "Nenhuma impressão desta estação para continuar", "A fila mudou desde a impressão das",
        "Nenhuma etiqueta a imprimir: informe as quantidades na fila.",
        "Diário de impressões desligado:", "Teste enviado para", "Teste não enviado para",
        "Loja de demonstração criada com", "Nenhum lote foi feito nesta estação ainda",
        "A seleção do último lote não pôde ser guardada", "Nada foi gravado",
        "Nada foi salvo: outra estação alterou o desenho.", "Valor recusado:", "Retorno da importação não localizado",
        "O manual não foi encontrado nesta instalação.", "Servidor sem resposta", "Impressora sem papel",
        "A impressora informou após o último trabalho:", "As folhas A4 não ficam no diário de impressões",
        "Caminho do banco de dados não informado."};
    for (const char* e : esperados) EXPECT_NE(manual.find(e), std::string::npos) << e;

    // And every text a window passes to a message box or a question, as written in the sources.
    const std::regex chamada(R"re((?:Mensagem|Confirma)\((?:std::string\()?"([^"]+)")re");
    int vistas = 0;
    for (const char* pasta : {"src/app", "src/goods/gui", "src/labels/gui", "src/labels/a4/gui", "src/previa/gui"}) {
        const fs::path p = fs::path(ETIQ_FONTE_PROJETO) / pasta;
        if (!fs::is_directory(p)) continue;
        for (const auto& arquivo : fs::directory_iterator(p)) {
            if (arquivo.path().extension() != ".cpp") continue;
            std::ifstream f(arquivo.path());
            std::stringstream s;
            s << f.rdbuf();
            const std::string fonte = s.str();
            for (std::sregex_iterator i(fonte.begin(), fonte.end(), chamada), fim; i != fim; ++i) {
                const std::string texto = QString::fromStdString((*i)[1]).simplified().toStdString();
                ++vistas;
                EXPECT_NE(manual.find(texto), std::string::npos) << texto << " (" << arquivo.path().filename() << ")";
            }
        }
    }
    EXPECT_GE(vistas, 6);
}

}  // namespace
