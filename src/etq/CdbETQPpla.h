#pragma once
// PPLA: STX system commands and fixed-width label-format records, lines ended by CR.
#include "etq/CdbETQClass.h"

class TCdbETQPpla : public TCdbETQClass {
public:
    explicit TCdbETQPpla(TCdbETQ* dono);

    // The ImprimirReverso value the last mode line ("A5"/"A1") was emitted for.
    bool ModoReversoAtual() const { return reversoAtual_; }

    std::string ComandoAbertura() override;
    std::string ComandoGuilhotina() override;
    std::string ComandoUnidade() override;
    std::string ComandoTemperatura() override;
    std::string ComandoPaginaDeCodigo() override;
    std::string ComandoResolucao() override;
    std::string ComandoVelocidade() override;
    std::string AjustarQuebrasDeLinha(const std::string& fluxo) override;
    std::string ComandoLimparMemoria() override;
    std::string ComandoCopias(int NumCopias) override;
    std::string ComandoImprimir() override;
    std::string ComandoAvancarEtiqueta(int AvancoEtiqueta) override;
    std::string ComandoFinalizarEtiqueta(int NumCopias, int AvancoEtiqueta) override;
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

    // Value in Unidade to PPLA units (tenths of a millimetre, or hundredths of
    // an inch when Unidade is inches).
    int ValorPpla(int valor);
    // "0".."9", "A".."O" for 0..24.
    static char Multiplicador(int valor);
    static char Rotacao(TCdbETQOrientacao o);
    // Row then column, four digits each.
    void AnexarPosicao(std::string& destino, int Vertical, int Horizontal);

private:
    bool reversoAtual_ = false;
};
