// Model 10: PPLA, two labels per row: price, today's date, name in two lines.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela10() {
    static const TModeloTermico m = EscritoPara(etqPpla, {2,
                                                          540,
                                                          true,
                                                          {
                                                              Texto(3, 40, 230, fonte::Preco()),
                                                              Texto(2, 350, 230, fonte::DataDoDia("DD/MM/AA")),
                                                              Texto(2, 40, 180, fonte::Nome(1, 26)),
                                                              Texto(2, 40, 140, fonte::Nome(27, 52)),
                                                              Barras10(),
                                                              TextoCodigo10(),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_10(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela10()); }
