// Model 25: PPLA for Argox, one label per row: barcode on the left, texts on
// the right.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela25() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Barras(15, 35, fonte::Codigo(), 50, becNAO,
                                         PorComprimento({
                                             {13, 13, "F", 15, 10, 60, becSIM},
                                             {0, kSemLimite, "E", 15, 35, 50, becNAO},
                                         })),
                                  Quando(Texto(2, 100, 7, fonte::Codigo()), ComprimentoDiferente(fonte::Codigo(), 13)),
                                  Texto(2, 305, 1, fonte::Aplicacao()),
                                  Texto(2, 305, 30, fonte::Referencia()),
                                  Texto(2, 305, 65, fonte::PrecoMercadoriaSimples()),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_25(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela25()); }
