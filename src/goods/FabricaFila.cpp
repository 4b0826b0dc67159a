#include "interface/JanelaEtiquetas.h"

namespace {
TFabricaJanelaEtiquetasFila& Fabrica() {
    static TFabricaJanelaEtiquetasFila f;
    return f;
}
}  // namespace

void DefinirFabricaJanelaEtiquetasFila(TFabricaJanelaEtiquetasFila fabrica) { Fabrica() = std::move(fabrica); }
const TFabricaJanelaEtiquetasFila& FabricaJanelaEtiquetasFila() { return Fabrica(); }
