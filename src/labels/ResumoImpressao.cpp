#include "labels/ResumoImpressao.h"

#include <chrono>

#include "common/UFuncoes.h"

std::string TextoEntregues(int64_t enviadas, int64_t aEnviar, bool antesDaFalha, int64_t naoConfirmadas) {
    if (naoConfirmadas > 0)
        return std::to_string(enviadas) + " de " + std::to_string(aEnviar) + " etiquetas entregues; as últimas " +
               std::to_string(naoConfirmadas) + " podem não ter saído e serão repetidas ao continuar";
    return std::to_string(enviadas) + " de " + std::to_string(aEnviar) + " etiquetas entregues à impressora" +
           (antesDaFalha ? " antes da falha" : "");
}

namespace {
std::string TextoFim(const TResumoImpressao& r);
}

std::string TextoFimImpressao(const TResumoImpressao& r) {
    const std::string texto = TextoFim(r);
    if (r.diario.empty()) return texto;
    return texto + (texto.ends_with('.') ? " " : ". ") + r.diario;
}

namespace {
std::string TextoFim(const TResumoImpressao& r) {
    const std::string nn = ZerosEsquerda(r.modelo, 2);
    switch (r.fim) {
        case TFimImpressao::Completa: {
            if (r.aEnviar == 0) return "Nenhuma etiqueta a imprimir: informe as quantidades na fila.";
            std::string texto = std::to_string(r.enviadas) + " etiquetas enviadas (modelo " + nn + ")";
            if (!r.porta.empty()) texto += " para " + r.porta;
            if (!r.faltou.empty()) texto += ". " + r.faltou;
            if (!r.aviso.empty()) texto += "\n" + r.aviso;
            return texto;
        }
        case TFimImpressao::Cancelada:
            return "Impressão cancelada: " + TextoEntregues(r.enviadas, r.aEnviar, false) + ".";
        case TFimImpressao::Falhou: {
            std::string falha = r.falha;
            while (!falha.empty() && (falha.back() == '.' || falha.back() == ' ' || falha.back() == '\n'))
                falha.pop_back();
            // Before the queue was counted nothing can have gone out.
            const std::string antes = r.enviadas == 0 && r.aEnviar == 0
                                          ? std::string("Nenhuma etiqueta enviada antes da falha.")
                                          : TextoEntregues(r.enviadas, r.aEnviar, true, r.naoConfirmadas) + ".";
            return (falha.empty() ? "Falha na impressão" : falha) + ". " + antes;
        }
        case TFimImpressao::FolhasA4: return "Folhas A4 do modelo " + nn + " mostradas";
    }
    return "";
}
}  // namespace

namespace {

std::string TextoDeMs(int64_t restanteMs) {
    const int64_t s = (restanteMs + 999) / 1000;
    if (s < 60) return "Tempo restante: " + std::to_string(s) + " s";
    const int64_t h = s / 3600, min = s / 60 % 60, seg = s % 60;
    if (h > 0) return "Tempo restante: " + std::to_string(h) + " h " + ZerosEsquerda(static_cast<int>(min), 2) + " min";
    return "Tempo restante: " + std::to_string(min) + " min " + ZerosEsquerda(static_cast<int>(seg), 2) + " s";
}

}  // namespace

std::string TextoTempoRestante(int64_t enviadas, int64_t aEnviar, int64_t ms) {
    if (aEnviar > 0 && enviadas >= aEnviar) return "Tempo restante: 0 s";
    if (enviadas <= 0 || ms < 0) return "";
    // The pace of the labels sent so far, rounded up to whole seconds.
    return TextoDeMs(ms * (aEnviar - enviadas) / enviadas);
}

TEstimativaTempo::TEstimativaTempo(TRelogio relogio) : relogio_(std::move(relogio)) {
    if (!relogio_)
        relogio_ = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
}

void TEstimativaTempo::Registrar(int64_t enviadas, int64_t aEnviar) {
    aEnviar_ = aEnviar;
    if (enviadas < enviadas_) marcas_.clear();  // another print: counted again
    if (enviadas <= 0 || (!marcas_.empty() && enviadas == enviadas_)) {
        enviadas_ = enviadas;
        return;
    }
    enviadas_ = enviadas;
    const int64_t agora = relogio_();
    marcas_.emplace_back(agora, enviadas);
    // The oldest mark kept is the last one at least a window old: the pace
    // spans the whole window, not only what happens to fall inside it.
    while (marcas_.size() > 2 && agora - marcas_[1].first >= kJanelaMs) marcas_.pop_front();
}

int64_t TEstimativaTempo::RestanteMs() const {
    if (aEnviar_ > 0 && enviadas_ >= aEnviar_) return 0;
    if (marcas_.size() < 2) return -1;
    const auto& [t0, e0] = marcas_.front();
    const int64_t feitas = enviadas_ - e0;
    // Up to now, not to the last delivery: a printer that stopped taking
    // labels makes the estimate grow.
    const int64_t decorrido = relogio_() - t0;
    if (feitas <= 0 || decorrido < 0) return -1;
    const double msPorEtiqueta = static_cast<double>(decorrido) / static_cast<double>(feitas);
    return static_cast<int64_t>(msPorEtiqueta * static_cast<double>(aEnviar_ - enviadas_));
}

std::string TEstimativaTempo::Texto() const {
    const int64_t ms = RestanteMs();
    return ms < 0 ? std::string() : TextoDeMs(ms);
}
