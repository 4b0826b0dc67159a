// Model 17: PPLA for the Elgin L42, three 22x33 labels per row; a long name
// takes two lines.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela17() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {3,
                              340,
                              true,
                              {
                                  Texto(3, 80, 170, fonte::Preco()),
                                  Texto(2, 30, 145, fonte::Referencia()),
                                  Barras(30, 90, fonte::Codigo(), 50, becNAO, RegraFE),
                                  Texto(2, 60, 65, fonte::Codigo()),
                                  Quando(Texto(2, 20, 35, fonte::Nome(1, 22)), NomeMaiorQue(22)),
                                  Quando(Texto(2, 20, 5, fonte::Nome(23, 44)), NomeMaiorQue(22)),
                                  Quando(Texto(2, 20, 20, fonte::Nome(1, 22)), std::not_fn(NomeMaiorQue(22))),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_17(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela17()); }
