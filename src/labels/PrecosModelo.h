#pragma once
// Which prices a model's label shows, so that the journal keeps what the
// label said: the queue row's VLR_VEN (an operator may have typed another in
// the queue window), the goods row's VLR_VEN as the walk read it, or none;
// and whether it shows the second price (VLR_VEN_2) too.
#include <optional>

#include "common/Decimal.h"

enum class TOrigemPreco { Nenhum, Fila, Mercadoria };

struct TPrecosModelo {
    TOrigemPreco preco = TOrigemPreco::Nenhum;
    bool segundoPreco = false;
};

TPrecosModelo PrecosDoModelo(int modelo);

// The price a label shows, as the money value it prints ("#0.00": rounded to
// two decimals, halves away from zero).
inline Decimal PrecoDaEtiqueta(const Decimal& valor) { return valor.ComEscala(2); }
