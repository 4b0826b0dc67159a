#pragma once
// What the labels of one journal row said: the model and the prices it
// printed (data/EtiquetaAtual.h keeps the rest). The walk notes it as it reads
// the row and the journal writes it with the row, then forgets it: it travels
// beside the journal's rows, keyed by run and row, so the row type that the
// walk of every model shares stays as it is.
#include <cstdint>
#include <optional>

#include "common/Decimal.h"

struct TEtiquetaDoDiario {
    int modelo = 0;
    std::optional<Decimal> preco, segundoPreco;  // none: the model prints no such price
};

// What a label of `modelo` said for a queue row priced `precoFila` whose goods
// row is priced `preco` and `segundoPreco`.
TEtiquetaDoDiario EtiquetaDoModelo(int modelo, const Decimal& precoFila, const Decimal& preco,
                                   const Decimal& segundoPreco);

void NotarEtiquetaDoDiario(int64_t diario, int64_t ordem, const TEtiquetaDoDiario& e);
std::optional<TEtiquetaDoDiario> TomarEtiquetaDoDiario(int64_t diario, int64_t ordem);
void EsquecerEtiquetasDoDiario(int64_t diario);
