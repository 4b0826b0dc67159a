#include "etq/CdbETQEpl2.h"

#include <algorithm>
#include <string_view>

#include "common/Excecoes.h"

using etq::AnexarNumero;

TCdbETQEpl2::TCdbETQEpl2(TCdbETQ* dono) : TCdbETQClass(dono) {
    ModeloStr = "EPL2";
    MaxCopias = 65535;
    Unidade = etqDots;
}

char TCdbETQEpl2::DigitoRotacao(TCdbETQOrientacao o) {
    switch (o) {
        case or270: return '3';
        case or180: return '2';
        case or90: return '1';
        default: return '0';
    }
}

void TCdbETQEpl2::AnexarAspas(std::string& destino, const std::string& texto) {
    if (!texto.empty() && texto[0] == '"') {
        destino.append(texto);
        return;
    }
    destino.push_back('"');
    for (char c : texto) {
        if (c == '\\' || c == '"') destino.push_back('\\');
        destino.push_back(c);
    }
    destino.push_back('"');
}

void TCdbETQEpl2::AnexarPosicao(std::string& destino, int Vertical, int Horizontal) {
    AnexarNumero(destino, Dots(Horizontal));
    destino.push_back(',');
    AnexarNumero(destino, Dots(Vertical));
}

std::string TCdbETQEpl2::ComandoAbertura() { return "R0,0"; }

std::string TCdbETQEpl2::ComandoBackFeed() {
    switch (BackFeed) {
        case bfOn: return "JF";
        case bfOff: return "JB";
        default: return {};
    }
}

std::string TCdbETQEpl2::ComandoGuilhotina() { return Guilhotina ? "OC" : "O"; }

std::string TCdbETQEpl2::ComandoTemperatura() {
    if (Temperatura < 0 || Temperatura > 15) throw Exception("Temperatura deve ser de 0 a 15");
    return "D" + std::to_string(Temperatura);
}

std::string TCdbETQEpl2::ComandoPaginaDeCodigo() {
    switch (PaginaDeCodigo) {
        case pce437: return "I8,0,001";
        case pce850: return "I8,1,001";
        case pce852: return "I8,2,001";
        case pce860: return "I8,3,001";
        case pce1250: return "I8,B,001";
        case pce1252: return "I8,A,001";
        default: return {};
    }
}

std::string TCdbETQEpl2::ComandoOrigemCoordenadas() { return Origem == ogTop ? "ZT" : "ZB"; }

std::string TCdbETQEpl2::ComandoVelocidade() {
    if (Velocidade < 0) return {};
    if (Velocidade > 6) throw Exception("Velocidade deve ser de 0 a 6");
    return "S" + std::to_string(Velocidade);
}

std::string TCdbETQEpl2::ComandoLimparMemoria() { return "N"; }

// The copy command prints by itself: no separate print or feed command.
std::string TCdbETQEpl2::ComandoCopias(int NumCopias) {
    TCdbETQClass::ComandoCopias(NumCopias);
    return "P" + std::to_string(NumCopias);
}

std::string TCdbETQEpl2::ComandoImprimirTexto(TCdbETQOrientacao Orientacao, const std::string& Fonte,
                                              int MultiplicadorH, int MultiplicadorV, int Vertical, int Horizontal,
                                              const std::string& Texto, int, bool ImprimirReverso) {
    std::string r = "A";
    r.reserve(32 + Texto.size());
    AnexarPosicao(r, Vertical, Horizontal);
    r.push_back(',');
    r.push_back(DigitoRotacao(Orientacao));
    r.push_back(',');
    char fonte = Fonte.empty() ? '3' : Fonte[0];
    if (fonte < '0' || fonte > '5') throw Exception("Fonte deve ser de \"0\" a \"5\"");
    if (fonte == '0') fonte = '3';
    r.push_back(fonte);
    r.push_back(',');
    if (MultiplicadorH < 1 || MultiplicadorH > 24) throw Exception("Multiplicador deve ser de 1 a 24");
    AnexarNumero(r, MultiplicadorH);
    r.push_back(',');
    if (MultiplicadorV < 1 || MultiplicadorV > 24) throw Exception("Multiplicador deve ser de 1 a 24");
    AnexarNumero(r, MultiplicadorV);
    r.append(ImprimirReverso ? ",R," : ",N,");
    if (fonte == '5') {
        // Font 5 has capitals only.
        std::string maiusculas = Texto;
        for (char& c : maiusculas)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        AnexarAspas(r, maiusculas);
    } else {
        AnexarAspas(r, Texto);
    }
    return r;
}

std::string TCdbETQEpl2::ComandoImprimirBarras(TCdbETQOrientacao Orientacao, const std::string& TipoBarras,
                                               int LarguraBarraLarga, int LarguraBarraFina, int Vertical,
                                               int Horizontal, const std::string& Texto, int AlturaCodBarras,
                                               TCdbETQBarraExibeCodigo ExibeCodigo) {
    // EAN/UPC and the German Postcode take only narrow bars of 2 to 4 dots (3 to 4 for 2G).
    static constexpr std::string_view tiposRestritos = "E80;E82;E85;E30;E32;E35;UA0;UA2;UA5;UE0;UE2;UE5;2G";
    int minimo = 1, maximo = 10;
    if (!TipoBarras.empty() && tiposRestritos.find(TipoBarras) != std::string_view::npos) {
        minimo = TipoBarras == "2G" ? 3 : 2;
        maximo = 4;
    }
    if (LarguraBarraFina < minimo || LarguraBarraFina > maximo)
        throw Exception("Barra Fina para o Cod.Barras " + TipoBarras + " deve ser de " + std::to_string(minimo) +
                        " a " + std::to_string(maximo));
    if (LarguraBarraFina < 1 || LarguraBarraFina > 10) throw Exception("Barra Fina deve ser de 1 a 10");
    if (LarguraBarraLarga < 2 || LarguraBarraLarga > 30) throw Exception("Barra Larga deve ser de 2 a 30");
    if (LarguraBarraLarga < LarguraBarraFina) throw Exception("Barra Fina deve ser inferior ou Igual a Barra Larga");

    std::string r = "B";
    r.reserve(40 + Texto.size());
    AnexarPosicao(r, Vertical, Horizontal);
    r.push_back(',');
    r.push_back(DigitoRotacao(Orientacao));
    r.push_back(',');
    r.append(TipoBarras);
    r.push_back(',');
    AnexarNumero(r, LarguraBarraFina);
    r.push_back(',');
    AnexarNumero(r, LarguraBarraLarga);
    r.push_back(',');
    AnexarNumero(r, Dots(AlturaCodBarras));
    r.append(ExibeCodigo == becSIM ? ",B," : ",N,");
    AnexarAspas(r, Texto);
    return r;
}

std::string TCdbETQEpl2::ComandoImprimirLinha(int Vertical, int Horizontal, int Largura, int Altura) {
    std::string r = "LO";
    AnexarPosicao(r, Vertical, Horizontal);
    r.push_back(',');
    AnexarNumero(r, Dots(Largura));
    r.push_back(',');
    AnexarNumero(r, Dots(Altura));
    return r;
}

std::string TCdbETQEpl2::ComandoImprimirCaixa(int Vertical, int Horizontal, int Largura, int Altura,
                                              int EspessuraVertical, int EspessuraHorizontal, int) {
    std::string r = "X";
    AnexarPosicao(r, Vertical, Horizontal);
    r.push_back(',');
    AnexarNumero(r, std::max(Dots(std::max(EspessuraHorizontal, EspessuraVertical)), 1));
    r.push_back(',');
    // The far corner is summed before conversion, as the printer expects it.
    AnexarNumero(r, Dots(static_cast<int>(
                        std::clamp<long long>(static_cast<long long>(Largura) + Horizontal, INT32_MIN, INT32_MAX))));
    r.push_back(',');
    AnexarNumero(
        r,
        Dots(static_cast<int>(std::clamp<long long>(static_cast<long long>(Altura) + Vertical, INT32_MIN, INT32_MAX))));
    return r;
}
