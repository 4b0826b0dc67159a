#pragma once
// EPL2, also sent to PPLB printers: one command per line, comma-separated
// parameters, positions and sizes in dots, lines ended by LF.
#include "etq/CdbETQClass.h"

class TCdbETQEpl2 : public TCdbETQClass {
public:
    explicit TCdbETQEpl2(TCdbETQ* dono);

    std::string ComandoAbertura() override;
    std::string ComandoBackFeed() override;
    std::string ComandoGuilhotina() override;
    std::string ComandoTemperatura() override;
    std::string ComandoPaginaDeCodigo() override;
    std::string ComandoOrigemCoordenadas() override;
    std::string ComandoVelocidade() override;
    std::string ComandoLimparMemoria() override;
    std::string ComandoCopias(int NumCopias) override;
    std::string ComandoImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte, int MultiplicadorH,
                                     int MultiplicadorV, int Vertical, int Horizontal, const std::string& Texto,
                                     int SubFonte, bool ImprimirReverso) override;
    std::string ComandoImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                                      int LarguraBarraLarga, int LarguraBarraFina, int Vertical, int Horizontal,
                                      const std::string& Texto, int AlturaCodBarras,
                                      TCdbETQBarraExibeCodigo ExibeCodigo) override;
    std::string ComandoImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura) override;
    std::string ComandoImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura, int EspessuraVertical,
                                     int EspessuraHorizontal, int Canto) override;

    static char DigitoRotacao(TCdbETQOrientacao o);
    // In double quotes, with \ and " escaped; a text already starting with a quote goes as it is.
    static void AnexarAspas(std::string& destino, const std::string& texto);

private:
    int Dots(int valor) { return ConverterUnidade(etqDots, valor); }
    void AnexarPosicao(std::string& destino, int Vertical, int Horizontal);
};
