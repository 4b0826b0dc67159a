#include "app/ufrmPrincipal.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include "app/GaleriaPainel.h"
#include "app/Icones.h"
#include "app/InterfaceUsuarioQt.h"
#include "app/JanelaMercadorias.h"
#include "app/JanelaPrimeiroUso.h"
#include "app/Manual.h"
#include "app/ModelosEtiqueta.h"
#include "app/ModulosDados.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/InterfaceUsuario.h"
#include "common/gui/Controles.h"
#include "common/gui/FuncoesGui.h"
#include "data/udtmAplicativo.h"
#include "etq/TesteImpressora.h"
#include "labels/gui/JanelaLeiaute09.h"

namespace {

constexpr int kLarguraNormal = 530, kAlturaNormal = 280;
// Wider than the panel's controls by the model gallery on its right; on a
// smaller screen the window takes what there is and the panel scrolls.
constexpr int kLarguraConfig = 1090, kAlturaConfig = 560;

QToolButton* BotaoFigura(const QIcon& icone, const char* texto, int x, int y, int l, int a, QWidget* pai,
                         const char* nome) {
    auto* b = new QToolButton(pai);
    b->setObjectName(nome);
    b->setAutoRaise(true);
    b->setIcon(icone);
    b->setIconSize(QSize(32, 32));
    if (*texto) {
        b->setText(QString::fromUtf8(texto));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    b->setGeometry(x, y, l, a);
    return b;
}

QPushButton* Botao(const char* texto, int x, int y, int l, int a, QWidget* pai, const char* nome) {
    auto* b = new QPushButton(QString::fromUtf8(texto), pai);
    b->setObjectName(nome);
    b->setGeometry(x, y, l, a);
    return b;
}

// The panel's speed buttons: plain text, little margin, as their captions are long.
QToolButton* BotaoRapido(const char* texto, int x, int y, int l, int a, QWidget* pai, const char* nome) {
    auto* b = new QToolButton(pai);
    b->setObjectName(nome);
    b->setText(QString::fromUtf8(texto));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setGeometry(x, y, l, a);
    return b;
}

std::string AjudaCalibrar(const char* piscadas) {
    return std::string("Desliga a impressora\r\n") + "Liga impressora com botão pressionado\r\n" + piscadas + "\r\n" +
           "Solta o botão\r\n" + "Espera ela calibrar, em seguida ela imprime testes\r\n" +
           "Depois só apertar o botão, para ver se ela dispara uma etiqueta por vez";
}

std::optional<std::string> PedeTextoQt(const std::string& titulo, const std::string& prompt) {
    QWidget* dono = QApplication::activeWindow();
    bool ok = false;
    const QString t =
        QInputDialog::getText(dono, ParaQString(titulo), ParaQString(prompt), QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return ParaStd(t);
}

// Runs an operation from a button: whatever it throws goes to the failure handler.
template <typename F>
void Ligar(QAbstractButton* botao, QObject* dono, F acao) {
    QObject::connect(botao, &QAbstractButton::clicked, dono, [dono, acao] { Protegido(dono, acao); });
}

}  // namespace

TRadioGroup::TRadioGroup(const QString& titulo, const QStringList& itens, int colunas, QWidget* pai)
    : QGroupBox(titulo, pai) {
    auto* grade = new QGridLayout(this);
    grade->setContentsMargins(8, 2, 4, 2);
    grade->setVerticalSpacing(0);
    const int linhas = (static_cast<int>(itens.size()) + colunas - 1) / colunas;
    for (int i = 0; i < itens.size(); ++i) {
        auto* r = new QRadioButton(itens[i], this);
        itens_.push_back(r);
        grade->addWidget(r, i % linhas, i / linhas);  // items run down each column first
    }
}

int TRadioGroup::ItemIndex() const {
    for (int i = 0; i < Itens(); ++i)
        if (itens_[i]->isChecked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int i) {
    for (int k = 0; k < Itens(); ++k) {
        // Radio buttons of one parent are exclusive: let go of it while clearing.
        itens_[k]->setAutoExclusive(false);
        itens_[k]->setChecked(k == i);
        itens_[k]->setAutoExclusive(true);
    }
}

TfrmPrincipal::TfrmPrincipal(const std::vector<std::string>& argumentos, QWidget* pai) : QWidget(pai) {
    setObjectName("frmPrincipal");
    setWindowTitle(QStringLiteral("Etiquetas de codigo de barras"));
    QFont fonte(QStringLiteral("Arial"));
    fonte.setPixelSize(11);
    setFont(fonte);

    CdbETQ.SetModelo(etqPplb);
    CdbETQ.SetTemperatura(14);
    CdbETQ.SetPorta("LPT1");

    btnSair = BotaoFigura(IconeSair(), "", 10, 10, 41, 40, this, "btnSair");
    btnSair->setToolTip(QStringLiteral("Fechar Janela"));
    btnEtiquetas = BotaoFigura(IconeEtiquetas(), "Etiquetas", 160, 10, 177, 40, this, "btnEtiquetas");
    btnConfig = BotaoFigura(IconeConfig(), "", 458, 10, 41, 40, this, "btnConfig");
    btnAtualizabase =
        BotaoFigura(IconeAtualizaBase(), "Atualizar base de dados", 160, 66, 177, 40, this, "btnAtualizabase");
    btnAtualizabase->hide();
    btnDesatualizadas = new QPushButton(this);
    btnDesatualizadas->setObjectName("btnDesatualizadas");
    btnDesatualizadas->setFlat(true);
    btnDesatualizadas->setCursor(Qt::PointingHandCursor);
    btnDesatualizadas->setStyleSheet(QStringLiteral("QPushButton { color: #b00000; text-decoration: underline; }"));
    btnDesatualizadas->setGeometry(10, 236, 510, 28);
    btnDesatualizadas->hide();

    pnlConfig = new QFrame(this);
    pnlConfig->setObjectName("pnlConfig");
    pnlConfig->setFrameShape(QFrame::NoFrame);
    pnlConfig->setAutoFillBackground(true);
    pnlConfig->hide();
    // The controls stand where they always stood, on a page that scrolls
    // when the screen is smaller than the panel.
    scrConfig = new QScrollArea(pnlConfig);
    scrConfig->setObjectName("scrConfig");
    scrConfig->setFrameShape(QFrame::NoFrame);
    scrConfig->setWidgetResizable(false);
    pnlConteudo = new QWidget;
    pnlConteudo->setObjectName("pnlConteudo");
    pnlConteudo->setFixedSize(kLarguraConfig, kAlturaConfig);
    scrConfig->setWidget(pnlConteudo);
    CriarPainel();
    CriarTeste();

    Ligar(btnSair, this, [this] { btnSairClick(); });
    Ligar(btnEtiquetas, this, [this] { btnEtiquetasClick(); });
    Ligar(btnConfig, this, [this] { btnConfigClick(); });
    Ligar(btnAtualizabase, this, [this] { btnAtualizabaseClick(); });
    Ligar(SpeedButton1, this, [this] { SpeedButton1Click(); });
    Ligar(SpeedButton2, this, [this] { SpeedButton2Click(); });
    Ligar(SpeedButton3, this, [this] { SpeedButton3Click(); });
    Ligar(SpeedButton4, this, [this] { SpeedButton4Click(); });
    Ligar(SpeedButton5, this, [this] { SpeedButton5Click(); });
    Ligar(Button1, this, [this] { Button1Click(); });
    Ligar(Button2, this, [this] { Button2Click(); });
    Ligar(btnEditor09, this, [this] { btnEditor09Click(); });
    Ligar(btnDesatualizadas, this, [this] { btnDesatualizadasClick(); });
    // F1 opens the manual from any window of the program.
    auto* ajuda = new QShortcut(QKeySequence(Qt::Key_F1), this);
    ajuda->setContext(Qt::ApplicationShortcut);
    connect(ajuda, &QShortcut::activated, this, [this] { Protegido(this, [this] { AbrirManual(this); }); });

    NomeComputador = [] { return ::NomeComputador(); };
    PrimeiroUso = MostrarPrimeiroUso;
    AreaDisponivel = [this] {
        QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen();
        return tela ? tela->availableGeometry() : QRect(0, 0, kLarguraConfig, kAlturaConfig);
    };
    Hoje = [] { return ::Hoje(); };
    PedeTexto = PedeTextoQt;
    AmbienteImportacao.IniciarCarregador = AbrirPrograma;

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState e) { ProgramaMudouDeEstado(e); });

    // FormCreate
    const TParametrosPrograma p = LerParametrosPrograma(argumentos);
    ParamAcesso = p.ParamAcesso;
    ParamModelo = p.ParamModelo;
    resize(kLarguraNormal, kAlturaNormal);
    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->availableGeometry();
        move(area.center() - QPoint(kLarguraNormal / 2, kAlturaNormal / 2));
    }
}

TfrmPrincipal::~TfrmPrincipal() {
    // A count still running finishes first; its answer dies with the window.
    if (contagem_.joinable()) contagem_.join();
}

void TfrmPrincipal::CriarPainel() {
    QWidget* p = pnlConteudo;
    Label1 = Rotulo("Banco de dados", 16, 16, p, "Label1");
    edtBD = Edit(16, 32, 425, p, "edtBD");
    Label2 = Rotulo("Endereco de rede da impressora", 16, 56, p, "Label2");
    edtRede = Edit(16, 72, 425, p, "edtRede");

    edtModelo = new QComboBox(p);
    edtModelo->setObjectName("edtModelo");
    edtModelo->setEditable(true);
    edtModelo->setInsertPolicy(QComboBox::NoInsert);
    edtModelo->setMaxVisibleItems(20);
    for (const std::string& linha : LinhasModelo()) edtModelo->addItem(ParaQString(linha));
    edtModelo->setGeometry(16, 99, 425, kAlturaEdit);

    auto radio = [p](const char* texto, int x, const char* nome) {
        auto* r = new QRadioButton(QString::fromUtf8(texto), p);
        r->setObjectName(nome);
        r->move(x, 128);
        r->adjustSize();
        return r;
    };
    edtppla = radio("pplA", 16, "edtppla");
    edtpplb = radio("pplB", 72, "edtpplb");
    edtzpl = radio("zpl", 120, "edtzpl");
    edtepl2 = radio("epl2", 168, "edtepl2");
    edtppla->setChecked(true);

    Label3 = Rotulo("Temperatura ( 10 ~14 )", 16, 152, p, "Label3");
    edtTemp = Edit(136, 147, 68, p, "edtTemp");
    Label4 = Rotulo("Adicional de colunas", 16, 176, p, "Label4");
    edtColunas = Edit(136, 171, 68, p, "edtColunas", "0");

    SpeedButton3 = BotaoRapido("Como calibrar Zebra - GC420 T", 272, 126, 169, 22, p, "SpeedButton3");
    SpeedButton4 = BotaoRapido("Como calibrar Zebra - outro modelo", 272, 150, 169, 22, p, "SpeedButton4");
    SpeedButton5 = BotaoRapido("Como calibrar Bematech LB-1000", 272, 174, 169, 22, p, "SpeedButton5");
    // The captions are long for their width: a size smaller keeps them whole.
    for (QToolButton* b : {SpeedButton3, SpeedButton4, SpeedButton5}) {
        QFont f = b->font();
        f.setPixelSize(10);
        b->setFont(f);
    }

    edtImpressora = new TRadioGroup(QStringLiteral("Impressora Modelo ( pre Config merkor )"),
                                    {QStringLiteral("Argox"), QStringLiteral("Elgin")}, 1, p);
    edtImpressora->setObjectName("edtImpressora");
    edtImpressora->setGeometry(16, 200, 209, 65);

    chkGrade = Marca("Processar Grades", 248, 216, p, "chkGrade", true);
    chkImportVitrinex = Marca("Importa base de dados Vitrinex", 248, 248, p, "chkImportVitrinex", true);

    Label10 = Rotulo("Token Vitrinex - ( token do USUARIO )", 16, 272, p, "Label10");
    edtTokenVitrinex = Edit(16, 288, 425, p, "edtTokenVitrinex");
    Label11 = Rotulo("Numero de registro por trafegco ( ~500 )", 16, 312, p, "Label11");
    edtRegTrafego = Edit(16, 328, 81, p, "edtRegTrafego");
    Label12 = Rotulo("Ultima data importada do vitrinex", 240, 312, p, "Label12");
    edtUltimaData = Edit(240, 328, 81, p, "edtUltimaData");
    // Two optional digits, two optional digits, four required; blanks shown as "_".
    edtUltimaData->setInputMask(QStringLiteral("00-00-9999;_"));
    edtUltimaData->setMaxLength(10);

    GroupBox1 = new QGroupBox(QStringLiteral("Modelo folha A4"), p);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(464, 48, 241, 273);
    edtRatio = new TRadioGroup(QStringLiteral("Ratio"),
                               {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}, 2,
                               GroupBox1);
    edtRatio->setObjectName("edtRatio");
    edtRatio->setGeometry(16, 24, 137, 65);
    edttipobar = new TRadioGroup(
        QStringLiteral("Modelo de codigo"),
        {QStringLiteral("cod Bar"), QStringLiteral("cod Bar 39"), QStringLiteral("cod Bar 2x5 Intercalado"),
         QStringLiteral("cod Bar 2x5 Matrix"), QStringLiteral("cod Bar 93")},
        1, GroupBox1);
    edttipobar->setObjectName("edttipobar");
    edttipobar->setGeometry(16, 96, 209, 161);

    SpeedButton1 = BotaoRapido("Confirma", 464, 16, 89, 22, p, "SpeedButton1");
    SpeedButton2 = BotaoRapido("Cancela", 576, 16, 89, 22, p, "SpeedButton2");

    memotmp = new QPlainTextEdit(p);
    memotmp->setObjectName("memotmp");
    memotmp->move(520, 344);
    memotmp->hide();

    Button1 = Botao("Ajusta Base de dados", 16, 440, 137, 25, p, "Button1");
    btnEditor09 = Botao("Editor de etiqueta (modelo 09)", 464, 336, 241, 25, p, "btnEditor09");

    // The shop's texts some models print, and when to ask before a big print.
    Rotulo("Nome da loja (modelos 03, 04, 24, 50, 53 e folha A4 20)", 16, 478, p, "lblNomeLoja");
    edtNomeLoja = Edit(16, 494, 300, p, "edtNomeLoja");
    edtNomeLoja->setToolTip(
        QString::fromUtf8("Impresso nas etiquetas; cada modelo corta no espaço que tem (18, 12 ou 7 "
                          "letras). Vazio: \"Loja Demonstração\". No máximo %1 caracteres.")
            .arg(kMaxNomeLoja));
    Rotulo("Texto da loja (modelos 03 e 50)", 336, 478, p, "lblTextoLoja");
    edtTextoLoja = Edit(336, 494, 161, p, "edtTextoLoja");
    edtTextoLoja->setToolTip(
        QString::fromUtf8("Segunda linha curta, como \"Preço Baixo\" (o padrão quando vazio). No máximo %1 caracteres.")
            .arg(kMaxTextoLoja));
    Rotulo("Confirmar impressão acima de (etiquetas)", 520, 478, p, "lblLimiteConfirmacao");
    edtLimiteConfirmacao = Edit(520, 494, 81, p, "edtLimiteConfirmacao");
    edtLimiteConfirmacao->setToolTip(
        QString::fromUtf8("\"Imprimir etiquetas\" pergunta antes de imprimir mais etiquetas que isto (folhas A4: "
                          "o limite de folhas). Vazio: o padrão, 500 etiquetas ou 20 folhas. 0: nunca pergunta."));

    lblArquivoConfig = Rotulo("", 16, 530, p, "lblArquivoConfig");
    lblArquivoConfig->setFixedWidth(718);
    lblArquivoConfig->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The chosen model's picture, redrawn when the model or the language changes.
    pnlGaleria = new TGaleriaPainel(p);
    pnlGaleria->setGeometry(752, 16, 322, 468);
    auto atualizar = [this] { AtualizarGaleria(); };
    connect(edtModelo, &QComboBox::currentTextChanged, this, atualizar);
    for (QRadioButton* r : {edtppla, edtpplb, edtzpl, edtepl2}) connect(r, &QRadioButton::toggled, this, atualizar);
    // The shop's texts as they are typed, saved or not.
    for (QLineEdit* e : {edtNomeLoja, edtTextoLoja}) connect(e, &QLineEdit::textChanged, this, atualizar);
}

void TfrmPrincipal::AtualizarGaleria() {
    // Drawn only while the panel is open: loading the file at start draws nothing.
    if (!pnlConfig->isVisibleTo(this)) return;
    const std::string linguagem = edtppla->isChecked()   ? "PPLA"
                                  : edtpplb->isChecked() ? "PPLB"
                                  : edtzpl->isChecked()  ? "ZPL"
                                  : edtepl2->isChecked() ? "EPL2"
                                                         : "";
    pnlGaleria->Mostrar(ParaStd(edtModelo->currentText()), linguagem, ParaStd(edtNomeLoja->text()),
                        ParaStd(edtTextoLoja->text()));
}

void TfrmPrincipal::CriarTeste() {
    QWidget* p = pnlConteudo;
    Button2 = Botao("Teste Cod Barras / Texto", 16, 365, 137, 25, p, "Button2");
    edtL = Edit(200, 368, 41, p, "edtL", "3");
    Rotulo("Linha", 166, 371, p, "lblLinha");
    edtCol = Edit(200, 392, 41, p, "edtCol", "3");
    Rotulo("Coluna", 162, 395, p, "lblColuna");
    edtAlt = Edit(200, 416, 41, p, "edtAlt", "20");
    Rotulo("Altura", 166, 419, p, "lblAltura");
    qtdCol = Edit(336, 368, 41, p, "qtdCol", "1");
    Rotulo("qtd Colunas", 274, 371, p, "lblqtdColunas");
    codBar = Edit(336, 392, 161, p, "codBar", "7893156253569");
    Rotulo("cod Barras", 278, 395, p, "lblcodBarras");
    modBar = Edit(336, 414, 41, p, "modBar", "F");
    Rotulo("Mod Barras", 276, 417, p, "lblModBarras");
    edtEntCol = Edit(456, 368, 41, p, "edtEntCol", "30");
    Rotulo("entre colunas", 386, 371, p, "lblEntreColunas");
    chkPrintNbar = Marca("Print nº barras", 392, 416, p, "chkPrintNbar");
    chkPrintNbar->setChecked(true);
    chkPrintTexto = Marca("Imprimir como texto", 200, 448, p, "chkPrintTexto");
    chkPrintTexto->setFixedWidth(209);
    chkPrintTexto->setChecked(true);

    Button2->setToolTip(QString::fromUtf8(
        "Imprime uma etiqueta de teste na porta, linguagem e temperatura deste painel (gravados ou não)"));
    edtL->setToolTip(QString::fromUtf8("Distância do topo da etiqueta ao texto ou código, em milímetros"));
    edtCol->setToolTip(QString::fromUtf8("Distância da borda esquerda à primeira coluna, em milímetros"));
    edtAlt->setToolTip(QString::fromUtf8("Altura das barras: ×0,4 mm com os números, ×1,6 mm sem eles"));
    qtdCol->setToolTip(QString::fromUtf8("Quantas vezes o texto ou código sai lado a lado (colunas da etiqueta)"));
    codBar->setToolTip(QString::fromUtf8("O código de barras, ou o texto, a imprimir"));
    modBar->setToolTip(
        QString::fromUtf8("Letra do tipo de código na linguagem da impressora, enviada como está (F: EAN-13 em PPLA)"));
    edtEntCol->setToolTip(QString::fromUtf8("Distância entre o início de uma coluna e o da seguinte, em milímetros"));
    chkPrintNbar->setToolTip(QString::fromUtf8("Imprime os números sob as barras"));
    chkPrintTexto->setToolTip(QString::fromUtf8("Imprime o conteúdo como texto, em vez de código de barras"));
}

// ---------------------------------------------------------------- panel value

TConfigPainel TfrmPrincipal::ConfigDoPainel() const {
    TConfigPainel c;
    c.BD = ParaStd(edtBD->text());
    c.Rede = ParaStd(edtRede->text());
    c.Modelo = edtppla->isChecked()   ? "PPLA"
               : edtpplb->isChecked() ? "PPLB"
               : edtzpl->isChecked()  ? "ZPL"
               : edtepl2->isChecked() ? "EPL2"
                                      : "";
    c.Impressora = edtImpressora->ItemIndex();
    c.ModeloPrint = ParaStd(edtModelo->currentText());
    // A typed text counts as a chosen line only when it is that line.
    const int i = edtModelo->currentIndex();
    c.ModeloPrintIndice = (i >= 0 && edtModelo->itemText(i) == edtModelo->currentText())
                              ? i
                              : edtModelo->findText(edtModelo->currentText(), Qt::MatchExactly);
    c.Temperatura = ParaStd(edtTemp->text());
    c.Colunas = ParaStd(edtColunas->text());
    c.Ratio = edtRatio->ItemIndex();
    c.TipoBarra = edttipobar->ItemIndex();
    c.TokenVitrinex = ParaStd(edtTokenVitrinex->text());
    c.RegTrafego = ParaStd(edtRegTrafego->text());
    c.ImportVitrinex = chkImportVitrinex->isChecked();
    c.Grade = chkGrade->isChecked();
    c.UltimaData = TextoUltimaData();
    c.NomeLoja = ParaStd(edtNomeLoja->text());
    c.TextoLoja = ParaStd(edtTextoLoja->text());
    c.LimiteConfirmacao = ParaStd(edtLimiteConfirmacao->text());
    return c;
}

std::string TfrmPrincipal::TextoUltimaData() const {
    // The mask edit's text with its literals, blanks as spaces: "  -  -    " when empty.
    QString t = edtUltimaData->displayText();
    t.replace(QLatin1Char('_'), QLatin1Char(' '));
    return ParaStd(t);
}

void TfrmPrincipal::MostraConfigPainel(const TConfigPainel& c) {
    edtBD->setText(ParaQString(c.BD));
    edtRede->setText(ParaQString(c.Rede));
    if (c.Modelo == "PPLA") edtppla->setChecked(true);
    if (c.Modelo == "PPLB") edtpplb->setChecked(true);
    if (c.Modelo == "ZPL") edtzpl->setChecked(true);
    if (c.Modelo == "EPL2") edtepl2->setChecked(true);
    edtImpressora->SetItemIndex(c.Impressora);
    edtTemp->setText(ParaQString(c.Temperatura));
    edtColunas->setText(ParaQString(c.Colunas));
    if (c.ModeloPrintIndice >= 0 && c.ModeloPrintIndice < edtModelo->count()) {
        edtModelo->setCurrentIndex(c.ModeloPrintIndice);
        edtModelo->setEditText(edtModelo->itemText(c.ModeloPrintIndice));  // also over a typed text
    } else {
        edtModelo->setCurrentIndex(-1);
        edtModelo->setEditText(ParaQString(c.ModeloPrint));
    }
    edtRatio->SetItemIndex(c.Ratio);
    edttipobar->SetItemIndex(c.TipoBarra);
    edtTokenVitrinex->setText(ParaQString(c.TokenVitrinex));
    edtRegTrafego->setText(ParaQString(c.RegTrafego));
    chkImportVitrinex->setChecked(c.ImportVitrinex);
    chkGrade->setChecked(c.Grade);
    QString data = ParaQString(c.UltimaData);
    data.replace(QLatin1Char(' '), QLatin1Char('_'));
    edtUltimaData->setText(data);
    edtNomeLoja->setText(ParaQString(c.NomeLoja));
    edtTextoLoja->setText(ParaQString(c.TextoLoja));
    edtLimiteConfirmacao->setText(ParaQString(c.LimiteConfirmacao));
}

// ---------------------------------------------------------------- operations

void TfrmPrincipal::LoadConfig() {
    // Everything is read and converted before a control changes: a bad value
    // leaves the panel as it was.
    const TConfigPainel c = LerConfigPainel(ConfigDoPainel(), LinhasModelo());
    MostraConfigPainel(c);
    btnAtualizabase->setVisible(chkImportVitrinex->isChecked());
    lblArquivoConfig->setText(ParaQString("Arquivo de configuração: " + CaminhoConfigEtq()));
}

void TfrmPrincipal::FormActivate() {
    LoadConfig();
    if (ParamAcesso == kAcessaDireto) {
        ParamAcesso.clear();
        acessoDireto_ = true;
        if (mrgMercadoriasBD_) mrgMercadoriasBD_->AcessoDireto = 1;
        btnEtiquetasClick();
        return;
    }
    if (!contouNaAbertura_ && !acessoDireto_) {
        contouNaAbertura_ = true;
        ContarDesatualizadasAoFundo();
    }
}

void TfrmPrincipal::btnEtiquetasClick() {
    if (!modulos_) throw Exception("Os módulos de dados não foram criados");
    // No shop database: the first-start window again, whatever was chosen before.
    if (!modulos_->BancoConfigurado()) {
        const TfrmPrimeiroUso::TEscolha escolha = PrimeiroUso ? PrimeiroUso() : TfrmPrimeiroUso::TEscolha::Nenhuma;
        if (escolha == TfrmPrimeiroUso::TEscolha::Configurar) btnConfigClick();
        if (escolha != TfrmPrimeiroUso::TEscolha::Demonstracao || !modulos_->BancoConfigurado()) return;
    }
    modulos_->Ajusta_BD();
    modulos_->dtmFornecedoresOpen({"Fornecedores"});
    modulos_->dtmMercadoriasOpen({"Aliquotas", "Departamentos"});
    modulos_->dtmAplicativoOpen({"MERCADORIAS"});
    modulos_->dtmMercadoriasOpen({"TributosIcm", "TributosPC"});
    if (mrgMercadoriasBD_) {
        mrgMercadoriasBD_->ImportaBaseVitrinex = chkImportVitrinex->isChecked();
        mrgMercadoriasBD_->ProcessarGrades = chkGrade->isChecked();
        mrgMercadoriasBD_->ShowModal();
    }
    modulos_->dtmMercadoriasClose({"Aliquotas", "Departamentos"});
    modulos_->dtmFornecedoresClose({"Fornecedores"});
    modulos_->dtmAplicativoclose({"MERCADORIAS"});
    modulos_->dtmMercadoriasClose({"TributosIcm", "TributosPC"});
    modulos_->dtmConectBancoMrg(false);
    const bool direto = mrgMercadoriasBD_ ? mrgMercadoriasBD_->AcessoDireto == 1 : acessoDireto_;
    if (direto) {
        close();
        return;
    }
    // Prints may have changed what the shelves say.
    ContarDesatualizadasAoFundo();
}

void TfrmPrincipal::btnDesatualizadasClick() {
    if (mrgMercadoriasBD_) mrgMercadoriasBD_->SomenteDesatualizadas = true;
    btnEtiquetasClick();
}

void TfrmPrincipal::ContarDesatualizadasAoFundo() {
    if (!ContarDesatualizadas || contando_) return;
    if (contagem_.joinable()) contagem_.join();
    contando_ = true;
    const auto inicio = std::chrono::steady_clock::now();
    contagem_ = std::thread([this, contar = ContarDesatualizadas, inicio] {
        std::optional<int64_t> n;
        try {
            n = contar();
        } catch (...) {
            // A shop that cannot be counted now shows no line; the goods window says why.
        }
        QMetaObject::invokeMethod(
            this,
            [this, n, inicio] {
                contando_ = false;
                const bool aTempo =
                    std::chrono::steady_clock::now() - inicio <= std::chrono::milliseconds(LimiteContagemMs);
                MostrarDesatualizadas(aTempo ? n : std::nullopt);
            },
            Qt::QueuedConnection);
    });
}

void TfrmPrincipal::MostrarDesatualizadas(std::optional<int64_t> n) {
    if (!n || *n <= 0) {
        btnDesatualizadas->hide();
        return;
    }
    btnDesatualizadas->setText(*n == 1 ? QStringLiteral("1 mercadoria com etiqueta de preço desatualizado")
                                       : QString::number(*n) +
                                             QStringLiteral(" mercadorias com etiqueta de preço desatualizado"));
    btnDesatualizadas->show();
}

void TfrmPrincipal::btnSairClick() {
    if (InterfaceUsuario().Confirma("Sair do sistema?")) close();
}

void TfrmPrincipal::btnConfigClick() {
    if (!LiberaConfiguracao(NomeComputador(), Hoje(), PedeTexto)) return;
    // Loaded before the window changes, so a bad file leaves the normal state whole.
    LoadConfig();
    // The whole panel where the screen has room for it; on a smaller one the
    // window fits the screen, frame included, and the panel scrolls.
    const QRect area = AreaDisponivel();
    const QSize moldura = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    resize(std::min(kLarguraConfig, area.width() - moldura.width()),
           std::min(kAlturaConfig, area.height() - moldura.height()));
    // Grown to the right and down from where the small window stood: the
    // panel must not end past the screen's edge.
    if (isVisible()) {
        const QRect quadro = frameGeometry();
        move(pos() + PosicaoDentroDaTela(quadro, area) - quadro.topLeft());
    }
    pnlConfig->setGeometry(rect());
    scrConfig->setGeometry(pnlConfig->rect());
    pnlConfig->show();
    pnlConfig->raise();
    AtualizarGaleria();
    btnEtiquetas->hide();
    btnConfig->hide();
}

void TfrmPrincipal::EstadoNormal() {
    resize(kLarguraNormal, kAlturaNormal);
    pnlConfig->hide();
    btnEtiquetas->show();
    btnConfig->show();
}

void TfrmPrincipal::SpeedButton1Click() {
    // Written first: when the file cannot be written the panel stays open with
    // the operator's values, and the old file stays whole.
    GravarConfigPainel(ConfigDoPainel());
    resize(kLarguraNormal, kAlturaNormal);
    LoadConfig();
    EstadoNormal();
}

void TfrmPrincipal::SpeedButton2Click() { EstadoNormal(); }

void TfrmPrincipal::btnEditor09Click() {
    // The printer the panel shows, saved or not: the picture is drawn for it.
    const TConfigPainel c = ConfigDoPainel();
    previa::TAmbiente09 ambiente = previa::AmbienteConfigurado09();
    ambiente.linguagem = c.Modelo;
    ambiente.impressora = c.Impressora == 1 ? "ELGIN" : "ARGOX";
    try {
        ambiente.addColuna = Trim(c.Colunas).empty() ? 0 : StrToInt(Trim(c.Colunas));
    } catch (const EConvertError&) {
        // The print refuses it with its own message; the picture goes without the shift.
    }
    TdtmAplicativo dtm;
    TfrmLeiaute09 editor(dtm, ambiente, this);
    editor.exec();
}

void TfrmPrincipal::SpeedButton3Click() { InterfaceUsuario().Mensagem(AjudaCalibrar("Aguarde piscar 2x")); }
void TfrmPrincipal::SpeedButton4Click() { InterfaceUsuario().Mensagem(AjudaCalibrar("Aguarde piscar 5x")); }
void TfrmPrincipal::SpeedButton5Click() { InterfaceUsuario().Mensagem(AjudaCalibrar("Aguarde piscar 2x")); }

void TfrmPrincipal::Button1Click() {
    if (!modulos_) throw Exception("Os módulos de dados não foram criados");
    modulos_->AjustaTributosIcm();
}

void TfrmPrincipal::Button2Click() {
    TParametrosTeste p;
    p.Porta = ParaStd(edtRede->text());
    p.Temperatura = ParaStd(edtTemp->text());
    if (edtppla->isChecked()) p.Modelo = etqPpla;
    if (edtpplb->isChecked()) p.Modelo = etqPplb;
    if (edtzpl->isChecked()) p.Modelo = etqZPLII;
    if (edtepl2->isChecked()) p.Modelo = etqEpl2;
    p.Linha = ParaStd(edtL->text());
    p.Coluna = ParaStd(edtCol->text());
    p.Altura = ParaStd(edtAlt->text());
    p.QtdColunas = ParaStd(qtdCol->text());
    p.EntreColunas = ParaStd(edtEntCol->text());
    p.Codigo = ParaStd(codBar->text());
    p.TipoBarras = ParaStd(modBar->text());
    p.ImprimirNumeroBarras = chkPrintNbar->isChecked();
    p.ImprimirComoTexto = chkPrintTexto->isChecked();
    size_t bytes = 0;
    try {
        bytes = ImprimirTeste(CdbETQ, p);
    } catch (const EConvertError&) {
        throw;  // a field typed wrong, named in the message; nothing was sent
    } catch (const std::exception& falha) {
        if (Trim(p.Porta).empty()) throw;
        throw Exception("Teste não enviado para " + p.Porta + ": " + falha.what());
    }
    InterfaceUsuario().Mensagem("Teste enviado para " + p.Porta + ": " + std::to_string(bytes) + " bytes");
}

void TfrmPrincipal::btnAtualizabaseClick() {
    const std::string dir = DiretorioSistema();
    LoadConfig();
    TPedidoImportacao pedido;
    pedido.PathBanco = ParaStd(edtBD->text());
    pedido.Token = ParaStd(edtTokenVitrinex->text());
    pedido.RegTrafego = ParaStd(edtRegTrafego->text());
    pedido.DataInicio = TextoUltimaData();
    ImportarCatalogo(dir, pedido, AmbienteImportacao);
}

// ---------------------------------------------------------------- activation

void TfrmPrincipal::ProgramaMudouDeEstado(Qt::ApplicationState estado) {
    if (estado != Qt::ApplicationActive) voltaDeOutroPrograma_ = true;
}

void TfrmPrincipal::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (ativada_) return;
    // Without a window manager the first activation may never come; start-up
    // must still load the configuration and start direct mode.
    activateWindow();
    QTimer::singleShot(0, this, [this] {
        if (!ativada_ && isVisible()) Ativada();
    });
}

void TfrmPrincipal::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    Ativada();
}

void TfrmPrincipal::Ativada() {
    ativada_ = true;
    // FormActivate belongs to activation handed over by another window of this
    // program; coming back from another program keeps what the panel holds.
    const bool deFora = voltaDeOutroPrograma_ && ParamAcesso != kAcessaDireto;
    voltaDeOutroPrograma_ = false;
    if (deFora && pnlConfig->isVisible()) return;
    AtivacaoProtegida(this, falhaAtivacao_, [this] { FormActivate(); });
}
