#include <gtest/gtest.h>

#include "common/Decimal.h"
#include "common/Excecoes.h"

TEST(Decimal, TextoIdaEVoltaSemErroBinario) {
    struct Caso {
        const char* entrada;
        const char* saida;
    };
    const Caso casos[] = {
        {"12.5", "12.5"},     {"12,5", "12.5"}, {"-0.125", "-0.125"},
        {"7", "7"},           {"0.1", "0.1"},   {"999999999999999.999", "999999999999999.999"},
        {" 3.000 ", "3.000"},
    };
    for (const auto& c : casos) EXPECT_EQ(Decimal::DeTexto(c.entrada).ParaTexto(), c.saida) << c.entrada;
}

TEST(Decimal, TextoCurtoSoComAsCasasQueOValorPrecisa) {
    struct Caso {
        const char* entrada;
        const char* saida;
    };
    const Caso casos[] = {
        {"12.500", "12.5"}, {"3.000", "3"}, {"-0.250", "-0.25"},   {"0.000", "0"},
        {"7", "7"},         {"100", "100"}, {"-10.010", "-10.01"},
    };
    for (const auto& c : casos) EXPECT_EQ(Decimal::DeTexto(c.entrada).ParaTextoCurto(), c.saida) << c.entrada;
}

TEST(Decimal, FormatarArredondaMetadeParaLongeDoZero) {
    EXPECT_EQ(Decimal::DeTexto("12.345").Formatar(2), "12,35");
    EXPECT_EQ(Decimal::DeTexto("-12.345").Formatar(2, '.'), "-12.35");
    EXPECT_EQ(Decimal::DeTexto("0.004").Formatar(2), "0,00");
    EXPECT_EQ(Decimal(5).Formatar(2), "5,00");
}

TEST(Decimal, ComparaESomaEmEscalasDiferentes) {
    EXPECT_EQ(Decimal::DeTexto("1.50"), Decimal::DeTexto("1.5"));
    EXPECT_LT(Decimal::DeTexto("0.999"), Decimal(1));
    EXPECT_EQ((Decimal::DeTexto("0.1") + Decimal::DeTexto("0.2")).ParaTexto(), "0.3");
    EXPECT_EQ(Decimal::DeTexto("-2.7").ParteInteira(), -2);
}

TEST(Decimal, TextoInvalidoLevantaErroDeConversao) {
    for (const char* t : {"", "abc", "1.2.3", "-", "12a"}) EXPECT_THROW(Decimal::DeTexto(t), EConvertError) << t;
}

// Values near the 64-bit limit: a scale that does not fit is an error, never a
// wrapped number (the fuzzer's first find: Formatar(2) of 18 nines).
TEST(Decimal, ForaDoLimiteEhErroNuncaNumeroTrocado) {
    const Decimal grande = Decimal::DeTexto("999999999999999999");
    EXPECT_THROW(grande.Formatar(2), EConvertError);
    EXPECT_THROW(grande + Decimal::DeTexto("0.5"), EConvertError);
    EXPECT_THROW(Decimal::DeTexto("9223372036854775807") + Decimal(1), EConvertError);
    EXPECT_THROW(Decimal::DeTexto("0.0000000000000000001"), EConvertError);  // 19 places
    EXPECT_EQ(Decimal::DeTexto("0.000000000000000001").ParaTexto(), "0.000000000000000001");
    EXPECT_NE(grande, Decimal::DeTexto("0.5"));
    EXPECT_LT(Decimal::DeTexto("0.5"), grande);
    EXPECT_LT(Decimal::DeTexto("-999999999999999999"), Decimal::DeTexto("-0.5"));
}
