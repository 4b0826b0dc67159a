// The whole road offscreen, with the program put together as its entry puts
// it together: "Etiquetas" on the main window -> goods options -> "Imprimir"
// -> the queue window on the new batch -> goods added by barcode and
// reference with Enter -> counts typed -> "Imprimir etiquetas" -> labels at
// the file port.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "FilaBanco.h"
#include "app/AuxiliarTeste.h"
#include "app/ModulosDadosReais.h"
#include "app/Programa.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "labels/gui/GradeFila.h"
#include "labels/gui/ModeloFila.h"
#include "labels/gui/MrgEtiquetas.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace {

class CaminhoFila : public FilaBanco {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        FilaBanco::SetUp();
        saida = pasta_ + "/saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida}, {"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas"}});
        ExecutarAParte({"update mercadorias set pro_ativo = 'T'"});
        programa = std::make_unique<TPrograma>(std::vector<std::string>{});
        // Failures are told in a box by the program; here they are kept.
        anterior = DefinirTratadorFalhas([this](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    }
    void TearDown() override {
        DefinirTratadorFalhas(anterior);
        programa.reset();
        FilaBanco::TearDown();
        unsetenv("LC_ALL");
    }

    // The goods window with the goods whose names begin with CA, then its
    // "Imprimir": the queue window on the new batch runs `naFila`.
    void PelaJanelaDeMercadorias(std::function<void(TmrgEtiquetas*)> naFila) {
        QuandoModal<TMrgMercadoriasBD>([naFila](TMrgMercadoriasBD* m) {
            QuandoModal<TmrgEtiquetas>([naFila](TmrgEtiquetas* fila) {
                naFila(fila);
                fila->btnSair->click();
            });
            m->chkNome->click();
            QTest::keyClicks(m->edtNome, "ca");
            m->btnImprimir->click();
            m->btnSair->click();
        });
        programa->frmPrincipal.btnEtiquetas->click();
    }

    std::string saida;
    std::vector<std::string> falhas;
    TTratadorFalhas anterior;
    std::unique_ptr<TPrograma> programa;
};

// NOME=QUANTIDADE of every row of the grid, in its order.
QStringList LinhasDaGrade(TmrgEtiquetas* fila) {
    TModeloFila& modelo = fila->ModeloGrade();
    const int nome = TModeloFila::ColunaDoCampo("NOME"), qtd = TModeloFila::ColunaDoCampo("QUANTIDADE");
    QStringList linhas;
    for (int i = 0; i < modelo.rowCount(); ++i)
        linhas << modelo.data(modelo.index(i, nome)).toString() + "=" + modelo.data(modelo.index(i, qtd)).toString();
    return linhas;
}

TEST_F(CaminhoFila, DaJanelaPrincipalAteAsEtiquetasImpressas) {
    QStringList linhas;
    bool fechou = false;
    PelaJanelaDeMercadorias([&](TmrgEtiquetas* fila) {
        linhas = LinhasDaGrade(fila);
        // three labels of the first row, typed and printed at once
        TModeloFila& modelo = fila->ModeloGrade();
        const QModelIndex c = modelo.index(0, TModeloFila::ColunaDoCampo("QUANTIDADE"));
        fila->gridArg->setCurrentIndex(c);
        fila->gridArg->edit(c);
        if (auto* editor = qobject_cast<QLineEdit*>(fila->gridArg->indexWidget(c))) {
            editor->selectAll();
            QTest::keyClicks(editor, "3");
        }
        fila->btnEtiquetas->click();
        fechou = true;
    });

    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    ASSERT_TRUE(fechou);
    // the new batch: the goods whose names begin with CA, no label yet
    EXPECT_EQ(linhas.join(';'), "CAFE PILAO=0;CAMISA=0");
    const std::string impresso = LerTudo(saida);
    EXPECT_NE(impresso.find("CAFE PILAO"), std::string::npos);
    EXPECT_EQ(impresso.find("CAMISA"), std::string::npos);
    EXPECT_EQ(LerConfig("modModelo58"), "0");
}

// A barcode scanner ends every read with Enter (the main keyboard's or the
// keypad's): each read adds the goods, in the queue window the goods window
// opened. A count typed in the grid and ended with Return counts. The labels
// at the port are the bytes etiquetas-cli prints for the same queue.
TEST_F(CaminhoFila, LeitorDeBarrasEContagemComEnterAteAPorta) {
    struct Leitura {
        QLineEdit* TmrgEtiquetas::*edit;
        const char* texto;
        Qt::Key tecla;
        Qt::KeyboardModifiers modificador;
    };
    const Leitura leituras[] = {
        {&TmrgEtiquetas::edtBarrasAdd, "789200", Qt::Key_Return, Qt::NoModifier},     // ARROZ
        {&TmrgEtiquetas::edtBarrasAdd, "789400", Qt::Key_Enter, Qt::KeypadModifier},  // O'NEIL, PRETO
        {&TmrgEtiquetas::edtRefAdd, "REF-CAFE", Qt::Key_Return, Qt::NoModifier},      // CAFE PILAO again
        {&TmrgEtiquetas::edtRefAdd, "", Qt::Key_Enter, Qt::KeypadModifier},           // empty: nothing
    };
    QStringList depoisDasLeituras, depoisDaContagem;
    QString editsDepois;
    PelaJanelaDeMercadorias([&](TmrgEtiquetas* fila) {
        // The offscreen screen does not hand the activation over by itself.
        fila->windowHandle()->requestActivate();
        for (int i = 0; i < 200 && QApplication::activeWindow() != fila; ++i) QTest::qWait(10);
        ASSERT_EQ(QApplication::activeWindow(), fila);
        for (const Leitura& l : leituras) {
            QLineEdit* edit = fila->*l.edit;
            edit->setFocus();
            QTest::keyClicks(edit, l.texto);
            QTest::keyClick(edit, l.tecla, l.modificador);
            editsDepois += edit->text();
        }
        depoisDasLeituras = LinhasDaGrade(fila);
        // 2 labels of CAMISA: typed on its count cell, ended with Return
        TModeloFila& modelo = fila->ModeloGrade();
        const int linhaCamisa = static_cast<int>(depoisDasLeituras.indexOf("CAMISA=0"));
        ASSERT_GE(linhaCamisa, 0);
        fila->gridArg->setFocus();
        fila->gridArg->setCurrentIndex(modelo.index(linhaCamisa, TModeloFila::ColunaDoCampo("QUANTIDADE")));
        QTest::keyClick(fila->gridArg, Qt::Key_2);
        // The cell editor has the focus, as on a screen; its Return ends the edit
        // (the grid's delegate commits it on the next turn of the event loop).
        ASSERT_EQ(QApplication::focusWidget(), fila->gridArg->indexWidget(fila->gridArg->currentIndex()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        depoisDaContagem = LinhasDaGrade(fila);
        fila->btnEtiquetas->click();
    });

    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    EXPECT_EQ(editsDepois.toStdString(), "");
    // Rows in NOME order; the added ones start with one label (the pairs
    // insert turns the quote and the comma of the name into a blank and a point).
    EXPECT_EQ(depoisDasLeituras.join(";").toStdString(), "ARROZ=1;CAFE PILAO=0;CAFE PILAO=1;CAMISA=0;O NEIL. PRETO=1");
    EXPECT_EQ(depoisDaContagem.join(";").toStdString(), "ARROZ=1;CAFE PILAO=0;CAFE PILAO=1;CAMISA=2;O NEIL. PRETO=1");

    const std::string janela = LerTudo(saida);
    for (const char* nome : {"ARROZ", "CAFE PILAO", "CAMISA", "NEIL"})
        EXPECT_NE(janela.find(nome), std::string::npos) << nome;
    // etiquetas-cli on the queue as the window left it, to a file of its own.
    const std::string saidaCli = pasta_ + "/saida-cli.prn";
    GravarConfig("PATH REDE", "FILE:" + saidaCli);
    programa.reset();
    FecharOutro();
    const TProgramaCli cli = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
    const TResultadoCli r = cli.Rodar("imprimir --sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saidaCli), janela);
}

}  // namespace

namespace {

// Types `contagem` into the count of grid row `linha`; the next row or the
// print button posts it.
void DigitarContagem(TmrgEtiquetas* fila, int linha, const char* contagem) {
    TModeloFila& modelo = fila->ModeloGrade();
    const QModelIndex c = modelo.index(linha, TModeloFila::ColunaDoCampo("QUANTIDADE"));
    fila->gridArg->setCurrentIndex(c);
    fila->gridArg->edit(c);
    auto* editor = qobject_cast<QLineEdit*>(fila->gridArg->indexWidget(c));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, contagem);
}

// The main window's line as the background count left it ("" while hidden).
QString LinhaDesatualizadas(TfrmPrincipal& principal) {
    for (int i = 0; i < 1000 && principal.ContandoDesatualizadas(); ++i) QTest::qWait(10);
    EXPECT_FALSE(principal.ContandoDesatualizadas());
    return principal.btnDesatualizadas->isHidden() ? QString() : principal.btnDesatualizadas->text();
}

}  // namespace

// Labels printed, then a price and a name changed: the main window's line
// says how many labels are stale and opens the goods window with the box
// checked; its batch holds exactly those goods, each with the count its last
// label had, and printing them leaves no stale label and no line.
TEST_F(CaminhoFila, LinhaDeDesatualizadasAteAsEtiquetasCertas) {
    TfrmPrincipal& principal = programa->frmPrincipal;
    // Reprinting the same goods and counts the same day asks first; the
    // operator means it.
    auto* repeticao = new QTimer(qApp);
    repeticao->setInterval(20);
    QObject::connect(repeticao, &QTimer::timeout, [] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (caixa && caixa->text().startsWith("Esta fila já foi impressa")) caixa->button(QMessageBox::Yes)->click();
    });
    repeticao->start();
    PelaJanelaDeMercadorias([&](TmrgEtiquetas* fila) {
        ASSERT_EQ(LinhasDaGrade(fila).join(';'), "CAFE PILAO=0;CAMISA=0");
        DigitarContagem(fila, 0, "3");
        DigitarContagem(fila, 1, "2");
        fila->btnEtiquetas->click();
    });
    ASSERT_TRUE(falhas.empty()) << falhas.front();
    // Counted again after the print: nothing stale.
    EXPECT_EQ(LinhaDesatualizadas(principal), "");

    ExecutarAParte({
        "update mercadorias set vlr_ven = 13 where cod_red = 10",             // CAFE PILAO: 12,50 -> 13,00
        "update mercadorias set nom_mer = 'CAMISA POLO' where cod_red = 30",  // renamed
        "update mercadorias set vlr_ven = 21 where cod_red = 20",             // ARROZ: never labelled
        "update mercadorias set vlr_ven = 10.5 where cod_red = 40",           // O'NEIL: never labelled
    });
    // The program opens: the count runs beside the window.
    principal.FormActivate();
    EXPECT_EQ(LinhaDesatualizadas(principal), "2 mercadorias com etiqueta de preço desatualizado");

    QStringList linhas;
    QString dica;
    bool marcada = false, nuncaMarcada = true;
    std::filesystem::remove(saida);
    QuandoModal<TMrgMercadoriasBD>([&](TMrgMercadoriasBD* m) {
        marcada = m->chkDesatualizada->isChecked();
        nuncaMarcada = m->chkNuncaEtiquetada->isChecked();
        QuandoModal<TmrgEtiquetas>([&](TmrgEtiquetas* fila) {
            linhas = LinhasDaGrade(fila);
            TModeloFila& modelo = fila->ModeloGrade();
            dica = modelo.data(modelo.index(0, TModeloFila::ColunaDoCampo("VLR_VEN")), Qt::ToolTipRole).toString();
            fila->btnEtiquetas->click();
            fila->btnSair->click();
        });
        m->btnImprimir->click();
        m->btnSair->click();
    });
    principal.btnDesatualizadas->click();
    ASSERT_TRUE(falhas.empty()) << falhas.front();
    EXPECT_TRUE(marcada);
    EXPECT_FALSE(nuncaMarcada);
    EXPECT_EQ(linhas.join(';'), "CAFE PILAO=3;CAMISA POLO=2");
    EXPECT_TRUE(dica.startsWith("Etiqueta anterior: R$ 12,50 (")) << dica.toStdString();
    EXPECT_TRUE(dica.endsWith("; agora: R$ 13,00")) << dica.toStdString();
    const std::string impresso = LerTudo(saida);
    EXPECT_NE(impresso.find("CAFE PILAO"), std::string::npos);
    EXPECT_NE(impresso.find("CAMISA POLO"), std::string::npos);
    EXPECT_EQ(impresso.find("ARROZ"), std::string::npos);
    EXPECT_EQ(impresso.find("NEIL"), std::string::npos);
    EXPECT_EQ(LinhaDesatualizadas(principal), "");
    EXPECT_EQ(TextoAParte("select count(*) from etiqueta_atual"), "2");
    delete repeticao;
}
