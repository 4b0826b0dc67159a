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
};
// Creates the demo shop in PastaDemoUsuario() (kept when it exists) and
// points the configuration at it, labels going to a file there.
TLojaDemoUsuario CriarLojaDemoUsuario(int mercadorias = 300);
