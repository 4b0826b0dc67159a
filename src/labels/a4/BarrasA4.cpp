#include "labels/a4/BarrasA4.h"

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

bool DuasLarguras(TTipoBarras t) {
    return t == TTipoBarras::Codabar || t == TTipoBarras::Code39 || t == TTipoBarras::Intercalado2de5 ||
           t == TTipoBarras::Matrix2de5;
}

int Simbologia(TTipoBarras t) {
    switch (t) {
        case TTipoBarras::Codabar: return BARCODE_CODABAR;
        case TTipoBarras::Code39: return BARCODE_CODE39;
        case TTipoBarras::Intercalado2de5: return BARCODE_C25INTER;
        case TTipoBarras::Matrix2de5: return BARCODE_C25STANDARD;
        case TTipoBarras::Code93: return BARCODE_CODE93;
        case TTipoBarras::EAN13: return BARCODE_EANX;
    }
    return BARCODE_CODE128;
}

// The wide element of zint's own tables, in modules: it draws Codabar and
// Code 39 at 2:1 and the 2 of 5 kinds at 3:1.
int LarguraLargaZint(TTipoBarras t) { return (t == TTipoBarras::Codabar || t == TTipoBarras::Code39) ? 2 : 3; }

bool EhInicioCodabar(char c) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'D';
}

struct TLiberaSimbolo {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

}  // namespace

double RazaoDesenhada(TTipoBarras tipo, double razaoPedida) {
    if (!DuasLarguras(tipo)) return 1;
    return std::max(RazaoMinimaBarras, razaoPedida);
}

std::string ValorCodabar(std::string_view valor) {
    if (valor.size() >= 2 && EhInicioCodabar(valor.front()) && EhInicioCodabar(valor.back())) return std::string(valor);
    return "A" + std::string(valor) + "A";
}

TSimboloBarras CodificaBarras(TTipoBarras tipo, double razao, std::string_view valor) {
    TSimboloBarras r;
    if (valor.empty()) return r;
    // EAN-13 is printed as given, check digit included: zint would otherwise
    // add one to 12 digits or make an add-on of a short value.
    if (tipo == TTipoBarras::EAN13 &&
        (valor.size() != 13 || valor.find_first_not_of("0123456789") != std::string_view::npos))
        return r;
    std::string dado = tipo == TTipoBarras::Codabar ? ValorCodabar(valor) : std::string(valor);
    std::unique_ptr<zint_symbol, TLiberaSimbolo> s(ZBarcode_Create());
    if (!s) return r;
    s->symbology = Simbologia(tipo);
    s->show_hrt = 0;
    s->input_mode = DATA_MODE;
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(dado.data()), static_cast<int>(dado.size())) >=
        ZINT_ERROR)
        return r;
    if (ZBarcode_Buffer_Vector(s.get(), 0) >= ZINT_ERROR || !s->vector) return r;

    // Bars as zint lays them out (quiet zones dropped), in its vector units.
    std::vector<std::pair<double, double>> zint;
    for (auto* q = s->vector->rectangles; q; q = q->next) zint.emplace_back(q->x, q->width);
    if (zint.empty()) return r;
    std::sort(zint.begin(), zint.end());
    double estreita = zint.front().second;
    for (size_t i = 0; i < zint.size(); ++i) {
        estreita = std::min(estreita, zint[i].second);
        if (i > 0) estreita = std::min(estreita, zint[i].first - zint[i - 1].first - zint[i - 1].second);
    }
    const double origem = zint.front().first;

    if (!DuasLarguras(tipo)) {
        for (auto [x, w] : zint) r.barras.emplace_back((x - origem) / estreita, w / estreita);
        r.largura = (zint.back().first + zint.back().second - origem) / estreita;
        return r;
    }

    // zint's ratio is fixed: take its run lengths and draw every element at
    // the ratio asked (an element k modules wide becomes k/wide * ratio).
    const double larga = LarguraLargaZint(tipo);
    const double fator = RazaoDesenhada(tipo, razao);
    auto medida = [&](double w) {
        const double k = std::round(w / estreita);
        return k <= 1 ? 1.0 : k / larga * fator;
    };
    double x = 0;
    for (size_t i = 0; i < zint.size(); ++i) {
        if (i > 0) x += medida(zint[i].first - zint[i - 1].first - zint[i - 1].second);
        const double w = medida(zint[i].second);
        r.barras.emplace_back(x, w);
        x += w;
    }
    r.largura = x;
    return r;
}
