#pragma once
// The model 09 design table as the tests compare it.
#include <algorithm>
#include <string>
#include <vector>

#include "data/fb/FbCliente.h"

// Every FORMATMRG row matching `condicao`, all columns as text ("<null>" for
// NULL), sorted: the table has no key.
inline std::vector<std::string> LinhasFormatMrg(fb::TDatabase& banco, const std::string& condicao = "1=1") {
    fb::TTransaction t(banco, {"read_committed", "rec_version", "nowait"});
    fb::TQuery q(banco, t);
    q.Add("select * from FormatMrg where " + condicao);
    q.Open();
    std::vector<std::string> linhas;
    for (; !q.Eof(); q.Next()) {
        std::string l;
        for (const std::string& c : q.NomesDosCampos())
            l += c + "=" + (q.FieldByName(c).IsNull() ? "<null>" : q.FieldByName(c).AsString()) + ";";
        linhas.push_back(l);
    }
    std::sort(linhas.begin(), linhas.end());
    return linhas;
}
