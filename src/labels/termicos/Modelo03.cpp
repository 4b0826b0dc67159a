// Model 03: PPLB, two labels per row, the shop's name over the goods name;
// not moved by ADDCOLUNA.
#include "common/ConfigEtq.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela03(const std::string& nomeLoja, const std::string& textoLoja) {
    return EscritoPara(etqPplb, {2,
                                 520,
                                 false,
                                 {
                                     Texto(3, 50, 20, fonte::Fixo(Ajustado(nomeLoja, 18))),
                                     Texto(3, 50, 50, fonte::Fixo("   " + Ajustado(textoLoja, 12))),
                                     Texto(2, 20, 100, fonte::Nome(1, 30)),
                                     Texto(2, 20, 130, fonte::Nome(31, 60)),
                                     Barras(45, 170, fonte::Codigo(), 70, becSIM, RegraE30_1),
                                 }});
}

}  // namespace

// The shop texts are read once per print.
void Etiq_Modelo_03(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela03(NomeLoja(), TextoLoja())); }
