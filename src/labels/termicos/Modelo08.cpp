// Model 08: PPLA, three labels per row with two prices: VLR_VEN_2 beside
// "A V.R$" and VLR_VEN beside "A P.R$".
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela08() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {3,
                              360,
                              true,
                              {
                                  Barras(2, 1, fonte::Codigo(), 50, becSIM, RegraFE),
                                  Texto(2, 2, 75, fonte::Fixo("A V.R$")),
                                  Texto(2, 120, 75, fonte::PrecoMercadoria2Simples()),
                                  Texto(2, 2, 110, fonte::Fixo("A P.R$")),
                                  Texto(2, 120, 110, fonte::PrecoMercadoriaSimples()),
                                  Texto(2, 2, 145, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Texto(2, 2, 180, fonte::Apelido(1, 23)),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_08(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela08()); }
