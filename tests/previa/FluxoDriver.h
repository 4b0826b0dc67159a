#pragma once
// Streams made by the driver itself, as a layout makes them.
#include <functional>
#include <string>

#include "etq/Captura.h"

// The stream the driver sends for one label drawn by `desenhar` (default settings).
inline std::string FluxoDoDriver(TCdbETQModelo modelo, const std::function<void(TCdbETQ&)>& desenhar) {
    TEtqCapturado c(modelo);
    c.etq.Ativar();
    c.etq.IniciarEtiqueta();
    desenhar(c.etq);
    c.etq.Imprimir(1, 0);
    return c.Ultimo();
}
