// Model 23: PPLA for Elgin, two labels per row; the bars and the code text
// under them move with the code's length.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela23() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {2,
                  530,
                  true,
                  {
                      Texto(3, 35, 200, fonte::Nome(1, 25)),
                      Texto(3, 35, 160, fonte::Nome(26, 50)),
                      Barras(130, 90, fonte::CodigoFila(), 60, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 130, 90, 60, becNAO},
                                 {5, 9, "E", 130, 90, 60, becNAO},
                                 {10, kSemLimite, "E", 50, 90, 60, becNAO},
                                 {0, 4, "E", 180, 90, 60, becNAO},
                             })),
                      ComRegra(Texto(2, 150, 65, fonte::CodigoFila()), PosicaoPorComprimento(fonte::CodigoFila(),
                                                                                             {
                                                                                                 {0, 4, 230},
                                                                                                 {5, kSemLimite, 150},
                                                                                             })),
                      Texto(3, 35, 20, fonte::Prefixo("Ref: ", fonte::Referencia())),
                  }});
    return m;
}

}  // namespace

void Etiq_Modelo_23(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela23()); }
