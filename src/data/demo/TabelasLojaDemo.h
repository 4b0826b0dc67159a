#pragma once
// The demo shop's data: departments with their goods names, details, brands,
// sizes and units, the suppliers, the variant sizes and colours, the tax
// groups and the label design. Only data lives here; the generator
// (LojaDemo.cpp) draws from these tables in their order, so reordering or
// editing a table changes every database a seed gives.
#include <string_view>
#include <vector>

namespace demo {

using ListaNomes = std::vector<std::string_view>;

enum class TClasseDepartamento { Comum, Pesavel, Roupa, Calcado };

struct TDepartamentoDemo {
    int codigo;
    const char* nome;
    const char* setor;
    const char* tipo;
    int peso;                // share of the goods
    int precoMin, precoMax;  // in reais
    TClasseDepartamento classe;
    // A goods name is an item, a detail or two, a brand and a size ("" for none).
    ListaNomes itens, detalhes, marcas, tamanhos, unidades;
};
extern const std::vector<TDepartamentoDemo> kDepartamentosDemo;

struct TFornecedorDemo {
    const char* nome;
    const char* fantasia;
    const char* cidade;
    const char* uf;
    const char* bairro;
};
extern const std::vector<TFornecedorDemo> kFornecedoresDemo;
extern const ListaNomes kRuasDemo;
extern const ListaNomes kContatosDemo;

// Variants (GRADES_PRODUTOS_P): colours and the size runs of clothes and shoes.
extern const ListaNomes kCores;
extern const ListaNomes kTamanhosRoupa;
extern const ListaNomes kTamanhosJeans;
extern const ListaNomes kTamanhosInfantil;
extern const ListaNomes kNumerosCalcado;

// A few names that break careless SQL: quotes, double quotes and commas.
extern const ListaNomes kNomesDificeis;

extern const ListaNomes kLocaisEstoque;          // shelf letter of LOC_MER
extern const ListaNomes kPrefixosCodigoInterno;  // barcodes that are shop codes, not EAN
extern const ListaNomes kPrefixosReferencia;     // "" gives a bare number
extern const std::vector<int> kFinaisDePreco;    // thousandths after the reais of a price
extern const std::vector<int> kGarantiasMeses;   // hardware and household goods
// Price code on tags: one letter per digit, 1..9 then 0.
extern const char* const kChaveValorEmLetras;

// Tax groups, percentages in hundredths.
struct TAliquotaDemo {
    const char* codigo;
    const char* nome;
    int aliquota;
    const char* cfop;
    const char* iss;
};
extern const std::vector<TAliquotaDemo> kAliquotasDemo;

struct TTributoIcmsDemo {
    int codigo;
    const char* descricao;
    const char* cst;
    int base, icms, mva;
    int icmsSt;  // ten-thousandths
    int fcp;
    const char* cbenef;
};
extern const std::vector<TTributoIcmsDemo> kTributosIcmsDemo;

struct TTributoPisCofinsDemo {
    int codigo;
    const char* descricao;
    const char* cst;
    int pis, cofins;  // hundred-thousandths
};
extern const std::vector<TTributoPisCofinsDemo> kTributosPisCofinsDemo;

// The taxation a goods row takes: its ICMS program, rate and the groups above.
struct TTributacaoDemo {
    const char* icmProg;
    int aliquota;
    int tributoIcms, tributoPisCofins;
    const char* situacao;
};
extern const std::vector<TTributacaoDemo> kTributacoesDemo;

// The label design of model 13 (FORMATMRG): the header row (code 113), then the fields.
struct TLinhaFormatoDemo {
    int codigo;
    const char* campo;
    const char* titulo;
    int ordem, tamanho;
    const char* imprime;
    int aux1, aux2, aux3;
    const char* aux4;
};
extern const std::vector<TLinhaFormatoDemo> kFormatoDemo;

}  // namespace demo
