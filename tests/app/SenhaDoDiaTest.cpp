#include <gtest/gtest.h>

#include "AuxiliarTeste.h"
#include "app/SenhaDoDia.h"

namespace {

struct CasoSenha {
    int ano, mes, dia;
    std::string senha;
};

void PrintTo(const CasoSenha& c, std::ostream* os) { *os << c.dia << "/" << c.mes << "/" << c.ano; }

class SenhaDoDiaTest : public ::testing::TestWithParam<CasoSenha> {};

TEST_P(SenhaDoDiaTest, DezDigitosDaData) {
    const auto& c = GetParam();
    EXPECT_EQ(SenhaDoDia(EncodeDate(c.ano, c.mes, c.dia)), c.senha);
    // The whole day has one password.
    EXPECT_EQ(SenhaDoDia(EncodeDateTime(c.ano, c.mes, c.dia, 23, 59, 59)), c.senha);
}

INSTANTIATE_TEST_SUITE_P(Datas, SenhaDoDiaTest,
                         ::testing::Values(CasoSenha{2026, 3, 5, "0508033426"}, CasoSenha{2000, 1, 1, "0102010200"},
                                           CasoSenha{2026, 10, 20, "2030105626"},
                                           // 31+12+99 = 142: only its last two digits count
                                           CasoSenha{1999, 12, 31, "3143124299"},
                                           CasoSenha{2099, 12, 31, "3143124299"}));

class PortaoTest : public ::testing::Test {
protected:
    TInterfaceTeste iu;
    const TDateTime hoje = EncodeDateTime(2026, 3, 5, 23, 59, 0);
    std::vector<std::pair<std::string, std::string>> pedidos;
    TPedeTexto Responde(std::string resposta) {
        return [this, resposta](const std::string& titulo, const std::string& prompt) {
            pedidos.emplace_back(titulo, prompt);
            return resposta;
        };
    }
};

TEST_F(PortaoTest, SenhaCertaAbreComOPromptDoDia) {
    EXPECT_TRUE(LiberaConfiguracao("CAIXA01", hoje, Responde("0508033426")));
    ASSERT_EQ(pedidos.size(), 1u);
    EXPECT_EQ(pedidos[0].first, "Senha do dia");
    EXPECT_EQ(pedidos[0].second, "Informe a senha do dia: 05/03/26");
    EXPECT_TRUE(iu.mensagens.empty());
}

TEST_F(PortaoTest, RespostaDiferenteEhRecusada) {
    for (const std::string resposta : {"0508033426 ", " 0508033426", "050803342", "", "3143124299"}) {
        SCOPED_TRACE("'" + resposta + "'");
        iu.mensagens.clear();
        EXPECT_FALSE(LiberaConfiguracao("CAIXA01", hoje, Responde(resposta)));
        EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Senha não confere"});
    }
}

TEST_F(PortaoTest, EstacaoDeDesenvolvimentoNaoPedeSenha) {
    std::string minusculas = kEstacaoDesenvolvimento;
    for (char& ch : minusculas) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(LiberaConfiguracao(minusculas, hoje, Responde("")));
    EXPECT_TRUE(pedidos.empty());
}

TEST_F(PortaoTest, NenhumComputadorRealEhAEstacaoDeDesenvolvimento) {
    // Whatever this machine is called, it is asked for the password.
    EXPECT_FALSE(LiberaConfiguracao(NomeComputador(), hoje, Responde("")));
    EXPECT_EQ(pedidos.size(), 1u);
}

}  // namespace
