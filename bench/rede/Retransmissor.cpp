#include "Retransmissor.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

struct TPedaco {
    Relogio::time_point quando;  // not written before this instant
    std::string bytes;
};

// One direction of one connection.
struct TSentido {
    int de = -1, para = -1;
    std::deque<TPedaco> fila;
    bool fechado = false;  // the reader side ended; close the writer once the queue is empty
};

struct TConexao {
    TSentido ida, volta;         // client to server, server to client
    bool servidorFalou = false;  // the last chunk read came from the server
    bool primeiro = true;
    bool Fim() const { return (ida.fechado && ida.fila.empty()) || (volta.fechado && volta.fila.empty()); }
};

sockaddr_in Loopback(int porta) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

void SemAtraso(int fd) {
    int um = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

}  // namespace

TRetransmissor::TRetransmissor(int portaDestino, std::chrono::microseconds atraso)
    : portaDestino_(portaDestino), atraso_(atraso) {
    escuta_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (escuta_ < 0) throw std::runtime_error("socket");
    int um = 1;
    setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
    sockaddr_in a = Loopback(0);
    if (::bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(escuta_, 16) != 0) {
        ::close(escuta_);
        throw std::runtime_error("bind/listen em 127.0.0.1");
    }
    socklen_t tam = sizeof a;
    getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &tam);
    porta_ = ntohs(a.sin_port);
    if (::pipe2(aviso_, O_CLOEXEC) != 0) {
        ::close(escuta_);
        throw std::runtime_error("pipe");
    }
    fio_ = std::thread([this] { Rodar(); });
}

TRetransmissor::~TRetransmissor() {
    char c = 1;
    (void)!::write(aviso_[1], &c, 1);
    fio_.join();
    ::close(aviso_[0]);
    ::close(aviso_[1]);
    ::close(escuta_);
}

void TRetransmissor::Rodar() {
    std::vector<std::unique_ptr<TConexao>> conexoes;
    struct TFechar {
        std::vector<std::unique_ptr<TConexao>>& c;
        ~TFechar() {
            for (auto& x : c) ::close(x->ida.de), ::close(x->ida.para);
        }
    } fechar{conexoes};
    const auto atraso = atraso_;
    for (;;) {
        // What to watch, and how long until the next held chunk is due.
        std::vector<pollfd> p{{aviso_[0], POLLIN, 0}, {escuta_, POLLIN, 0}};
        long long espera = -1;  // microseconds
        const auto agora = Relogio::now();
        for (auto& c : conexoes) {
            for (TSentido* s : {&c->ida, &c->volta}) {
                if (!s->fechado) p.push_back({s->de, POLLIN, 0});
                if (!s->fila.empty()) {
                    auto falta =
                        std::chrono::duration_cast<std::chrono::microseconds>(s->fila.front().quando - agora).count();
                    if (falta <= 0) p.push_back({s->para, POLLOUT, 0}), falta = 0;
                    if (espera < 0 || falta < espera) espera = falta;
                }
            }
        }
        timespec ts{static_cast<time_t>(espera / 1000000), static_cast<long>(espera % 1000000) * 1000};
        if (::ppoll(p.data(), p.size(), espera < 0 ? nullptr : &ts, nullptr) < 0 && errno != EINTR) return;
        if (p[0].revents) return;
        if (p[1].revents & POLLIN) {
            int cliente = ::accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC);
            if (cliente >= 0) {
                int servidor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                sockaddr_in d = Loopback(portaDestino_);
                if (servidor < 0 || ::connect(servidor, reinterpret_cast<sockaddr*>(&d), sizeof d) != 0) {
                    if (servidor >= 0) ::close(servidor);
                    ::close(cliente);
                } else {
                    SemAtraso(cliente);
                    SemAtraso(servidor);
                    auto c = std::make_unique<TConexao>();
                    c->ida.de = c->volta.para = cliente;
                    c->ida.para = c->volta.de = servidor;
                    conexoes.push_back(std::move(c));
                    ++conexoes_;
                }
            }
        }
        // Read what arrived, hold it; write what is due.
        const auto lido = Relogio::now();
        for (auto& c : conexoes) {
            for (TSentido* s : {&c->ida, &c->volta}) {
                const bool ida = s == &c->ida;
                if (!s->fechado) {
                    pollfd q{s->de, POLLIN, 0};
                    if (::poll(&q, 1, 0) > 0) {
                        char buf[65536];
                        ssize_t n = ::read(s->de, buf, sizeof buf);
                        if (n <= 0) {
                            s->fechado = true;
                        } else {
                            s->fila.push_back({lido + atraso, std::string(buf, static_cast<size_t>(n))});
                            if (ida && (c->servidorFalou || c->primeiro)) ++idasEVoltas_;
                            c->primeiro = false;
                            c->servidorFalou = !ida;
                        }
                    }
                }
                while (!s->fila.empty() && s->fila.front().quando <= Relogio::now()) {
                    TPedaco& pd = s->fila.front();
                    ssize_t n = ::send(s->para, pd.bytes.data(), pd.bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
                    if (n < 0) {
                        if (errno == EAGAIN || errno == EWOULDBLOCK) break;
                        s->fila.clear();  // the other side is gone
                        s->fechado = true;
                        break;
                    }
                    pd.bytes.erase(0, static_cast<size_t>(n));
                    if (!pd.bytes.empty()) break;
                    s->fila.pop_front();
                }
            }
        }
        for (size_t i = 0; i < conexoes.size();) {
            if (conexoes[i]->Fim()) {
                ::close(conexoes[i]->ida.de);
                ::close(conexoes[i]->ida.para);
                conexoes.erase(conexoes.begin() + static_cast<long>(i));
            } else {
                ++i;
            }
        }
    }
}
