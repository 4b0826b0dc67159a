// Model 56: PPLA for Elgin, one 60x30 label per row; a long name takes two lines.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela56() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {1,
                  0,
                  true,
                  {
                      Quando(Texto(3, 50, 230, fonte::Nome(1, 25)), NomeMaiorQue(25)),
                      Quando(Texto(3, 50, 180, fonte::Nome(26, 55)), NomeMaiorQue(25)),
                      Quando(Texto(3, 50, 230, fonte::Nome()), std::not_fn(NomeMaiorQue(25))),
                      Texto(3, 50, 135, fonte::Prefixo("Codigo: ", fonte::CodigoReduzido())),
                      Barras(100, 50, fonte::CodigoFila(), 80, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 100, 20, 80, becSIM},
                                 {0, kSemLimite, "E", 100, 50, 80, becNAO},
                             })),
                      Quando(Texto(2, 100, 20, fonte::CodigoFila()), ComprimentoDiferente(fonte::CodigoFila(), 13)),
                  }});
    return m;
}

}  // namespace

void Etiq_Modelo_56(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela56()); }
