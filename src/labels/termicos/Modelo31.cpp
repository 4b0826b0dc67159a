// Model 31: PPLA, two labels per row: model 10's label with the goods'
// registration date instead of today's.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela31() {
    static const TModeloTermico m = EscritoPara(etqPpla, {2,
                                                          540,
                                                          true,
                                                          {
                                                              Texto(3, 40, 230, fonte::Preco()),
                                                              Texto(2, 40, 180, fonte::Nome(1, 26)),
                                                              Texto(2, 40, 140, fonte::Nome(27, 52)),
                                                              Barras10(),
                                                              TextoCodigo10(),
                                                              Texto(2, 350, 15, fonte::DataCadastro()),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_31(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela31()); }
