#pragma once
// What one label reads: the queue row (ETIQUETAREAD) and the goods row the
// walk looked up for it (the columns of the goods statement). Texts are UTF-8
// as the database layer gives them; NULL texts read as "", NULL amounts as 0.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Decimal.h"
#include "common/UFuncoes.h"

namespace fb {
class TQuery;
}
class TTabela;

struct TLinhaFila {
    std::string CODIGO;  // decimal text ("" when NULL)
    std::string BARRAS;
    std::string NOME;
    std::string SO_NOME;
    std::string NRO_LOTE;
    Decimal VLR_VEN;
    Decimal QUANTIDADE;
    Decimal ESTOQUE;
};

struct TMercadoria {
    int64_t COD_RED = 0;
    std::string COD_BAR, NOM_MER, APE_CUP, REF_MER, LOC_MER, UNI_MER, ICM_PROG;
    std::string APLICACAO, APLICACAO2, SIMILARES, VALORLETRAS;
    Decimal VLR_VEN, VLR_VEN_2, VLR_VEN_3, VLR_COM, VLR_CUS, CUSTO_OPE, QTD_EST;
    int64_t GARANTIA = 0;
    std::optional<TDateTime> DATA_CAD;
};

// The goods look-up of the walk, one call per queue row with labels to print.
// The program asks the database; a benchmark may serve rows from memory.
class TBuscaMercadorias {
public:
    virtual ~TBuscaMercadorias() = default;
    // `codigo` is the queue row's CODIGO as decimal text (possibly empty).
    // False when no goods row has that code; `destino` is then left as it was.
    virtual bool Buscar(const std::string& codigo, TMercadoria& destino) = 0;
    // The codes the walk will ask for next, in its order: a look-up that
    // reaches a server may fetch them all at once. Asking for others still works.
    virtual void Antecipar(const std::vector<std::string>& codigos) {}
    // How many codes Antecipar takes at a time (0: it does not need them).
    virtual size_t CodigosPorAntecipacao() const { return 0; }
};

// The goods statement of the queue window: 19 lines, the columns in lines 0 to
// 3, " from Mercadorias" in line 4, line 10 replaced by the condition of each
// look-up ("where cod_red=0" + code: an empty code selects code 0).
std::vector<std::string> LinhasSelectMercadorias();

// The goods of the walk from the database. Antecipar reads the goods of up
// to kCodigosPorConsulta codes in one prepared statement (the same columns,
// "where cod_red in (?, ...)"), so a print costs a few requests per block of
// queue rows instead of a prepare and an open per row; a code it was not
// given goes by the goods statement with line 10 as before.
class TBuscaMercadoriasBanco : public TBuscaMercadorias {
public:
    static constexpr size_t kCodigosPorConsulta = 200;

    explicit TBuscaMercadoriasBanco(fb::TQuery& tblMercadorias);
    ~TBuscaMercadoriasBanco() override;
    bool Buscar(const std::string& codigo, TMercadoria& destino) override;
    void Antecipar(const std::vector<std::string>& codigos) override;
    size_t CodigosPorAntecipacao() const override { return kCodigosPorConsulta; }

private:
    fb::TQuery& qry_;
    std::unique_ptr<fb::TQuery> lote_;  // the prepared statement of Antecipar
    // The codes of the last Antecipar, with their goods row (none when missing).
    std::unordered_map<std::string, std::optional<TMercadoria>> antecipadas_;
};

// Goods served from memory, keyed by the queue's CODIGO text: benchmarks
// timing the walk without the database, tests of the layouts without one.
class TBuscaMercadoriasMemoria : public TBuscaMercadorias {
public:
    std::unordered_map<std::string, TMercadoria> linhas;
    bool Buscar(const std::string& codigo, TMercadoria& destino) override;
};

// Reads the current row of the queue table (SO_NOME "" on shops without it).
TLinhaFila LerLinhaFila(const TTabela& fila);

// Label count of a queue QUANTIDADE: rounded to the nearest integer, halves to
// even (2.5 gives 2, 3.5 gives 4, 0.4 gives 0).
int64_t ContagemEtiquetas(const Decimal& quantidade);
// The same rounding as an SQL expression over a column (for a count above 0).
std::string SqlEtiquetasDaQuantidade(const std::string& coluna);

// Characters a..b (1-based) of a UTF-8 text: empty when it is shorter than a.
std::string Trecho(std::string_view texto, int a, int b);
