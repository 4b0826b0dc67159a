#include "labels/ResumoImpressao.h"

#include "common/UFuncoes.h"

std::string TextoEntregues(int64_t enviadas, int64_t aEnviar, bool antesDaFalha) {
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
                                          : TextoEntregues(r.enviadas, r.aEnviar, true) + ".";
            return (falha.empty() ? "Falha na impressão" : falha) + ". " + antes;
        }
        case TFimImpressao::FolhasA4: return "Folhas A4 do modelo " + nn + " mostradas";
    }
    return "";
}
}  // namespace

std::string TextoTempoRestante(int64_t enviadas, int64_t aEnviar, int64_t ms) {
    if (aEnviar > 0 && enviadas >= aEnviar) return "Tempo restante: 0 s";
    if (enviadas <= 0 || ms < 0) return "";
    // The pace of the labels sent so far, rounded up to whole seconds.
    const int64_t restanteMs = ms * (aEnviar - enviadas) / enviadas;
    const int64_t s = (restanteMs + 999) / 1000;
    if (s < 60) return "Tempo restante: " + std::to_string(s) + " s";
    const int64_t h = s / 3600, min = s / 60 % 60, seg = s % 60;
    if (h > 0) return "Tempo restante: " + std::to_string(h) + " h " + ZerosEsquerda(static_cast<int>(min), 2) + " min";
    return "Tempo restante: " + std::to_string(min) + " min " + ZerosEsquerda(static_cast<int>(seg), 2) + " s";
}
