// Models 53 (with the shop's name on top) and 54 (without): PPLA for the
// Elgin L42, three labels per row.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela53(bool comNomeLoja, const std::string& nomeLoja) {
    TModeloTermico m = EscritoPara(etqPpla, {3,
                                             340,
                                             true,
                                             {
                                                 Texto(2, 10, 155, fonte::Nome(1, 20)),
                                                 Texto(2, 10, 125, fonte::Nome(21, 40)),
                                                 Texto(2, 30, 95, fonte::Preco()),
                                                 Barras(10, 30, fonte::Codigo(), 60, becNAO,
                                                        PorComprimento({
                                                            {13, 13, "F", 10, 30, 60, becNAO},
                                                            {0, 4, "E", 20, 30, 60, becNAO},
                                                            {5, kSemLimite, "E", 10, 30, 60, becNAO},
                                                        })),
                                                 Texto(2, 30, 5, fonte::Codigo()),
                                             }});
    if (comNomeLoja) m.elementos.insert(m.elementos.begin(), Texto(3, 30, 180, fonte::Fixo(Ajustado(nomeLoja, 12))));
    return m;
}

}  // namespace

void Etiq_Modelo_53(TImpressaoEtiquetas& imp, int comNomeLoja) {
    PercorrerFila(imp, Tabela53(comNomeLoja == 1, comNomeLoja == 1 ? NomeLoja() : std::string()));
}
