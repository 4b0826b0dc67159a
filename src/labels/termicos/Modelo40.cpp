// Model 40: PPLA, three 22x33 labels per row, no barcode: the short code,
// the name in two lines and a large price.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela40() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3,
                                                          360,
                                                          true,
                                                          {
                                                              Texto(2, 20, 160, fonte::Fixo("Codigo: ")),
                                                              Texto(3, 130, 160, fonte::CodigoReduzido()),
                                                              Texto(2, 20, 120, fonte::Nome(1, 22)),
                                                              Texto(2, 20, 90, fonte::Nome(23, 44)),
                                                              Texto(5, 30, 10, fonte::Preco()),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_40(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela40()); }
