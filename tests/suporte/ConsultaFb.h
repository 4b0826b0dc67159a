#pragma once
// Reading one value back from a test database, the way checks do.
#include <string>

#include "data/fb/FbCliente.h"

// The first column of the first row `sql` returns, as text ("" when no row).
inline std::string PrimeiroValor(fb::TDatabase& db, fb::TTransaction& tr, const std::string& sql) {
    fb::TQuery q(db, tr);
    q.Add(sql);
    q.Open();
    std::string r = q.Eof() ? "" : q.FieldByName(q.NomesDosCampos().at(0)).AsString();
    q.Close();
    return r;
}
