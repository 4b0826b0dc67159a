// Model 44: PPLA, a hanging tag, one per row.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela44() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Texto(2, 70, 10, fonte::Codigo()),
                                  Barras(40, 45, fonte::Codigo(), 70, becNAO, RegraFE),
                                  Texto(2, 340, 10, fonte::Nome(21, 40)),
                                  Texto(2, 340, 50, fonte::Nome(1, 20)),
                                  Texto(3, 340, 90, fonte::Prefixo("R$: ", fonte::PrecoMercadoriaSimples())),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_44(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela44()); }
