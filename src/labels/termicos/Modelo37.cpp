// Shelf-edge model 37: PPLA for Argox, one wide label per goods row, no
// "R$" and no frame. Not moved by ADDCOLUNA.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela37() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {1,
                  0,
                  false,
                  {
                      Texto(3, 45, 15, fonte::Nome(), 1, 2),
                      Texto(2, 600, 120, fonte::PrecoMercadoriaSimples(), 2, 3),
                      Barras(100, 135, fonte::Codigo(), 90, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 120, 120, 90, becSIM, "3", "3"},
                                 {9, kSemLimite, "E", 50, 135, 90, becNAO, "2", "2"},
                                 {4, 8, "E", 100, 135, 90, becNAO, "3", "3"},
                                 {0, 3, "E", 100, 135, 90, becNAO, "3", "3", "0"},
                             })),
                      Quando(Texto(2, 150, 100, fonte::Codigo()), ComprimentoDiferente(fonte::Codigo(), 13)),
                  }});
    return m;
}

}  // namespace

void Etiq_Modelo_37(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela37()); }
