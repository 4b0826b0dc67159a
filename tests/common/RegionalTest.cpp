// Decimal separator and short date of the program's locale: the Brazilian
// forms when the machine has no regional choice, the locale's own otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Regional.h"
#include "suporte/Suporte.h"

namespace {

class Regional : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG", "LOCPATH"}) {
            const char* atual = std::getenv(v);
            guardadas_.emplace_back(v, atual ? std::optional<std::string>(atual) : std::nullopt);
            unsetenv(v);
        }
    }
    void TearDown() override {
        for (const auto& [v, valor] : guardadas_) {
            if (valor)
                setenv(v, valor->c_str(), 1);
            else
                unsetenv(v);
        }
    }
    // Builds a locale from the system's sources into a private folder; false
    // when this machine cannot (then the test skips).
    bool CompilarLocale(const std::string& nome, const std::string& fonte) {
        const std::string cmd = "localedef -i " + fonte + " -f UTF-8 " + pasta_ / nome + " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) return false;
        setenv("LOCPATH", pasta_.caminho.c_str(), 1);
        return true;
    }
    TPastaTemp pasta_{"etiq-locale"};
    std::vector<std::pair<const char*, std::optional<std::string>>> guardadas_;
};

TEST_F(Regional, SemEscolhaRegionalUsaVirgulaEDiaMesAno) {
    const TDateTime d = EncodeDate(2026, 3, 5);
    for (const char* nome : {"", "C", "POSIX", "C.UTF-8", "xx_XX.nao-existe"}) {
        if (*nome) setenv("LANG", nome, 1);
        EXPECT_EQ(SeparadorDecimal(), ',') << nome;
        EXPECT_EQ(DataCurta(d), "05/03/2026") << nome;
        EXPECT_EQ(FormataValor(Decimal::DeTexto("1234.5")), "1234,50") << nome;
    }
}

TEST_F(Regional, LocaleAmericanoUsaPontoEMesDiaAno) {
    if (!CompilarLocale("en_US.UTF-8", "en_US")) GTEST_SKIP() << "sem localedef/en_US nesta máquina";
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(SeparadorDecimal(), '.');
    EXPECT_EQ(DataCurta(EncodeDate(2026, 3, 5)), "03/05/2026");
    EXPECT_EQ(FormataValor(Decimal::DeTexto("0.5")), "0.50");
    // LC_ALL wins over LANG; LC_NUMERIC over LANG for the separator only.
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(SeparadorDecimal(), ',');
    unsetenv("LC_ALL");
    setenv("LANG", "C", 1);
    setenv("LC_NUMERIC", "en_US.UTF-8", 1);
    EXPECT_EQ(SeparadorDecimal(), '.');
    EXPECT_EQ(PadraoDataCurta(), "DD/MM/AAAA");
}

TEST_F(Regional, LocaleBrasileiro) {
    if (!CompilarLocale("pt_BR.UTF-8", "pt_BR")) GTEST_SKIP() << "sem localedef/pt_BR nesta máquina";
    setenv("LC_ALL", "pt_BR.UTF-8", 1);
    EXPECT_EQ(SeparadorDecimal(), ',');
    EXPECT_EQ(PadraoDataCurta(), "DD/MM/AAAA");
}

TEST_F(Regional, EstoqueComAsCasasQuePrecisa) {
    EXPECT_EQ(FormataNumero(Decimal::DeTexto("5.000")), "5");
    EXPECT_EQ(FormataNumero(Decimal::DeTexto("3.500")), "3,5");
    EXPECT_EQ(FormataNumero(Decimal::DeTexto("-0.250")), "-0,25");
    EXPECT_EQ(FormataNumero(Decimal::DeTexto("0.000")), "0");
}

}  // namespace
