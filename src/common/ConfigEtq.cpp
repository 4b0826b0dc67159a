#include "ConfigEtq.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Excecoes.h"
#include "UFuncoes.h"
#include "Win1252.h"

namespace {

namespace fs = std::filesystem;

// Lines of the file as UTF-8, without their line ends. A missing file has none.
std::vector<std::string> LerLinhas(const std::string& caminho) {
    std::error_code ec;
    if (!fs::exists(caminho, ec)) return {};
    std::ifstream in(caminho, std::ios::binary);
    std::ostringstream buf;
    if (in) buf << in.rdbuf();
    if (!in || in.bad() || (fs::is_directory(caminho, ec)))
        throw Exception("Não foi possível ler o arquivo de configuração " + caminho + ": " +
                        (errno ? std::strerror(errno) : "erro de leitura"));
    // Windows-1252 as shops have it; a file saved by an editor as UTF-8 with
    // a byte-order mark is read as what it says it is.
    const std::string bruto = buf.str();
    const std::string texto = bruto.rfind("\xEF\xBB\xBF", 0) == 0 ? bruto.substr(3) : Win1252::ParaUtf8(bruto);
    std::vector<std::string> linhas;
    size_t ini = 0;
    while (ini < texto.size()) {
        size_t fim = texto.find('\n', ini);
        if (fim == std::string::npos) fim = texto.size();
        std::string l = texto.substr(ini, fim - ini);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        linhas.push_back(std::move(l));
        ini = fim + 1;
    }
    return linhas;
}

bool EhSecao(const std::string& linha, std::string* nome = nullptr) {
    std::string t = Trim(linha);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    if (nome) *nome = Trim(t.substr(1, t.size() - 2));
    return true;
}

// Key of a "key=value" line, trimmed; empty for comments and other lines.
std::string ChaveDaLinha(const std::string& linha) {
    std::string t = Trim(linha);
    if (t.empty() || t[0] == ';') return "";
    size_t igual = t.find('=');
    if (igual == std::string::npos) return "";
    return Trim(t.substr(0, igual));
}

void GravarAtomico(const std::string& caminho, const std::string& bytes) {
    auto erro = [&](const std::string& motivo) {
        return Exception("Não foi possível gravar o arquivo de configuração " + caminho + ": " + motivo);
    };
    const std::string temp = caminho + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw erro(std::strerror(errno));
    size_t feito = 0;
    while (feito < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + feito, bytes.size() - feito);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::string motivo = std::strerror(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            throw erro(motivo);
        }
        feito += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        std::string motivo = std::strerror(errno);
        ::unlink(temp.c_str());
        throw erro(motivo);
    }
    if (::rename(temp.c_str(), caminho.c_str()) != 0) {
        std::string motivo = std::strerror(errno);
        ::unlink(temp.c_str());
        throw erro(motivo);
    }
}

std::string SemQuebras(std::string_view v) {
    std::string s(v);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';  // a value must never start a line of its own
    return s;
}

}  // namespace

TArquivoIni::TArquivoIni(std::string caminho) : caminho_(std::move(caminho)) {}

std::string TArquivoIni::LerTexto(std::string_view secao, std::string_view chave, std::string_view padrao) const {
    bool dentro = false;
    std::string nome;
    for (const auto& linha : LerLinhas(caminho_)) {
        if (EhSecao(linha, &nome)) {
            dentro = IguaisSemCaixa(nome, secao);
            continue;
        }
        if (!dentro) continue;
        std::string k = ChaveDaLinha(linha);
        if (!k.empty() && IguaisSemCaixa(k, chave)) return Trim(linha.substr(linha.find('=') + 1));
    }
    return std::string(padrao);
}

void TArquivoIni::GravarTextos(std::string_view secao,
                               const std::vector<std::pair<std::string, std::string>>& valores) {
    std::vector<std::string> linhas = LerLinhas(caminho_);
    for (const auto& [chave, valor] : valores) {
        const std::string nova = chave + "=" + SemQuebras(valor);
        // Find the section, the key inside it, and the last line that belongs to it.
        long inicio = -1, ultima = -1, achada = -1;
        std::string nome;
        for (size_t i = 0; i < linhas.size(); ++i) {
            if (EhSecao(linhas[i], &nome)) {
                if (inicio >= 0) break;
                if (IguaisSemCaixa(nome, secao)) inicio = ultima = static_cast<long>(i);
                continue;
            }
            if (inicio < 0) continue;
            if (!Trim(linhas[i]).empty()) ultima = static_cast<long>(i);
            std::string k = ChaveDaLinha(linhas[i]);
            if (achada < 0 && !k.empty() && IguaisSemCaixa(k, chave)) achada = static_cast<long>(i);
        }
        if (achada >= 0) {
            linhas[achada] = nova;
        } else if (inicio >= 0) {
            linhas.insert(linhas.begin() + ultima + 1, nova);
        } else {
            if (!linhas.empty() && !Trim(linhas.back()).empty()) linhas.emplace_back();
            linhas.push_back("[" + std::string(secao) + "]");
            linhas.push_back(nova);
        }
    }
    std::string texto;
    for (const auto& l : linhas) texto += l + "\r\n";
    GravarAtomico(caminho_, Win1252::DeUtf8(texto, '?'));
}

void TArquivoIni::GravarTexto(std::string_view secao, std::string_view chave, std::string_view valor) {
    GravarTextos(secao, {{std::string(chave), std::string(valor)}});
}

std::string CaminhoConfigEtq() { return DiretorioSistema() + "configEtq.ini"; }

std::string LerConfig(std::string_view chave) { return TArquivoIni(CaminhoConfigEtq()).LerTexto("CONF", chave); }

void GravarConfig(std::string_view chave, std::string_view valor) {
    TArquivoIni(CaminhoConfigEtq()).GravarTexto("CONF", chave, valor);
}

void GravarConfig(const std::vector<std::pair<std::string, std::string>>& valores) {
    TArquivoIni(CaminhoConfigEtq()).GravarTextos("CONF", valores);
}
