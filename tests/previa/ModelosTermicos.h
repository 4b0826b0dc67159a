#pragma once
// What the model list says of each thermal and shelf-edge model: the language
// it is written for, labels per row and column pitch (tenths of a millimetre;
// 0 for one label per row), and the label height in millimetres where the
// list names it.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <string>

#include "Apoio.h"

struct ModeloTermico {
    int numero;
    const char* linguagem;
    int colunas;
    int passo;
    int alturaMm;
};

inline const ModeloTermico kModelosTermicos[] = {
    {1, "PPLB", 3, 370, 0},   {2, "PPLA", 1, 0, 0},     {3, "PPLB", 2, 520, 0},   {4, "EPL2", 3, 293, 0},
    {5, "PPLA", 3, 290, 0},   {6, "PPLA", 1, 0, 0},     {7, "EPL2", 3, 360, 0},   {8, "PPLA", 3, 360, 0},
    {10, "PPLA", 2, 540, 0},  {11, "PPLA", 3, 360, 22}, {12, "PPLB", 1, 0, 0},    {13, "PPLA", 1, 0, 0},
    {14, "EPL2", 3, 360, 0},  {15, "PPLA", 1, 0, 0},    {16, "PPLA", 3, 360, 22}, {17, "PPLA", 3, 340, 22},
    {18, "PPLA", 3, 340, 22}, {19, "PPLA", 1, 0, 0},    {21, "PPLA", 1, 0, 0},    {22, "PPLA", 3, 360, 22},
    {23, "PPLA", 2, 530, 0},  {24, "PPLA", 2, 540, 30}, {25, "PPLA", 1, 0, 0},    {27, "PPLA", 3, 320, 0},
    {29, "PPLA", 2, 555, 0},  {30, "PPLA", 3, 330, 0},  {31, "PPLA", 2, 540, 0},  {36, "EPL2", 1, 0, 0},
    {37, "PPLA", 1, 0, 0},    {38, "EPL2", 3, 320, 0},  {40, "PPLA", 3, 360, 22}, {41, "PPLA", 1, 0, 0},
    {43, "PPLA", 2, 540, 30}, {44, "PPLA", 1, 0, 0},    {45, "PPLA", 3, 350, 30}, {46, "PPLA", 3, 350, 30},
    {47, "PPLA", 2, 520, 0},  {48, "PPLA", 2, 460, 25}, {49, "PPLA", 1, 0, 0},    {50, "PPLA", 1, 0, 0},
    {51, "EPL2", 1, 0, 0},    {52, "PPLA", 2, 530, 0},  {53, "PPLA", 3, 340, 0},  {54, "PPLA", 3, 340, 0},
    {56, "PPLA", 1, 0, 0},    {57, "PPLA", 1, 0, 0},    {58, "ZPL", 3, 325, 0},   {59, "PPLA", 1, 0, 0},
};

// Tenths of a millimetre to dots at 203 dpi.
inline double DotsExatos(int decimos) { return decimos * 203 / 254.0; }
inline int Dots(int decimos) { return static_cast<int>(std::lround(DotsExatos(decimos))); }

// The code zbarimg reads in one element's area of the image ("" when none).
// Each dot becomes a 3x3 square first, as a scanner sees a print: zbar
// misses codes whose narrow bar is a single pixel.
inline std::string LerCodigo(const QImage& img, const QRect& caixa) {
    const QRect area = caixa.adjusted(-12, -12, 12, 12).intersected(img.rect());
    QImage recorte(area.size() + QSize(40, 40), QImage::Format_RGB32);
    recorte.fill(Qt::white);
    QPainter(&recorte).drawImage(QPoint(20, 20), img.copy(area));
    const auto lidos = Decodificar(recorte.scaled(recorte.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return lidos.empty() ? "" : lidos.front();
}

// The code zbarimg reads from element `i` of a label drawn alone: what a
// neighbour runs into it is a matter for the label's bounds, not the symbol.
inline std::string LerCodigoSozinho(const previa::Etiqueta& etq, size_t i) {
    previa::Etiqueta so;
    so.elementos = {etq.elementos.at(i)};
    previa::Geometria g;
    const QImage img = previa::Desenhar(so, 203, {}, &g);
    return g.posicoes.empty() ? "" : LerCodigo(img, g.posicoes.front().caixa);
}

// What a printer prints for an EAN-13 sent with a wrong check digit: the
// code with the digit it works out itself.
inline std::string ComDigitoEan13(std::string codigo) {
    if (codigo.size() != 13 || codigo.find_first_not_of("0123456789") != std::string::npos) return codigo;
    int soma = 0;
    for (int i = 0; i < 12; ++i) soma += (codigo[i] - '0') * (i % 2 ? 3 : 1);
    codigo[12] = static_cast<char>('0' + (10 - soma % 10) % 10);
    return codigo;
}
