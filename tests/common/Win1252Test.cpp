#include <gtest/gtest.h>

#include "common/Win1252.h"

TEST(Win1252, TodosOs256BytesSobrevivemIdaEVolta) {
    std::string todos;
    for (int b = 0; b < 256; ++b) todos.push_back(static_cast<char>(b));
    EXPECT_EQ(Win1252::DeUtf8(Win1252::ParaUtf8(todos)), todos);
}

TEST(Win1252, LetrasAcentuadasESimbolosDoBloco80) {
    struct Caso {
        const char* utf8;
        const char* bytes;
    };
    const Caso casos[] = {
        {"Ação", "A\xE7\xE3o"},
        {"€ 10", "\x80 10"},
        {"“aspas”",
         "\x93"
         "aspas\x94"},
        {"Nº", "N\xBA"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Win1252::DeUtf8(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(Win1252::ParaUtf8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(Win1252, ForaDaPaginaViraSubstitutoEUtf8QuebradoNaoTrava) {
    EXPECT_EQ(Win1252::DeUtf8("a\xE2\x86\x92z", ' '), "a z");  // arrow
    EXPECT_EQ(Win1252::DeUtf8("a\xC3", '?'), "a?");            // cut sequence
    EXPECT_EQ(Win1252::DeUtf8("\xF0\x9F\x98\x80", ' '), " ");  // emoji
}

TEST(Utf8, MaiusculasEMinusculasComAcentos) {
    EXPECT_EQ(Utf8::Maiusculas("ação é ÿ"), "AÇÃO É Ÿ");
    EXPECT_EQ(Utf8::Minusculas("AÇÃO É"), "ação é");
}
