#include <gtest/gtest.h>

#include "common/Excecoes.h"
#include "common/TextoRecusado.h"
#include "common/UFuncoes.h"

TEST(FormataData, CadaPadraoDaTabela) {
    const TDateTime d = EncodeDateTime(2026, 3, 5, 7, 8, 9);
    struct Caso {
        const char* padrao;
        const char* esperado;
    };
    const Caso casos[] = {
        {"HHMMSS", "070809"},
        {"HH:MM:SS", "07:08:09"},
        {"HH:MM", "07:08"},
        {"HHMM", "0708"},
        {"MM:SS", "08:09"},
        {"AAAAMMDD", "20260305"},
        {"DDMMAAAA", "05032026"},
        {"DDMM", "0503"},
        {"AAMM", "2603"},
        {"AAAAMM", "202603"},
        {"AAAA", "2026"},
        {"MMDD", "0305"},
        {"DDMMAA", "050326"},
        {"MMAAAA", "032026"},
        {"DD/MM/AAAA", "05/03/2026"},
        {"DD-MM-AAAA", "05-03-2026"},
        {"DD/MM/AA", "05/03/26"},
        {"MM/DD/AAAA", "03/05/2026"},
        {"AAAA-MM-DD", "2026-03-05"},
        {"AAAA-DD-MM", "2026-05-03"},
        {"dd/mm/aaaa", "05/03/2026"},  // small letters are the same token
        {"DD.MM.AAAA", ""},            // no token
    };
    for (const auto& c : casos) EXPECT_EQ(FormataData(c.padrao, d), c.esperado) << c.padrao;
}

TEST(FormataData, MeiaNoiteEMeioDiaSemErroDeArredondamento) {
    EXPECT_EQ(FormataData("HH:MM:SS", EncodeDateTime(2026, 1, 1, 12, 0, 0)), "12:00:00");
    EXPECT_EQ(FormataData("HH:MM:SS", EncodeDateTime(2026, 1, 1, 23, 59, 59)), "23:59:59");
    EXPECT_EQ(FormataData("DD/MM/AAAA", EncodeDate(1899, 12, 30)), "30/12/1899");
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);  // the count Windows programs store
}

TEST(Comprimento, ContaCaracteresNaoBytes) {
    EXPECT_EQ(Comprimento(""), 0u);
    EXPECT_EQ(Comprimento("BONÉ"), 4u);
    EXPECT_EQ(Comprimento("\xff"
                          "A"),
              2u);  // a malformed byte is one character, as Esquerda takes it
    EXPECT_EQ(Comprimento(Esquerda("AÇÚCAR", 3)), 3u);
}

TEST(ZerosEsquerda, CortaPelaDireita) {
    EXPECT_EQ(ZerosEsquerda(7, 2), "07");
    EXPECT_EQ(ZerosEsquerda(2026, 2), "26");
    EXPECT_EQ(ZerosEsquerda(-5, 2), "-5");
    EXPECT_EQ(ZerosEsquerda(123, 2), "23");
    EXPECT_EQ(ZerosEsquerda(5, 4), "0005");
}

TEST(ParteData, PalavraDecideAParte) {
    const TDateTime d = EncodeDate(2026, 3, 5);
    EXPECT_EQ(ParteData("Dia", d), 5);
    EXPECT_EQ(ParteData("mes", d), 3);
    EXPECT_EQ(ParteData("ANO", d), 2026);
    EXPECT_EQ(ParteData("qualquer", d), 5);
}

TEST(DataAmericana, DataLocalParaMesDiaAno) {
    EXPECT_EQ(DataAmericana("05/03/2026"), "03/05/2026");
    EXPECT_EQ(DataAmericana("5/3/2026"), "03/05/2026");
    EXPECT_EQ(DataAmericana("29/02/2024"), "02/29/2024");
    for (const char* ruim : {"", "abc", "31/02/2026", "2026-03-05", "05/13/2026", "05/03"})
        EXPECT_THROW(DataAmericana(ruim), EConvertError) << ruim;
}

TEST(Numeros, ParteInteiraArredondaDivide) {
    EXPECT_EQ(ParteInteira(7.9), 7);
    EXPECT_EQ(ParteInteira(-7.9), -7);
    EXPECT_THROW(ParteInteira(1e300), EConvertError);
    EXPECT_DOUBLE_EQ(ArredondaDecimais(2, 0.125), 0.12);
    EXPECT_DOUBLE_EQ(ArredondaDecimais(2, 0.375), 0.38);
    EXPECT_DOUBLE_EQ(ArredondaDecimais(0, 2.5), 2.0);
    EXPECT_EQ(DivideSeguro(0, 5), 0);
    EXPECT_EQ(DivideSeguro(5, 0), 0);
    EXPECT_DOUBLE_EQ(DivideSeguro(5, 2), 2.5);
}

TEST(ConstaNaLista, AllCasaComTudoEPrimeiroCasamentoVence) {
    const std::vector<std::string> lista = {"x", "ALL"};
    EXPECT_TRUE(ConstaNaLista(lista, "qualquer"));
    EXPECT_EQ(IndiceNaLista(lista, "x"), 0);
    EXPECT_EQ(IndiceNaLista(lista, "Fornecedores"), 1);
    EXPECT_EQ(IndiceNaLista({"Aliquotas", "Departamentos"}, "DEPARTAMENTOS"), 1);
    EXPECT_EQ(IndiceNaLista({"Aliquotas"}, "Fornecedores"), -1);
    EXPECT_TRUE(ConstaNaLista({"all"}, "Mercadorias"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ConstaNaLista(lista, "x", "Texto")));
}

TEST(Textos, TrocaSoNumerosInverte) {
    EXPECT_EQ(TrocaCaractere("12,5", ",", "."), "12.5");
    EXPECT_EQ(TrocaCaractere("O'NEIL", "'", " "), "O NEIL");
    EXPECT_EQ(TrocaCaractere("a-b-c", "-", ""), "abc");
    EXPECT_EQ(TrocaCaractere("ação", "ç", "c"), "acão");
    EXPECT_EQ(TrocaCaractere("abc", "", "x"), "abc");
    EXPECT_EQ(SoNumeros("-12a3"), "123");
    EXPECT_EQ(SoNumeros("789.123-4"), "7891234");
    EXPECT_EQ(InverteTexto("Ação"), "oãçA");
}

TEST(Textos, LiteralSQLDobraAsAspas) {
    EXPECT_EQ(AspasSql("789"), "'789'");
    EXPECT_EQ(AspasSql("O'NEIL"), "'O''NEIL'");
    EXPECT_EQ(AspasSql("' or 1=1 --"), "''' or 1=1 --'");
    EXPECT_EQ(AspasSql(""), "''");
}

TEST(Textos, EsquerdaContaCaracteresNaoBytes) {
    EXPECT_EQ(Esquerda("CAMISA AZUL", 6), "CAMISA");
    EXPECT_EQ(Esquerda("AÇÚCAR", 3), "AÇÚ");  // never cut inside a letter
    EXPECT_EQ(Esquerda("PÃO", 80), "PÃO");
    EXPECT_EQ(Esquerda("abc", 0), "");
    EXPECT_EQ(Esquerda("a\xff"
                       "b",
                       2),
              "a\xff");  // a stray byte is one character
}

TEST(Textos, NumeroSQLSemExpoenteEComPonto) {
    EXPECT_EQ(NumeroSQL(12.5), "12.5");
    EXPECT_EQ(NumeroSQL(3.0), "3");
    EXPECT_EQ(NumeroSQL(0.1), "0.1");
    EXPECT_EQ(NumeroSQL(-1234567.125), "-1234567.125");
    EXPECT_EQ(NumeroSQL(1e20), "100000000000000000000");
    EXPECT_THROW(NumeroSQL(std::numeric_limits<double>::infinity()), EConvertError);
}

TEST(Caminhos, BarraFinalEDiretorioSistema) {
    EXPECT_EQ(BarraFinal("/opt/etq"), "/opt/etq/");
    EXPECT_EQ(BarraFinal("/opt/etq/"), "/opt/etq/");
    EXPECT_EQ(BarraFinal(""), "/");
    const std::string dir = DiretorioSistema();
    EXPECT_EQ(dir.back(), '/');
    DefinirDiretorioSistema("/tmp/outro");
    EXPECT_EQ(DiretorioSistema(), "/tmp/outro/");
    DefinirDiretorioSistema("");
    EXPECT_EQ(DiretorioSistema(), dir);
}

TEST(Classes, ComboEMemo) {
    EXPECT_TRUE(EhComboBox("TDBLookupComboBox"));
    EXPECT_TRUE(EhComboBox("tcombobox"));
    EXPECT_FALSE(EhComboBox("TEdit"));
    EXPECT_TRUE(EhMemo("TMemo"));
    EXPECT_FALSE(EhMemo("TRichEdit"));
}

TEST(StrToInt, InteirosEMensagemDeConversao) {
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt("-3"), -3);
    EXPECT_EQ(StrToInt(" 7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* ruim : {"", "abc", "1.5", "12 ", "2147483648", "-"}) {
        try {
            StrToInt(ruim);
            ADD_FAILURE() << ruim;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(ruim) + "' não é um valor inteiro válido");
        }
    }
}

TEST(NomeComputador, NoMaximoQuinzeCaracteres) {
    EXPECT_LE(NomeComputador().size(), 15u);
    EXPECT_FALSE(NomeComputador().empty());
}

// A refusal quotes what it refuses, but a pasted page only by its beginning.
TEST(Citacao, CurtoInteiroLongoPeloComeco) {
    EXPECT_EQ(Citacao("2.5"), "\"2.5\"");
    EXPECT_EQ(Citacao(""), "\"\"");
    EXPECT_EQ(Citacao(std::string(40, 'x')), "\"" + std::string(40, 'x') + "\"");
    EXPECT_EQ(Citacao(std::string(41, 'x')), "\"" + std::string(40, 'x') + "…\" (41 caracteres)");
    // Counted in characters: an accented letter is never cut in half.
    EXPECT_EQ(Citacao("ççç", 2), "\"çç…\" (3 caracteres)");
    EXPECT_EQ(Citacao(std::string(100 << 20, 'y')), "\"" + std::string(40, 'y') + "…\" (104857600 caracteres)");
}
