// Model 16: PPLA, three 22x33 labels per row, the queue's code over its bars.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela16() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {3,
                              360,
                              true,
                              {
                                  Texto(3, 15, 3, fonte::Preco()),
                                  Texto(2, 15, 45, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Texto(2, 30, 72, fonte::CodigoFila()),
                                  Barras(30, 105, fonte::CodigoFila(), 50, becNAO,
                                         PorComprimento({
                                             {13, 13, "F", 15, 105, 50, becNAO},
                                             {0, kSemLimite, "E", 30, 105, 50, becNAO},
                                         })),
                                  Texto(2, 15, 160, fonte::Nome(23, 44)),
                                  Texto(2, 15, 187, fonte::Nome(1, 22)),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_16(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela16()); }
