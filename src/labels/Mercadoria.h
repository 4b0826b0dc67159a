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

namespace fb { class TQuery; }
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
};

// The goods statement of the queue window: 19 lines, the columns in lines 0 to
// 3, " from Mercadorias" in line 4, line 10 replaced by the condition of each
// look-up ("where cod_red=0" + code: an empty code selects code 0).
std::vector<std::string> LinhasSelectMercadorias();

class TBuscaMercadoriasBanco : public TBuscaMercadorias {
public:
    explicit TBuscaMercadoriasBanco(fb::TQuery& tblMercadorias) : qry_(tblMercadorias) {}
    bool Buscar(const std::string& codigo, TMercadoria& destino) override;

private:
    fb::TQuery& qry_;
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

// Characters a..b (1-based) of a UTF-8 text: empty when it is shorter than a.
std::string Trecho(std::string_view texto, int a, int b);
