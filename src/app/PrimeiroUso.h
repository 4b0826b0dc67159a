#pragma once
// First start of an installed program: no shop database configured yet. The
// operator either configures one or takes a demo shop of their own.
#include <string>

// The installed program (configuration in the user's folder) with PATH
// MERKOR empty.
bool PrecisaDePrimeiroUso();

// $XDG_DATA_HOME/etiquetas/demo/ (default ~/.local/share/etiquetas/demo/).
std::string PastaDemoUsuario();

struct TLojaDemoUsuario {
    std::string banco;    // loja.fdb
    std::string saida;    // file the labels are printed to
    bool criada = false;  // false: an existing demo database was taken as it is
    int mercadorias = 0;  // goods of a database made now
    std::string config;   // the configEtq.ini that now points at it
};
// Creates the demo shop in PastaDemoUsuario() (kept when it exists) and
// points the configuration at it, labels going to a file there.
TLojaDemoUsuario CriarLojaDemoUsuario(int mercadorias = 300);

// What the operator is told: what was made (or found) and where, where the
// labels go and which configuration file now names it.
std::string TextoLojaDemoCriada(const TLojaDemoUsuario& loja);
