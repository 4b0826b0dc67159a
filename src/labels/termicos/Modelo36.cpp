// Model 36: EPL2, a hanging tag without barcode; a price of four digits
// before the separator starts further left.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

bool PosicaoPreco36(TDesenho& d, const TContextoEtiqueta& c) {
    d.h = c.merc.VLR_VEN >= Decimal(1000) ? 235 : 250;
    return true;
}

const TModeloTermico& Tabela36() {
    static const TModeloTermico m =
        EscritoPara(etqEpl2, {1,
                              0,
                              true,
                              {
                                  Texto(1, 400, 40, fonte::Codigo()),
                                  Texto(1, 400, 0, fonte::Nome(1, 25)),
                                  Texto(1, 250, 40, fonte::Referencia(1, 20)),
                                  ComRegra(Texto(2, 250, 0, fonte::PrecoMercadoria()), PosicaoPreco36),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_36(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela36()); }
