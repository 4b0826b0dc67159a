// Shelf-edge model 12: PPLB, one wide label per goods row, moved by ADDCOLUNA.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela12() {
    static const TModeloTermico m =
        EscritoPara(etqPplb, {1,
                              0,
                              true,
                              {
                                  Texto(2, 580, 50, fonte::Fixo("R$"), 2, 2),
                                  Texto(3, 650, 50, fonte::PrecoMercadoriaSimples(), 2, 3),
                                  Barras(100, 50, fonte::Codigo(), 90, becSIM, RegraE30_1, "3", "3"),
                                  Texto(3, 100, 200, fonte::Nome(), 1, 2),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_12(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela12()); }
