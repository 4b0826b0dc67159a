#pragma once
// Small helpers of the port tests: a private folder, file contents, the
// stream of all 256 byte values.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct TPastaTemp {
    std::filesystem::path caminho;
    TPastaTemp() {
        char modelo[] = "/tmp/etiq-device-XXXXXX";
        caminho = mkdtemp(modelo);
    }
    ~TPastaTemp() {
        std::error_code ec;
        std::filesystem::remove_all(caminho, ec);
    }
    std::string operator/(const std::string& nome) const { return (caminho / nome).string(); }
};

inline std::string LerTudo(const std::string& arquivo) {
    std::ifstream f(arquivo, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void Gravar(const std::string& arquivo, const std::string& conteudo) {
    std::ofstream f(arquivo, std::ios::binary | std::ios::trunc);
    f << conteudo;
}

inline std::string TodosOsBytes() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}
