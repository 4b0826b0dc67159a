// Calls into the client library: its entry point, statuses turned into
// exceptions, the signal take-over at the first attach, and refusing new work
// once the program is ending.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "common/Win1252.h"
#include "data/fb/FbInterno.h"
#include "data/fb/MensagensFb.h"

namespace fb {

IMaster* Mestre() {
    static IMaster* m = [] {
        IMaster* mestre = fb_get_master_interface();
        // The library is shut down at exit, its threads and buffers with it
        // (bounded: an attachment to a server that went silent is dropped).
        // Refused only when out of memory: the system then frees it all at exit.
        (void)std::atexit([] { fb_shutdown(5000, fb_shutrsn_app_stopped); });
        return mestre;
    }();
    return m;
}

namespace {

// Messages may carry names in the connection's code page: keep valid UTF-8, read the rest as WIN1252.
std::string TextoDoServidor(const std::string& s) {
    size_t i = 0;
    char32_t cp;
    while (i < s.size()) {
        if (!Utf8::Proximo(s, i, cp)) return Win1252::ParaUtf8(s);
    }
    return s;
}

// Set once the program is ending: new work on any attachment is refused.
std::atomic<bool> g_interrompido{false};

bool TemCodigo(const EFbErro& e, std::initializer_list<intptr_t> codigos) {
    return std::find(codigos.begin(), codigos.end(), e.CodigoGds()) != codigos.end();
}

}  // namespace

[[noreturn]] void Lancar(const IStatus* st, const std::string& prefixo, std::string_view sql) {
    char buf[2048];
    Mestre()->getUtilInterface()->formatStatus(buf, sizeof buf, const_cast<IStatus*>(st));
    std::string msg = TextoDoServidor(buf);
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
    const intptr_t* v = st->getErrors();
    msg = TraduzirStatusFb(v, msg, sql);
    intptr_t gds = (v && v[0] == isc_arg_gds) ? v[1] : 0;
    int sqlcode = v ? isc_sqlcode(v) : 0;
    char estado[6] = {0};
    if (v) fb_sqlstate(estado, v);
    throw EFbErro(prefixo.empty() ? msg : prefixo + "\n" + msg, gds, sqlcode, std::string(estado, strnlen(estado, 5)));
}

[[noreturn]] void Erro(const std::string& msg) { throw EDatabaseError(msg); }

std::string Minusc(std::string_view s) {
    std::string r(s);
    for (auto& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

std::string TrimEspacos(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return std::string(s.substr(a, b - a));
}

void RecusarSeInterrompido() {
    if (g_interrompido.load())
        throw EEncerrando("O programa está sendo encerrado: a operação no banco de dados foi cancelada.");
}

// The take-over happens once per process, at the first attach, even one that
// fails at once. It is done here on an empty path with both signals held back
// in this thread and the program's dispositions put back at once, so that no
// signal reaches the library's handler while a real attach waits on a server
// (a signal held back meanwhile comes after, to the program's handler).
void TomarSinaisDoCliente(IProvider* prov) {
    static std::once_flag feito;
    std::call_once(feito, [prov] {
        sigset_t sinais, antes;
        sigemptyset(&sinais);
        sigaddset(&sinais, SIGINT);
        sigaddset(&sinais, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &sinais, &antes);
        {
            TGuardaSinais guarda;
            TStatus st;
            try {
                IAttachment* a = prov->attachDatabase(st.w(), "", 0, nullptr);
                if (a) a->release();
            } catch (const FbException&) {  // the refusal is what was expected
            }
        }
        pthread_sigmask(SIG_SETMASK, &antes, nullptr);
    });
}

bool EFbErro::ConflitoDeBloqueio() const {
    return gds_ == isc_lock_conflict || gds_ == isc_deadlock || gds_ == isc_update_conflict;
}

bool EFbErro::ConexaoPerdida() const {
    return TemCodigo(*this, {isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection,
                             isc_conn_lost, isc_att_shutdown});
}

// The statement in progress is left to finish: a cancel sent to a server
// racing with a running statement can leave the client waiting for an answer
// that never comes. Statements here are short; the next one is refused.
void InterromperOperacoes() { g_interrompido = true; }

bool Interrompido() { return g_interrompido.load(); }

}  // namespace fb
