// The golden-file comparison cannot pass by accident: a missing file fails,
// and under CI a request to rewrite the files is refused.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "Ouro.h"

namespace {

// Sets (or, with nullopt, removes) an environment variable for one scope.
class TVariavel {
public:
    TVariavel(const char* nome, std::optional<std::string> valor) : nome_(nome) {
        if (const char* v = std::getenv(nome)) antes_ = v;
        if (valor)
            ::setenv(nome, valor->c_str(), 1);
        else
            ::unsetenv(nome);
    }
    ~TVariavel() {
        if (antes_)
            ::setenv(nome_, antes_->c_str(), 1);
        else
            ::unsetenv(nome_);
    }
    TVariavel(const TVariavel&) = delete;
    TVariavel& operator=(const TVariavel&) = delete;

private:
    const char* nome_;
    std::optional<std::string> antes_;
};

struct CasoOuro {
    const char* nome;
    std::optional<std::string> ci, gravar;
    std::optional<std::string> arquivo;  // the golden file's content, nullopt: no file
    std::string obtido;
    bool passa;
    std::string mensagem;             // part of the failure message
    std::optional<std::string> fica;  // the file's content afterwards
};

class Ouro : public ::testing::TestWithParam<CasoOuro> {};

TEST_P(Ouro, ComparaSemGravarSobCI) {
    const CasoOuro& c = GetParam();
    const std::string pasta = CriarPastaTemp("etiq-ouro");
    if (c.arquivo) Gravar(pasta + "/caso.txt", *c.arquivo);
    TVariavel ci("CI", c.ci), gravar("ETIQ_GRAVAR_OURO", c.gravar);
    const ::testing::AssertionResult r = IgualAoOuroEm(pasta, "caso.txt", c.obtido);
    EXPECT_EQ(static_cast<bool>(r), c.passa) << r.message();
    EXPECT_NE(std::string(r.message()).find(c.mensagem), std::string::npos) << r.message();
    if (c.fica)
        EXPECT_EQ(LerTudo(pasta + "/caso.txt"), *c.fica);
    else
        EXPECT_FALSE(std::filesystem::exists(pasta + "/caso.txt"));
    std::filesystem::remove_all(pasta);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Ouro,
    ::testing::Values(CasoOuro{"Igual", std::nullopt, std::nullopt, "^XA^XZ", "^XA^XZ", true, "", "^XA^XZ"},
                      CasoOuro{"Diferente", std::nullopt, std::nullopt, "^XA\n^XZ", "^XA\n^FO1^XZ", false,
                               "registro 2 difere", "^XA\n^XZ"},
                      CasoOuro{"AusenteComSaidaVazia", std::nullopt, std::nullopt, std::nullopt, "", false,
                               "arquivo de ouro ausente", std::nullopt},
                      CasoOuro{"AusenteSobCI", "true", std::nullopt, std::nullopt, "^XA^XZ", false,
                               "arquivo de ouro ausente", std::nullopt},
                      CasoOuro{"VazioComSaida", std::nullopt, std::nullopt, "", "^XA^XZ", false,
                               "arquivo de ouro vazio", ""},
                      CasoOuro{"GravarForaDaCI", std::nullopt, "1", "velho", "novo", true, "", "novo"},
                      CasoOuro{"GravarForaDaCIComCIFalse", "false", "1", "velho", "novo", true, "", "novo"},
                      CasoOuro{"GravarSobCIRecusado", "true", "1", "velho", "novo", false,
                               "ETIQ_GRAVAR_OURO recusado sob CI", "velho"},
                      CasoOuro{"GravarSobCISemArquivo", "1", "1", std::nullopt, "novo", false,
                               "ETIQ_GRAVAR_OURO recusado sob CI", std::nullopt}),
    [](const auto& i) { return std::string(i.param.nome); });

}  // namespace
