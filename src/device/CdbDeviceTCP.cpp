#include "device/CdbDeviceTCP.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "common/ErroSistema.h"
#include "common/ResolverNome.h"

namespace {

using relogio = std::chrono::steady_clock;

int Restante(relogio::time_point limite) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(limite - relogio::now()).count();
    return ms > 0 ? static_cast<int>(ms) : 0;
}

// Name look-up bounded by the time-out: a missing DNS server must not hold the
// program longer than an unreachable printer would.
addrinfo* Resolver(const std::string& host, const std::string& porta, relogio::time_point limite, int& erro,
                   std::string& msg) {
    const TResolucao r = ResolverComPrazo(host, porta, [&] { return Restante(limite); });
    erro = r.erro;
    if (r.esgotado) {
        msg = "Tempo esgotado ao procurar o endereço " + host;
        return nullptr;
    }
    if (r.erro != 0) {
        if (r.erro == EAI_SERVICE || r.erro == EAI_NONAME)
            msg = "Endereço não encontrado: " + host + ":" + porta;
        else
            msg = "Erro ao procurar o endereço " + host + ": " + MensagemErroEndereco(r.erro);
        return nullptr;
    }
    return r.enderecos;
}

}  // namespace

TCdbDeviceTCP::~TCdbDeviceTCP() { Fechar(); }

void TCdbDeviceTCP::SepararEndereco(const std::string& porta, std::string& host, std::string& portaIP) {
    std::string resto = porta.size() > 4 ? porta.substr(4) : std::string();
    auto dois = resto.find(':');
    host = resto.substr(0, dois);
    portaIP = dois == std::string::npos ? std::string() : resto.substr(dois + 1, 5);
    if (portaIP.empty()) portaIP = "9100";
}

void TCdbDeviceTCP::Fechar() { Descritor::Fechar(fd_); }

void TCdbDeviceTCP::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    SepararEndereco(porta, host_, portaIP_);
    Fechar();
    timeOut_ = timeOutMs > 0 ? timeOutMs : 3000;
    const std::string alvo = host_ + ":" + portaIP_;
    if (host_.empty()) Falhar(Exception("Endereço da impressora não informado na Porta " + porta));
    // Everything typed after the colon must be a port number: the name service
    // would wrap 65536 and above onto another port and the label would go there.
    const std::string resto = porta.size() > 4 ? porta.substr(4) : std::string();
    const auto dois = resto.find(':');
    const std::string digitado = dois == std::string::npos ? std::string() : resto.substr(dois + 1);
    if (!digitado.empty()) {
        bool valido = digitado.size() <= 5;
        for (char c : digitado)
            if (c < '0' || c > '9') valido = false;
        if (valido) {
            const int n = std::stoi(digitado);
            valido = n >= 1 && n <= 65535;
        }
        if (!valido) Falhar(Exception("Porta TCP inválida [" + digitado + "]: use um número de 1 a 65535"));
    }

    const auto limite = relogio::now() + std::chrono::milliseconds(timeOut_);
    int erro = 0;
    std::string msg;
    addrinfo* enderecos = Resolver(host_, portaIP_, limite, erro, msg);
    if (!enderecos) Falhar(Exception(msg));

    int ultimoErro = ETIMEDOUT;
    for (addrinfo* a = enderecos; a && fd_ < 0; a = a->ai_next) {
        int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            ultimoErro = errno;
            continue;
        }
        int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int w;
            do w = ::poll(&p, 1, Restante(limite));
            while (w < 0 && errno == EINTR);
            if (w == 0) {
                ultimoErro = ETIMEDOUT;
            } else {
                int so = 0;
                socklen_t len = sizeof so;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &so, &len);
                ultimoErro = so;
                r = so == 0 ? 0 : -1;
            }
        } else if (r != 0) {
            ultimoErro = errno;
        }
        if (r == 0) {
            int um = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
            fd_ = fd;
        } else {
            ::close(fd);
        }
        if (Restante(limite) == 0) break;
    }
    freeaddrinfo(enderecos);
    fimRecebido_ = false;
    erroRecebido_ = 0;
    entregas_.Reiniciar();
    confirmados_ = janela_ = 0;
    if (fd_ < 0) {
        if (ultimoErro == ETIMEDOUT)
            Falhar(Exception("Tempo esgotado ao conectar em " + alvo + " (" + std::to_string(timeOut_) + " ms)"));
        Falhar(Exception("Erro ao conectar em " + alvo + ": " + MensagemErroSistema(ultimoErro)));
    }
    Observar(0);
    Limpar();
}

void TCdbDeviceTCP::Limpar() {
    // Bounded: a printer that talks without end must not hold the connection here.
    DescartarRecebidos();
}

std::string TCdbDeviceTCP::LeString(int timeOutMs, int numBytes, const std::string& terminador) {
    if (fd_ < 0) return {};
    return Descritor::Ler(fd_, timeOutMs, numBytes, terminador, true);
}

void TCdbDeviceTCP::Observar(int pendente) {
    confirmados_ = std::max(confirmados_, entregas_.Posicao() - pendente);
    // The printer's advertised window (tcpi_snd_wnd, Linux 6.2 on) is read at
    // its place in the system's record, which headers of older systems lack;
    // an older system answers a shorter record and the window stays unknown.
    constexpr socklen_t kJanelaNoRegistro = 228;
    alignas(8) unsigned char info[512] = {};
    socklen_t len = sizeof info;
    if (::getsockopt(fd_, IPPROTO_TCP, TCP_INFO, info, &len) == 0 && len >= kJanelaNoRegistro + sizeof(uint32_t)) {
        uint32_t janela = 0;
        std::memcpy(&janela, info + kJanelaNoRegistro, sizeof janela);
        janela_ = std::max<int64_t>(janela_, janela);
    }
}

int64_t TCdbDeviceTCP::SeguroAte() {
    // The printer's stack acknowledged up to confirmados_, but what sits in
    // its receive buffer is lost if it dies. That buffer holds more than the
    // window offered at any one time (the window opens again as the stack
    // finds memory, and a stack offers about half its buffer): twice the
    // largest window.
    return confirmados_ - (janela_ > 0 ? 2 * janela_ : kJanelaPadrao);
}

void TCdbDeviceTCP::FalharEnvio(const Exception& e) {
    entregas_.Falhou(SeguroAte());
    Falhar(e);
}

void TCdbDeviceTCP::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceTCP.EnviaString");
    if (fd_ < 0) Falhar(Exception("Conexão TCP não está aberta: " + Dono().Porta()));
    banda_.Iniciar();
    EnviarEmPartes(dados, [&](const char* p, size_t n) {
        int e = 0;
        if (!Descritor::EscreverTudo(fd_, p, n, timeOut_, e, true)) {
            const std::string alvo = host_ + ":" + portaIP_;
            if (e == ETIMEDOUT) FalharEnvio(Exception("Tempo esgotado ao enviar dados para " + alvo));
            FalharEnvio(Exception("Erro ao enviar dados para " + alvo + ": " + MensagemErroSistema(e)));
        }
        entregas_.Avancar(static_cast<int64_t>(n));
        banda_.Registrar(n);
    });
    EsperarEntrega();
    entregas_.Entregue();
}

void TCdbDeviceTCP::EsperarEntrega() {
    // Written only means queued here: the job counts once the printer has
    // acknowledged every byte. The time-out runs while nothing moves, so a
    // printer that reads slowly is waited for and one that stopped is not.
    const std::string alvo = host_ + ":" + portaIP_;
    int pendente = 0;
    TPrazoSemProgresso prazo(Dono().Relogio(), timeOut_);
    long passoUs = 50;
    for (;;) {
        DescartarRecebidos();
        if (::ioctl(fd_, SIOCOUTQ, &pendente) != 0) {
            const int e = errno;
            FalharEnvio(Exception("Erro ao enviar dados para " + alvo + ": " + MensagemErroSistema(e)));
        }
        int so = erroRecebido_;
        socklen_t len = sizeof so;
        if (so == 0) ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &so, &len);
        // After a reset the system empties the queue: only a healthy count tells what was acknowledged.
        if (so == 0) Observar(pendente);
        if (so == 0 && pendente == 0) return;
        if (so != 0) FalharEnvio(Exception("Erro ao enviar dados para " + alvo + ": " + MensagemErroSistema(so)));
        if (!prazo.Observar(pendente))
            FalharEnvio(Exception("Tempo esgotado esperando a impressora " + alvo + " confirmar o recebimento de " +
                                  std::to_string(pendente) + " bytes"));
        // A loopback or LAN answer comes within microseconds to a millisecond:
        // short naps first, longer ones for a slow printer.
        timespec espera{0, passoUs * 1000};
        pollfd p{fd_, 0, 0};
        ::ppoll(&p, 1, &espera, nullptr);
        passoUs = std::min(passoUs * 2, 10000L);
    }
}

std::string TCdbDeviceTCP::Perguntar(const std::string& pergunta, int timeOutMs, char fim, int vezes) {
    GravarLog("  TCdbDeviceTCP.Perguntar(" + pergunta + ")");
    std::string resposta;
    if (fd_ < 0) return resposta;
    DescartarRecebidos();
    int e = 0;
    if (!Descritor::EscreverTudo(fd_, pergunta.data(), pergunta.size(), timeOutMs, e, true)) return resposta;
    entregas_.Avancar(static_cast<int64_t>(pergunta.size()));
    TPrazo prazo(Dono().Relogio(), timeOutMs);
    int vistos = 0;
    char buf[4096];
    while (vistos < vezes && !fimRecebido_) {
        if (prazo.Esgotado()) break;
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, prazo.FatiaMs());
        // A quiet slice: the port's clock says whether the deadline is over.
        if ((r < 0 && errno == EINTR) || r == 0) continue;
        if (r < 0) break;
        const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n == 0) fimRecebido_ = true;
        if (n < 0) erroRecebido_ = errno;
        if (n <= 0) break;
        // Past the first few KB it is no answer: read and dropped, not kept.
        const size_t cabe = std::min(static_cast<size_t>(n), kRespostaMax - resposta.size());
        resposta.append(buf, cabe);
        vistos += static_cast<int>(std::count(buf, buf + cabe, fim));
    }
    return resposta;
}

void TCdbDeviceTCP::DescartarRecebidos(size_t maximo) {
    // What the printer says unasked (status, echoes) is read and dropped: left
    // unread, it would turn the close into a reset that can cut our output.
    // A bounded amount a call: the callers' own deadlines end a printer that
    // never stops talking.
    if (fd_ < 0 || fimRecebido_) return;
    char buf[4096];
    for (size_t lidos = 0; lidos < maximo;) {
        const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            lidos += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) fimRecebido_ = true;
        // A reset read here is reported once: keep it for the wait.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) erroRecebido_ = errno;
        return;
    }
}

void TCdbDeviceTCP::Encerrar() {
    // Half-close: the printer sees the end of the job, answers with its own
    // end, and what it sent meanwhile is read; a plain close() with unread
    // bytes would send a reset instead.
    if (fd_ < 0) return;
    if (::shutdown(fd_, SHUT_WR) != 0) return;
    const TPrazo prazo(Dono().Relogio(), std::min(timeOut_, kDrenagemMs));
    char buf[4096];
    while (!fimRecebido_) {
        if (prazo.Esgotado()) break;
        pollfd p{fd_, POLLIN, 0};
        int r = ::poll(&p, 1, prazo.FatiaMs());
        if ((r < 0 && errno == EINTR) || r == 0) continue;
        if (r < 0) break;
        const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
        if (n == 0) fimRecebido_ = true;
        if (n < 0 && errno != EINTR && errno != EAGAIN) break;
    }
}

void TCdbDeviceTCP::Desconectar(bool ignorarErros) {
    TCdbDeviceClass::Desconectar(ignorarErros);
    Encerrar();
    int e = Descritor::Fechar(fd_);
    if (e && !ignorarErros) Falhar(Exception("Erro ao fechar a conexão: " + MensagemErroSistema(e)));
}
