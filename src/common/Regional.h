#pragma once
// The decimal separator and short date form of the program's locale, as the
// C library resolves it from LC_ALL, LC_NUMERIC / LC_TIME and LANG. A machine
// with no regional choice (C, POSIX, C.UTF-8, or a locale that is not
// installed) gets the Brazilian forms: "," and DD/MM/AAAA.
//
// Only for what people read (labels, sheets, screens). Values written to the
// database and to SQL always keep the point: use NumeroSQL / Decimal::ParaTexto.
#include <string>

#include "common/Decimal.h"
#include "common/UFuncoes.h"

char SeparadorDecimal();
// Short date as a FormataData pattern ("DD/MM/AAAA", "MM/DD/AAAA", "DD.MM.AAAA").
std::string PadraoDataCurta();

// "#0.00" and the like: at least one integer digit, exactly `casas` decimals,
// no thousands separator, the locale's decimal separator.
std::string FormataValor(const Decimal& valor, int casas = 2);
// A number with as many decimals as it needs ("5", "3,5"): stock shown as stored.
std::string FormataNumero(const Decimal& valor);
// A date in the short date form.
std::string DataCurta(TDateTime data);
