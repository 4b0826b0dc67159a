#pragma once
// The picture of a label model, for choosing one by looking at it. A thermal
// or shelf-edge model runs its own routine over a few sample goods (a long
// and a short name, an EAN-13 and a short code, a variant row) in the chosen
// printer language; the component writes to memory and the stream is drawn
// as the printer would, one row of labels. An A4 model is a thumbnail of its
// first page with the cell grid. No widgets: the configuration panel and
// etiquetas-cli show or save the pictures.
#include <QImage>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "labels/Mercadoria.h"

class TdtmAplicativo;

namespace previa {

struct TFiguraModelo {
    QImage imagem;                     // null when the model could not be drawn
    std::string erro;                  // then the reason
    int dpi = 203;                     // of the image: printer dots, or 96 per inch for an A4 page
    std::vector<std::string> avisos;   // what the preview skipped or could not make
    std::vector<std::string> codigos;  // barcodes of the labels shown, as the stream sends them
};

// The sample goods and queue rows the pictures are drawn over.
struct TAmostra {
    std::vector<TMercadoria> mercadorias;
    std::vector<TLinhaFila> fila;
};
const TAmostra& AmostraGaleria();

// Draws `modelo` in `linguagem` ("PPLA", "PPLB", "EPL2", "ZPL"; empty: the
// language the model was written for). Model 09 reads its layout from the
// format table of `dtm`'s database. Never raises for a model that cannot be
// drawn: the figure carries the reason. Needs a QGuiApplication.
TFiguraModelo DesenharModelo(int modelo, const std::string& linguagem, TdtmAplicativo& dtm);

// The reason a model could not be drawn, as a picture of its own (a gallery
// of files keeps one file per model).
QImage ImagemDoMotivo(const std::string& motivo);

// The pictures drawn so far, by model and language.
class TGaleriaModelos {
public:
    explicit TGaleriaModelos(TdtmAplicativo& dtm) : dtm_(dtm) {}
    const TFiguraModelo& Figura(int modelo, const std::string& linguagem);
    void Esquecer() { cache_.clear(); }

private:
    TdtmAplicativo& dtm_;
    std::map<std::pair<int, std::string>, TFiguraModelo> cache_;
};

}  // namespace previa
