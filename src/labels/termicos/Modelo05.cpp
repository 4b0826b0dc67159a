// Model 05: PPLA, three labels per row; bar widths by the code's length.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela05() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {3,
                              290,
                              true,
                              {
                                  Texto(3, 15, 3, fonte::Preco()),
                                  Texto(2, 15, 45, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Barras(30, 80, fonte::CodigoFila(), 80, becSIM,
                                         PorComprimento({
                                             {13, 13, "F", 5, 80, 90, becSIM, "1", "1"},
                                             {0, 4, "E", 30, 80, 80, becSIM, "2", "2"},
                                             {0, kSemLimite, "E", 30, 80, 80, becSIM, "1", "1"},
                                         })),
                                  Texto(2, 15, 180, fonte::Variante(1, 16)),
                                  Texto(2, 15, 210, fonte::Nome(1, 16)),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_05(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela05()); }
