#include "ConfigEtq.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "ArquivoComum.h"
#include "ErroSistema.h"
#include "Excecoes.h"
#include "PastaExecucao.h"
#include "TextosLoja.h"
#include "UFuncoes.h"
#include "Win1252.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kTamanhoMaximo = 1 << 20;  // a configuration file is a few hundred bytes
constexpr const char* kNomeConfig = "configEtq.ini";
constexpr const char* kPastaLojaPadrao = "/etc/etiquetas/";

std::string& PastaLoja() {
    static std::string pasta;
    return pasta;
}

bool Existe(const std::string& caminho) {
    struct stat st {};
    return ::lstat(caminho.c_str(), &st) == 0;
}

[[noreturn]] void FalhaLeitura(const std::string& caminho, const std::string& motivo) {
    throw Exception("Não foi possível ler o arquivo de configuração " + caminho + ": " + motivo);
}

// Lines of the file as UTF-8, without their line ends. A missing file has none.
// Only a plain file is read: a pipe would block the program, a device or a
// folder is a mistake in the installation.
std::vector<std::string> LerLinhas(const std::string& caminho) {
    std::string bruto;
    try {
        bruto = LerArquivoComum(caminho, kTamanhoMaximo, "um arquivo de configuração");
    } catch (const EArquivoComum& e) {
        if (e.Motivo() == EArquivoComum::TMotivo::NaoExiste) return {};
        FalhaLeitura(caminho, e.Message());
    }
    // Windows-1252 as shops have it; a file saved by an editor as UTF-8 with
    // a byte-order mark is read as what it says it is.
    const std::string texto = bruto.rfind("\xEF\xBB\xBF", 0) == 0 ? bruto.substr(3) : Win1252::ParaUtf8(bruto);
    // CR LF (Windows), LF (Unix) and a lone CR (old Mac editors) all end a line.
    std::vector<std::string> linhas;
    size_t ini = 0;
    while (ini < texto.size()) {
        size_t fim = texto.find_first_of("\r\n", ini);
        if (fim == std::string::npos) {
            linhas.push_back(texto.substr(ini));
            break;
        }
        linhas.push_back(texto.substr(ini, fim - ini));
        ini = fim + 1;
        if (texto[fim] == '\r' && ini < texto.size() && texto[ini] == '\n') ++ini;
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

[[noreturn]] void FalhaGravacao(const std::string& caminho, const std::string& motivo) {
    throw Exception("Não foi possível gravar o arquivo de configuração " + caminho + ": " + motivo);
}

// The file a path finally names: a symbolic link is written through to its
// target, so the link stays a link and the target gets the new values.
std::string DestinoFinal(const std::string& caminho) {
    std::string atual = caminho;
    for (int i = 0; i < 40; ++i) {
        struct stat st {};
        if (::lstat(atual.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return atual;
        std::error_code ec;
        fs::path alvo = fs::read_symlink(atual, ec);
        if (ec) FalhaGravacao(caminho, MensagemErroSistema(ec.value()));
        if (alvo.is_relative()) alvo = fs::path(atual).parent_path() / alvo;
        atual = alvo.string();
    }
    FalhaGravacao(caminho, MensagemErroSistema(ELOOP));
}

// Written beside the target under a temporary name and renamed over it: the
// old file stays whole when the write fails. A file the shop marked read-only
// is refused, also for root, whom the system would let replace it.
void GravarAtomico(const std::string& caminho, const std::string& bytes) {
    const std::string destino = DestinoFinal(caminho);
    auto erro = [&](const std::string& motivo) { FalhaGravacao(caminho, motivo); };
    struct stat st {};
    const bool existe = ::stat(destino.c_str(), &st) == 0;
    if (existe) {
        if (!S_ISREG(st.st_mode)) erro("não é um arquivo comum");
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) erro("o arquivo é somente leitura");
        if (::access(destino.c_str(), W_OK) != 0) erro(MensagemErroSistema(errno));
    }
    const std::string temp = destino + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) erro(MensagemErroSistema(errno));
    auto desistir = [&](int e) {
        ::close(fd);
        ::unlink(temp.c_str());
        erro(MensagemErroSistema(e));
    };
    if (existe) {
        // The new file takes the old one's permissions and, where allowed, its owner.
        if (::fchmod(fd, st.st_mode & 07777) != 0) desistir(errno);
        if (::geteuid() == 0) (void)::fchown(fd, st.st_uid, st.st_gid);
    }
    size_t feito = 0;
    while (feito < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + feito, bytes.size() - feito);
        if (n < 0) {
            if (errno == EINTR) continue;
            desistir(errno);
        }
        feito += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) desistir(errno);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        erro(MensagemErroSistema(e));
    }
    if (::rename(temp.c_str(), destino.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        erro(MensagemErroSistema(e));
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

TArquivoIni::TArquivoIni(std::string caminho, std::string padrao, bool criarPasta)
    : caminho_(std::move(caminho)), padrao_(std::move(padrao)), criarPasta_(criarPasta) {}

std::vector<std::string> TArquivoIni::Linhas() const {
    if (padrao_.empty() || Existe(caminho_)) return LerLinhas(caminho_);
    return LerLinhas(padrao_);
}

std::string TArquivoIni::LerTexto(std::string_view secao, std::string_view chave, std::string_view padrao) const {
    bool dentro = false;
    std::string nome;
    for (const auto& linha : Linhas()) {
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

std::vector<std::pair<std::string, std::string>> TArquivoIni::Chaves(std::string_view secao) const {
    std::vector<std::pair<std::string, std::string>> chaves;
    bool dentro = false;
    std::string nome;
    for (const auto& linha : Linhas()) {
        if (EhSecao(linha, &nome)) {
            dentro = IguaisSemCaixa(nome, secao);
            continue;
        }
        std::string k = ChaveDaLinha(linha);
        if (dentro && !k.empty()) chaves.emplace_back(k, Trim(linha.substr(linha.find('=') + 1)));
    }
    return chaves;
}

void TArquivoIni::GravarTextos(std::string_view secao,
                               const std::vector<std::pair<std::string, std::string>>& valores) {
    std::vector<std::string> linhas = Linhas();
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
    // The user's configuration folder may not exist yet.
    if (criarPasta_)
        if (const std::string erro = CriarPastasPrivadas(fs::path(caminho_).parent_path().string()); !erro.empty())
            FalhaGravacao(caminho_, erro);
    GravarAtomico(caminho_, Win1252::DeUtf8(texto, '?'));
}

void TArquivoIni::GravarTexto(std::string_view secao, std::string_view chave, std::string_view valor) {
    GravarTextos(secao, {{std::string(chave), std::string(valor)}});
}

std::string TLocalConfig::Pasta() const { return BarraFinal(fs::path(arquivo).parent_path().string()); }

TLocalConfig EscolherLocalConfig(const TAmbienteConfig& a) {
    TLocalConfig local;
    if (a.arquivoAoLado || (!a.instalado && a.pastaGravavel)) {
        local.arquivo = a.pastaPrograma + kNomeConfig;
        return local;
    }
    // XDG: an unset or relative XDG_CONFIG_HOME means ~/.config.
    std::string base = a.xdgConfigHome;
    if (base.empty() || base.front() != '/') base = BarraFinal(a.home.empty() ? "/" : a.home) + ".config";
    local.arquivo = BarraFinal(base) + "etiquetas/" + kNomeConfig;
    local.padrao = BarraFinal(a.pastaLoja.empty() ? kPastaLojaPadrao : a.pastaLoja) + kNomeConfig;
    local.doUsuario = true;
    return local;
}

std::string PastaDadosInstalacao() {
    const fs::path dados = fs::path(DiretorioSistema()) / ".." / "share" / "etiquetas";
    std::error_code ec;
    if (!fs::is_directory(dados, ec)) return "";
    return BarraFinal(fs::weakly_canonical(dados, ec).string());
}

void DefinirPastaConfigLoja(std::string pasta) { PastaLoja() = std::move(pasta); }

TAmbienteConfig AmbienteConfigAtual() {
    TAmbienteConfig a;
    a.pastaPrograma = DiretorioSistema();
    a.arquivoAoLado = ::access((a.pastaPrograma + kNomeConfig).c_str(), F_OK) == 0;
    a.pastaGravavel = ::access(a.pastaPrograma.c_str(), W_OK) == 0;
    a.instalado = !PastaDadosInstalacao().empty();
    if (const char* v = std::getenv("XDG_CONFIG_HOME")) a.xdgConfigHome = v;
    if (const char* v = std::getenv("HOME")) a.home = v;
    a.pastaLoja = PastaLoja();
    return a;
}

TLocalConfig LocalConfigEtq() { return EscolherLocalConfig(AmbienteConfigAtual()); }

std::string CaminhoConfigEtq() { return LocalConfigEtq().arquivo; }

TArquivoIni ArquivoConfigEtq() {
    TLocalConfig local = LocalConfigEtq();
    return TArquivoIni(std::move(local.arquivo), std::move(local.padrao), local.doUsuario);
}

std::string LerConfig(std::string_view chave) { return ArquivoConfigEtq().LerTexto("CONF", chave); }

void GravarConfig(std::string_view chave, std::string_view valor) {
    ArquivoConfigEtq().GravarTexto("CONF", chave, valor);
}

void GravarConfig(const std::vector<std::pair<std::string, std::string>>& valores) {
    ArquivoConfigEtq().GravarTextos("CONF", valores);
}

bool ChaveSecreta(std::string_view chave) {
    const std::string k = Maiusculas(chave);
    return k.find("SENHA") != std::string::npos || k.find("TOKEN") != std::string::npos;
}

namespace {
struct TTextosLoja {
    bool ativos = false;
    std::string nome, texto;
};
TTextosLoja& Provisorios() {
    static TTextosLoja t;
    return t;
}
}  // namespace

std::string NomeLoja() {
    const std::string v = Provisorios().ativos ? Trim(Provisorios().nome) : LerConfig("NOME LOJA");
    return v.empty() ? "Loja Demonstração" : v;
}

std::string TextoLoja() {
    const std::string v = Provisorios().ativos ? Trim(Provisorios().texto) : LerConfig("TEXTO LOJA");
    return v.empty() ? "Preço Baixo" : v;
}

TTextosLojaProvisorios::TTextosLojaProvisorios(std::string nome, std::string texto) {
    Provisorios() = {true, std::move(nome), std::move(texto)};
}

TTextosLojaProvisorios::~TTextosLojaProvisorios() { Provisorios() = {}; }
