#pragma once
// The words the queue window shows when a print ends, and the time-left
// estimate of the progress window, kept apart from the widgets.
#include <cstdint>
#include <string>

enum class TFimImpressao { Completa, Cancelada, Falhou, FolhasA4 };

struct TResumoImpressao {
    TFimImpressao fim = TFimImpressao::Completa;
    int modelo = 0;        // the model number the print ran
    std::string porta;     // PATH REDE as configured
    int64_t enviadas = 0;  // labels sent
    int64_t aEnviar = 0;   // labels the queue asked for
    std::string falha;     // the failure's message
    std::string faltou;    // rows that printed nothing (their goods were gone)
    std::string diario;    // what went wrong with the print journal
};

// "N de M etiquetas entregues à impressora", plus " antes da falha" after one.
std::string TextoEntregues(int64_t enviadas, int64_t aEnviar, bool antesDaFalha);

// "N etiquetas enviadas (modelo NN) para PORTA" and the like.
std::string TextoFimImpressao(const TResumoImpressao& resumo);

// "Tempo restante: ..." from the pace so far: the time taken per label sent
// times the labels still to send. Empty before the first label is sent,
// when there is no pace yet.
std::string TextoTempoRestante(int64_t enviadas, int64_t aEnviar, int64_t milissegundosDecorridos);
