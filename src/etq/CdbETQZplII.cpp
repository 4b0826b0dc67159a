#include "etq/CdbETQZplII.h"

#include <algorithm>

#include "common/Excecoes.h"

using etq::AnexarNumero;
using etq::AnexarZeros;

TCdbETQZplII::TCdbETQZplII(TCdbETQ* dono) : TCdbETQClass(dono) {
    ModeloStr = "ZPLII";
    MaxCopias = 999;
}

char TCdbETQZplII::LetraOrientacao(TCdbETQOrientacao o) {
    switch (o) {
        case or270: return 'B';
        case or180: return 'I';
        case or90: return 'R';
        default: return 'N';
    }
}

void TCdbETQZplII::AnexarDados(std::string& destino, const std::string& texto) {
    static const char hex[] = "0123456789ABCDEF";
    bool escapar = false;
    for (unsigned char c : texto) {
        if (c == '\\' || c == '^' || c == '~' || c < 32 || c > 127) {
            escapar = true;
            break;
        }
    }
    if (!escapar) {
        destino.append("^FD");
        destino.append(texto);
        destino.append("^FS");
        return;
    }
    destino.append("^FH\\^FD");
    for (unsigned char c : texto) {
        if (c == '\\' || c == '^' || c == '~' || c < 32 || c > 127) {
            destino.push_back('\\');
            destino.push_back(hex[c >> 4]);
            destino.push_back(hex[c & 15]);
        } else {
            destino.push_back(static_cast<char>(c));
        }
    }
    destino.append("^FS");
}

std::string TCdbETQZplII::ComandoAbertura() { return "^XA"; }

std::string TCdbETQZplII::ComandoBackFeed() {
    switch (BackFeed) {
        case bfOn: return "~JSA";
        case bfOff: return "~JSO";
        default: return {};
    }
}

std::string TCdbETQZplII::ComandoGuilhotina() { return Guilhotina ? "^MMC" : "^MMT"; }

std::string TCdbETQZplII::ComandoUnidade() { return {}; }

std::string TCdbETQZplII::ComandoTemperatura() {
    if (Temperatura < 0 || Temperatura > 30) throw Exception("Temperatura deve ser de 0 a 30");
    std::string r = "~SD";
    AnexarZeros(r, Temperatura, 2);
    return r;
}

std::string TCdbETQZplII::NumeroPaginaDeCodigo(TCdbETQPaginaCodigo pagina) {
    switch (pagina) {
        case pce437: return "0";
        case pce850:
        case pce852:
        case pce860: return "13";
        case pce1250:
        case pce1252: return "27";
        default: return {};
    }
}

std::string TCdbETQZplII::ComandoPaginaDeCodigo() {
    if (PaginaDeCodigo == pceNone) return {};
    return "^CI" + NumeroPaginaDeCodigo(PaginaDeCodigo);
}

std::string TCdbETQZplII::ComandoResolucao() { return {}; }

std::string TCdbETQZplII::ComandoOrigemCoordenadas() { return Origem == ogBottom ? "^POI" : "^PON"; }

std::string TCdbETQZplII::ComandoVelocidade() {
    if (Velocidade > 12) throw Exception("Velocidade deve ser de 2 a 12 ");
    if (Velocidade <= 0) return {};
    std::string r = "^PR";
    AnexarNumero(r, std::max(Velocidade, 2));
    return r;
}

std::string TCdbETQZplII::AjustarQuebrasDeLinha(const std::string& fluxo) {
    return TrocarQuebrasDeLinha(fluxo, "\r\n");
}

std::string TCdbETQZplII::ComandoLimparMemoria() { return "^MCY"; }

std::string TCdbETQZplII::ComandoCopias(int NumCopias) {
    TCdbETQClass::ComandoCopias(NumCopias);
    std::string r = "^PQ";
    AnexarNumero(r, NumCopias);
    return r;
}

std::string TCdbETQZplII::ComandoImprimir() { return "^XZ"; }

// The printer holds its own feed length: only "feed now" is sent.
std::string TCdbETQZplII::ComandoAvancarEtiqueta(int AvancoEtiqueta) { return AvancoEtiqueta > 0 ? "^PH" : ""; }

std::string TCdbETQZplII::ComandoLarguraBarras(int BarraFina, int, int AlturaBarras) {
    std::string r = "^BY";
    AnexarNumero(r, BarraFina);
    r.append(",,");
    AnexarNumero(r, AlturaBarras);
    return r;
}

std::string TCdbETQZplII::ComandoCoordenadas(int Vertical, int Horizontal) {
    if (Vertical < 0 || Vertical > 32000) throw Exception("Vertical deve estar entre 0 e 32000");
    if (Horizontal < 0 || Horizontal > 32000) throw Exception("Horizontal deve estar entre 0 e 32000");
    std::string r = "^FO";
    AnexarNumero(r, Dots(Horizontal));
    r.push_back(',');
    AnexarNumero(r, Dots(Vertical));
    return r;
}

std::string TCdbETQZplII::ComandoReverso(bool Reverso) { return Reverso ? "^FR" : ""; }

std::string TCdbETQZplII::ComandoFonte(const std::string& Fonte, int MultiplicadorV, int MultiplicadorH,
                                       TCdbETQOrientacao Orientacao) {
    if (MultiplicadorV > 32000) throw Exception("Multiplicador Vertical deve estar entre 10 e 32000");
    if (MultiplicadorH > 32000) throw Exception("Multiplicador Horizontal deve estar entre 10 e 32000");
    char fonte = Fonte.empty() ? 'A' : Fonte[0];
    if (!((fonte >= '0' && fonte <= '9') || (fonte >= 'A' && fonte <= 'Z')))
        throw Exception("Fonte deve \"0\" a \"9\" e \"A\" a \"Z\"");
    std::string r = "^A";
    r.push_back(fonte);
    r.push_back(LetraOrientacao(Orientacao));
    r.push_back(',');
    AnexarNumero(r, std::max(MultiplicadorV, 1));
    r.push_back(',');
    AnexarNumero(r, std::max(MultiplicadorH, 1));
    return r;
}

std::string TCdbETQZplII::ComandoCores() { return {}; }

std::string TCdbETQZplII::ComandoTipoBarras(const std::string& TipoBarras, TCdbETQOrientacao Orientacao,
                                            int AlturaBarras, TCdbETQBarraExibeCodigo ExibeCodigo) {
    char tipo = TipoBarras.empty() ? ' ' : TipoBarras[0];
    if (!((tipo >= '0' && tipo <= '9') || (tipo >= 'A' && tipo <= 'Z')))
        throw Exception("Tipo Cod.Barras deve estar \"0\" a \"9\" ou \"A\" a \"Z\"");
    std::string r = "^B";
    r.append(TipoBarras);
    r.push_back(LetraOrientacao(Orientacao));
    r.push_back(',');
    AnexarNumero(r, Dots(AlturaBarras));
    r.append(ExibeCodigo == becSIM ? ",Y,N" : ",N,N");
    return r;
}

std::string TCdbETQZplII::ComandoCaixa(int Altura, int Largura, int Espessura, int Canto) {
    std::string r = "^GB";
    AnexarNumero(r, Dots(Largura));
    r.push_back(',');
    AnexarNumero(r, Dots(Altura));
    r.push_back(',');
    AnexarNumero(r, std::max(Dots(Espessura), 1));
    r.append(",B,");
    AnexarNumero(r, std::clamp(Canto, 0, 8));
    r.append("^FS");
    return r;
}

std::string TCdbETQZplII::CalcularCRC16(const std::string& Texto) {
    uint16_t crc = 0;
    for (unsigned char c : Texto) {
        crc ^= static_cast<uint16_t>(c << 8);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
    }
    static const char hex[] = "0123456789ABCDEF";
    return {hex[crc >> 12], hex[(crc >> 8) & 15], hex[(crc >> 4) & 15], hex[crc & 15]};
}

std::string TCdbETQZplII::ComandoImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte,
                                               int MultiplicadorH, int MultiplicadorV, int Vertical, int Horizontal,
                                               const std::string& Texto, int, bool ImprimirReverso) {
    if (Texto.size() > 255) throw Exception("Tamanho máximo para o texto 255 caracteres");
    std::string r = ComandoCoordenadas(Vertical, Horizontal);
    r.reserve(40 + Texto.size());
    r.append(ComandoFonte(Fonte, MultiplicadorV, MultiplicadorH, Orientacao));
    r.append(ComandoReverso(ImprimirReverso));
    r.append(ComandoCores());
    AnexarDados(r, Texto);
    return r;
}

std::string TCdbETQZplII::ComandoImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                                                int LarguraBarraLarga, int LarguraBarraFina, int Vertical,
                                                int Horizontal, const std::string& Texto, int AlturaCodBarras,
                                                TCdbETQBarraExibeCodigo ExibeCodigo) {
    std::string r = ComandoCoordenadas(Vertical, Horizontal);
    r.reserve(48 + Texto.size());
    r.append(ComandoCores());
    r.append(ComandoLarguraBarras(LarguraBarraFina, LarguraBarraLarga, AlturaCodBarras));
    r.append(ComandoTipoBarras(TipoBarras, Orientacao, AlturaCodBarras, ExibeCodigo));
    AnexarDados(r, Texto);
    return r;
}

std::string TCdbETQZplII::ComandoImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura) {
    std::string r = ComandoCoordenadas(Vertical, Horizontal);
    r.append(ComandoCores());
    r.append(ComandoCaixa(Altura, Largura, std::min(Largura, Altura), 0));
    return r;
}

std::string TCdbETQZplII::ComandoImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura,
                                               int EspessuraVertical, int EspessuraHorizontal, int Canto) {
    std::string r = ComandoCoordenadas(Vertical, Horizontal);
    r.append(ComandoCores());
    r.append(ComandoCaixa(Altura, Largura, std::max(EspessuraVertical, EspessuraHorizontal), Canto));
    r.append("^FS");
    return r;
}
