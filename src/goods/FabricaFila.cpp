#include "interface/JanelaEtiquetas.h"

namespace {
TFabricaJanelaEtiquetasFila& Fabrica() {
    static TFabricaJanelaEtiquetasFila f;
    return f;
}
}  // namespace

void DefinirFabricaJanelaEtiquetasFila(TFabricaJanelaEtiquetasFila fabrica) { Fabrica() = std::move(fabrica); }
const TFabricaJanelaEtiquetasFila& FabricaJanelaEtiquetasFila() { return Fabrica(); }

namespace {
TPerguntaSubstituicaoFila& Pergunta() {
    static TPerguntaSubstituicaoFila p;
    return p;
}
}  // namespace

void DefinirPerguntaSubstituicaoFila(TPerguntaSubstituicaoFila pergunta) { Pergunta() = std::move(pergunta); }
const TPerguntaSubstituicaoFila& PerguntaSubstituicaoFila() { return Pergunta(); }
