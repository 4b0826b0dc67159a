// What the queue window says when a print ends, and the time left the
// progress window shows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "labels/ResumoImpressao.h"

namespace {

TEST(ResumoImpressao, ComoAImpressaoTerminou) {
    struct Caso {
        TResumoImpressao resumo;
        const char* texto;
    };
    const Caso casos[] = {
        {{TFimImpressao::Completa, 11, "FILE:/tmp/saida.prn", 12, 12, "", "", ""},
         "12 etiquetas enviadas (modelo 11) para FILE:/tmp/saida.prn"},
        {{TFimImpressao::Completa, 6, "", 3, 3, "", "", ""}, "3 etiquetas enviadas (modelo 06)"},
        {{TFimImpressao::Completa, 11, "LPT1", 0, 0, "", "", ""},
         "Nenhuma etiqueta a imprimir: informe as quantidades na fila."},
        {{TFimImpressao::Cancelada, 11, "LPT1", 6, 30, "", "", ""},
         "Impressão cancelada: 6 de 30 etiquetas entregues à impressora."},
        {{TFimImpressao::Falhou, 11, "TCP:10.0.0.9:9100", 9, 30, "Conexão recusada pela impressora.", "", ""},
         "Conexão recusada pela impressora. 9 de 30 etiquetas entregues à impressora antes da falha."},
        // The queue was counted and the printer took nothing: the count still says of how many.
        {{TFimImpressao::Falhou, 11, "TCP:127.0.0.1:9100", 0, 1900, "Tempo esgotado ao enviar dados", "", ""},
         "Tempo esgotado ao enviar dados. 0 de 1900 etiquetas entregues à impressora antes da falha."},
        {{TFimImpressao::Falhou, 11, "/dev/lp9", 0, 0, "Não foi possível abrir a porta /dev/lp9", "", ""},
         "Não foi possível abrir a porta /dev/lp9. Nenhuma etiqueta enviada antes da falha."},
        {{TFimImpressao::FolhasA4, 26, "", 0, 0, "", "", ""}, "Folhas A4 do modelo 26 mostradas"},
        // Rows that printed nothing, and a journal that lost rows, are said after the rest.
        {{TFimImpressao::Completa, 6, "LPT1", 3, 7, "",
          "4 etiquetas de 1 linha da fila não foram impressas: a mercadoria 1234 não existe mais no cadastro", ""},
         "3 etiquetas enviadas (modelo 06) para LPT1. 4 etiquetas de 1 linha da fila não foram impressas: a "
         "mercadoria 1234 não existe mais no cadastro"},
        {{TFimImpressao::Falhou, 11, "LPT1", 2, 30, "a porta caiu", "",
          "Diário de impressões desligado: conflito. A impressão 5 ficou no diário com 1 etiquetas entregues e 1 "
          "linhas da fila"},
         "a porta caiu. 2 de 30 etiquetas entregues à impressora antes da falha. Diário de impressões desligado: "
         "conflito. A impressão 5 ficou no diário com 1 etiquetas entregues e 1 linhas da fila"},
        // The last jobs the printer's stack took may have died in its buffer:
        // they are not among the delivered, and a continuation sends them.
        {{TFimImpressao::Falhou, 11, "TCP:10.0.0.9:9100", 294, 1121, "Conexão reiniciada pela impressora", "", "", 3},
         "Conexão reiniciada pela impressora. 294 de 1121 etiquetas entregues; as últimas 3 podem não ter saído e "
         "serão repetidas ao continuar."},
        {{TFimImpressao::Completa, 11, "TCP:10.0.0.9:9100", 30, 30, "", "", "", 0,
          "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram"},
         "30 etiquetas enviadas (modelo 11) para TCP:10.0.0.9:9100\nA impressora não respondeu ao pedido de status: "
         "confira se as etiquetas saíram"},
    };
    for (const Caso& c : casos) EXPECT_EQ(TextoFimImpressao(c.resumo), c.texto);
}

TEST(ResumoImpressao, TempoRestantePeloRitmo) {
    struct Caso {
        int64_t enviadas, aEnviar, ms;
        const char* texto;
    };
    const Caso casos[] = {
        {0, 30, 2000, ""},                      // no label sent yet: no pace
        {3, 30, 1500, "Tempo restante: 14 s"},  // 0.5 s a label, 27 to go: 13.5 s, rounded up
        {10, 100, 10000, "Tempo restante: 1 min 30 s"},
        {1, 10000, 1000, "Tempo restante: 2 h 46 min"},
        {30, 30, 9000, "Tempo restante: 0 s"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TextoTempoRestante(c.enviadas, c.aEnviar, c.ms), c.texto) << c.enviadas << "/" << c.aEnviar;
}

// On a steady port the estimate is within 25 % of the time really left once
// 5 % of the labels went out, whatever the print spent before its first label
// (the shop's case: 12 s of counting and opening, then 4,715 labels to a fast port).
TEST(EstimativaTempo, DentroDe25PorCentoAposOsPrimeiros5PorCento) {
    struct Caso {
        const char* nome;
        int64_t antesMs;      // from the start to the first job
        int64_t porTrabalho;  // labels a job carries
        int64_t msPorTrabalho;
        int64_t variacaoMs;  // jobs alternately this much faster and slower
        int64_t total;
    };
    const Caso casos[] = {
        {"porta rapida depois de 12 s de preparo", 12000, 3, 25, 0, 4715},
        {"termica com pausa de meio segundo", 300, 3, 500, 0, 4715},
        {"uma coluna, preparo longo", 20000, 1, 500, 0, 300},
        {"rede com trabalhos irregulares", 1500, 4, 1200, 400, 2000},
        {"fila de tres etiquetas por trabalho, 40 trabalhos", 5000, 3, 700, 100, 120},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        int64_t agora = 0;
        TEstimativaTempo estimativa([&agora] { return agora; });
        agora += c.antesMs;
        int64_t enviadas = 0, trabalho = 0, verificadas = 0;
        while (enviadas < c.total) {
            agora += c.msPorTrabalho + (trabalho++ % 2 == 0 ? -c.variacaoMs : c.variacaoMs);
            enviadas = std::min(c.total, enviadas + c.porTrabalho);
            estimativa.Registrar(enviadas, c.total);
            if (enviadas * 20 < c.total || enviadas == c.total) continue;
            const int64_t trabalhosRestantes = (c.total - enviadas + c.porTrabalho - 1) / c.porTrabalho;
            const double real = static_cast<double>(trabalhosRestantes * c.msPorTrabalho);
            const double estimado = static_cast<double>(estimativa.RestanteMs());
            // Labels go out a job at a time: near the end one job's time is the grain.
            ASSERT_LE(std::abs(estimado - real), 0.25 * real + static_cast<double>(c.msPorTrabalho))
                << enviadas << " de " << c.total;
            ++verificadas;
        }
        EXPECT_GT(verificadas, 0);
        EXPECT_EQ(estimativa.Texto(), "Tempo restante: 0 s");
    }
}

TEST(EstimativaTempo, SemRitmoAntesDaSegundaEntregaEPortaParadaFazCrescer) {
    int64_t agora = 0;
    TEstimativaTempo estimativa([&agora] { return agora; });
    estimativa.Registrar(0, 300);
    EXPECT_EQ(estimativa.Texto(), "");
    agora = 9000;  // the first job: no pace yet, whatever the preparation took
    estimativa.Registrar(3, 300);
    EXPECT_EQ(estimativa.RestanteMs(), -1);
    EXPECT_EQ(estimativa.Texto(), "");
    for (int i = 0; i < 9; ++i) {
        agora += 500;
        estimativa.Registrar(6 + 3 * i, 300);
    }
    // 27 labels in 4.5 s after the first job; 270 to go: 45 s.
    EXPECT_EQ(estimativa.RestanteMs(), 45000);
    EXPECT_EQ(estimativa.Texto(), "Tempo restante: 45 s");
    // The printer stops taking labels: the same count later is a slower pace.
    agora += 45000;
    estimativa.Registrar(30, 300);
    EXPECT_GT(estimativa.RestanteMs(), 400000);
    // A new print (fewer labels than before) starts its own pace.
    agora += 1000;
    estimativa.Registrar(3, 60);
    EXPECT_EQ(estimativa.Texto(), "");
}

// A printer that slows down is followed within the last half minute, not
// averaged with its fast start (a buffer that filled, then the printer's pace).
TEST(EstimativaTempo, SegueORitmoDoUltimoMeioMinuto) {
    int64_t agora = 0;
    TEstimativaTempo estimativa([&agora] { return agora; });
    int64_t enviadas = 0;
    for (int i = 0; i < 200; ++i) {  // 600 labels in 2 s
        agora += 10;
        estimativa.Registrar(enviadas += 3, 3000);
    }
    for (int i = 0; i < 120; ++i) {  // then 3 labels a second for 2 minutes
        agora += 1000;
        estimativa.Registrar(enviadas += 3, 3000);
    }
    const int64_t real = (3000 - enviadas) / 3 * 1000;
    EXPECT_NEAR(static_cast<double>(estimativa.RestanteMs()), static_cast<double>(real), 0.05 * real);
}

}  // namespace
