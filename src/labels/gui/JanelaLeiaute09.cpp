#include "labels/gui/JanelaLeiaute09.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/ConfigEtq.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "common/gui/FuncoesGui.h"
#include "data/udtmAplicativo.h"

namespace {

// Key of configEtq.ini with the label stock's height the warnings use; the
// table has no column for it.
constexpr const char* kChaveAltura = "ALTURA ETIQUETA 09";

constexpr TColuna09 kColunas[] = {TColuna09::Imprime,    TColuna09::Texto,   TColuna09::Fonte,   TColuna09::Vertical,
                                  TColuna09::Horizontal, TColuna09::Tamanho, TColuna09::Variante};

// A cell edited through a list that also takes a typed text.
class TDelegadoEscolha : public QStyledItemDelegate {
public:
    TDelegadoEscolha(QStringList itens, QObject* pai) : QStyledItemDelegate(pai), itens_(std::move(itens)) {}
    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* c = new QComboBox(pai);
        c->setEditable(true);
        c->addItems(itens_);
        c->setMaxVisibleItems(22);
        return c;
    }
    void setEditorData(QWidget* editor, const QModelIndex& i) const override {
        static_cast<QComboBox*>(editor)->setCurrentText(i.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const override {
        m->setData(i, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }

private:
    QStringList itens_;
};

QStringList Lista(const std::vector<std::string>& v) {
    QStringList r;
    for (const std::string& s : v) r << ParaQString(s);
    return r;
}

bool EBarras(const TCampo09& c) { return Utf8::Maiusculas(c.nome) == "CODIGO DE BARRAS"; }

int PerguntaAoFecharQt(QWidget* pai) {
    QMessageBox caixa(QMessageBox::Question, QStringLiteral("Editor de etiqueta (modelo 09)"),
                      QStringLiteral("O desenho tem mudanças que não foram salvas. Salvar antes de fechar?"),
                      QMessageBox::NoButton, pai);
    QPushButton* salvar = caixa.addButton(QStringLiteral("Salvar"), QMessageBox::AcceptRole);
    QPushButton* descartar = caixa.addButton(QStringLiteral("Descartar"), QMessageBox::DestructiveRole);
    caixa.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    caixa.setDefaultButton(salvar);
    caixa.exec();
    if (caixa.clickedButton() == salvar) return 0;
    if (caixa.clickedButton() == descartar) return 1;
    return 2;
}

}  // namespace

// ---------------------------------------------------------------- picture

TFiguraEditor09::TFiguraEditor09(QWidget* pai) : QWidget(pai) {
    setObjectName("pnlFigura");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(420, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TFiguraEditor09::Definir(const previa::TFigura09* figura, int selecionado) {
    figura_ = figura;
    selecionado_ = selecionado;
    update();
}

double TFiguraEditor09::Escala() const {
    if (!figura_ || figura_->imagem.isNull()) return 1;
    const double l = (width() - 16.0) / figura_->imagem.width(), a = (height() - 16.0) / figura_->imagem.height();
    return std::clamp(std::min(l, a), 0.05, 2.0);
}

QPoint TFiguraEditor09::Dots(QPoint p) const {
    const double s = Escala();
    return QPoint(static_cast<int>(std::floor((p.x() - 8) / s)), static_cast<int>(std::floor((p.y() - 8) / s)));
}

QPoint TFiguraEditor09::Ponto(QPoint d) const {
    const double s = Escala();
    return QPoint(static_cast<int>(std::lround(d.x() * s + s / 2)) + 8,
                  static_cast<int>(std::lround(d.y() * s + s / 2)) + 8);
}

void TFiguraEditor09::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf0, 0xf0, 0xf0));
    if (hasFocus()) {
        p.setPen(QColor(0x60, 0x90, 0xd0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!figura_ || figura_->imagem.isNull()) {
        p.setPen(QColor(0x90, 0x40, 0x00));
        p.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                   ParaQString(figura_ ? figura_->erro : std::string()));
        return;
    }
    const double s = Escala();
    p.translate(8, 8);
    p.scale(s, s);
    p.setRenderHint(QPainter::SmoothPixmapTransform, s < 1);
    p.drawImage(0, 0, figura_->imagem);
    // The stock's edges: where each label of the row begins and ends.
    QPen borda(QColor(0x3c, 0x8d, 0xd8), 1.5 / s, Qt::DashLine);
    p.setPen(borda);
    p.setBrush(Qt::NoBrush);
    for (const QRect& e : figura_->etiquetas) p.drawRect(QRectF(e).adjusted(0, 0, -0.5, -0.5));
    p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2 / s));
    for (const previa::TElementoFigura09& e : figura_->elementos)
        if (e.campo == selecionado_ && !e.caixa.isEmpty()) p.drawRect(QRectF(e.caixa).adjusted(-2, -2, 2, 2));
}

void TFiguraEditor09::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton) return;
    arrastando_ = true;
    inicio_ = Dots(e->position().toPoint());
    if (AoPressionar) AoPressionar(inicio_);
}

void TFiguraEditor09::mouseMoveEvent(QMouseEvent* e) {
    if (!arrastando_ || !(e->buttons() & Qt::LeftButton)) return;
    if (AoArrastar) AoArrastar(Dots(e->position().toPoint()) - inicio_);
}

void TFiguraEditor09::mouseReleaseEvent(QMouseEvent*) {
    if (!arrastando_) return;
    arrastando_ = false;
    if (AoSoltar) AoSoltar();
}

void TFiguraEditor09::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (AoTecla) AoTecla(e->key(), e->modifiers() & Qt::ShiftModifier);
            e->accept();
            return;
        default: QWidget::keyPressEvent(e);
    }
}

// ---------------------------------------------------------------- window

TfrmLeiaute09::TfrmLeiaute09(TdtmAplicativo& dtm, const previa::TAmbiente09& ambiente, QWidget* pai)
    : QDialog(pai), dtm_(dtm), ambiente_(ambiente) {
    setObjectName("frmLeiaute09");
    setWindowTitle(QStringLiteral("Editor de etiqueta (modelo 09)"));
    resize(1220, 660);

    auto rotulo = [this](const char* texto) { return new QLabel(QString::fromUtf8(texto), this); };
    auto edit = [this](const char* nome, int largura) {
        auto* e = new QLineEdit(this);
        e->setObjectName(nome);
        e->setFixedWidth(largura);
        return e;
    };
    edtPorLinha = edit("edtPorLinha", 48);
    edtPorLinha->setToolTip(QStringLiteral("Etiquetas lado a lado numa linha (ORD_IMP da linha 113)"));
    edtPasso = edit("edtPasso", 48);
    edtPasso->setToolTip(
        QStringLiteral("Distância entre o começo de uma etiqueta e o da seguinte, em mm (TAM_IMP "
                       "da linha 113)"));
    edtAltura = edit("edtAltura", 48);
    edtAltura->setToolTip(QStringLiteral("Altura do rolo de etiquetas, só para os avisos (não vai para a tabela)"));
    cmbMercadorias = new QComboBox(this);
    cmbMercadorias->setObjectName("cmbMercadorias");
    cmbMercadorias->addItems({QStringLiteral("Mercadorias de exemplo"), QStringLiteral("Mercadorias da fila")});

    auto* cabecalho = new QHBoxLayout;
    cabecalho->addWidget(rotulo("Etiquetas por linha"));
    cabecalho->addWidget(edtPorLinha);
    cabecalho->addSpacing(12);
    cabecalho->addWidget(rotulo("Passo entre colunas (mm)"));
    cabecalho->addWidget(edtPasso);
    cabecalho->addSpacing(12);
    cabecalho->addWidget(rotulo("Altura da etiqueta (mm)"));
    cabecalho->addWidget(edtAltura);
    cabecalho->addSpacing(12);
    cabecalho->addWidget(rotulo("Desenhar sobre"));
    cabecalho->addWidget(cmbMercadorias);
    cabecalho->addStretch(1);

    lblImpressora = new QLabel(this);
    lblImpressora->setObjectName("lblImpressora");
    const std::string& l = ambiente_.linguagem;
    const bool conhecida = l == "PPLA" || l == "PPLB" || l == "ZPL" || l == "EPL2";
    lblImpressora->setText(
        ParaQString("Impressora configurada: " + (conhecida ? l : std::string("PPLA (nenhuma escolhida)")) + ", " +
                    (ambiente_.impressora == "ELGIN" ? "Elgin" : "Argox") + "; adicional de colunas " +
                    std::to_string(ambiente_.addColuna) +
                    " décimos de mm. A etiqueta é desenhada do fluxo que o modelo 09 envia à impressora."));
    lblImpressora->setWordWrap(true);

    tblCampos = new QTableWidget(0, 7, this);
    tblCampos->setObjectName("tblCampos");
    tblCampos->setHorizontalHeaderLabels({QStringLiteral("Imprime"), QStringLiteral("Texto livre"),
                                          QStringLiteral("Fonte"), QStringLiteral("Vertical (mm)"),
                                          QStringLiteral("Horizontal (mm)"), QStringLiteral("Tamanho"),
                                          QStringLiteral("Variante")});
    const char* dicas[] = {
        "O que o campo imprime (NOM_CAMPO): um campo da mercadoria, CODIGO DE BARRAS ou TEXTO LIVRE",
        "O texto de um campo TEXTO LIVRE (TIT_CAMPO)",
        "Fonte da impressora (AUX_1)",
        "Posição vertical em mm inteiros (AUX_2); a ordem de impressão segue ela",
        "Posição horizontal em mm inteiros a partir do começo da etiqueta (AUX_3)",
        "Texto: quantos caracteres saem no máximo; código de barras: altura das barras em 0,4 mm (TAM_IMP)",
        "Só no código de barras: a letra que decide os números e o tipo (AUX_4)",
    };
    for (int c = 0; c < 7; ++c) tblCampos->horizontalHeaderItem(c)->setToolTip(QString::fromUtf8(dicas[c]));
    tblCampos->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblCampos->setSelectionMode(QAbstractItemView::SingleSelection);
    tblCampos->setItemDelegateForColumn(0, new TDelegadoEscolha(Lista(TEditorLeiaute09::Escolhas()), tblCampos));
    tblCampos->setItemDelegateForColumn(6, new TDelegadoEscolha({"A", "D", "T", "N"}, tblCampos));
    tblCampos->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblCampos->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblCampos->setMinimumWidth(560);

    cmbNovoCampo = new QComboBox(this);
    cmbNovoCampo->setObjectName("cmbNovoCampo");
    cmbNovoCampo->addItems(Lista(TEditorLeiaute09::Escolhas()));
    cmbNovoCampo->setCurrentText(QStringLiteral("NOME"));
    auto botao = [this](const char* texto, const char* nome) {
        auto* b = new QPushButton(QString::fromUtf8(texto), this);
        b->setObjectName(nome);
        b->setAutoDefault(false);
        return b;
    };
    btnAdicionar = botao("Adicionar campo", "btnAdicionar");
    btnRemover = botao("Remover", "btnRemover");
    btnSubir = botao("Subir", "btnSubir");
    btnDescer = botao("Descer", "btnDescer");
    auto* linhas = new QHBoxLayout;
    linhas->addWidget(cmbNovoCampo, 1);
    linhas->addWidget(btnAdicionar);
    linhas->addWidget(btnRemover);
    linhas->addWidget(btnSubir);
    linhas->addWidget(btnDescer);

    lblVariante = new QLabel(this);
    lblVariante->setObjectName("lblVariante");
    lblVariante->setWordWrap(true);

    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(tblCampos, 1);
    esquerda->addLayout(linhas);
    esquerda->addWidget(lblVariante);

    pnlFigura = new TFiguraEditor09(this);
    lstAvisos = new QListWidget(this);
    lstAvisos->setObjectName("lstAvisos");
    lstAvisos->setWordWrap(true);
    auto* direita = new QVBoxLayout;
    direita->addWidget(pnlFigura, 3);
    direita->addWidget(rotulo("Avisos (não impedem salvar)"));
    direita->addWidget(lstAvisos, 2);

    auto* meio = new QHBoxLayout;
    meio->addLayout(esquerda, 5);
    meio->addLayout(direita, 6);

    lblNota = new QLabel(this);
    lblNota->setObjectName("lblNota");
    lblNota->setWordWrap(true);
    lblNota->setStyleSheet(QStringLiteral("color: maroon"));

    btnSalvar = botao("Salvar", "btnSalvar");
    btnDescartar = botao("Descartar", "btnDescartar");
    btnFechar = botao("Fechar", "btnFechar");
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(lblNota, 1);
    rodape->addWidget(btnSalvar);
    rodape->addWidget(btnDescartar);
    rodape->addWidget(btnFechar);

    auto* tudo = new QVBoxLayout(this);
    tudo->addLayout(cabecalho);
    tudo->addWidget(lblImpressora);
    tudo->addLayout(meio, 1);
    tudo->addLayout(rodape);

    Perguntar = [](const std::string& p) { return InterfaceUsuario().Confirma(p); };
    PerguntarAoFechar = [this] { return PerguntaAoFecharQt(this); };

    connect(tblCampos, &QTableWidget::cellChanged, this,
            [this](int l, int c) { Protegido(this, [&] { CelulaMudou(l, c); }); });
    connect(tblCampos, &QTableWidget::itemSelectionChanged, this, [this] {
        if (mostrando_) return;
        const QModelIndexList linhas = tblCampos->selectionModel()->selectedRows();
        editor_.Selecionar(linhas.isEmpty() ? -1 : linhas.front().row());
        pnlFigura->Definir(&figura_, editor_.Selecionado());
        MostrarTabela();
    });
    for (QLineEdit* e : {edtPorLinha, edtPasso, edtAltura})
        connect(e, &QLineEdit::editingFinished, this, [this, e] { Protegido(this, [&] { CabecalhoMudou(e); }); });
    connect(cmbMercadorias, &QComboBox::currentIndexChanged, this,
            [this] { Protegido(this, [&] { TrocarMercadorias(); }); });
    connect(btnAdicionar, &QPushButton::clicked, this, [this] {
        editor_.Adicionar(ParaStd(cmbNovoCampo->currentText()));
        Atualizar();
    });
    connect(btnRemover, &QPushButton::clicked, this, [this] {
        if (editor_.Selecionado() < 0) return Nota("Escolha na tabela o campo a remover.");
        editor_.Remover(editor_.Selecionado());
        Atualizar();
    });
    connect(btnSubir, &QPushButton::clicked, this, [this] {
        Nota(editor_.Subir(editor_.Selecionado()));
        Atualizar();
    });
    connect(btnDescer, &QPushButton::clicked, this, [this] {
        Nota(editor_.Descer(editor_.Selecionado()));
        Atualizar();
    });
    connect(btnSalvar, &QPushButton::clicked, this, [this] { Salvar(); });
    connect(btnDescartar, &QPushButton::clicked, this, [this] { Recarregar(); });
    connect(btnFechar, &QPushButton::clicked, this, [this] { reject(); });
    connect(lstAvisos, &QListWidget::currentRowChanged, this, [this](int i) {
        if (i < 0 || i >= static_cast<int>(figura_.avisos.size()) || figura_.avisos[i].campo < 0) return;
        editor_.Selecionar(figura_.avisos[i].campo);
        pnlFigura->Definir(&figura_, editor_.Selecionado());
        MostrarTabela();
    });
    pnlFigura->AoPressionar = [this](QPoint d) { Pressionar(d); };
    pnlFigura->AoArrastar = [this](QPoint d) { Arrastar(d); };
    pnlFigura->AoSoltar = [this] { arrastado_ = -1; };
    pnlFigura->AoTecla = [this](int t, bool shift) { Tecla(t, shift); };

    const std::string altura = LerConfig(kChaveAltura);
    std::string erro;
    if (const auto v = InteiroLeiaute09(altura, erro)) ambiente_.alturaMm = *v;
    edtAltura->setText(ambiente_.alturaMm > 0 ? QString::number(ambiente_.alturaMm) : QString());
    Recarregar();
}

TfrmLeiaute09::~TfrmLeiaute09() = default;

void TfrmLeiaute09::Nota(const std::string& texto) { lblNota->setText(ParaQString(texto)); }

void TfrmLeiaute09::Recusar(const std::string& erro) {
    Nota("Valor recusado: " + erro);
    InterfaceUsuario().Mensagem(erro);
}

void TfrmLeiaute09::Recarregar() {
    TLeiaute09 lido;
    std::string nota;
    try {
        lido = LerLeiaute09(dtm_.dtbAplicativo);
    } catch (const std::exception& e) {
        nota = std::string("Não foi possível ler o desenho da tabela FormatMrg: ") + e.what();
    }
    editor_.Carregar(lido);
    if (!nota.empty()) {
    } else if (lido.Vazio())
        nota =
            "A tabela FormatMrg não tem desenho do modelo 09: o editor começa um desenho vazio. Escolha um campo e "
            "clique em \"Adicionar campo\"; nada vai para a tabela antes de \"Salvar\".";
    else if (!lido.temCabecalho)
        nota =
            "O desenho não tem a linha de cabeçalho (113): ao salvar, ela é criada com as etiquetas por linha e o "
            "passo acima.";
    else if (lido.campos.empty())
        nota = "O desenho não tem linhas de campo: o editor começa com a etiqueta vazia.";
    Nota(nota);
    Atualizar();
}

bool TfrmLeiaute09::Salvar() {
    const int selecionado = editor_.Selecionado();
    try {
        GravarLeiaute09(dtm_.dtbAplicativo, editor_.Atual(), editor_.Lido());
    } catch (const EDesenhoAlterado09&) {
        if (Perguntar("Outra estação alterou o desenho do modelo 09 depois que ele foi aberto aqui, e nada foi "
                      "salvo.\n\nRecarregar o desenho da tabela? As mudanças feitas aqui se perdem.")) {
            Recarregar();
            Nota("Desenho recarregado da tabela: as mudanças da outra estação estão na tela.");
        } else {
            Nota("Nada foi salvo: outra estação alterou o desenho. \"Descartar\" recarrega o da tabela.");
        }
        return false;
    } catch (const std::exception& e) {
        Nota("Nada foi salvo.");
        InterfaceUsuario().Mensagem(e.what());
        return false;
    }
    Recarregar();
    editor_.Selecionar(selecionado);
    Atualizar();
    Nota("Desenho salvo na tabela FormatMrg (" + std::to_string(editor_.Atual().campos.size()) + " campo(s)).");
    return true;
}

void TfrmLeiaute09::Atualizar() {
    edtPorLinha->setText(QString::number(editor_.Atual().porLinha));
    edtPasso->setText(QString::number(editor_.Atual().passo));
    MostrarTabela();
    Redesenhar();
}

void TfrmLeiaute09::MostrarTabela() {
    mostrando_ = true;
    const TLeiaute09& l = editor_.Atual();
    const int n = static_cast<int>(l.campos.size());
    tblCampos->setRowCount(n);
    const QColor cinza(0xe8, 0xe8, 0xe8);
    for (int i = 0; i < n; ++i) {
        const TCampo09& c = l.campos[static_cast<size_t>(i)];
        for (int k = 0; k < 7; ++k) {
            QTableWidgetItem* item = tblCampos->item(i, k);
            if (!item) {
                item = new QTableWidgetItem;
                tblCampos->setItem(i, k, item);
            }
            item->setText(ParaQString(editor_.TextoCelula(i, kColunas[k])));
            // The variant only means something on the barcode row.
            const bool semSentido = kColunas[k] == TColuna09::Variante && !EBarras(c) && c.variante.empty();
            item->setBackground(semSentido ? QBrush(cinza) : QBrush());
        }
    }
    const int s = editor_.Selecionado();
    if (s >= 0)
        tblCampos->selectRow(s);
    else
        tblCampos->clearSelection();
    // The barcode row's variant in words: the selected row's, else the first one's.
    int barras = s >= 0 && EBarras(l.campos[static_cast<size_t>(s)]) ? s : -1;
    for (int i = 0; i < n && barras < 0; ++i)
        if (EBarras(l.campos[static_cast<size_t>(i)])) barras = i;
    const TCdbETQModelo linguagem = LinguagemDoTexto09(ambiente_.linguagem);
    if (barras < 0) {
        lblVariante->setText(QStringLiteral("Variante (AUX_4): só no código de barras, que o desenho não tem."));
        lblVariante->setToolTip(QString());
    } else {
        const std::string& v = l.campos[static_cast<size_t>(barras)].variante;
        lblVariante->setText(ParaQString("Variante \"" + v + "\" do código de barras (campo " +
                                         std::to_string(barras + 1) +
                                         "): " + DescricaoVariante09(v, linguagem, ambiente_.impressora)));
        std::string dica;
        for (const char* letra : {"A", "D", "T", "N"})
            dica += std::string(letra) + ": " + DescricaoVariante09(letra, linguagem, ambiente_.impressora) + "\n";
        lblVariante->setToolTip(ParaQString(dica));
    }
    mostrando_ = false;
}

void TfrmLeiaute09::Redesenhar() {
    QElapsedTimer relogio;
    relogio.start();
    figura_ = previa::DesenharLeiaute09(editor_.Atual(), ambiente_, dtm_);
    pnlFigura->Definir(&figura_, editor_.Selecionado());
    lstAvisos->clear();
    if (!figura_.erro.empty()) lstAvisos->addItem(ParaQString(figura_.erro));
    for (const TAviso09& a : figura_.avisos) lstAvisos->addItem(ParaQString(a.texto));
    ultimoMs_ = relogio.nsecsElapsed() / 1e6;
}

void TfrmLeiaute09::CelulaMudou(int linha, int coluna) {
    if (mostrando_ || coluna < 0 || coluna >= 7) return;
    const std::string texto = ParaStd(tblCampos->item(linha, coluna)->text());
    if (texto == editor_.TextoCelula(linha, kColunas[coluna])) return;
    const std::string erro = editor_.DefinirCelula(linha, kColunas[coluna], texto);
    if (!erro.empty()) {
        MostrarTabela();  // the cell shows the value kept
        Recusar(erro);
        return;
    }
    Nota("");
    MostrarTabela();
    Redesenhar();
}

void TfrmLeiaute09::CabecalhoMudou(QLineEdit* edt) {
    const std::string texto = ParaStd(edt->text());
    std::string erro;
    if (edt == edtAltura) {
        if (Trim(texto).empty()) {
            ambiente_.alturaMm = 0;
        } else if (const auto v = InteiroLeiaute09(texto, erro)) {
            ambiente_.alturaMm = *v;
        } else {
            edt->setText(ambiente_.alturaMm > 0 ? QString::number(ambiente_.alturaMm) : QString());
            return Recusar(erro);
        }
        if (Trim(LerConfig(kChaveAltura)) != Trim(texto)) GravarConfig(kChaveAltura, Trim(texto));
        Redesenhar();
        return;
    }
    const int antes = edt == edtPorLinha ? editor_.Atual().porLinha : editor_.Atual().passo;
    erro = edt == edtPorLinha ? editor_.DefinirPorLinha(texto) : editor_.DefinirPasso(texto);
    if (!erro.empty()) {
        edt->setText(QString::number(antes));
        return Recusar(erro);
    }
    if ((edt == edtPorLinha ? editor_.Atual().porLinha : editor_.Atual().passo) != antes) Redesenhar();
}

void TfrmLeiaute09::Pressionar(QPoint dots) {
    const int campo = previa::CampoNoPonto(figura_, dots);
    arrastado_ = -1;
    if (campo < 0) return;
    editor_.Selecionar(campo);
    const TCampo09& c = editor_.Atual().campos[static_cast<size_t>(campo)];
    arrastado_ = campo;
    vertical0_ = c.vertical;
    horizontal0_ = c.horizontal;
    pnlFigura->Definir(&figura_, campo);
    MostrarTabela();
}

void TfrmLeiaute09::Arrastar(QPoint d) {
    if (arrastado_ < 0) return;
    const double dotsPorMm = figura_.dpi / 25.4;
    // PPLA counts the vertical upwards.
    const int sentido = LinguagemDoTexto09(ambiente_.linguagem) == etqPpla ? -1 : 1;
    const int h = horizontal0_ + static_cast<int>(std::lround(d.x() / dotsPorMm));
    const int v = vertical0_ + sentido * static_cast<int>(std::lround(d.y() / dotsPorMm));
    const TCampo09& c = editor_.Atual().campos[static_cast<size_t>(arrastado_)];
    if (std::max(v, 0) == c.vertical && std::max(h, 0) == c.horizontal) return;
    editor_.Posicionar(arrastado_, v, h);
    arrastado_ = editor_.Selecionado();
    MostrarTabela();
    Redesenhar();
}

void TfrmLeiaute09::Tecla(int tecla, bool shift) {
    const int s = editor_.Selecionado();
    if (s < 0) return Nota("Clique num elemento da etiqueta (ou numa linha da tabela) para movê-lo com as setas.");
    if (shift)
        return Nota(
            "As posições são em milímetros inteiros (a tabela guarda a vertical e a horizontal em mm, sem "
            "casas decimais): o menor passo é 1 mm, com as setas sem Shift.");
    const int cima = LinguagemDoTexto09(ambiente_.linguagem) == etqPpla ? 1 : -1;
    int dv = 0, dh = 0;
    if (tecla == Qt::Key_Left) dh = -1;
    if (tecla == Qt::Key_Right) dh = 1;
    if (tecla == Qt::Key_Up) dv = cima;
    if (tecla == Qt::Key_Down) dv = -cima;
    const std::string erro = editor_.Mover(s, dv, dh);
    Nota(erro);
    if (!erro.empty()) return;
    MostrarTabela();
    Redesenhar();
}

void TfrmLeiaute09::TrocarMercadorias() {
    ambiente_.amostra = {};
    if (cmbMercadorias->currentIndex() == 1) {
        ambiente_.amostra = previa::AmostraDaFila09(dtm_, 12);
        if (ambiente_.amostra.fila.empty())
            Nota("A fila de etiquetas não tem mercadorias a imprimir: a etiqueta mostra as mercadorias de exemplo.");
    }
    Redesenhar();
}

void TfrmLeiaute09::closeEvent(QCloseEvent* e) {
    e->ignore();
    reject();
}

void TfrmLeiaute09::reject() {
    if (editor_.Alterado()) {
        const int r = PerguntarAoFechar();
        if (r == 2 || (r == 0 && !Salvar())) return;
    }
    QDialog::reject();
}
