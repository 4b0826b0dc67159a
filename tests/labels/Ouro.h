#pragma once
// Golden streams: one file per case under tests/labels/ouro, compared byte for
// byte. A mismatch names the first differing record, expected against got,
// with control bytes spelled out. ETIQ_GRAVAR_OURO=1 rewrites the files (then
// read the diff before committing); under CI (CI set) the files are only read,
// so a run there can never pass by writing what it got.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "suporte/Caminhos.h"
#include "suporte/Suporte.h"

inline std::string Legivel(const std::string& s) {
    static const char* const nomes[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",
                                          "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                          "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    std::string r;
    for (unsigned char c : s) {
        if (c < 32)
            r += std::string("<") + nomes[c] + ">";
        else if (c >= 127) {
            char b[8];
            std::snprintf(b, sizeof b, "<x%02X>", c);
            r += b;
        } else
            r += static_cast<char>(c);
    }
    return r;
}

// Records end at CR or LF (kept with the record).
inline std::vector<std::string> Registros(const std::string& s) {
    std::vector<std::string> r;
    std::string atual;
    for (size_t i = 0; i < s.size(); ++i) {
        atual += s[i];
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') atual += s[++i];
            r.push_back(atual);
            atual.clear();
        }
    }
    if (!atual.empty()) r.push_back(atual);
    return r;
}

inline bool SobCI() {
    const char* v = std::getenv("CI");
    return v && *v && std::string(v) != "false" && std::string(v) != "0";
}

// `obtido` against the golden file `nome` of `pasta`.
inline ::testing::AssertionResult IgualAoOuroEm(const std::string& pasta, const std::string& nome,
                                                const std::string& obtido) {
    const std::string arquivo = pasta + "/" + nome;
    if (std::getenv("ETIQ_GRAVAR_OURO")) {
        if (SobCI())
            return ::testing::AssertionFailure()
                   << "ETIQ_GRAVAR_OURO recusado sob CI: os arquivos de ouro só são lidos aqui (" << arquivo << ")";
        Gravar(arquivo, obtido);
    }
    if (!std::filesystem::is_regular_file(arquivo))
        return ::testing::AssertionFailure() << "arquivo de ouro ausente: " << arquivo;
    const std::string esperado = LerTudo(arquivo);
    if (esperado.empty() && !obtido.empty())
        return ::testing::AssertionFailure() << "arquivo de ouro vazio: " << arquivo;
    if (esperado == obtido) return ::testing::AssertionSuccess();
    const auto e = Registros(esperado), o = Registros(obtido);
    size_t i = 0;
    while (i < e.size() && i < o.size() && e[i] == o[i]) ++i;
    return ::testing::AssertionFailure() << nome << ": registro " << i + 1
                                         << " difere\n  esperado: " << (i < e.size() ? Legivel(e[i]) : "(fim)")
                                         << "\n  obtido:   " << (i < o.size() ? Legivel(o[i]) : "(fim)") << "\n  ("
                                         << e.size() << " registros esperados, " << o.size() << " obtidos)";
}

inline ::testing::AssertionResult IgualAoOuro(const std::string& nome, const std::string& obtido) {
    return IgualAoOuroEm(std::string(kFonteTestes) + "/ouro", nome, obtido);
}
