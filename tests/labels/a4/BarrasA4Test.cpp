#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "labels/a4/BarrasA4.h"

namespace {

struct TCasoCodabar {
    const char* valor;
    const char* esperado;
};

class ValorCodabarTest : public ::testing::TestWithParam<TCasoCodabar> {};

TEST_P(ValorCodabarTest, PoeAEmVoltaQuandoFaltaInicioOuFim) {
    EXPECT_EQ(ValorCodabar(GetParam().valor), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Casos, ValorCodabarTest,
                         ::testing::Values(TCasoCodabar{"7891234567895", "A7891234567895A"},
                                           TCasoCodabar{"12345", "A12345A"}, TCasoCodabar{"B123D", "B123D"},
                                           TCasoCodabar{"c40-1a", "c40-1a"}, TCasoCodabar{"A123", "AA123A"},
                                           TCasoCodabar{"123B", "A123BA"}));

struct TCasoRazao {
    TTipoBarras tipo;
    double pedida, desenhada;
};

class RazaoDesenhadaTest : public ::testing::TestWithParam<TCasoRazao> {};

TEST_P(RazaoDesenhadaTest, DuasLargurasNuncaAbaixoDeDoisEMeio) {
    EXPECT_DOUBLE_EQ(RazaoDesenhada(GetParam().tipo, GetParam().pedida), GetParam().desenhada);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RazaoDesenhadaTest,
    ::testing::Values(TCasoRazao{TTipoBarras::Codabar, 1, 2.5}, TCasoRazao{TTipoBarras::Codabar, 2.25, 2.5},
                      TCasoRazao{TTipoBarras::Code39, 3, 3}, TCasoRazao{TTipoBarras::Intercalado2de5, 0, 2.5},
                      TCasoRazao{TTipoBarras::Matrix2de5, 4, 4}, TCasoRazao{TTipoBarras::Code93, 1, 1},
                      TCasoRazao{TTipoBarras::EAN13, 2.25, 1}));

// Widths of all bars and spaces of a symbol, rounded to 1/100 of a narrow bar.
std::set<double> Larguras(const TSimboloBarras& s) {
    std::set<double> r;
    for (size_t i = 0; i < s.barras.size(); ++i) {
        r.insert(std::round(s.barras[i].second * 100) / 100);
        if (i > 0)
            r.insert(std::round((s.barras[i].first - s.barras[i - 1].first - s.barras[i - 1].second) * 100) / 100);
    }
    return r;
}

struct TCasoLarguras {
    TTipoBarras tipo;
    const char* valor;
    double razao;
    std::set<double> larguras;
};

class LargurasTest : public ::testing::TestWithParam<TCasoLarguras> {};

TEST_P(LargurasTest, BarrasLargasNaRazaoDesenhada) {
    const auto& c = GetParam();
    const TSimboloBarras s = CodificaBarras(c.tipo, c.razao, c.valor);
    ASSERT_FALSE(s.Vazio());
    EXPECT_EQ(Larguras(s), c.larguras);
    EXPECT_NEAR(s.largura, s.barras.back().first + s.barras.back().second, 1e-9);
}

// Matrix 2 of 5 starts and stops with a bar of four modules at zint's 3:1,
// kept in proportion to the wide bar.
INSTANTIATE_TEST_SUITE_P(Casos, LargurasTest,
                         ::testing::Values(TCasoLarguras{TTipoBarras::Codabar, "7891234567895", 1, {1, 2.5}},
                                           TCasoLarguras{TTipoBarras::Codabar, "12345", 3, {1, 3}},
                                           TCasoLarguras{TTipoBarras::Code39, "ABC-123", 1, {1, 2.5}},
                                           TCasoLarguras{TTipoBarras::Code39, "ABC-123", 2.8, {1, 2.8}},
                                           TCasoLarguras{TTipoBarras::Intercalado2de5, "78912345678950", 2, {1, 2.5}},
                                           TCasoLarguras{TTipoBarras::Matrix2de5, "7891234567895", 1, {1, 2.5, 3.33}},
                                           TCasoLarguras{TTipoBarras::Code93, "7891234567895", 1, {1, 2, 3, 4}},
                                           TCasoLarguras{TTipoBarras::EAN13, "7891234567895", 2.25, {1, 2, 3, 4}}));

TEST(CodificaBarrasTest, Ean13TemNoventaECincoModulos) {
    EXPECT_DOUBLE_EQ(CodificaBarras(TTipoBarras::EAN13, 1, "7891234567895").largura, 95);
}

struct TCasoInvalido {
    TTipoBarras tipo;
    const char* valor;
};

class ValorInvalidoTest : public ::testing::TestWithParam<TCasoInvalido> {};

TEST_P(ValorInvalidoTest, DaSimboloVazio) { EXPECT_TRUE(CodificaBarras(GetParam().tipo, 1, GetParam().valor).Vazio()); }

INSTANTIATE_TEST_SUITE_P(Casos, ValorInvalidoTest,
                         ::testing::Values(TCasoInvalido{TTipoBarras::Intercalado2de5, "12A45"},
                                           TCasoInvalido{TTipoBarras::Matrix2de5, "ABC"},
                                           TCasoInvalido{TTipoBarras::Codabar, "12X45"},
                                           TCasoInvalido{TTipoBarras::Code39, "a\xc3\xa7\xc3\xa3o"},
                                           TCasoInvalido{TTipoBarras::EAN13, "7891234567890"},  // wrong check digit
                                           TCasoInvalido{TTipoBarras::EAN13, "789123456789"},   // no digit added
                                           TCasoInvalido{TTipoBarras::EAN13, "12345"},
                                           TCasoInvalido{TTipoBarras::Code93, ""}));

}  // namespace
