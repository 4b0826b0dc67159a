#pragma once
// EscLabel: the ZPL II stream with the printer's own set-up commands and a
// colour command in every field. Chosen only by the port's USB identification.
#include "etq/CdbETQZplII.h"

class TCdbETQEscLabel : public TCdbETQZplII {
public:
    explicit TCdbETQEscLabel(TCdbETQ* dono);

    std::string ComandoDeteccaoEtiqueta() override;
    std::string ComandoDimensoes() override;
    std::string ComandoTemperatura() override;
    std::string ComandoResolucao() override;
    std::string ComandoVelocidade() override;
    std::string NumeroPaginaDeCodigo(TCdbETQPaginaCodigo pagina) override;
    std::string ComandoCores() override;
};
