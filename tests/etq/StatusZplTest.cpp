// The ZPL host status answer: the faults read from it, and what is no answer.
#include <gtest/gtest.h>

#include "etq/StatusZpl.h"
#include "suporte/ImpressoraTeste.h"

TEST(StatusZpl, CadaFalhaComSeuTexto) {
    struct Caso {
        std::string resposta;
        const char* falha;
    } casos[] = {
        {RespostaHS(false, false, false, false, false), ""},
        {RespostaHS(true, false, false, false, false), "Impressora sem papel"},
        {RespostaHS(false, true, false, false, false), "Impressora em pausa"},
        {RespostaHS(false, false, true, false, false), "Memória de recepção da impressora cheia"},
        {RespostaHS(false, false, false, true, false), "Cabeça de impressão aberta"},
        {RespostaHS(false, false, false, false, true), "Impressora sem ribbon"},
        {RespostaHS(true, false, false, true, false), "Impressora sem papel; Cabeça de impressão aberta"},
        // Bytes around the answer (an echo, a previous status) do not matter.
        {"lixo\r\n" + RespostaHS(true, false, false, false, false) + "\x06", "Impressora sem papel"},
    };
    for (const auto& c : casos) {
        const auto s = InterpretarStatusHS(c.resposta);
        ASSERT_TRUE(s.has_value()) << c.falha;
        EXPECT_EQ(s->Falha(), c.falha);
    }
}

TEST(StatusZpl, RespostaQueNaoSeEntendeEhFaltaDeResposta) {
    const std::string boa = RespostaHS(true, false, false, false, false);
    const std::string casos[] = {
        "",
        "~HS",
        boa.substr(0, boa.find('\x03') + 1),  // the first line only
        "\x02"
        "030,1,0,1245\x03\r\n\x02"
        "000,0,0,0,1,2,6,0,00000000,1,000\x03",  // fields missing
        "\x02"
        "030,2,0,1245,000,0,0,0,000,0,0,0\x03\x02"
        "000,0,0,0,1,2,6,0,00000000,1,000\x03",  // flag 2
        "\x02"
        "030,1,0,1245,000,0,0,0,000,0,0,0\x03\x02"
        "000,0,0,0,1,2,6,0,00000000,1,000",  // no end
    };
    for (const auto& c : casos) EXPECT_FALSE(InterpretarStatusHS(c).has_value()) << c;
}
