// Shelf-edge model 21: PPLA for Elgin, one wide label per goods row: the
// barcode of model 19 without the frame and the unit, moved by ADDCOLUNA.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela21() {
    static const TModeloTermico m = EscritoPara(etqPpla, {1,
                                                          0,
                                                          true,
                                                          {
                                                              Texto(3, 45, 190, fonte::Nome(), 1, 2),
                                                              Texto(2, 480, 10, fonte::Fixo("R$"), 2, 2),
                                                              Texto(4, 550, 10, fonte::PrecoMercadoriaSimples(), 2, 3),
                                                              BarrasGondola(),
                                                              TextoCodigoGondola(),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_21(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela21()); }
