#pragma once
// The queue walk every thermal, shelf-edge and user-defined model shares, and
// the data a model is made of.
//
// A model is a TModeloTermico: its row layout (labels per row, pitch, whether
// the configured shift AddColuna applies) and its elements in drawing order.
// An element is one drawing call of the label printer component: a text, a
// barcode, a line or a box, with its font, multipliers, offsets from the
// column origin, the value it prints (a TFonte, see namespace fonte) and,
// where the model needs it, a rule that adapts the call to the label at hand
// (a barcode's type and place by the code's length) or leaves it out.
//
// The walk (PercorrerFila) does, for every queue row with a quantity above 0:
// look the goods up (a row without goods prints nothing and does not move the
// column), repeat the label QUANTIDADE times (rounded, halves to even), fill
// the columns from left to right across rows of the queue, and send one print
// job per completed row, then pause. A started row is sent at the end.
//
// Example, a two-element label, 3 per row, pitch 360, shifted by AddColuna:
//     const TModeloTermico m{3, 360, true, {
//         Texto(3, 15, 3, fonte::Preco()),
//         Barras(20, 70, fonte::CodigoFila(), 50, becSIM, RegraFE),
//     }};
//     PercorrerFila(etq, m);
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "etq/CdbETQ.h"
#include "labels/Mercadoria.h"

class TImpressaoEtiquetas;

// The only writes a model makes to the print while the walk runs, each a
// named call; everything else a model sees is read-only.
class TEscritaModelo {
public:
    explicit TEscritaModelo(TImpressaoEtiquetas& imp) : imp_(imp) {}
    // Model 59: the text its lines of similar goods are read from (the window's memo).
    void EscreverMemo(std::string texto) const;
    // Models 27 and 30: no horizontal shift (AddColuna) for the rest of the print.
    void ZerarAddColuna() const;
    // Model 09: the barcode row's AUX_4, left in the window's parameter caption.
    void DeixarParametro(std::string aux4) const;

private:
    TImpressaoEtiquetas& imp_;
};

// What an element reads while one label is drawn.
struct TContextoEtiqueta {
    const TImpressaoEtiquetas& imp;  // the print settings and the queue window's inputs
    const TLinhaFila& fila;          // the queue row
    const TMercadoria& merc;         // its goods row
    int coluna = 1;                  // 1..labels per row
    const TEscritaModelo& escrita;   // the named writes
};

// A value to print, UTF-8 (converted to the printer's code page when drawn).
using TFonte = std::function<std::string(const TContextoEtiqueta&)>;

enum class TTipoDesenho { Texto, Barras, Linha, Caixa };

// One drawing call with every argument resolved for the label at hand.
// Positions are offsets from the column origin; the walk adds the origin (and
// AddColuna when the model and the element take it).
struct TDesenho {
    TTipoDesenho tipo = TTipoDesenho::Texto;
    int h = 0, v = 0;
    std::string valor;  // text or barcode value
    // Texto
    int fonte = 2, multH = 1, multV = 1;
    // Barras
    std::string tipoBarras = "E", larga = "2", fina = "2";
    int altura = 0;  // bar height (also the height of a line or box)
    TCdbETQBarraExibeCodigo exibe = becSIM;
    // Linha and Caixa
    int largura = 0, espV = 0, espH = 0, canto = 0;
    bool desloca = true;  // AddColuna applies (when the model uses it)
};

// Adapts the call to the label (type by length, place, height...) and answers
// whether it is drawn at all. It runs after the value is read, so it sees
// d.valor and may change it too (a short code printed as "0" + code).
// A one-label model is porLinha 1; a text shown only sometimes is Quando(...).
using TRegra = std::function<bool(TDesenho&, const TContextoEtiqueta&)>;

struct TElemento {
    TDesenho base;  // the call as the model's table gives it
    TFonte valor;   // empty: base.valor as it stands
    TRegra regra;   // optional
};

// Element builders, in the order of the tables' notation.
// T f m×n (h, v) value
TElemento Texto(int fonte, int h, int v, TFonte valor, int multH = 1, int multV = 1);
// bar value (h, v) height k shown/hidden, type "E" and widths "2"/"2" until the rule says otherwise
TElemento Barras(int h, int v, TFonte valor, int altura, TCdbETQBarraExibeCodigo exibe, TRegra regra = {},
                 std::string larga = "2", std::string fina = "2");
TElemento Linha(int v, int h, int largura, int altura);
TElemento Caixa(int v, int h, int largura, int altura, int espV, int espH, int canto = 0);
// The same element drawn only when `condicao` holds.
TElemento Quando(TElemento e, std::function<bool(const TContextoEtiqueta&)> condicao);
// The same element, not moved by AddColuna.
TElemento SemDeslocamento(TElemento e);

struct TModeloTermico {
    int porLinha = 1;  // labels side by side in one print job
    int passo = 0;     // column pitch, tenths of a millimetre
    bool usaAddColuna = true;
    std::vector<TElemento> elementos;
    // Called for every queue row whose goods were found, before its labels
    // (models 27 and 30 put AddColuna to 0 here).
    std::function<void(const TEscritaModelo&, const TMercadoria&)> aoAcharMercadoria = nullptr;
    // The printer language whose barcode codes and fonts the table uses. With
    // another language configured the walk passes the same symbology in that
    // language's codes (AdaptarLinguagem); etqNenhum passes the table as it is.
    TCdbETQModelo linguagem = etqNenhum;
};

// The table written for `linguagem`.
TModeloTermico EscritoPara(TCdbETQModelo linguagem, TModeloTermico modelo);

// A drawing call of a table written for `escritoPara` as the printer of
// `destino` takes it: the barcode type code of the same symbology (EAN-13,
// Code 128, Code 93), bar widths and fonts within what that language accepts.
// Nothing changes between PPLB and EPL2 (one stream) or for unknown codes.
void AdaptarLinguagem(TDesenho& d, TCdbETQModelo escritoPara, TCdbETQModelo destino);

// A barcode that would cross into the next label of its row (the column
// pitch `passo`, tenths of a millimetre, measured from the label's origin)
// drawn narrower without changing what it encodes: an even run of digits in
// ZPL's Code 128 opens in subset C (">;"), otherwise the narrow bar becomes
// the narrowest the language accepts. A barcode that fits is left as it is.
void EstreitarBarras(TDesenho& d, TCdbETQModelo linguagem, int passo, int dpi);

// The walk. Runs with the component active and the queue filtered (the
// dispatcher's work); leaves the queue after its last row. Reports progress
// and stops on request through the hooks of TImpressaoEtiquetas.
void PercorrerFila(TImpressaoEtiquetas& imp, const TModeloTermico& modelo);

// No upper bound: of the characters a value takes, of a length range.
inline constexpr int kSemLimite = INT_MAX;

// Values the tables print, in the notation of every model's table.
namespace fonte {
TFonte Fixo(std::string texto);
TFonte Nome(int a = 1, int b = kSemLimite);        // NOM_MER a–b
TFonte NomeFila(int a = 1, int b = kSemLimite);    // queue NOME a–b
TFonte SoNome(int a = 1, int b = kSemLimite);      // queue SO_NOME a–b
TFonte Codigo();                                   // goods COD_BAR
TFonte CodigoFila();                               // queue BARRAS
TFonte CodigoReduzido();                           // goods COD_RED
TFonte Referencia(int a = 1, int b = kSemLimite);  // REF_MER a–b
TFonte Variante(int a = 1, int b = kSemLimite);    // queue NRO_LOTE a–b
TFonte Preco();                                    // "R$ " + queue VLR_VEN "#0.00"
TFonte PrecoMercadoria();                          // "R$ " + goods VLR_VEN "#0.00"
TFonte PrecoSimples();                             // queue VLR_VEN "#0.00"
TFonte PrecoMercadoriaSimples();                   // goods VLR_VEN "#0.00"
TFonte Prefixo(std::string prefixo, TFonte valor);
TFonte Trecho(TFonte valor, int a, int b);
}  // namespace fonte

// Barcode type rules shared by many tables.
// F/E: "F" for exactly 13 characters, otherwise "E".
bool RegraFE(TDesenho& d, const TContextoEtiqueta&);
// E30/1: "E30" for exactly 13 characters, otherwise "1".
bool RegraE30_1(TDesenho& d, const TContextoEtiqueta&);
