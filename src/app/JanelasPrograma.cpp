#include "app/JanelasPrograma.h"

#include <QWidget>

#include "app/JanelaMercadorias.h"

namespace {
TFabricaJanelaMercadorias& FabricaMercadorias() {
    static TFabricaJanelaMercadorias f;
    return f;
}
TFabricaJanelaEtiquetas& FabricaEtiquetas() {
    static TFabricaJanelaEtiquetas f;
    return f;
}
}  // namespace

void DefinirFabricaJanelaMercadorias(TFabricaJanelaMercadorias fabrica) { FabricaMercadorias() = std::move(fabrica); }
void DefinirFabricaJanelaEtiquetas(TFabricaJanelaEtiquetas fabrica) { FabricaEtiquetas() = std::move(fabrica); }

std::unique_ptr<TJanelaMercadorias> CriarJanelaMercadorias(TModulosDadosReais& modulos, QWidget* principal) {
    return FabricaMercadorias() ? FabricaMercadorias()(modulos, principal) : nullptr;
}

std::unique_ptr<QWidget> CriarJanelaEtiquetas(TModulosDadosReais& modulos, QWidget* principal) {
    return FabricaEtiquetas() ? FabricaEtiquetas()(modulos, principal) : nullptr;
}
