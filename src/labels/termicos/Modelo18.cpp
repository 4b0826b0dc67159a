// Model 18: PPLA for the Elgin L42, three 22x33 labels per row.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela18() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3,
                                                          340,
                                                          true,
                                                          {
                                                              Texto(3, 15, 30, fonte::Preco()),
                                                              Texto(2, 30, 90, fonte::Codigo()),
                                                              Barras(10, 120, fonte::Codigo(), 50, becNAO,
                                                                     PorComprimento({
                                                                         {13, 13, "F", 10, 120, 50, becNAO},
                                                                         {0, 4, "E", 20, 120, 50, becNAO},
                                                                         {5, kSemLimite, "E", 10, 120, 50, becNAO},
                                                                     })),
                                                              Texto(2, 10, 173, fonte::Nome(21, 40)),
                                                              Texto(2, 10, 200, fonte::Nome(1, 20)),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_18(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela18()); }
