// Shelf-edge models 02 and 49: PPLA, one wide label per goods row with a
// framed price; 49 adds the short code. Not moved by ADDCOLUNA.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

TModeloTermico Tabela(bool comCodigo) {
    TModeloTermico m = EscritoPara(etqPpla, {1,
                                             0,
                                             false,
                                             {
                                                 Texto(3, 45, 180, fonte::Nome(), 1, 2),
                                                 Texto(2, 430, 100, fonte::Fixo("R$"), 2, 2),
                                                 Texto(3, 500, 40, fonte::PrecoMercadoriaSimples(), 2, 3),
                                                 Caixa(30, 490, 280, 130, 6, 6, 0),
                                                 Barras(100, 5, fonte::Codigo(), 90, becSIM,
                                                        PorComprimento({
                                                            {13, 13, "F", 100, 5, 90, becSIM},
                                                            {4, kSemLimite, "E", 100, 5, 90, becSIM},
                                                            {0, 3, "E", 100, 5, 90, becSIM, "", "", "0"},
                                                        })),
                                             }});
    if (comCodigo)
        m.elementos.insert(m.elementos.begin() + 1,
                           Texto(2, 45, 135, fonte::Prefixo("Codigo: ", fonte::CodigoReduzido()), 1, 2));
    return m;
}

}  // namespace

void Etiq_Modelo_02(TImpressaoEtiquetas& imp, int modelo) {
    static const TModeloTermico m02 = Tabela(false), m49 = Tabela(true);
    PercorrerFila(imp, modelo == 49 ? m49 : m02);
}
