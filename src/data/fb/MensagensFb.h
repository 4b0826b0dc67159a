#pragma once
// Portuguese texts for the Firebird failures an operator meets (files,
// network, login, lost connections, conflicts, values that do not fit). The
// client library speaks English; what it says is turned into a sentence here.
#include <cstdint>
#include <string>

namespace fb {

// The message for a Firebird status vector; for a failure not known here,
// "Erro do banco de dados (código SQL N, GDS N): " and `original` (the
// library's text), so no failure reaches the operator in English alone.
std::string TraduzirStatusFb(const intptr_t* status, const std::string& original);

}  // namespace fb
