// Model 52: PPLA for the Elgin L42, two labels per row.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela52() {
    static const TModeloTermico m = EscritoPara(etqPpla, {2,
                                                          530,
                                                          true,
                                                          {
                                                              Texto(3, 15, 30, fonte::Preco()),
                                                              Texto(2, 30, 90, fonte::Codigo()),
                                                              Barras(10, 120, fonte::Codigo(), 100, becNAO,
                                                                     PorComprimento({
                                                                         {13, 13, "F", 10, 120, 100, becNAO},
                                                                         {0, 4, "E", 20, 120, 100, becNAO},
                                                                         {5, kSemLimite, "E", 10, 120, 100, becNAO},
                                                                     })),
                                                              Texto(2, 10, 240, fonte::Nome(36, 70)),
                                                              Texto(2, 10, 300, fonte::Nome(1, 35)),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_52(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela52()); }
