#include "app/Parametros.h"

#include "common/UFuncoes.h"

TParametrosPrograma LerParametrosPrograma(const std::vector<std::string>& argumentos) {
    TParametrosPrograma p;
    if (!argumentos.empty()) p.ParamAcesso = Maiusculas(argumentos[0]);
    p.ParamModelo = "0" + SoNumeros(argumentos.size() > 1 ? Maiusculas(argumentos[1]) : std::string());
    return p;
}

namespace {
TParametrosPrograma& Atuais() {
    static TParametrosPrograma p;
    return p;
}
}  // namespace

const TParametrosPrograma& ParametrosPrograma() { return Atuais(); }
void DefinirParametrosPrograma(TParametrosPrograma p) { Atuais() = std::move(p); }
const std::string& ParamModelo() { return Atuais().ParamModelo; }
