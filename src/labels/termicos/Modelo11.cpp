// Model 11: PPLA, three 22x33 labels per row.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"

namespace {

// Without a variant line the barcode takes the room: 25 units taller.
bool Barras11(TDesenho& d, const TContextoEtiqueta& c) {
    const int k = c.fila.NRO_LOTE.empty() ? 25 : 0;
    const size_t n = Comprimento(d.valor);
    if (n == 13) {
        d.tipoBarras = "F";
        d.h = 5;
        d.altura = 45 + k;
    } else {
        d.tipoBarras = "E";
        d.h = n <= 6 ? 30 : 20;
        d.altura = 50 + k;
    }
    return true;
}

const TModeloTermico& Tabela11() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {3,
                              360,
                              true,
                              {
                                  Texto(3, 15, 3, fonte::Preco()),
                                  Texto(2, 15, 45, fonte::Prefixo("Ref: ", fonte::Referencia())),
                                  Barras(20, 70, fonte::CodigoFila(), 50, becSIM, Barras11),
                                  Texto(2, 15, 145, fonte::Variante(1, 22)),
                                  Texto(2, 15, 175, fonte::Nome(1, 22)),
                              }});
    return m;
}

}  // namespace

void Etiq_Modelo_11(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela11()); }
