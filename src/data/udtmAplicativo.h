#pragma once
// Application data module: the two connections to the shop database, their
// transactions, the shared work statements and result slots, the goods and
// format tables, and the generic statement builders.
//
// dtbAplicativo works in a read-committed transaction that is only ever
// commit-retained (dtmCommit) or rolled back retaining; dtbAplicativoMrg reads
// one snapshot from its first statement until dtmConectBancoMrg(false).
// Nothing connects at creation: every statement connects on demand.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/Tabela.h"
#include "data/fb/FbCliente.h"

class TdtmAplicativo {
public:
    // dtmReceberCreate: both connections take PATH MERKOR of configEtq.ini.
    TdtmAplicativo();
    // dtmReceberDestroy: rolls back what is uncommitted, then disconnects both.
    // Create the other modules after this one and free them before it.
    ~TdtmAplicativo();
    TdtmAplicativo(const TdtmAplicativo&) = delete;
    TdtmAplicativo& operator=(const TdtmAplicativo&) = delete;

    fb::TDatabase dtbAplicativo;
    fb::TDatabase dtbAplicativoMrg;
    fb::TTransaction ibtAplicativo;
    fb::TTransaction ibtAplicativoMrg;

    fb::TQuery qryprocesso;
    fb::TQuery qrySelect1;
    fb::TQuery qrySelect2;
    fb::TQuery qrySelect3;
    fb::TQuery qrySelect4;
    fb::TQuery qrySelectMrg;
    fb::TQuery qryConfigGeral;
    fb::TQuery qryBloqueio;

    TTabela tblFormat;
    TTabela tblNumeroNF;
    TTabela tblMercadorias;
    TTabela tblLogEstoque;
    TTabela tblEstoqueEmpresa;
    TTabela tblGrades_Produtos_P;
    TTabela tblProdutos_cli;

    void dtmConectBanco(bool conectar);
    void dtmConectBancoMrg(bool conectar);
    void dtmAplicativoOpen(const std::vector<std::string>& nomes);
    void dtmAplicativoclose(const std::vector<std::string>& nomes);
    // Makes the changes of dtbAplicativo durable. A failure is rolled back,
    // told to the operator once, and answered with false; it goes no further.
    bool dtmCommit(TTabela* tabela = nullptr);
    void dtmRollback();
    void AtivaConfiguracaoTEF();

    // Builders (pairs lists: name, value, name, value, ...).
    bool SelectFile(const std::string& slot, const std::string& tabela, const std::string& condicao);
    bool SelectFileQry(fb::TQuery& qry, const std::string& tabela, const std::string& condicao);
    bool SelectFileOrdemCampo(const std::string& slot, const std::string& tabela, const std::string& condicao,
                              const std::string& ordem, const std::string& campos);
    void INSERTFILE(const std::string& tabela, const std::vector<std::string>& pares);
    void INSERTFILE_LOG(const std::string& tabela, const std::vector<std::string>& pares);
    void UPDATEFILE(const std::string& tabela, const std::string& atribuicoes, const std::string& condicao);
    void UPDATEFILE_Matriz(const std::string& tabela, const std::string& condicao,
                           const std::vector<std::string>& pares);
    void DeleteRegistro(const std::string& tabela, const std::string& condicao);
    int64_t BuscaGerador(const std::string& gerador);
    int64_t BuscaUltimo(const std::string& tabela, const std::string& coluna);

    // Event handlers of the tables.
    void tblMercadoriasBeforeInsert(TTabela& tabela);
    void tblMercadoriasAfterCancel(TTabela& tabela);
    void tblNumeroNFAfterInsert(TTabela& tabela);

    // Module state kept for the shop's other programs; nothing here reads it.
    uint8_t CancelaNumeroNF = 0;
    int ContadorMercadorias1 = 0;
    int ContadorMercadorias2 = 0;
    uint8_t ConfigTEF[5] = {0, 0, 0, 0, 0};
    int ConfigTEFInteiro = 1;

    // The three lines of INSERTFILE's statement (with trocar, the value
    // replacements of INSERTFILE; without, INSERTFILE_LOG's plain quoting).
    static std::vector<std::string> LinhasInsert(const std::string& tabela, const std::vector<std::string>& pares,
                                                 bool trocar);

private:
    fb::TQuery* Slot(const std::string& nome);
    void ExecutarInsert(const std::string& tabela, const std::vector<std::string>& pares, bool trocar);
    bool AbrirSelect(fb::TQuery& qry, const std::string& linha1, const std::string* linha2);
};

// The parameter lines of both connections and of the two transactions.
// ParametrosConexao() has the built-in user and password; the program uses
// ParametrosConexaoConfig(), where USUARIO BD and SENHA BD of configEtq.ini,
// when not empty, take their place.
inline constexpr const char* kChaveUsuarioBd = "USUARIO BD";
inline constexpr const char* kChaveSenhaBd = "SENHA BD";
std::vector<std::string> ParametrosConexao();
std::vector<std::string> ParametrosConexao(const std::string& usuario, const std::string& senha);
std::vector<std::string> ParametrosConexaoConfig();
std::vector<std::string> ParametrosTransacao();
std::vector<std::string> ParametrosTransacaoMrg();

// INSERTFILE's rows sent in blocks: the rows and values INSERTFILE would
// write (the same cleaned texts, converted by the server to the columns'
// types), up to kLinhasPorBloco of them per request, through one EXECUTE
// BLOCK with parameters that is prepared once for the batch and executed per
// block: on a shop's network every request is a round trip, and on any server
// parsing a new text per block costs more than the inserts. Each place of the
// block holds one row of one of at most two column lists (with and without
// the variant column); a place left empty inserts nothing. A block of one row,
// and a row with a value too long for a parameter, go as INSERTFILE's own
// statement (the embedded engine's batch sends row by row). Rows wait until
// their block is full or Enviar() is called; the caller commits, and on a
// failure rolls back (nothing is committed here).
class TInsercaoEmBlocos {
public:
    // Places per block: a request holds at most 255 table contexts, one per
    // insert, and each place has one insert per column list.
    static constexpr size_t kLinhasPorBloco = 120;
    static constexpr size_t kFormasPorBloco = 2;
    // Bytes of the parameters of one block, under the server's message limit.
    static constexpr size_t kBytesPorBloco = 60000;

    TInsercaoEmBlocos(TdtmAplicativo& dtm, std::string tabela);
    // Rows not sent are dropped: the caller's failure path undoes the rest.
    ~TInsercaoEmBlocos();
    TInsercaoEmBlocos(const TInsercaoEmBlocos&) = delete;
    TInsercaoEmBlocos& operator=(const TInsercaoEmBlocos&) = delete;

    void INSERTFILE(const std::vector<std::string>& pares);
    void Enviar();  // sends the rows still waiting
    size_t Pendentes() const { return pendentes_.size(); }

    // INSERTFILE's statements of several rows as one block of literal texts.
    static std::vector<std::string> TextoBloco(const std::vector<std::vector<std::string>>& linhasInsert);

    // The parametrised block: `lugares` places, each inserting one row of one
    // of `formas` (column lists); parameters: per place the list's number
    // (1, 2...; 0 inserts nothing), then one text per column of `colunas`
    // (the union of the lists) declared with the length in `tamanhos`.
    static std::vector<std::string> TextoBlocoPreparado(const std::string& tabela,
                                                        const std::vector<std::vector<std::string>>& formas,
                                                        const std::vector<std::string>& colunas,
                                                        const std::vector<size_t>& tamanhos, size_t lugares);

private:
    struct Pendente {
        size_t forma = 0;                  // index into formas_
        std::vector<std::string> valores;  // by column of colunas_ ("" where the list has none)
    };
    size_t Lugares() const;  // places of a block with the current lists and lengths
    void EnviarLiteral(const std::vector<std::string>& pares);

    TdtmAplicativo& dtm_;
    std::string tabela_;
    std::vector<std::vector<std::string>> formas_;
    std::vector<std::string> colunas_;
    std::vector<size_t> tamanhos_;
    std::vector<Pendente> pendentes_;
    // Prepared blocks by text: the lists and lengths change a few times per batch at most.
    std::vector<std::pair<std::string, std::unique_ptr<fb::TQuery>>> preparados_;
};
