#pragma once
// Helpers of the tests of every area: the message a call raises, a private
// temporary folder, whole files, all 256 byte values, a free loopback port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Under CI (CI set, and not "false" or "0") every tool the tests use is
// installed: a test that would skip for want of one fails instead.
inline bool SobCi() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "false" && std::string(ci) != "0";
}

// The message of the exception `f` raises, or "(nada lançado)" when it raises
// none: a call that stopped failing never passes for one failing with "".
// MensagemDe<EDatabaseError>(f) lets any other kind of exception through.
template <class E = std::exception, class F>
std::string MensagemDe(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "(nada lançado)";
}

// A new empty folder "<temp>/<prefixo>-XXXXXX"; ctest runs tests in parallel,
// so every test works in one of its own.
inline std::string CriarPastaTemp(const std::string& prefixo) {
    std::string molde = (std::filesystem::temp_directory_path() / (prefixo + "-XXXXXX")).string();
    if (!mkdtemp(molde.data())) throw std::runtime_error("mkdtemp falhou: " + molde);
    return molde;
}

// A private folder, removed with everything in it when the object goes.
struct TPastaTemp {
    std::filesystem::path caminho;
    explicit TPastaTemp(const std::string& prefixo = "etiq-teste") : caminho(CriarPastaTemp(prefixo)) {}
    ~TPastaTemp() {
        std::error_code ec;
        std::filesystem::remove_all(caminho, ec);
    }
    TPastaTemp(const TPastaTemp&) = delete;
    TPastaTemp& operator=(const TPastaTemp&) = delete;
    std::string operator/(const std::string& nome) const { return (caminho / nome).string(); }
};

// Standard output of a shell command. `status`, when given, gets its exit
// status (128 when it did not end normally, -1 when it could not start).
inline std::string SaidaDe(const std::string& comando, int* status = nullptr) {
    std::string saida;
    FILE* p = ::popen(comando.c_str(), "r");
    if (!p) {
        if (status) *status = -1;
        return saida;
    }
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) saida.append(buf, n);
    const int st = ::pclose(p);
    if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : 128;
    return saida;
}

// Environment variables a test sets, put back as they were when it ends.
class TAmbienteTeste {
public:
    TAmbienteTeste() = default;
    TAmbienteTeste(const TAmbienteTeste&) = delete;
    TAmbienteTeste& operator=(const TAmbienteTeste&) = delete;
    void Definir(const std::string& nome, const std::string& valor) {
        const char* v = std::getenv(nome.c_str());
        guardadas_.push_back({nome, v != nullptr, v ? v : ""});
        ::setenv(nome.c_str(), valor.c_str(), 1);
    }
    ~TAmbienteTeste() {
        for (auto it = guardadas_.rbegin(); it != guardadas_.rend(); ++it) {
            if (it->existia)
                ::setenv(it->nome.c_str(), it->valor.c_str(), 1);
            else
                ::unsetenv(it->nome.c_str());
        }
    }

private:
    struct Guardada {
        std::string nome;
        bool existia;
        std::string valor;
    };
    std::vector<Guardada> guardadas_;
};

// The lines of a program's output (each ended by LF) and the tab-separated
// fields of one line, as scripts read etiquetas-cli fila and historico.
inline std::vector<std::string> LinhasDoTexto(const std::string& texto) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = texto.find('\n', i)) != std::string::npos; i = j + 1) r.push_back(texto.substr(i, j - i));
    return r;
}
inline std::vector<std::string> CamposTabulados(const std::string& linha) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = linha.find('\t', i)) != std::string::npos; i = j + 1) r.push_back(linha.substr(i, j - i));
    r.push_back(linha.substr(i));
    return r;
}

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

// A socket bound on 127.0.0.1 (port 0: any free one), its port in `escolhida`;
// -1 when the port is taken.
inline int Vincular(int porta, int& escolhida) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int um = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    escolhida = ntohs(a.sin_port);
    return fd;
}

// A TCP port on the loopback with nothing listening on it (just now).
inline int PortaLivre() {
    int porta = 0;
    ::close(Vincular(0, porta));
    return porta;
}

// Accepts one connection on a listening socket and returns all it received
// until the other side closed.
inline std::string AceitarELer(int fd) {
    int c = ::accept(fd, nullptr, nullptr);
    std::string r;
    char buf[4096];
    for (ssize_t n; (n = ::read(c, buf, sizeof buf)) > 0;) r.append(buf, static_cast<size_t>(n));
    ::close(c);
    return r;
}
