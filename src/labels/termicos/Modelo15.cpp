// Model 15: PPLA, a hanging tag. A 13-character code gets no barcode: the tag
// is too narrow for an EAN-13.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela15() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Barras(200, 2, fonte::Codigo(), 80, becSIM,
                                         PorComprimento({
                                             {0, 4, "E", 200, 2, 80, becSIM, "2", "2"},
                                             {5, 12, "E", 200, 2, 80, becSIM, "1", "1"},
                                             {14, kSemLimite, "E", 200, 2, 80, becSIM, "1", "1"},
                                         })),
                                  Texto(1, 45, 75, fonte::Referencia(1, 20)),
                                  Texto(1, 45, 55, fonte::Aplicacao(1, 20)),
                                  Texto(1, 45, 35, fonte::Aplicacao2(1, 20)),
                                  Texto(2, 45, 10, fonte::PrecoMercadoriaSimples()),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_15(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela15()); }
