#pragma once
// What the operator does to the label queue (ETIQUETAREAD) besides typing in
// the grid: add goods by barcode or by reference, copy stock into the label
// counts, set the count of one code, sort and search. The queue window and
// etiquetas-cli fila both run these; nothing here knows about widgets.
#include <cstddef>
#include <cstdint>
#include <string>

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

    // "Importar quantidade do estoque": every row with ESTOQUE above 0 gets
    // QUANTIDADE := ESTOQUE (same decimal); the others keep their count. The
    // table is opened when closed and ends after its last row. Not committed.
    // Answers the number of rows that took their stock.
    size_t ImportarQuantidadeEstoque();

    // QUANTIDADE := quantidade on every row of the code; answers how many. Not committed.
    size_t DefinirQuantidade(int64_t codigo, const Decimal& quantidade);

    // Typed counts are posted before the rows are read again.
    void Ordenar(TOrdemFila ordem);
    // Incremental search: the first row, in the current order, whose column
    // begins with the text, case ignored; no move when none does.
    bool Procurar(TOrdemFila coluna, const std::string& texto);

private:
    void PostarPendente();
    void IncluirMercadoriaAtual();  // from the goods row in result slot 2
    TResultadoAdicao Gravar();

    TdtmAplicativo& dtm_;
    TTabela& tbl_;
};
