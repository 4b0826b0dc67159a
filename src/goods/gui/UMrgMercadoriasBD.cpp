#include "goods/gui/UMrgMercadoriasBD.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "common/gui/Controles.h"
#include "common/gui/EditData.h"
#include "common/gui/FuncoesGui.h"
#include "data/UdtmMercadorias.h"
#include "data/fb/VigiaServidor.h"
#include "data/udtmAplicativo.h"
#include "data/udtmFornecedores.h"
#include "goods/ChamaFila.h"
#include "goods/UltimaSelecao.h"
#include "goods/gui/FilaProvisoria.h"

#include <utility>

namespace {

constexpr int kLargura = 803, kAltura = 620;
constexpr int kAbaixo = 18;  // value controls sit this far below their check box
const char* const kFormatoData = "dd/MM/yyyy";

QComboBox* Lista(int x, int y, int largura, QWidget* pai, const char* nome) {
    auto* c = new QComboBox(pai);
    c->setObjectName(nome);
    c->setGeometry(x, y, largura, kAlturaEdit);
    return c;
}

QDateEdit* Data(int x, int y, QWidget* pai, const char* nome) {
    auto* d = new TEditData(QDate::currentDate(), pai);
    d->setObjectName(nome);
    d->setDisplayFormat(QString::fromLatin1(kFormatoData));
    d->setGeometry(x, y, 90, kAlturaEdit);
    return d;
}

// Radio buttons of one choice share a borderless holder, so choices do not
// clear each other.
QWidget* Suporte(int x, int y, int l, int a, QWidget* pai, const char* nome) {
    auto* w = new QWidget(pai);
    w->setObjectName(nome);
    w->setGeometry(x, y, l, a);
    return w;
}

// Each click flips the enabled state of the controls; with `foco` the first
// one takes the focus when it has become enabled.
void Alternar(QCheckBox* caixa, std::vector<QWidget*> controles, bool foco) {
    QObject::connect(caixa, &QCheckBox::clicked, caixa, [controles = std::move(controles), foco] {
        for (QWidget* c : controles) c->setEnabled(!c->isEnabled());
        if (foco && controles.front()->isEnabled()) controles.front()->setFocus();
    });
}

void Maiusculas(QLineEdit* e, const bool* ligado) {
    QObject::connect(e, &QLineEdit::textEdited, e, [e, ligado](const QString& t) {
        if (ligado && !*ligado) return;
        const QString m = t.toUpper();
        if (m == t) return;
        const int cursor = e->cursorPosition();
        e->setText(m);
        e->setCursorPosition(cursor);
    });
}

std::optional<long long> Chave(const QComboBox* c) {
    if (c->currentIndex() < 0) return std::nullopt;
    bool ok = false;
    const long long v = c->currentData().toLongLong(&ok);
    return ok ? std::optional<long long>(v) : std::nullopt;
}

std::string TextoData(const QDateEdit* d) { return ParaStd(d->date().toString(QString::fromLatin1(kFormatoData))); }

// Fills a lookup list from a table of the data modules, keeping the chosen key.
void Preencher(QComboBox* c, TTabela& t, const char* chave, const char* mostra, bool chaveTexto = false) {
    const QVariant escolhida = c->currentIndex() >= 0 ? c->currentData() : QVariant();
    c->clear();
    if (!t.Active()) return;
    const int k = t.IndiceCampo(chave), m = t.IndiceCampo(mostra);
    if (k < 0 || m < 0) return;
    const size_t n = t.RecordCount();
    for (size_t i = 0; i < n; ++i) {
        const TValor& v = t.Valor(i, k);
        const QVariant dado = chaveTexto ? QVariant(QString::fromStdString(v.AsString()))
                                         : QVariant(static_cast<qlonglong>(v.AsInteger()));
        c->addItem(QString::fromStdString(t.Valor(i, m).AsString()), dado);
    }
    c->setCurrentIndex(escolhida.isValid() ? c->findData(escolhida) : -1);
}

}  // namespace

TMrgMercadoriasBD::TMrgMercadoriasBD(TdtmAplicativo& aplicativo, TDtmMercadorias& mercadorias,
                                     TdtmFornecedores& fornecedores, QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint),
      dtmAplicativo_(aplicativo),
      dtmMercadorias_(mercadorias),
      dtmFornecedores_(fornecedores),
      selecao_(aplicativo),
      qrySetor(aplicativo.dtbAplicativo, aplicativo.ibtAplicativo) {
    setObjectName("MrgMercadoriasBD");
    setWindowTitle(QString::fromUtf8("Relatório de produtos - Etiquetas"));
    QFont fonte(QStringLiteral("Arial"));
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(kLargura, kAltura);

    auto* barra = new QFrame(this);
    barra->setObjectName("pnlBarra");
    barra->setFrameShape(QFrame::StyledPanel);
    barra->setGeometry(0, 0, kLargura, 50);
    btnSair = new QToolButton(barra);
    btnSair->setObjectName("btnSair");
    btnSair->setAutoRaise(true);
    btnSair->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    btnSair->setIconSize(QSize(32, 32));
    btnSair->setToolTip(QStringLiteral("Fechar Janela"));
    btnSair->setGeometry(8, 5, 41, 40);
    btnImprimir = new QToolButton(barra);
    btnImprimir->setObjectName("btnImprimir");
    btnImprimir->setAutoRaise(true);
    btnImprimir->setIcon(
        QIcon::fromTheme(QStringLiteral("document-print"), style()->standardIcon(QStyle::SP_DialogApplyButton)));
    btnImprimir->setIconSize(QSize(32, 32));
    btnImprimir->setToolTip(QString::fromUtf8("Imprimir Relatório"));
    btnImprimir->setGeometry(56, 5, 41, 40);
    Porcento = new QProgressBar(barra);
    Porcento->setObjectName("Porcento");
    Porcento->setGeometry(112, 16, 300, 18);
    Porcento->setRange(0, 100);
    Porcento->setValue(0);
    btnRepetir = new QToolButton(barra);
    btnRepetir->setObjectName("btnRepetir");
    btnRepetir->setText(QString::fromUtf8("Repetir última seleção"));
    btnRepetir->setToolButtonStyle(Qt::ToolButtonTextOnly);
    btnRepetir->setToolTip(QString::fromUtf8(
        "Marca de novo os critérios do último lote desta estação (guardados no configEtq.ini); as datas que "
        "terminavam no dia do lote passam a terminar hoje"));
    btnRepetir->setGeometry(430, 12, 170, 26);

    CriarOrdem();
    CriarSelecao();

    connect(btnImprimir, &QToolButton::clicked, this, [this] { Protegido(this, [this] { btnImprimirClick(); }); });
    connect(btnSair, &QToolButton::clicked, this, [this] { btnSairClick(); });
    connect(btnRepetir, &QToolButton::clicked, this, [this] { Protegido(this, [this] { btnRepetirClick(); }); });

    for (const char* l : {"Select Distinct nom_setor ", "", "from departamentos", "", "order by nom_setor"})
        qrySetor.Add(l);

    // FormCreate
    AcessoDireto = 0;
    if (QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - QPoint(kLargura / 2, kAltura / 2));
}

TMrgMercadoriasBD::~TMrgMercadoriasBD() { qApp->removeEventFilter(this); }

void TMrgMercadoriasBD::CriarOrdem() {
    grpOrdem = new QGroupBox(QStringLiteral("Ordem de listagem"), this);
    grpOrdem->setObjectName("grpOrdem");
    grpOrdem->setGeometry(8, 56, 272, 105);
    rdCodigoRed = Radio("Código reduzido", 16, 24, grpOrdem, "rdCodigoRed");
    rdCodigoBar = Radio("Código de barras", 16, 48, grpOrdem, "rdCodigoBar");
    rdNomeMer = Radio("Nome do produto", 16, 72, grpOrdem, "rdNomeMer");
    rdCodigoRed->setChecked(true);
}

void TMrgMercadoriasBD::CriarSelecao() {
    QWidget* g = grpSelecao = new QGroupBox(QString::fromUtf8("Seleção"), this);
    grpSelecao->setObjectName("grpSelecao");
    grpSelecao->setGeometry(286, 56, 492, 545);

    chkCodRed = Marca("Código reduzido", 8, 16, g, "chkCodRed");
    edtCod1 = Desligado(Edit(8, 16 + kAbaixo, 60, g, "edtCod1", "0"));
    edtCod2 = Desligado(Edit(72, 16 + kAbaixo, 60, g, "edtCod2", "0"));
    chkBarras = Marca("Código de barras igual a", 139, 17, g, "chkBarras");
    edtcodbarras = Desligado(Edit(139, 17 + kAbaixo, 140, g, "edtcodbarras"));
    chkDiferente = Marca("Diferente de", 288, 17, g, "chkDiferente");
    edtDiferente = Desligado(Edit(288, 17 + kAbaixo, 140, g, "edtDiferente"));
    chkNumero = Marca("Código de barras ( por intervalo )", 8, 56, g, "chkNumero");
    edtCodBar = Desligado(Edit(8, 56 + kAbaixo, 120, g, "edtCodBar"));
    edtBar2 = Desligado(Edit(132, 56 + kAbaixo, 120, g, "edtBar2"));
    chkDataEmi = Marca("Data da alteracão de preços", 288, 56, g, "chkDataEmi");
    edtData1 = Desligado(Data(288, 56 + kAbaixo, g, "edtData1"));
    edtData2 = Desligado(Data(382, 56 + kAbaixo, g, "edtData2"));
    chkListaCodBar = Marca("Código de barras ( por listagem )", 8, 104, g, "chkListaCodBar");
    chkNome = Marca("Nome do produto", 8, 130, g, "chkNome");
    edtNome = Desligado(Edit(8, 130 + kAbaixo, 260, g, "edtNome"));
    Maiusculas(edtNome, &maiusculasNome_);
    chkDepartComposta = Marca("Departamento ( composto )", 288, 132, g, "chkDepartComposta");
    edtNomeDepart = Desligado(Edit(288, 132 + kAbaixo, 190, g, "edtNomeDepart"));
    Maiusculas(edtNomeDepart, nullptr);
    chkDepartamento = Marca("Departamento ( exato )", 8, 168, g, "chkDepartamento");
    edtDepartamento = Desligado(Lista(8, 168 + kAbaixo, 260, g, "edtDepartamento"));
    chksetor = Marca("Setor", 288, 169, g, "chksetor");
    edtSetor = Desligado(Lista(288, 169 + kAbaixo, 190, g, "edtSetor"));
    chkFornecedor = Marca("Fornecedor", 8, 207, g, "chkFornecedor");
    edtFornecedor = Desligado(Lista(8, 207 + kAbaixo, 260, g, "edtFornecedor"));
    chkReferencia = Marca("Referência", 288, 210, g, "chkReferencia");
    edtReferencia = Desligado(Edit(288, 210 + kAbaixo, 190, g, "edtReferencia"));
    chkCodPers = Marca("Código persolalizado ( por intervalo )", 8, 248, g, "chkCodPers");
    edtCodPers1 = Desligado(Edit(8, 248 + kAbaixo, 120, g, "edtCodPers1"));
    edtCodPers2 = Desligado(Edit(132, 248 + kAbaixo, 120, g, "edtCodPers2"));
    chkLocaliz = Marca("Localização", 288, 249, g, "chkLocaliz");
    edtLocaliz = Desligado(Edit(288, 249 + kAbaixo, 190, g, "edtLocaliz"));
    Maiusculas(edtLocaliz, nullptr);

    chkEstoque = Marca("Quantidade estoque > 0", 10, 288, g, "chkEstoque");
    chkEstoqueM0 = Marca("Quantidade estoque < 0", 10, 306, g, "chkEstoqueM0");
    chkEstoque0 = Marca("Quantidade estoque = 0", 10, 324, g, "chkEstoque0");
    chkEstoque2 = Marca("Quantidade estoque 2 > 0", 159, 288, g, "chkEstoque2");
    chkEstoqueM02 = Marca("Quantidade estoque 2 < 0", 159, 306, g, "chkEstoqueM02");
    chkEstoque02 = Marca("Quantidade estoque 2 = 0", 159, 324, g, "chkEstoque02");
    for (QCheckBox* c : {chkEstoque2, chkEstoqueM02, chkEstoque02}) c->hide();
    chkMinimo = Marca("Quantidade estoque <= quantidade mínima", 10, 341, g, "chkMinimo");
    chkEstMax = Marca("Quantidade estoque >= quantidade máxima", 10, 359, g, "chkEstMax");
    chkCodGer = Marca("Códigos gerados", 11, 380, g, "chkCodGer");
    chkDesatualizada = Marca("Somente com etiqueta desatualizada", 288, 290, g, "chkDesatualizada");
    chkNuncaEtiquetada = Marca("Somente nunca etiquetadas", 288, 310, g, "chkNuncaEtiquetada");

    chkProEstoque = Marca("Produto de estoque", 11, 399, g, "chkProEstoque");
    QWidget* proEstoque = Suporte(11, 399 + kAbaixo, 270, 20, g, "grpProEstoque");
    rMarcados = Radio("Produtos marcados", 16, 0, proEstoque, "rMarcados");
    rDesmarcados = Radio("Produtos desmarcados", 130, 0, proEstoque, "rDesmarcados");
    rMarcados->setEnabled(false);
    rDesmarcados->setEnabled(false);

    grpGrade = Suporte(288, 341, 190, 40, g, "grpGrade");
    chkGrade = Marca("Grade", 0, 0, grpGrade, "chkGrade");
    QWidget* grade = Suporte(0, kAbaixo, 190, 20, grpGrade, "grpGradeOpcoes");
    rdSim = Radio("Sim", 16, 0, grade, "rdSim");
    rdNao = Radio("Não", 80, 0, grade, "rdNao");
    rdSim->setChecked(true);
    rdSim->setEnabled(false);
    rdNao->setEnabled(false);
    grpGrade->hide();

    chkProAtivos = Marca("Produtos", 288, 398, g, "chkProAtivos");
    chkProAtivos->setChecked(true);
    QWidget* ativos = Suporte(288, 398 + kAbaixo, 190, 20, g, "grpProAtivos");
    rbAtivos = Radio("Ativos", 16, 0, ativos, "rbAtivos");
    rbInativos = Radio("Inativos", 96, 0, ativos, "rbInativos");
    rbAtivos->setChecked(true);

    chkPiscofins = Marca("Tributação de PIS e COFINS", 10, 453, g, "chkPiscofins");
    edtPis = Desligado(Lista(10, 453 + kAbaixo, 260, g, "edtPis"));
    chkDataCompra = Marca("Data de emissão da compra", 288, 456, g, "chkDataCompra");
    edtDtC1 = Desligado(Data(288, 456 + kAbaixo, g, "edtDtC1"));
    edtDtC2 = Desligado(Data(382, 456 + kAbaixo, g, "edtDtC2"));
    chkICms = Marca("Tributação de ICMS", 10, 494, g, "chkICms");
    edtICMS = Desligado(Lista(10, 494 + kAbaixo, 260, g, "edtICMS"));
    chkNNota = Marca("Numero da nota de compra", 288, 497, g, "chkNNota");
    edtNNota = Desligado(Edit(288, 497 + kAbaixo, 100, g, "edtNNota", "0"));

    lbllista = new QLabel(QStringLiteral("Listagem de código de barras"), this);
    lbllista->setObjectName("lbllista");
    lbllista->move(16, 296);
    lbllista->adjustSize();
    lbllista->hide();
    memoLista = new QPlainTextEdit(this);
    memoLista->setObjectName("memoLista");
    memoLista->setGeometry(16, 312, 257, 289);
    memoLista->hide();

    Alternar(chkCodRed, {edtCod1, edtCod2}, true);
    Alternar(chkBarras, {edtcodbarras}, true);
    Alternar(chkDiferente, {edtDiferente}, true);
    Alternar(chkNumero, {edtCodBar, edtBar2}, true);
    connect(chkListaCodBar, &QCheckBox::toggled, this, [this](bool marcado) {
        memoLista->setVisible(marcado);
        lbllista->setVisible(marcado);
    });
    Alternar(chkNome, {edtNome}, true);
    Alternar(chkDepartamento, {edtDepartamento}, true);
    Alternar(chkFornecedor, {edtFornecedor}, true);
    connect(chkCodPers, &QCheckBox::clicked, this, [this] {
        edtCodPers1->setEnabled(!edtCodPers1->isEnabled());
        edtCodPers2->setEnabled(edtCodPers1->isEnabled());
        if (edtCodPers1->isEnabled()) edtCodPers1->setFocus();
    });
    Alternar(chkDepartComposta, {edtNomeDepart}, false);
    Alternar(chksetor, {edtSetor}, true);
    Alternar(chkReferencia, {edtReferencia}, true);
    Alternar(chkLocaliz, {edtLocaliz}, true);
    Alternar(chkDataEmi, {edtData1, edtData2}, true);
    Alternar(chkProEstoque, {rMarcados, rDesmarcados}, true);
    Alternar(chkProAtivos, {rbAtivos, rbInativos}, true);
    Alternar(chkGrade, {rdSim, rdNao}, true);
    Alternar(chkPiscofins, {edtPis}, true);
    Alternar(chkICms, {edtICMS}, true);
    Alternar(chkNNota, {edtNNota}, false);
    Alternar(chkDataCompra, {edtDtC1, edtDtC2}, false);
}

TOpcoesMercadorias TMrgMercadoriasBD::Opcoes() const {
    TOpcoesMercadorias o;
    o.Ordem = rdCodigoBar->isChecked() ? TOrdemListagem::CodigoBar
              : rdNomeMer->isChecked() ? TOrdemListagem::NomeMer
                                       : TOrdemListagem::CodigoRed;
    o.chkCodRed = chkCodRed->isChecked();
    o.edtCod1 = ParaStd(edtCod1->text());
    o.edtCod2 = ParaStd(edtCod2->text());
    o.chkBarras = chkBarras->isChecked();
    o.edtcodbarras = ParaStd(edtcodbarras->text());
    o.chkDiferente = chkDiferente->isChecked();
    o.edtDiferente = ParaStd(edtDiferente->text());
    o.chkNumero = chkNumero->isChecked();
    o.edtCodBar = ParaStd(edtCodBar->text());
    o.edtBar2 = ParaStd(edtBar2->text());
    o.chkListaCodBar = chkListaCodBar->isChecked();
    o.memoLista = ParaStd(memoLista->toPlainText());
    o.chkNome = chkNome->isChecked();
    o.edtNome = ParaStd(edtNome->text());
    o.chkDepartamento = chkDepartamento->isChecked();
    o.edtDepartamento = Chave(edtDepartamento);
    o.chkFornecedor = chkFornecedor->isChecked();
    o.edtFornecedor = Chave(edtFornecedor);
    o.chkCodPers = chkCodPers->isChecked();
    o.edtCodPers1 = ParaStd(edtCodPers1->text());
    o.edtCodPers2 = ParaStd(edtCodPers2->text());
    o.chkDepartComposta = chkDepartComposta->isChecked();
    o.edtNomeDepart = ParaStd(edtNomeDepart->text());
    o.chksetor = chksetor->isChecked();
    if (edtSetor->currentIndex() >= 0) o.edtSetor = ParaStd(edtSetor->currentData().toString());
    o.chkReferencia = chkReferencia->isChecked();
    o.edtReferencia = ParaStd(edtReferencia->text());
    o.chkLocaliz = chkLocaliz->isChecked();
    o.edtLocaliz = ParaStd(edtLocaliz->text());
    o.chkDataEmi = chkDataEmi->isChecked();
    o.edtData1 = TextoData(edtData1);
    o.edtData2 = TextoData(edtData2);
    o.chkEstoque = chkEstoque->isChecked();
    o.chkEstoqueM0 = chkEstoqueM0->isChecked();
    o.chkEstoque0 = chkEstoque0->isChecked();
    o.chkEstoque2 = chkEstoque2->isChecked();
    o.chkEstoqueM02 = chkEstoqueM02->isChecked();
    o.chkEstoque02 = chkEstoque02->isChecked();
    o.chkMinimo = chkMinimo->isChecked();
    o.chkEstMax = chkEstMax->isChecked();
    o.chkCodGer = chkCodGer->isChecked();
    o.chkProEstoque = chkProEstoque->isChecked();
    o.rMarcados = rMarcados->isChecked();
    o.rDesmarcados = rDesmarcados->isChecked();
    o.chkProAtivos = chkProAtivos->isChecked();
    o.rbAtivos = rbAtivos->isChecked();
    o.chkGrade = chkGrade->isChecked();
    o.rdSim = rdSim->isChecked();
    o.chkPiscofins = chkPiscofins->isChecked();
    o.edtPis = Chave(edtPis);
    o.chkICms = chkICms->isChecked();
    o.edtICMS = Chave(edtICMS);
    o.chkNNota = chkNNota->isChecked();
    o.edtNNota = ParaStd(edtNNota->text());
    o.chkDataCompra = chkDataCompra->isChecked();
    o.edtDtC1 = TextoData(edtDtC1);
    o.edtDtC2 = TextoData(edtDtC2);
    o.chkDesatualizada = chkDesatualizada->isChecked();
    o.chkNuncaEtiquetada = chkNuncaEtiquetada->isChecked();
    return o;
}

void TMrgMercadoriasBD::MostrarOpcoes(const TOpcoesMercadorias& o) {
    rdCodigoRed->setChecked(o.Ordem == TOrdemListagem::CodigoRed);
    rdCodigoBar->setChecked(o.Ordem == TOrdemListagem::CodigoBar);
    rdNomeMer->setChecked(o.Ordem == TOrdemListagem::NomeMer);
    // A value control is usable exactly while its check box is checked.
    auto marcar = [](QCheckBox* caixa, bool marcado, std::initializer_list<QWidget*> controles) {
        caixa->setChecked(marcado);
        for (QWidget* c : controles) c->setEnabled(marcado);
    };
    auto texto = [](QLineEdit* e, const std::string& t) { e->setText(ParaQString(t)); };
    auto chave = [](QComboBox* c, const std::optional<long long>& k) {
        c->setCurrentIndex(k ? c->findData(QVariant(static_cast<qlonglong>(*k))) : -1);
    };
    auto data = [](QDateEdit* d, const std::string& t) {
        const QDate q = QDate::fromString(ParaQString(t), QString::fromLatin1(kFormatoData));
        if (q.isValid()) d->setDate(q);
    };
    auto escolha = [](QRadioButton* sim, QRadioButton* nao, bool s, bool n) {
        for (QRadioButton* r : {sim, nao}) r->setAutoExclusive(false);
        sim->setChecked(s);
        nao->setChecked(n);
        for (QRadioButton* r : {sim, nao}) r->setAutoExclusive(true);
    };
    marcar(chkCodRed, o.chkCodRed, {edtCod1, edtCod2});
    texto(edtCod1, o.edtCod1);
    texto(edtCod2, o.edtCod2);
    marcar(chkBarras, o.chkBarras, {edtcodbarras});
    texto(edtcodbarras, o.edtcodbarras);
    marcar(chkDiferente, o.chkDiferente, {edtDiferente});
    texto(edtDiferente, o.edtDiferente);
    marcar(chkNumero, o.chkNumero, {edtCodBar, edtBar2});
    texto(edtCodBar, o.edtCodBar);
    texto(edtBar2, o.edtBar2);
    chkListaCodBar->setChecked(o.chkListaCodBar);
    memoLista->setPlainText(ParaQString(o.memoLista));
    marcar(chkNome, o.chkNome, {edtNome});
    texto(edtNome, o.edtNome);
    marcar(chkDepartamento, o.chkDepartamento, {edtDepartamento});
    chave(edtDepartamento, o.edtDepartamento);
    marcar(chkFornecedor, o.chkFornecedor, {edtFornecedor});
    chave(edtFornecedor, o.edtFornecedor);
    marcar(chkCodPers, o.chkCodPers, {edtCodPers1, edtCodPers2});
    texto(edtCodPers1, o.edtCodPers1);
    texto(edtCodPers2, o.edtCodPers2);
    marcar(chkDepartComposta, o.chkDepartComposta, {edtNomeDepart});
    texto(edtNomeDepart, o.edtNomeDepart);
    marcar(chksetor, o.chksetor, {edtSetor});
    edtSetor->setCurrentIndex(o.edtSetor ? edtSetor->findData(ParaQString(*o.edtSetor)) : -1);
    marcar(chkReferencia, o.chkReferencia, {edtReferencia});
    texto(edtReferencia, o.edtReferencia);
    marcar(chkLocaliz, o.chkLocaliz, {edtLocaliz});
    texto(edtLocaliz, o.edtLocaliz);
    marcar(chkDataEmi, o.chkDataEmi, {edtData1, edtData2});
    data(edtData1, o.edtData1);
    data(edtData2, o.edtData2);
    chkEstoque->setChecked(o.chkEstoque);
    chkEstoqueM0->setChecked(o.chkEstoqueM0);
    chkEstoque0->setChecked(o.chkEstoque0);
    chkEstoque2->setChecked(o.chkEstoque2);
    chkEstoqueM02->setChecked(o.chkEstoqueM02);
    chkEstoque02->setChecked(o.chkEstoque02);
    chkMinimo->setChecked(o.chkMinimo);
    chkEstMax->setChecked(o.chkEstMax);
    chkCodGer->setChecked(o.chkCodGer);
    marcar(chkProEstoque, o.chkProEstoque, {rMarcados, rDesmarcados});
    escolha(rMarcados, rDesmarcados, o.rMarcados, o.rDesmarcados);
    marcar(chkProAtivos, o.chkProAtivos, {rbAtivos, rbInativos});
    escolha(rbAtivos, rbInativos, o.rbAtivos, !o.rbAtivos);
    marcar(chkGrade, o.chkGrade, {rdSim, rdNao});
    escolha(rdSim, rdNao, o.rdSim, !o.rdSim);
    marcar(chkPiscofins, o.chkPiscofins, {edtPis});
    chave(edtPis, o.edtPis);
    marcar(chkICms, o.chkICms, {edtICMS});
    chave(edtICMS, o.edtICMS);
    marcar(chkNNota, o.chkNNota, {edtNNota});
    texto(edtNNota, o.edtNNota);
    marcar(chkDataCompra, o.chkDataCompra, {edtDtC1, edtDtC2});
    data(edtDtC1, o.edtDtC1);
    data(edtDtC2, o.edtDtC2);
}

// ---------------------------------------------------------------- operations

void TMrgMercadoriasBD::btnRepetirClick() {
    const std::optional<TOpcoesMercadorias> ultima = LerUltimaSelecao(Hoje());
    if (!ultima) {
        std::string texto = "Nenhum lote foi feito nesta estação ainda: não há seleção para repetir.";
        if (!falhaGuardarSelecao_.empty())
            texto = "A seleção do último lote não pôde ser guardada: " + falhaGuardarSelecao_;
        InterfaceUsuario().Mensagem(texto);
        return;
    }
    MostrarOpcoes(*ultima);
    if (!falhaGuardarSelecao_.empty())
        InterfaceUsuario().Mensagem("A seleção do último lote não pôde ser guardada (" + falhaGuardarSelecao_ +
                                    "): esta é a de um lote anterior.");
}

void TMrgMercadoriasBD::ShowModal() {
    // The main window's line of stale labels opens the window with its box checked.
    if (SomenteDesatualizadas) chkDesatualizada->setChecked(true);
    SomenteDesatualizadas = false;
    ativadaNestaExibicao_ = false;
    filaAbertaNestaExibicao_ = false;
    exec();
}

void TMrgMercadoriasBD::FormActivate() {
    dtmMercadorias_.tblDepartamentosIB.SetOrdenacao("NOM_DEP");
    dtmMercadorias_.tblTributosIcm.SetOrdenacao("DESC_TRIB");
    dtmMercadorias_.tblTributosPC.SetOrdenacao("DESC_TRIB");
    dtmFornecedores_.tblFornecedores.SetOrdenacao("NOME");
    dtmMercadorias_.tblAliquotasIB.SetOrdenacao("COD_PROG");
    dtmMercadorias_.tblAliquotasIB.SetFiltro("Aliquota>0 or cod_prog>=16");
    dtmMercadorias_.tblAliquotasIB.SetFiltrado(true);

    if (ImportaBaseVitrinex) {
        maiusculasNome_ = false;
        for (QWidget* w : std::initializer_list<QWidget*>{chksetor, edtSetor, chkFornecedor, edtFornecedor, chkICms,
                                                          edtICMS, chkPiscofins, edtPis})
            w->hide();
    }
    PreencherListas();

    if (AcessoDireto == 1 && !filaAbertaNestaExibicao_) {
        // Once per showing: the activation that follows the queue window's
        // closing must not open it again.
        filaAbertaNestaExibicao_ = true;
        chama_print_etiqueta();
    }
}

void TMrgMercadoriasBD::PreencherListas() {
    Preencher(edtDepartamento, dtmMercadorias_.tblDepartamentosIB, "COD_DEP", "NOM_DEP");
    Preencher(edtFornecedor, dtmFornecedores_.tblFornecedores, "CODIGO", "NOME");
    Preencher(edtPis, dtmMercadorias_.tblTributosPC, "COD_TRIB", "DESC_TRIB");
    Preencher(edtICMS, dtmMercadorias_.tblTributosIcm, "COD_TRIB", "DESC_TRIB");

    const QVariant setor = edtSetor->currentIndex() >= 0 ? edtSetor->currentData() : QVariant();
    edtSetor->clear();
    qrySetor.Close();
    qrySetor.Open();
    for (; !qrySetor.Eof(); qrySetor.Next()) {
        const QString nome = QString::fromStdString(qrySetor.FieldByName("NOM_SETOR").AsString());
        edtSetor->addItem(nome, nome);
    }
    edtSetor->setCurrentIndex(setor.isValid() ? edtSetor->findData(setor) : -1);
}

void TMrgMercadoriasBD::btnImprimirClick() { MONTAMODELO(); }

void TMrgMercadoriasBD::btnSairClick() { done(1); }

void TMrgMercadoriasBD::Progresso(size_t lidas, size_t total) {
    // Repaint a hundred times per batch at most, so the bar costs nothing.
    const size_t passo = total > 0 ? lidas * 100 / total : 0;
    if (lidas != 1 && lidas != total && passo == ultimoPasso_) return;
    ultimoPasso_ = passo;
    Porcento->setMaximum(static_cast<int>(std::max<size_t>(total, 1)));
    Porcento->setValue(static_cast<int>(std::min(lidas, total)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TMrgMercadoriasBD::MONTAMODELO() {
    selecao_.Opcoes = Opcoes();
    selecao_.ProcessarGrades = ProcessarGrades;
    selecao_.ParamModelo = ParamModelo;
    selecao_.Progresso = [this](size_t lidas, size_t total) { Progresso(lidas, total); };
    selecao_.AntesDeSubstituir = [] {
        const auto& perguntar = PerguntaSubstituicaoFila();
        const std::string pergunta = perguntar ? perguntar() : std::string();
        return pergunta.empty() || InterfaceUsuario().Confirma(pergunta);
    };
    ultimoPasso_ = 0;
    try {
        selecao_.AbrirMercadorias();
        selecao_.ModeloEtiqueta();
        // The batch is made: its criteria are the ones to repeat. Not being
        // able to keep them must not stop the labels.
        falhaGuardarSelecao_.clear();
        try {
            GuardarUltimaSelecao(selecao_.Opcoes, Hoje());
        } catch (const std::exception& falha) {
            falhaGuardarSelecao_ = falha.what();
        }
        chama_print_etiqueta();
    } catch (...) {
        selecao_.FecharMercadorias();
        Porcento->setValue(0);
        throw;
    }
    selecao_.FecharMercadorias();
    Porcento->setValue(0);
}

void TMrgMercadoriasBD::chama_print_etiqueta() {
    TFabricaJanelaEtiquetasFila criar = FabricaJanelaEtiquetasFila();
    if (!criar) criar = [this] { return std::make_unique<TFilaProvisoria>(dtmAplicativo_, this); };
    if (AcessoDireto != 1 && selecao_.Opcoes.chkDesatualizada) {
        criar = [criar] {
            std::unique_ptr<TJanelaEtiquetas> j = criar();
            j->MostrarEtiquetaAnterior = true;
            return j;
        };
    }
    if (::chama_print_etiqueta(criar, ProcessarGrades, AcessoDireto, ParamModelo)) done(1);
}

// ---------------------------------------------------------------- activation, keys

void TMrgMercadoriasBD::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    qApp->installEventFilter(this);
    if (ativadaNestaExibicao_) return;
    // Without a window manager activation may never come; the showing must
    // still run FormActivate once.
    activateWindow();
    QTimer::singleShot(0, this, [this] {
        if (!ativadaNestaExibicao_ && isVisible()) Ativada();
    });
}

void TMrgMercadoriasBD::hideEvent(QHideEvent* e) {
    // FormClose
    qApp->removeEventFilter(this);
    enterDaLista_.reset();
    qrySetor.Close();
    QDialog::hideEvent(e);
}

void TMrgMercadoriasBD::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) Ativada();
}

void TMrgMercadoriasBD::Ativada() {
    // Activated while a call waits for the server: the lists are filled once it has ended.
    if (fb::ChamadaEmEspera()) {
        QTimer::singleShot(100, this, [this] {
            if (isVisible() && isActiveWindow()) Ativada();
        });
        return;
    }
    ativadaNestaExibicao_ = true;
    AtivacaoProtegida(this, falhaAtivacao_, [this] { FormActivate(); });
}

bool TMrgMercadoriasBD::eventFilter(QObject* alvo, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    if (tipo != QEvent::KeyPress && tipo != QEvent::ShortcutOverride) return QDialog::eventFilter(alvo, evento);
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) return false;
    // Only key presses meant for this window's own controls and their
    // drop-downs; a window shown over it (the label queue has it as parent)
    // keeps its Enter.
    if (!ControleDestaJanela(qobject_cast<QWidget*>(alvo))) return false;

    const bool listaAberta = edtDepartamento->view()->isVisible();
    if (tipo == QEvent::ShortcutOverride) {
        // The open department list takes Enter here, chooses and closes;
        // Qt then delivers the key press of the same key, which is spent.
        if (listaAberta) enterDaLista_ = TEnterDaLista{tecla->key(), tecla->timestamp()};
        return false;
    }
    const std::optional<TEnterDaLista> daLista = std::exchange(enterDaLista_, std::nullopt);
    if (listaAberta) return false;
    if (daLista && daLista->tecla == tecla->key() && daLista->instante == tecla->timestamp()) return true;
    return TeclaEnter(QApplication::focusWidget());
}

bool TMrgMercadoriasBD::ControleDestaJanela(const QWidget* w) const {
    // Up the parents to the first window that is not a drop-down list.
    for (; w; w = w->parentWidget())
        if (w->isWindow() && w->windowType() != Qt::Popup) return w == this;
    return false;
}

bool TMrgMercadoriasBD::TeclaEnter(QWidget* foco) {
    // A new line of the barcode list.
    if (qobject_cast<QPlainTextEdit*>(foco)) return false;
    for (QWidget* w = foco; w; w = w->parentWidget()) {
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (combo == edtDepartamento && combo->view()->isVisible()) return false;
            combo->hidePopup();
            foco = combo;
            break;
        }
    }
    focusNextChild();
    return true;
}
