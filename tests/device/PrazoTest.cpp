// The deadlines of the waits on a printer, on a clock the test moves, and the
// count of the streams a failed printer may not have taken in.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "device/CdbDeviceClass.h"
#include "device/Relogio.h"
#include "suporte/RelogioManual.h"

using namespace std::chrono_literals;

namespace {

TEST(Prazo, FixoContaDoInicio) {
    TRelogioManual relogio;
    TPrazo prazo(relogio, 1000);
    EXPECT_EQ(prazo.RestanteMs(), 1000);
    relogio.Avancar(999ms);
    EXPECT_EQ(prazo.RestanteMs(), 1);
    EXPECT_FALSE(prazo.Esgotado());
    relogio.Avancar(1ms);
    EXPECT_TRUE(prazo.Esgotado());
    relogio.Avancar(5000ms);
    EXPECT_EQ(prazo.RestanteMs(), 0);
    prazo.Renovar();
    EXPECT_EQ(prazo.RestanteMs(), 1000);
}

// The wait for a printer to acknowledge a job: each step moves the clock,
// then shows the bytes not yet acknowledged; the time-out is 3000 ms.
TEST(Prazo, SemProgressoRecomecaACadaMudanca) {
    struct Passo {
        std::chrono::milliseconds depois;
        int pendente;
        bool esperando;
    };
    struct Caso {
        const char* nome;
        std::vector<Passo> passos;
    } casos[] = {
        {"parada desde o início", {{0ms, 500, true}, {2999ms, 500, true}, {1ms, 500, false}}},
        // A printer that reads a little every 2.9 s is waited for however long it takes.
        {"lenta mas andando",
         {{0ms, 9000, true},
          {2900ms, 8000, true},
          {2900ms, 7000, true},
          {2900ms, 6000, true},
          {2999ms, 6000, true},
          {1ms, 6000, false}}},
        // The value going back (a new stream queued) is movement too.
        {"volta a subir", {{0ms, 10, true}, {2999ms, 4000, true}, {2999ms, 4000, true}, {1ms, 4000, false}}},
        // A long pause between two looks at the socket: it ran out, whatever came later.
        {"olhada atrasada", {{0ms, 10, true}, {10000ms, 10, false}}},
    };
    for (const auto& c : casos) {
        TRelogioManual relogio;
        TPrazoSemProgresso prazo(relogio, 3000);
        for (size_t i = 0; i < c.passos.size(); ++i) {
            relogio.Avancar(c.passos[i].depois);
            EXPECT_EQ(prazo.Observar(c.passos[i].pendente), c.passos[i].esperando) << c.nome << ", passo " << i;
        }
    }
}

// Streams at the positions their ends give; what a failure at a position
// leaves unconfirmed.
TEST(EntregasRecentes, OsUltimosDepoisDoPontoSeguroNuncaMenosQueUm) {
    struct Caso {
        std::vector<int64_t> tamanhos;
        int64_t seguroAte;
        int incertos;
    } casos[] = {
        {{}, 0, 0},                           // nothing delivered: nothing to doubt
        {{1000, 1000, 1000}, 3000, 1},        // all taken in: still the last one
        {{1000, 1000, 1000}, 2000, 1},        // the last ends past the point
        {{1000, 1000, 1000}, 1999, 2},        // the second one too, by a byte
        {{1000, 1000, 1000}, 0, 3},           // the buffer may hold them all
        {{1000, 1000, 1000}, -64 * 1024, 3},  // a window larger than what went
        {{300, 5000, 200, 200}, 5400, 2},
    };
    for (const auto& c : casos) {
        TEntregasRecentes e;
        for (int64_t t : c.tamanhos) {
            e.Avancar(t);
            e.Entregue();
        }
        EXPECT_EQ(e.Incertos(c.seguroAte), c.incertos) << c.seguroAte;
        EXPECT_FALSE(e.Falhado());
        e.Falhou(c.seguroAte);
        EXPECT_TRUE(e.Falhado());
        // The count stays what it was at the failure.
        EXPECT_EQ(e.NaoConfirmados(), c.incertos);
    }
}

TEST(EntregasRecentes, PerguntaNoMeioDosTrabalhosNaoContaComoTrabalho) {
    TEntregasRecentes e;
    e.Avancar(1000);
    e.Entregue();
    e.Avancar(3);  // "~HS"
    e.Avancar(1000);
    e.Entregue();
    // The question's bytes lie between the two jobs, which end at 1000 and 2003.
    EXPECT_EQ(e.Incertos(1000), 1);
    EXPECT_EQ(e.Incertos(999), 2);
    // A new connection starts from nothing.
    e.Falhou(0);
    e.Reiniciar();
    EXPECT_FALSE(e.Falhado());
    EXPECT_EQ(e.Incertos(0), 0);
}

}  // namespace
