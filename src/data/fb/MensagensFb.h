#pragma once
// Portuguese texts for the Firebird failures an operator meets (files,
// network, login, lost connections, conflicts, values that do not fit). The
// client library speaks English; what it says is turned into a sentence here.
#include <cstdint>
#include <string>
#include <string_view>

namespace fb {

// The message for a Firebird status vector: a Portuguese first line (for a
// failure not known here, "Erro do banco de dados (código SQL N, GDS N).")
// and, for the statement failures, `original` (the library's English text) on
// a second line for support. `sql`, the statement that failed, lets a missing
// column be told with its table.
std::string TraduzirStatusFb(const intptr_t* status, const std::string& original, std::string_view sql = {});

// The table of `coluna` ("M.VALORLETRAS" or "VALORLETRAS") in the statement
// `sql`, by its alias or, with one table only, that one; empty when unknown.
std::string TabelaDaColuna(std::string_view sql, std::string_view coluna);

}  // namespace fb
