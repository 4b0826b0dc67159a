#include "common/ArquivoComum.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/ErroSistema.h"

namespace {

using TMotivo = EArquivoComum::TMotivo;

[[noreturn]] void GrandeDemais(std::string_view tipo, const std::string& tamanho) {
    throw EArquivoComum(TMotivo::GrandeDemais, "arquivo grande demais para " + std::string(tipo) + tamanho);
}

// Reads until the end, and stops one byte past `maximo`.
std::string LerAteOFim(int fd, size_t maximo, std::string_view tipo) {
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EArquivoComum(TMotivo::Sistema, MensagemErroSistema(errno));
        if (n == 0) return bytes;
        bytes.append(buf, static_cast<size_t>(n));
        if (bytes.size() > maximo) GrandeDemais(tipo, "");
    }
}

class TDescritor {
public:
    explicit TDescritor(int fd) : fd_(fd) {}
    TDescritor(const TDescritor&) = delete;
    TDescritor& operator=(const TDescritor&) = delete;
    ~TDescritor() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string LerArquivoComum(const std::string& caminho, size_t maximo, std::string_view tipo) {
    // No wait on a pipe without a writer; the kind is checked before any read.
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        throw EArquivoComum(e == ENOENT ? TMotivo::NaoExiste : TMotivo::Sistema, MensagemErroSistema(e));
    }
    const TDescritor arquivo(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) throw EArquivoComum(TMotivo::Sistema, MensagemErroSistema(errno));
    if (S_ISDIR(st.st_mode)) throw EArquivoComum(TMotivo::Pasta, "o caminho é uma pasta, não um arquivo");
    if (!S_ISREG(st.st_mode))
        throw EArquivoComum(TMotivo::NaoComum, "não é um arquivo comum (é um dispositivo, um pipe ou um soquete)");
    if (static_cast<unsigned long long>(st.st_size) > maximo)
        GrandeDemais(tipo, " (" + std::to_string(st.st_size) + " bytes)");
    // A file that grows while it is read stops at the same bound.
    return LerAteOFim(fd, maximo, tipo);
}

std::string LerEntradaLimitada(int fd, size_t maximo, std::string_view tipo) { return LerAteOFim(fd, maximo, tipo); }
