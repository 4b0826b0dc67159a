#pragma once
// The gate in front of the configuration panel: a password that changes every
// day, computed by the technician from the date and never stored.
#include <functional>
#include <optional>
#include <string>

#include "common/UFuncoes.h"

// Ten decimal digits for the calendar day of `data`.
std::string SenhaDoDia(TDateTime data);

// Asks for a text (title, prompt); a cancelled prompt gives no text.
using TPedeTexto = std::function<std::optional<std::string>(const std::string& titulo, const std::string& prompt)>;

// Prompts once for the password of `hoje`; a wrong answer shows "Senha não
// confere"; a cancelled prompt says nothing.
bool ConfereSenhaDoDia(TDateTime hoje, const TPedeTexto& pedeTexto);

// The development workstation opens without a prompt. Longer than any host name
// the system can report (HOST_NAME_MAX is 64) and holding characters host
// names never carry, so no real computer can be renamed into it.
inline constexpr const char* kEstacaoDesenvolvimento =
    "#ESTACAO DE DESENVOLVIMENTO DAS ETIQUETAS DE CODIGO DE BARRAS - SEM SENHA#";

bool LiberaConfiguracao(const std::string& nomeComputador, TDateTime hoje, const TPedeTexto& pedeTexto);
