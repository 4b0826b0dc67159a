// Model 51: EPL2, a hanging tag without barcode: name, goods price and the
// last six characters of the code.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela51() {
    static const TModeloTermico m =
        EscritoPara(etqEpl2, {1,
                              0,
                              true,
                              {
                                  Texto(1, 20, 0, fonte::Nome(1, 20)),
                                  Texto(1, 20, 20, fonte::Nome(21, 40)),
                                  Texto(1, 290, 0, fonte::PrecoMercadoria()),
                                  Texto(2, 290, 20, fonte::UltimosCaracteres(fonte::Codigo(), 6)),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_51(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela51()); }
