// Shelf-edge models 19 and 57: PPLA for Elgin, one wide label per goods row
// with a framed price; 57 adds the unit. Not moved by ADDCOLUNA.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela(bool comUnidade) {
    TModeloTermico m = EscritoPara(etqPpla, {1,
                                             0,
                                             false,
                                             {
                                                 Texto(3, 45, 190, fonte::Nome(), 1, 2),
                                                 Texto(2, 450, 100, fonte::Fixo("R$"), 2, 2),
                                                 Texto(3, 520, 40, fonte::PrecoMercadoriaSimples(), 2, 3),
                                                 Caixa(30, 510, 360, 130, 6, 6, 0),
                                                 BarrasGondola(),
                                                 TextoCodigoGondola(),
                                             }});
    if (comUnidade) m.elementos.insert(m.elementos.begin() + 2, Texto(2, 770, 60, fonte::Unidade(), 2, 2));
    return m;
}

}  // namespace

void Etiq_Modelo_19(TImpressaoEtiquetas& imp, int modelo) {
    static const TModeloTermico m19 = Tabela(false), m57 = Tabela(true);
    PercorrerFila(imp, modelo == 57 ? m57 : m19);
}
