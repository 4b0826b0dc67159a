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
    void UPDATEFILE_Matriz(const std::string& tabela, const std::string& condicao, const std::vector<std::string>& pares);
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

// INSERTFILE's rows sent in blocks: each row is the very statement INSERTFILE
// would send, and up to kLinhasPorBloco of them travel together in one
// EXECUTE BLOCK through qryprocesso: one prepare and one execute per block
// instead of a prepare, an execute and a count per row, which on a shop's
// network is what a batch costs. A block of a single row is the plain
// statement. Rows wait until their block is full or Enviar() is called; the
// caller commits, and on a failure rolls back (nothing is committed here).
class TInsercaoEmBlocos {
public:
    // Inserts per block: a request holds at most 255 table contexts, one per
    // insert; the text stays well under the server's statement limit.
    static constexpr size_t kLinhasPorBloco = 200;
    static constexpr size_t kBytesPorBloco = 60000;

    TInsercaoEmBlocos(TdtmAplicativo& dtm, std::string tabela);
    // Rows not sent are dropped: the caller's failure path undoes the rest.
    ~TInsercaoEmBlocos() = default;
    TInsercaoEmBlocos(const TInsercaoEmBlocos&) = delete;
    TInsercaoEmBlocos& operator=(const TInsercaoEmBlocos&) = delete;

    void INSERTFILE(const std::vector<std::string>& pares);
    void Enviar();  // sends the rows still waiting
    size_t Pendentes() const { return pendentes_; }

    // The text of one block: the statements of the rows in their order.
    static std::vector<std::string> TextoBloco(const std::vector<std::vector<std::string>>& linhasInsert);

private:
    TdtmAplicativo& dtm_;
    std::string tabela_;
    std::vector<std::vector<std::string>> linhas_;  // the statements waiting, as lines
    size_t pendentes_ = 0;
    size_t bytes_ = 0;
};
