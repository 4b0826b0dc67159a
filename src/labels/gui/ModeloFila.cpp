#include "labels/gui/ModeloFila.h"

#include <QBrush>
#include <QColor>

#include "common/Excecoes.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"
#include "data/Tabela.h"
#include "data/fb/VigiaServidor.h"

namespace {

const int kPreco = 3;
const int kEstoque = 4;
const int kQuantidade = 5;

char SeparadorMilhar() { return SeparadorDecimal() == ',' ? '.' : ','; }

}  // namespace

std::string FormataPreco(const Decimal& valor) {
    std::string t = valor.Formatar(3, SeparadorDecimal());
    const size_t inicio = (!t.empty() && t[0] == '-') ? 1 : 0;
    const size_t fim = t.size() - 4;  // the separator and three decimals
    std::string r = t.substr(0, inicio);
    for (size_t i = inicio; i < fim; ++i) {
        r += t[i];
        const size_t restam = fim - i - 1;
        if (restam > 0 && restam % 3 == 0) r += SeparadorMilhar();
    }
    return r + t.substr(fim);
}

std::string FormataEstoque(const Decimal& valor) {
    // Counted goods read whole; weighed ones keep every decimal their column
    // has, so "77,860" lines up under "249,793".
    if (valor == Decimal(valor.ParteInteira())) return valor.Formatar(0, SeparadorDecimal());
    return valor.Formatar(valor.Escala(), SeparadorDecimal());
}

bool LerNumeroDigitado(const std::string& texto, Decimal& valor) {
    std::string t = Trim(texto);
    if (t.empty()) return false;
    const char dec = SeparadorDecimal(), mil = SeparadorMilhar();
    // "1.234,5": the groups go; "12.5" and "12,5" are both read as twelve and a half.
    if (t.find(dec) != std::string::npos && t.find(mil) != std::string::npos && t.rfind(mil) < t.find(dec)) {
        std::string s;
        for (char c : t)
            if (c != mil) s += c;
        t = s;
    }
    valor = Decimal::DeTexto(t);
    return true;
}

TModeloFila::TModeloFila(TTabela& tabela, QObject* parent) : QAbstractTableModel(parent), tabela_(tabela) {}

const std::vector<TColunaFila>& TModeloFila::Colunas() {
    static const std::vector<TColunaFila> colunas = {
        {"CODIGO", " ", 58, false},
        {"BARRAS", "Código de Barras", 126, false},
        {"NOME", "Nome do produto", 337, false},
        {"VLR_VEN", "Valor de venda", 91, true},
        {"ESTOQUE", "Estoque", 63, false},
        {"QUANTIDADE", "Quantidade", 0, true},
    };
    return colunas;
}

int TModeloFila::ColunaDoCampo(const char* campo) {
    const auto& c = Colunas();
    for (size_t i = 0; i < c.size(); ++i)
        if (IguaisSemCaixa(c[i].campo, campo)) return static_cast<int>(i);
    return -1;
}

void TModeloFila::Recarregar() {
    beginResetModel();
    campos_.clear();
    linhas_ = 0;
    if (tabela_.Active()) {
        for (const auto& c : Colunas()) campos_.push_back(tabela_.IndiceCampo(c.campo));
        linhas_ = static_cast<int>(tabela_.RecordCount());
    }
    endResetModel();
}

int TModeloFila::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : linhas_; }

int TModeloFila::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(Colunas().size());
}

QString TModeloFila::Texto(const TValor& v, int coluna, bool edicao) const {
    if (v.IsNull()) return {};
    if (coluna == kPreco) return QString::fromStdString(FormataPreco(v.AsDecimal()));
    if (coluna == kEstoque && v.Tipo() == TTipoCampo::Decimal)
        return QString::fromStdString(FormataEstoque(v.AsDecimal()));
    if (v.Tipo() == TTipoCampo::Decimal) return QString::fromStdString(FormataNumero(v.AsDecimal()));
    return QString::fromStdString(v.AsString());
}

QVariant TModeloFila::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid() || indice.row() >= linhas_ || static_cast<size_t>(indice.column()) >= campos_.size())
        return {};
    const int coluna = indice.column();
    if (papel == Qt::BackgroundRole) {
        if (coluna == kQuantidade) return QBrush(QColor(128, 255, 128));
        // record numbers count from 1: even ones are the second, fourth...
        if ((indice.row() + 1) % 2 == 0) return QBrush(QColor(255, 128, 128));
        return {};
    }
    if (papel == Qt::TextAlignmentRole) {
        if (coluna == 0 || coluna >= kPreco) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    if (papel == Qt::ToolTipRole) {
        if (coluna != kPreco || EtiquetasAnteriores.empty() || !tabela_.Active()) return {};
        try {
            const int codigo = tabela_.IndiceCampo("CODIGO");
            if (codigo < 0) return {};
            const auto e =
                EtiquetasAnteriores.find(tabela_.Valor(static_cast<size_t>(indice.row()), codigo).AsInteger());
            if (e == EtiquetasAnteriores.end()) return {};
            const Decimal agora =
                tabela_.Valor(static_cast<size_t>(indice.row()), campos_[static_cast<size_t>(coluna)]).AsDecimal();
            return QString::fromStdString(TextoEtiquetaAnterior(e->second, agora));
        } catch (const std::exception&) {
            return {};
        }
    }
    if (papel != Qt::DisplayRole && papel != Qt::EditRole) return {};
    // A call waits for the server beside the screen (perhaps fetching these
    // very rows): the table is not touched until it ends.
    if (fb::ChamadaEmEspera()) return {};
    try {
        // The rows may have changed under the grid (another print filter): an empty cell, not a failure.
        if (!tabela_.Active() || campos_[static_cast<size_t>(coluna)] < 0) return {};
        return Texto(tabela_.Valor(static_cast<size_t>(indice.row()), campos_[static_cast<size_t>(coluna)]), coluna,
                     papel == Qt::EditRole);
    } catch (const std::exception&) {
        return {};
    }
}

bool TModeloFila::submit() {
    if (AoSubmeter) AoSubmeter();
    return true;
}

QVariant TModeloFila::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (orientacao == Qt::Vertical && papel == Qt::DisplayRole) return QString();  // an indicator column, no numbers
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole)
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    if (secao < 0 || static_cast<size_t>(secao) >= Colunas().size()) return {};
    return QString::fromUtf8(Colunas()[static_cast<size_t>(secao)].titulo);
}

Qt::ItemFlags TModeloFila::flags(const QModelIndex& indice) const {
    if (!indice.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Colunas()[static_cast<size_t>(indice.column())].editavel) f |= Qt::ItemIsEditable;
    return f;
}

bool TModeloFila::setData(const QModelIndex& indice, const QVariant& valor, int papel) {
    if (papel != Qt::EditRole || !(flags(indice) & Qt::ItemIsEditable) || indice.row() >= linhas_) return false;
    bool gravou = false;
    Protegido(this, [&] {
        Decimal numero;
        TValor novo = LerNumeroDigitado(valor.toString().toStdString(), numero) ? TValor::Dec(numero) : TValor::Nulo();
        // The grid edits its current row: leaving another row posts that one first.
        const size_t recno = static_cast<size_t>(indice.row()) + 1;
        if (tabela_.RecNo() != recno) tabela_.SetRecNo(recno);
        const char* campo = Colunas()[static_cast<size_t>(indice.column())].campo;
        const Decimal antes = tabela_.FieldByName(campo).AsDecimal();
        tabela_.SetCampo(campo, novo);
        gravou = true;
        if (indice.column() == kQuantidade && AoMudarQuantidade) AoMudarQuantidade(antes, novo.AsDecimal());
    });
    if (gravou) emit dataChanged(index(indice.row(), 0), index(indice.row(), columnCount() - 1));
    return gravou;
}
