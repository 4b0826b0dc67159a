#pragma once
// The words the queue window shows when a print ends, and the time-left
// estimate of the progress window, kept apart from the widgets.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>

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
    // Labels sent last that may have died in the printer's buffer at the
    // failure; not among `enviadas`, sent again by a continuation.
    int64_t naoConfirmadas = 0;
    // A warning about a print that went out (the printer did not answer its
    // status query, or reported a fault after the last job).
    std::string aviso = {};
};

// "N de M etiquetas entregues à impressora", plus " antes da falha" after one;
// with labels not confirmed at the failure: "N de M etiquetas entregues; as
// últimas K podem não ter saído e serão repetidas ao continuar".
std::string TextoEntregues(int64_t enviadas, int64_t aEnviar, bool antesDaFalha, int64_t naoConfirmadas = 0);

// "N etiquetas enviadas (modelo NN) para PORTA" and the like (the warning on
// a line of its own after it).
std::string TextoFimImpressao(const TResumoImpressao& resumo);

// "Tempo restante: ..." from the pace so far: the time taken per label sent
// times the labels still to send. Empty before the first label is sent,
// when there is no pace yet.
std::string TextoTempoRestante(int64_t enviadas, int64_t aEnviar, int64_t milissegundosDecorridos);

// The time left of a print from the pace of the labels the port took: measured
// from the first delivery on (opening the port, counting the queue and asking
// a printer's status are not the pace), over the last 30 s of deliveries, so
// a printer that slows down or stalls is followed. The clock is injectable
// (milliseconds of a steady clock); the default is the machine's.
class TEstimativaTempo {
public:
    using TRelogio = std::function<int64_t()>;
    explicit TEstimativaTempo(TRelogio relogio = {});

    // Labels delivered so far, out of the labels to send.
    void Registrar(int64_t enviadas, int64_t aEnviar);
    // Milliseconds still to go at the pace so far; -1 while there is no pace.
    int64_t RestanteMs() const;
    // "Tempo restante: ...", or "" while there is no pace yet.
    std::string Texto() const;

    static constexpr int64_t kJanelaMs = 30000;

private:
    TRelogio relogio_;
    std::deque<std::pair<int64_t, int64_t>> marcas_;  // (ms, labels delivered) at each delivery
    int64_t enviadas_ = 0;
    int64_t aEnviar_ = 0;
};
