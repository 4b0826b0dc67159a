#pragma once
// Table object over one database table: opens all its rows (read as they are
// needed), keeps an ordering, a row filter and a current row, and lets the
// windows edit and delete rows. Only a window of the rows read last is kept
// (kJanela), so walking a queue of a million rows takes the memory of a few
// thousand; a row before the window is read again from the start. Shop tables such as ETIQUETAREAD have no key,
// so each row is addressed by its RDB$DB_KEY, which stays valid while the
// module's transaction lives (it is only ever commit-retained).
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Decimal.h"
#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"

enum class TTipoCampo { Texto, Inteiro, Decimal, Real, Data };

// One value of a row; converts on reading as the grid and the layouts ask.
class TValor {
public:
    TValor() = default;  // NULL
    static TValor Nulo() { return TValor(); }
    static TValor Texto(std::string v);
    static TValor Inteiro(int64_t v);
    static TValor Dec(const Decimal& v);
    static TValor Real(double v);
    static TValor Data(TDateTime v);

    bool IsNull() const { return nulo_; }
    TTipoCampo Tipo() const { return tipo_; }
    std::string AsString() const;  // NULL gives ""; decimals with "."; dates DD/MM/AAAA
    int64_t AsInteger() const;     // NULL gives 0; decimals cut toward zero
    Decimal AsDecimal() const;     // NULL gives 0
    double AsFloat() const;
    TDateTime AsDate() const;

    // The same value as the column's type needs it (EConvertError when it does not fit).
    TValor ConvertidoPara(TTipoCampo tipo, int escala) const;

    friend bool operator==(const TValor& a, const TValor& b);
    friend bool operator!=(const TValor& a, const TValor& b) { return !(a == b); }

private:
    bool nulo_ = true;
    TTipoCampo tipo_ = TTipoCampo::Texto;
    int64_t inteiro_ = 0;
    Decimal decimal_;
    double real_ = 0;  // also the date
    std::string texto_;
};

struct TCampoTabela {
    std::string nome;  // as stored, upper case
    TTipoCampo tipo = TTipoCampo::Texto;
    int escala = 0;        // places after the point for Decimal
    bool win1252 = false;  // a text column in the WIN1252 character set
};

enum class TEstadoTabela { Inativa, Navegacao, Edicao, Insercao };

class TTabela {
public:
    // Rows kept behind the last one read: more than the look-ahead of a print
    // (Percurso) and a grid's page, so neither reads a row twice.
    static constexpr size_t kJanela = 4096;

    TTabela(fb::TDatabase& banco, fb::TTransaction& transacao, std::string nomeTabela);
    ~TTabela();
    TTabela(const TTabela&) = delete;
    TTabela& operator=(const TTabela&) = delete;

    const std::string& NomeTabela() const { return nomeTabela_; }
    fb::TDatabase& Banco() const { return banco_; }
    fb::TTransaction& Transacao() const { return transacao_; }

    void Open();
    void Close();
    bool Active() const;
    TEstadoTabela Estado() const;

    // One column name or several joined by ";" ("COD_MER;DATA_ALT"); empty: database order.
    void SetOrdenacao(std::string colunas);
    const std::string& Ordenacao() const { return ordenacao_; }
    // The collation a text column of the order is sorted by when it is
    // WIN1252 ("WIN_PTBR": accents and case as people read them); other
    // character sets keep their own order. Empty collation: none.
    void SetColacao(const std::string& coluna, std::string colacao);
    // Row filter as an SQL condition ("quantidade>0"), in force while Filtrado.
    void SetFiltro(std::string condicao);
    const std::string& Filtro() const { return filtro_; }
    void SetFiltrado(bool filtrado);
    bool Filtrado() const { return filtrado_; }

    // Reads the rows again, staying on the current row when it still exists.
    void Refresh();

    // Navigation; RecNo counts from 1 in the current order (0 when empty).
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    bool IsEmpty() const;
    size_t RecNo() const;
    void SetRecNo(size_t recno);
    size_t RecordCount() const;  // reads every row (once, until the rows change)
    // Moves to the first row whose column equals the value (numbers compared as
    // numbers); parcial: the column begins with it; semCaixa: case ignored.
    bool Locate(std::string_view coluna, std::string_view valor, bool semCaixa = false, bool parcial = false);
    // Moves to the row whose RDB$DB_KEY the text names, as
    // uuid_to_char(rdb$db_key || x'0000000000000000') gives it; false when no row has it.
    bool IrParaChave(std::string_view chaveUuid);

    const std::vector<TCampoTabela>& Campos() const;
    int IndiceCampo(std::string_view nome) const;  // -1 when missing
    // Value of the current row (of the edit buffer while editing); EDatabaseError when missing.
    const TValor& FieldByName(std::string_view nome) const;
    // Any row without moving (for grids); linha counts from 0. The reference
    // lasts until the next call that reads rows.
    const TValor& Valor(size_t linha, int campo) const;
    // Whether row `linha` (from 0) exists, reading up to it and no further.
    bool HaLinha(size_t linha) const;
    // Rows held in memory now (at most kJanela).
    size_t LinhasGuardadas() const { return linhas_.size(); }
    // For a grid, which jumps anywhere: the key of every row read is kept
    // (8 bytes a row), so a row behind the window is read again by its key,
    // a block at a time, instead of reading the table again from its start.
    void SetGuardarChaves(bool guardar);

    // Changes: the edit buffer reaches the database on Post, in the open transaction.
    void Edit();
    void Insert();
    void Append() { Insert(); }
    void SetCampo(std::string_view nome, const TValor& valor);
    void SetCampo(std::string_view nome, std::string texto) { SetCampo(nome, TValor::Texto(std::move(texto))); }
    void Post();
    void Cancel();
    void Delete();

    std::function<void(TTabela&)> BeforeInsert;
    std::function<void(TTabela&)> AfterInsert;
    std::function<void(TTabela&)> AfterCancel;
    // Rows, order or current row changed (grids repaint).
    std::function<void(TTabela&)> AoMudar;

private:
    struct Linha {
        std::string chave;  // RDB$DB_KEY as 16 hex digits
        std::vector<TValor> valores;
    };

    void LerEstrutura();
    std::string TextoSelect() const;
    void Executar() const;
    void Reler(const std::string& chaveAtual, size_t posAlternativa);
    void Garantir() const;            // re-reads after a change of order or filter
    bool LerAte(size_t linha) const;  // false when there are fewer rows
    void Recomecar() const;           // reads again from the first row, keeping the current row's key
    void EsquecerChaves() const;
    Linha& PorChave(size_t linha) const;  // a row behind the window, by its kept key
    void LerTudo() const;
    void GuardarLinhaDoCursor() const;                       // appends the cursor's current row
    size_t Lidas() const { return base_ + linhas_.size(); }  // rows read since the cursor opened
    bool Vazia() const { return Lidas() == 0; }
    // Row `linha` (from 0), read again from the start when it left the window;
    // it must exist (LerAte).
    Linha& Em(size_t linha) const;
    std::string ChaveAtual() const;                     // "" when there is no current row
    size_t IndiceExigido(std::string_view nome) const;  // EDatabaseError when missing
    void ExigirAtiva() const;
    void ExigirLinha() const;
    void ConferirLinha(const Linha& original);
    std::string ChaveSql(const std::string& chave) const;
    void Avisar();

    fb::TDatabase& banco_;
    fb::TTransaction& transacao_;
    std::string nomeTabela_;
    std::string ordenacao_;
    std::unordered_map<std::string, std::string> colacoes_;  // upper-case column name -> collation
    std::string filtro_;
    bool filtrado_ = false;

    bool ativa_ = false;
    TEstadoTabela estado_ = TEstadoTabela::Inativa;
    std::vector<TCampoTabela> campos_;
    std::unordered_map<std::string, int> indices_;
    mutable std::unique_ptr<fb::TQuery> cursor_;
    std::unique_ptr<fb::TQuery> alteracao_;
    mutable std::deque<Linha> linhas_;  // rows [base_, Lidas()) of the current order and filter
    bool guardarChaves_ = false;
    mutable std::vector<uint64_t> chaves_;               // key of row i, in the current order and filter
    mutable std::unordered_map<size_t, Linha> avulsas_;  // rows behind the window, read by key
    mutable std::unique_ptr<fb::TQuery> porChave_;
    mutable size_t base_ = 0;
    mutable bool lidaToda_ = false;
    mutable std::optional<size_t> total_;  // the row count, once the cursor reached the end
    // The key of the current row when it left the window (an order or filter
    // change finds it again by that key).
    mutable size_t posDescartada_ = SIZE_MAX;
    mutable std::string chaveDescartada_;
    mutable bool reler_ = false;
    mutable size_t pos_ = 0;  // current row, from 0
    mutable bool eof_ = true;
    mutable bool bof_ = true;
    Linha buffer_;    // edit buffer
    Linha original_;  // the row as read when the edit began
    std::vector<bool> alterados_;
};

// Data source: what a grid or a lookup list binds to.
struct TDataSource {
    TTabela* DataSet = nullptr;
};
