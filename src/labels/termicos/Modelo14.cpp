// Model 14: EPL2, three labels per row, from the queue's own name and code.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela14() {
    static const TModeloTermico m = EscritoPara(etqEpl2, {3,
                                                          360,
                                                          true,
                                                          {
                                                              Texto(2, 20, 8, fonte::NomeFila(1, 20)),
                                                              Texto(2, 20, 32, fonte::NomeFila(21, 40)),
                                                              Barras(45, 67, fonte::CodigoFila(), 55, becSIM,
                                                                     PorComprimento({
                                                                         {13, 13, "E30", 27, 67, 55, becSIM},
                                                                         {0, kSemLimite, "1", 45, 67, 55, becSIM},
                                                                     })),
                                                              Texto(3, 200, 130, fonte::Fixo("Codigo")),
                                                              Texto(3, 20, 170, fonte::Preco()),
                                                              Texto(3, 200, 170, fonte::CodigoReduzido()),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_14(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela14()); }
