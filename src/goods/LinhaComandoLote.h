#pragma once
// The options of `etiquetas-cli lote` read into the goods window's options
// record. Values are taken word by word as given (a value may begin with "-"),
// so a text is never mistaken for an option.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "goods/OpcoesMercadorias.h"

struct TPedidoLote {
    TOpcoesMercadorias Opcoes;
    bool ProcessarGrades = false;   // --grades
    std::string ParamModelo = "0";  // --modelo N: "0" + its digits
    bool SoSQL = false;             // --sql
    bool SemSubstituir = false;     // --sem-substituir: keep a queue whose last print was interrupted
};

// The largest --lista read: about a million barcodes of 13 digits.
inline constexpr size_t kTamanhoMaximoLista = size_t{16} << 20;

// lerLista gives the content of the --lista file ("-": standard input).
// The list may begin with a UTF-8 byte-order mark and end its lines in LF,
// CR LF or CR; each non-empty line is one barcode, a number.
// Raises Exception with a Portuguese message for an unknown option, a missing
// value or a value outside its choices.
TPedidoLote LerPedidoLote(const std::vector<std::string>& argumentos,
                          const std::function<std::string(const std::string&)>& lerLista);

// One line per option, for the command's help.
const char* UsoLote();
