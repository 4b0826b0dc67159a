#pragma once
// Draws the labels a stream describes, one image per label, at the printer's
// resolution (one pixel per dot, black on white). Internal fonts are drawn with
// a scaled monospaced font that fills each character cell; barcodes come from
// zint with the bar widths, height and readable line the command asked for.
// Needs a QGuiApplication (fonts); no widgets.
#include <QImage>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "previa/Fluxo.h"

class QGuiApplication;

namespace previa {

struct Opcoes {
    // Label size in dots; 0 takes the stream's (^PW, ^LL, q, Q) or else fits
    // the drawing with `margem` dots to spare on the right and at the bottom.
    int larguraDots = 0;
    int alturaDots = 0;
    int margem = 8;
};

// Where each element lands on the image, in pixels (= dots).
struct Posicao {
    TipoElemento tipo = TipoElemento::Texto;
    QRect caixa;
    std::string dados;
    std::string comando;
    int simbologia = 0;  // zint's, for barcodes
    QRect tinta;         // the part that prints: a text without its blanks at either end (empty when all blank)
};

struct Geometria {
    int largura = 0, altura = 0;
    std::vector<Posicao> posicoes;
    std::vector<std::string> avisos;  // barcodes that could not be made, size cut
};

// The largest image drawn, per side; a label beyond it is cut.
constexpr int kMaxLado = 6000;

Geometria Medir(const Etiqueta& etiqueta, int dpi, const Opcoes& opcoes = {});
QImage Desenhar(const Etiqueta& etiqueta, int dpi, const Opcoes& opcoes = {}, Geometria* geometria = nullptr);

// Every printed label image of a reading in print order, each repeated for
// its copies (at most `maxImagens` images in all).
struct Previa {
    Leitura leitura;
    std::vector<QImage> imagens;
    std::vector<std::string> avisos;  // the reader's and the drawing's
};
Previa Visualizar(std::string_view fluxo, Linguagem linguagem, int dpi, const Opcoes& opcoes = {},
                  int maxImagens = 10000);

// "etiqueta-0001.png", ... for the image of (0-based) `indice` in print order.
std::string NomeImagemPng(int indice);
// Writes `img` as a PNG of one bit per dot, as the print head sees it (small
// files); false when the file cannot be written.
bool GravarPng(const QImage& img, const std::string& arquivo);

// A QGuiApplication when none exists yet; without a display the offscreen
// platform is chosen, so drawing works on a server or in a script.
std::unique_ptr<QGuiApplication> GarantirAplicacaoGrafica();

}  // namespace previa
