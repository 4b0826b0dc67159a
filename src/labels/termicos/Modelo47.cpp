// Model 47: PPLA, two labels per row with the variant, the price and, when
// the operator typed instalment counts, the instalment line.
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

// "P1 + P2 R$ amount": the queue price split over P1 + P2 instalments.
std::string Parcelas(const TContextoEtiqueta& c) {
    const int p1 = StrToInt(c.imp.EdtP1);
    const int p2 = StrToInt(c.imp.edtP2);
    const double parcela = ArredondaDecimais(2, DivideSeguro(c.fila.VLR_VEN.ParaDouble(), p1 + p2));
    return std::to_string(p1) + " + " + std::to_string(p2) + " R$ " + FormataValor(Decimal::DeDouble(parcela, 2));
}

bool ComParcelas(const TContextoEtiqueta& c) { return StrToInt(c.imp.EdtP1) > 0 || StrToInt(c.imp.edtP2) > 0; }

const TModeloTermico& Tabela47() {
    static const TModeloTermico m = EscritoPara(
        etqPpla, {2,
                  520,
                  true,
                  {
                      Texto(2, 20, 150, fonte::Variante()),
                      Texto(5, 300, 150, fonte::PrecoSimples()),
                      Quando(Texto(2, 20, 190, Parcelas), ComParcelas),
                      Texto(2, 20, 110, fonte::SoNome(1, 50)),
                      Barras(50, 40, fonte::CodigoFila(), 60, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 20, 40, 60, becNAO},
                                 {7, kSemLimite, "E", 20, 40, 60, becNAO, "1", "2"},
                                 {0, 6, "E", 50, 40, 60, becNAO},
                             })),
                      ComRegra(Texto(2, 100, 10, fonte::CodigoFila()), PosicaoPorComprimento(fonte::CodigoFila(),
                                                                                             {
                                                                                                 {13, 13, 80},
                                                                                                 {0, kSemLimite, 100},
                                                                                             })),
                  }});
    return m;
}

}  // namespace

void Etiq_Modelo_47(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela47()); }
