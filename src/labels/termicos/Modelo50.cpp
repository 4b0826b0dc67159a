// Model 50: PPLA, one 4x4 label per row under the shop's name and a spaced
// slogan; the name lines start where the barcode leaves room.
#include "common/ConfigEtq.h"
#include "common/Win1252.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

// Five capitals of the text, blanks between them: "Preço Baixo" gives "P R E Ç O".
std::string Espacado(const std::string& texto) {
    const std::string maiusculas = Utf8::Maiusculas(texto);
    std::string r;
    int letras = 0;
    for (size_t k = 1, n = Comprimento(maiusculas); k <= n && letras < 5; ++k) {
        const std::string c = Trecho(maiusculas, static_cast<int>(k), static_cast<int>(k));
        if (c == " ") continue;
        if (letras++ > 0) r += ' ';
        r += c;
    }
    return Ajustado(r, 9);
}

// Column n of the name lines: 50 beside an EAN-13, 100 otherwise.
bool ColunaNome50(TDesenho& d, const TContextoEtiqueta& c) {
    d.h = Comprimento(c.fila.BARRAS) == 13 ? 50 : 100;
    return true;
}

TModeloTermico Tabela50(const std::string& nomeLoja, const std::string& textoLoja) {
    return EscritoPara(
        etqPpla, {1,
                  0,
                  true,
                  {
                      Texto(6, 50, 300, fonte::Fixo(Ajustado(nomeLoja, 7))),
                      Texto(2, 230, 260, fonte::Fixo(Espacado(textoLoja))),
                      Barras(30, 130, fonte::CodigoFila(), 50, becNAO,
                             PorComprimento({
                                 {13, 13, "F", 50, 100, 50, becSIM},
                                 {7, kSemLimite, "E", 30, 130, 50, becNAO},
                                 {0, 6, "E", 100, 130, 50, becNAO},
                             })),
                      Quando(Texto(2, 100, 100, fonte::CodigoFila()), ComprimentoDiferente(fonte::CodigoFila(), 13)),
                      Quando(ComRegra(Texto(2, 100, 220, fonte::Nome(1, 20)), ColunaNome50), NomeMaiorQue(20)),
                      Quando(ComRegra(Texto(2, 100, 190, fonte::Nome(21, 40)), ColunaNome50), NomeMaiorQue(20)),
                      Quando(ComRegra(Texto(2, 100, 190, fonte::Nome()), ColunaNome50), std::not_fn(NomeMaiorQue(20))),
                      Texto(2, 30, 10, fonte::Fixo("R$")),
                      Texto(5, 70, 10, fonte::PrecoSimples(), 2, 1),
                  }});
}

}  // namespace

void Etiq_Modelo_50(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela50(NomeLoja(), TextoLoja())); }
