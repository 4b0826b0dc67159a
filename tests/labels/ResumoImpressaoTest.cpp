// What the queue window says when a print ends, and the time left the
// progress window shows.
#include <gtest/gtest.h>

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

}  // namespace
