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

#include "common/Excecoes.h"
#include "common/ResolverNome.h"

namespace fb {

using Relogio = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

class TRelogioFirme final : public TRelogioVigia {
public:
    time_point Agora() const override { return Relogio::now(); }
    milliseconds Fatia(milliseconds resta) const override { return resta; }
};

TRelogioFirme g_firme;
std::atomic<TRelogioVigia*> g_relogio{&g_firme};

Relogio::time_point Agora() { return g_relogio.load()->Agora(); }

}  // namespace

TRelogioVigia& RelogioVigia() { return *g_relogio.load(); }
void DefinirRelogioVigia(TRelogioVigia* relogio) { g_relogio = relogio ? relogio : &g_firme; }

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
    const auto r = std::chrono::duration_cast<milliseconds>(limite - Agora());
    const auto fatia = RelogioVigia().Fatia(std::clamp(r, milliseconds(0), milliseconds(1000)));
    return static_cast<int>(std::clamp<long long>(fatia.count(), 0, 1000));
}

// Waits for `eventos` on fd until the deadline; true when they came.
bool Aguardar(int fd, short eventos, Relogio::time_point limite) {
    for (;;) {
        if (Agora() >= limite) return false;
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

// The name look-up bounded by the deadline, on the watch's clock. Null with
// `calado` when the time ran out.
addrinfo* Resolver(const std::string& host, const std::string& porta, Relogio::time_point limite, bool& calado) {
    const TResolucao r =
        ResolverComPrazo(host, porta, [&] { return Agora() >= limite ? 0 : std::max(1, RestaMs(limite)); });
    calado = r.esgotado;
    return r.enderecos;
}

}  // namespace

TSondagem SondarServidor(const std::string& host, const std::string& porta, Relogio::time_point limite,
                         bool protocolo) {
    bool semTempo = false;
    addrinfo* lista = Resolver(host, porta, limite, semTempo);
    if (!lista) return semTempo ? TSondagem::Calado : TSondagem::Recusou;
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
    // Only this attachment's: the program's other connection to the same
    // server (or another attachment's) is not ours to end.
    if (soquetes_.empty()) return;
    ParaCadaSoquete(std::atoi(porta_.c_str()), [&](int fd, const TIdSoquete& id) {
        if (std::find(soquetes_.begin(), soquetes_.end(), id) != soquetes_.end()) ::shutdown(fd, SHUT_RDWR);
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

std::string TextoSemCorte(const std::string& servidor, int segundos) {
    return "O servidor " + servidor + " não responde há " + std::to_string(segundos) +
           " s, mas a conexão com ele não pôde ser identificada para ser abandonada: a operação continua esperando o "
           "servidor.";
}

// ---------------------------------------------------------------- watch

class TOperacaoVigiada final : public TEsperaServidor {
public:
    TOperacaoVigiada(std::shared_ptr<const TVigia> v, int limiteSegundos)
        : vigia(std::move(v)), limite(std::max(1, limiteSegundos)), inicio(Agora()), ultimaResposta(inicio) {}

    // Fixed at creation.
    const std::shared_ptr<const TVigia> vigia;
    const int limite;
    const Relogio::time_point inicio;

    // Guarded by the watchdog's lock.
    Relogio::time_point ultimaResposta, proximaSonda;
    bool calado = false;
    bool herdado = false;  // the server was already judged silent: one failed probe is enough
    bool registrada = false;
    bool terminada = false;  // the call has returned: nothing is cut any more
    bool semCorte = false;   // the limit came with no socket to cut (said once)
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
    const auto ms = std::chrono::duration_cast<milliseconds>(Agora() - op.ultimaResposta).count();
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

    // The call has returned: under the lock, so a cut is decided before or
    // not at all, and its server is not asked any more.
    void Terminar(const std::shared_ptr<TOperacaoVigiada>& op) {
        std::lock_guard<std::mutex> g(m);
        op->terminada = true;
        op->registrada = false;
        ops_.erase(std::remove(ops_.begin(), ops_.end(), op), ops_.end());
    }

    // With the lock held. Returns the text to tell when the cut cannot be made.
    std::string Abandonar(TOperacaoVigiada& op, TAbandono motivo) {
        if (!op.registrada || op.terminada || op.abandono != TAbandono::Nenhum) return {};
        const int segundos = std::max<int>(
            motivo == TAbandono::Silencio ? op.limite : 1,
            static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(Agora() - op.ultimaResposta).count()));
        if (!op.vigia->Identificado()) {
            // Cutting blind would end the program's other connections too: the call waits on.
            if (op.semCorte) return {};
            op.semCorte = true;
            return TextoSemCorte(op.vigia->Nome(), segundos);
        }
        op.abandono = motivo;
        op.segundosAbandono = segundos;
        calados_[Chave(op)] = op.ultimaResposta;
        op.vigia->Cortar();
        return {};
    }

private:
    std::condition_variable cv_;
    std::vector<std::shared_ptr<TOperacaoVigiada>> ops_;
    bool iniciado_ = false;
    Relogio::time_point alvo_ = Relogio::time_point::max();
    // Servers abandoned for silence, with the moment they last answered.
    std::map<std::string, Relogio::time_point> calados_;

    static std::string Chave(const TOperacaoVigiada& op) { return op.vigia->Host() + "/" + op.vigia->Porta(); }

    // Tells `texto` (when there is one) without the lock.
    static void Avisar(std::unique_lock<std::mutex>& g, const std::string& texto) {
        auto* aviso = g_aviso.load();
        if (texto.empty() || !aviso) return;
        g.unlock();
        aviso(texto);
        g.lock();
    }

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
            if (const auto agora = Agora(); agora < op->proximaSonda) {
                alvo_ = op->proximaSonda;
                cv_.wait_for(g, RelogioVigia().FatiaOciosa(std::chrono::ceil<milliseconds>(alvo_ - agora)));
                continue;
            }
            alvo_ = Relogio::time_point::min();  // busy probing: nobody needs to wake it
            const auto inicioSonda = Agora();
            // Past the limit with nothing cut, a probe still gets its time: an answer ends the silence.
            const auto prazo = op->herdado ? inicioSonda + std::min(PrazoSonda(*op), milliseconds(500))
                               : op->semCorte
                                   ? inicioSonda + PrazoSonda(*op)
                                   : std::min(inicioSonda + PrazoSonda(*op), op->ultimaResposta + LimiteMs(*op));
            const std::string host = op->vigia->Host(), porta = op->vigia->Porta();
            g.unlock();
            const TSondagem r = SondarServidor(host, porta, prazo, true);
            g.lock();
            if (!op->registrada || op->terminada || op->abandono != TAbandono::Nenhum) continue;
            const auto agora = Agora();
            if (r == TSondagem::Atendeu) {
                calados_.erase(Chave(*op));
                op->ultimaResposta = inicioSonda;
                op->calado = op->herdado = false;
                op->proximaSonda = agora + Atraso(*op);
            } else if (op->herdado || agora >= op->ultimaResposta + LimiteMs(*op)) {
                op->calado = true;
                const std::string semCorte = Abandonar(*op, TAbandono::Silencio);
                // Not cut: asked again as before, so an answer clears the silence.
                op->proximaSonda = std::max(agora, inicioSonda + Atraso(*op));
                Avisar(g, semCorte);
            } else {
                const bool novo = !op->calado;
                op->calado = true;
                // A refusal comes at once: do not hammer the port.
                op->proximaSonda = std::max(agora, inicioSonda + Atraso(*op));
                if (novo) Avisar(g, TextoEsperaServidor(op->vigia->Nome(), SegundosDeSilencio(*op), op->limite));
            }
        }
    }
};

// The thread that runs the calls the screen waits for.
thread_local bool t_noTrabalhador = false;
// Threads waiting for a call handed to that thread.
std::atomic<int> g_esperas{0};

// One thread runs the calls the screen waits for; made on first use.
class TTrabalhador {
public:
    static TTrabalhador& Instancia() {
        static TTrabalhador* t = new TTrabalhador;
        return *t;
    }

    // Runs tarefa, then fim once it is free for the next one. False when it is
    // busy: the caller must not run the call beside the one in progress.
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
        t_noTrabalhador = true;
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
    std::string semCorte;
    {
        std::lock_guard<std::mutex> g(v.m);
        semCorte = v.Abandonar(*this, TAbandono::Operador);
    }
    if (auto* aviso = g_aviso.load(); aviso && !semCorte.empty()) aviso(semCorte);
}

bool ChamadaEmEspera() { return !t_noTrabalhador && g_esperas.load() > 0; }

void RecusarDuranteEspera() {
    if (ChamadaEmEspera())
        throw EDatabaseError(
            "Outra operação no banco de dados está aguardando o servidor: esta não foi iniciada. Tente de novo "
            "quando aquela terminar.");
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
    auto op = op_;
    // The end is marked where the call returns, on whichever thread runs it.
    auto chamada = [&f, op] {
        struct TFim {
            const std::shared_ptr<TOperacaoVigiada>& op;
            ~TFim() { TVigilante::Instancia().Terminar(op); }
        } fim{op};
        f();
    };
    // A call made by the call in progress (on its own thread) runs where it is.
    if (t_noTrabalhador) return chamada();
    RecusarDuranteEspera();
    TInterfaceUsuario& iu = InterfaceUsuario();
    if (!iu.AcompanhaServidor()) return chamada();
    // From here until the call ends, the waiting screen starts no other call.
    struct TEspera {
        TEspera() { ++g_esperas; }
        ~TEspera() { --g_esperas; }
    } espera;
    auto erro = std::make_shared<std::exception_ptr>();
    const bool aoLado = TTrabalhador::Instancia().Entregar(
        [erro, chamada] {
            try {
                chamada();
            } catch (...) {
                *erro = std::current_exception();
            }
        },
        [erro, op] { op->Concluir(*erro); });
    if (!aoLado)  // busy with another thread's call
        throw EDatabaseError(
            "Outra operação no banco de dados está em andamento: esta não foi iniciada. Tente de "
            "novo quando aquela terminar.");
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
