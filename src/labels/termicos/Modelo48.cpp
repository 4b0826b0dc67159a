// Model 48: PPLA, two 40x25 labels per row from the queue's name alone; the
// variant goes under the second name line when there is one.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TCondicao SoNomeMaiorQue25() {
    return [](const TContextoEtiqueta& c) { return Comprimento(c.fila.SO_NOME) > 25; };
}

const TModeloTermico& Tabela48() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {2,
                  460,
                  true,
                  {
                      Texto(2, 15, 230, fonte::SoNome(1, 25)),
                      Quando(Texto(2, 15, 200, fonte::SoNome(26, 50)), SoNomeMaiorQue25()),
                      Quando(Texto(2, 150, 170, fonte::Variante()), SoNomeMaiorQue25()),
                      Quando(Texto(2, 150, 200, fonte::Variante()), std::not_fn(SoNomeMaiorQue25())),
                      Texto(5, 70, 115, fonte::Preco()),
                      Barras(50, 50, fonte::CodigoFila(), 50, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 30, 20, 50, becSIM},
                                 {9, kSemLimite, "E", 5, 50, 50, becNAO},
                                 {0, 8, "E", 50, 50, 50, becNAO},
                             })),
                      Quando(Texto(2, 60, 20, fonte::CodigoFila()), ComprimentoDiferente(fonte::CodigoFila(), 13)),
                  }});
    return m;
}

}  // namespace

void Etiq_Modelo_48(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela48()); }
