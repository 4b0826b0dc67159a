#pragma once
// The two command-line parameters of the program: direct mode and the model
// number that overrides the configured one.
#include <string>
#include <vector>

struct TParametrosPrograma {
    std::string ParamAcesso;        // first parameter, upper-cased
    std::string ParamModelo = "0";  // "0" + the digits of the second parameter
};

// `argumentos` without the program name.
TParametrosPrograma LerParametrosPrograma(const std::vector<std::string>& argumentos);

// What the running program took from its command line; the queue window, the
// batch builder and the print dispatcher read ParamModelo from here.
const TParametrosPrograma& ParametrosPrograma();
void DefinirParametrosPrograma(TParametrosPrograma p);
const std::string& ParamModelo();

inline constexpr const char* kAcessaDireto = "ACESSA_DIRETO";
