// The field helpers of the layouts: the label vocabulary, unit abbreviations,
// label counts and character cuts. No database: goods come from memory.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "suporte/Suporte.h"

namespace {

class Auxiliares : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        DefinirDiretorioSistema(pasta_.caminho.string());
        dtm = std::make_unique<TdtmAplicativo>();
        imp = std::make_unique<TImpressaoEtiquetas>(*dtm);
        auto busca = std::make_unique<TBuscaMercadoriasMemoria>();
        TMercadoria& m = busca->linhas["7"];
        m.COD_RED = 7;
        m.COD_BAR = "7891234567895";
        m.NOM_MER = "Café Torrado";
        m.APE_CUP = "CAFE";
        m.APLICACAO = "cozinha";
        m.REF_MER = "R-7";
        m.LOC_MER = "A1";
        m.UNI_MER = "PACOT";
        m.CUSTO_OPE = Decimal::DeTexto("3.456");
        m.VLR_COM = Decimal::DeTexto("4.1");
        m.VLR_VEN = Decimal::DeTexto("1234.5");
        m.VLR_VEN_2 = Decimal::DeTexto("9.995");
        m.VLR_CUS = Decimal::DeTexto("2");
        m.QTD_EST = Decimal::DeTexto("3.500");
        m.VALORLETRAS = "AB";
        m.GARANTIA = 90;
        imp->BuscaMercadorias = std::move(busca);
    }
    void TearDown() override {
        imp.reset();
        dtm.reset();
        DefinirDiretorioSistema("");
        unsetenv("LC_ALL");
    }
    TPastaTemp pasta_;
    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TImpressaoEtiquetas> imp;
};

TEST_F(Auxiliares, VocabularioDoFormato) {
    ASSERT_TRUE(imp->BuscarMercadoria("7"));
    imp->edtParametro = "texto livre";
    const std::pair<const char*, const char*> casos[] = {
        {"CODIGO REDUZIDO", "7"},
        {"CODIGO DE BARRAS TEXTO", "7891234567895"},
        {"NOME", "Café Torrado"},
        {"APELIDO CUPOM", "CAFE"},
        {"APLICACAO", "cozinha"},
        {"REFERENCIA", "R-7"},
        {"LOCALIZACAO", "A1"},
        {"UNIDADE", "PACOT"},
        {"VALOR DE COMPRA", "3,46"},
        {"COMPRA+ENCARGO", "4,10"},
        {"VALOR DE VENDA", "1234,50"},
        {"VALOR DE VENDA2", "10,00"},
        {"VALOR DE VENDA3", "0,00"},
        {"VALOR DE CUSTO", "2,00"},
        {"ESTOQUE", "3,5"},
        {"VALOR LETRAS", "AB"},
        {"GARANTIA", "90"},
        {"TEXTO PARAMETRO", "texto livre"},
        {"nome", ""},
        {"PRECO", ""},
    };
    for (auto [campo, esperado] : casos) EXPECT_EQ(imp->Load_Valor_do_campo(campo), esperado) << campo;
    EXPECT_FALSE(imp->BuscarMercadoria("8"));
    EXPECT_EQ(imp->Mercadoria().COD_RED, 7);  // a failed look-up keeps the last row
}

TEST(TrocaUnidade, AbreviaPelasCincoPrimeirasLetras) {
    const std::pair<const char*, const char*> casos[] = {
        {"litro", "LT"},
        {"Pacote", "PCT"},
        {"UN", "UN"},
        {"", ""},
        {"KG", "KG"},
        {"QUILOGRAMA", "QUILO"},
        {"LATA", "LT"},
        {"LATAS", "LATAS"},
        {"UNIDADE", "UNIDA"},
        {"UNID", "UN"},
        {"vidro", "VDR"},
        {"bomb", "BB"},
        // every word of the table, cut to its first five letters
        {"AMPOLA", "AMP"},
        {"BALDE", "BAL"},
        {"BANDEJA", "BJ"},
        {"BARRA", "BR"},
        {"BISNAGA", "BSG"},
        {"BLOCO", "BL"},
        {"BOBINA", "BBN"},
        {"DUZIA", "DZ"},
        {"EMBALAGEM", "EM"},
        {"FARDO", "FD"},
        {"FOLHA", "FL"},
        {"FRASCO", "FR"},
        {"GALAO", "GL"},
        {"GRAMA", "GR"},
        {"JOGO", "JG"},
        {"MILHEIRO", "MIL"},
        {"PALETE", "PLT"},
        {"PARES", "PAR"},
        {"POTE", "PT"},
        {"ROLO", "RL"},
        {"SACO", "SC"},
        {"SACOLA", "SCL"},
        {"TAMBOR", "TB"},
        {"TANQUE", "TQ"},
        {"VASILHAME", "VSL"},
        {"POTES", "POTES"},
        {"BOMBA", "BOMBA"},
    };
    for (auto [unidade, esperado] : casos) EXPECT_EQ(TImpressaoEtiquetas::troca_Unidade(unidade), esperado) << unidade;
}

TEST(ContagemEtiquetas, ArredondaAoParMaisProximo) {
    const std::pair<const char*, int64_t> casos[] = {
        {"2.5", 2}, {"3.5", 4}, {"0.4", 0}, {"0.5", 0}, {"0.501", 1}, {"1", 1}, {"7.499", 7}, {"-1.5", -2},
    };
    for (auto [q, n] : casos) EXPECT_EQ(ContagemEtiquetas(Decimal::DeTexto(q)), n) << q;
}

TEST(Trecho, CaracteresAteBContadosPorLetra) {
    EXPECT_EQ(Trecho("AÇÚCAR CRISTAL", 1, 3), "AÇÚ");
    EXPECT_EQ(Trecho("AÇÚCAR CRISTAL", 8, 30), "CRISTAL");
    EXPECT_EQ(Trecho("CURTO", 23, 44), "");
    EXPECT_EQ(Trecho("ABC", 1, 0), "");
    EXPECT_EQ(Comprimento("BONÉ"), 4u);
}

}  // namespace
