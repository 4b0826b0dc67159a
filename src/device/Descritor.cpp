#include "device/Descritor.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace Descritor {

namespace {
using relogio = std::chrono::steady_clock;

int Restante(relogio::time_point limite) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(limite - relogio::now()).count();
    return ms > 0 ? static_cast<int>(ms) : 0;
}

// poll() that survives signals; >0 ready, 0 time out, -1 error.
int Aguardar(int fd, short eventos, int timeOutMs) {
    const auto limite = relogio::now() + std::chrono::milliseconds(timeOutMs);
    for (;;) {
        pollfd p{fd, eventos, 0};
        int r = ::poll(&p, 1, Restante(limite));
        if (r < 0 && errno == EINTR) continue;
        if (r > 0 && (p.revents & POLLNVAL)) {
            errno = EBADF;
            return -1;
        }
        return r;
    }
}
}  // namespace

long Escrever(int fd, const char* p, size_t n, int timeOutMs, bool socket) {
    int r = Aguardar(fd, POLLOUT, timeOutMs);
    if (r <= 0) return r;
    for (;;) {
        ssize_t w = socket ? ::send(fd, p, n, MSG_NOSIGNAL) : ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        return static_cast<long>(w);
    }
}

bool EscreverTudo(int fd, const char* p, size_t n, int timeOutMs, int& erro, bool socket) {
    size_t feito = 0;
    auto limite = relogio::now() + std::chrono::milliseconds(timeOutMs);
    while (feito < n) {
        long w = Escrever(fd, p + feito, n - feito, Restante(limite), socket);
        if (w < 0) {
            erro = errno;
            return false;
        }
        if (w > 0) {
            feito += static_cast<size_t>(w);
            limite = relogio::now() + std::chrono::milliseconds(timeOutMs);
        } else if (relogio::now() >= limite) {
            erro = ETIMEDOUT;
            return false;
        } else {
            // Room was reported but the write took nothing: do not spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    erro = 0;
    return true;
}

std::string Ler(int fd, int timeOutMs, int numBytes, const std::string& terminador, bool socket) {
    std::string lido;
    const auto limite = relogio::now() + std::chrono::milliseconds(timeOutMs);
    char buf[4096];
    for (;;) {
        int r = Aguardar(fd, POLLIN, Restante(limite));
        if (r <= 0) break;
        size_t quer = sizeof buf;
        if (numBytes > 0) quer = std::min(quer, static_cast<size_t>(numBytes) - lido.size());
        ssize_t n = socket ? ::recv(fd, buf, quer, MSG_DONTWAIT) : ::read(fd, buf, quer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) break;  // end of stream or error: nothing more will come
        lido.append(buf, static_cast<size_t>(n));
        if (numBytes > 0 && lido.size() >= static_cast<size_t>(numBytes)) break;
        if (!terminador.empty() && lido.find(terminador) != std::string::npos) break;
        if (numBytes <= 0 && terminador.empty() && Aguardar(fd, POLLIN, 0) <= 0) break;
    }
    return lido;
}

int Fechar(int& fd) {
    if (fd < 0) return 0;
    int r = ::close(fd);
    int e = (r < 0 && errno != EINTR) ? errno : 0;
    fd = -1;
    return e;
}

}  // namespace Descritor

void TLimiteBanda::Iniciar() {
    inicio_ = std::chrono::steady_clock::now();
    enviados_ = 0;
}

void TLimiteBanda::Registrar(size_t bytes) {
    if (Maximo <= 0) return;
    enviados_ += bytes;
    auto devido = inicio_ + std::chrono::microseconds(static_cast<long long>(enviados_) * 1000000 / Maximo);
    std::this_thread::sleep_until(devido);
}
