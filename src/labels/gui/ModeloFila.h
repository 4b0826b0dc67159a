#pragma once
// The queue table as the grid of the queue window shows it: six columns, the
// price with thousands and three decimals, price and count editable, and the
// colours that tell the count column and every other row apart. Cells read
// the table without moving it; an edit moves the table to its row, as the
// grid's current row, and leaves it in edit state until Enter ends the edit,
// the row is left or the print button posts it.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QAbstractTableModel>

#include "common/Decimal.h"
#include "data/EtiquetaAtual.h"

class TTabela;
class TValor;

struct TColunaFila {
    const char* campo;
    const char* titulo;
    int largura;  // 0: the grid's default
    bool editavel;
};

class TModeloFila : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TModeloFila(TTabela& tabela, QObject* parent = nullptr);

    static const std::vector<TColunaFila>& Colunas();
    static int ColunaDoCampo(const char* campo);  // -1 when not shown

    // Reads the rows again (after open, close, order, add, delete, print).
    void Recarregar();

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int papel) override;
    // The grid ends an edit with Enter or by leaving the row: the window
    // writes the row (AoSubmeter) there, not only at the next print.
    bool submit() override;
    std::function<void()> AoSubmeter;
    // A count typed in a row: the value it had and the one it got (NULL as 0).
    std::function<void(const Decimal& antes, const Decimal& depois)> AoMudarQuantidade;
    // A queue built from stale labels: each code's last label, told in the
    // tool tip of the price (what the label said, what the goods say now).
    std::unordered_map<int64_t, TEtiquetaAtual> EtiquetasAnteriores;

private:
    QString Texto(const TValor& v, int coluna, bool edicao) const;

    TTabela& tabela_;
    int linhas_ = 0;
    std::vector<int> campos_;  // table column of each grid column
};

// "#,##0.000": thousands grouped, three decimals, the locale's separators.
std::string FormataPreco(const Decimal& valor);
// Stock as the grid shows it: a whole count without decimals ("277"), a
// fraction with the decimals of its value's scale ("77,860").
std::string FormataEstoque(const Decimal& valor);
// A number typed in a cell: the locale's or the point separator, thousands
// groups allowed when a decimal separator follows; empty gives no value.
// EConvertError when it is no number.
bool LerNumeroDigitado(const std::string& texto, Decimal& valor);
