#pragma once
// What the operator does to the label queue (ETIQUETAREAD) besides typing in
// the grid: add goods by barcode or by reference, copy stock into the label
// counts, set the count of one code, sort and search. The queue window and
// etiquetas-cli fila both run these; nothing here knows about widgets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Decimal.h"

class TdtmAplicativo;
class TTabela;

extern const char* const kMercadoriaNaoLocalizada;  // "Mercadoria não localizada"

// The three orders of the queue: the radio buttons and the search edits.
enum class TOrdemFila { Codigo, Barras, Nome };
const char* ColunaDaOrdem(TOrdemFila ordem);  // "CODIGO", "BARRAS", "NOME"

enum class TResultadoAdicao {
    Incluida,       // one row with one label, committed
    NaoLocalizada,  // nothing matches the text: nothing added
    NaoGravada,     // the commit failed; dtmCommit has told the operator and rolled back
};

struct TImportacaoEstoque {
    size_t linhas = 0;     // rows that took their stock
    size_t repetidas = 0;  // further rows of the same goods, set to 0
};
// "Quantidade do estoque importada em N linha(s)." and, when some were,
// " M linha(s) repetida(s) da mesma mercadoria ficaram com 0."
std::string TextoImportacaoEstoque(const TImportacaoEstoque& importacao);

class TFilaOperacoes {
public:
    // tblEtiquetaRead: the queue table the window shows; it may be closed
    // (etiquetas-cli), then it is left closed.
    TFilaOperacoes(TdtmAplicativo& dtm, TTabela& tblEtiquetaRead);

    // Enables the variant look-up when a barcode matches no goods.
    bool ProcessarGrades = false;

    // A goods row whose COD_BAR is the text, else (with ProcessarGrades) a
    // variant whose COD_BAR is it. An open queue table is read again and
    // stands on its first row afterwards; a count typed and not yet posted is
    // posted first, so adding never throws it away.
    TResultadoAdicao AdicionarPorBarras(const std::string& texto);
    // The first goods row whose REF_MER is the text; no variant look-up.
    TResultadoAdicao AdicionarPorReferencia(const std::string& texto);

    // "Importar quantidade do estoque": the first row (in the table's order)
    // of each goods item or variant (CODIGO, BARRAS and NRO_LOTE alike) with
    // ESTOQUE above 0 gets QUANTIDADE := ESTOQUE (same decimal), its further
    // rows (the same code scanned twice) get 0, so the stock is printed once;
    // rows without stock keep their count. The table is opened when closed
    // and ends after its last row. Not committed.
    TImportacaoEstoque ImportarQuantidadeEstoque();

    // QUANTIDADE := quantidade on every row of the code; answers how many. Not committed.
    size_t DefinirQuantidade(int64_t codigo, const Decimal& quantidade);

    // The row the last add wrote (its RDB$DB_KEY as IrParaChave takes it),
    // "" when the last add wrote none.
    const std::string& UltimaIncluida() const { return ultimaIncluida_; }

    // Typed counts are posted before the rows are read again.
    void Ordenar(TOrdemFila ordem);
    // Incremental search: the first row, in the current order, whose column
    // begins with the text, case ignored; no move when none does.
    bool Procurar(TOrdemFila coluna, const std::string& texto);

private:
    void PostarPendente();
    void IncluirMercadoriaAtual();  // from the goods row in result slot 2
    // INSERTFILE of one queue row of the code, noting which row it made.
    void Incluir(const std::string& codigo, const std::vector<std::string>& pares);
    std::vector<std::string> ChavesDoCodigo(const std::string& codigo);
    TResultadoAdicao Gravar();
    std::string ultimaIncluida_;

    TdtmAplicativo& dtm_;
    TTabela& tbl_;
};
