#pragma once
// The picture of a model 09 design while it is being edited: one row of
// labels drawn from the very stream model 09 composes for the design (the
// print routine over sample goods or the first goods of the queue, in the
// configured language, to memory), where each element lands and which field
// row made it, and the warnings the drawing shows (an element leaving its
// label, a text cut by its size) beside those of the design itself. No
// widgets: the editor window shows it, tests and the benchmark use it as is.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <string>
#include <vector>

#include "labels/Leiaute09.h"
#include "previa/Galeria.h"

class TdtmAplicativo;

namespace previa {

// What the picture is drawn for: the print settings and the goods.
struct TAmbiente09 {
    std::string linguagem = "PPLA";    // MODELO
    std::string impressora = "ARGOX";  // MODELO IMPRESSORA
    int addColuna = 0;                 // ADDCOLUNA, tenths of a millimetre
    int alturaMm = 0;                  // the label stock's height; 0: not given (not checked)
    std::string textoParametro = "TEXTO PARAMETRO";
    TAmostra amostra;  // empty: the sample goods of the gallery
};

// The print settings of configEtq.ini over the sample goods.
TAmbiente09 AmbienteConfigurado09();

// The first `quantas` rows of the label queue that print (a quantity above
// 0 and goods that exist), with their goods; empty when there are none.
TAmostra AmostraDaFila09(TdtmAplicativo& dtm, size_t quantas);

// One drawing call of the stream: the field row that made it, the label
// (0-based column) it belongs to, and its box on the image in dots.
struct TElementoFigura09 {
    int campo = -1;
    int etiqueta = 0;
    QRect caixa;
};

struct TFigura09 {
    QImage imagem;  // the stream as the printer draws it, one pixel per dot
    int dpi = 203;
    std::string fluxo;  // the row of labels as the printer gets it
    std::vector<TElementoFigura09> elementos;
    std::vector<QRect> etiquetas;      // each label of the row: pitch wide, the given height tall
    std::vector<TAviso09> avisos;      // the design's and the drawing's
    std::vector<std::string> codigos;  // barcodes the stream sends
    std::string erro;                  // why there is no picture
};

// Never raises: a design the component refuses gives the reason in `erro`.
// Needs a QGuiApplication.
TFigura09 DesenharLeiaute09(const TLeiaute09& leiaute, const TAmbiente09& ambiente, TdtmAplicativo& dtm);

// The field row whose element covers `ponto` (dots), the smallest box first;
// -1 when none.
int CampoNoPonto(const TFigura09& figura, QPoint ponto);

// Dots of a length in tenths of a millimetre, rounded as the driver rounds.
int DotsDeDecimos(int decimos, int dpi = 203);

}  // namespace previa
