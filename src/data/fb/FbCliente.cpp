#include "data/fb/FbCliente.h"
#include "data/fb/MensagensFb.h"
#include "data/fb/VigiaServidor.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <variant>

#include "common/Win1252.h"

using namespace Firebird;

namespace fb {

namespace {

// Firebird counts dates from 17/11/1858; TDateTime from 30/12/1899.
constexpr int kDiasAte1899 = 15018;
constexpr double kFracoesPorDia = 86400.0 * ISC_TIME_SECONDS_PRECISION;

constexpr unsigned kCsNone = 0;
constexpr unsigned kCsOctets = 1;
constexpr unsigned kCsUtf8 = 4;
constexpr unsigned kCsWin1252 = 53;

IMaster* Mestre() {
    static IMaster* m = [] {
        IMaster* mestre = fb_get_master_interface();
        // The library is shut down at exit, its threads and buffers with it
        // (bounded: an attachment to a server that went silent is dropped).
        std::atexit([] { fb_shutdown(5000, fb_shutrsn_app_stopped); });
        return mestre;
    }();
    return m;
}

// A status for one call chain; disposed on every path.
class TStatus {
public:
    TStatus() : status_(Mestre()->getStatus()), w_(status_) {}
    ~TStatus() { status_->dispose(); }
    TStatus(const TStatus&) = delete;
    TStatus& operator=(const TStatus&) = delete;
    ThrowStatusWrapper* operator&() { return &w_; }
    ThrowStatusWrapper* w() { return &w_; }

private:
    IStatus* status_;
    ThrowStatusWrapper w_;
};

// Messages may carry names in the connection's code page: keep valid UTF-8, read the rest as WIN1252.
std::string TextoDoServidor(const std::string& s) {
    size_t i = 0;
    char32_t cp;
    while (i < s.size()) {
        if (!Utf8::Proximo(s, i, cp)) return Win1252::ParaUtf8(s);
    }
    return s;
}

[[noreturn]] void Lancar(const IStatus* st, const std::string& prefixo) {
    char buf[2048];
    Mestre()->getUtilInterface()->formatStatus(buf, sizeof buf, const_cast<IStatus*>(st));
    std::string msg = TextoDoServidor(buf);
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
    const intptr_t* v = st->getErrors();
    msg = TraduzirStatusFb(v, msg);
    intptr_t gds = (v && v[0] == isc_arg_gds) ? v[1] : 0;
    int sqlcode = v ? isc_sqlcode(v) : 0;
    char estado[6] = {0};
    if (v) fb_sqlstate(estado, v);
    throw EFbErro(prefixo.empty() ? msg : prefixo + "\n" + msg, gds, sqlcode, std::string(estado, strnlen(estado, 5)));
}

// Runs f; a Firebird failure becomes EFbErro with the server's message.
template <class F>
auto Chamar(F&& f, const std::string& prefixo = {}) -> decltype(f()) {
    try {
        return f();
    } catch (const FbException& e) {
        Lancar(e.getStatus(), prefixo);
    }
}

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

// Set once the program is ending: new work on any attachment is refused.
std::atomic<bool> g_interrompido{false};

void RecusarSeInterrompido() {
    if (g_interrompido.load()) throw EEncerrando("O programa está sendo encerrado: a operação no banco de dados foi cancelada.");
}

// The client library takes SIGINT and SIGTERM over at its first attach, with
// handlers that shut every connection down and leave the program running on
// dead attachments. The program's own dispositions are put back.
class TGuardaSinais {
public:
    TGuardaSinais() {
        sigaction(SIGINT, nullptr, &int_);
        sigaction(SIGTERM, nullptr, &term_);
    }
    ~TGuardaSinais() {
        sigaction(SIGINT, &int_, nullptr);
        sigaction(SIGTERM, &term_, nullptr);
    }
    TGuardaSinais(const TGuardaSinais&) = delete;
    TGuardaSinais& operator=(const TGuardaSinais&) = delete;

private:
    struct sigaction int_ {};
    struct sigaction term_ {};
};

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

bool TemCodigo(const EFbErro& e, std::initializer_list<intptr_t> codigos) {
    return std::find(codigos.begin(), codigos.end(), e.CodigoGds()) != codigos.end();
}

// Where a remote path's server listens: host and port (number or service).
struct TEndereco {
    std::string host, porta;
};

// The port number of a TCP service name ("gds_db"), from the system's table;
// empty when the name is unknown. getservbyname's static result is not safe
// with threads.
std::string PortaDoServico(const char* nome) {
    servent resultado{};
    servent* achado = nullptr;
    std::vector<char> buf(1024);
    while (getservbyname_r(nome, "tcp", &resultado, buf.data(), buf.size(), &achado) == ERANGE && buf.size() < 65536)
        buf.resize(buf.size() * 2);
    return achado ? std::to_string(ntohs(static_cast<uint16_t>(achado->s_port))) : std::string();
}

std::string PortaPadrao() {
    // The client's own setting, as the client itself will use it.
    std::string porta = "3050";
    IFirebirdConf* conf = Mestre()->getConfigManager()->getFirebirdConf();
    if (!conf) return porta;
    int64_t n = conf->asInteger(conf->getKey("RemoteServicePort"));
    if (n > 0 && n < 65536) {
        porta = std::to_string(n);
    } else {
        const char* nome = conf->asString(conf->getKey("RemoteServiceName"));
        std::string doServico = PortaDoServico(nome && *nome ? nome : "gds_db");
        if (!doServico.empty()) porta = doServico;
    }
    conf->release();
    return porta;
}

std::optional<TEndereco> EnderecoDoServidor(std::string_view c) {
    std::string_view hostPorta;
    char separador = '/';
    auto proto = c.find("://");
    if (proto != std::string_view::npos) {
        std::string esquema = Minusc(c.substr(0, proto));
        if (esquema != "inet" && esquema != "inet4" && esquema != "inet6") return std::nullopt;
        std::string_view resto = c.substr(proto + 3);
        hostPorta = resto.substr(0, resto.find('/'));
        separador = ':';
    } else {
        if (TDatabase::EhCaminhoLocal(c) || c.rfind("\\\\", 0) == 0) return std::nullopt;
        size_t fimHost = 0;
        if (!c.empty() && c[0] == '[') fimHost = c.find(']');
        if (fimHost == std::string_view::npos) return std::nullopt;
        auto dois = c.find(':', fimHost);
        if (dois == std::string_view::npos) return std::nullopt;
        hostPorta = c.substr(0, dois);
    }
    TEndereco e;
    size_t fimHost = 0;
    if (!hostPorta.empty() && hostPorta[0] == '[') {
        fimHost = hostPorta.find(']');
        if (fimHost == std::string_view::npos) return std::nullopt;
        e.host = std::string(hostPorta.substr(1, fimHost - 1));
        ++fimHost;
    } else {
        fimHost = hostPorta.find(separador);
        e.host = std::string(hostPorta.substr(0, fimHost));
    }
    if (fimHost < hostPorta.size() && hostPorta[fimHost] == separador) e.porta = std::string(hostPorta.substr(fimHost + 1));
    if (e.host.empty()) return std::nullopt;
    if (e.porta.empty()) e.porta = PortaPadrao();
    if (!std::all_of(e.porta.begin(), e.porta.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        e.porta = PortaDoServico(e.porta.c_str());
        if (e.porta.empty()) return std::nullopt;  // the client will say what is wrong with it
    }
    return e;
}

// Ends a handle the orderly way (detach, rollback, close, free). When the
// server refuses, the handle is dropped all the same: nothing of the client
// outlives the call. Never throws; the pointer is left null.
template <class T, class F>
void Encerrar(T*& h, F&& fim) {
    if (!h) return;
    try {
        TStatus st;
        fim(h, st.w());
    } catch (const FbException&) {
        h->release();
    }
    h = nullptr;
}

// Disposes of a parameter-block builder when the scope ends.
struct TGuardaXpb {
    IXpbBuilder* b;
    ~TGuardaXpb() { b->dispose(); }
};

[[noreturn]] void Erro(const std::string& msg) { throw EDatabaseError(msg); }

bool IguaisAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string Hex(std::string_view bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string r;
    r.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        r += d[c >> 4];
        r += d[c & 15];
    }
    return r;
}

std::string DeHex(std::string_view hex) {
    auto val = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) Erro("Chave de linha inválida: '" + std::string(hex) + "'");
    std::string r;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int a = val(hex[i]), b = val(hex[i + 1]);
        if (a < 0 || b < 0) Erro("Chave de linha inválida: '" + std::string(hex) + "'");
        r += static_cast<char>(a * 16 + b);
    }
    return r;
}

// One value of a Firebird message (a fetched row or a statement parameter) as this client holds it;
// callers see it only through TField.
struct TValorMensagem {
    enum Tipo : uint8_t { Nulo, Inteiro, Real, Texto, Binario, Data, Hora, DataHora, Logico, DbKey };
    Tipo tipo = Nulo;
    int8_t escala = 0;  // Inteiro: digits after the point
    bool textoBlob = false;
    int64_t i = 0;      // Inteiro units; Logico 0/1
    double d = 0;       // Real; TDateTime for Data/Hora/DataHora
    std::string s;      // Texto (UTF-8), Binario and DbKey (raw bytes)
};

// An exact integer column (SMALLINT/INTEGER/BIGINT, NUMERIC stored in them) of the message buffer.
template <class T>
void LerInteiro(TValorMensagem& v, const unsigned char* p, int escalaFb) {
    T x;
    std::memcpy(&x, p, sizeof x);
    v.tipo = TValorMensagem::Inteiro, v.i = x, v.escala = static_cast<int8_t>(-escalaFb);
}

std::string TextoDeInteiro(int64_t v, int escala) {
    if (escala <= 0) return std::to_string(v);
    return Decimal::DeUnidades(v, escala).ParaTexto();
}

TDateTime DeIscDate(ISC_DATE d) { return static_cast<double>(d - kDiasAte1899); }
TDateTime DeIscTime(ISC_TIME t) { return t / kFracoesPorDia; }

void ParaIsc(TDateTime v, ISC_DATE& data, ISC_TIME& hora) {
    double dias = std::floor(v);
    double frac = v - dias;
    auto fr = static_cast<int64_t>(std::llround(frac * kFracoesPorDia));
    if (fr >= static_cast<int64_t>(kFracoesPorDia)) {
        fr -= static_cast<int64_t>(kFracoesPorDia);
        dias += 1;
    }
    data = static_cast<ISC_DATE>(static_cast<int64_t>(dias) + kDiasAte1899);
    hora = static_cast<ISC_TIME>(fr);
}

// Bytes for the wire in the connection's character set.
std::string ParaCliente(std::string_view utf8, unsigned cs) {
    if (cs == kCsUtf8 || cs == kCsOctets) return std::string(utf8);
    return Win1252::DeUtf8(utf8);
}
std::string DoCliente(std::string_view bytes, unsigned cs) {
    if (cs == kCsUtf8) return std::string(bytes);
    return Win1252::ParaUtf8(bytes);
}

}  // namespace

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

// ---------------------------------------------------------------- TDatabase

struct TDatabase::Impl {
    std::string caminho;
    std::vector<std::string> parametros;
    TTransaction* padrao = nullptr;
    int tempoLimite = 10;
    IAttachment* att = nullptr;
    unsigned charset = kCsWin1252;
    uint64_t geracao = 0;  // bumps on every connect: statements of an older one are gone
    std::set<TTransaction::Impl*> transacoes;
    std::set<TQuery::Impl*> consultas;

    // The server's watch (remote attachments only) and its limit of silence.
    std::shared_ptr<const TVigia> vigia;
    int semResposta = SegundosSemRespostaPadrao();

    IXpbBuilder* MontarDpb(ThrowStatusWrapper* st, bool criar, int segundos);
    void Anexar(bool criar);
    // The link to the server broke, or the watch abandoned a silent server
    // (`vigilancia`, during a commit when `gravando`): drop everything without
    // asking the server and say what was lost. Never returns.
    [[noreturn]] void Perdida(const EFbErro& e, const TVigilancia* vigilancia = nullptr, bool gravando = false);
    std::string usuario;  // as MontarDpb last sent it, for the login failure
    void FecharTudo();  // cursors, statements, transactions; the attachment stays
    void Soltar();      // detach (or drop the handle) after FecharTudo
    // Runs the statements in one transaction of their own: all or nothing.
    void ExecutarJuntos(const std::vector<std::string>& comandos);
};

// ---------------------------------------------------------------- TTransaction

struct TTransaction::Impl {
    TDatabase* banco;
    std::vector<std::string> parametros;
    ITransaction* tra = nullptr;
    bool alterou = false;  // changes sent since the last commit or rollback
    std::set<TQuery::Impl*> consultas;

    void FecharCursores();
    void Descartar();  // rollback whatever is open; never throws
};

// ---------------------------------------------------------------- TQuery

struct TQuery::Impl {
    TQuery* dono;
    TDatabase* banco;
    TTransaction* transacao;
    std::vector<std::string> sql;
    std::string ultimo;

    IStatement* stmt = nullptr;
    uint64_t geracao = 0;
    unsigned tipo = 0;
    IMessageMetadata* entradaStmt = nullptr;
    IMessageMetadata* saida = nullptr;
    std::vector<unsigned char> bufSaida;
    uint64_t afetadas = 0;
    bool contarAfetadas = false;  // asked of the server only when read: a round trip

    // Parameters and the message layout built for their kinds. The
    // statement's own descriptors and the built offsets are read once: each
    // metadata call crosses the client's locks.
    struct Desc {
        unsigned tipo, tam, cs;
        int escala;
        bool operator==(const Desc&) const = default;
    };
    std::vector<std::optional<TValorMensagem>> params;
    std::vector<Desc> descStmt;
    IMessageMetadata* entrada = nullptr;
    std::vector<Desc> assinatura, descAtual;
    std::vector<std::pair<unsigned, unsigned>> posEntrada;  // offset, null offset
    std::vector<std::string> textos;
    std::vector<unsigned char> bufEntrada;

    struct Coluna {
        std::string nome;
        unsigned tipo, sub, cs, offset, nulo, tam;
        int escala;
    };
    std::vector<Coluna> colunas;
    std::vector<TField> campos;

    IResultSet* cursor = nullptr;
    bool ativo = false;
    bool eof = true;
    std::vector<std::vector<TValorMensagem>> linhas;
    size_t pos = 0;
    bool unidirecional = false;
    size_t passadas = 0;  // forward-only: rows dropped before the one kept

    ~Impl() { Liberar(); }

    void Liberar();          // cursor, statement and metadata
    void FecharCursor();     // keeps the statement
    void Preparar();
    void GarantirConexao();
    void MontarEntrada(ThrowStatusWrapper* st);
    bool BuscarProxima();
    std::vector<TValorMensagem> LerLinha(ThrowStatusWrapper* st);
    const TValorMensagem* Valor(size_t i) const {
        if (!ativo || linhas.empty() || i >= colunas.size()) return nullptr;
        return &linhas[pos][i];
    }
};

TVigilancia Vigiar(TDatabase::Impl* db) { return TVigilancia(db ? db->vigia : nullptr, db ? db->semResposta : 0); }

// Runs a call on an attachment of `db`, watched while it waits on a server: a
// broken link, or a server silent for too long, drops the attachment
// (EFbConexao). `gravando`: the call is a commit.
template <class F>
auto ChamarNo(TDatabase::Impl* db, F&& f, bool gravando = false) -> decltype(f()) {
    TVigilancia vigilancia = Vigiar(db);
    try {
        return vigilancia.Executar([&] { return Chamar(f); });
    } catch (const EFbErro& e) {
        if (db && (e.ConexaoPerdida() || vigilancia.Abandono() != TAbandono::Nenhum)) db->Perdida(e, &vigilancia, gravando);
        throw;
    }
}

// ================================================================ TDatabase

TDatabase::TDatabase() : impl_(std::make_unique<Impl>()) {}

TDatabase::~TDatabase() {
    impl_->FecharTudo();
    impl_->Soltar();
    // Whatever outlives the database must not reach for it.
    for (auto* t : impl_->transacoes) t->banco = nullptr;
    for (auto* q : impl_->consultas) q->banco = nullptr;
}

void TDatabase::SetCaminho(std::string caminho) { impl_->caminho = std::move(caminho); }
const std::string& TDatabase::Caminho() const { return impl_->caminho; }
void TDatabase::SetParametros(std::vector<std::string> linhas) { impl_->parametros = std::move(linhas); }
const std::vector<std::string>& TDatabase::Parametros() const { return impl_->parametros; }
void TDatabase::SetTransacaoPadrao(TTransaction* t) { impl_->padrao = t; }
TTransaction* TDatabase::TransacaoPadrao() const { return impl_->padrao; }
void TDatabase::SetTempoLimiteConexao(int segundos) { impl_->tempoLimite = segundos; }
void TDatabase::SetTempoSemResposta(int segundos) { impl_->semResposta = segundos > 0 ? segundos : SegundosSemRespostaPadrao(); }
bool TDatabase::Conectado() const { return impl_->att != nullptr; }

bool TDatabase::EhCaminhoLocal(std::string_view c) {
    if (c.empty() || c[0] == '/' || c[0] == '.') return true;  // a colon further on is part of a file name
    if (c.rfind("\\\\", 0) == 0) return false;                // \\server\path
    auto dois = c.find(':');
    if (dois == std::string_view::npos) return true;
    // "C:\..." is a drive letter, not a host
    return dois == 1 && std::isalpha(static_cast<unsigned char>(c[0]));
}

IXpbBuilder* TDatabase::Impl::MontarDpb(ThrowStatusWrapper* st, bool criar, int segundos) {
    IXpbBuilder* dpb = Mestre()->getUtilInterface()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
    try {
        std::string ctype = "WIN1252";
        usuario.clear();
        for (const auto& linha : parametros) {
            auto igual = linha.find('=');
            std::string nome = Minusc(TrimEspacos(linha.substr(0, igual)));
            std::string valor = igual == std::string::npos ? "" : linha.substr(igual + 1);
            if (nome.rfind("isc_dpb_", 0) == 0) nome = nome.substr(8);
            if (nome.empty()) continue;
            if (nome == "user_name" || nome == "user") {
                usuario = TrimEspacos(valor);
                dpb->insertString(st, isc_dpb_user_name, usuario.c_str());
            } else if (nome == "password")
                dpb->insertString(st, isc_dpb_password, valor.c_str());
            else if (nome == "lc_ctype")
                ctype = TrimEspacos(valor);
            else if (nome == "sql_role_name")
                dpb->insertString(st, isc_dpb_sql_role_name, TrimEspacos(valor).c_str());
            else if (nome == "force_write")
                dpb->insertInt(st, isc_dpb_force_write, TrimEspacos(valor) == "0" ? 0 : 1);
            else
                Erro("Parâmetro de conexão desconhecido: '" + linha + "'");
        }
        std::string cs = Minusc(ctype);
        if (cs == "win1252")
            charset = kCsWin1252;
        else if (cs == "utf8")
            charset = kCsUtf8;
        else
            Erro("Conjunto de caracteres não suportado: '" + ctype + "' (use WIN1252 ou UTF8)");
        dpb->insertString(st, isc_dpb_lc_ctype, ctype.c_str());
        dpb->insertInt(st, isc_dpb_sql_dialect, 3);
        dpb->insertTag(st, isc_dpb_utf8_filename);
        if (segundos > 0 && !TDatabase::EhCaminhoLocal(caminho))
            dpb->insertInt(st, isc_dpb_connect_timeout, segundos);
        if (criar) {
            dpb->insertString(st, isc_dpb_set_db_charset, "WIN1252");
            dpb->insertInt(st, isc_dpb_page_size, 8192);
        }
        return dpb;
    } catch (...) {
        dpb->dispose();
        throw;
    }
}

void TDatabase::Impl::Anexar(bool criar) {
    if (att) return;
    RecusarSeInterrompido();
    if (TrimEspacos(caminho).empty()) Erro("Caminho do banco de dados não informado.");
    std::string prefixo = (criar ? "Não foi possível criar o banco de dados \"" : "Não foi possível conectar ao banco de dados \"") + caminho + "\".";
    const auto inicio = std::chrono::steady_clock::now();
    const auto limite = inicio + std::chrono::seconds(tempoLimite > 0 ? tempoLimite : 3600);
    auto naoRespondeu = [&](const std::string& host, const std::string& porta) {
        return EFbConexao(prefixo + "\nO servidor " + host + (porta.empty() ? "" : " (porta " + porta + ")") +
                              " não respondeu em " + std::to_string(tempoLimite) + " s.",
                          isc_network_error, false);
    };
    int segundos = tempoLimite;
    std::optional<TEndereco> endereco = EnderecoDoServidor(caminho);
    if (endereco && tempoLimite > 0) {
        // The client's own connect waits out the system's TCP retries (over two
        // minutes) when a handshake goes unanswered, whatever its time-out says:
        // try the handshake first, bounded by the deadline.
        if (SondarServidor(endereco->host, endereco->porta, limite, false) == TSondagem::Calado)
            throw naoRespondeu(endereco->host, endereco->porta);
        // What is left of the time-out goes to the client's own wait for the answer.
        auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now()).count();
        segundos = static_cast<int>(std::max<long long>(1, (resta + 999) / 1000));
    }
    TStatus st;
    IXpbBuilder* dpb = Chamar([&] { return MontarDpb(st.w(), criar, segundos); }, prefixo);
    TGuardaXpb guarda{dpb};
    IProvider* prov = Mestre()->getDispatcher();
    struct SoltarProv {
        IProvider* p;
        ~SoltarProv() { p->release(); }
    } guardaProv{prov};
    // The attachment's socket is the one to the server that the attach adds.
    const std::vector<TIdSoquete> antes = endereco ? SoquetesParaPorta(std::stoi(endereco->porta)) : std::vector<TIdSoquete>{};
    TomarSinaisDoCliente(prov);
    try {
        TGuardaSinais sinais;
        Chamar(
            [&] {
                unsigned len = dpb->getBufferLength(st.w());
                const unsigned char* buf = dpb->getBuffer(st.w());
                att = criar ? prov->createDatabase(st.w(), caminho.c_str(), len, buf)
                            : prov->attachDatabase(st.w(), caminho.c_str(), len, buf);
            },
            prefixo);
    } catch (const EFbErro& e) {
        if (e.CodigoGds() == isc_login)
            throw EFbConexao(prefixo + "\nO servidor recusou o usuário e a senha (usuário \"" + usuario +
                                 "\"). Confira as chaves USUARIO BD e SENHA BD de configEtq.ini.",
                             e.CodigoGds(), false);
        if (endereco && tempoLimite > 0 && std::chrono::steady_clock::now() + std::chrono::milliseconds(500) >= limite)
            throw naoRespondeu(endereco->host, endereco->porta);
        if (endereco) throw EFbConexao(e.what(), e.CodigoGds(), false);
        throw;
    }
    vigia.reset();
    if (endereco) {
        std::vector<TIdSoquete> novos;
        const std::vector<TIdSoquete> depois = SoquetesParaPorta(std::stoi(endereco->porta));
        std::set_difference(depois.begin(), depois.end(), antes.begin(), antes.end(), std::back_inserter(novos));
        vigia = std::make_shared<const TVigia>(endereco->host, endereco->porta, std::move(novos));
    }
    ++geracao;
}

[[noreturn]] void TDatabase::Impl::Perdida(const EFbErro& e, const TVigilancia* vigilancia, bool gravando) {
    bool alteracoes = false;
    for (auto* t : transacoes) alteracoes = alteracoes || (t->tra && t->alterou);
    const std::shared_ptr<const TVigia> servidor = vigia;
    FecharTudo();
    Soltar();
    if (vigilancia && servidor && vigilancia->Abandono() != TAbandono::Nenhum)
        throw EFbConexao(MensagemAbandono(*servidor, caminho, vigilancia->SegundosAbandono(), vigilancia->Abandono(),
                                          gravando),
                         e.CodigoGds(), true);
    throw EFbConexao("A conexão com o banco de dados \"" + caminho + "\" foi perdida" +
                         (alteracoes ? "; as alterações não gravadas foram perdidas." : ".") +
                         " A próxima operação conecta de novo.",
                     e.CodigoGds(), true);
}

void TDatabase::Impl::FecharTudo() {
    for (auto* q : consultas) q->Liberar();
    for (auto* t : transacoes) t->Descartar();
}

void TDatabase::Impl::Soltar() {
    {
        TVigilancia vigilancia = Vigiar(this);
        Encerrar(att, [](IAttachment* a, ThrowStatusWrapper* st) { a->detach(st); });
    }
    vigia.reset();
}

void TDatabase::Conectar() {
    impl_->Anexar(false);
    if (impl_->padrao && !impl_->padrao->Ativa()) impl_->padrao->Start();
}

void TDatabase::Desconectar() {
    impl_->FecharTudo();
    impl_->Soltar();
}

void TDatabase::FecharDataSets() {
    for (auto* q : impl_->consultas) q->dono->Close();
}

void TDatabase::CriarBanco() {
    if (impl_->att) Erro("O banco de dados já está conectado: \"" + impl_->caminho + "\".");
    impl_->Anexar(true);
}

void TDatabase::ApagarBanco() {
    // Attached already: no new transaction for a database about to go (also
    // while the program is ending and refuses new work).
    if (!impl_->att) Conectar();
    impl_->FecharTudo();
    TStatus st;
    Chamar([&] { impl_->att->dropDatabase(st.w()); }, "Não foi possível apagar o banco de dados \"" + impl_->caminho + "\".");
    impl_->att = nullptr;  // released by the drop
}

void TDatabase::Impl::ExecutarJuntos(const std::vector<std::string>& comandos) {
    Anexar(false);
    TStatus st;
    ITransaction* tra = ChamarNo(this, [&] { return att->startTransaction(st.w(), 0, nullptr); });
    try {
        for (const auto& cmd : comandos) {
            std::string texto = ParaCliente(cmd, charset);
            Chamar([&] { att->execute(st.w(), tra, 0, texto.c_str(), SQL_DIALECT_V6, nullptr, nullptr, nullptr, nullptr); });
        }
        Chamar([&] { tra->commit(st.w()); });
    } catch (const EFbErro& e) {
        Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* s) { t->rollback(s); });
        if (e.ConexaoPerdida()) Perdida(e);
        throw;
    } catch (...) {
        Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* s) { t->rollback(s); });
        throw;
    }
}

void TDatabase::ExecutarImediato(std::string_view sql) { impl_->ExecutarJuntos({std::string(sql)}); }

std::vector<std::string> TDatabase::DividirScript(std::string_view s) {
    std::vector<std::string> r;
    std::string atual;
    size_t i = 0;
    auto fechar = [&] {
        std::string t = TrimEspacos(atual);
        if (!t.empty()) r.push_back(t);
        atual.clear();
    };
    while (i < s.size()) {
        char c = s[i];
        if (c == '\'' || c == '"') {
            size_t fim = i + 1;
            while (fim < s.size()) {
                if (s[fim] == c) {
                    if (fim + 1 < s.size() && s[fim + 1] == c) {
                        fim += 2;
                        continue;
                    }
                    break;
                }
                ++fim;
            }
            atual.append(s.substr(i, fim + 1 - i));
            i = fim + 1;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            auto fim = s.find("*/", i + 2);
            i = fim == std::string_view::npos ? s.size() : fim + 2;
            atual += ' ';
        } else if (c == ';') {
            fechar();
            ++i;
        } else {
            atual += c;
            ++i;
        }
    }
    fechar();
    return r;
}

void TDatabase::ExecutarScript(std::string_view script, bool umaTransacao) {
    const auto comandos = DividirScript(script);
    if (umaTransacao) {
        impl_->ExecutarJuntos(comandos);
        return;
    }
    for (const auto& cmd : comandos) ExecutarImediato(cmd);
}

// ================================================================ TTransaction

namespace {
TDatabase::Impl* BancoDe(TTransaction::Impl& t) { return t.banco ? &t.banco->impl() : nullptr; }
}  // namespace

TTransaction::TTransaction(TDatabase& banco, std::vector<std::string> parametros) : impl_(std::make_unique<Impl>()) {
    impl_->banco = &banco;
    impl_->parametros = std::move(parametros);
    banco.impl().transacoes.insert(impl_.get());
}

TTransaction::~TTransaction() {
    impl_->Descartar();
    for (auto* q : impl_->consultas) q->transacao = nullptr;
    if (impl_->banco) {
        impl_->banco->impl().transacoes.erase(impl_.get());
        if (impl_->banco->TransacaoPadrao() == this) impl_->banco->SetTransacaoPadrao(nullptr);
    }
}

TDatabase& TTransaction::Banco() const {
    if (!impl_->banco) Erro("A transação não tem mais banco de dados.");
    return *impl_->banco;
}

bool TTransaction::Ativa() const { return impl_->tra != nullptr; }

void TTransaction::Impl::FecharCursores() {
    for (auto* q : consultas) q->FecharCursor();
}

void TTransaction::Impl::Descartar() {
    if (!tra) return;
    FecharCursores();
    TVigilancia vigilancia = Vigiar(banco ? &banco->impl() : nullptr);
    Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* st) { t->rollback(st); });
}

void TTransaction::Start() {
    if (impl_->tra) Erro("A transação já está ativa.");
    RecusarSeInterrompido();
    TDatabase& banco = Banco();
    banco.impl().Anexar(false);
    TStatus st;
    IXpbBuilder* tpb = Chamar([&] { return Mestre()->getUtilInterface()->getXpbBuilder(st.w(), IXpbBuilder::TPB, nullptr, 0); });
    TGuardaXpb guarda{tpb};
    Chamar([&] {
        for (const auto& linha : impl_->parametros) {
            std::string p = Minusc(TrimEspacos(linha));
            if (p.rfind("isc_tpb_", 0) == 0) p = p.substr(8);
            if (p.empty()) continue;
            if (p == "read_committed") tpb->insertTag(st.w(), isc_tpb_read_committed);
            else if (p == "rec_version") tpb->insertTag(st.w(), isc_tpb_rec_version);
            else if (p == "no_rec_version") tpb->insertTag(st.w(), isc_tpb_no_rec_version);
            else if (p == "nowait") tpb->insertTag(st.w(), isc_tpb_nowait);
            else if (p == "wait") tpb->insertTag(st.w(), isc_tpb_wait);
            else if (p == "concurrency") tpb->insertTag(st.w(), isc_tpb_concurrency);
            else if (p == "consistency") tpb->insertTag(st.w(), isc_tpb_consistency);
            else if (p == "read") tpb->insertTag(st.w(), isc_tpb_read);
            else if (p == "write") tpb->insertTag(st.w(), isc_tpb_write);
            else if (p.rfind("lock_timeout=", 0) == 0) {
                int s = 0;
                try {
                    s = std::stoi(p.substr(13));
                } catch (...) {
                    Erro("Parâmetro de transação inválido: '" + linha + "'");
                }
                tpb->insertInt(st.w(), isc_tpb_lock_timeout, s);
            } else
                Erro("Parâmetro de transação desconhecido: '" + linha + "'");
        }
    });
    impl_->tra = ChamarNo(&banco.impl(), [&] {
        return banco.impl().att->startTransaction(st.w(), tpb->getBufferLength(st.w()), tpb->getBuffer(st.w()));
    });
    impl_->alterou = false;
}

void TTransaction::Commit() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    impl_->FecharCursores();
    TStatus st;
    ChamarNo(BancoDe(*impl_), [&] { impl_->tra->commit(st.w()); }, true);
    impl_->tra = nullptr;
    impl_->alterou = false;
}

void TTransaction::CommitRetaining() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    TStatus st;
    ChamarNo(BancoDe(*impl_), [&] { impl_->tra->commitRetaining(st.w()); }, true);
    impl_->alterou = false;
}

// A rollback on a broken link has what it asked for: the server has dropped
// the work. The attachment is dropped too and the call returns.
void TTransaction::Rollback() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    impl_->FecharCursores();
    TStatus st;
    try {
        ChamarNo(BancoDe(*impl_), [&] { impl_->tra->rollback(st.w()); });
    } catch (const EFbConexao& e) {
        if (!e.Perdida()) throw;
    } catch (...) {
        // the work is lost either way; the handle must not outlive the call
        if (impl_->tra) impl_->tra->release();
        impl_->tra = nullptr;
        throw;
    }
    impl_->tra = nullptr;
    impl_->alterou = false;
}

void TTransaction::RollbackRetaining() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    TStatus st;
    try {
        ChamarNo(BancoDe(*impl_), [&] { impl_->tra->rollbackRetaining(st.w()); });
    } catch (const EFbConexao& e) {
        if (!e.Perdida()) throw;
    }
    impl_->alterou = false;
}

// ================================================================ TQuery

TQuery::TQuery(TDatabase& banco, TTransaction& transacao) : impl_(std::make_unique<Impl>()) {
    impl_->dono = this;
    impl_->banco = &banco;
    impl_->transacao = &transacao;
    banco.impl().consultas.insert(impl_.get());
    transacao.impl().consultas.insert(impl_.get());
}

TQuery::~TQuery() {
    impl_->Liberar();
    if (impl_->banco) impl_->banco->impl().consultas.erase(impl_.get());
    if (impl_->transacao) impl_->transacao->impl().consultas.erase(impl_.get());
}

TDatabase& TQuery::Banco() const {
    if (!impl_->banco) Erro("A consulta não tem mais banco de dados.");
    return *impl_->banco;
}
TTransaction& TQuery::Transacao() const {
    if (!impl_->transacao) Erro("A consulta não tem mais transação.");
    return *impl_->transacao;
}

void TQuery::Impl::FecharCursor() {
    TVigilancia vigilancia = Vigiar(cursor && banco ? &banco->impl() : nullptr);
    Encerrar(cursor, [](IResultSet* c, ThrowStatusWrapper* st) { c->close(st); });
    ativo = false;
    eof = true;
    linhas.clear();
    pos = 0;
    passadas = 0;
}

void TQuery::Impl::Liberar() {
    FecharCursor();
    contarAfetadas = false;
    if (entrada) entrada->release(), entrada = nullptr;
    assinatura.clear();
    descStmt.clear();
    if (entradaStmt) entradaStmt->release(), entradaStmt = nullptr;
    if (saida) saida->release(), saida = nullptr;
    colunas.clear();
    campos.clear();
    TVigilancia vigilancia = Vigiar(stmt && banco ? &banco->impl() : nullptr);
    Encerrar(stmt, [](IStatement* s, ThrowStatusWrapper* st) { s->free(st); });
}

void TQuery::Clear() {
    impl_->Liberar();
    impl_->sql.clear();
    impl_->params.clear();
}

void TQuery::Add(std::string_view linha) {
    impl_->Liberar();
    impl_->params.clear();
    impl_->sql.emplace_back(linha);
}

const std::vector<std::string>& TQuery::SQL() const { return impl_->sql; }

std::string TQuery::Texto() const {
    std::string r;
    for (size_t i = 0; i < impl_->sql.size(); ++i) {
        if (i) r += '\n';
        r += impl_->sql[i];
    }
    return r;
}

const std::string& TQuery::UltimoTextoEnviado() const { return impl_->ultimo; }

void TQuery::Impl::GarantirConexao() {
    if (!banco) Erro("A consulta não tem mais banco de dados.");
    if (!transacao) Erro("A consulta não tem mais transação.");
    if (&transacao->Banco() != banco) Erro("A transação da consulta pertence a outro banco de dados.");
    RecusarSeInterrompido();
    banco->impl().Anexar(false);
    if (stmt && geracao != banco->impl().geracao) Liberar();  // prepared on a connection that is gone
    if (!transacao->Ativa()) transacao->Start();
}

void TQuery::Impl::Preparar() {
    GarantirConexao();
    std::string texto = dono->Texto();
    ultimo = texto;
    if (stmt) return;
    if (TrimEspacos(texto).empty()) Erro("O comando SQL está vazio.");
    auto& db = banco->impl();
    std::string enviado = ParaCliente(texto, db.charset);
    TStatus st;
    // A refusal after the server prepared the statement (an ARRAY column)
    // frees it: a later call must not find it half laid out.
    struct TDesfazer {
        Impl* q;
        bool pronto = false;
        ~TDesfazer() {
            if (!pronto) q->Liberar();
        }
    } desfazer{this};
    ChamarNo(&db, [&] {
        stmt = db.att->prepare(st.w(), transacao->impl().tra, 0, enviado.c_str(), SQL_DIALECT_V6,
                               IStatement::PREPARE_PREFETCH_METADATA);
        geracao = db.geracao;
        tipo = stmt->getType(st.w());
        entradaStmt = stmt->getInputMetadata(st.w());
        saida = stmt->getOutputMetadata(st.w());
        unsigned n = saida->getCount(st.w());
        colunas.clear();
        campos.clear();
        for (unsigned i = 0; i < n; ++i) {
            Coluna c;
            const char* alias = saida->getAlias(st.w(), i);
            const char* campo = saida->getField(st.w(), i);
            c.nome = DoCliente(alias && *alias ? alias : (campo ? campo : ""), db.charset);
            c.tipo = saida->getType(st.w(), i) & ~1u;
            c.sub = static_cast<unsigned>(saida->getSubType(st.w(), i));
            c.cs = saida->getCharSet(st.w(), i);
            c.escala = saida->getScale(st.w(), i);
            c.offset = saida->getOffset(st.w(), i);
            c.nulo = saida->getNullOffset(st.w(), i);
            c.tam = saida->getLength(st.w(), i);
            if (c.tipo == SQL_ARRAY) Erro("Coluna de tipo ARRAY não suportada: " + c.nome);
            colunas.push_back(std::move(c));
        }
        bufSaida.assign(saida->getMessageLength(st.w()), 0);
        unsigned np = entradaStmt->getCount(st.w());
        params.resize(np);
        descStmt.clear();
        for (unsigned i = 0; i < np; ++i)
            descStmt.push_back({entradaStmt->getType(st.w(), i) & ~1u, entradaStmt->getLength(st.w(), i),
                                entradaStmt->getCharSet(st.w(), i), entradaStmt->getScale(st.w(), i)});
    });
    for (size_t i = 0; i < colunas.size(); ++i) campos.emplace_back(*dono, i);
    desfazer.pronto = true;
}

void TQuery::Prepare() { impl_->Preparar(); }
bool TQuery::Preparado() const { return impl_->stmt != nullptr; }
bool TQuery::Active() const { return impl_->ativo; }
uint64_t TQuery::LinhasAfetadas() const {
    auto& q = *impl_;
    if (q.contarAfetadas && q.stmt) {
        TStatus st;
        q.afetadas = ChamarNo(&q.banco->impl(), [&] { return q.stmt->getAffectedRecords(st.w()); });
    }
    q.contarAfetadas = false;
    return q.afetadas;
}

int TQuery::ParamCount() {
    impl_->Preparar();
    return static_cast<int>(impl_->params.size());
}


void TQuery::Impl::MontarEntrada(ThrowStatusWrapper* st) {
    const unsigned n = static_cast<unsigned>(descStmt.size());
    unsigned cs = banco->impl().charset;
    // Each parameter travels in the kind of its value; the server converts it.
    descAtual.resize(n);
    textos.resize(n);
    std::vector<Desc>& ds = descAtual;
    for (unsigned i = 0; i < n; ++i) {
        if (!params[i]) Erro("Parâmetro " + std::to_string(i) + " sem valor.");
        const TValorMensagem& v = *params[i];
        const unsigned orig = descStmt[i].tipo;
        Desc d = descStmt[i];
        switch (v.tipo) {
            case TValorMensagem::Nulo:
                // a NULL fits any layout: keep the last one rather than build another
                if (i < assinatura.size()) d = assinatura[i];
                break;
            case TValorMensagem::Inteiro: d = {SQL_INT64, 8, 0, -v.escala}; break;
            case TValorMensagem::Real: d = {SQL_DOUBLE, 8, 0, 0}; break;
            case TValorMensagem::Logico: d = {SQL_BOOLEAN, 1, 0, 0}; break;
            case TValorMensagem::Data: d = {SQL_TYPE_DATE, sizeof(ISC_DATE), 0, 0}; break;
            case TValorMensagem::Hora:
            case TValorMensagem::DataHora: d = {SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0, 0}; break;
            case TValorMensagem::DbKey:
                d = {SQL_TEXT, static_cast<unsigned>(std::max<size_t>(v.s.size(), 1)), kCsOctets, 0};
                break;
            case TValorMensagem::Texto:
            case TValorMensagem::Binario: {
                if (orig == SQL_BLOB) {
                    d = {SQL_BLOB, sizeof(ISC_QUAD), 0, 0};
                    break;
                }
                textos[i] = v.tipo == TValorMensagem::Binario ? v.s : ParaCliente(v.s, cs);
                unsigned destino = (orig == SQL_TEXT || orig == SQL_VARYING) ? d.tam : 0;
                // a stable length keeps the layout for the next rows
                unsigned tam = std::max<unsigned>(destino, 32);
                while (tam < textos[i].size()) tam *= 2;
                d = {SQL_VARYING, std::min<unsigned>(tam, 32765), v.tipo == TValorMensagem::Binario ? kCsOctets : cs,
                     0};
                if (textos[i].size() > d.tam) Erro("Texto longo demais para o parâmetro " + std::to_string(i) + ".");
                break;
            }
        }
        ds[i] = d;
    }
    if (!entrada || ds != assinatura) {
        if (entrada) entrada->release(), entrada = nullptr;
        IMetadataBuilder* b = entradaStmt->getBuilder(st);
        try {
            for (unsigned i = 0; i < n; ++i) {
                b->setType(st, i, ds[i].tipo | 1u);
                b->setLength(st, i, ds[i].tam);
                b->setCharSet(st, i, ds[i].cs);
                b->setScale(st, i, ds[i].escala);
            }
            entrada = b->getMetadata(st);
        } catch (...) {
            b->release();
            throw;
        }
        b->release();
        assinatura = ds;
        bufEntrada.assign(entrada->getMessageLength(st), 0);
        posEntrada.resize(n);
        for (unsigned i = 0; i < n; ++i) posEntrada[i] = {entrada->getOffset(st, i), entrada->getNullOffset(st, i)};
    }
    unsigned char* buf = bufEntrada.data();
    for (unsigned i = 0; i < n; ++i) {
        const TValorMensagem& v = *params[i];
        auto* nulo = reinterpret_cast<short*>(buf + posEntrada[i].second);
        unsigned char* p = buf + posEntrada[i].first;
        *nulo = v.tipo == TValorMensagem::Nulo ? -1 : 0;
        switch (v.tipo) {
            case TValorMensagem::Nulo: break;
            case TValorMensagem::Inteiro: std::memcpy(p, &v.i, 8); break;
            case TValorMensagem::Real: std::memcpy(p, &v.d, 8); break;
            case TValorMensagem::Logico: *p = v.i ? 1 : 0; break;
            case TValorMensagem::Data: {
                ISC_DATE d;
                ISC_TIME t;
                ParaIsc(v.d, d, t);
                std::memcpy(p, &d, sizeof d);
                break;
            }
            case TValorMensagem::Hora:
            case TValorMensagem::DataHora: {
                ISC_TIMESTAMP ts;
                ParaIsc(v.d, ts.timestamp_date, ts.timestamp_time);
                std::memcpy(p, &ts, sizeof ts);
                break;
            }
            case TValorMensagem::DbKey: std::memcpy(p, v.s.data(), v.s.size()); break;
            case TValorMensagem::Texto:
            case TValorMensagem::Binario:
                if (ds[i].tipo == SQL_BLOB) {
                    std::string bytes = v.tipo == TValorMensagem::Binario ? v.s : ParaCliente(v.s, cs);
                    ISC_QUAD id;
                    IBlob* blob = banco->impl().att->createBlob(st, transacao->impl().tra, &id, 0, nullptr);
                    try {
                        for (size_t o = 0; o < bytes.size(); o += 32768) {
                            auto parte = static_cast<unsigned>(std::min<size_t>(32768, bytes.size() - o));
                            blob->putSegment(st, parte, bytes.data() + o);
                        }
                        blob->close(st);
                    } catch (...) {
                        blob->release();
                        throw;
                    }
                    std::memcpy(p, &id, sizeof id);
                } else {
                    auto len = static_cast<uint16_t>(textos[i].size());
                    std::memcpy(p, &len, 2);
                    std::memcpy(p + 2, textos[i].data(), len);
                }
                break;
        }
    }
}

std::vector<TValorMensagem> TQuery::Impl::LerLinha(ThrowStatusWrapper* st) {
    std::vector<TValorMensagem> r(colunas.size());
    const unsigned char* buf = bufSaida.data();
    unsigned cs = banco->impl().charset;
    for (size_t i = 0; i < colunas.size(); ++i) {
        const Coluna& c = colunas[i];
        TValorMensagem& v = r[i];
        if (*reinterpret_cast<const short*>(buf + c.nulo)) continue;
        const unsigned char* p = buf + c.offset;
        switch (c.tipo) {
            case SQL_SHORT: LerInteiro<int16_t>(v, p, c.escala); break;
            case SQL_LONG: LerInteiro<int32_t>(v, p, c.escala); break;
            case SQL_INT64: LerInteiro<int64_t>(v, p, c.escala); break;
            case SQL_FLOAT: {
                float x;
                std::memcpy(&x, p, 4);
                v.tipo = TValorMensagem::Real, v.d = x;
                break;
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                v.tipo = TValorMensagem::Real;
                std::memcpy(&v.d, p, 8);
                break;
            case SQL_BOOLEAN: v.tipo = TValorMensagem::Logico, v.i = *p ? 1 : 0; break;
            case SQL_TYPE_DATE: {
                ISC_DATE d;
                std::memcpy(&d, p, sizeof d);
                v.tipo = TValorMensagem::Data, v.d = DeIscDate(d);
                break;
            }
            case SQL_TYPE_TIME: {
                ISC_TIME t;
                std::memcpy(&t, p, sizeof t);
                v.tipo = TValorMensagem::Hora, v.d = DeIscTime(t);
                break;
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP ts;
                std::memcpy(&ts, p, sizeof ts);
                v.tipo = TValorMensagem::DataHora, v.d = DeIscDate(ts.timestamp_date) + DeIscTime(ts.timestamp_time);
                break;
            }
            case SQL_TEXT:
            case SQL_VARYING: {
                std::string_view bytes;
                if (c.tipo == SQL_TEXT) {
                    bytes = std::string_view(reinterpret_cast<const char*>(p), c.tam);
                } else {
                    uint16_t len;
                    std::memcpy(&len, p, 2);
                    bytes = std::string_view(reinterpret_cast<const char*>(p + 2), len);
                }
                if (c.cs == kCsOctets) {
                    v.tipo = (c.nome == "DB_KEY" || c.nome == "RDB$DB_KEY") ? TValorMensagem::DbKey
                                                                            : TValorMensagem::Binario;
                    v.s.assign(bytes);
                } else {
                    if (c.tipo == SQL_TEXT)
                        while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
                    v.tipo = TValorMensagem::Texto;
                    v.s = DoCliente(bytes, c.cs == kCsUtf8 ? kCsUtf8 : cs);
                }
                break;
            }
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, p, sizeof id);
                IBlob* blob = banco->impl().att->openBlob(st, transacao->impl().tra, &id, 0, nullptr);
                std::string bytes;
                try {
                    char seg[32768];
                    for (;;) {
                        unsigned lido = 0;
                        int res = blob->getSegment(st, sizeof seg, seg, &lido);
                        if (res == IStatus::RESULT_NO_DATA) break;
                        bytes.append(seg, lido);
                    }
                    blob->close(st);
                } catch (...) {
                    blob->release();
                    throw;
                }
                if (c.sub == 1) {
                    v.tipo = TValorMensagem::Texto;
                    v.textoBlob = true;
                    v.s = DoCliente(bytes, c.cs == kCsUtf8 ? kCsUtf8 : cs);
                } else {
                    v.tipo = TValorMensagem::Binario;
                    v.s = std::move(bytes);
                }
                break;
            }
            default:
                Erro("Tipo de coluna não suportado (" + std::to_string(c.tipo) + "): " + c.nome);
        }
    }
    return r;
}

bool TQuery::Impl::BuscarProxima() {
    if (!cursor) return false;
    TStatus st;
    return ChamarNo(&banco->impl(), [&] {
        int res = cursor->fetchNext(st.w(), bufSaida.data());
        if (res != IStatus::RESULT_OK) {
            // the cursor is spent; release it now rather than at Close
            cursor->close(st.w());
            cursor = nullptr;
            return false;
        }
        if (unidirecional && !linhas.empty()) {
            linhas.back() = LerLinha(st.w());
            ++passadas;
        } else {
            linhas.push_back(LerLinha(st.w()));
        }
        return true;
    });
}

void TQuery::Open() {
    auto& q = *impl_;
    if (q.ativo) Close();
    q.Preparar();
    auto& tra = q.transacao->impl();
    TStatus st;
    q.afetadas = 0;
    q.contarAfetadas = false;
    bool cursorSelect = q.tipo == isc_info_sql_stmt_select || q.tipo == isc_info_sql_stmt_select_for_upd;
    if (!cursorSelect && q.colunas.empty()) Erro("O comando não devolve linhas: use ExecSQL.");
    if (!cursorSelect) tra.alterou = true;  // a procedure or RETURNING may change rows
    ChamarNo(&q.banco->impl(), [&] {
        q.MontarEntrada(st.w());
        if (cursorSelect) {
            q.cursor = q.stmt->openCursor(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, 0);
        } else {
            q.stmt->execute(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, q.bufSaida.data());
            q.linhas.push_back(q.LerLinha(st.w()));
        }
    });
    q.ativo = true;
    q.pos = 0;
    try {
        if (cursorSelect) q.BuscarProxima();
    } catch (...) {
        q.FecharCursor();
        throw;
    }
    q.eof = q.linhas.empty();
}

void TQuery::ExecSQL() {
    auto& q = *impl_;
    if (q.ativo) Close();
    q.Preparar();
    auto& tra = q.transacao->impl();
    TStatus st;
    if (q.tipo != isc_info_sql_stmt_select) tra.alterou = true;
    ChamarNo(&q.banco->impl(), [&] {
        q.MontarEntrada(st.w());
        if (q.tipo == isc_info_sql_stmt_select || q.tipo == isc_info_sql_stmt_select_for_upd) {
            IResultSet* rs = q.stmt->openCursor(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, 0);
            try {
                rs->close(st.w());
            } catch (...) {
                rs->release();
                throw;
            }
            q.afetadas = 0;
            q.contarAfetadas = false;
        } else {
            q.stmt->execute(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.colunas.empty() ? nullptr : q.saida,
                            q.colunas.empty() ? nullptr : q.bufSaida.data());
            q.afetadas = 0;
            q.contarAfetadas = true;
        }
    });
}

void TQuery::Close() { impl_->FecharCursor(); }

bool TQuery::Eof() const { return impl_->eof; }

void TQuery::SetUnidirecional(bool unidirecional) {
    if (impl_->ativo) Erro("A consulta está aberta: feche-a antes de mudar a forma de leitura.");
    impl_->unidirecional = unidirecional;
}

bool TQuery::Unidirecional() const { return impl_->unidirecional; }

void TQuery::First() {
    auto& q = *impl_;
    if (!q.ativo) Erro("A consulta não está aberta.");
    if (q.passadas > 0) Erro("A consulta só lê para frente: a primeira linha já passou.");
    q.pos = 0;
    q.eof = q.linhas.empty();
}

void TQuery::Next() {
    auto& q = *impl_;
    if (!q.ativo) Erro("A consulta não está aberta.");
    if (q.eof) return;
    if (q.pos + 1 < q.linhas.size())
        ++q.pos;
    else if (q.BuscarProxima())
        q.pos = q.linhas.size() - 1;  // forward-only: the new row took the old one's place
    else
        q.eof = true;  // stays on the last row, as the grid expects
}

size_t TQuery::RecNo() const { return impl_->passadas + impl_->pos; }

std::optional<TField> TQuery::FindField(std::string_view nome) const {
    const auto& q = *impl_;
    for (size_t i = 0; i < q.colunas.size(); ++i)
        if (IguaisAscii(q.colunas[i].nome, nome)) return q.campos[i];
    return std::nullopt;
}

TField TQuery::FieldByName(std::string_view nome) const {
    if (auto f = FindField(nome)) return *f;
    if (!impl_->stmt) Erro("Campo '" + std::string(nome) + "' não encontrado: a consulta não está aberta.");
    Erro("Campo '" + std::string(nome) + "' não encontrado.");
}

std::vector<std::string> TQuery::NomesDosCampos() const {
    std::vector<std::string> r;
    for (const auto& c : impl_->colunas) r.push_back(c.nome);
    return r;
}

namespace {
void Definir(TQuery::Impl& q, TQuery& dono, int i, TValorMensagem v) {
    if (!q.stmt) q.Preparar();
    if (i < 0 || static_cast<size_t>(i) >= q.params.size())
        Erro("Parâmetro " + std::to_string(i) + " não existe (o comando tem " + std::to_string(q.params.size()) + ").");
    q.params[i] = std::move(v);
}
}  // namespace

void TQuery::ParamNulo(int i) { Definir(*impl_, *this, i, TValorMensagem{}); }

void TQuery::ParamInteiro(int i, int64_t v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Inteiro, x.i = v;
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamTexto(int i, std::string_view v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Texto, x.s = std::string(v);
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamDecimal(int i, const Decimal& v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Inteiro, x.i = v.Unidades(), x.escala = static_cast<int8_t>(v.Escala());
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamData(int i, TDateTime v) {
    TValorMensagem x;
    x.tipo = v == std::floor(v) ? TValorMensagem::Data : TValorMensagem::DataHora;
    x.d = v;
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamDbKey(int i, std::string_view hex) {
    TValorMensagem x;
    x.tipo = TValorMensagem::DbKey, x.s = DeHex(hex);
    if (x.s.empty()) Erro("Chave de linha vazia.");
    Definir(*impl_, *this, i, std::move(x));
}

// ================================================================ TField

namespace {
const TValorMensagem* ValorDe(const TQuery* q, size_t i) { return q->impl().Valor(i); }
}  // namespace

const std::string& TField::Nome() const { return consulta_->impl().colunas.at(indice_).nome; }

bool TField::IsNull() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    return !v || v->tipo == TValorMensagem::Nulo;
}

int64_t TField::AsInteger() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return v->escala > 0 ? Decimal::DeUnidades(v->i, v->escala).ParteInteira() : v->i;
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return static_cast<int64_t>(v->d);
        default: {
            std::string t = TrimEspacos(v->s);
            if (t.empty()) return 0;
            try {
                size_t usados = 0;
                long long r = std::stoll(t, &usados);
                if (usados == t.size()) return r;
            } catch (...) {
            }
            throw EConvertError("'" + v->s + "' não é um valor inteiro válido");
        }
    }
}

std::string TField::AsString() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return "";
    switch (v->tipo) {
        case TValorMensagem::Nulo: return "";
        case TValorMensagem::Inteiro: return TextoDeInteiro(v->i, v->escala);
        case TValorMensagem::Real: {
            char b[40];
            std::snprintf(b, sizeof b, "%.15g", v->d);
            return b;
        }
        case TValorMensagem::Logico: return v->i ? "True" : "False";
        case TValorMensagem::Data: return FormataData("DD/MM/AAAA", v->d);
        case TValorMensagem::Hora: return FormataData("HH:MM:SS", v->d);
        case TValorMensagem::DataHora:
            return v->d == std::floor(v->d) ? FormataData("DD/MM/AAAA", v->d)
                                            : FormataData("DD/MM/AAAA", v->d) + " " + FormataData("HH:MM:SS", v->d);
        case TValorMensagem::DbKey: return Hex(v->s);
        case TValorMensagem::Binario: return consulta_->impl().colunas.at(indice_).tipo == SQL_BLOB ? v->s : Hex(v->s);
        case TValorMensagem::Texto: return v->s;
    }
    return "";
}

Decimal TField::AsDecimal() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return Decimal();
    switch (v->tipo) {
        case TValorMensagem::Nulo: return Decimal();
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return Decimal::DeUnidades(v->i, v->escala);
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return Decimal::DeDouble(v->d, 6);
        default: {
            std::string t = TrimEspacos(v->s);
            return t.empty() ? Decimal() : Decimal::DeTexto(t);
        }
    }
}

double TField::AsFloat() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return Decimal::DeUnidades(v->i, v->escala).ParaDouble();
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return v->d;
        default:
            return AsDecimal().ParaDouble();
    }
}

TDateTime TField::AsDate() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora:
        case TValorMensagem::Real: return v->d;
        case TValorMensagem::Texto: {
            std::string t = TrimEspacos(v->s);
            return t.empty() ? 0 : StrToDate(t);
        }
        default:
            throw EConvertError("'" + AsString() + "' não é uma data válida");
    }
}

bool TField::AsBoolean() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v || v->tipo == TValorMensagem::Nulo) return false;
    if (v->tipo == TValorMensagem::Texto) {
        std::string t = Minusc(TrimEspacos(v->s));
        return t == "t" || t == "s" || t == "1" || t == "true" || t == "sim";
    }
    return AsInteger() != 0;
}

}  // namespace fb
