#include "previa/Fluxo.h"

#include <cmath>

#include "previa/LeitorComum.h"

namespace previa {

Linguagem LinguagemDoModelo(TCdbETQModelo modelo) {
    switch (modelo) {
        case etqPpla: return Linguagem::Ppla;
        case etqPplb:
        case etqEpl2: return Linguagem::Epl2;
        default: return Linguagem::Zpl;  // ZPL II and its EscLabel variant
    }
}

const char* NomeLinguagem(Linguagem l) {
    switch (l) {
        case Linguagem::Ppla: return "PPLA";
        case Linguagem::Epl2: return "EPL2";
        default: return "ZPL";
    }
}

Leitura Ler(std::string_view fluxo, Linguagem linguagem, int dpi) {
    switch (linguagem) {
        case Linguagem::Ppla: return LerPpla(fluxo, dpi);
        case Linguagem::Epl2: return LerEpl2(fluxo, dpi);
        default: return LerZpl(fluxo, dpi);
    }
}

namespace {
// The printers' tables are given for 203 dpi; the 300 and 600 dpi heads carry
// fonts of about the same physical size.
Celula Escalar(int largura, int altura, int dpi) {
    if (dpi == 203) return {largura, altura};
    const double f = dpi / 203.0;
    return {static_cast<int>(std::lround(largura * f)), static_cast<int>(std::lround(altura * f))};
}
}  // namespace

bool CelulaPpla(char fonte, int subFonte, int dpi, Celula& celula) {
    // Advance (character plus spacing) and height of fonts 0..8 at 203 dpi.
    static constexpr int tabela[9][2] = {{6, 7},   {9, 13},  {12, 18}, {16, 27}, {21, 36},
                                         {21, 52}, {36, 64}, {20, 27}, {20, 28}};
    if (fonte >= '0' && fonte <= '8') {
        const auto& t = tabela[fonte - '0'];
        celula = Escalar(t[0], t[1], dpi);
        return true;
    }
    if (fonte == '9') {
        // The smooth font: the sub-font field gives its size in points (10 when unset).
        int pontos = subFonte > 0 ? std::min(subFonte, 144) : 10;
        int altura = std::max(1, static_cast<int>(std::lround(pontos * dpi / 72.0)));
        celula = {std::max(1, altura * 6 / 10), altura};
        return true;
    }
    return false;
}

bool CelulaEpl2(char fonte, int dpi, Celula& celula) {
    // Advance from the fonts' pitch (20.3, 16.9, 14.5, 12.7 and 5.6 characters per inch).
    static constexpr int tabela[5][2] = {{10, 12}, {12, 16}, {14, 20}, {16, 24}, {36, 48}};
    if (fonte < '1' || fonte > '5') return false;
    const auto& t = tabela[fonte - '1'];
    celula = Escalar(t[0], t[1], dpi);
    return true;
}

bool CelulaZpl(char fonte, int dpi, Celula& celula) {
    // Matrix height and advance (width plus gap) of the bitmap fonts at 203 dpi.
    switch (fonte) {
        case 'A': celula = Escalar(6, 9, dpi); return true;
        case 'B': celula = Escalar(9, 11, dpi); return true;
        case 'C':
        case 'D': celula = Escalar(12, 18, dpi); return true;
        case 'E': celula = Escalar(20, 28, dpi); return true;
        case 'F': celula = Escalar(16, 26, dpi); return true;
        case 'G': celula = Escalar(48, 60, dpi); return true;
        case 'H': celula = Escalar(19, 21, dpi); return true;
        case '0': celula = Escalar(12, 15, dpi); return true;  // scalable; sized by ^A
        default: return false;
    }
}

}  // namespace previa
