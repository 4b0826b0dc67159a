#pragma once
// What a label printer would draw, read back from the bytes the driver sends.
// Each reader understands every command the driver emits in its language;
// anything else is skipped and counted, and a damaged stream yields whatever
// elements could be read. Plain C++, no Qt.
#include <string>
#include <string_view>
#include <vector>

#include "etq/CdbETQ.h"

namespace previa {

enum class Linguagem { Ppla, Epl2, Zpl };

// The language object the component uses for a printer model (PPLB speaks EPL2).
Linguagem LinguagemDoModelo(TCdbETQModelo modelo);
const char* NomeLinguagem(Linguagem l);

enum class TipoElemento { Texto, Barras, Retangulo };

// How a field's position relates to its drawing, per language.
enum class Ancora {
    SuperiorEsquerdo,  // EPL2: (x, y) is the top-left corner; rotation turns about it
    InferiorEsquerdo,  // PPLA: y counts up from row 0 to the lower-left corner
    CaixaGirada,       // ZPL: (x, y) is the top-left corner of the field after rotation
};

// The paint mode of a field.
enum class Pintura {
    Preto,    // black on whatever is below
    Inverso,  // white on a black cell (PPLA A5, EPL2 "R")
    Xor,      // flips what is below (ZPL ^FR, EPL2 LE)
    Branco,   // white (EPL2 LW)
};

struct Elemento {
    TipoElemento tipo = TipoElemento::Texto;
    int x = 0, y = 0;  // printer dots
    int rotacao = 0;   // degrees clockwise: 0, 90, 180, 270
    Ancora ancora = Ancora::SuperiorEsquerdo;
    Pintura pintura = Pintura::Preto;
    std::string dados;  // text or barcode data, bytes as sent (Windows-1252)

    // Text: the printer font and the character cell it gives, in dots,
    // already multiplied (advance per character and line height).
    std::string fonte;
    int celulaL = 0, celulaA = 0;

    // Barcode: zint symbology, narrow (module) and wide bar in dots, bar
    // height in dots, the readable line below (or above) the bars.
    int simbologia = 0;
    std::string tipoBarras;  // the type as the command named it
    int barraFina = 1, barraLarga = 2;
    int altura = 0;
    bool legivel = false, legivelAcima = false;

    // Rectangle: size in dots; espessura 0 or >= half the smaller side fills it.
    int largura = 0, alturaRet = 0;
    int espessuraH = 0, espessuraV = 0;  // top/bottom and sides
    int canto = 0;                       // ZPL rounding 0..8

    std::string comando;  // the command that made it, for messages
};

struct Etiqueta {
    std::vector<Elemento> elementos;
    int copias = 1;
    bool girar180 = false;                // ZPL ^POI, EPL2 ZT
    int larguraDots = 0, alturaDots = 0;  // when the stream gives them (^PW, ^LL, q, Q)
    bool impressa = true;                 // false when the stream ended before the print command
};

struct Leitura {
    Linguagem linguagem = Linguagem::Zpl;
    int dpi = 203;
    std::vector<Etiqueta> etiquetas;
    int ignorados = 0;                // commands skipped: unknown or unreadable
    std::vector<std::string> avisos;  // what was skipped and why (the first 50)
};

Leitura LerPpla(std::string_view fluxo, int dpi = 203);
Leitura LerEpl2(std::string_view fluxo, int dpi = 203);
Leitura LerZpl(std::string_view fluxo, int dpi = 203);
Leitura Ler(std::string_view fluxo, Linguagem linguagem, int dpi = 203);

// Character cell (advance and height, dots at `dpi`) of a printer's internal
// font, before multipliers; false when the language has no such font.
struct Celula {
    int largura = 0, altura = 0;
};
bool CelulaPpla(char fonte, int subFonte, int dpi, Celula& celula);
bool CelulaEpl2(char fonte, int dpi, Celula& celula);
bool CelulaZpl(char fonte, int dpi, Celula& celula);

}  // namespace previa
