#include "Win1252.h"

#include <array>
#include <cstdio>
#include <unordered_map>

#include "TextoRecusado.h"

namespace {

// 0x80..0x9F; undefined slots keep their own value as a C1 code point.
constexpr std::array<char32_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::unordered_map<char32_t, unsigned char>& Reverso() {
    static const auto mapa = [] {
        std::unordered_map<char32_t, unsigned char> m;
        for (int i = 0; i < 32; ++i) m.emplace(kAlto[i], static_cast<unsigned char>(0x80 + i));
        return m;
    }();
    return mapa;
}

std::string CodigoByte(unsigned char c) {
    char buf[16];
    (void)std::snprintf(buf, sizeof buf, "byte 0x%02X", c);  // 9 characters: always fits
    return buf;
}

std::string CodigoUnicode(char32_t cp) {
    char buf[16];
    (void)std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));  // 10 at most: always fits
    return buf;
}

}  // namespace

namespace Win1252 {

char32_t CodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kAlto[b - 0x80];
    return b;
}

std::string ParaUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char b : bytes) {
        if (b < 0x80)
            out.push_back(static_cast<char>(b));
        else
            Utf8::Anexar(out, CodePoint(b));
    }
    return out;
}

bool Representavel(char32_t cp) { return cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) || Reverso().count(cp) > 0; }

std::string DeUtf8(std::string_view utf8, char substituto) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        char32_t cp;
        if (!Utf8::Proximo(utf8, i, cp)) {
            out.push_back(substituto);
            ++i;
            continue;
        }
        if (cp >= 0xA0 && cp <= 0xFF) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        const auto it = Reverso().find(cp);
        out.push_back(it != Reverso().end() ? static_cast<char>(it->second) : substituto);
    }
    return out;
}

std::string ProblemaNoTexto(std::string_view texto, bool aceitaTab) {
    size_t i = 0;
    while (i < texto.size()) {
        char32_t cp;
        if (!Utf8::Proximo(texto, i, cp))
            return "tem um byte que não forma texto (" + CodigoByte(static_cast<unsigned char>(texto[i])) + ")";
        if ((cp < 0x20 && !(aceitaTab && cp == '\t')) || cp == 0x7F)
            return "tem um caractere de controle (" + CodigoByte(static_cast<unsigned char>(cp)) + ")";
        if (!Representavel(cp)) {
            std::string c;
            Utf8::Anexar(c, cp);
            return "tem o caractere \"" + c + "\" (" + CodigoUnicode(cp) + "), que o banco de dados da loja não guarda";
        }
    }
    return "";
}

}  // namespace Win1252

namespace Utf8 {

void Anexar(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool Proximo(std::string_view s, size_t& i, char32_t& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        ++i;
        return true;
    }
    size_t n = (c >= 0xC2 && c < 0xE0) ? 1 : (c >= 0xE0 && c < 0xF0) ? 2 : (c >= 0xF0 && c < 0xF5) ? 3 : 0;
    if (n == 0 || i + n >= s.size()) return false;
    char32_t v = c & (0x3F >> n);
    for (size_t k = 1; k <= n; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) return false;
        v = (v << 6) | (cc & 0x3F);
    }
    cp = v;
    i += n + 1;
    return true;
}

std::u32string Decodificar(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        char32_t cp;
        if (!Proximo(s, i, cp)) {
            out.push_back(static_cast<unsigned char>(s[i]));
            ++i;
            continue;
        }
        out.push_back(cp);
    }
    return out;
}

std::string Codificar(std::u32string_view t) {
    std::string out;
    out.reserve(t.size());
    for (char32_t cp : t) Anexar(out, cp);
    return out;
}

namespace {
char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    return c;
}
char32_t Lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x178) return 0xFF;
    return c;
}
}  // namespace

std::string Maiusculas(std::string_view s) {
    auto t = Decodificar(s);
    for (auto& c : t) c = Upper(c);
    return Codificar(t);
}

std::string Minusculas(std::string_view s) {
    auto t = Decodificar(s);
    for (auto& c : t) c = Lower(c);
    return Codificar(t);
}

}  // namespace Utf8
