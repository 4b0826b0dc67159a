#include <gtest/gtest.h>

#include "etq/CdbETQ.h"

TEST(TiraAcentos, LetrasDe192a255ViramLetrasSimples) {
    std::string latin;
    for (int c = 192; c <= 255; ++c) latin.push_back(static_cast<char>(c));
    EXPECT_EQ(TiraAcentos(latin), "AAAAAAACEEEEIIIIDNOOOOOx0UUUUYbBaaaaaaaceeeeiiiionooooo/0uuuuyby");
}

TEST(TiraAcentos, ForaDeASCIIImprimivelViraBrancoMasBSLFECRFicam) {
    // tab, DEL, º (186) and ª (170) become blanks; BS, LF and CR stay: the
    // component blanks those itself before building a command.
    EXPECT_EQ(TiraAcentos("a\tb\x7F"
                          "c\xBA"
                          "d\xAA"
                          "e\x80"),
              "a b c d e ");
    EXPECT_EQ(TiraAcentos("x\by\nz\r!"), "x\by\nz\r!");
    EXPECT_EQ(TiraAcentos(std::string("\0\x1B", 2)), "  ");
}

TEST(SemCaracteresDeControle, TodoByteAbaixoDe32ViraBranco) {
    std::string todos;
    for (int c = 0; c < 32; ++c) todos.push_back(static_cast<char>(c));
    EXPECT_EQ(SemCaracteresDeControle(todos + "A\x7F\xE7"), std::string(32, ' ') + "A\x7F\xE7");
}

TEST(ConverterPaginaDeCodigo, LetrasVaoParaOCodigoDaPaginaDaImpressora) {
    struct Caso {
        TCdbETQPaginaCodigo pagina;
        const char* esperado;  // of "çãÑ-" in Windows-1252
    };
    const Caso casos[] = {
        {pce437, "\x87?\xA5-"},
        {pce850, "\x87\xC6\xA5-"},
        {pce852,
         "\x87?"
         "?-"},
        {pce860, "\x87\x84\xA5-"},
        {pce1250,
         "\xE7?"
         "?-"},
        {pce1252, "\xE7\xE3\xD1-"},
        {pceNone, "\xE7\xE3\xD1-"},
    };
    for (const auto& k : casos)
        EXPECT_EQ(ConverterPaginaDeCodigo("\xE7\xE3\xD1-", k.pagina), k.esperado) << NomeEnum(k.pagina);
}

TEST(NomeEnum, NomesDosValoresParaOLog) {
    EXPECT_STREQ(NomeEnum(etqZPLII), "etqZPLII");
    EXPECT_STREQ(NomeEnum(or270), "or270");
    EXPECT_STREQ(NomeEnum(becNAO), "becNAO");
    EXPECT_STREQ(NomeEnum(pce1250), "pce1250");
    EXPECT_STREQ(NomeEnum(mdeBlackMark), "mdeBlackMark");
    EXPECT_STREQ(NomeEnum(etqDecimoDeMilimetros), "etqDecimoDeMilimetros");
}
