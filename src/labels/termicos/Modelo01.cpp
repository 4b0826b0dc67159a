// Model 01: PPLB, three labels per row; not moved by ADDCOLUNA.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela01() {
    static const TModeloTermico m = EscritoPara(etqPplb, {3,
                                                          370,
                                                          false,
                                                          {
                                                              Texto(2, 15, 210, fonte::Nome(23, 44)),
                                                              Texto(2, 15, 180, fonte::Nome(1, 22)),
                                                              Barras(20, 50, fonte::Codigo(), 70, becSIM, RegraE30_1),
                                                          }});
    return m;
}

}  // namespace

void Etiq_Modelo_01(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela01()); }
