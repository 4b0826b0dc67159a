#pragma once
// The windows the program entry creates besides the main window: the goods
// filter window and a label queue window. Their own work registers how they
// are made; without a registration the entry goes on without them.
#include <functional>
#include <memory>

class QWidget;
class TJanelaMercadorias;
class TModulosDadosReais;

using TFabricaJanelaMercadorias =
    std::function<std::unique_ptr<TJanelaMercadorias>(TModulosDadosReais& modulos, QWidget* principal)>;
using TFabricaJanelaEtiquetas =
    std::function<std::unique_ptr<QWidget>(TModulosDadosReais& modulos, QWidget* principal)>;

void DefinirFabricaJanelaMercadorias(TFabricaJanelaMercadorias fabrica);
void DefinirFabricaJanelaEtiquetas(TFabricaJanelaEtiquetas fabrica);

std::unique_ptr<TJanelaMercadorias> CriarJanelaMercadorias(TModulosDadosReais& modulos, QWidget* principal);
std::unique_ptr<QWidget> CriarJanelaEtiquetas(TModulosDadosReais& modulos, QWidget* principal);
