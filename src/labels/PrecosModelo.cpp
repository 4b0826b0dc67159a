#include "labels/PrecosModelo.h"

#include <climits>
#include <map>
#include <mutex>
#include <utility>

#include "interface/ModelosA4.h"
#include "labels/EtiquetaDoDiario.h"

TPrecosModelo PrecosDoModelo(int modelo) {
    if (EhModeloA4(modelo)) return {TOrigemPreco::Mercadoria, false};
    switch (modelo) {
        // Only barcode, name, reference or code.
        case 1:
        case 3:
        case 4:
        case 6:
        case 23:
        case 46:
        case 56: return {TOrigemPreco::Nenhum, false};
        // "A V.R$" VLR_VEN_2 beside "A P.R$" VLR_VEN.
        case 8: return {TOrigemPreco::Mercadoria, true};
        // The goods row's price (model 09: "VALOR DE VENDA" of its design).
        case 2:
        case 7:
        case 9:
        case 12:
        case 13:
        case 15:
        case 19:
        case 21:
        case 25:
        case 36:
        case 37:
        case 41:
        case 44:
        case 49:
        case 51:
        case 57:
        case 58:
        case 59: return {TOrigemPreco::Mercadoria, false};
        default: return {TOrigemPreco::Fila, false};
    }
}

TEtiquetaDoDiario EtiquetaDoModelo(int modelo, const Decimal& precoFila, const Decimal& preco,
                                   const Decimal& segundoPreco) {
    const TPrecosModelo p = PrecosDoModelo(modelo);
    TEtiquetaDoDiario e;
    e.modelo = modelo;
    if (p.preco == TOrigemPreco::Fila) e.preco = PrecoDaEtiqueta(precoFila);
    if (p.preco == TOrigemPreco::Mercadoria) e.preco = PrecoDaEtiqueta(preco);
    if (p.segundoPreco) e.segundoPreco = PrecoDaEtiqueta(segundoPreco);
    return e;
}

namespace {
// Rows noted and not yet written: a block of journal rows and a print job's at most per print.
std::mutex mutexNotadas;
std::map<std::pair<int64_t, int64_t>, TEtiquetaDoDiario> notadas;
}  // namespace

void NotarEtiquetaDoDiario(int64_t diario, int64_t ordem, const TEtiquetaDoDiario& e) {
    const std::lock_guard<std::mutex> trava(mutexNotadas);
    notadas[{diario, ordem}] = e;
}

std::optional<TEtiquetaDoDiario> TomarEtiquetaDoDiario(int64_t diario, int64_t ordem) {
    const std::lock_guard<std::mutex> trava(mutexNotadas);
    const auto i = notadas.find({diario, ordem});
    if (i == notadas.end()) return std::nullopt;
    TEtiquetaDoDiario e = i->second;
    notadas.erase(i);
    return e;
}

void EsquecerEtiquetasDoDiario(int64_t diario) {
    const std::lock_guard<std::mutex> trava(mutexNotadas);
    notadas.erase(notadas.lower_bound({diario, INT64_MIN}), notadas.upper_bound({diario, INT64_MAX}));
}
