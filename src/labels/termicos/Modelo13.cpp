// Model 13: PPLA, a hanging tag of two halves, both for the same goods.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela13() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Barras(40, 2, fonte::Codigo(), 40, becSIM, RegraFE),
                                  Barras(340, 2, fonte::Codigo(), 40, becSIM, RegraFE),
                                  Texto(2, 40, 70, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Texto(2, 340, 70, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Texto(2, 40, 100, fonte::Prefixo("R$: ", fonte::PrecoMercadoriaSimples())),
                                  Texto(2, 340, 100, fonte::Prefixo("R$: ", fonte::PrecoMercadoriaSimples())),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_13(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela13()); }
