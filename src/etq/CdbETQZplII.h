#pragma once
// ZPL II: caret and tilde commands; one format between ^XA and ^XZ; positions
// and sizes in printer dots; lines ended by CR LF.
#include "etq/CdbETQClass.h"

class TCdbETQZplII : public TCdbETQClass {
public:
    explicit TCdbETQZplII(TCdbETQ* dono);

    std::string ComandoAbertura() override;
    std::string ComandoBackFeed() override;
    std::string ComandoGuilhotina() override;
    std::string ComandoUnidade() override;
    std::string ComandoTemperatura() override;
    std::string ComandoPaginaDeCodigo() override;
    std::string ComandoResolucao() override;
    std::string ComandoOrigemCoordenadas() override;
    std::string ComandoVelocidade() override;
    std::string AjustarQuebrasDeLinha(const std::string& fluxo) override;
    std::string ComandoLimparMemoria() override;
    std::string ComandoCopias(int NumCopias) override;
    std::string ComandoImprimir() override;
    std::string ComandoAvancarEtiqueta(int AvancoEtiqueta) override;
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

    // Slots of ZPL II, after those of every language.
    virtual std::string NumeroPaginaDeCodigo(TCdbETQPaginaCodigo pagina);                       // 31
    virtual std::string ComandoLarguraBarras(int BarraFina, int BarraLarga, int AlturaBarras);  // 32
    virtual std::string ComandoCoordenadas(int Vertical, int Horizontal);                       // 33
    virtual std::string ComandoReverso(bool Reverso);                                           // 34
    virtual std::string ComandoFonte(const std::string& Fonte, int MultiplicadorV, int MultiplicadorH,
                                     TCdbETQOrientacao Orientacao);  // 35
    virtual std::string ComandoCores();                              // 36
    virtual std::string ComandoTipoBarras(const std::string& TipoBarras, TCdbETQOrientacao Orientacao, int AlturaBarras,
                                          TCdbETQBarraExibeCodigo ExibeCodigo);           // 37
    virtual std::string ComandoCaixa(int Altura, int Largura, int Espessura, int Canto);  // 38
    // CRC-16/XMODEM of the text as four upper-case hex digits (image downloads).
    virtual std::string CalcularCRC16(const std::string& Texto);  // 39

    static char LetraOrientacao(TCdbETQOrientacao o);
    // "^FD<text>^FS", with ^FH\ and hex escapes when the text holds \ ^ ~ or
    // bytes outside 32..127.
    static void AnexarDados(std::string& destino, const std::string& texto);

protected:
    int Dots(int valor) { return ConverterUnidade(etqDots, valor); }
};
