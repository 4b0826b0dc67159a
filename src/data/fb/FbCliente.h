#pragma once
// Thin layer over the Firebird client (firebird/Interface.h): a connection,
// transactions with parameter lines, and statements held as lists of SQL lines.
// Texts are UTF-8 here and Windows-1252 on the wire (lc_ctype=WIN1252); all 256
// byte values survive the round trip, and a character Windows-1252 cannot hold
// is sent as "?", as Windows does.
// Every client failure raises EDatabaseError with the server's message.
//
// A local path ("/x/loja.fdb") opens the file with the embedded engine;
// "host:/x/loja.fdb" (or "host/porta:/x/loja.fdb") goes to that server through
// the same client.
//
// Ownership: queries and transactions register with their database. Closing,
// disconnecting or destroying the database releases every statement, cursor and
// transaction it handed out, so nothing of the client leaks on any path, in
// whatever order the objects are destroyed.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Decimal.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"

namespace fb {

// A failure reported by Firebird: the message is the server's (after a short
// Portuguese lead for connection failures); the codes let callers tell a lock
// conflict or a missing object from other errors.
class EFbErro : public EDatabaseError {
public:
    EFbErro(const std::string& mensagem, intptr_t gds, int sqlcode, std::string sqlstate)
        : EDatabaseError(mensagem), gds_(gds), sqlcode_(sqlcode), sqlstate_(std::move(sqlstate)) {}
    intptr_t CodigoGds() const { return gds_; }  // first isc_* code of the status
    int CodigoSql() const { return sqlcode_; }   // legacy SQLCODE, e.g. -901
    const std::string& SqlState() const { return sqlstate_; }
    // Lock conflict, deadlock or update conflict (the row is held by another transaction).
    bool ConflitoDeBloqueio() const;

    // The link to the server broke (server stopped, killed, restarted, network gone).
    bool ConexaoPerdida() const;

private:
    intptr_t gds_;
    int sqlcode_;
    std::string sqlstate_;
};

// The database could not be reached or its attachment was lost: no server,
// no answer within the time-out, login refused, or the link broke in the
// middle of an operation. The message names the database, never the password.
class EFbConexao : public EFbErro {
public:
    EFbConexao(const std::string& mensagem, intptr_t gds, bool perdida, bool abandonada = false)
        : EFbErro(mensagem, gds, -901, "08006"), perdida_(perdida), abandonada_(abandonada) {}
    // True when an open attachment was lost (it has been dropped; the next
    // operation connects again), false when connecting failed.
    bool Perdida() const { return perdida_; }
    // Lost because the server stopped answering and the wait was given up;
    // the message says so and what became of the writes.
    bool Abandonada() const { return abandonada_; }
    const char* ClassName() const override { return "EFbConexao"; }

private:
    bool perdida_;
    bool abandonada_;
};

// What a lost link to `caminho` tells, with or without unsaved changes.
std::string MensagemConexaoPerdida(const std::string& caminho, bool alteracoesPerdidas);

// Once the program is ending (a SIGTERM or SIGINT), new work on any
// attachment is refused with EEncerrando, so the program unwinds after the
// statement in progress; rollbacks and detaches still run. Safe to call from
// any thread (a signal watcher).
class EEncerrando : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
    const char* ClassName() const override { return "EEncerrando"; }
};
void InterromperOperacoes();
bool Interrompido();

class TDatabase;
class TTransaction;
class TQuery;

// One column of the current row. A TField follows the query: after Next() it
// reads the new current row. Reading it with no current row (empty result)
// behaves as NULL.
//
// Text columns arrive in WIN1252 and are given as UTF-8; CHAR(n) padding is
// trimmed on the right. Columns of character set OCTETS (RDB$DB_KEY among them)
// are binary: AsString gives their bytes hex-encoded in upper case
// ("0000008100000001" for a DB_KEY), the form TQuery::ParamDbKey takes back.
// Text BLOBs read as text; binary BLOBs give their raw bytes.
class TField {
public:
    const std::string& Nome() const;
    bool IsNull() const;
    int64_t AsInteger() const;     // NULL gives 0; a decimal is cut toward zero; text is parsed
    std::string AsString() const;  // NULL gives ""; numbers as text, decimals with "."
                                   // dates as DD/MM/AAAA (and HH:MM:SS when there is a time)
    Decimal AsDecimal() const;     // exact for NUMERIC/DECIMAL; NULL gives 0
    double AsFloat() const;
    TDateTime AsDate() const;  // DATE/TIMESTAMP; NULL gives 0
    bool AsBoolean() const;    // BOOLEAN, or a flag text 'T'/'S'/'1'; NULL gives false

    TField(const TQuery& consulta, size_t indice) : consulta_(&consulta), indice_(indice) {}
    size_t Indice() const { return indice_; }

private:
    const TQuery* consulta_;
    size_t indice_;
};

class TDatabase {
public:
    TDatabase();
    ~TDatabase();  // disconnects, rolling back what is open
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    void SetCaminho(std::string caminho);
    const std::string& Caminho() const;
    // Lines such as "user_name=Sysdba", "password=...", "lc_ctype=WIN1252"
    // (WIN1252 when absent; UTF8 also accepted), "sql_role_name=...", and
    // "force_write=0|1" (sets the database's synchronous writes, owner only).
    void SetParametros(std::vector<std::string> linhas);
    const std::vector<std::string>& Parametros() const;
    void SetTransacaoPadrao(TTransaction* t);  // started by connect on demand
    TTransaction* TransacaoPadrao() const;
    // Seconds to wait for a server to answer before giving up (default 10):
    // it bounds the whole connect, an unanswered TCP handshake included.
    void SetTempoLimiteConexao(int segundos);
    // Seconds a server may stay silent in the middle of a call before the call
    // is abandoned (EFbConexao); default 30, see SegundosSemRespostaPadrao.
    // Calls that are merely slow on a server that answers are not cut.
    void SetTempoSemResposta(int segundos);

    // True when the path names a file on this machine (no "host:" in front),
    // which the embedded engine opens without a server.
    static bool EhCaminhoLocal(std::string_view caminho);

    void Conectar();
    void Desconectar();  // closes every statement, rolls back active transactions
    bool Conectado() const;
    void FecharDataSets();  // closes every open statement of this connection

    // Creates a new database file (dialect 3, WIN1252) with the parameters set
    // and leaves it connected. An existing file is never overwritten.
    void CriarBanco();
    // Drops the connected database (file removed) and leaves it disconnected.
    void ApagarBanco();
    // Runs one statement outside any caller transaction (DDL scripts).
    void ExecutarImediato(std::string_view sql);
    // Runs a script of statements ended by ";" (comments "--" and "/* */"
    // allowed); SET TERM blocks are not supported. Each statement is committed
    // on its own, or, with umaTransacao, all together at the end (all or
    // nothing, and much faster for DDL; a statement then cannot use a table
    // created earlier in the same script except through DDL).
    void ExecutarScript(std::string_view script, bool umaTransacao = false);
    // The statements of a script, split as ExecutarScript does.
    static std::vector<std::string> DividirScript(std::string_view script);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

class TTransaction {
public:
    // Lines such as "read_committed", "rec_version", "nowait" or "concurrency", "nowait".
    // Also known: "consistency", "no_rec_version", "wait", "read", "write",
    // "lock_timeout=N"; an unknown line fails at Start().
    TTransaction(TDatabase& banco, std::vector<std::string> parametros);
    ~TTransaction();  // rolls back when still active
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    TDatabase& Banco() const;
    void Start();
    bool Ativa() const;
    // Active, with changes sent since the last commit or rollback.
    bool TemAlteracoes() const;
    // Commit and Rollback end the transaction and close the cursors of its
    // queries; the Retaining forms keep both alive. A failed commit leaves the
    // transaction active.
    void Commit();
    void CommitRetaining();
    void Rollback();
    void RollbackRetaining();

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// A statement object: SQL held as lines, joined with "\n" when sent.
// Opening or executing connects the database and starts the transaction on demand.
class TQuery {
public:
    TQuery(TDatabase& banco, TTransaction& transacao);
    ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    void Clear();  // closes and empties the SQL lines
    void Add(std::string_view linha);
    const std::vector<std::string>& SQL() const;
    std::string Texto() const;  // lines joined with "\n"
    // The text of the last statement prepared, executed or opened (for tests).
    const std::string& UltimoTextoEnviado() const;

    void Prepare();
    void ExecSQL();
    void Open();  // a SELECT, or a statement that returns one row (RETURNING, procedures)
    void Close();
    bool Active() const;
    bool Preparado() const;
    // Rows changed by the last ExecSQL (insert, update, delete). Asked of the
    // server when read, so read it before the SQL changes (0 afterwards).
    uint64_t LinhasAfetadas() const;

    // Rows are buffered as they are fetched, so First() can go back. A
    // forward-only query (SetUnidirecional) keeps only the current row: memory
    // stays flat however many rows pass, and First() after the first row fails.
    void SetUnidirecional(bool unidirecional);
    bool Unidirecional() const;
    bool Eof() const;
    void First();
    void Next();
    size_t RecNo() const;                             // 0-based position of the current row
    TField FieldByName(std::string_view nome) const;  // EDatabaseError when missing
    std::optional<TField> FindField(std::string_view nome) const;
    std::vector<std::string> NomesDosCampos() const;

    // Positional parameters ("?") for prepared statements, 0-based. Values stay
    // set for the next executions until the SQL changes; a parameter left
    // without value fails the execution. Numbers, dates and texts are converted
    // by the server to the parameter's type.
    int ParamCount();  // prepares when needed
    void ParamNulo(int i);
    void ParamInteiro(int i, int64_t v);
    void ParamTexto(int i, std::string_view v);
    void ParamDecimal(int i, const Decimal& v);
    void ParamData(int i, TDateTime v);
    // A row key read from RDB$DB_KEY (the hex text TField::AsString gives).
    void ParamDbKey(int i, std::string_view hex);

    TDatabase& Banco() const;
    TTransaction& Transacao() const;

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace fb
