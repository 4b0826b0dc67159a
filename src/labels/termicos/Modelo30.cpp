// Model 30: PPLA, three labels per row; like model 27 it puts ADDCOLUNA to 0.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela30() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3,
                                                          330,
                                                          true,
                                                          {
                                                              Texto(2, 20, 105, fonte::Preco()),
                                                              Texto(2, 180, 105, fonte::CodigoFila()),
                                                              Barras(20, 50, fonte::CodigoFila(), 50, becNAO, RegraFE),
                                                              Texto(2, 20, 10, fonte::Nome(1, 21)),
                                                          },
                                                          SemAddColuna});
    return m;
}

}  // namespace

void Etiq_Modelo_30(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela30()); }
