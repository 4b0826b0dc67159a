// The ZPL host status answer: the faults read from it, and what is no answer.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "device/CdbDevice.h"
#include "etq/StatusZpl.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/RelogioManual.h"

using namespace std::chrono_literals;

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

// The question a ZPL print asks before its first job and after its last, on
// the port's clock (1 ms a reading): an answer ends it at once; a printer that
// says nothing, or not all three lines, holds it its whole deadline on that
// clock, and no longer, whatever the wall clock did meanwhile.
TEST(StatusZpl, PrazoDaPerguntaCorreNoRelogioDaPorta) {
    const std::string pronta = RespostaHS(false, false, false, false, false);
    struct Caso {
        const char* nome;
        std::vector<std::string> respostas;
        bool responde;
    } casos[] = {
        {"pronta", {pronta}, true},
        {"calada", {}, false},
        {"só a primeira linha", {pronta.substr(0, pronta.find('\x03') + 1)}, false},
    };
    for (const auto& c : casos) {
        TImpressoraTeste impressora({.respostasHS = c.respostas});
        ASSERT_TRUE(impressora.Ok());
        TCdbDevice d;
        d.SetPorta(impressora.Endereco());
        d.Ativar();
        TRelogioManual relogio(1ms);
        d.SetRelogio(&relogio);
        const auto status = ConsultarStatusZpl(d, 1000);
        const auto decorrido = relogio.Decorrido();
        d.SetRelogio(nullptr);
        d.Desativar();
        impressora.Parar();
        EXPECT_EQ(status.has_value(), c.responde) << c.nome;
        if (c.responde) {
            EXPECT_LT(decorrido, 1000ms) << c.nome;
        } else {
            EXPECT_GE(decorrido, 1000ms) << c.nome;
            EXPECT_LE(decorrido, 1003ms) << c.nome;
        }
        EXPECT_EQ(impressora.Recebido(), "~HS") << c.nome;
    }
}
