// Model 29: PPLA, a hanging tag two per row; a name of 16 characters or more
// takes two lines.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela29() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {2,
                              555,
                              true,
                              {
                                  Barras(60, 105, fonte::Codigo(), 50, becSIM,
                                         PorComprimento({
                                             {13, 13, "F", 30, 105, 50, becSIM},
                                             {5, kSemLimite, "E", 35, 105, 50, becSIM},
                                             {0, 4, "E", 60, 105, 50, becSIM},
                                         })),
                                  Quando(Texto(2, 40, 50, fonte::Nome()), std::not_fn(NomeMaiorQue(15))),
                                  Quando(Texto(2, 40, 65, fonte::Nome(1, 15)), NomeMaiorQue(15)),
                                  Quando(Texto(2, 40, 35, fonte::Nome(16, 30)), NomeMaiorQue(15)),
                                  Texto(2, 110, 5, fonte::Preco()),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_29(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela29()); }
