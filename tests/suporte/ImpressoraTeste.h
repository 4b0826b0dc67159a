#pragma once
// A network label printer played on 127.0.0.1: it accepts connections one
// after the other, keeps what each one brought, answers the ZPL status query
// "~HS" with the status it is given, and misbehaves on request: reads slowly,
// reads nothing, stops after N bytes and closes, talks without being asked,
// talks without end.
//
//     TImpressoraTeste impressora({.fecharApos = 5000});
//     ... print to "TCP:127.0.0.1:" + std::to_string(impressora.Porta()) ...
//     impressora.Parar();
//     impressora.Recebido();  // the bytes it read, every connection in order
#include <fcntl.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "suporte/Suporte.h"

struct TComportamentoImpressora {
    // Answers to the "~HS" queries in turn, the last one repeated (none: no answer).
    std::vector<std::string> respostasHS{};
    bool naoLer = false;          // accepts and never reads
    long fecharApos = -1;         // reads this many bytes of a connection, then closes it
    bool soAPrimeira = false;     // fecharApos for the first connection only: later ones read to the end
    bool fecharLogo = false;      // closes as soon as the fecharApos bytes are read
    int lerPorVez = 0;            // bytes per read (0: as many as there are)
    int pausaLeituraMs = 0;       // pause after each read
    std::string naoSolicitado{};  // sent unasked right after accepting and after the first read
    int bufferRecepcao = 0;       // SO_RCVBUF of the printer's side (0: the system's)
    // Reads what comes and sends bytes without end from the connection's
    // start, so its answer to "~HS" never ends either.
    bool inundar = false;
};

// The three lines of a ZPL "~HS" answer, each between STX and ETX, with the
// flags a label shop cares about and every other field at a quiet value.
inline std::string RespostaHS(bool semPapel, bool pausa, bool bufferCheio, bool cabecaAberta, bool semRibbon) {
    const char stx = '\x02', etx = '\x03';
    auto b = [](bool v) { return v ? "1" : "0"; };
    std::string r;
    r += stx + std::string("030,") + b(semPapel) + "," + b(pausa) + ",1245,000," + b(bufferCheio) + ",0,0,000,0,0,0" +
         etx + "\r\n";
    r += stx + std::string("000,0,") + b(cabecaAberta) + "," + b(semRibbon) + ",1,2,6,0,00000000,1,000" + etx + "\r\n";
    r += stx + std::string("1234,0") + etx + "\r\n";
    return r;
}

class TImpressoraTeste {
public:
    explicit TImpressoraTeste(TComportamentoImpressora c = {}) : c_(std::move(c)) {
        escuta_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (c_.bufferRecepcao > 0)
            ::setsockopt(escuta_, SOL_SOCKET, SO_RCVBUF, &c_.bufferRecepcao, sizeof c_.bufferRecepcao);
        int um = 1;
        ::setsockopt(escuta_, SOL_SOCKET, SO_REUSEADDR, &um, sizeof um);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(escuta_, 8) != 0 ||
            ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            ::close(escuta_);
            escuta_ = -1;
            return;
        }
        porta_ = ntohs(a.sin_port);
        socklen_t lenBuf = sizeof bufferEfetivo_;
        ::getsockopt(escuta_, SOL_SOCKET, SO_RCVBUF, &bufferEfetivo_, &lenBuf);
        fio_ = std::thread([this] { Atender(); });
    }
    ~TImpressoraTeste() { Parar(); }
    TImpressoraTeste(const TImpressoraTeste&) = delete;
    TImpressoraTeste& operator=(const TImpressoraTeste&) = delete;

    bool Ok() const { return escuta_ >= 0; }
    int Porta() const { return porta_; }
    std::string Endereco() const { return "TCP:127.0.0.1:" + std::to_string(porta_); }

    // Ends the connection in course (after what its peer already sent) and stops listening.
    void Parar() {
        parar_ = true;
        if (fio_.joinable()) fio_.join();
        if (escuta_ >= 0) ::close(escuta_);
        escuta_ = -1;
    }

    // Everything read, every connection in order.
    std::string Recebido() const {
        std::lock_guard<std::mutex> g(m_);
        std::string r;
        for (const auto& c : conexoes_) r += c;
        return r;
    }
    std::vector<std::string> Conexoes() const {
        std::lock_guard<std::mutex> g(m_);
        return conexoes_;
    }
    // Bytes the printer's network stack acknowledged, read or not, every connection.
    uint64_t BytesConfirmados() const {
        std::lock_guard<std::mutex> g(m_);
        return confirmados_;
    }
    // The receive buffer of the printer's side as the system set it: the
    // most it can hold acknowledged and unread.
    int BufferRecepcaoEfetivo() const { return bufferEfetivo_; }
    // Bytes it sent unasked (inundar).
    uint64_t BytesInundados() const { return inundados_.load(); }
    int ConsultasHS() const {
        std::lock_guard<std::mutex> g(m_);
        return consultasHS_;
    }

private:
    static uint64_t Confirmados(int fd) {
        tcp_info i{};
        socklen_t len = sizeof i;
        if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &i, &len) != 0) return 0;
        return i.tcpi_bytes_received;
    }
    static int Pendentes(int fd) {
        int n = 0;
        ::ioctl(fd, FIONREAD, &n);
        return n;
    }

    void Atender() {
        int indice = 0;
        while (!parar_) {
            pollfd p{escuta_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int c = ::accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            {
                std::lock_guard<std::mutex> g(m_);
                conexoes_.emplace_back();
            }
            Conversar(c, indice++);
            const uint64_t n = Confirmados(c);
            ::close(c);
            std::lock_guard<std::mutex> g(m_);
            confirmados_ += n;
        }
    }

    void Responder(int c, const std::string& s) {
        if (!s.empty()) (void)!::send(c, s.data(), s.size(), MSG_NOSIGNAL);
    }

    void Inundar(int c) {
        const std::string enchimento(64 * 1024, 'U');
        char buf[65536];
        for (;;) {
            pollfd p{c, POLLIN | POLLOUT, 0};
            if (::poll(&p, 1, 20) <= 0) {
                if (parar_) return;
                continue;
            }
            if (p.revents & POLLIN) {
                const ssize_t n = ::recv(c, buf, sizeof buf, MSG_DONTWAIT);
                if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
                if (n > 0) {
                    std::lock_guard<std::mutex> g(m_);
                    conexoes_.back().append(buf, static_cast<size_t>(n));
                }
            }
            if (p.revents & POLLOUT) {
                const ssize_t n = ::send(c, enchimento.data(), enchimento.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n > 0) inundados_ += static_cast<uint64_t>(n);
                if (n < 0 && errno != EAGAIN && errno != EINTR) return;
            }
            if (p.revents & (POLLERR | POLLHUP)) return;
            if (parar_) return;
        }
    }

    void Conversar(int c, int indice) {
        if (c_.inundar) return Inundar(c);
        const long fecharApos = (c_.soAPrimeira && indice > 0) ? -1 : c_.fecharApos;
        Responder(c, c_.naoSolicitado);
        if (c_.naoLer) {
            while (!parar_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return;
        }
        std::string lido;
        size_t procurado = 0;
        bool primeira = true;
        char buf[65536];
        for (;;) {
            size_t quer = sizeof buf;
            if (c_.lerPorVez > 0) quer = std::min(quer, static_cast<size_t>(c_.lerPorVez));
            if (fecharApos >= 0) {
                const long falta = fecharApos - static_cast<long>(lido.size());
                if (falta <= 0) break;
                quer = std::min(quer, static_cast<size_t>(falta));
            }
            pollfd p{c, POLLIN, 0};
            const int r = ::poll(&p, 1, 20);
            if (r == 0) {
                if (parar_) break;
                continue;
            }
            const ssize_t n = ::recv(c, buf, quer, 0);
            if (n <= 0) return;  // the other side ended: a clean close from here
            lido.append(buf, static_cast<size_t>(n));
            {
                std::lock_guard<std::mutex> g(m_);
                conexoes_.back().append(buf, static_cast<size_t>(n));
            }
            for (size_t k; (k = lido.find("~HS", procurado)) != std::string::npos;) {
                procurado = k + 3;
                int n;
                {
                    std::lock_guard<std::mutex> g(m_);
                    n = consultasHS_++;
                }
                if (!c_.respostasHS.empty())
                    Responder(c, c_.respostasHS[std::min<size_t>(n, c_.respostasHS.size() - 1)]);
            }
            if (lido.size() > 2) procurado = std::max(procurado, lido.size() - 2);
            if (primeira) Responder(c, c_.naoSolicitado);
            primeira = false;
            if (c_.pausaLeituraMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(c_.pausaLeituraMs));
        }
        if (c_.fecharLogo) return;
        // Stopped taking data: wait until the sender is held by the full
        // window (nothing more arrives), so what the stack acknowledged is
        // final when the connection goes.
        int antes = -1;
        for (int i = 0; i < 500 && !parar_; ++i) {
            const int agora = Pendentes(c);
            if (agora == antes) break;
            antes = agora;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    TComportamentoImpressora c_;
    int escuta_ = -1;
    int porta_ = 0;
    int bufferEfetivo_ = 0;
    std::atomic<bool> parar_{false};
    std::thread fio_;
    mutable std::mutex m_;
    std::vector<std::string> conexoes_;
    uint64_t confirmados_ = 0;
    int consultasHS_ = 0;
    std::atomic<uint64_t> inundados_{0};
};
