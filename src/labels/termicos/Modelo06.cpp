// Model 06: PPLA, one label per row: a chilled-goods label with today's date
// and the date the warranty days give; no barcode.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela06() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Texto(3, 80, 500, fonte::Nome()),
                                  Texto(3, 120, 430, fonte::Aplicacao()),
                                  Texto(3, 120, 380, fonte::Aplicacao2()),
                                  Texto(2, 120, 320, fonte::Fixo("Manter restriado de 0 a 7 graus")),
                                  Texto(2, 700, 105, fonte::DataDoDia()),
                                  Texto(2, 870, 105, fonte::DataDoDiaMaisGarantia()),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_06(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela06()); }
