// What each delivered label said, kept by the journal: the newest delivered
// label of each goods item (ETIQUETA_ATUAL), the price each model shows, and
// a print cut short.
#include <gtest/gtest.h>

#include <string>

#include "FilaTeste.h"
#include "data/EtiquetaAtual.h"

namespace {

class EtiquetaAtual : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        Mercadoria(1, "7891000000011", "CAFE", "C1", "12.345");
        Mercadoria(2, "7891000000028", "CHA", "C2", "3.5");
        Mercadoria(3, "7891000000035", "MATE", "C3", "7");
        Executar("update MERCADORIAS set VLR_VEN_2 = 11.111 where COD_RED = 1");
    }
    // Code: barcode|name|price|second price|count|model, or "" when none.
    std::string Atual(int codigo) {
        return Texto(
            "select BARRAS || '|' || NOME || '|' || coalesce(VLR_VEN, 'null') || '|' || coalesce(VLR_VEN_2, 'null') || "
            "'|' || QUANTIDADE || '|' || MODELO from ETIQUETA_ATUAL where CODIGO = " +
            std::to_string(codigo));
    }
};

TEST_F(EtiquetaAtual, CadaModeloGuardaOPrecoQueMostra) {
    // The queue's price was typed over in the queue window: 9,99.
    Fila(1, "7891000000011", "CAFE", "2", "9.99");
    struct Caso {
        const char* modelo;
        std::string esperado;
    };
    const Caso casos[] = {
        {"11 - PPLA 3 colunas", "7891000000011|CAFE|9.99|null|2|11"},   // the queue's price
        {"07 - EPL2 3 colunas", "7891000000011|CAFE|12.35|null|2|7"},   // the goods' price, rounded as shown
        {"08 - PPLA 3 colunas", "7891000000011|CAFE|12.35|11.11|2|8"},  // and the second price
        {"01 - PPLB 3 colunas", "7891000000011|CAFE|null|null|2|1"},    // no price at all
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.modelo);
        GravarConfig("MODELO PRINT", c.modelo);
        Imprimir();
        EXPECT_EQ(imp->AvisoDiario(), "");
        EXPECT_EQ(Atual(1), c.esperado);
    }
    // The journal row keeps it too, with the goods' barcode and name and the time.
    EXPECT_EQ(Texto("select count(*) from DIARIO_IMPRESSAO_ITEM where ETQ_HORA is not null and ETQ_NOME = 'CAFE' "
                    "and ETQ_BARRAS = '7891000000011'"),
              "4");
}

TEST_F(EtiquetaAtual, ImpressaoCanceladaSoContaOQueFoiEntregue) {
    // Model 11: three labels a print job; the first job takes code 1's three.
    Fila(1, "7891000000011", "CAFE", "3", "12.345");
    Fila(2, "7891000000028", "CHA", "3", "3.5");
    Fila(3, "7891000000035", "MATE", "3", "7");
    imp->AoProgresso = [](int64_t enviadas, int64_t) { return enviadas < 3; };
    Imprimir();
    ASSERT_TRUE(imp->Cancelado());
    EXPECT_EQ(imp->EtiquetasEnviadas(), 3);
    EXPECT_EQ(Atual(1), "7891000000011|CAFE|12.35|null|3|11");
    EXPECT_EQ(Atual(2), "");
    EXPECT_EQ(Atual(3), "");
}

TEST_F(EtiquetaAtual, AUltimaEtiquetaEntregueSubstituiAAnterior) {
    Fila(2, "7891000000028", "CHA", "4", "3.5");
    Imprimir();
    EXPECT_EQ(Atual(2), "7891000000028|CHA|3.50|null|4|11");
    Executar("update MERCADORIAS set NOM_MER = 'CHA VERDE', VLR_VEN = 4 where COD_RED = 2");
    Executar("update ETIQUETAREAD set QUANTIDADE = 1, VLR_VEN = 4");
    Imprimir();
    EXPECT_EQ(Atual(2), "7891000000028|CHA VERDE|4.00|null|1|11");
    // A variant's label is journalled but does not stand for the goods item.
    Executar("update ETIQUETAREAD set NRO_LOTE = 'P', BARRAS = '789100000009'");
    Imprimir();
    EXPECT_EQ(Atual(2), "7891000000028|CHA VERDE|4.00|null|1|11");
    EXPECT_EQ(Texto("select ETQ_BARRAS from DIARIO_IMPRESSAO_ITEM where NRO_LOTE = 'P'"), "789100000009");
}

// Another database user prints: the table is granted to every user of the shop.
TEST_F(EtiquetaAtual, TabelaCriadaParaTodosOsUsuarios) {
    Fila(3, "7891000000035", "MATE", "1", "7");
    Imprimir();
    EXPECT_EQ(Texto("select count(*) from rdb$user_privileges where rdb$relation_name = 'ETIQUETA_ATUAL' and "
                    "rdb$user = 'PUBLIC' and rdb$privilege = 'U'"),
              "1");
}

}  // namespace
