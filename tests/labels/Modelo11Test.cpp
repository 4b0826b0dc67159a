// Model 11 against golden streams: the queue walk's column filling, rounding
// of counts, the variant line and rows whose goods are gone.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "FilaTeste.h"
#include "Ouro.h"

namespace {

struct LinhaCaso {
    int codigo;
    const char* nome;  // queue NOME (the queue prints in NOME order)
    const char* quantidade;
    const char* lote;
};

struct CasoOuro {
    const char* arquivo;
    std::vector<LinhaCaso> fila;
    std::vector<int64_t> progresso;  // labels sent after each print job
};

// The goods the cases print: a 13-digit code, a short code, a long one.
struct Produto {
    int codigo;
    const char* barras;
    const char* nome;
    const char* ref;
    const char* preco;
};
const Produto kProdutos[] = {
    {1, "7891234567895", "CAMISETA BÁSICA ALGODÃO MANGA CURTA", "CB-01", "29.9"},
    {2, "12345", "MEIA", "M2", "5.5"},
    {3, "ABC12345678", "BONÉ", "", "1234.5"},
};

void PrintTo(const CasoOuro& c, std::ostream* os) { *os << c.arquivo; }

const Produto& ProdutoDe(int codigo) {
    for (const auto& p : kProdutos)
        if (p.codigo == codigo) return p;
    static const Produto semCadastro{99, "7890000000000", "SEM CADASTRO", "", "1"};
    return semCadastro;
}

class Modelo11Ouro : public FilaTeste, public ::testing::WithParamInterface<CasoOuro> {};

TEST_P(Modelo11Ouro, FluxoIgualAoOuro) {
    const CasoOuro& caso = GetParam();
    for (const auto& p : kProdutos) Mercadoria(p.codigo, p.barras, p.nome, p.ref, p.preco);
    for (const auto& l : caso.fila) {
        const Produto& p = ProdutoDe(l.codigo);
        Fila(l.codigo, p.barras, l.nome, l.quantidade, p.preco, l.lote);
    }
    std::vector<int64_t> progresso;
    imp->AoProgresso = [&](int64_t enviadas, int64_t) {
        progresso.push_back(enviadas);
        return true;
    };
    Imprimir();
    EXPECT_TRUE(IgualAoOuro(caso.arquivo, Saida()));
    EXPECT_EQ(progresso, caso.progresso);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Modelo11Ouro,
    ::testing::Values(
        // Two jobs: three labels, then one in column 1.
        CasoOuro{"modelo11_quantidade4.prn", {{1, "A", "4", ""}}, {3, 4}},
        // One job: two of the first product, one of the second.
        CasoOuro{"modelo11_quantidades2e1.prn", {{1, "A", "2", ""}, {2, "B", "1", ""}}, {3}},
        // With a variant the barcode is 45 high; without, 70 and an empty variant line.
        CasoOuro{"modelo11_lote_vazio.prn", {{1, "A", "1", "AZUL P"}, {1, "B", "1", ""}}, {2}},
        // 2.5 gives 2, 3.5 gives 4, 0.4 gives none.
        CasoOuro{
            "modelo11_arredondamento.prn", {{1, "A", "2.5", ""}, {2, "B", "3.5", ""}, {3, "C", "0.4", ""}}, {3, 6}},
        // The row without goods prints nothing and takes no column.
        CasoOuro{"modelo11_mercadoria_apagada.prn", {{2, "A", "1", ""}, {99, "B", "2", ""}, {3, "C", "1", ""}}, {2}}),
    [](const ::testing::TestParamInfo<CasoOuro>& i) {
        std::string n = i.param.arquivo;
        return n.substr(0, n.find('.'));
    });

}  // namespace
