#pragma once
// Watch over the calls that wait on a Firebird server.
//
// Firebird 3 has no statement time-out: a server that stops answering in the
// middle of a statement (a stopped process, a hung machine, a link left
// half-open) keeps the client waiting for ever. While a call waits, a watchdog
// thread asks the server, over a TCP connection of its own, for the opening
// handshake of the wire protocol. A statement that is merely slow goes on as
// long as the server answers these; when no answer came for the whole limit
// (30 s), the attachment's own socket is shut down: the client library fails
// the call with a network error, the work unwinds as on any lost link, and the
// server rolls back the uncommitted transaction when it sees the link gone.
//
// The windows may run the calls beside the screen (TInterfaceUsuario::
// AcompanhaServidor): the screen then shows the seconds of silence and lets
// the operator give up at once.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/InterfaceUsuario.h"

namespace fb {

// Seconds a server may stay silent in the middle of a call: 30, or the value
// of ETIQ_SEGUNDOS_SEM_RESPOSTA when it holds a positive number (tests).
int SegundosSemRespostaPadrao();

// The watch's clock: the steady clock, or one a test moves by hand.
class TRelogioVigia {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~TRelogioVigia() = default;
    virtual time_point Agora() const = 0;
    // The longest real wait before the clock is read again, when `resta` is left.
    virtual std::chrono::milliseconds Fatia(std::chrono::milliseconds resta) const = 0;
    // The same while the watch has nothing to do until its next probe, `resta` away.
    virtual std::chrono::milliseconds FatiaOciosa(std::chrono::milliseconds resta) const { return Fatia(resta); }
};
// The clock in force; never null. Another one (not owned) is installed by
// tests while no call is watched; nullptr brings the steady clock back.
TRelogioVigia& RelogioVigia();
void DefinirRelogioVigia(TRelogioVigia* relogio);

// A connected TCP socket of this process, by its two addresses.
struct TIdSoquete {
    std::string local, remoto;  // raw sockaddr bytes
    bool operator==(const TIdSoquete&) const = default;
    auto operator<=>(const TIdSoquete&) const = default;
};

// The sockets of this process connected to TCP port `porta` of any host.
std::vector<TIdSoquete> SoquetesParaPorta(int porta);

enum class TSondagem { Atendeu, Recusou, Calado };

// Opens a TCP connection to host:porta within the deadline (of the watch's
// clock; the name look-up too). With `protocolo`, also sends the wire
// protocol's connect request and waits for the server's process to react (an
// accept, a refusal, or closing the connection): the kernel of a stopped
// server completes the TCP handshake on its own. A name that is not found in
// time is Calado.
TSondagem SondarServidor(const std::string& host, const std::string& porta,
                         std::chrono::steady_clock::time_point limite, bool protocolo);

// The server of one attachment and the attachment's own socket.
class TVigia {
public:
    // `soquetes`: the attachment's socket (normally one), found by comparing
    // the sockets to the server's port before and after the attach.
    TVigia(std::string host, std::string porta, std::vector<TIdSoquete> soquetes);
    // "127.0.0.1 (porta 3050)"
    std::string Nome() const;
    const std::string& Host() const { return host_; }
    const std::string& Porta() const { return porta_; }
    // Whether the attachment's socket is known (otherwise nothing can be cut).
    bool Identificado() const { return !soquetes_.empty(); }
    // Shuts the attachment's socket down, and no other; the blocked call
    // returns with a network error.
    void Cortar() const;

private:
    std::string host_, porta_;
    std::vector<TIdSoquete> soquetes_;
};

// Why a call was abandoned.
enum class TAbandono { Nenhum, Silencio, Operador };

// The operator's text for a call abandoned on a silent server.
//   `gravando`: the call was the commit, whose fate the server decides when it wakes up.
std::string MensagemAbandono(const TVigia& vigia, const std::string& caminho, int segundos, TAbandono motivo,
                             bool gravando);
// The waiting window's text while the server is silent.
std::string TextoEsperaServidor(const std::string& servidor, int segundos, int limite);
// What is said when the limit came but the connection's socket is not known:
// the call goes on waiting for the server.
std::string TextoSemCorte(const std::string& servidor, int segundos);

// While a thread waits for a call that runs beside the screen, no other
// database call may start: the screen's events (a repaint, an activation)
// would otherwise reach the data beside the call in progress. True during
// such a wait, on every thread but the one running the call.
bool ChamadaEmEspera();
// Raises EDatabaseError when ChamadaEmEspera().
void RecusarDuranteEspera();

// Called, from the watch's own thread, when the server of a call first fails
// to answer (the command line says it on standard error); nullptr: nobody.
void DefinirAvisoSemResposta(void (*aviso)(const std::string& texto));

class TOperacaoVigiada;

// One call on an attachment, watched from construction to destruction. With
// no server to watch (embedded database) it costs nothing.
class TVigilancia {
public:
    TVigilancia(std::shared_ptr<const TVigia> vigia, int limiteSegundos);
    ~TVigilancia();
    TVigilancia(const TVigilancia&) = delete;
    TVigilancia& operator=(const TVigilancia&) = delete;

    // Runs f: on this thread, or, when the screen follows the server, on the
    // watch's worker thread while the screen waits. Failures travel as thrown.
    // The call's end is marked under the watch's lock as soon as f returns: a
    // cut decided afterwards does not happen.
    template <class F>
    auto Executar(F&& f) -> decltype(f()) {
        using R = decltype(f());
        if (!op_) {
            RecusarDuranteEspera();
            return f();
        }
        if constexpr (std::is_void_v<R>) {
            ExecutarApagado([&] { f(); });
        } else {
            std::unique_ptr<R> r;
            ExecutarApagado([&] { r = std::make_unique<R>(f()); });
            return std::move(*r);
        }
    }

    TAbandono Abandono() const;
    int SegundosAbandono() const;  // seconds without an answer when abandoned

private:
    void ExecutarApagado(const std::function<void()>& f);
    std::shared_ptr<TOperacaoVigiada> op_;
};

}  // namespace fb
