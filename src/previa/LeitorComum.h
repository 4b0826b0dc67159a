#pragma once
// Small helpers shared by the three stream readers.
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "previa/Fluxo.h"

namespace previa::leitor {

// Positions and sizes beyond this are taken as damage, not as a label.
constexpr int kMaxDots = 32000;
constexpr int kMaxAvisos = 50;
constexpr int kMaxCopias = 100000;

inline int Limitar(long long v, int minimo, int maximo) {
    return static_cast<int>(std::clamp<long long>(v, minimo, maximo));
}

// Decimal digits only (an optional leading minus); false on anything else.
inline bool Inteiro(std::string_view s, long long& valor) {
    while (!s.empty() && (s.front() == ' ')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ')) s.remove_suffix(1);
    if (s.empty() || s.size() > 12) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), valor);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

inline int InteiroOu(std::string_view s, int padrao, int minimo = -kMaxDots, int maximo = kMaxDots) {
    long long v = 0;
    if (!Inteiro(s, v)) return padrao;
    return Limitar(v, minimo, maximo);
}

inline std::vector<std::string_view> Separar(std::string_view s, char sep) {
    std::vector<std::string_view> partes;
    size_t inicio = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == sep) {
            partes.push_back(s.substr(inicio, i - inicio));
            inicio = i + 1;
        }
    }
    return partes;
}

// A command as it can be shown in a message: control bytes spelled out, cut short.
inline std::string Mostrar(std::string_view comando) {
    std::string r;
    for (unsigned char c : comando.substr(0, 60)) {
        if (c == 2)
            r += "<STX>";
        else if (c < 32 || c == 127)
            r += "<" + std::to_string(c) + ">";
        else
            r += static_cast<char>(c);
    }
    if (comando.size() > 60) r += "...";
    return r;
}

inline void Avisar(Leitura& l, std::string aviso) {
    if (static_cast<int>(l.avisos.size()) < kMaxAvisos) l.avisos.push_back(std::move(aviso));
}

inline void Ignorar(Leitura& l, std::string_view comando, const char* motivo) {
    ++l.ignorados;
    Avisar(l, std::string(motivo) + ": " + Mostrar(comando));
}

// A label still in the buffer when the stream ends: kept, marked as never printed.
inline void SemImpressao(Leitura& l, Etiqueta etiqueta, const char* comandoImpressao) {
    etiqueta.impressa = false;
    Avisar(l, std::string("Fluxo terminou sem o comando de impressão \"") + comandoImpressao + "\"");
    l.etiquetas.push_back(std::move(etiqueta));
}

}  // namespace previa::leitor
