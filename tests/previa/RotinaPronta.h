#pragma once
// Whether a label model's routine is in the program yet: its preview tests
// skip until it is.
#include "labels/Modelos.h"

inline bool RotinaPronta(int numero) {
    for (const auto& l : TabelaModelos())
        if (l.numero == numero) return static_cast<bool>(l.rotina);
    return false;
}
