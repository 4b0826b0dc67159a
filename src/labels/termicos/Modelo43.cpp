// Model 43: PPLA, two 50x30 labels per row, with model 10's barcode.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela43() {
    static const TModeloTermico m = EscritoPara(etqPpla, {2,
                                                          540,
                                                          true,
                                                          {
                                                              Texto(3, 30, 210, fonte::Preco()),
                                                              Texto(2, 30, 175, fonte::Nome(1, 26)),
                                                              Texto(2, 30, 140, fonte::Nome(27, 52)),
                                                              Barras10(),
                                                              TextoCodigo10(),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_43(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela43()); }
