// Model 41: PPLA for Argox, one 13 mm label per row; always Code 128 ("E").
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela41() {
    static const TModeloTermico m = EscritoPara(etqPpla, {1,
                                                          0,
                                                          true,
                                                          {
                                                              Barras(15, 35, fonte::Codigo(), 50, becNAO, {}, "1", "1"),
                                                              Texto(2, 25, 7, fonte::Codigo()),
                                                              Texto(1, 190, 1, fonte::Aplicacao2()),
                                                              Texto(1, 190, 30, fonte::Aplicacao()),
                                                              Texto(2, 190, 60, fonte::Referencia()),
                                                              Texto(2, 190, 90, fonte::PrecoMercadoriaSimples()),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_41(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela41()); }
