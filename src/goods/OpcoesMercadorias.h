#pragma once
// The options of the goods window as one value: every check box, typed value,
// chosen lookup entry and radio choice. The window fills it from its controls;
// etiquetas-cli lote fills it from its options; the statement, the row checks
// and the batch read only this.
#include <optional>
#include <string>

enum class TOrdemListagem { CodigoRed, CodigoBar, NomeMer };

struct TOpcoesMercadorias {
    TOrdemListagem Ordem = TOrdemListagem::CodigoRed;  // rdCodigoRed, rdCodigoBar, rdNomeMer

    bool chkCodRed = false;
    std::string edtCod1 = "0", edtCod2 = "0";
    bool chkBarras = false;
    std::string edtcodbarras;
    bool chkDiferente = false;
    std::string edtDiferente;
    bool chkNumero = false;  // barcode range, row check 2
    std::string edtCodBar, edtBar2;
    bool chkListaCodBar = false;
    std::string memoLista;  // lines joined with "\n"
    bool chkNome = false;
    std::string edtNome;
    bool chkDepartamento = false;
    std::optional<long long> edtDepartamento;  // COD_DEP of the chosen entry
    bool chkFornecedor = false;
    std::optional<long long> edtFornecedor;  // Codigo
    bool chkCodPers = false;                 // custom-code range, row check 3
    std::string edtCodPers1, edtCodPers2;
    bool chkDepartComposta = false;  // department by name, row check 4
    std::string edtNomeDepart;
    bool chksetor = false;                // row check 5
    std::optional<std::string> edtSetor;  // NOM_SETOR
    bool chkReferencia = false;
    std::string edtReferencia;
    bool chkLocaliz = false;
    std::string edtLocaliz;
    bool chkDataEmi = false;  // price-change dates, DD/MM/AAAA
    std::string edtData1, edtData2;
    bool chkEstoque = false, chkEstoqueM0 = false, chkEstoque0 = false;
    bool chkEstoque2 = false, chkEstoqueM02 = false, chkEstoque02 = false;
    bool chkMinimo = false;
    bool chkEstMax = false;
    bool chkCodGer = false;  // generated codes, row check 1
    bool chkProEstoque = false;
    bool rMarcados = false, rDesmarcados = false;  // neither chosen at start
    bool chkProAtivos = true;
    bool rbAtivos = true;  // false: rbInativos
    bool chkGrade = false;
    bool rdSim = true;  // false: rdNao
    bool chkPiscofins = false;
    std::optional<long long> edtPis;  // COD_TRIB
    bool chkICms = false;
    std::optional<long long> edtICMS;  // COD_TRIB
    bool chkNNota = false;             // purchase invoice, row check 6
    std::string edtNNota = "0";
    bool chkDataCompra = false;  // purchase dates, row check 7, DD/MM/AAAA
    std::string edtDtC1, edtDtC2;
    // Goods whose last delivered label no longer says what the goods row says
    // (price, second price, name, barcode), and goods never labelled: either
    // or both (both: the goods of one or the other).
    bool chkDesatualizada = false;
    bool chkNuncaEtiquetada = false;
};
