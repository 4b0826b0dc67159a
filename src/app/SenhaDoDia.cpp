#include "app/SenhaDoDia.h"

#include <string_view>

#include "common/InterfaceUsuario.h"

static_assert(std::string_view(kEstacaoDesenvolvimento).size() > 64, "must exceed any host name");

std::string SenhaDoDia(TDateTime data) {
    const std::string t = FormataData("DD/MM/AA", data);  // DD/MM/AA
    const std::string dia = t.substr(0, 2), mes = t.substr(3, 2), ano = t.substr(6, 2);
    const int d = StrToInt(dia), m = StrToInt(mes), a = StrToInt(ano);
    return dia + ZerosEsquerda(d + m, 2) + mes + ZerosEsquerda(d + m + a, 2) + ano;
}

bool ConfereSenhaDoDia(TDateTime hoje, const TPedeTexto& pedeTexto) {
    const std::string esperada = SenhaDoDia(hoje);
    const std::optional<std::string> digitada =
        pedeTexto("Senha do dia", "Informe a senha do dia: " + FormataData("DD/MM/AA", hoje));
    if (!digitada) return false;  // the operator gave up; nothing was wrong
    if (*digitada == esperada) return true;
    InterfaceUsuario().Mensagem("Senha não confere");
    return false;
}

bool LiberaConfiguracao(const std::string& nomeComputador, TDateTime hoje, const TPedeTexto& pedeTexto) {
    if (Maiusculas(nomeComputador) == kEstacaoDesenvolvimento) return true;
    return ConfereSenhaDoDia(hoje, pedeTexto);
}
