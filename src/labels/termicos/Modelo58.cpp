// Model 58: ZPL II, three labels per row (pitch 325) or four (pitch 250), as
// the queue window's "3 colunas" / "4 colunas" choice says; no choice, no print.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela58TresColunas() {
    static const TModeloTermico m =
        EscritoPara(etqZPLII, {3,
                               325,
                               true,
                               {
                                   Texto(1, 50, 5, fonte::Fixo("R$")),
                                   Texto(2, 75, 5, fonte::PrecoMercadoriaSimples()),
                                   Quando(Texto(1, 180, 5, fonte::Codigo()), ComprimentoEntre(fonte::Codigo(), 13, 13)),
                                   Quando(Texto(2, 180, 5, fonte::Codigo()), ComprimentoDiferente(fonte::Codigo(), 13)),
                                   Barras(50, 30, fonte::Codigo(), 45, becNAO,
                                          PorComprimento({
                                              {13, 13, "E30", 40, 30, 45, becNAO},
                                              {0, kSemLimite, "1", 50, 30, 45, becNAO},
                                          })),
                                   Texto(2, 50, 90, fonte::Nome(1, 18)),
                               }});
    return m;
}

const TModeloTermico& Tabela58QuatroColunas() {
    static const TModeloTermico m = EscritoPara(etqZPLII, {4,
                                                           250,
                                                           true,
                                                           {
                                                               Texto(2, 30, 5, fonte::PrecoMercadoria()),
                                                               Barras(20, 30, fonte::Codigo(), 45, becNAO,
                                                                      PorComprimento({
                                                                          {13, 13, "E30", 15, 30, 45, becNAO},
                                                                          {0, kSemLimite, "1", 20, 30, 45, becNAO},
                                                                      })),
                                                               Texto(2, 20, 90, fonte::Codigo()),
                                                           }});
    return m;
}

}  // namespace

void Etiq_Modelo_58(TImpressaoEtiquetas& imp) {
    if (imp.modModelo58 == 0)
        PercorrerFila(imp, Tabela58TresColunas());
    else if (imp.modModelo58 == 1)
        PercorrerFila(imp, Tabela58QuatroColunas());
}
