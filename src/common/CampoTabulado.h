#pragma once
// One field of a tab-separated line that scripts read back (etiquetas-cli
// fila and historico): TAB, LF and CR written as \t, \n and \r and the
// backslash doubled, so a line always has all its fields.
#include <string>
#include <string_view>

inline std::string CampoTabulado(std::string_view texto) {
    std::string r;
    r.reserve(texto.size());
    for (char c : texto) {
        switch (c) {
            case '\t': r += "\\t"; break;
            case '\n': r += "\\n"; break;
            case '\r': r += "\\r"; break;
            case '\\': r += "\\\\"; break;
            default: r += c;
        }
    }
    return r;
}
