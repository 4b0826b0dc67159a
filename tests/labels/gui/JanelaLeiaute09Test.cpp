// "Editor de etiqueta (modelo 09)" driven offscreen over a test shop: a
// design made from nothing prints, through etiquetas-cli, exactly the golden
// stream; a move of 2 mm changes only that field's place in the stream; the
// retail system's rows survive a save; another workstation's change is told.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <memory>

#include "FilaTeste.h"
#include "FormatoTeste.h"
#include "Ouro.h"
#include "labels/gui/JanelaLeiaute09.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"

namespace {

class JanelaLeiaute09 : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        GravarConfig("MODELO PRINT", "09 - Modelo Pre Configurado dentro do Merkor ( PPLA )");
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        Mercadoria(1, "7891234567895", "CAMISETA BASICA ALGODAO MANGA CURTA", "CB-01", "29.9");
        Mercadoria(2, "12345678", "MEIA", "M2", "5.5");
        Fila(1, "7891234567895", "A", "2", "29.9");
        Fila(2, "12345678", "B", "1", "5.5");
    }
    void TearDown() override {
        janela.reset();
        FilaTeste::TearDown();
    }
    void Abrir() {
        janela = std::make_unique<TfrmLeiaute09>(*dtm, previa::AmbienteConfigurado09());
        janela->PerguntarAoFechar = [this] {
            perguntas.push_back("fechar");
            return respostaAoFechar;
        };
        janela->Perguntar = [this](const std::string& p) {
            perguntas.push_back(p);
            return true;
        };
        janela->show();
        QApplication::processEvents();
    }
    // What the operator types into a cell (the delegate's commit does the same).
    void Celula(int linha, int coluna, const char* texto) {
        janela->tblCampos->item(linha, coluna)->setText(QString::fromUtf8(texto));
    }
    std::string TextoCelula(int linha, int coluna) {
        return janela->tblCampos->item(linha, coluna)->text().toStdString();
    }
    void Cabecalho(QLineEdit* edt, const char* texto) {
        edt->setText(texto);
        emit edt->editingFinished();
    }
    void Adicionar(const char* nome) {
        janela->cmbNovoCampo->setCurrentText(nome);
        QTest::mouseClick(janela->btnAdicionar, Qt::LeftButton);
    }
    // Clicks the picture on the element of `campo` in the first label.
    void ClicarNoElemento(int campo) {
        for (const auto& e : janela->Figura().elementos)
            if (e.campo == campo && e.etiqueta == 0) {
                QTest::mouseClick(janela->pnlFigura, Qt::LeftButton, {}, janela->pnlFigura->Ponto(e.caixa.center()));
                return;
            }
        ADD_FAILURE() << "campo " << campo << " não está na figura";
    }
    // etiquetas-cli, another process, opens the shop once this one let go of it.
    std::string ImprimirPeloCli() {
        FecharOutro();
        dtm->dtbAplicativo.Desconectar();
        std::remove(saida_.c_str());
        const TResultadoCli r = cli_.Rodar("imprimir --sem-pausa --modelo 9");
        EXPECT_EQ(r.codigo, 0) << r.erro;
        return Saida();
    }
    std::vector<std::string> Tabela(const std::string& condicao) { return LinhasFormatMrg(Outro(), condicao); }

    TProgramaCli cli_;
    std::unique_ptr<TfrmLeiaute09> janela;
    std::vector<std::string> perguntas;
    int respostaAoFechar = 2;
};

constexpr int kImprime = 0, kFonte = 2, kVertical = 3, kHorizontal = 4, kTamanho = 5, kVariante = 6;

TEST_F(JanelaLeiaute09, DesenhoDoZeroImprimeOOuroEMoverDoisMmMudaSoAHorizontalDasBarras) {
    Abrir();
    EXPECT_NE(janela->lblNota->text().toStdString().find("não tem desenho do modelo 09"), std::string::npos)
        << janela->lblNota->text().toStdString();
    EXPECT_EQ(janela->tblCampos->rowCount(), 0);

    Cabecalho(janela->edtPorLinha, "3");
    Cabecalho(janela->edtPasso, "36");
    Adicionar("NOME");  // 20 characters, font 2, at 2 mm, 1 mm
    Adicionar("VALOR DE VENDA");
    Celula(1, kTamanho, "10");
    Celula(1, kFonte, "4");
    Adicionar("CODIGO DE BARRAS");  // variant "A", bar height 10
    Celula(2, kHorizontal, "2");
    ASSERT_EQ(janela->tblCampos->rowCount(), 3);
    EXPECT_EQ(TextoCelula(1, kVertical), "6");
    EXPECT_EQ(TextoCelula(2, kVertical), "10");
    EXPECT_EQ(TextoCelula(2, kVariante), "A");
    EXPECT_EQ(TextoCelula(2, kTamanho), "10");
    EXPECT_NE(janela->lblVariante->text().toStdString().find("EAN-13 com os números"), std::string::npos);

    // A bad cell is refused where it was typed, with the reason.
    iu_.eventos.clear();
    Celula(0, kVertical, "3,5");
    EXPECT_EQ(TextoCelula(0, kVertical), "2");
    ASSERT_EQ(iu_.eventos.size(), 1u);
    EXPECT_EQ(iu_.eventos[0].rfind("Mensagem:Só números inteiros, sem vírgula nem ponto: \"3,5\"", 0), 0u)
        << iu_.eventos[0];
    Celula(0, kTamanho, "-4");
    EXPECT_EQ(TextoCelula(0, kTamanho), "20");
    EXPECT_EQ(janela->Editor().Atual().campos[0].tamanho, 20);

    // The picture shows the row of three labels with its barcodes, and nothing to warn of but the cut name.
    EXPECT_EQ(janela->Figura().etiquetas.size(), 3u);
    ASSERT_EQ(janela->lstAvisos->count(), 1);
    EXPECT_EQ(janela->lstAvisos->item(0)->text().toStdString().rfind("Campo 1 (NOME): o tamanho 20 corta", 0), 0u);

    // Over the goods of the queue instead of the samples: two T-shirts and a sock.
    EXPECT_EQ(janela->Figura().codigos, (std::vector<std::string>{"7891234567895", "78912345", "7891234567895"}));
    janela->cmbMercadorias->setCurrentIndex(1);
    EXPECT_EQ(janela->Figura().codigos, (std::vector<std::string>{"7891234567895", "7891234567895", "12345678"}));

    ASSERT_TRUE(janela->Editor().Alterado());
    QTest::mouseClick(janela->btnSalvar, Qt::LeftButton);
    EXPECT_FALSE(janela->Editor().Alterado()) << janela->lblNota->text().toStdString();
    const std::string antes = ImprimirPeloCli();
    EXPECT_TRUE(IgualAoOuroEm(std::string(kFonteTestes) + "/../ouro", "modelo09_editor.prn", antes));

    // Click the barcode in the picture, two presses of the right arrow.
    ClicarNoElemento(0);
    EXPECT_EQ(janela->Editor().Selecionado(), 0);
    ClicarNoElemento(2);
    EXPECT_EQ(janela->Editor().Selecionado(), 2);
    const QRect caixaAntes = janela->Figura().elementos[2].caixa;
    QTest::keyClick(janela->pnlFigura, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_NE(janela->lblNota->text().toStdString().find("milímetros inteiros"), std::string::npos);
    EXPECT_EQ(TextoCelula(2, kHorizontal), "2");
    QTest::keyClick(janela->pnlFigura, Qt::Key_Right);
    QTest::keyClick(janela->pnlFigura, Qt::Key_Right);
    EXPECT_EQ(TextoCelula(2, kHorizontal), "4");
    EXPECT_EQ(janela->Figura().elementos[2].caixa, caixaAntes.translated(previa::DotsDeDecimos(20), 0));
    QTest::mouseClick(janela->btnSalvar, Qt::LeftButton);
    const std::string depois = ImprimirPeloCli();

    // Only the barcode records differ, each by its horizontal position (20 tenths more).
    const auto a = Registros(antes), d = Registros(depois);
    ASSERT_EQ(a.size(), d.size());
    int diferentes = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == d[i]) continue;
        ++diferentes;
        // PPLA barcode record: "1", type, "22", height (3), vertical (4), horizontal (4), code.
        ASSERT_TRUE(a[i].size() > 15 && a[i][0] == '1' && a[i].substr(2, 5) == "22040") << Legivel(a[i]);
        std::string esperado = a[i];
        esperado.replace(11, 4, ZerosEsquerda(std::stoi(a[i].substr(11, 4)) + 20, 4));
        EXPECT_EQ(d[i], esperado) << Legivel(a[i]);
    }
    EXPECT_EQ(diferentes, 3);
}

TEST_F(JanelaLeiaute09, LinhasAlheiasSobrevivemEArrastarMoveEmMmInteiros) {
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_4, AUX_5) "
        "values (113, 'CAB', 'TITULO', 2, 40, 'S', 7, 'x', 'y')");
    Executar("insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_2) values (13, 'NOME', 5, 'F', 1)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, PRINT_CAMPO, AUX_5) "
        "values (7, 'CLIENTE', 'X', 3, 'T', 'z')");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, AUX_5) "
        "values (13, 'REFERENCIA', 4, 8, 'T', 2, 3, 2, 'do varejo')");
    const std::string alheias = "not (cod_mrg=13 and coalesce(Print_campo, '')='T') and cod_mrg<>113";
    const auto antes = Tabela(alheias);
    ASSERT_EQ(antes.size(), 2u);
    GravarConfig("MODELO", "PPLB");  // the vertical counts down the label, as the picture does
    Abrir();
    EXPECT_EQ(janela->lblNota->text().toStdString(), "");
    ASSERT_EQ(janela->tblCampos->rowCount(), 1);
    EXPECT_EQ(janela->edtPorLinha->text().toStdString(), "2");

    // Drag the reference 5 mm right and 2 mm down (plus a little less than half a millimetre).
    const auto& e = janela->Figura().elementos.at(0);
    const QPoint de = janela->pnlFigura->Ponto(e.caixa.center());
    const QPoint para =
        janela->pnlFigura->Ponto(e.caixa.center() + QPoint(previa::DotsDeDecimos(53), previa::DotsDeDecimos(23)));
    QTest::mousePress(janela->pnlFigura, Qt::LeftButton, {}, de);
    QMouseEvent mover(QEvent::MouseMove, QPointF(para), janela->pnlFigura->mapToGlobal(QPointF(para)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(janela->pnlFigura, &mover);
    QTest::mouseRelease(janela->pnlFigura, Qt::LeftButton, {}, para);
    EXPECT_EQ(TextoCelula(0, kHorizontal), "7");
    EXPECT_EQ(TextoCelula(0, kVertical), "5");
    Celula(0, kImprime, "TEXTO LIVRE 2");
    QTest::mouseClick(janela->btnSalvar, Qt::LeftButton);
    EXPECT_FALSE(janela->Editor().Alterado()) << janela->lblNota->text().toStdString();

    EXPECT_EQ(Tabela(alheias), antes);
    EXPECT_EQ(Tabela("cod_mrg=113"),
              std::vector<std::string>{"COD_MRG=113;NOM_CAMPO=CAB;TIT_CAMPO=TITULO;ORD_IMP=2;TAM_IMP=40;"
                                       "PRINT_CAMPO=S;AUX_1=7;AUX_2=<null>;AUX_3=<null>;AUX_4=x;AUX_5=y;"});
    EXPECT_EQ(Tabela("cod_mrg=13 and Print_campo='T'"),
              std::vector<std::string>{"COD_MRG=13;NOM_CAMPO=TEXTO LIVRE 2;TIT_CAMPO=TEXTO;ORD_IMP=4;TAM_IMP=8;"
                                       "PRINT_CAMPO=T;AUX_1=2;AUX_2=5;AUX_3=7;AUX_4=<null>;AUX_5=do varejo;"});
}

TEST_F(JanelaLeiaute09, OutraEstacaoMudouSalvarOfereceRecarregarEFecharPergunta) {
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 1, 40)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3) "
        "values (13, 'NOME', 10, 'T', 2, 2, 1)");
    Abrir();
    Celula(0, kHorizontal, "3");
    Executar("update FormatMrg set AUX_3=9 where cod_mrg=13");  // another workstation
    QTest::mouseClick(janela->btnSalvar, Qt::LeftButton);
    ASSERT_EQ(perguntas.size(), 1u);
    EXPECT_EQ(perguntas[0].rfind("Outra estação alterou o desenho do modelo 09", 0), 0u) << perguntas[0];
    EXPECT_EQ(TextoCelula(0, kHorizontal), "9");
    EXPECT_FALSE(janela->Editor().Alterado());

    // Closing with changes asks; "stay" keeps the window, "discard" closes and writes nothing.
    Celula(0, kHorizontal, "4");
    janela->close();
    EXPECT_TRUE(janela->isVisible());
    respostaAoFechar = 1;
    janela->close();
    EXPECT_FALSE(janela->isVisible());
    EXPECT_EQ(perguntas, (std::vector<std::string>{perguntas[0], "fechar", "fechar"}));
    EXPECT_EQ(Texto("select aux_3 from FormatMrg where cod_mrg=13"), "9");

    // "Descartar" reads the table again.
    Abrir();
    Celula(0, kHorizontal, "5");
    QTest::mouseClick(janela->btnDescartar, Qt::LeftButton);
    EXPECT_EQ(TextoCelula(0, kHorizontal), "9");
    EXPECT_FALSE(janela->Editor().Alterado());
}

}  // namespace
