#pragma once
// Thin layer over the Firebird client (firebird/Interface.h): a connection,
// transactions with parameter lines, and statements held as lists of SQL lines.
// Texts are UTF-8 here and Windows-1252 on the wire (lc_ctype=WIN1252).
// Every client failure raises EDatabaseError with the server's message.
//
// A local path ("/x/loja.fdb") opens the file with the embedded engine;
// "host:/x/loja.fdb" goes to that server through the same client.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Decimal.h"
#include "common/UFuncoes.h"

namespace fb {

class TDatabase;
class TTransaction;
class TQuery;

// One column of the current row.
class TField {
public:
    const std::string& Nome() const;
    bool IsNull() const;
    int64_t AsInteger() const;     // NULL gives 0; a decimal is cut toward zero; text is parsed
    std::string AsString() const;  // NULL gives ""; numbers as text, decimals with "."
    Decimal AsDecimal() const;     // exact for NUMERIC/DECIMAL; NULL gives 0
    double AsFloat() const;
    TDateTime AsDate() const;      // DATE/TIMESTAMP; NULL gives 0
    // (the implementation keeps a pointer into the query's current row)
};

class TDatabase {
public:
    TDatabase();
    ~TDatabase();  // disconnects, rolling back what is open
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    void SetCaminho(std::string caminho);
    const std::string& Caminho() const;
    // Lines such as "user_name=Sysdba", "password=...", "lc_ctype=WIN1252".
    void SetParametros(std::vector<std::string> linhas);
    const std::vector<std::string>& Parametros() const;
    void SetTransacaoPadrao(TTransaction* t);  // started by connect on demand
    TTransaction* TransacaoPadrao() const;

    void Conectar();
    void Desconectar();  // closes every statement, rolls back active transactions
    bool Conectado() const;
    void FecharDataSets();  // closes every open statement of this connection

    // Creates a new database file (dialect 3, WIN1252) with the parameters set.
    void CriarBanco();
    // Runs one statement outside any caller transaction (DDL scripts).
    void ExecutarImediato(std::string_view sql);
    // Runs a script of statements ended by ";" (comments "--" allowed), each
    // committed; SET TERM blocks are not supported.
    void ExecutarScript(std::string_view script);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

class TTransaction {
public:
    // Lines such as "read_committed", "rec_version", "nowait" or "concurrency", "nowait".
    TTransaction(TDatabase& banco, std::vector<std::string> parametros);
    ~TTransaction();  // rolls back when still active
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    TDatabase& Banco() const;
    void Start();
    bool Ativa() const;
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

    void Clear();                       // closes and empties the SQL lines
    void Add(std::string_view linha);
    const std::vector<std::string>& SQL() const;
    std::string Texto() const;          // lines joined with "\n"
    // The text of the last statement prepared, executed or opened (for tests).
    const std::string& UltimoTextoEnviado() const;

    void Prepare();
    void ExecSQL();
    void Open();
    void Close();
    bool Active() const;

    // Rows are buffered as they are fetched, so First() can go back.
    bool Eof() const;
    void First();
    void Next();
    size_t RecNo() const;  // 0-based position of the current row
    TField FieldByName(std::string_view nome) const;  // EDatabaseError when missing
    std::optional<TField> FindField(std::string_view nome) const;
    std::vector<std::string> NomesDosCampos() const;

    // Positional parameters ("?") for prepared statements, 0-based.
    void ParamNulo(int i);
    void ParamInteiro(int i, int64_t v);
    void ParamTexto(int i, std::string_view v);
    void ParamDecimal(int i, const Decimal& v);
    void ParamData(int i, TDateTime v);

    TDatabase& Banco() const;
    TTransaction& Transacao() const;

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace fb
