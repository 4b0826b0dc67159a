// The goods window offscreen, on a real database: its controls, and the road
// "Etiquetas" -> options -> "Imprimir" -> the queue window on the new batch.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

#include <functional>
#include <memory>

#include "../data/modulos/BancoTeste.h"
#include "app/AuxiliarTeste.h"
#include "app/ModulosDadosReais.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "goods/UltimaSelecao.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "interface/JanelaEtiquetas.h"
#include "suporte/Suporte.h"

namespace {

// What the queue window saw when it was shown.
struct TVisita {
    bool PrimeiraAtivacao, ProcessarGrades, FecharAposImprimir, MostrarBrancos, MostrarParcelas;
    std::string Parcela1, Parcela2;
    std::string codigos;  // of the queue at that moment
    int porcento;
};

class JanelaMercadorias;

class TFilaFalsa final : public TJanelaEtiquetas {
public:
    TFilaFalsa(std::function<void(TFilaFalsa&)> aoMostrar) : aoMostrar_(std::move(aoMostrar)) {}
    void ShowModal() override { aoMostrar_(*this); }

private:
    std::function<void(TFilaFalsa&)> aoMostrar_;
};

class JanelaMercadorias : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        modulos = std::make_unique<TModulosDadosReais>();
        janela = std::make_unique<TMrgMercadoriasBD>(modulos->dtmAplicativo, modulos->DtmMercadorias,
                                                     modulos->dtmFornecedores);
        DefinirFabricaJanelaEtiquetasFila([this] {
            return std::make_unique<TFilaFalsa>([this](TFilaFalsa& f) {
                visitas.push_back({f.PrimeiraAtivacao, f.ProcessarGrades, f.FecharAposImprimir, f.MostrarBrancos,
                                   f.MostrarParcelas, f.Parcela1, f.Parcela2,
                                   Texto("select list(codigo) from (select codigo from etiquetaread order by codigo)"),
                                   janela->Porcento->value()});
                if (aoMostrarFila) aoMostrarFila(f);
            });
        });
        anterior = DefinirTratadorFalhas([this](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    }
    void TearDown() override {
        DefinirTratadorFalhas(anterior);
        DefinirFabricaJanelaEtiquetasFila(nullptr);
        janela.reset();
        modulos.reset();
        BancoTeste::TearDown();
    }
    void AbrirTabelas() {
        // What the main window opens before showing the goods window.
        modulos->Ajusta_BD();
        modulos->dtmFornecedoresOpen({"Fornecedores"});
        modulos->dtmMercadoriasOpen({"Aliquotas", "Departamentos"});
        modulos->dtmAplicativoOpen({"MERCADORIAS"});
        modulos->dtmMercadoriasOpen({"TributosIcm", "TributosPC"});
    }
    void Mercadorias() {
        Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (2, 'MERCEARIA', 'LOJA')");
        Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (1, 'BEBIDAS', 'DEPOSITO')");
        for (int i = 1; i <= 6; ++i)
            Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo, dep_mer) values (" +
                     std::to_string(i) + ", '78" + std::to_string(i) + "', 'MERC " + std::to_string(i) + "', 'T', " +
                     std::to_string(i % 2 + 1) + ")");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra) values (1, 'P')");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra) values (1, 'M')");
    }

    std::unique_ptr<TModulosDadosReais> modulos;
    std::unique_ptr<TMrgMercadoriasBD> janela;
    std::vector<TVisita> visitas;
    std::vector<std::string> falhas;
    std::function<void(TFilaFalsa&)> aoMostrarFila;
    TTratadorFalhas anterior;
};

template <class W>
W* Controle(QWidget* janela, const char* nome) {
    W* w = janela->findChild<W*>(QString::fromLatin1(nome));
    EXPECT_NE(w, nullptr) << nome;
    return w;
}

std::string NomeFoco() {
    QWidget* foco = QApplication::focusWidget();
    return foco ? foco->objectName().toStdString() : "(nenhum)";
}

}  // namespace

TEST_F(JanelaMercadorias, ComoDesenhada) {
    EXPECT_EQ(janela->windowTitle(), QString::fromUtf8("Relatório de produtos - Etiquetas"));
    EXPECT_EQ(janela->size(), QSize(803, 620));
    EXPECT_EQ(janela->grpOrdem->geometry(), QRect(8, 56, 272, 105));
    EXPECT_EQ(janela->grpSelecao->geometry(), QRect(286, 56, 492, 545));
    EXPECT_EQ(janela->memoLista->geometry(), QRect(16, 312, 257, 289));
    EXPECT_EQ(janela->btnSair->toolTip(), QStringLiteral("Fechar Janela"));
    EXPECT_EQ(janela->btnImprimir->toolTip(), QString::fromUtf8("Imprimir Relatório"));
    EXPECT_TRUE(janela->rdCodigoRed->isChecked());
    EXPECT_EQ(janela->Porcento->value(), 0);

    struct Caso {
        const char* nome;
        const char* texto;
        int x, y;
        bool visivel;
        bool marcada;
    };
    const Caso caixas[] = {
        {"chkCodRed", "Código reduzido", 8, 16, true, false},
        {"chkBarras", "Código de barras igual a", 139, 17, true, false},
        {"chkDiferente", "Diferente de", 288, 17, true, false},
        {"chkNumero", "Código de barras ( por intervalo )", 8, 56, true, false},
        {"chkListaCodBar", "Código de barras ( por listagem )", 8, 104, true, false},
        {"chkNome", "Nome do produto", 8, 130, true, false},
        {"chkDepartamento", "Departamento ( exato )", 8, 168, true, false},
        {"chkFornecedor", "Fornecedor", 8, 207, true, false},
        {"chkCodPers", "Código persolalizado ( por intervalo )", 8, 248, true, false},
        {"chkDepartComposta", "Departamento ( composto )", 288, 132, true, false},
        {"chksetor", "Setor", 288, 169, true, false},
        {"chkReferencia", "Referência", 288, 210, true, false},
        {"chkLocaliz", "Localização", 288, 249, true, false},
        {"chkDataEmi", "Data da alteracão de preços", 288, 56, true, false},
        {"chkEstoque", "Quantidade estoque > 0", 10, 288, true, false},
        {"chkEstoqueM0", "Quantidade estoque < 0", 10, 306, true, false},
        {"chkEstoque0", "Quantidade estoque = 0", 10, 324, true, false},
        {"chkEstoque2", "Quantidade estoque 2 > 0", 159, 288, false, false},
        {"chkEstoqueM02", "Quantidade estoque 2 < 0", 159, 306, false, false},
        {"chkEstoque02", "Quantidade estoque 2 = 0", 159, 324, false, false},
        {"chkMinimo", "Quantidade estoque <= quantidade mínima", 10, 341, true, false},
        {"chkEstMax", "Quantidade estoque >= quantidade máxima", 10, 359, true, false},
        {"chkCodGer", "Códigos gerados", 11, 380, true, false},
        {"chkProEstoque", "Produto de estoque", 11, 399, true, false},
        {"chkProAtivos", "Produtos", 288, 398, true, true},
        {"chkPiscofins", "Tributação de PIS e COFINS", 10, 453, true, false},
        {"chkICms", "Tributação de ICMS", 10, 494, true, false},
        {"chkNNota", "Numero da nota de compra", 288, 497, true, false},
        {"chkDataCompra", "Data de emissão da compra", 288, 456, true, false},
    };
    for (const auto& c : caixas) {
        auto* caixa = Controle<QCheckBox>(janela.get(), c.nome);
        if (!caixa) continue;
        EXPECT_EQ(caixa->text(), QString::fromUtf8(c.texto)) << c.nome;
        EXPECT_EQ(caixa->mapTo(janela->grpSelecao, QPoint(0, 0)), QPoint(c.x, c.y)) << c.nome;
        EXPECT_EQ(!caixa->isHidden(), c.visivel) << c.nome;
        EXPECT_EQ(caixa->isChecked(), c.marcada) << c.nome;
    }
    EXPECT_TRUE(janela->grpGrade->isHidden());
    EXPECT_EQ(janela->edtCod1->text(), "0");
    EXPECT_EQ(janela->edtNNota->text(), "0");
    for (QWidget* w : std::initializer_list<QWidget*>{janela->edtCod1, janela->edtcodbarras, janela->edtDepartamento,
                                                      janela->edtData1, janela->rMarcados, janela->edtNNota})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(janela->rbAtivos->isEnabled() && janela->rbAtivos->isChecked());
    EXPECT_FALSE(janela->rMarcados->isChecked() || janela->rDesmarcados->isChecked());
}

TEST_F(JanelaMercadorias, CliqueAlternaOsValoresEDaOFoco) {
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    struct Caso {
        QCheckBox* caixa;
        std::vector<QWidget*> controles;
        QWidget* foco;
    };
    const Caso casos[] = {
        {janela->chkCodRed, {janela->edtCod1, janela->edtCod2}, janela->edtCod1},
        {janela->chkCodPers, {janela->edtCodPers1, janela->edtCodPers2}, janela->edtCodPers1},
        {janela->chkDepartComposta, {janela->edtNomeDepart}, nullptr},
        {janela->chkDataEmi, {janela->edtData1, janela->edtData2}, janela->edtData1},
        {janela->chkProEstoque, {janela->rMarcados, janela->rDesmarcados}, janela->rMarcados},
        {janela->chkNNota, {janela->edtNNota}, nullptr},
        {janela->chkDataCompra, {janela->edtDtC1, janela->edtDtC2}, nullptr},
        {janela->chksetor, {janela->edtSetor}, janela->edtSetor},
    };
    for (const auto& c : casos) {
        janela->btnSair->setFocus();
        c.caixa->click();
        for (QWidget* w : c.controles) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), c.foco ? c.foco : janela->btnSair)
            << c.caixa->objectName().toStdString();
        c.caixa->click();
        for (QWidget* w : c.controles) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    // "Produtos" starts checked with its choices enabled: a click disables them.
    janela->chkProAtivos->click();
    EXPECT_FALSE(janela->rbAtivos->isEnabled());
    // The barcode list shows exactly while its box is checked.
    janela->chkListaCodBar->click();
    EXPECT_TRUE(janela->memoLista->isVisible() && janela->lbllista->isVisible());
    janela->chkListaCodBar->click();
    EXPECT_FALSE(janela->memoLista->isVisible() || janela->lbllista->isVisible());
    janela->hide();
}

TEST_F(JanelaMercadorias, OsControlesDaoAsOpcoes) {
    janela->rdNomeMer->setChecked(true);
    janela->chkCodRed->click();
    janela->edtCod1->setText("5");
    janela->edtCod2->setText("9");
    janela->chkNome->click();
    QTest::keyClicks(janela->edtNome, "cal'");
    janela->chkListaCodBar->click();
    janela->memoLista->setPlainText("789\n123");
    janela->chkDataCompra->click();
    janela->edtDtC1->setDate(QDate(2025, 3, 5));
    janela->chkProAtivos->click();
    janela->chkProEstoque->click();
    janela->rDesmarcados->setChecked(true);
    const TOpcoesMercadorias o = janela->Opcoes();
    EXPECT_EQ(o.Ordem, TOrdemListagem::NomeMer);
    EXPECT_TRUE(o.chkCodRed);
    EXPECT_EQ(o.edtCod1, "5");
    EXPECT_EQ(o.edtCod2, "9");
    EXPECT_EQ(o.edtNome, "CAL'");  // upper-case input
    EXPECT_EQ(o.memoLista, "789\n123");
    EXPECT_TRUE(o.chkDataCompra);
    EXPECT_EQ(o.edtDtC1, "05/03/2025");
    EXPECT_FALSE(o.chkProAtivos);
    EXPECT_TRUE(o.chkProEstoque && o.rDesmarcados && !o.rMarcados);
    EXPECT_FALSE(o.edtDepartamento.has_value());
}

// A date typed lands as typed, digit by digit, the mask's separators skipped,
// however the field was reached (Tab, click, or a part already chosen), and a
// day the field's month or year could not hold on the way is kept.
TEST_F(JanelaMercadorias, DataDigitadaFicaComoFoiDigitada) {
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    janela->chkDataEmi->click();
    struct Caso {
        const char* digitado;
        const char* data;
    };
    const Caso casos[] = {
        {"01/01/2025", "01/01/2025"}, {"01012025", "01/01/2025"},   {"1/1/2025", "01/01/2025"},
        {"31/12/2024", "31/12/2024"}, {"29/02/2024", "29/02/2024"}, {"29022024", "29/02/2024"},
        {"15-03-2023", "15/03/2023"}, {"05/11/1999", "05/11/1999"},
    };
    for (const Caso& c : casos) {
        for (int forma = 0; forma < 3; ++forma) {
            SCOPED_TRACE(std::string(c.digitado) + " forma " + std::to_string(forma));
            QDateEdit* d = forma == 2 ? janela->edtData2 : janela->edtData1;
            d->setDate(QDate(2026, 12, 11));
            if (forma == 0) {
                d->setFocus(Qt::TabFocusReason);
            } else {
                janela->chkDataEmi->setFocus();
                QTest::mouseClick(d, Qt::LeftButton, {}, QPoint(6, d->height() / 2));  // on the day
            }
            ASSERT_TRUE(d->hasFocus());
            QTest::keyClicks(d, QString::fromLatin1(c.digitado));
            QTest::keyClick(d, Qt::Key_Tab);
            const TOpcoesMercadorias o = janela->Opcoes();
            EXPECT_EQ(forma == 2 ? o.edtData2 : o.edtData1, c.data);
        }
    }
    EXPECT_TRUE(falhas.empty());
}

// The calendar and Qt's dates speak Brazilian Portuguese whatever the
// machine's locale (the tests run under C).
TEST_F(JanelaMercadorias, CalendarioEmPortuguesDoBrasil) {
    EXPECT_EQ(QLocale().name(), "pt_BR");
    QCalendarWidget* calendario = janela->edtData1->calendarWidget();
    ASSERT_NE(calendario, nullptr);
    EXPECT_EQ(calendario->locale().monthName(1), "janeiro");
    EXPECT_EQ(calendario->locale().dayName(1, QLocale::ShortFormat), "seg.");
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 2), "1.234,50");
}

TEST_F(JanelaMercadorias, EnterPassaAoProximoMenosNaListagem) {
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    janela->chkCodRed->click();
    ASSERT_EQ(QApplication::focusWidget(), janela->edtCod1);
    QTest::keyClick(janela->edtCod1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), janela->edtCod2);

    janela->chkListaCodBar->click();
    janela->memoLista->setFocus();
    QTest::keyClicks(janela->memoLista, "789");
    QTest::keyClick(janela->memoLista, Qt::Key_Return);
    QTest::keyClicks(janela->memoLista, "123");
    EXPECT_EQ(QApplication::focusWidget(), janela->memoLista);
    EXPECT_EQ(janela->memoLista->toPlainText(), "789\n123");

    janela->chkFornecedor->click();
    ASSERT_EQ(QApplication::focusWidget(), janela->edtFornecedor);
    QTest::keyClick(janela->edtFornecedor, Qt::Key_Enter);
    EXPECT_NE(QApplication::focusWidget(), janela->edtFornecedor);
    janela->hide();
}

// Enter in an open drop-down as the operator presses it: the key goes to the
// list's view. The department list keeps the focus (the key was the list's,
// and Qt hands it on to the window once the list has closed); the other lists
// choose and move on, as Tab would.
TEST_F(JanelaMercadorias, EnterComAListaAberta) {
    Mercadorias();
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (3, 'PADARIA', 'LOJA')");
    Executar("insert into fornecedores (codigo, nome) values (7, 'ZETA')");
    Executar("insert into fornecedores (codigo, nome) values (8, 'ALFA')");
    Executar("insert into tributos_icm (cod_trib, desc_trib) values (3, 'ISENTO')");
    Executar("insert into tributos_icm (cod_trib, desc_trib) values (5, 'TRIBUTADO')");
    Executar("insert into tributos_pc (cod_trib, desc_trib) values (4, 'MONOFASICO')");
    Executar("insert into tributos_pc (cod_trib, desc_trib) values (6, 'NORMAL')");
    AbrirTabelas();
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));

    struct Caso {
        QCheckBox* caixa;
        QComboBox* lista;
        Qt::Key tecla;
        QString escolhido;
        bool ficaNaLista;
    };
    const Caso casos[] = {
        {janela->chkDepartamento, janela->edtDepartamento, Qt::Key_Return, "MERCEARIA", true},
        {janela->chkDepartamento, janela->edtDepartamento, Qt::Key_Enter, "MERCEARIA", true},
        {janela->chkFornecedor, janela->edtFornecedor, Qt::Key_Return, "ZETA", false},
        {janela->chksetor, janela->edtSetor, Qt::Key_Return, "LOJA", false},
        {janela->chkICms, janela->edtICMS, Qt::Key_Enter, "TRIBUTADO", false},
        {janela->chkPiscofins, janela->edtPis, Qt::Key_Return, "NORMAL", false},
    };
    for (const auto& c : casos) {
        const std::string nome = c.lista->objectName().toStdString();
        SCOPED_TRACE(nome);
        if (!c.lista->isEnabled()) c.caixa->click();
        ASSERT_EQ(QApplication::focusWidget(), c.lista);
        c.lista->setCurrentIndex(0);
        c.lista->showPopup();
        QAbstractItemView* vista = c.lista->view();
        ASSERT_TRUE(vista->isVisible());
        // What a user presses lands on the focus widget, which is the open list.
        QWidget* alvo = QApplication::focusWidget();
        ASSERT_TRUE(alvo == vista || vista->isAncestorOf(alvo) || alvo->isAncestorOf(vista))
            << alvo->metaObject()->className();
        QTest::keyClick(alvo, Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), c.tecla);
        EXPECT_EQ(c.lista->currentText(), c.escolhido);
        EXPECT_EQ(c.lista->currentIndex(), 1);
        EXPECT_FALSE(vista->isVisible());
        if (c.ficaNaLista)
            EXPECT_EQ(NomeFoco(), nome);
        else
            EXPECT_NE(NomeFoco(), nome);
        c.lista->setFocus();
    }

    // With the department list closed, Enter moves on to the next control.
    janela->edtDepartamento->setFocus();
    ASSERT_EQ(NomeFoco(), "edtDepartamento");
    QTest::keyClick(janela->edtDepartamento, Qt::Key_Return);
    EXPECT_EQ(NomeFoco(), "chksetor");
    EXPECT_EQ(janela->edtDepartamento->currentText(), "MERCEARIA");

    // The key that closed the list is spent: the next Enter moves on again.
    janela->edtDepartamento->setFocus();
    janela->edtDepartamento->showPopup();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(NomeFoco(), "edtDepartamento");
    QTest::keyClick(janela->edtDepartamento, Qt::Key_Return);
    EXPECT_EQ(NomeFoco(), "chksetor");
    janela->hide();
}

TEST_F(JanelaMercadorias, ListasVemDasTabelasDosModulos) {
    Mercadorias();
    Executar("insert into fornecedores (codigo, nome) values (7, 'ZETA')");
    Executar("insert into fornecedores (codigo, nome) values (8, 'ALFA')");
    Executar("insert into tributos_icm (cod_trib, desc_trib) values (3, 'ISENTO')");
    Executar("insert into tributos_pc (cod_trib, desc_trib) values (4, 'MONOFASICO')");
    AbrirTabelas();
    janela->FormActivate();
    auto itens = [](QComboBox* c) {
        std::vector<std::pair<std::string, long long>> r;
        for (int i = 0; i < c->count(); ++i) r.emplace_back(c->itemText(i).toStdString(), c->itemData(i).toLongLong());
        return r;
    };
    using Itens = std::vector<std::pair<std::string, long long>>;
    EXPECT_EQ(itens(janela->edtDepartamento), (Itens{{"BEBIDAS", 1}, {"MERCEARIA", 2}}));
    EXPECT_EQ(itens(janela->edtFornecedor), (Itens{{"ALFA", 8}, {"ZETA", 7}}));
    EXPECT_EQ(itens(janela->edtICMS), (Itens{{"ISENTO", 3}}));
    EXPECT_EQ(itens(janela->edtPis), (Itens{{"MONOFASICO", 4}}));
    ASSERT_EQ(janela->edtSetor->count(), 2);
    EXPECT_EQ(janela->edtSetor->itemText(0), "DEPOSITO");
    EXPECT_EQ(janela->edtDepartamento->currentIndex(), -1);
    EXPECT_EQ(modulos->DtmMercadorias.tblAliquotasIB.Filtro(), "Aliquota>0 or cod_prog>=16");
    EXPECT_TRUE(modulos->DtmMercadorias.tblAliquotasIB.Filtrado());

    // A choice survives the next activation.
    janela->edtDepartamento->setCurrentIndex(1);
    janela->FormActivate();
    EXPECT_EQ(janela->Opcoes().edtDepartamento, std::optional<long long>(2));

    janela->ImportaBaseVitrinex = true;
    janela->FormActivate();
    EXPECT_TRUE(janela->chkFornecedor->isHidden() && janela->edtPis->isHidden() && janela->chksetor->isHidden());
    EXPECT_FALSE(janela->chkDepartamento->isHidden());
}

TEST_F(JanelaMercadorias, ImprimirAbreAFilaNoLoteNovo) {
    Mercadorias();
    Executar("insert into etiquetaread (codigo, nome) values (99, 'ANTES')");
    GravarConfig("MODELO PRINT", "26 - A4");
    AbrirTabelas();
    janela->ProcessarGrades = true;
    janela->ParamModelo = "012";
    janela->FormActivate();
    janela->chkDepartamento->click();
    janela->edtDepartamento->setCurrentIndex(janela->edtDepartamento->findText("MERCEARIA"));
    janela->btnImprimir->click();
    ASSERT_EQ(visitas.size(), 1u) << (falhas.empty() ? "" : falhas[0]);
    const TVisita& v = visitas[0];
    EXPECT_EQ(v.codigos, "1,1,3,5");  // department 2: goods 1 by its two variants, 3 and 5
    EXPECT_TRUE(v.PrimeiraAtivacao);
    EXPECT_TRUE(v.ProcessarGrades);
    EXPECT_TRUE(v.MostrarBrancos);  // the configured model 26, not the command line's 12
    EXPECT_FALSE(v.MostrarParcelas);
    EXPECT_FALSE(v.FecharAposImprimir);
    EXPECT_EQ(v.porcento, 3);  // the bar stood at the rows read
    EXPECT_EQ(janela->Porcento->value(), 0);
    EXPECT_EQ(janela->Selecao().tblMercadorias.SQL()[13], "AND (M.Dep_MER =2 )");
}

TEST_F(JanelaMercadorias, OpcaoRecusadaNaoAbreAFilaNemMexeNela) {
    Mercadorias();
    Executar("insert into etiquetaread (codigo, nome) values (99, 'ANTES')");
    AbrirTabelas();
    janela->FormActivate();
    janela->chkCodRed->click();
    janela->edtCod1->setText("1 or 1=1");
    janela->btnImprimir->click();
    ASSERT_EQ(falhas.size(), 1u);
    EXPECT_NE(falhas[0].find("Código reduzido (de)"), std::string::npos) << falhas[0];
    EXPECT_TRUE(visitas.empty());
    EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "99");
}

TEST_F(JanelaMercadorias, Modelo47GuardaAsParcelas) {
    GravarConfig({{"MODELO PRINT", "47 - Parcelas"}, {"Parcela1", "2"}});
    aoMostrarFila = [](TFilaFalsa& f) {
        f.Parcela1 = "5";
        f.Parcela2 = "10";
    };
    janela->chama_print_etiqueta();
    ASSERT_EQ(visitas.size(), 1u);
    EXPECT_TRUE(visitas[0].MostrarParcelas);
    EXPECT_EQ(visitas[0].Parcela1, "2");
    EXPECT_EQ(visitas[0].Parcela2, "0");
    EXPECT_EQ(LerConfig("Parcela1"), "5");
    EXPECT_EQ(LerConfig("Parcela2"), "10");
}

TEST_F(JanelaMercadorias, ModeloIlegivelNaoAbreAFila) {
    GravarConfig("MODELO PRINT", "9 - X");
    EXPECT_THROW(janela->chama_print_etiqueta(), EConvertError);
    EXPECT_TRUE(visitas.empty());
}

TEST_F(JanelaMercadorias, ModoDiretoSemModeloAbreAFilaUmaVezPorExibicao) {
    Executar("insert into etiquetaread (codigo, nome) values (7, 'DO MERKOR')");
    AbrirTabelas();
    janela->AcessoDireto = 1;
    QuandoModal<TMrgMercadoriasBD>([this](TMrgMercadoriasBD*) {
        janela->FormActivate();  // activated again after the queue window closed
        janela->FormActivate();
        janela->btnSair->click();
    });
    janela->ShowModal();
    ASSERT_EQ(visitas.size(), 1u);
    EXPECT_EQ(visitas[0].codigos, "7");  // what the caller queued, no batch built
    EXPECT_FALSE(visitas[0].FecharAposImprimir);

    QuandoModal<TMrgMercadoriasBD>([this](TMrgMercadoriasBD*) { janela->btnSair->click(); });
    janela->ShowModal();  // a new showing opens it again
    EXPECT_EQ(visitas.size(), 2u);
}

TEST_F(JanelaMercadorias, ModoDiretoComModeloFechaSozinho) {
    AbrirTabelas();
    janela->AcessoDireto = 1;
    janela->ParamModelo = "012";
    QTimer::singleShot(3000, janela.get(), [this] { janela->btnSair->click(); });  // only if it hangs
    janela->ShowModal();
    ASSERT_EQ(visitas.size(), 1u);
    EXPECT_TRUE(visitas[0].FecharAposImprimir);
    EXPECT_EQ(janela->result(), 1);
}

TEST_F(JanelaMercadorias, CaminhoInteiroDaJanelaPrincipalAteAFila) {
    Mercadorias();
    TfrmPrincipal principal({});
    principal.DefinirModulosDados(modulos.get());
    principal.DefinirJanelaMercadorias(janela.get());
    QuandoModal<TMrgMercadoriasBD>([this](TMrgMercadoriasBD*) {
        janela->chkNome->click();
        QTest::keyClicks(janela->edtNome, "merc 3");
        janela->btnImprimir->click();
        janela->btnSair->click();
    });
    principal.btnEtiquetas->click();
    ASSERT_EQ(visitas.size(), 1u) << (falhas.empty() ? "" : falhas[0]);
    EXPECT_EQ(visitas[0].codigos, "3");
    EXPECT_FALSE(janela->isVisible());
    EXPECT_FALSE(modulos->dtmAplicativo.dtbAplicativoMrg.Conectado());
    principal.DefinirJanelaMercadorias(nullptr);
}

TEST_F(JanelaMercadorias, SemFilaInstaladaMostraQuantasLinhasHa) {
    DefinirFabricaJanelaEtiquetasFila(nullptr);
    Executar("insert into etiquetaread (codigo, nome) values (1, 'A')");
    Executar("insert into etiquetaread (codigo, nome) values (2, 'B')");
    auto caixa = ResponderCaixa(QMessageBox::Ok);
    janela->chama_print_etiqueta();
    EXPECT_EQ(caixa->texto, QString::fromUtf8("A fila de etiquetas tem 2 linha(s)."));
}

// "Repetir última seleção": a batch keeps its criteria in configEtq.ini; a
// later showing starts from the start values and the button brings them back,
// lookups chosen by key and value controls usable.
TEST_F(JanelaMercadorias, RepetirUltimaSelecaoDoLoteDestaEstacao) {
    Mercadorias();
    AbrirTabelas();
    janela->FormActivate();
    // Nothing kept yet: said, and the window stays as it is.
    janela->btnRepetir->click();
    EXPECT_EQ(iu_.Mensagens(),
              std::vector<std::string>{"Nenhum lote foi feito nesta estação ainda: não há seleção para repetir."});

    janela->rdNomeMer->click();
    janela->chkDepartamento->click();
    janela->edtDepartamento->setCurrentIndex(janela->edtDepartamento->findText("MERCEARIA"));
    janela->chkListaCodBar->click();
    janela->memoLista->setPlainText(" 781 \n\n783");
    janela->chkDataEmi->click();
    janela->edtData1->setDate(QDate::currentDate().addDays(-6));
    janela->edtData2->setDate(QDate::currentDate());
    janela->chkProAtivos->click();  // off: active and inactive goods
    const TOpcoesMercadorias usadas = janela->Opcoes();
    janela->btnImprimir->click();
    ASSERT_EQ(visitas.size(), 1u) << (falhas.empty() ? "" : falhas[0]);

    // The next showing starts from the start values (a fresh window, as after a restart).
    auto nova =
        std::make_unique<TMrgMercadoriasBD>(modulos->dtmAplicativo, modulos->DtmMercadorias, modulos->dtmFornecedores);
    nova->FormActivate();
    EXPECT_FALSE(nova->chkDepartamento->isChecked());
    EXPECT_TRUE(nova->rdCodigoRed->isChecked());
    EXPECT_TRUE(nova->chkProAtivos->isChecked());
    nova->btnRepetir->click();
    EXPECT_EQ(nova->Opcoes().Ordem, TOrdemListagem::NomeMer);
    EXPECT_EQ(nova->edtDepartamento->currentText(), "MERCEARIA");
    EXPECT_TRUE(nova->edtDepartamento->isEnabled());
    EXPECT_TRUE(nova->memoLista->isVisible() || !nova->isVisible());
    EXPECT_EQ(nova->memoLista->toPlainText(), QString::fromUtf8(" 781 \n\n783"));
    EXPECT_TRUE(nova->edtData1->isEnabled());
    EXPECT_FALSE(nova->rbAtivos->isEnabled());
    // Same options as the batch had: the statement and the row checks cannot tell them apart.
    const TOpcoesMercadorias repetidas = nova->Opcoes();
    EXPECT_EQ(repetidas.chkDepartamento, usadas.chkDepartamento);
    EXPECT_EQ(repetidas.edtDepartamento, usadas.edtDepartamento);
    EXPECT_EQ(repetidas.chkListaCodBar, true);
    EXPECT_EQ(repetidas.memoLista, usadas.memoLista);
    EXPECT_EQ(repetidas.edtData1, usadas.edtData1);
    EXPECT_EQ(repetidas.edtData2, usadas.edtData2);
    EXPECT_EQ(repetidas.chkProAtivos, false);
    // Printing again gives the same batch.
    nova->btnImprimir->click();
    ASSERT_EQ(visitas.size(), 2u) << (falhas.empty() ? "" : falhas[0]);
    EXPECT_EQ(visitas[1].codigos, visitas[0].codigos);
}

// A configEtq.ini that cannot be written does not stop the batch; the button says why it has nothing newer.
TEST_F(JanelaMercadorias, SelecaoQueNaoPodeSerGuardadaNaoImpedeOLote) {
    Mercadorias();
    AbrirTabelas();
    janela->FormActivate();
    ::chmod(CaminhoConfigEtq().c_str(), 0444);
    janela->btnImprimir->click();
    ::chmod(CaminhoConfigEtq().c_str(), 0644);
    ASSERT_EQ(visitas.size(), 1u) << (falhas.empty() ? "" : falhas[0]);
    janela->btnRepetir->click();
    ASSERT_EQ(iu_.Mensagens().size(), 1u);
    EXPECT_EQ(iu_.Mensagens()[0].rfind("A seleção do último lote não pôde ser guardada: ", 0), 0u)
        << iu_.Mensagens()[0];
    EXPECT_NE(iu_.Mensagens()[0].find("somente leitura"), std::string::npos) << iu_.Mensagens()[0];
}
