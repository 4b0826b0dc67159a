// Model 38: EPL2, three labels per row, no barcode.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela38() {
    static const TModeloTermico m = EscritoPara(etqEpl2, {3,
                                                          320,
                                                          true,
                                                          {
                                                              Texto(1, 50, 0, fonte::Nome(1, 25)),
                                                              Texto(2, 50, 40, fonte::Codigo()),
                                                              Texto(1, 50, 85, fonte::Referencia(1, 20)),
                                                              Texto(2, 220, 85, fonte::PrecoSimples()),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_38(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela38()); }
