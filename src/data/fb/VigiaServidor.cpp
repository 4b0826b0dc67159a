#include "data/fb/VigiaServidor.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace fb {

using Relogio = std::chrono::steady_clock;
using std::chrono::milliseconds;

int SegundosSemRespostaPadrao() {
    if (const char* v = std::getenv("ETIQ_SEGUNDOS_SEM_RESPOSTA")) {
        char* fim = nullptr;
        const long n = std::strtol(v, &fim, 10);
        if (fim != v && *fim == '\0' && n > 0 && n <= 3600) return static_cast<int>(n);
    }
    return 30;
}

// ---------------------------------------------------------------- sockets

namespace {

int PortaDe(const sockaddr_storage& a) {
    if (a.ss_family == AF_INET) return ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    if (a.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port);
    return -1;
}

// Calls f(fd, id) for each connected TCP socket of this process whose peer port is `porta`.
template <class F>
void ParaCadaSoquete(int porta, F&& f) {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return;
    const int proprio = ::dirfd(dir);
    while (dirent* e = ::readdir(dir)) {
        char* fim = nullptr;
        const long fd = std::strtol(e->d_name, &fim, 10);
        if (fim == e->d_name || *fim != '\0' || fd == proprio) continue;
        struct stat st {};
        if (::fstat(static_cast<int>(fd), &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
        sockaddr_storage remoto{}, local{};
        socklen_t tr = sizeof remoto, tl = sizeof local;
        if (::getpeername(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&remoto), &tr) != 0) continue;
        if (PortaDe(remoto) != porta) continue;
        if (::getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&local), &tl) != 0) continue;
        TIdSoquete id{std::string(reinterpret_cast<const char*>(&local), tl),
                      std::string(reinterpret_cast<const char*>(&remoto), tr)};
        f(static_cast<int>(fd), id);
    }
    ::closedir(dir);
}

}  // namespace

std::vector<TIdSoquete> SoquetesParaPorta(int porta) {
    std::vector<TIdSoquete> r;
    ParaCadaSoquete(porta, [&](int, const TIdSoquete& id) { r.push_back(id); });
    std::sort(r.begin(), r.end());
    return r;
}

// ---------------------------------------------------------------- probe

namespace {

// The wire protocol's connect request, offering protocol 10 only: every
// server since Firebird 1.5 answers it with an accept or a refusal at once.
std::string PedidoConexao() {
    std::string p;
    auto inteiro = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) p += static_cast<char>((v >> s) & 0xFF);
    };
    auto texto = [&](const std::string& s) {
        inteiro(static_cast<uint32_t>(s.size()));
        p += s;
        while (p.size() % 4) p += '\0';
    };
    inteiro(1);   // op_connect
    inteiro(19);  // op_attach
    inteiro(3);   // connect version 3
    inteiro(1);   // generic architecture
    texto("");    // no database: only the protocol is agreed
    inteiro(1);   // one protocol offered
    // Who asks: user "etiquetas" on host "sonda" (CNCT_user, CNCT_host).
    texto(std::string("\x01\x09") + "etiquetas" + "\x04\x05" + "sonda");
    inteiro(10);  // protocol version 10
    inteiro(1);   // generic architecture
    inteiro(2);   // remote procedure call ...
    inteiro(5);   // ... up to lazy sending
    inteiro(2);   // weight
    return p;
}

int RestaMs(Relogio::time_point limite) {
    const auto r = std::chrono::duration_cast<milliseconds>(limite - Relogio::now()).count();
    return static_cast<int>(std::clamp<long long>(r, 0, 1000));
}

// Waits for `eventos` on fd until the deadline; true when they came.
bool Aguardar(int fd, short eventos, Relogio::time_point limite) {
    for (;;) {
        if (Relogio::now() >= limite) return false;
        pollfd p{fd, eventos, 0};
        const int n = ::poll(&p, 1, RestaMs(limite));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n > 0) return true;
    }
}

// After the TCP handshake: the request goes out and any reaction of the
// server's process counts as an answer (bytes, or the connection closed).
TSondagem Conversar(int fd, Relogio::time_point limite) {
    const std::string pedido = PedidoConexao();
    size_t enviado = 0;
    while (enviado < pedido.size()) {
        if (!Aguardar(fd, POLLOUT, limite)) return TSondagem::Calado;
        const ssize_t n = ::send(fd, pedido.data() + enviado, pedido.size() - enviado, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) return TSondagem::Atendeu;  // reset by the server's process
        enviado += static_cast<size_t>(n);
    }
    for (;;) {
        if (!Aguardar(fd, POLLIN, limite)) return TSondagem::Calado;
        char b[16];
        const ssize_t n = ::recv(fd, b, sizeof b, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return TSondagem::Atendeu;
    }
}

}  // namespace

TSondagem SondarServidor(const std::string& host, const std::string& porta, Relogio::time_point limite,
                         bool protocolo) {
    addrinfo dica{};
    dica.ai_family = AF_UNSPEC;
    dica.ai_socktype = SOCK_STREAM;
    dica.ai_flags = AI_NUMERICSERV;
    addrinfo* lista = nullptr;
    if (getaddrinfo(host.c_str(), porta.c_str(), &dica, &lista) != 0 || !lista) return TSondagem::Recusou;
    TSondagem r = TSondagem::Recusou;
    for (addrinfo* a = lista; a && r == TSondagem::Recusou; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        bool conectado = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
        if (!conectado && errno == EINPROGRESS) {
            if (!Aguardar(fd, POLLOUT, limite)) {
                r = TSondagem::Calado;
            } else {
                int erro = 0;
                socklen_t tam = sizeof erro;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &erro, &tam);
                conectado = erro == 0;
            }
        }
        if (conectado) r = protocolo ? Conversar(fd, limite) : TSondagem::Atendeu;
        ::close(fd);
    }
    freeaddrinfo(lista);
    return r;
}

// ---------------------------------------------------------------- TVigia

TVigia::TVigia(std::string host, std::string porta, std::vector<TIdSoquete> soquetes)
    : host_(std::move(host)), porta_(std::move(porta)), soquetes_(std::move(soquetes)) {}

std::string TVigia::Nome() const { return host_ + " (porta " + porta_ + ")"; }

void TVigia::Cortar() const {
    // Not told apart at the attach (another thread attached at the same
    // time): every socket to the silent server goes.
    ParaCadaSoquete(std::atoi(porta_.c_str()), [&](int fd, const TIdSoquete& id) {
        if (soquetes_.empty() || std::find(soquetes_.begin(), soquetes_.end(), id) != soquetes_.end())
            ::shutdown(fd, SHUT_RDWR);
    });
}

std::string MensagemAbandono(const TVigia& vigia, const std::string& caminho, int segundos, TAbandono motivo,
                             bool gravando) {
    std::string m = "O servidor " + vigia.Nome() + " do banco de dados \"" + caminho + "\" não responde há " +
                    std::to_string(segundos) + " s; a operação foi abandonada" +
                    (motivo == TAbandono::Operador ? " a pedido do operador" : "");
    if (gravando)
        return m +
               " durante a confirmação da gravação, que o servidor ainda pode concluir quando voltar a "
               "responder: confira o resultado antes de repetir.";
    return m + " e nada foi gravado.";
}

std::string TextoEsperaServidor(const std::string& servidor, int segundos, int limite) {
    return "O servidor " + servidor + " não responde há " + std::to_string(segundos) +
           " s.\nA operação será abandonada aos " + std::to_string(limite) + " s sem resposta.";
}

// ---------------------------------------------------------------- watch

class TOperacaoVigiada final : public TEsperaServidor {
public:
    TOperacaoVigiada(std::shared_ptr<const TVigia> v, int limiteSegundos)
        : vigia(std::move(v)), limite(std::max(1, limiteSegundos)), inicio(Relogio::now()), ultimaResposta(inicio) {}

    // Fixed at creation.
    const std::shared_ptr<const TVigia> vigia;
    const int limite;
    const Relogio::time_point inicio;

    // Guarded by the watchdog's lock.
    Relogio::time_point ultimaResposta, proximaSonda;
    bool calado = false;
    bool herdado = false;  // the server was already judged silent: one failed probe is enough
    bool registrada = false;
    TAbandono abandono = TAbandono::Nenhum;
    int segundosAbandono = 0;

    // The end of a call run on the worker thread.
    std::mutex m;
    std::condition_variable cv;
    bool concluida = false;
    std::exception_ptr erro;

    void Concluir(std::exception_ptr e) {
        std::lock_guard<std::mutex> g(m);
        erro = std::move(e);
        concluida = true;
        cv.notify_all();
    }

    bool AguardarConclusao(int ms) override {
        std::unique_lock<std::mutex> g(m);
        return cv.wait_for(g, milliseconds(std::max(0, ms)), [&] { return concluida; });
    }
    int SegundosSemResposta() const override;
    std::string Servidor() const override { return vigia->Nome(); }
    int Limite() const override { return limite; }
    void Desistir() override;
};

namespace {

std::atomic<void (*)(const std::string&)> g_aviso{nullptr};

// Whole seconds since the server last answered, at least 1 once it is silent.
int SegundosDeSilencio(const TOperacaoVigiada& op) {
    const auto ms = std::chrono::duration_cast<milliseconds>(Relogio::now() - op.ultimaResposta).count();
    return static_cast<int>(std::max<long long>(1, ms / 1000));
}

milliseconds LimiteMs(const TOperacaoVigiada& op) { return milliseconds(op.limite * 1000LL); }
// The first probe waits a tenth of the limit (3 s): most calls end before it.
milliseconds Atraso(const TOperacaoVigiada& op) { return std::min(milliseconds(3000), LimiteMs(op) / 10); }
// Time a probe is given to be answered.
milliseconds PrazoSonda(const TOperacaoVigiada& op) {
    return std::clamp(LimiteMs(op) / 6, milliseconds(250), milliseconds(5000));
}

// Threads of the watch take no signals: the program's handlers run where they always did.
template <class F>
void IniciarSemSinais(F&& f) {
    sigset_t todos, antes;
    sigfillset(&todos);
    pthread_sigmask(SIG_SETMASK, &todos, &antes);
    std::thread(std::forward<F>(f)).detach();
    pthread_sigmask(SIG_SETMASK, &antes, nullptr);
}

// One thread probes the servers of the calls that last; made on first use and
// never ended (it sleeps while no call waits).
class TVigilante {
public:
    static TVigilante& Instancia() {
        static TVigilante* v = new TVigilante;  // outlives every static destructor
        return *v;
    }

    std::mutex m;

    void Registrar(const std::shared_ptr<TOperacaoVigiada>& op) {
        std::lock_guard<std::mutex> g(m);
        op->registrada = true;
        op->proximaSonda = op->inicio + Atraso(*op);
        // A server abandoned a moment ago (the unwinding's rollback and
        // detach, the other connection to it) is asked once at once, not
        // waited for again.
        auto c = calados_.find(Chave(*op));
        if (c != calados_.end()) {
            op->herdado = op->calado = true;
            op->ultimaResposta = c->second;
            op->proximaSonda = op->inicio;
        }
        ops_.push_back(op);
        if (!iniciado_) {
            iniciado_ = true;
            IniciarSemSinais([this] { Laco(); });
        }
        // The thread sleeps until alvo_: woken only when this call is due earlier.
        if (op->proximaSonda < alvo_) cv_.notify_one();
    }

    void Retirar(const std::shared_ptr<TOperacaoVigiada>& op) {
        std::lock_guard<std::mutex> g(m);
        op->registrada = false;
        ops_.erase(std::remove(ops_.begin(), ops_.end(), op), ops_.end());
    }

    // With the lock held.
    void Abandonar(TOperacaoVigiada& op, TAbandono motivo) {
        if (!op.registrada || op.abandono != TAbandono::Nenhum) return;
        op.abandono = motivo;
        op.segundosAbandono = std::max<int>(
            motivo == TAbandono::Silencio ? op.limite : 1,
            static_cast<int>(
                std::chrono::duration_cast<std::chrono::seconds>(Relogio::now() - op.ultimaResposta).count()));
        calados_[Chave(op)] = op.ultimaResposta;
        op.vigia->Cortar();
    }

private:
    std::condition_variable cv_;
    std::vector<std::shared_ptr<TOperacaoVigiada>> ops_;
    bool iniciado_ = false;
    Relogio::time_point alvo_ = Relogio::time_point::max();
    // Servers abandoned for silence, with the moment they last answered.
    std::map<std::string, Relogio::time_point> calados_;

    static std::string Chave(const TOperacaoVigiada& op) { return op.vigia->Host() + "/" + op.vigia->Porta(); }

    void Laco() {
        std::unique_lock<std::mutex> g(m);
        for (;;) {
            if (ops_.empty()) {
                alvo_ = Relogio::time_point::max();
                cv_.wait(g);
                continue;
            }
            auto op = *std::min_element(ops_.begin(), ops_.end(),
                                        [](const auto& a, const auto& b) { return a->proximaSonda < b->proximaSonda; });
            if (Relogio::now() < op->proximaSonda) {
                alvo_ = op->proximaSonda;
                cv_.wait_until(g, alvo_);
                continue;
            }
            alvo_ = Relogio::time_point::min();  // busy probing: nobody needs to wake it
            const auto inicioSonda = Relogio::now();
            const auto prazo = op->herdado
                                   ? inicioSonda + std::min(PrazoSonda(*op), milliseconds(500))
                                   : std::min(inicioSonda + PrazoSonda(*op), op->ultimaResposta + LimiteMs(*op));
            const std::string host = op->vigia->Host(), porta = op->vigia->Porta();
            g.unlock();
            const TSondagem r = SondarServidor(host, porta, prazo, true);
            g.lock();
            if (!op->registrada || op->abandono != TAbandono::Nenhum) continue;
            const auto agora = Relogio::now();
            if (r == TSondagem::Atendeu) {
                calados_.erase(Chave(*op));
                op->ultimaResposta = inicioSonda;
                op->calado = op->herdado = false;
                op->proximaSonda = agora + Atraso(*op);
            } else if (op->herdado || agora >= op->ultimaResposta + LimiteMs(*op)) {
                op->calado = true;
                Abandonar(*op, TAbandono::Silencio);
            } else {
                const bool novo = !op->calado;
                op->calado = true;
                // A refusal comes at once: do not hammer the port.
                op->proximaSonda = std::max(agora, inicioSonda + Atraso(*op));
                if (auto* aviso = g_aviso.load(); novo && aviso) {
                    const std::string texto =
                        TextoEsperaServidor(op->vigia->Nome(), SegundosDeSilencio(*op), op->limite);
                    g.unlock();
                    aviso(texto);
                    g.lock();
                }
            }
        }
    }
};

// One thread runs the calls the screen waits for; made on first use.
class TTrabalhador {
public:
    static TTrabalhador& Instancia() {
        static TTrabalhador* t = new TTrabalhador;
        return *t;
    }

    // Runs tarefa, then fim once it is free for the next one. False when it is
    // busy (a call made while the screen waits for another): the caller runs it itself.
    bool Entregar(std::function<void()> tarefa, std::function<void()> fim) {
        std::lock_guard<std::mutex> g(m_);
        if (ocupado_) return false;
        ocupado_ = true;
        tarefa_ = std::move(tarefa);
        fim_ = std::move(fim);
        if (!iniciado_) {
            iniciado_ = true;
            IniciarSemSinais([this] { Laco(); });
        }
        cv_.notify_one();
        return true;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::function<void()> tarefa_, fim_;
    bool ocupado_ = false;
    bool iniciado_ = false;

    void Laco() {
        std::unique_lock<std::mutex> g(m_);
        for (;;) {
            cv_.wait(g, [&] { return static_cast<bool>(tarefa_); });
            std::function<void()> t = std::move(tarefa_), fim = std::move(fim_);
            tarefa_ = fim_ = nullptr;
            g.unlock();
            t();
            g.lock();
            ocupado_ = false;
            g.unlock();
            fim();
            g.lock();
        }
    }
};

}  // namespace

int TOperacaoVigiada::SegundosSemResposta() const {
    std::lock_guard<std::mutex> g(TVigilante::Instancia().m);
    return calado ? SegundosDeSilencio(*this) : 0;
}

void TOperacaoVigiada::Desistir() {
    auto& v = TVigilante::Instancia();
    std::lock_guard<std::mutex> g(v.m);
    v.Abandonar(*this, TAbandono::Operador);
}

void DefinirAvisoSemResposta(void (*aviso)(const std::string& texto)) { g_aviso = aviso; }

// ---------------------------------------------------------------- TVigilancia

TVigilancia::TVigilancia(std::shared_ptr<const TVigia> vigia, int limiteSegundos) {
    if (!vigia) return;
    op_ = std::make_shared<TOperacaoVigiada>(std::move(vigia), limiteSegundos);
    TVigilante::Instancia().Registrar(op_);
}

TVigilancia::~TVigilancia() {
    if (op_) TVigilante::Instancia().Retirar(op_);
}

TAbandono TVigilancia::Abandono() const {
    if (!op_) return TAbandono::Nenhum;
    std::lock_guard<std::mutex> g(TVigilante::Instancia().m);
    return op_->abandono;
}

int TVigilancia::SegundosAbandono() const {
    if (!op_) return 0;
    std::lock_guard<std::mutex> g(TVigilante::Instancia().m);
    return op_->segundosAbandono;
}

void TVigilancia::ExecutarApagado(const std::function<void()>& f) {
    TInterfaceUsuario& iu = InterfaceUsuario();
    auto op = op_;
    auto erro = std::make_shared<std::exception_ptr>();
    const bool aoLado = iu.AcompanhaServidor() && TTrabalhador::Instancia().Entregar(
                                                      [erro, &f] {
                                                          try {
                                                              f();
                                                          } catch (...) {
                                                              *erro = std::current_exception();
                                                          }
                                                      },
                                                      [erro, op] { op->Concluir(*erro); });
    if (!aoLado) {
        f();
        return;
    }
    try {
        iu.AguardaServidor(*op);
    } catch (...) {
        // f lives on this stack: it must be over before leaving.
        while (!op->AguardarConclusao(1000)) {}
        throw;
    }
    while (!op->AguardarConclusao(1000)) {}
    if (op->erro) std::rethrow_exception(op->erro);
}

}  // namespace fb
