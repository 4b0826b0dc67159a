// Model 04: EPL2, three labels per row, the shop's name on top.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela04(const std::string& nomeLoja) {
    return EscritoPara(etqEpl2, {3,
                                 293,
                                 true,
                                 {
                                     Texto(2, 65, 3, fonte::Fixo(Ajustado(nomeLoja, 18))),
                                     Texto(2, 65, 28, fonte::Nome(1, 18)),
                                     Texto(2, 65, 48, fonte::Nome(19, 36)),
                                     Barras(85, 67, fonte::Codigo(), 35, becSIM,
                                            PorComprimento({
                                                {13, 13, "E30", 67, 67, 35, becSIM},
                                                {0, kSemLimite, "1", 85, 67, 35, becSIM},
                                            })),
                                 }});
}

}  // namespace

void Etiq_Modelo_04(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela04(NomeLoja())); }
