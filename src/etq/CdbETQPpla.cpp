#include "etq/CdbETQPpla.h"

#include "common/Excecoes.h"

using etq::AnexarZeros;

namespace {
const char STX = '\x02';

char MaiusculaAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char MinusculaAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
}  // namespace

TCdbETQPpla::TCdbETQPpla(TCdbETQ* dono) : TCdbETQClass(dono) {
    ModeloStr = "PPLA";
    MaxCopias = 9999;
    Unidade = etqMilimetros;
}

int TCdbETQPpla::ValorPpla(int valor) {
    long long v = valor;
    switch (Unidade) {
        case etqDecimoDeMilimetros: break;
        case etqMilimetros: v *= 10; break;
        case etqPolegadas: v *= 100; break;
        case etqDots: v = static_cast<long long>(ConverterUnidade(etqMilimetros, valor)) * 10; break;
    }
    // Out-of-range values only have to stay out of range for the checks.
    if (v > 99999999) v = 99999999;
    if (v < -99999999) v = -99999999;
    return static_cast<int>(v);
}

char TCdbETQPpla::Multiplicador(int valor) {
    if (valor >= 0 && valor <= 9) return static_cast<char>('0' + valor);
    if (valor >= 10 && valor <= 24) return static_cast<char>(valor + 55);
    throw Exception("Informe um valor entre 0 e 24");
}

char TCdbETQPpla::Rotacao(TCdbETQOrientacao o) { return static_cast<char>('1' + (static_cast<int>(o) & 3)); }

void TCdbETQPpla::AnexarPosicao(std::string& destino, int Vertical, int Horizontal) {
    int v = ValorPpla(Vertical);
    int h = ValorPpla(Horizontal);
    if (v < 0 || v > 9999) throw Exception("Vertical deve ser de 0 a 9999");
    if (h < 0 || h > 9999) throw Exception("Horizontal deve ser de 0 a 9999");
    AnexarZeros(destino, v, 4);
    AnexarZeros(destino, h, 4);
}

std::string TCdbETQPpla::ComandoAbertura() { return {STX, 'L'}; }

std::string TCdbETQPpla::ComandoGuilhotina() { return {STX, 'V', Guilhotina ? '1' : '0'}; }

std::string TCdbETQPpla::ComandoUnidade() { return {STX, Unidade == etqPolegadas ? 'n' : 'm'}; }

std::string TCdbETQPpla::ComandoTemperatura() {
    if (Temperatura < 0 || Temperatura > 20) throw Exception("Temperatura deve ser de 0 a 20");
    if (Temperatura == 0) return {};
    std::string r = "H";
    AnexarZeros(r, Temperatura, 2);
    return r;
}

std::string TCdbETQPpla::ComandoPaginaDeCodigo() {
    if (PaginaDeCodigo == pceNone) return {};
    std::string r{STX};
    r += "KI<";
    r += PaginaDeCodigo == pce437 ? '0' : '2';
    return r;
}

std::string TCdbETQPpla::ComandoResolucao() { return "D11"; }

std::string TCdbETQPpla::ComandoVelocidade() {
    if (Velocidade > 4) throw Exception("Velocidade deve ser de 1 a 4 ");
    if (Velocidade <= 0) return {};
    return {'P', static_cast<char>('A' + Velocidade - 1)};
}

std::string TCdbETQPpla::AjustarQuebrasDeLinha(const std::string& fluxo) { return TrocarQuebrasDeLinha(fluxo, "\r"); }

std::string TCdbETQPpla::ComandoLimparMemoria() { return {STX, 'Q'}; }

std::string TCdbETQPpla::ComandoCopias(int NumCopias) {
    TCdbETQClass::ComandoCopias(NumCopias);
    std::string r = "Q";
    AnexarZeros(r, NumCopias, 4);
    return r;
}

std::string TCdbETQPpla::ComandoImprimir() { return "E"; }

std::string TCdbETQPpla::ComandoAvancarEtiqueta(int AvancoEtiqueta) {
    std::string r{STX, 'f'};
    AnexarZeros(r, AvancoEtiqueta, 3);
    return r;
}

std::string TCdbETQPpla::ComandoFinalizarEtiqueta(int NumCopias, int AvancoEtiqueta) {
    if (AvancoEtiqueta < 0 || AvancoEtiqueta > 779) throw Exception("Avanço de Etiquetas deve ser de 0 a 779");
    // 220 is the printer's own stop position; the sum is never 0, so Avanco never applies.
    return TCdbETQClass::ComandoFinalizarEtiqueta(NumCopias, AvancoEtiqueta + 220);
}

std::string TCdbETQPpla::ComandoImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte,
                                              int MultiplicadorH, int MultiplicadorV, int Vertical, int Horizontal,
                                              const std::string& Texto, int SubFonte, bool ImprimirReverso) {
    if (Texto.size() > 255) throw Exception("Tamanho máximo para o texto 255 caracteres");
    char fonte = Fonte.empty() ? '0' : Fonte[0];
    if (fonte < '0' || fonte > '9') throw Exception("Fonte deve ser de 0 a 9");

    std::string r;
    r.reserve(24 + Texto.size());
    const bool mudaModo = ImprimirReverso != reversoAtual_;
    if (mudaModo) r.append(ImprimirReverso ? "A5\r\n" : "A1\r\n");
    r.push_back(Rotacao(Orientacao));
    r.push_back(fonte);
    r.push_back(Multiplicador(MultiplicadorH));
    r.push_back(Multiplicador(MultiplicadorV));
    if (SubFonte < 0 || SubFonte > 999) throw Exception("Subfonte deve ser de 0 a 999");
    if (fonte == '9')
        AnexarZeros(r, SubFonte, 3);
    else
        r.append("000");
    AnexarPosicao(r, Vertical, Horizontal);
    r.append(Texto);
    // Remembered only once the record is complete: a refused text must not
    // swallow the mode line the next text needs.
    if (mudaModo) reversoAtual_ = ImprimirReverso;
    return r;
}

std::string TCdbETQPpla::ComandoImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                                               int LarguraBarraLarga, int LarguraBarraFina, int Vertical,
                                               int Horizontal, const std::string& Texto, int AlturaCodBarras,
                                               TCdbETQBarraExibeCodigo ExibeCodigo) {
    // Upper case prints the digits under the bars, lower case does not.
    char tipo = TipoBarras.empty() ? 'a' : TipoBarras[0];
    tipo = ExibeCodigo == becNAO ? MinusculaAscii(tipo) : MaiusculaAscii(tipo);
    if (!((tipo >= 'A' && tipo <= 'T') || (tipo >= 'a' && tipo <= 't')))
        throw Exception("Tipo Cod.Barras deve ser de \"A\" a \"T\"");

    std::string r;
    r.reserve(16 + Texto.size());
    r.push_back(Rotacao(Orientacao));
    r.push_back(tipo);
    r.push_back(Multiplicador(LarguraBarraLarga));
    r.push_back(Multiplicador(LarguraBarraFina));
    int altura = ValorPpla(AlturaCodBarras);
    if (altura < 0 || altura > 999) throw Exception("Altura Barras deve ser de 0 a 999");
    AnexarZeros(r, altura, 3);
    AnexarPosicao(r, Vertical, Horizontal);
    r.append(Texto, 0, 255);
    return r;
}

std::string TCdbETQPpla::ComandoImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura) {
    std::string r = "1X11000";
    AnexarPosicao(r, Vertical, Horizontal);
    if (Largura < 0 || Largura > 999) throw Exception("Largura deve ser de 0 a 999");
    if (Altura < 0 || Altura > 999) throw Exception("Altura deve ser de 0 a 999");
    r.push_back('L');
    AnexarZeros(r, Largura, 3);
    AnexarZeros(r, Altura, 3);
    return r;
}

std::string TCdbETQPpla::ComandoImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura,
                                              int EspessuraVertical, int EspessuraHorizontal, int) {
    std::string r = "1X11000";
    AnexarPosicao(r, Vertical, Horizontal);
    if (Largura < 0 || Largura > 999) throw Exception("Largura deve ser de 0 a 999");
    if (Altura < 0 || Altura > 999) throw Exception("Altura deve ser de 0 a 999");
    if (EspessuraHorizontal < 0 || EspessuraHorizontal > 999)
        throw Exception("Espessura Horizontal deve ser de 0 a 999");
    if (EspessuraVertical < 0 || EspessuraVertical > 999) throw Exception("Espessura Vertical deve ser de 0 a 999");
    r.push_back('B');
    AnexarZeros(r, Largura, 3);
    AnexarZeros(r, Altura, 3);
    AnexarZeros(r, EspessuraHorizontal, 3);
    AnexarZeros(r, EspessuraVertical, 3);
    return r;
}
