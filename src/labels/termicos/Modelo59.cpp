// Model 59: PPLA for Elgin, one label per row: name, price, up to five lines
// of the goods' SIMILARES text, and a barcode that takes letters too (type "O").
#include <cctype>

#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"
#include "labels/termicos/Auxiliares.h"

namespace {

bool SoDigitos(const std::string& s) {
    for (unsigned char ch : s)
        if (!std::isdigit(ch)) return false;
    return true;
}

// The SIMILARES text goes through the window's memo, as the shop sees it there.
void CarregarSimilares(const TEscritaModelo& escrita, const TMercadoria& m) { escrita.EscreverMemo(m.SIMILARES); }

// The lines of the memo, split at CR LF, LF or CR.
std::vector<std::string> Linhas(const std::string& texto) {
    std::vector<std::string> r;
    std::string atual;
    for (size_t i = 0; i < texto.size(); ++i) {
        const char ch = texto[i];
        if (ch == '\r' || ch == '\n') {
            r.push_back(atual);
            atual.clear();
            if (ch == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
        } else {
            atual += ch;
        }
    }
    if (!atual.empty()) r.push_back(atual);
    return r;
}

// Drawn only when the memo has that line; the memo is split once for both.
TElemento LinhaSimilares(size_t n, int v) {
    return ComRegra(Texto(2, 1, v, nullptr), [n](TDesenho& d, const TContextoEtiqueta& c) {
        const auto linhas = Linhas(c.imp.memoTm);
        if (linhas.size() < n) return false;
        d.valor = linhas[n - 1];
        return true;
    });
}

bool Barras59(TDesenho& d, const TContextoEtiqueta&) {
    d.v = 50;
    d.altura = 120;
    d.h = 250;
    if (SoDigitos(d.valor)) {
        if (d.valor.size() == 13) {
            d.tipoBarras = "F";
            d.v = 20;
            d.exibe = becSIM;
        } else {
            d.tipoBarras = "E";
            d.exibe = becNAO;
        }
    } else {
        d.tipoBarras = "O";
        d.larga = "3";
        d.fina = "3";
        d.exibe = becNAO;
        if (Comprimento(d.valor) >= 7) d.h = 220;
    }
    return true;
}

bool TextoCodigo59(const TContextoEtiqueta& c) { return !(SoDigitos(c.fila.BARRAS) && c.fila.BARRAS.size() == 13); }

const TModeloTermico& Tabela59() {
    static const TModeloTermico m =
        EscritoPara(etqPpla, {1,
                              0,
                              true,
                              {
                                  Texto(2, 1, 320, fonte::Nome()),
                                  Texto(5, 250, 200, fonte::PrecoMercadoria()),
                                  LinhaSimilares(1, 240),
                                  LinhaSimilares(2, 200),
                                  LinhaSimilares(3, 160),
                                  LinhaSimilares(4, 120),
                                  LinhaSimilares(5, 80),
                                  Barras(250, 50, fonte::CodigoFila(), 120, becNAO, Barras59),
                                  Quando(Texto(2, 250, 20, fonte::CodigoFila()), TextoCodigo59),
                              },
                              CarregarSimilares});
    return m;
}

}  // namespace

void Etiq_Modelo_59(TImpressaoEtiquetas& imp) { PercorrerFila(imp, Tabela59()); }
