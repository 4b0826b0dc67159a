// The label queue window offscreen, over a real shop database, printing
// model 11 to a file port.
#include <gtest/gtest.h>

#include <locale.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "JanelaFilaTeste.h"
#include "app/AuxiliarTeste.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "data/Tabela.h"
#include "labels/TotalFila.h"
#include "labels/a4/RelatorioA4.h"
#include "labels/gui/GradeFila.h"
#include "labels/gui/HistoricoImpressoes.h"
#include "labels/gui/ModeloFila.h"
#include "labels/gui/MrgEtiquetas.h"
#include "labels/gui/ProgressoImpressao.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/Suporte.h"

namespace {

// Prints without the pause between jobs.
class JanelaFila : public JanelaFilaTeste {
protected:
    JanelaFila() : JanelaFilaTeste(0) {}
    TTabela& Tabela() { return janela->Impressao().tblEtiquetaRead; }
    TModeloFila& Modelo() { return janela->ModeloGrade(); }
    QModelIndex Indice(int linha, const char* campo) {
        return Modelo().index(linha, TModeloFila::ColunaDoCampo(campo));
    }
    QString Celula(int linha, const char* campo) { return Modelo().data(Indice(linha, campo)).toString(); }
    // One grid column, top to bottom, joined by ";".
    QString ColunaGrade(const char* campo) {
        QStringList r;
        for (int i = 0; i < Modelo().rowCount(); ++i) r << Celula(i, campo);
        return r.join(';');
    }
    // Types in a cell as the operator does, leaving the cell editor open.
    void Digitar(int linha, const char* campo, const QString& texto) {
        const QModelIndex i = Indice(linha, campo);
        janela->gridArg->setCurrentIndex(i);
        janela->gridArg->edit(i);
        auto* editor = qobject_cast<QLineEdit*>(janela->gridArg->indexWidget(i));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, texto);
    }
    void Enter(QLineEdit* edit, const QString& texto) {
        edit->setFocus();
        QTest::keyClicks(edit, texto);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Presses "Imprimir etiquetas"; `acao` runs once, as soon as the progress
    // window shows. Answers whether it ran.
    bool ImprimirEAoMostrarProgresso(const std::function<void(TfrmProgressoImpressao&)>& acao) {
        bool fez = false;
        QTimer relogio;
        relogio.setInterval(2);
        QObject::connect(&relogio, &QTimer::timeout, [&] {
            TfrmProgressoImpressao* p = janela->Progresso();
            if (!p || !p->isVisible() || fez) return;
            fez = true;
            acao(*p);
        });
        relogio.start();
        janela->btnEtiquetas->click();
        relogio.stop();
        return fez;
    }
};

TEST_F(JanelaFila, AbreNaOrdemDoNomeComAsColunasDaGrade) {
    Enfileirar(
        {"30, '789300', 'CAMISA', 'CAMISA', 0, 1234.5, 0", "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 2"});
    Abrir();
    EXPECT_EQ(janela->windowTitle(), "Etiqueta de produto");
    EXPECT_TRUE(janela->rdCodigoBar->isChecked());  // shown as chosen, the order is the name's
    EXPECT_EQ(ColunaGrade("NOME"), "CAFE PILAO;CAMISA");
    EXPECT_EQ(ColunaGrade("VLR_VEN"), "12,500;1.234,500");
    EXPECT_EQ(ColunaGrade("ESTOQUE"), "3,500;0");  // weighed with its three decimals, counted whole
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "2;0");
    QStringList titulos;
    for (int c = 0; c < Modelo().columnCount(); ++c)
        titulos << Modelo().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titulos.join('|'), " |Código de Barras|Nome do produto|Valor de venda|Estoque|Quantidade");
    EXPECT_EQ(janela->gridArg->columnWidth(2), 337);
    // editable: price and count only
    for (const char* campo : {"CODIGO", "BARRAS", "NOME", "VLR_VEN", "ESTOQUE", "QUANTIDADE"})
        EXPECT_EQ(bool(Modelo().flags(Indice(0, campo)) & Qt::ItemIsEditable),
                  std::string(campo) == "VLR_VEN" || std::string(campo) == "QUANTIDADE")
            << campo;
    // the count column green on every row; the others red on even record numbers
    const QColor verde(128, 255, 128), vermelho(255, 128, 128);
    EXPECT_EQ(Modelo().data(Indice(0, "QUANTIDADE"), Qt::BackgroundRole).value<QBrush>().color(), verde);
    EXPECT_EQ(Modelo().data(Indice(1, "QUANTIDADE"), Qt::BackgroundRole).value<QBrush>().color(), verde);
    EXPECT_FALSE(Modelo().data(Indice(0, "NOME"), Qt::BackgroundRole).isValid());
    EXPECT_EQ(Modelo().data(Indice(1, "NOME"), Qt::BackgroundRole).value<QBrush>().color(), vermelho);
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, ContagemDigitadaEImpressaLogoSaiComEssaContagem) {
    Enfileirar({"20, '789200', 'ARROZ', 'ARROZ', 0, 20, 0", "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 0"});
    Abrir();
    Digitar(1, "QUANTIDADE", "2");  // still in the cell editor when the button is pressed
    janela->btnEtiquetas->click();
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 2);
    const std::string impresso = LerTudo(saida);
    EXPECT_NE(impresso.find("CAFE PILAO"), std::string::npos);
    EXPECT_EQ(impresso.find("ARROZ"), std::string::npos);
    // the queue as after a normal print: every row back, the count kept, the component closed
    EXPECT_FALSE(Tabela().Filtrado());
    EXPECT_FALSE(janela->Impressao().CdbETQ.Ativo());
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "0;2");
}

TEST_F(JanelaFila, ContagemChegaALinhaCertaEntreLinhasIguais) {
    // the same barcode added twice: two rows with nothing to tell them apart
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 1",
                "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 1"});
    Abrir();
    Digitar(1, "QUANTIDADE", "5");
    janela->gridArg->setCurrentIndex(Indice(0, "QUANTIDADE"));  // leaving the row posts it
    Digitar(0, "VLR_VEN", "1.234,5");
    janela->rdNomeMer->click();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select list(quantidade || '/' || vlr_ven, ';') from etiquetaread"),
              "1.000/1234.500;5.000/12.500");
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, DigitarLogoAposClicarNaCelulaAtualNaoPerdeOQueFoiDigitado) {
    // The operator clicks the count of the row already current and types at
    // once, well within a double-click interval.
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 0", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 0"});
    Abrir();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    const QModelIndex celula = Indice(0, "QUANTIDADE");
    janela->gridArg->setFocus();
    janela->gridArg->setCurrentIndex(celula);
    ASSERT_TRUE(janela->gridArg->selectionModel()->isSelected(celula));
    QTest::mouseClick(janela->gridArg->viewport(), Qt::LeftButton, {}, janela->gridArg->visualRect(celula).center());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits on a queued call
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "2;0");
    EXPECT_EQ(TextoAParte("select quantidade from etiquetaread where codigo = 20"), "2.000");  // ARROZ, committed
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, TrocarAOrdemGuardaAsContagensDigitadas) {
    Enfileirar({"30, '111', 'CAMISA', 'CAMISA', 0, 1, 0", "10, '333', 'ARROZ', 'ARROZ', 0, 1, 0",
                "20, '222', 'BOLACHA', 'BOLACHA', 0, 1, 0"});
    Abrir();
    Digitar(1, "QUANTIDADE", "5");  // BOLACHA, not posted
    janela->rdCodigoBar->click();
    EXPECT_EQ(ColunaGrade("NOME"), "CAMISA;BOLACHA;ARROZ");
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "0;5;0");
    Digitar(2, "QUANTIDADE", "7");  // ARROZ
    janela->rdCodigoRed->click();
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;BOLACHA;CAMISA");
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "7;5;0");
    // a search edit taking the focus orders by its column as well
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    Digitar(0, "QUANTIDADE", "9");
    janela->edtDesc->setFocus();
    QTest::keyClicks(janela->edtDesc, "cam");
    EXPECT_EQ(janela->edtDesc->text(), "CAM");
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;BOLACHA;CAMISA");
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "9;5;0");
    EXPECT_EQ(janela->gridArg->currentIndex().row(), 2);
    EXPECT_EQ(Tabela().FieldByName("NOME").AsString(), "CAMISA");
    // the other search edits show the current row
    EXPECT_EQ(janela->edtBarras->text(), "111");
    EXPECT_EQ(janela->edtcodigo->text(), "30");
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, DescerAbaixoDaUltimaLinhaNaoCriaLinha) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 1", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 1"});
    Abrir();
    janela->gridArg->setCurrentIndex(Indice(1, "QUANTIDADE"));
    for (int i = 0; i < 3; ++i) QTest::keyClick(janela->gridArg, Qt::Key_Down);
    QTest::keyClick(janela->gridArg, Qt::Key_Insert);
    // a row begun through the window's table object is cancelled at once
    Tabela().Insert();
    EXPECT_EQ(Tabela().Estado(), TEstadoTabela::Navegacao);
    EXPECT_EQ(Modelo().rowCount(), 2);
    EXPECT_EQ(Tabela().RecordCount(), 2u);
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select count(*) from etiquetaread"), "2");
}

TEST_F(JanelaFila, ImpressaoTermicaPodeSerCancelada) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 6", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 6"});
    Abrir();
    janela->Impressao().PausaMs = 40;
    // The operator presses "Cancelar" as soon as the window shows.
    QString texto, tempo;
    int barra = -1, total = -1;
    const bool viu = ImprimirEAoMostrarProgresso([&](TfrmProgressoImpressao& p) {
        texto = p.lblEnviadas->text();
        barra = p.barra->value();
        total = p.barra->maximum();
        tempo = p.lblTempo->text();
        p.btnCancelar->click();
    });
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    ASSERT_TRUE(viu);
    EXPECT_EQ(texto, "Etiquetas enviadas: 3 de 12");
    EXPECT_EQ(barra, 3);
    EXPECT_EQ(total, 12);
    EXPECT_TRUE(tempo.startsWith("Tempo restante: ")) << tempo.toStdString();
    EXPECT_TRUE(janela->Impressao().Cancelado());
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 3);  // one row of three, then nothing more
    // Said in the line under the grid, not in a box to click away.
    EXPECT_TRUE(iu_.Mensagens().empty());
    EXPECT_EQ(janela->lblSituacao->text(), "Impressão cancelada: 3 de 12 etiquetas entregues à impressora.");
    EXPECT_EQ(janela->Progresso(), nullptr);
    EXPECT_FALSE(janela->Impressao().CdbETQ.Ativo());
    EXPECT_FALSE(Tabela().Filtrado());
    EXPECT_EQ(Modelo().rowCount(), 2);
    const size_t cancelada = LerTudo(saida).size();
    // the next print goes through whole
    janela->Impressao().PausaMs = 0;
    janela->btnEtiquetas->click();
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 12);
    EXPECT_FALSE(janela->Impressao().Cancelado());
    EXPECT_TRUE(iu_.Mensagens().empty());
    EXPECT_EQ(janela->lblSituacao->text().toStdString(), "12 etiquetas enviadas (modelo 11) para FILE:" + saida);
    EXPECT_GT(LerTudo(saida).size(), cancelada);
}

// A network printer that closed the connection mid-print and answers again:
// the next print in the same window opens a new connection instead of writing
// to the one the printer closed.
TEST_F(JanelaFila, ImpressoraDeRedeQueFechouRecebeAContinuacaoNumaNovaConexao) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 6", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 6"});
    Abrir();
    janela->Impressao().PausaMs = 0;
    janela->btnEtiquetas->click();  // the whole print to the file, to know its jobs
    const std::string inteira = LerTudo(saida);
    const size_t segundo = inteira.find("\x02L\r", 1), terceiro = inteira.find("\x02L\r", segundo + 1);
    ASSERT_NE(terceiro, std::string::npos);

    // Two jobs taken, then the connection closed; the second connection reads all.
    TImpressoraTeste impressora({.fecharApos = static_cast<long>(terceiro), .soAPrimeira = true, .fecharLogo = true});
    ASSERT_TRUE(impressora.Ok());
    GravarConfig("PATH REDE", impressora.Endereco());
    // The pause lets the printer's close arrive before the third job.
    janela->Impressao().PausaMs = 200;
    iu_.resposta = true;  // "print again?" (the file got the same queue)
    janela->btnEtiquetas->click();
    ASSERT_EQ(falhas.size(), 1u);
    // The two jobs its stack took: the last ones may have died in its buffer,
    // so they are doubted rather than counted.
    const int64_t entregues = janela->Impressao().EtiquetasEnviadas();
    EXPECT_GE(janela->Impressao().EtiquetasNaoConfirmadas(), 3);
    EXPECT_EQ(entregues + janela->Impressao().EtiquetasNaoConfirmadas(), 6);
    falhas.clear();

    janela->Impressao().PausaMs = 0;
    janela->btnContinuar->click();
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 12 - entregues);
    impressora.Parar();
    const auto conexoes = impressora.Conexoes();
    ASSERT_EQ(conexoes.size(), 2u);
    EXPECT_EQ(conexoes[0], inteira.substr(0, terceiro));
    // The rest, in order, from no later than where the first connection stopped: no label missing.
    ASSERT_LE(conexoes[1].size(), inteira.size());
    EXPECT_LE(inteira.size() - conexoes[1].size(), terceiro);
    EXPECT_EQ(conexoes[1], inteira.substr(inteira.size() - conexoes[1].size()));
}

// After a cancel, "Continuar de onde parou" sends exactly the labels that did
// not reach the printer; "Histórico" shows both runs; printing the same queue
// again is asked about, and not once a count changed.
TEST_F(JanelaFila, CanceladaContinuaDeOndeParouComHistoricoEPerguntaDeRepeticao) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 6", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 6"});
    Abrir();
    // nothing to continue yet
    janela->btnContinuar->click();
    ASSERT_EQ(iu_.Mensagens().size(), 1u);
    EXPECT_EQ(iu_.Mensagens().front(), "Nenhuma impressão desta estação para continuar");
    iu_.eventos.clear();

    janela->Impressao().PausaMs = 40;
    ASSERT_TRUE(ImprimirEAoMostrarProgresso([](TfrmProgressoImpressao& p) { p.btnCancelar->click(); }));
    ASSERT_EQ(janela->Impressao().EtiquetasEnviadas(), 3);
    const std::string inicio = LerTudo(saida);
    janela->Impressao().PausaMs = 0;
    janela->btnContinuar->click();
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    EXPECT_TRUE(iu_.eventos.empty()) << iu_.eventos.front();
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 9);
    EXPECT_EQ(janela->lblSituacao->text().toStdString(), "9 etiquetas enviadas (modelo 11) para FILE:" + saida);
    const std::string resto = LerTudo(saida);

    // The queue printed whole (by the continuation): asked, and the answer no prints nothing.
    janela->btnEtiquetas->click();
    ASSERT_EQ(iu_.eventos.size(), 1u);
    const std::string pergunta = iu_.eventos.front();
    EXPECT_TRUE(pergunta.starts_with("Confirma:Esta fila já foi impressa às ")) << pergunta;
    EXPECT_TRUE(pergunta.ends_with(" (12 etiquetas). Imprimir de novo?")) << pergunta;
    EXPECT_EQ(LerTudo(saida), resto);
    iu_.resposta = true;
    janela->btnEtiquetas->click();
    iu_.resposta = false;
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 12);
    // One row of three, then the other three rows: the two parts are the whole print.
    EXPECT_EQ(inicio + resto, LerTudo(saida));

    iu_.eventos.clear();
    Digitar(1, "QUANTIDADE", "5");
    janela->btnEtiquetas->click();
    EXPECT_TRUE(iu_.eventos.empty()) << iu_.eventos.front();
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 11);

    janela->btnHistorico->click();
    ASSERT_NE(janela->Historico(), nullptr);
    const QTreeWidget& arvore = *janela->Historico()->arvore;
    ASSERT_EQ(arvore.topLevelItemCount(), 4);
    auto coluna = [&](int run, int c) { return arvore.topLevelItem(run)->text(c).toStdString(); };
    // How a run ended and what it delivered come first.
    const int situacao = 0, entregues = 1, continua = 10;
    ASSERT_EQ(TitulosHistorico()[situacao], "Situação");
    ASSERT_EQ(TitulosHistorico()[entregues], "Entregues");
    ASSERT_EQ(TitulosHistorico()[continua], "Continua");
    EXPECT_EQ(coluna(0, entregues), "11 de 11");
    EXPECT_EQ(coluna(1, entregues), "12 de 12");
    EXPECT_EQ(coluna(2, entregues), "9 de 9");
    EXPECT_EQ(coluna(2, continua), "continua " + coluna(3, 2));
    EXPECT_EQ(coluna(3, entregues), "3 de 12");
    EXPECT_EQ(coluna(3, situacao), "CANCELADA");
    EXPECT_EQ(coluna(2, situacao), "INTEIRA");
    const QTreeWidgetItem* cancelada = arvore.topLevelItem(3);
    ASSERT_EQ(cancelada->childCount(), 2);
    // the rows in the queue's order (the name's), with what reached the printer
    EXPECT_EQ(cancelada->child(0)->text(5).toStdString(), "ARROZ");
    EXPECT_EQ(cancelada->child(0)->text(entregues).toStdString(), "3 de 6");
    EXPECT_EQ(cancelada->child(1)->text(entregues).toStdString(), "0 de 6");
    EXPECT_EQ(arvore.topLevelItem(2)->child(0)->text(entregues).toStdString(), "3 de 3");
    EXPECT_EQ(arvore.topLevelItem(2)->child(1)->text(entregues).toStdString(), "6 de 6");
    // Red runs get their legend; the first two columns are in sight without scrolling.
    const TfrmHistoricoImpressoes& historico = *janela->Historico();
    EXPECT_TRUE(historico.lblLegenda->isVisibleTo(&historico));
    EXPECT_NE(historico.lblLegenda->text().indexOf("CANCELADA"), -1);
    EXPECT_EQ(cancelada->foreground(situacao).color(), QColor(Qt::darkRed));
    EXPECT_NE(arvore.topLevelItem(2)->foreground(situacao).color(), QColor(Qt::darkRed));
    EXPECT_NE(cancelada->toolTip(situacao).indexOf("Cancelar"), -1);
    const int visivel = arvore.viewport()->width();
    EXPECT_LE(arvore.columnViewportPosition(entregues) + arvore.columnWidth(entregues), visivel);
    int ate = 0;  // the run's number, times and model are in sight too
    for (int c = 0; c <= 5; ++c) ate = arvore.columnViewportPosition(c) + arvore.columnWidth(c);
    EXPECT_LE(ate, visivel);
}

// A print that fails says so in the line under the grid, with the labels that
// went out, until the next print says how that one ended.
TEST_F(JanelaFila, FalhaDaImpressaoFicaNaLinhaDeSituacao) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 3"});
    GravarConfig("PATH REDE", "FILE:" + pasta_ + "/nao-existe/saida.prn");
    Abrir();
    janela->btnEtiquetas->click();
    ASSERT_EQ(falhas.size(), 1u);  // the failure still reaches the handler
    const QString situacao = janela->lblSituacao->text();
    EXPECT_TRUE(situacao.startsWith(QString::fromStdString(falhas.front()).left(20))) << situacao.toStdString();
    EXPECT_TRUE(situacao.endsWith("Nenhuma etiqueta enviada antes da falha.")) << situacao.toStdString();
    GravarConfig("PATH REDE", "FILE:" + saida);
    janela->btnEtiquetas->click();
    EXPECT_EQ(janela->lblSituacao->text().toStdString(), "3 etiquetas enviadas (modelo 11) para FILE:" + saida);
}

// With no model (or one that does not exist) both buttons say so in a box and
// write nothing: no file at the port, no preview.
TEST_F(JanelaFila, SemModeloNadaEImpressoNemVisualizado) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 3"});
    struct Caso {
        const char* modeloPrint;
        bool imprimir;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"", true, "Nenhum modelo de etiqueta configurado: nada foi impresso"},
        {"", false, "Nenhum modelo de etiqueta configurado: nada foi visualizado"},
        {"77 - nenhum", true, "Modelo 77 não existe: nada foi impresso"},
    };
    Abrir();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensagem);
        GravarConfig("MODELO PRINT", c.modeloPrint);
        iu_.eventos.clear();
        (c.imprimir ? janela->btnEtiquetas : janela->btnVisualizar)->click();
        EXPECT_EQ(iu_.Mensagens(), std::vector<std::string>{c.mensagem});
        EXPECT_FALSE(std::filesystem::exists(saida));
        EXPECT_EQ(janela->Previa(), nullptr);
        EXPECT_TRUE(falhas.empty());
    }
}

// "Visualizar" on a sheet model shows the sheet's preview, as printing does.
TEST_F(JanelaFila, VisualizarModeloA4MostraAPreviaDaFolha) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 2"});
    GravarConfig({{"MODELO PRINT", "26 - A4 30 por folha"}, {"PATH REDE", ""}});
    Abrir();
    int previas = 0;
    janela->Impressao().MostrarPrevia = [&](const TFormularioA4&, TFonteCelulas&) { ++previas; };
    janela->btnVisualizar->click();
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    EXPECT_EQ(previas, 1);
    EXPECT_EQ(janela->Previa(), nullptr);  // not the thermal labels' window
    EXPECT_EQ(janela->lblSituacao->text(), "Folhas A4 do modelo 26 mostradas");
}

TEST_F(JanelaFila, FecharDuranteAImpressaoSoCancela) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 6", "20, '789200', 'ARROZ', 'ARROZ', 0, 20, 6"});
    Abrir();
    janela->Impressao().PausaMs = 40;
    const bool fechou = ImprimirEAoMostrarProgresso([&](TfrmProgressoImpressao&) { janela->close(); });
    ASSERT_TRUE(fechou);
    EXPECT_TRUE(janela->Impressao().Cancelado());
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 3);
    EXPECT_TRUE(janela->isVisible());
    EXPECT_TRUE(Tabela().Active());
    EXPECT_EQ(Modelo().rowCount(), 2);
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, LegendaDoParametroGuardaOAux4DaLinhaDeBarrasDoModelo09) {
    const std::pair<const char*, const char*> casos[] = {{"'T'", "T"}, {"''", ""}, {"NULL", ""}};
    iu_.resposta = true;  // the same queue prints again and again: yes to the question
    for (auto [aux4, legenda] : casos) {
        SCOPED_TRACE(aux4);
        ExecutarAParte(
            {"delete from formatmrg", "insert into formatmrg (cod_mrg, ord_imp, tam_imp) values (113, 1, 0)",
             std::string("insert into formatmrg (cod_mrg, nom_campo, tam_imp, print_campo, aux_1, aux_2, aux_3, "
                         "aux_4) values (13, 'CODIGO DE BARRAS', 10, 'T', 0, 1, 1, ") +
                 aux4 + ")"});
        Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 1"});
        GravarConfig("MODELO PRINT", "09 - Modelo Pre Configurado dentro do Merkor ( PPLA )");
        Abrir();
        janela->btnEtiquetas->click();
        EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 1);
        EXPECT_EQ(janela->lblParametro->text(), QString::fromUtf8(legenda));
        // a model without a barcode row leaves the caption as it is
        GravarConfig("MODELO PRINT", "11 - PPLA 3 colunas");
        janela->btnEtiquetas->click();
        EXPECT_EQ(janela->lblParametro->text(), QString::fromUtf8(legenda));
        EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
        janela.reset();
        dtm.reset();
        ExecutarAParte({"delete from etiquetaread"});
    }
}

TEST_F(JanelaFila, AdicionarPeloCodigoDeBarrasEPelaReferencia) {
    Enfileirar({"20, '789200', 'ARROZ', 'ARROZ', 0, 20, 0"});
    Abrir();
    janela->ProcessarGrades = true;
    janela->Operacoes().ProcessarGrades = true;
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    Enter(janela->edtBarrasAdd, "555001");
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;CAMISA - AZUL 42");
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "0;1");
    EXPECT_EQ(janela->edtBarrasAdd->text(), "");
    EXPECT_TRUE(janela->edtBarrasAdd->hasFocus());
    Enter(janela->edtRefAdd, "REF-CAFE");
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;CAFE PILAO;CAMISA - AZUL 42");
    EXPECT_EQ(janela->gridArg->currentIndex().row(), 1);  // on the row just added
    Enter(janela->edtBarrasAdd, "NADA");
    Enter(janela->edtRefAdd, "REF-NADA");
    EXPECT_EQ(iu_.Mensagens(), (std::vector<std::string>{"Mercadoria não localizada", "Mercadoria não localizada"}));
    EXPECT_EQ(janela->edtRefAdd->text(), "");
    EXPECT_EQ(Modelo().rowCount(), 3);
    // Enter in the edits never printed
    EXPECT_FALSE(std::filesystem::exists(saida));
    EXPECT_TRUE(falhas.empty());
}

TEST_F(JanelaFila, ImportarQuantidadeDoEstoqueNaGrade) {
    Enfileirar({"10, '789100', 'CAFE', 'CAFE', 3.5, 1, 0", "20, '789200', 'ARROZ', 'ARROZ', -2, 1, 4",
                "30, '789300', 'CAMISA', 'CAMISA', 0, 1, 9", "10, '789100', 'CAFE', 'CAFE', 3.5, 1, 2"});
    Abrir();
    EXPECT_EQ(janela->lblTotal->text(), "4 linhas, 15 etiquetas");
    janela->btnImpQtdEst->click();
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;CAFE;CAFE;CAMISA");
    // The coffee scanned twice gets its stock once; the status line says so.
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "4;3,5;0;9");
    EXPECT_EQ(janela->lblSituacao->text(),
              "Quantidade do estoque importada em 1 linha(s). 1 linha(s) repetida(s) da mesma mercadoria ficaram "
              "com 0.");
    EXPECT_EQ(janela->lblTotal->text(), "4 linhas, 17 etiquetas");  // 3,5 prints 4
    EXPECT_TRUE(falhas.empty());
}

// The line under the grid follows every change: typed counts (also one typed
// again over the same row, and a 0), adds; an A4 model also counts its sheets.
TEST_F(JanelaFila, TotalSobAGradeSempreAtual) {
    Enfileirar({"20, '789200', 'ARROZ', 'ARROZ', 0, 20, 0", "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 2"});
    Abrir();
    EXPECT_EQ(janela->lblTotal->text(), "2 linhas, 2 etiquetas");
    Digitar(0, "QUANTIDADE", "1500");
    QTest::keyClick(janela->gridArg->indexWidget(Indice(0, "QUANTIDADE")), Qt::Key_Return);
    EXPECT_EQ(janela->lblTotal->text(), "2 linhas, 1.502 etiquetas");
    Digitar(0, "QUANTIDADE", "2,5");  // the same row again: 1500 out, 2 in
    janela->gridArg->ConfirmarEdicao();
    EXPECT_EQ(janela->lblTotal->text(), "2 linhas, 4 etiquetas");
    Digitar(1, "QUANTIDADE", "0");
    janela->gridArg->ConfirmarEdicao();
    EXPECT_EQ(janela->lblTotal->text(), "2 linhas, 2 etiquetas");
    Enter(janela->edtBarrasAdd, "789300");
    EXPECT_EQ(janela->lblTotal->text(), "3 linhas, 3 etiquetas");
    // what the line says is what the queue holds
    const TTotalFila contado = ContarFila(*dtm);
    EXPECT_EQ(contado.linhas, 3);
    EXPECT_EQ(contado.etiquetas, 3);
    GravarConfig("MODELO PRINT", "26 - A4 30 por folha");
    janela->edtBranco->setValue(28);
    janela->rdCodigoRed->click();  // any change of the queue reads the model again
    EXPECT_EQ(janela->lblTotal->text(), "3 linhas, 3 etiquetas, 2 folhas");
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
}

// Above LIMITE CONFIRMACAO "Imprimir etiquetas" asks first; no prints nothing.
TEST_F(JanelaFila, ImpressaoGrandePerguntaAntes) {
    Enfileirar({"20, '789200', 'ARROZ', 'ARROZ', 0, 20, 6", "10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 6"});
    GravarConfig("LIMITE CONFIRMACAO", "10");
    Abrir();
    iu_.resposta = false;
    janela->btnEtiquetas->click();
    ASSERT_EQ(iu_.eventos.size(), 1u);
    EXPECT_EQ(iu_.eventos.front(), "Confirma:Imprimir 12 etiquetas (modelo 11) em FILE:" + saida + "?");
    EXPECT_FALSE(std::filesystem::exists(saida));
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 0);
    iu_.eventos.clear();
    iu_.resposta = true;
    janela->btnEtiquetas->click();
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 12);
    // Within the limit, or with 0, nothing is asked.
    for (const char* limite : {"12", "0"}) {
        GravarConfig("LIMITE CONFIRMACAO", limite);
        GravarConfig("PATH REDE", "FILE:" + saida + "." + limite);
        iu_.eventos.clear();
        janela->btnEtiquetas->click();  // "printed already, again?" may come: the answer is yes
        for (const std::string& e : iu_.eventos) EXPECT_EQ(e.find("Imprimir 12"), std::string::npos) << limite;
        EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 12) << limite;
    }
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
}

// A scan lands on its row, scrolled into sight, among many; the same code
// scanned again is a second row, and that one is chosen.
TEST_F(JanelaFila, LeituraDoCodigoMostraESelecionaALinhaNova) {
    std::vector<std::string> linhas;
    for (int i = 0; i < 80; ++i)
        linhas.push_back(std::to_string(1000 + i) + ", 'B" + std::to_string(i) + "', 'BISCOITO " +
                         std::to_string(100 + i) + "', 'BISCOITO', 0, 1, 0");
    Enfileirar(linhas);
    Abrir();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    auto naTela = [&](int linha) {
        const QRect r = janela->gridArg->visualRect(Indice(linha, "NOME"));
        return r.isValid() && janela->gridArg->viewport()->rect().contains(r);
    };
    Enter(janela->edtBarrasAdd, "789300");  // CAMISA: after every BISCOITO
    EXPECT_EQ(janela->gridArg->currentIndex().row(), 80);
    EXPECT_EQ(Celula(80, "NOME"), "CAMISA");
    EXPECT_TRUE(naTela(80));
    EXPECT_EQ(Tabela().RecNo(), 81u);
    EXPECT_TRUE(janela->edtBarrasAdd->hasFocus());  // ready for the next scan
    janela->gridArg->scrollToTop();
    Enter(janela->edtBarrasAdd, "789300");
    EXPECT_EQ(Modelo().rowCount(), 82);
    const int atual = janela->gridArg->currentIndex().row();
    EXPECT_TRUE(atual == 80 || atual == 81) << atual;
    EXPECT_TRUE(naTela(atual));
    // the row chosen is the one just written, not the first of the code
    ASSERT_TRUE(Tabela().IrParaChave(janela->Operacoes().UltimaIncluida()));
    EXPECT_EQ(Tabela().RecNo(), static_cast<size_t>(atual) + 1);
    Enter(janela->edtBarrasAdd, "789100");  // CAFE PILAO: between BISCOITO and CAMISA
    EXPECT_EQ(Celula(janela->gridArg->currentIndex().row(), "NOME"), "CAFE PILAO");
    EXPECT_EQ(janela->gridArg->currentIndex().row(), 80);
    EXPECT_TRUE(naTela(80));
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
}

// A count and Enter: the next count typed goes to the next row, not over the
// one just typed, also when the keys come at once.
TEST_F(JanelaFila, EnterDepoisDaContagemVaiParaALinhaSeguinte) {
    Enfileirar({"10, '1', 'A', 'A', 0, 1, 0", "20, '2', 'B', 'B', 0, 1, 0", "30, '3', 'C', 'C', 0, 1, 0"});
    Abrir();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    janela->gridArg->setFocus();
    janela->gridArg->setCurrentIndex(Indice(0, "QUANTIDADE"));
    for (const char* tecla : {"5", "\n", "7", "\n", "9", "\n", "4", "\n"}) {
        if (tecla[0] == '\n')
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(tecla));
    }
    QCoreApplication::processEvents();
    // the last Enter has no row below: the fourth count replaced the third row's
    EXPECT_EQ(ColunaGrade("QUANTIDADE"), "5;7;4");
    EXPECT_EQ(janela->gridArg->currentIndex().row(), 2);
    EXPECT_EQ(TextoAParte("select list(quantidade, ';') from (select quantidade from etiquetaread order by nome)"),
              "5.000;7.000;4.000");
    EXPECT_EQ(janela->lblTotal->text(), "3 linhas, 16 etiquetas");
    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
}

TEST_F(JanelaFila, ExcluirLinhaSoDepoisDaConfirmacao) {
    Enfileirar({"10, '789100', 'CAFE', 'CAFE', 0, 1, 0", "20, '789200', 'ARROZ', 'ARROZ', 0, 1, 0"});
    Abrir();
    janela->gridArg->setCurrentIndex(Indice(1, "NOME"));
    auto nao = ResponderCaixa(QMessageBox::No);
    QTest::keyClick(janela->gridArg, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(nao->vista);
    EXPECT_EQ(nao->titulo, "Confirmação");
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ;CAFE");
    auto sim = ResponderCaixa(QMessageBox::Yes);
    QTest::keyClick(janela->gridArg, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(sim->vista);
    EXPECT_EQ(ColunaGrade("NOME"), "ARROZ");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select list(nome) from etiquetaread"), "ARROZ");
}

TEST_F(JanelaFila, GrupoDoModelo58LidoNaAtivacaoEGravadoAoFechar) {
    struct Caso {
        const char* modeloPrint;
        const char* guardado;
        bool visivel;
        int item;
    };
    const Caso casos[] = {
        {"58 - ZPL 4 ou 3 colunas", "7", true, 1},  // above 1: the last item
        {"58 - ZPL 4 ou 3 colunas", "", true, 0},
        {"58 - ZPL 4 ou 3 colunas", "1", true, 1},
        {"11 - PPLA 3 colunas", "1", false, 0},  // never shown: item 0 is stored
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.modeloPrint) + " / " + c.guardado);
        GravarConfig({{"MODELO PRINT", c.modeloPrint}, {"modModelo58", c.guardado}});
        Abrir();
        EXPECT_EQ(janela->modModelo58->isVisible(), c.visivel);
        EXPECT_EQ(janela->grupoModelo58->checkedId(), c.item);
        janela->btnSair->click();
        EXPECT_EQ(janela->result(), 1);
        EXPECT_FALSE(Tabela().Active());
        EXPECT_EQ(LerConfig("modModelo58"), std::to_string(c.item));
        janela.reset();
        dtm.reset();
    }
}

TEST_F(JanelaFila, ParcelasDoModelo47ShowModalELidasDeVolta) {
    dtm = std::make_unique<TdtmAplicativo>();
    janela = std::make_unique<TmrgEtiquetas>(*dtm);
    janela->MostrarParcelas = true;
    janela->Parcela1 = "3";
    janela->Parcela2 = "x";
    bool vistos = false, parametroEscondido = false;
    QTimer::singleShot(0, [&] {
        vistos = janela->EdtP1->isVisible() && janela->edtP2->isVisible() && janela->lblPetiq->isVisible() &&
                 janela->EdtP1->text() == "3" && janela->edtP2->text() == "0";
        parametroEscondido =
            !janela->edtParametro->isVisible() && !janela->lblParametro->isVisible() && !janela->edtBranco->isVisible();
        janela->EdtP1->setValue(4);
        janela->edtP2->setValue(6);
        janela->btnSair->click();
    });
    janela->ShowModal();
    EXPECT_TRUE(vistos);
    EXPECT_TRUE(parametroEscondido);
    EXPECT_EQ(janela->Parcela1, "4");
    EXPECT_EQ(janela->Parcela2, "6");
}

TEST_F(JanelaFila, ModoDiretoFechaDepoisDeImprimirComAsEntradasDaJanela) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 0, 12.5, 1"});
    dtm = std::make_unique<TdtmAplicativo>();
    janela = std::make_unique<TmrgEtiquetas>(*dtm);
    janela->Impressao().PausaMs = 0;
    janela->FecharAposImprimir = true;
    janela->MostrarBrancos = true;
    bool brancosVisiveis = false;
    QTimer::singleShot(0, [&] {
        brancosVisiveis = janela->lblbranco->isVisible() && janela->edtBranco->isVisible();
        janela->edtBranco->setValue(4);
        janela->edtParametro->setText("PROMOCAO");
        janela->btnEtiquetas->click();
    });
    QTimer::singleShot(3000, janela.get(), [&] { janela->btnSair->click(); });  // only if it hangs
    janela->ShowModal();
    EXPECT_TRUE(brancosVisiveis);
    EXPECT_EQ(janela->result(), 1);
    EXPECT_EQ(janela->Impressao().EtiquetasEnviadas(), 1);
    EXPECT_EQ(janela->Impressao().edtBranco, 4);
    EXPECT_EQ(janela->Impressao().edtParametro, "PROMOCAO");
    EXPECT_EQ(janela->Impressao().modModelo58, 0);
    EXPECT_FALSE(Tabela().Active());  // closed as every close does
    EXPECT_TRUE(falhas.empty());
}

TEST(NumerosDaGrade, PrecoComMilharEDigitadoComOuSemGrupos) {
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(FormataPreco(Decimal::DeTexto("1234.5")), "1.234,500");
    EXPECT_EQ(FormataPreco(Decimal::DeTexto("-1234567.125")), "-1.234.567,125");
    EXPECT_EQ(FormataPreco(Decimal::DeTexto("0")), "0,000");
    EXPECT_EQ(FormataPreco(Decimal::DeTexto("999.9999")), "1.000,000");
    struct Caso {
        const char* texto;
        bool valor;
        const char* lido;
    };
    const Caso casos[] = {{"12,5", true, "12.5"},
                          {"12.5", true, "12.5"},
                          {"1.234,500", true, "1234.5"},
                          {" 7 ", true, "7"},
                          {"", false, ""}};
    for (const auto& c : casos) {
        Decimal d;
        EXPECT_EQ(LerNumeroDigitado(c.texto, d), c.valor) << c.texto;
        if (c.valor) {
            EXPECT_EQ(d, Decimal::DeTexto(c.lido)) << c.texto;
        }
    }
    Decimal d;
    EXPECT_THROW(LerNumeroDigitado("doze", d), EConvertError);
    // where the machine has an English locale: its separators
    if (locale_t l = newlocale(LC_NUMERIC_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr))) {
        freelocale(l);
        setenv("LC_ALL", "en_US.UTF-8", 1);
        EXPECT_EQ(FormataPreco(Decimal::DeTexto("1234.5")), "1,234.500");
        Decimal e;
        ASSERT_TRUE(LerNumeroDigitado("1,234.5", e));
        EXPECT_EQ(e, Decimal::DeTexto("1234.5"));
    }
    unsetenv("LC_ALL");
}

// Stock the way the goods have it: whole counts without decimals, weighed
// goods with every decimal of their column, so they line up.
TEST(NumerosDaGrade, EstoqueInteiroSemCasasFracionadoComAsDaColuna) {
    setenv("LC_ALL", "C", 1);
    struct Caso {
        Decimal valor;
        const char* texto;
    };
    const Caso casos[] = {
        {Decimal::DeUnidades(277000, 3), "277"},     {Decimal::DeUnidades(77860, 3), "77,860"},
        {Decimal::DeUnidades(249793, 3), "249,793"}, {Decimal::DeUnidades(0, 3), "0"},
        {Decimal::DeUnidades(-2500, 3), "-2,500"},   {Decimal::DeUnidades(-3000, 3), "-3"},
        {Decimal::DeUnidades(5, 3), "0,005"},        {Decimal(12), "12"},
    };
    for (const auto& c : casos) EXPECT_EQ(FormataEstoque(c.valor), c.texto) << c.valor.ParaTexto();
    unsetenv("LC_ALL");
}

}  // namespace
