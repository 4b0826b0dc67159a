#pragma once
// What the files of the Firebird client share: the calls into the library and
// their failures, the handles' inner state, and the value of a message.
// Private to this folder.
#include <firebird/Interface.h>
#include <ibase.h>

#include <csignal>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "data/fb/FbCliente.h"
#include "data/fb/Ligacoes.h"
#include "data/fb/VigiaServidor.h"

namespace fb {

using namespace Firebird;

// Firebird counts dates from 17/11/1858; TDateTime from 30/12/1899.
constexpr int kDiasAte1899 = 15018;
constexpr double kFracoesPorDia = 86400.0 * ISC_TIME_SECONDS_PRECISION;

constexpr unsigned kCsNone = 0;
constexpr unsigned kCsOctets = 1;
constexpr unsigned kCsUtf8 = 4;
constexpr unsigned kCsWin1252 = 53;

// The client library's entry point; the library is shut down at exit.
IMaster* Mestre();

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

// Raises EFbErro from a failed status, with the prefix (when given) on a line
// before the server's message; `sql`, the statement, names a missing column's table.
[[noreturn]] void Lancar(const IStatus* st, const std::string& prefixo, std::string_view sql = {});

// Runs f; a Firebird failure becomes EFbErro with the server's message.
template <class F>
auto Chamar(F&& f, const std::string& prefixo = {}) -> decltype(f()) {
    try {
        return f();
    } catch (const FbException& e) {
        Lancar(e.getStatus(), prefixo);
    }
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

[[noreturn]] void Erro(const std::string& msg);
std::string Minusc(std::string_view s);
std::string TrimEspacos(std::string_view s);

// Refuses new work once the program is ending (EEncerrando).
void RecusarSeInterrompido();

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

// Done once per process, before the first real attach (FbChamadas.cpp).
void TomarSinaisDoCliente(IProvider* prov);

// Where a remote path's server listens: host and port (number or service).
struct TEndereco {
    std::string host, porta;
};

// The server of a remote path ("host:/x", "host/porta:/x", "inet://host:porta/x");
// none for a local path.
std::optional<TEndereco> EnderecoDoServidor(std::string_view caminho);

// The transaction parameter block of the lines TTransaction was given.
IXpbBuilder* MontarTpb(ThrowStatusWrapper* st, const std::vector<std::string>& parametros);

// One value of a Firebird message (a fetched row or a statement parameter) as this client holds it;
// callers see it only through TField.
struct TValorMensagem {
    enum Tipo : uint8_t { Nulo, Inteiro, Real, Texto, Binario, Data, Hora, DataHora, Logico, DbKey };
    Tipo tipo = Nulo;
    int8_t escala = 0;  // Inteiro: digits after the point
    bool textoBlob = false;
    int64_t i = 0;  // Inteiro units; Logico 0/1
    double d = 0;   // Real; TDateTime for Data/Hora/DataHora
    std::string s;  // Texto (UTF-8), Binario and DbKey (raw bytes)
};

// Bytes for the wire in the connection's character set, and back to UTF-8.
std::string ParaCliente(std::string_view utf8, unsigned cs);
std::string DoCliente(std::string_view bytes, unsigned cs);

// ---------------------------------------------------------------- TDatabase

struct TDatabase::Impl {
    std::string caminho;
    std::vector<std::string> parametros;
    TTransaction* padrao = nullptr;
    int tempoLimite = 10;
    IAttachment* att = nullptr;
    unsigned charset = kCsWin1252;
    uint64_t geracao = 0;  // bumps on every connect: statements of an older one are gone
    // What leans on this database; cut when it goes.
    TRegistro<TDatabase, TTransaction::Impl> transacoes;
    TRegistro<TDatabase, TQuery::Impl> consultas;

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
    void FecharTudo();    // cursors, statements, transactions; the attachment stays
    void Soltar();        // detach (or drop the handle) after FecharTudo
    // Runs the statements in one transaction of their own: all or nothing.
    void ExecutarJuntos(const std::vector<std::string>& comandos);
};

// ---------------------------------------------------------------- TTransaction

struct TTransaction::Impl {
    TLigacao<TDatabase, Impl> banco{*this};
    std::vector<std::string> parametros;
    ITransaction* tra = nullptr;
    bool alterou = false;  // changes sent since the last commit or rollback
    TRegistro<TTransaction, TQuery::Impl> consultas;

    void FecharCursores();
    void Descartar();  // rollback whatever is open; never throws
};

// ---------------------------------------------------------------- TQuery

struct TQuery::Impl {
    TQuery* dono;
    TLigacao<TDatabase, Impl> banco{*this};
    TLigacao<TTransaction, Impl> transacao{*this};
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

    void Liberar();       // cursor, statement and metadata
    void FecharCursor();  // keeps the statement
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

inline TVigilancia Vigiar(TDatabase::Impl* db) {
    return TVigilancia(db ? db->vigia : nullptr, db ? db->semResposta : 0);
}

// Runs a call on an attachment of `db`, watched while it waits on a server: a
// broken link, or a server silent for too long, drops the attachment
// (EFbConexao). `gravando`: the call is a commit.
template <class F>
auto ChamarNo(TDatabase::Impl* db, F&& f, bool gravando = false) -> decltype(f()) {
    using R = decltype(f());
    TVigilancia vigilancia = Vigiar(db);
    std::optional<std::conditional_t<std::is_void_v<R>, bool, R>> r;
    try {
        if constexpr (std::is_void_v<R>) {
            vigilancia.Executar([&] { Chamar(f); });
            r = true;
        } else {
            r = vigilancia.Executar([&] { return Chamar(f); });
        }
    } catch (const EFbErro& e) {
        if (db && (e.ConexaoPerdida() || vigilancia.Abandono() != TAbandono::Nenhum))
            db->Perdida(e, &vigilancia, gravando);
        throw;
    }
    // Cut in the instant the call was returning: its socket is gone all the same.
    if (db && vigilancia.Abandono() != TAbandono::Nenhum)
        db->Perdida(EFbErro({}, isc_network_error, -901, "08006"), &vigilancia, gravando);
    if constexpr (!std::is_void_v<R>) return std::move(*r);
}

}  // namespace fb
