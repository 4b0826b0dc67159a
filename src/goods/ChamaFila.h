#pragma once
// chama_print_etiqueta without a window kind: prepares a fresh label queue
// window for the configured model, shows it, and keeps the instalment counts
// of model 47 afterwards.
#include <cstdint>
#include <string>

#include "interface/JanelaEtiquetas.h"

// Model number as the queue window is prepared for it: "0" followed by the
// first two characters of MODELO PRINT, no digit filtering and no command-line
// override. EConvertError when that is no integer ("9 - X" gives "09 ").
int ModeloDaFila(const std::string& modeloPrint);

// Shows one queue window made by `criar`. Returns true when the program is to
// end: direct mode with a model number on the command line.
bool chama_print_etiqueta(const TFabricaJanelaEtiquetasFila& criar, bool processarGrades, uint8_t acessoDireto,
                          const std::string& paramModelo);
