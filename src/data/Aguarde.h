#pragma once
// The waiting window while a module opens tables: shown and repainted on
// entry, hidden on the way out, also when an open fails (otherwise it would
// stay over the error box).
#include "common/InterfaceUsuario.h"

class TAguarde {
public:
    TAguarde() {
        InterfaceUsuario().MostraAguarde();
        InterfaceUsuario().RepintaAguarde();
    }
    ~TAguarde() { InterfaceUsuario().EscondeAguarde(); }
    TAguarde(const TAguarde&) = delete;
    TAguarde& operator=(const TAguarde&) = delete;
};
