#pragma once
// The preview of a print: the dispatcher runs the configured model over the
// queue exactly as "Imprimir" does, but the component's port is memory, so
// nothing reaches the printer; each print job is drawn as soon as it is
// composed. No widgets: the queue window and etiquetas-cli show or save the
// images.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "previa/Desenho.h"

class TImpressaoEtiquetas;

namespace previa {

struct TResultadoPrevia {
    int modelo = 0;
    Linguagem linguagem = Linguagem::Ppla;
    int imagens = 0;                  // label images handed over
    int trabalhos = 0;                // print jobs the layout composed
    std::vector<std::string> avisos;  // what the readers skipped, codes that could not be made
};

class TPreviaImpressao {
public:
    explicit TPreviaImpressao(TImpressaoEtiquetas& impressao) : imp_(impressao) {}

    int Dpi = 203;            // the printer's resolution
    Opcoes Tamanho;           // label size; fits the drawing by default
    int MaxImagens = 100000;  // the walk stops once this many are drawn
    // Receives every label image in print order (index from 0); answer false to stop.
    std::function<bool(const QImage& imagem, int indice)> AoImagem;
    // Receives each job's stream as well, for tests and diagnostics.
    std::function<void(const std::string& fluxo)> AoFluxo;

    // Runs the dispatcher (configEtq.ini settings, filter, model routine);
    // an A4 sheet model is refused before anything runs.
    TResultadoPrevia Executar();

private:
    TImpressaoEtiquetas& imp_;
};

}  // namespace previa
