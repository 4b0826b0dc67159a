#pragma once
// The goods window's work without the window: the goods statement on the
// second connection (one snapshot), the row checks, and the batch that
// empties the label queue and fills it with one row per goods item or per
// size/colour variant, committed once at the end.
//
// A batch either lands whole or not at all: options are checked before
// anything is sent, and a failure while reading or writing rolls the queue
// back to what it held before the run.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Decimal.h"
#include "data/fb/FbCliente.h"
#include "goods/OpcoesMercadorias.h"

class TdtmAplicativo;
class TInsercaoEmBlocos;

// A model number as typed: "0" + the digits of the text; a run of digits too
// long for an integer is no model number (0).
int64_t InteiroDeDigitos(const std::string& texto);

// Model number as the batch reads it: the digits among the first four
// characters of MODELO PRINT, replaced by ParamModelo when that is above 0.
int ModeloDoLote(const std::string& modeloPrint, const std::string& paramModelo);

class TSelecaoMercadorias {
public:
    explicit TSelecaoMercadorias(TdtmAplicativo& dtm);
    TSelecaoMercadorias(const TSelecaoMercadorias&) = delete;
    TSelecaoMercadorias& operator=(const TSelecaoMercadorias&) = delete;

    TdtmAplicativo& Dtm() const { return dtm_; }

    fb::TQuery tblMercadorias;     // the goods statement, dtbAplicativoMrg
    fb::TQuery tblDepartPesquisa;  // row checks 4 and 5, dtbAplicativoMrg
    fb::TQuery qrySelect;          // row checks 6 and 7, dtbAplicativoMrg
    // The variants of up to kMercadoriasPorGrades goods items, dtbAplicativo:
    // prepared once per batch with the codes as parameters ("COD_MER in
    // (?, ...)"), one request per block of goods instead of one per goods row.
    fb::TQuery qryGrades;
    static constexpr size_t kMercadoriasPorGrades = 200;

    TOpcoesMercadorias Opcoes;
    bool ProcessarGrades = false;
    std::string ParamModelo = "0";
    // Goods rows read so far and how many the statement gives; only asked
    // for (one count on the same snapshot) when set.
    std::function<void(size_t lidas, size_t total)> Progresso;
    // Asked before the queue is emptied; false keeps it (nothing written, LoteGravado false).
    std::function<bool()> AntesDeSubstituir;
    // False when the last batch's commit failed (told to the operator and
    // rolled back by dtmCommit): the queue holds what it held before.
    bool LoteGravado = false;

    // MONTAMODELO without the queue window: checks the options, opens the
    // goods statement, builds the batch (ModeloEtiqueta) and closes the
    // statements. Returns the number of queue rows written.
    size_t MontarLote();

    // Pieces of the above, for the window and the tests.
    void AbrirMercadorias();  // validates, builds the 58 lines, opens
    size_t ModeloEtiqueta();  // the goods statement must be open
    void FecharMercadorias();
    bool TestaFiltro();  // on the current row of tblMercadorias
    bool pesquisaSetor(const std::string& departamento, const std::string& setor);

private:
    bool HaLinhas(fb::TQuery& q, const std::vector<std::string>& linhas);
    size_t ContarMercadorias();
    // A barcode list too long for the statement, in the temporary table it reads.
    void EncherTabelaLista(const std::vector<std::string>& codigos);
    // What the queue rows take of a goods row that passed the checks.
    struct TMercadoriaDoLote {
        int64_t codigo = 0;
        std::string codigoTexto, nome, barras, aplicacao, estoque;
        Decimal preco;
    };
    TMercadoriaDoLote LerMercadoria() const;  // the current row of tblMercadorias
    // The rows of goods waiting for their variants: variant rows where the
    // goods have some, otherwise the plain row. Returns the rows written.
    size_t InserirComGrades(int modelo, const std::vector<TMercadoriaDoLote>& mercadorias, TInsercaoEmBlocos& fila,
                            bool porBlocos);
    void InserirSimples(int modelo, const TMercadoriaDoLote& m, TInsercaoEmBlocos& fila);

    TdtmAplicativo& dtm_;
    std::string linhaNomeDepartamento_ = " ";
};
