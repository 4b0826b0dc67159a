// Model 24: PPLA for Argox, two 30x50 labels per row under a heading with
// the shop's name and a rule; the heading stays put whatever ADDCOLUNA says.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela24(const std::string& nomeLoja) {
    return EscritoPara(etqPpla,
                       {2,
                        540,
                        true,
                        {
                            SemDeslocamento(Texto(2, 80, 240, fonte::Fixo(Ajustado(nomeLoja, 12)), 2, 2)),
                            SemDeslocamento(Linha(228, 70, 370, 3)),
                            Texto(4, 100, 175, fonte::Preco()),
                            Texto(2, 40, 140, fonte::Nome(1, 26)),
                            Texto(2, 40, 110, fonte::Nome(27, 52)),
                            Barras(50, 30, fonte::Codigo(), 70, becNAO,
                                   PorComprimento({
                                       {13, 13, "F", 100, 25, 70, becSIM},
                                       {0, 8, "E", 120, 30, 70, becNAO},
                                       {9, kSemLimite, "E", 50, 30, 70, becNAO},
                                   })),
                            ComRegra(Texto(2, 80, 10, fonte::Codigo()), PosicaoPorComprimento(fonte::Codigo(),
                                                                                              {
                                                                                                  {0, 8, 160},
                                                                                                  {9, 12, 80},
                                                                                                  {14, kSemLimite, 80},
                                                                                              })),
                        }});
}

}  // namespace

void Etiq_Modelo_24(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela24(NomeLoja())); }
