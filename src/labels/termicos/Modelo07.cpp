// Model 07: EPL2, three labels per row: short code, barcode, goods price.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela07() {
    static const TModeloTermico m =
        EscritoPara(etqEpl2, {3,
                              360,
                              true,
                              {
                                  Texto(2, 45, 28, fonte::Prefixo("Codigo: ", fonte::CodigoReduzido())),
                                  Barras(45, 67, fonte::Codigo(), 55, becSIM,
                                         PorComprimento({
                                             {13, 13, "E30", 27, 67, 55, becSIM},
                                             {0, kSemLimite, "1", 45, 67, 55, becSIM},
                                         })),
                                  Texto(3, 45, 170, fonte::PrecoMercadoria()),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_07(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela07()); }
