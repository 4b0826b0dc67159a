// Models 45 ("cod_nome_valor": barcode, name and price) and 46 ("cod_bar":
// the barcode alone, with the code as text): PPLA, three 35x30 labels per row.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela45() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3,
                                                          350,
                                                          true,
                                                          {
                                                              Barras(50, 160, fonte::CodigoFila(), 80, becSIM,
                                                                     PorComprimento({
                                                                         {13, 13, "F", 30, 160, 80, becSIM},
                                                                         {7, kSemLimite, "E", 40, 160, 80, becSIM},
                                                                         {0, 6, "E", 50, 160, 80, becSIM},
                                                                     })),
                                                              Texto(2, 20, 120, fonte::Nome(1, 22)),
                                                              Texto(2, 20, 90, fonte::Nome(23, 44)),
                                                              Texto(5, 30, 10, fonte::Preco()),
                                                          }});
    return m;
}

const TModeloTermico& Tabela46() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {3,
                  350,
                  true,
                  {
                      Barras(50, 60, fonte::CodigoFila(), 160, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 50, 60, 160, becNAO},
                                 {7, kSemLimite, "E", 40, 60, 160, becNAO},
                                 {0, 6, "E", 50, 60, 160, becNAO},
                             })),
                      ComRegra(Texto(2, 100, 20, fonte::CodigoFila()), PosicaoPorComprimento(fonte::CodigoFila(),
                                                                                             {
                                                                                                 {13, 13, 80},
                                                                                                 {0, kSemLimite, 100},
                                                                                             })),
                  }});
    return m;
}

// Any other mode draws nothing on the labels it walks.
const TModeloTermico& TabelaVazia45() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3, 350, true, {}});
    return m;
}

}  // namespace

void Etiq_Modelo_45(TImpressaoEtiquetas& imp, const std::string& modo) {
    if (modo == "cod_nome_valor")
        PercorrerFila(imp, Tabela45());
    else if (modo == "cod_bar")
        PercorrerFila(imp, Tabela46());
    else
        PercorrerFila(imp, TabelaVazia45());
}
