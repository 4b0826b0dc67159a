// Model 27: PPLA, three labels per row. It puts ADDCOLUNA to 0 for every
// goods row it finds, so the configured shift never moves it.
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

const TModeloTermico& Tabela27() {
    static const TModeloTermico m = EscritoPara(etqPpla, {3,
                                                          320,
                                                          true,
                                                          {
                                                              Texto(2, 200, 10, fonte::PrecoSimples()),
                                                              Barras(20, 20, fonte::CodigoFila(), 50, becSIM, RegraFE),
                                                              Texto(1, 20, 100, fonte::Apelido(1, 21)),
                                                          },
                                                          SemAddColuna});
    return m;
}

}  // namespace

void Etiq_Modelo_27(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela27()); }
