#pragma once
// The contract every printer language fulfils. The virtual operations are
// declared in their fixed slot order; a language overrides the ones it speaks.
// Every Comando... returns command text (possibly empty) and, but for the
// PPLA text mode, has no side effect.
#include <cstdint>
#include <string>
#include <string_view>

#include "etq/CdbETQ.h"

// A colour as 24 bits (low byte red, then green, then blue) plus opacity.
struct TCdbETQCor {
    uint32_t Cor = 0;
    uint8_t R = 0, G = 0, B = 0;
    uint8_t Opacidade = 255;

    TCdbETQCor() = default;
    TCdbETQCor(uint32_t cor, uint8_t opacidade) { Definir(cor, opacidade); }
    void Definir(uint32_t cor, uint8_t opacidade) {
        Cor = cor & 0xFFFFFFu;
        R = static_cast<uint8_t>(Cor & 0xFF);
        G = static_cast<uint8_t>((Cor >> 8) & 0xFF);
        B = static_cast<uint8_t>((Cor >> 16) & 0xFF);
        Opacidade = opacidade;
    }
};

// Label dimensions, -1 when unset; only EscLabel sends them (letters P, L, C, G).
struct TCdbETQDimensoes {
    int P = -1;
    int L = -1;
    int C = -1;
    int G = -1;
};

class TCdbETQClass {
public:
    // Only a TCdbETQ creates languages: without one, raises.
    explicit TCdbETQClass(TCdbETQ* dono);
    virtual ~TCdbETQClass() = default;
    TCdbETQClass(const TCdbETQClass&) = delete;
    TCdbETQClass& operator=(const TCdbETQClass&) = delete;

    bool LimparMemoria = true;
    TCdbETQOrigem Origem = ogNone;
    TCdbETQDeteccaoEtiqueta DeteccaoEtiqueta = mdeGap;
    TCdbETQBackFeed BackFeed = bfNone;
    bool Guilhotina = false;
    TCdbETQPaginaCodigo PaginaDeCodigo = pceNone;
    TCdbETQUnidade Unidade = etqDecimoDeMilimetros;
    int Temperatura = 10;
    int Velocidade = -1;
    TCdbETQDPI DPI = dpi203;
    int Avanco = 0;
    TCdbETQCor CorFrente{0x000000, 255};
    TCdbETQCor CorFundo{0xFFFFFF, 0};
    TCdbETQDimensoes Dimensoes;
    std::string ModeloStr = "Não Definida";
    int MaxCopias = 999;

    TCdbETQ& Dono() const { return *dono_; }
    int DotsPorPolegada() const;
    double DotsPorMilimetro() const;

    // Slot 0. Value in Unidade to `UnidadeSaida`, rounded half to even.
    virtual int ConverterUnidade(TCdbETQUnidade UnidadeSaida, int Valor);
    virtual std::string ComandoAbertura();                        // 1
    virtual std::string ComandoBackFeed();                        // 2
    virtual std::string ComandoDeteccaoEtiqueta();                // 3
    virtual std::string ComandoGuilhotina();                      // 4
    virtual std::string ComandoDimensoes();                       // 5
    virtual std::string ComandoUnidade();                         // 6
    virtual std::string ComandoTemperatura();                     // 7
    virtual std::string ComandoPaginaDeCodigo();                  // 8
    virtual std::string ComandoResolucao();                       // 9
    virtual std::string ComandoOrigemCoordenadas();               // 10
    virtual std::string ComandoVelocidade();                      // 11
    virtual std::string ConverterNivelCorrecaoQRCode(int Nivel);  // 12
    // Slot 13. CR LF, CR and LF all become the language's terminator.
    virtual std::string AjustarQuebrasDeLinha(const std::string& fluxo);
    virtual std::string ComandoLimparMemoria();  // 14
    // Slot 15. Checks 1..MaxCopias; every language calls this first.
    virtual std::string ComandoCopias(int NumCopias);
    virtual std::string ComandoImprimir();                           // 16
    virtual std::string ComandoAvancarEtiqueta(int AvancoEtiqueta);  // 17
    // Slot 18. The start block, the same for every language.
    virtual std::string ComandoIniciarEtiqueta();
    // Slot 19. Copies, print, advance; 0 copies is 1, no advance takes Avanco.
    virtual std::string ComandoFinalizarEtiqueta(int NumCopias, int AvancoEtiqueta);
    virtual std::string ComandoImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte, int MultiplicadorH,
                                             int MultiplicadorV, int Vertical, int Horizontal, const std::string& Texto,
                                             int SubFonte,
                                             bool ImprimirReverso);  // 20
    virtual std::string ConverterTipoBarras(int TipoBarras);         // 21
    virtual std::string ComandoImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                                              int LarguraBarraLarga, int LarguraBarraFina, int Vertical, int Horizontal,
                                              const std::string& Texto, int AlturaCodBarras,
                                              TCdbETQBarraExibeCodigo ExibeCodigo);  // 22
    virtual std::string ComandoImprimirQRCode(int Vertical, int Horizontal, const std::string& Texto, int LarguraModulo,
                                              int ErrorLevel, int Tipo);                              // 23
    virtual std::string ComandoImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura);  // 24
    virtual std::string ComandoImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura,
                                             int EspessuraVertical, int EspessuraHorizontal,
                                             int Canto);  // 25
    virtual std::string ComandoImprimirImagem(int MultiplicadorImagem, int Vertical, int Horizontal,
                                              const std::string& NomeImagem);  // 26
    virtual std::string ComandoCarregarImagem(const std::string& Imagem, const std::string& NomeImagem, bool Flipped,
                                              const std::string& Tipo);         // 27
    virtual std::string ComandoApagarImagem(const std::string& NomeImagem);     // 28
    virtual std::string ComandoGravaRFIDHexaDecimal(const std::string& Valor);  // 29
    virtual std::string ComandoGravaRFIDASCII(const std::string& Valor);        // 30

protected:
    // "Metodo: <operação> não implementada em: <ModeloStr>"
    [[noreturn]] void ErroNaoImplementado(const char* operacao) const;
    // Joins the non-empty parts with CR LF.
    static void AnexarLinha(std::string& bloco, const std::string& linha);
    // The line-break rule of slot 13 with a given terminator.
    static std::string TrocarQuebrasDeLinha(const std::string& fluxo, std::string_view terminador);

private:
    TCdbETQ* dono_;
};

// Helpers shared by the language units.
namespace etq {
// Decimal, left-padded with "0" to `largura` characters.
std::string Zeros(long long valor, int largura);
void AnexarZeros(std::string& destino, long long valor, int largura);
void AnexarNumero(std::string& destino, long long valor);
}  // namespace etq
