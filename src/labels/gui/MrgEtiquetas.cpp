#include "labels/gui/MrgEtiquetas.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QValidator>

#include "common/ConfigEtq.h"
#include "common/Encerramento.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"
#include "data/EtiquetaAtual.h"
#include "data/Tabela.h"
#include "data/fb/VigiaServidor.h"
#include "data/udtmAplicativo.h"
#include "interface/ModelosA4.h"
#include "labels/Mercadoria.h"
#include "labels/a4/FormulariosA4.h"
#include "labels/gui/GradeFila.h"
#include "labels/gui/HistoricoImpressoes.h"
#include "labels/gui/ModeloFila.h"
#include "labels/gui/ProgressoImpressao.h"
#include "previa/gui/PreviaEtiquetas.h"

namespace {

// Search edits on the barcode and the name take what is typed in capitals.
class TMaiusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        texto = texto.toUpper();
        return Acceptable;
    }
};

// "0" and the digits among the first four characters, as the model line and
// the stored column choice are read.
int NumeroDoInicio(const std::string& texto) { return StrToInt("0" + SoNumeros(Esquerda(texto, 4))); }

int InteiroOuZero(const std::string& texto) {
    try {
        return StrToInt(Trim(texto));
    } catch (const std::exception&) {
        return 0;
    }
}

QSpinBox* EditNumerico(QWidget* pai, const char* nome) {
    auto* e = new QSpinBox(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setRange(0, 9999);
    e->setButtonSymbols(QAbstractSpinBox::NoButtons);
    e->setAlignment(Qt::AlignRight);
    return e;
}

}  // namespace

TmrgEtiquetas::TmrgEtiquetas(TdtmAplicativo& dtm, QWidget* parent)
    : QDialog(parent),
      imp_(std::make_unique<TImpressaoEtiquetas>(dtm)),
      ops_(std::make_unique<TFilaOperacoes>(dtm, imp_->tblEtiquetaRead)) {
    setObjectName(QStringLiteral("mrgEtiquetas"));
    setWindowTitle(QStringLiteral("Etiqueta de produto"));
    // Fixed single border with only the system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    imp_->tblEtiquetaRead.AfterInsert = [this](TTabela& t) { tblEtiquetaReadAfterInsert(t); };
    // The grid jumps to any row (Ctrl+End, a scanned code): rows behind the window are read by key.
    imp_->tblEtiquetaRead.SetGuardarChaves(true);
    modelo_ = new TModeloFila(imp_->tblEtiquetaRead, this);
    modelo_->AoSubmeter = [this] { Protegido(this, [this] { GravarDigitado(); }); };
    // A typed count moves the total by what it changed, without counting the queue again.
    modelo_->AoMudarQuantidade = [this](const Decimal& antes, const Decimal& depois) {
        auto etiquetas = [](const Decimal& q) { return q > Decimal(0) ? ContagemEtiquetas(q) : 0; };
        total_.etiquetas += etiquetas(depois) - etiquetas(antes);
        MostrarTotal();
    };
    CriarControles();
    // FormCreate
    PrimeiraAtivacao = true;
    BloqueiaInclusao = false;
}

TmrgEtiquetas::~TmrgEtiquetas() {
    imp_->tblEtiquetaRead.AfterInsert = nullptr;
    delete gridArg;  // before the model and the table it reads
    gridArg = nullptr;
}

void TmrgEtiquetas::CriarControles() {
    // Border width 10 around a client area of 915 x 585; the positions are
    // those of an 11-pixel font.
    QFont fonte = font();
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(935, 605);
    auto* cliente = new QWidget(this);
    cliente->setGeometry(10, 10, 915, 585);

    Painel = new QFrame(cliente);
    Painel->setObjectName(QStringLiteral("Painel"));
    Painel->setFrameShape(QFrame::StyledPanel);
    Painel->setGeometry(0, 0, 915, 48);

    btnSair = new QToolButton(Painel);
    btnSair->setObjectName(QStringLiteral("btnSair"));
    btnSair->setGeometry(2, 2, 40, 40);
    btnSair->setAutoRaise(true);
    btnSair->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    btnSair->setIconSize(QSize(28, 28));
    btnSair->setToolTip(QStringLiteral("Sair"));
    connect(btnSair, &QToolButton::clicked, this, [this] { btnSairClick(); });

    auto radio = [&](const char* nome, const char* texto, int x, int y, TOrdemFila ordem) {
        auto* r = new QRadioButton(QString::fromUtf8(texto), Painel);
        r->setObjectName(QString::fromLatin1(nome));
        r->move(x, y);
        r->adjustSize();
        connect(r, &QRadioButton::clicked, this, [this, ordem] { OrdenarPor(ordem); });
        return r;
    };
    rdCodigoRed = radio("rdCodigoRed", "Código reduzido", 56, 11, TOrdemFila::Codigo);
    rdCodigoBar = radio("rdCodigoBar", "Código de barras", 178, 11, TOrdemFila::Barras);
    rdNomeMer = radio("rdNomeMer", "Nome do produto", 304, 13, TOrdemFila::Nome);
    // Shown as chosen although the queue starts in name order.
    rdCodigoBar->setChecked(true);

    QFont grande = font();
    grande.setPixelSize(16);
    // A caption wider than the room before its edit (fonts differ from one
    // desktop to another) moves left instead of running under the edit.
    auto rotulo = [&](const char* nome, const QString& texto, int x, int y, int antesDe = 0) {
        auto* l = new QLabel(texto, cliente);
        l->setObjectName(QString::fromLatin1(nome));
        l->adjustSize();
        if (antesDe > 0) x = std::min(x, antesDe - 6 - l->width());
        l->move(x, y);
        return l;
    };
    auto edit = [&](const char* nome, int x, int y, int largura, int altura) {
        auto* e = new QLineEdit(cliente);
        e->setObjectName(QString::fromLatin1(nome));
        e->setGeometry(x, y, largura, altura);
        return e;
    };
    Label2 = rotulo("Label2", QStringLiteral("Adicionar por Referencia"), 128, 64, 288);
    edtRefAdd = edit("edtRefAdd", 288, 56, 175, 28);
    edtRefAdd->setFont(grande);
    Label1 = rotulo("Label1", QStringLiteral("Adicionar por Codigo de Barras"), 528, 64, 688);
    edtBarrasAdd = edit("edtBarrasAdd", 688, 56, 175, 28);
    edtBarrasAdd->setFont(grande);
    connect(edtRefAdd, &QLineEdit::returnPressed, this, [this] { edtRefAddKeyPress(); });
    connect(edtBarrasAdd, &QLineEdit::returnPressed, this, [this] { edtBarrasAddKeyPress(); });

    btnImpQtdEst = new QPushButton(QStringLiteral("Importar quantidade do estoque"), cliente);
    btnImpQtdEst->setObjectName(QStringLiteral("btnImpQtdEst"));
    // Right edge kept where it belongs; wider to the left when the caption needs it.
    const int larguraImp = std::max(174, btnImpQtdEst->sizeHint().width());
    btnImpQtdEst->setGeometry(863 - larguraImp, 87, larguraImp, 30);
    connect(btnImpQtdEst, &QPushButton::clicked, this, [this] { btnImpQtdEstClick(); });

    edtcodigo = edit("edtcodigo", 37, 99, 58, 21);
    edtBarras = edit("edtBarras", 94, 99, 131, 21);
    edtBarras->setValidator(new TMaiusculas(edtBarras));
    edtDesc = edit("edtDesc", 222, 99, 339, 21);
    edtDesc->setValidator(new TMaiusculas(edtDesc));
    for (const auto& [e, coluna] : Buscas()) {
        e->installEventFilter(this);
        // Copied by name: clang before 16 cannot capture a structured binding.
        connect(e, &QLineEdit::textEdited, this, [this, c = coluna](const QString& t) { Procurar(c, t); });
    }

    gridArg = new TGradeFila(cliente);
    gridArg->setObjectName(QStringLiteral("gridArg"));
    // A line shorter than it was: the queue's total sits under it.
    gridArg->setGeometry(24, 120, 839, 333);
    gridArg->setModel(modelo_);
    gridArg->setSelectionMode(QAbstractItemView::SingleSelection);
    gridArg->setSelectionBehavior(QAbstractItemView::SelectItems);
    gridArg->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    gridArg->verticalHeader()->setDefaultSectionSize(20);
    gridArg->verticalHeader()->setFixedWidth(12);
    gridArg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const auto& colunas = TModeloFila::Colunas();
    for (size_t i = 0; i < colunas.size(); ++i)
        if (colunas[i].largura > 0) gridArg->setColumnWidth(static_cast<int>(i), colunas[i].largura);
    connect(gridArg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual, const QModelIndex&) { AoMudarLinhaDaGrade(atual.row()); });
    connect(gridArg, &TGradeFila::PediuExclusao, this, [this] { ExcluirLinhaAtual(); });

    modModelo58 = new QGroupBox(QStringLiteral("Colunas"), cliente);
    modModelo58->setObjectName(QStringLiteral("modModelo58"));
    modModelo58->setGeometry(24, 480, 185, 65);
    grupoModelo58 = new QButtonGroup(modModelo58);
    const char* itens[] = {"3 colunas", "4 colunas"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(itens[i]), modModelo58);
        r->setGeometry(12, 18 + 20 * i, 160, 20);
        grupoModelo58->addButton(r, i);
    }
    grupoModelo58->button(0)->setChecked(true);
    modModelo58->setVisible(false);

    lblbranco = rotulo("lblbranco", QStringLiteral("Etiquetas brancas"), 339, 512, 469);
    edtBranco = EditNumerico(cliente, "edtBranco");
    edtBranco->setGeometry(469, 508, 44, 21);
    lblParametro = rotulo("lblParametro", QStringLiteral("Texto para linha parametro"), 339, 536, 469);
    edtParametro = edit("edtParametro", 469, 532, 196, 21);
    edtParametro->setText(QStringLiteral(" "));
    lblPetiq = rotulo("lblPetiq", QStringLiteral("Parcelas na etiqueta:                    + "), 658, 480);
    EdtP1 = EditNumerico(cliente, "EdtP1");
    EdtP1->setGeometry(782, 476, 33, 21);
    edtP2 = EditNumerico(cliente, "edtP2");
    edtP2->setGeometry(830, 476, 33, 21);
    for (QWidget* w : {static_cast<QWidget*>(lblbranco), static_cast<QWidget*>(edtBranco),
                       static_cast<QWidget*>(lblPetiq), static_cast<QWidget*>(EdtP1), static_cast<QWidget*>(edtP2)})
        w->setVisible(false);

    btnEtiquetas = new QPushButton(QStringLiteral("Imprimir etiquetas"), cliente);
    btnEtiquetas->setObjectName(QStringLiteral("btnEtiquetas"));
    btnEtiquetas->setGeometry(689, 502, 173, 51);
    btnEtiquetas->setToolTip(QStringLiteral("Etiquetas para Impressora ARGOX"));
    connect(btnEtiquetas, &QPushButton::clicked, this, [this] { btnEtiquetasClick(); });

    btnVisualizar = new QPushButton(QStringLiteral("Visualizar"), Painel);
    btnVisualizar->setObjectName(QStringLiteral("btnVisualizar"));
    btnVisualizar->setGeometry(770, 8, 135, 32);
    btnVisualizar->setToolTip(QStringLiteral("Mostra as etiquetas como a impressora as receberia, sem imprimir"));
    connect(btnVisualizar, &QPushButton::clicked, this, [this] { btnVisualizarClick(); });

    btnContinuar = new QPushButton(QStringLiteral("Continuar de onde parou"), Painel);
    btnContinuar->setObjectName(QStringLiteral("btnContinuar"));
    btnContinuar->setGeometry(458, 8, 190, 32);
    btnContinuar->setToolTip(QStringLiteral(
        "Depois de uma impressão cancelada ou com falha, imprime só as etiquetas que não chegaram à impressora"));
    connect(btnContinuar, &QPushButton::clicked, this, [this] { btnContinuarClick(); });

    btnHistorico = new QPushButton(QStringLiteral("Histórico"), Painel);
    btnHistorico->setObjectName(QStringLiteral("btnHistorico"));
    btnHistorico->setGeometry(656, 8, 106, 32);
    btnHistorico->setToolTip(QStringLiteral("As últimas impressões de etiquetas e quantas chegaram à impressora"));
    connect(btnHistorico, &QPushButton::clicked, this, [this] { btnHistoricoClick(); });

    // Below everything else, the width of the grid: how the last print ended.
    lblTotal = new QLabel(cliente);
    lblTotal->setObjectName(QStringLiteral("lblTotal"));
    lblTotal->setGeometry(24, 455, 839, 16);
    lblTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    lblSituacao = new QLabel(cliente);
    lblSituacao->setObjectName(QStringLiteral("lblSituacao"));
    // Two lines: a failure's message is long.
    lblSituacao->setGeometry(24, 556, 839, 29);
    lblSituacao->setWordWrap(true);
    lblSituacao->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSituacao->setTextInteractionFlags(Qt::TextSelectableByMouse);

    memoTm = new QPlainTextEdit(cliente);
    memoTm->setObjectName(QStringLiteral("memoTm"));
    memoTm->setVisible(false);

    // Enter in an edit must never press a button of the window.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

// ---------------------------------------------------------------- life cycle

void TmrgEtiquetas::ShowModal() {
    ops_->ProcessarGrades = ProcessarGrades;
    lblbranco->setVisible(MostrarBrancos);
    edtBranco->setVisible(MostrarBrancos);
    lblPetiq->setVisible(MostrarParcelas);
    EdtP1->setVisible(MostrarParcelas);
    edtP2->setVisible(MostrarParcelas);
    if (MostrarParcelas) {
        EdtP1->setValue(InteiroOuZero(Parcela1));
        edtP2->setValue(InteiroOuZero(Parcela2));
        edtParametro->setVisible(false);
        lblParametro->setVisible(false);
    }
    exec();
    Parcela1 = EdtP1->text().toStdString();
    Parcela2 = edtP2->text().toStdString();
}

void TmrgEtiquetas::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    Protegido(this, [this] { FormActivate(); });
}

void TmrgEtiquetas::changeEvent(QEvent* evento) {
    QDialog::changeEvent(evento);
    // Not while a call waits for the server: the first activation that comes after it opens the queue.
    if (evento->type() == QEvent::ActivationChange && isActiveWindow() && PrimeiraAtivacao && !fb::ChamadaEmEspera())
        Protegido(this, [this] { FormActivate(); });
}

void TmrgEtiquetas::FormActivate() {
    if (PrimeiraAtivacao) {
        // Cleared first: a failure here is told once, not at every activation.
        PrimeiraAtivacao = false;
        BloqueiaInclusao = true;
        imp_->tblEtiquetaRead.Open();
        if (MostrarEtiquetaAnterior) {
            // Only a help for the operator: a journal it cannot read leaves the grid as it is.
            try {
                fb::TTransaction tr(imp_->dtm.dtbAplicativo, {"read_committed", "rec_version", "nowait", "read"});
                modelo_->EtiquetasAnteriores = EtiquetasAtuaisDaFila(imp_->dtm.dtbAplicativo, tr);
            } catch (const fb::EFbConexao&) {
                throw;
            } catch (const std::exception&) {}
        }
        RecarregarGrade();
        const bool modelo58 = NumeroDoInicio(LerConfig("MODELO PRINT")) == 58;
        modModelo58->setVisible(modelo58);
        if (modelo58) grupoModelo58->button(std::min(NumeroDoInicio(LerConfig("modModelo58")), 1))->setChecked(true);
    }
    PrimeiraAtivacao = false;
    BloqueiaInclusao = true;
}

void TmrgEtiquetas::FormClose() {
    imp_->tblEtiquetaRead.Close();
    RecarregarGrade();
    GravarConfig("modModelo58", std::to_string(grupoModelo58->checkedId()));
}

void TmrgEtiquetas::done(int resultado) {
    // The walk still uses the table and the component: closing now only asks it to stop.
    if (imprimindo_) {
        if (progresso_) progresso_->Cancelar();
        return;
    }
    Protegido(this, [this] { FormClose(); });
    QDialog::done(resultado);
}

void TmrgEtiquetas::keyPressEvent(QKeyEvent* evento) {
    // As the window always was: Escape does not close it, Enter presses nothing.
    switch (evento->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter: evento->accept(); return;
        default: QDialog::keyPressEvent(evento);
    }
}

void TmrgEtiquetas::btnSairClick() { done(1); }

void TmrgEtiquetas::tblEtiquetaReadAfterInsert(TTabela& tabela) {
    if (BloqueiaInclusao) tabela.Cancel();
}

// ---------------------------------------------------------------- grid and searches

void TmrgEtiquetas::RecarregarGrade() {
    const int coluna =
        gridArg->currentIndex().isValid() ? gridArg->currentIndex().column() : TModeloFila::ColunaDoCampo("QUANTIDADE");
    sincronizando_ = true;
    modelo_->Recarregar();
    sincronizando_ = false;
    Recontar();
    if (gridArg->currentIndex().column() < 0 && modelo_->rowCount() > 0) {
        sincronizando_ = true;
        gridArg->setCurrentIndex(modelo_->index(0, coluna));
        sincronizando_ = false;
    }
    MostrarLinhaAtual();
}

void TmrgEtiquetas::MostrarLinhaAtual() {
    TTabela& t = imp_->tblEtiquetaRead;
    if (t.Active() && !t.IsEmpty()) {
        const int linha = static_cast<int>(t.RecNo()) - 1;
        const int coluna = gridArg->currentIndex().isValid() ? gridArg->currentIndex().column()
                                                             : TModeloFila::ColunaDoCampo("QUANTIDADE");
        if (gridArg->currentIndex().row() != linha) {
            sincronizando_ = true;
            gridArg->setCurrentIndex(modelo_->index(linha, coluna));
            sincronizando_ = false;
        }
    }
    // A search edit without the focus shows its column of the current row, all selected.
    for (const auto& [e, coluna] : Buscas()) {
        if (e->hasFocus()) continue;
        std::string valor;
        if (t.Active() && !t.IsEmpty()) valor = t.FieldByName(ColunaDaOrdem(coluna)).AsString();
        e->setText(QString::fromStdString(valor));
        e->selectAll();
    }
}

void TmrgEtiquetas::AoMudarLinhaDaGrade(int linha) {
    if (sincronizando_ || imprimindo_ || linha < 0) return;
    Protegido(this, [&] {
        TTabela& t = imp_->tblEtiquetaRead;
        if (!t.Active()) return;
        // Leaving a row posts what was typed in it.
        if (t.RecNo() != static_cast<size_t>(linha) + 1) t.SetRecNo(static_cast<size_t>(linha) + 1);
        MostrarLinhaAtual();
    });
}

void TmrgEtiquetas::OrdenarPor(TOrdemFila ordem) {
    // The grid lets go of the table while its order changes.
    Protegido(this, [&] {
        gridArg->ConfirmarEdicao();
        ops_->Ordenar(ordem);
        RecarregarGrade();
    });
}

std::array<std::pair<QLineEdit*, TOrdemFila>, 3> TmrgEtiquetas::Buscas() const {
    return {{{edtcodigo, TOrdemFila::Codigo}, {edtBarras, TOrdemFila::Barras}, {edtDesc, TOrdemFila::Nome}}};
}

bool TmrgEtiquetas::eventFilter(QObject* objeto, QEvent* evento) {
    // A search edit taking the focus orders the queue by its column.
    if (evento->type() == QEvent::FocusIn)
        for (const auto& [e, coluna] : Buscas())
            if (objeto == e) OrdenarPor(coluna);
    return QDialog::eventFilter(objeto, evento);
}

void TmrgEtiquetas::Procurar(TOrdemFila coluna, const QString& texto) {
    Protegido(this, [&] {
        if (ops_->Procurar(coluna, texto.toStdString())) MostrarLinhaAtual();
    });
}

void TmrgEtiquetas::ExcluirLinhaAtual() {
    Protegido(this, [&] {
        TTabela& t = imp_->tblEtiquetaRead;
        const QModelIndex atual = gridArg->currentIndex();
        if (!t.Active() || t.IsEmpty() || !atual.isValid()) return;
        if (!ConfirmaAcao("Excluir registro?")) return;
        if (t.RecNo() != static_cast<size_t>(atual.row()) + 1) t.SetRecNo(static_cast<size_t>(atual.row()) + 1);
        t.Delete();
        RecarregarGrade();
    });
}

// ---------------------------------------------------------------- adding and importing

void TmrgEtiquetas::Adicionado(TResultadoAdicao resultado, QLineEdit* edit) {
    if (resultado == TResultadoAdicao::NaoLocalizada) {
        InterfaceUsuario().Mensagem(kMercadoriaNaoLocalizada);
        edit->clear();
        return;
    }
    // Added (or the commit failed and was told): the queue as it now stands,
    // on the row just added, in sight.
    RecarregarGrade();
    TTabela& t = imp_->tblEtiquetaRead;
    if (!ops_->UltimaIncluida().empty() && t.Active() && t.IrParaChave(ops_->UltimaIncluida())) {
        MostrarLinhaAtual();
        gridArg->scrollTo(gridArg->currentIndex());
    }
    edit->clear();
    edit->setFocus();
}

void TmrgEtiquetas::edtBarrasAddKeyPress() {
    // A bare Enter (a scanner's stray one) looks nothing up and says nothing.
    if (edtBarrasAdd->text().trimmed().isEmpty()) return;
    Protegido(this, [&] {
        gridArg->ConfirmarEdicao();
        Adicionado(ops_->AdicionarPorBarras(edtBarrasAdd->text().toStdString()), edtBarrasAdd);
    });
}

void TmrgEtiquetas::edtRefAddKeyPress() {
    if (edtRefAdd->text().trimmed().isEmpty()) return;
    Protegido(this, [&] {
        gridArg->ConfirmarEdicao();
        Adicionado(ops_->AdicionarPorReferencia(edtRefAdd->text().toStdString()), edtRefAdd);
    });
}

void TmrgEtiquetas::btnImpQtdEstClick() {
    Protegido(this, [&] {
        gridArg->ConfirmarEdicao();
        TImportacaoEstoque importacao;
        try {
            importacao = ops_->ImportarQuantidadeEstoque();
        } catch (...) {
            RecarregarGrade();
            throw;
        }
        imp_->Commit();  // as a typed count: kept beyond this window
        RecarregarGrade();
        lblSituacao->setStyleSheet(QString());
        lblSituacao->setText(QString::fromStdString(TextoImportacaoEstoque(importacao)));
    });
}

// ---------------------------------------------------------------- printing

void TmrgEtiquetas::PostarDigitado() {
    // What is typed in the grid and not yet posted prints too.
    gridArg->ConfirmarEdicao();
    GravarDigitado();
}

void TmrgEtiquetas::GravarDigitado() {
    TTabela& t = imp_->tblEtiquetaRead;
    if (!t.Active() || t.Estado() != TEstadoTabela::Edicao) return;
    t.Post();
    // Committed at once: a count left only in the open transaction was gone
    // when the window's table closed or the program ended, and another
    // workstation (or etiquetas-cli) never saw it.
    imp_->Commit();
}

void TmrgEtiquetas::btnEtiquetasClick() {
    if (imprimindo_) return;
    Protegido(this, [&] {
        PostarDigitado();
        const int modelo = imp_->ModeloConfigurado();
        if (!ConfirmarImpressaoGrande(modelo)) return;
        // The same queue printed whole here a while ago is asked about first.
        if (modelo >= 1 && modelo <= 59 && !EhModeloA4(modelo)) {
            const std::string pergunta = imp_->PerguntaRepeticao();
            if (!pergunta.empty() && !InterfaceUsuario().Confirma(pergunta)) return;
        }
        Imprimir();
        if (FecharAposImprimir) done(1);
    });
}

void TmrgEtiquetas::Recontar() {
    TTabela& t = imp_->tblEtiquetaRead;
    total_ = t.Active() ? ContarFila(imp_->dtm) : TTotalFila{};
    MostrarTotal();
}

int64_t TmrgEtiquetas::FolhasDoModelo(int modelo) const {
    if (!EhModeloA4(modelo)) return -1;
    return FolhasA4(total_.etiquetas, edtBranco->value(), CriaFormularioA4(modelo).CelulasPorPagina());
}

void TmrgEtiquetas::MostrarTotal() {
    if (!imp_->tblEtiquetaRead.Active()) {
        lblTotal->clear();
        return;
    }
    lblTotal->setText(QString::fromStdString(TextoTotalFila(total_, FolhasDoModelo(imp_->ModeloConfigurado()))));
}

bool TmrgEtiquetas::ConfirmarImpressaoGrande(int modelo) {
    if (modelo < 1 || modelo > 59) return true;  // nothing would print: said later
    const std::string pergunta =
        PerguntaImpressaoGrande(total_, modelo, LerConfig("PATH REDE"), FolhasDoModelo(modelo), LerLimiteConfirmacao());
    return pergunta.empty() || InterfaceUsuario().Confirma(pergunta);
}

void TmrgEtiquetas::btnContinuarClick() {
    if (imprimindo_) return;
    Protegido(this, [&] {
        const int modelo = imp_->ModeloConfigurado();
        if (!ModeloValido(modelo, "impresso")) return;
        if (EhModeloA4(modelo)) {
            InterfaceUsuario().Mensagem(
                "Folhas A4 não se continuam: o diário guarda as folhas impressas ou gravadas em PDF, mas não há o que "
                "continuar");
            return;
        }
        PostarDigitado();
        if (const std::string motivo = imp_->PrepararContinuacao(); !motivo.empty()) {
            InterfaceUsuario().Mensagem(motivo);
            return;
        }
        Imprimir();
    });
}

void TmrgEtiquetas::btnHistoricoClick() {
    Protegido(this, [&] {
        TDiarioImpressao& diario = imp_->Diario();
        const auto runs = diario.Ultimas(50);
        if (!historico_) historico_ = std::make_unique<TfrmHistoricoImpressoes>(this);
        historico_->Mostrar(runs,
                            diario.Motivo().empty() ? "" : "Diário de impressões indisponível: " + diario.Motivo());
        historico_->show();
        historico_->raise();
    });
}

void TmrgEtiquetas::CopiarEntradas() {
    TImpressaoEtiquetas& imp = *imp_;
    imp.edtParametro = edtParametro->text().toStdString();
    imp.EdtP1 = EdtP1->text().toStdString();
    imp.edtP2 = edtP2->text().toStdString();
    imp.edtBranco = edtBranco->value();
    imp.modModelo58 = grupoModelo58->checkedId();
    imp.memoTm = memoTm->toPlainText().toStdString();
    // Model 09 leaves the last barcode row's AUX_4 here, an empty one included.
    imp.lblParametro = lblParametro->text().toStdString();
}

bool TmrgEtiquetas::ModeloValido(int modelo, const char* acao) {
    if (modelo == 0) {
        InterfaceUsuario().Mensagem(std::string("Nenhum modelo de etiqueta configurado: nada foi ") + acao);
        return false;
    }
    if (modelo < 1 || modelo > 59) {
        InterfaceUsuario().Mensagem("Modelo " + ZerosEsquerda(modelo, 2) + " não existe: nada foi " + acao);
        return false;
    }
    return true;
}

void TmrgEtiquetas::btnVisualizarClick() {
    if (imprimindo_) return;
    Protegido(this, [&] {
        const int modelo = imp_->ModeloConfigurado();
        if (!ModeloValido(modelo, "visualizado")) return;
        PostarDigitado();
        // A sheet model's preview is the sheet's, as "Imprimir etiquetas" shows it.
        if (EhModeloA4(modelo)) {
            Imprimir();
            return;
        }
        CopiarEntradas();
        previa_ = std::make_unique<TfrmPreviaEtiquetas>(this);
        previa_->setWindowModality(Qt::WindowModal);
        previa_->show();
        imprimindo_ = true;
        gridArg->setUpdatesEnabled(false);
        struct Fim {
            TmrgEtiquetas& j;
            ~Fim() {
                j.imprimindo_ = false;
                j.gridArg->setUpdatesEnabled(true);
                j.RecarregarGrade();
            }
        } fim{*this};
        previa_->Executar(*imp_);
    });
}

void TmrgEtiquetas::MostrarSituacao(const TResumoImpressao& resumo) {
    const QString texto = QString::fromStdString(TextoFimImpressao(resumo));
    lblSituacao->setText(texto);
    lblSituacao->setToolTip(texto);
    // A failure, a cancel or rows left out are told in red; a whole print in
    // the normal colour, in orange when the printer left a doubt (no status, a fault).
    const bool inteira =
        (resumo.fim == TFimImpressao::Completa && resumo.faltou.empty()) || resumo.fim == TFimImpressao::FolhasA4;
    lblSituacao->setStyleSheet(!inteira                ? QStringLiteral("color: #b00000; font-weight: bold")
                               : !resumo.aviso.empty() ? QStringLiteral("color: #c05800; font-weight: bold")
                                                       : QString());
}

void TmrgEtiquetas::Imprimir() {
    TImpressaoEtiquetas& imp = *imp_;
    const int modelo = imp.ModeloConfigurado();
    if (!ModeloValido(modelo, "impresso")) return;
    CopiarEntradas();
    lblSituacao->clear();

    progresso_ = std::make_unique<TfrmProgressoImpressao>(this);
    auto mostrar = [this, &imp] {
        if (progresso_->isVisible()) return;
        progresso_->Atualizar(imp.EtiquetasEnviadas(), imp.EtiquetasAEnviar());
        progresso_->show();
    };
    imp.Esperar = [this, mostrar, &imp](int ms) {
        mostrar();
        progresso_->Atualizar(imp.EtiquetasEnviadas(), imp.EtiquetasAEnviar());
        progresso_->Esperar(ms);
    };
    imp.AoProgresso = [this, mostrar](int64_t enviadas, int64_t aEnviar) {
        mostrar();
        progresso_->Atualizar(enviadas, aEnviar);
        QApplication::processEvents();
        return !progresso_->Cancelado();
    };
    // The grid keeps its picture while the walk moves and filters the table.
    imprimindo_ = true;
    gridArg->setUpdatesEnabled(false);
    btnEtiquetas->setEnabled(false);
    btnContinuar->setEnabled(false);
    auto encerrar = [this, &imp] {
        imp.Esperar = nullptr;
        imp.AoProgresso = nullptr;
        progresso_->hide();
        progresso_.reset();
        imprimindo_ = false;
        btnEtiquetas->setEnabled(true);
        btnContinuar->setEnabled(true);
        gridArg->setUpdatesEnabled(true);
        lblParametro->setText(QString::fromStdString(imp.lblParametro));
        RecarregarGrade();
    };
    TResumoImpressao resumo;
    resumo.modelo = modelo;
    resumo.porta = LerConfig("PATH REDE");
    auto contar = [&imp, &resumo] {
        resumo.enviadas = imp.EtiquetasEnviadas();
        resumo.aEnviar = imp.EtiquetasAEnviar();
        resumo.naoConfirmadas = imp.EtiquetasNaoConfirmadas();
        resumo.aviso = imp.AvisoStatus();
    };
    try {
        imp.ImprimeEtiquetasPreConfigurada();
    } catch (const std::exception& falha) {
        encerrar();
        resumo.fim = TFimImpressao::Falhou;
        resumo.falha = MensagemDaFalha(falha);
        resumo.diario = imp.AvisoDiario();
        // The failure says how far the print got, once the queue was counted.
        if (imp.PercursoIniciado()) contar();
        MostrarSituacao(resumo);
        throw;
    } catch (...) {
        encerrar();
        throw;
    }
    encerrar();
    contar();
    resumo.faltou = imp.AvisoIncompleta();
    resumo.diario = imp.AvisoDiario();
    resumo.fim = imp.Cancelado()      ? TFimImpressao::Cancelada
                 : EhModeloA4(modelo) ? TFimImpressao::FolhasA4
                                      : TFimImpressao::Completa;
    MostrarSituacao(resumo);
}
