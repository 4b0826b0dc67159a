// Model 09: the label design of the format table, its rows per label row and
// pitch, free texts, vocabulary fields and the barcode type table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "FilaTeste.h"
#include "Ouro.h"
#include "common/UFuncoes.h"

namespace {

class Modelo09 : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        GravarConfig("MODELO PRINT", "09 - Modelo Pre Configurado dentro do Merkor ( PPLA )");
        Mercadoria(1, "7891234567895", "CAMISETA BASICA ALGODAO MANGA CURTA", "CB-01", "29.9");
        Mercadoria(2, "12345678", "MEIA", "M2", "5.5");
    }
    void Cabecalho(int porLinha, int passoMm) {
        Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, " + std::to_string(porLinha) + ", " +
                 std::to_string(passoMm) + ")");
    }
    void Campo(const std::string& nome, const std::string& titulo, int tamanho, int fonte, int v, int h,
               const std::string& aux4 = "") {
        Executar("insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, "
                 "AUX_4) values (13, '" + nome + "', '" + titulo + "', " + std::to_string(tamanho) + ", 'T', " +
                 std::to_string(fonte) + ", " + std::to_string(v) + ", " + std::to_string(h) + ", '" + aux4 + "')");
    }
    // The PPLA text record: font 2, multipliers 1, at (v, h).
    static std::string TextoPpla(int v, int h, const std::string& texto, int fonte = 2) {
        return "1" + std::to_string(fonte) + "11000" + ZerosEsquerda(v, 4) + ZerosEsquerda(h, 4) + texto + "\r";
    }
    std::vector<std::string> Saida09() { return Registros(Saida()); }
    static bool Tem(const std::vector<std::string>& r, const std::string& registro) {
        return std::find(r.begin(), r.end(), registro) != r.end();
    }
    static size_t Trabalhos(const std::vector<std::string>& r) { return std::count(r.begin(), r.end(), "E\r"); }
};

TEST_F(Modelo09, TresPorLinhaNoPassoDoCabecalhoMaisAddColuna) {
    GravarConfig("ADDCOLUNA", "5");
    Cabecalho(3, 36);
    Campo("NOME", "", 20, 2, 2, 1);
    Fila(1, "7891234567895", "A", "3", "29.9");
    Imprimir();
    const auto r = Saida09();
    for (int h : {15, 375, 735}) EXPECT_TRUE(Tem(r, TextoPpla(20, h, "CAMISETA BASICA ALGO"))) << h;
    EXPECT_EQ(Trabalhos(r), 1u);
}

TEST_F(Modelo09, TextosLivresCamposDoVocabularioEForaDele) {
    Cabecalho(1, 0);
    Campo("TEXTO LIVRE 1", "PROMOCAO", 30, 3, 1, 1);
    Campo("texto livre 2", "so hoje", 4, 1, 2, 1);        // upper-cased for the test, title cut to 4
    Campo("VALOR DE VENDA", "", 10, 4, 3, 1);
    Campo("nome", "", 10, 2, 4, 1);                        // outside the vocabulary: empty
    Campo("REFERENCIA", "", 0, 2, 5, 1);                   // size 0: empty
    Campo("TEXTO PARAMETRO", "", 30, 2, 6, 1);
    imp->edtParametro = "OFERTA";
    Fila(2, "12345678", "A", "1", "5.5");
    Imprimir();
    const auto r = Saida09();
    EXPECT_TRUE(Tem(r, TextoPpla(10, 10, "PROMOCAO", 3)));
    EXPECT_TRUE(Tem(r, TextoPpla(20, 10, "so h", 1)));
    EXPECT_TRUE(Tem(r, TextoPpla(30, 10, "5,50", 4)));
    EXPECT_TRUE(Tem(r, TextoPpla(40, 10, "")));
    EXPECT_TRUE(Tem(r, TextoPpla(50, 10, "")));
    EXPECT_TRUE(Tem(r, TextoPpla(60, 10, "OFERTA")));
    EXPECT_EQ(Trabalhos(r), 1u);
}

TEST_F(Modelo09, LinhasDeCampoLidasUmaVezNaOrdemDoAux2) {
    Cabecalho(1, 0);
    Campo("TEXTO LIVRE B", "EMBAIXO", 10, 2, 9, 1);
    Campo("TEXTO LIVRE A", "EM CIMA", 10, 2, 3, 1);
    Fila(2, "12345678", "A", "2", "5.5");
    Imprimir();
    const auto r = Saida09();
    const auto cima = std::find(r.begin(), r.end(), TextoPpla(30, 10, "EM CIMA"));
    const auto baixo = std::find(r.begin(), r.end(), TextoPpla(90, 10, "EMBAIXO"));
    ASSERT_NE(cima, r.end());
    ASSERT_NE(baixo, r.end());
    EXPECT_LT(cima, baixo);
    EXPECT_EQ(Trabalhos(r), 2u);
    EXPECT_EQ(imp->qryFormat.Texto(), "Select * from FormatMrg\nwhere cod_mrg=13 and Print_campo='T'\norder by Aux_2");
}

TEST_F(Modelo09, SemCabecalhoTudoNumaImagemEnviadaAoFim) {
    Campo("NOME", "", 4, 2, 2, 1);
    Fila(1, "7891234567895", "A", "2", "29.9");
    Fila(2, "12345678", "B", "1", "5.5");
    Imprimir();
    const auto r = Saida09();
    EXPECT_EQ(Trabalhos(r), 1u);
    EXPECT_EQ(std::count(r.begin(), r.end(), TextoPpla(20, 10, "CAMI")), 2);
    EXPECT_TRUE(Tem(r, TextoPpla(20, 10, "MEIA")));
}

TEST_F(Modelo09, SemLinhasDeCampoSoAsLinhasCompletasSaem) {
    Cabecalho(2, 40);
    Fila(1, "7891234567895", "A", "3", "29.9");
    Imprimir();
    EXPECT_EQ(Trabalhos(Saida09()), 1u);
    EXPECT_EQ(imp->EtiquetasEnviadas(), 2);
}

struct CasoBarras {
    const char* linguagem;
    const char* impressora;
    int codigo;      // 1: 13 digits, 2: 8 digits
    const char* aux4;
    const char* registro;  // start of the barcode record; "" when none is drawn
};

void PrintTo(const CasoBarras& c, std::ostream* os) {
    *os << c.linguagem << " " << c.impressora << " " << (c.codigo == 1 ? "13" : "8") << " digitos, AUX_4 " << c.aux4;
}

class Modelo09Barras : public Modelo09, public ::testing::WithParamInterface<CasoBarras> {};

TEST_P(Modelo09Barras, TipoEDigitosPelaTabela) {
    const CasoBarras& c = GetParam();
    GravarConfig({{"MODELO", c.linguagem}, {"MODELO IMPRESSORA", c.impressora}});
    Cabecalho(1, 0);
    Campo("NOME", "", 4, 2, 2, 1);
    Campo("CODIGO DE BARRAS", "", 10, 0, 5, 2, c.aux4);
    Fila(c.codigo, "", "A", "1", "1");
    Imprimir();
    const std::string s = Saida();
    const std::string codigo = c.codigo == 1 ? "7891234567895" : "12345678";
    if (std::string(c.registro).empty()) {
        EXPECT_EQ(s.find(codigo), std::string::npos) << Legivel(s);
        EXPECT_NE(s.find("CAMI"), std::string::npos);
    } else {
        EXPECT_NE(s.find(c.registro + codigo), std::string::npos) << Legivel(s);
    }
    EXPECT_EQ(imp->lblParametro, c.aux4);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Modelo09Barras,
    ::testing::Values(
        // PPLA: bars 2/2, height 10 × 4, at vertical 50, horizontal 20.
        CasoBarras{"PPLA", "ARGOX", 1, "A", "1F2204000500020"}, CasoBarras{"PPLA", "ARGOX", 1, "D", "1F2204000500020"},
        CasoBarras{"PPLA", "ELGIN", 1, "X", "1f2204000500020"},
        CasoBarras{"PPLA", "ELGIN", 2, "A", "1A2204000500020"}, CasoBarras{"PPLA", "ARGOX", 2, "A", "1E2204000500020"},
        CasoBarras{"PPLA", "ELGIN", 2, "T", "1T2204000500020"}, CasoBarras{"PPLA", "ARGOX", 2, "T", "1E2204000500020"},
        CasoBarras{"PPLA", "ELGIN", 2, "c", "1c2204000500020"}, CasoBarras{"PPLA", "ARGOX", 2, "c", "1e2204000500020"},
        // PPLB goes out as EPL2: EAN-13 "E30" or Code 128 "1", digits by AUX_4.
        CasoBarras{"PPLB", "ARGOX", 1, "A", ",0,E30,2,2,32,B,\""},
        CasoBarras{"PPLB", "ARGOX", 2, "X", ",0,1,2,2,32,N,\""},
        // ZPL prints the texts and no barcode.
        CasoBarras{"ZPL", "ELGIN", 1, "A", ""}),
    [](const ::testing::TestParamInfo<CasoBarras>& i) {
        const CasoBarras& c = i.param;
        return std::string(c.linguagem) + "_" + c.impressora + "_" + (c.codigo == 1 ? "13" : "8") + "_" +
               (std::isupper(static_cast<unsigned char>(c.aux4[0])) ? "" : "min") + c.aux4;
    });

}  // namespace
