#include <gtest/gtest.h>

#include "app/Parametros.h"

namespace {

struct CasoParametros {
    std::vector<std::string> argumentos;
    std::string acesso;
    std::string modelo;
};

void PrintTo(const CasoParametros& c, std::ostream* os) {
    if (c.argumentos.empty()) *os << "sem parametros";
    for (const auto& a : c.argumentos) *os << "'" << a << "' ";
}

class ParametrosTest : public ::testing::TestWithParam<CasoParametros> {};

TEST_P(ParametrosTest, LidosComoOProgramaOsUsa) {
    const auto& c = GetParam();
    const TParametrosPrograma p = LerParametrosPrograma(c.argumentos);
    EXPECT_EQ(p.ParamAcesso, c.acesso);
    EXPECT_EQ(p.ParamModelo, c.modelo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ParametrosTest,
    ::testing::Values(CasoParametros{{}, "", "0"}, CasoParametros{{"ACESSA_DIRETO", "12"}, "ACESSA_DIRETO", "012"},
                      CasoParametros{{"acessa_direto"}, "ACESSA_DIRETO", "0"}, CasoParametros{{"x", "abc"}, "X", "0"},
                      CasoParametros{{"x", "-5"}, "X", "05"}, CasoParametros{{"x", "m45b"}, "X", "045"}));

}  // namespace
