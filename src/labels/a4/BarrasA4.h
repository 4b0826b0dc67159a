#pragma once
// Barcodes of the A4 sheets, encoded by libzint and drawn from its bar
// geometry (never a bitmap), so a sheet prints sharp at any resolution.
#include <string>
#include <string_view>
#include <vector>

enum class TTipoBarras { Codabar, Code39, Intercalado2de5, Matrix2de5, Code93, EAN13 };

// Settings of one barcode element: narrow bar width in px (96 per inch) and
// the wide-to-narrow factor asked for.
struct TBarrasA4 {
    TTipoBarras tipo = TTipoBarras::Codabar;
    double modulo = 2;
    double razao = 1;
};

// Scanners read the two-width kinds only with wide bars 2.2 to 3 times the
// narrow ones; the panel's default asks 1. Below 2.5 they are drawn at 2.5.
constexpr double RazaoMinimaBarras = 2.5;
double RazaoDesenhada(TTipoBarras tipo, double razaoPedida);

// Goods codes never carry Codabar's start and stop characters: "A" is put at
// both ends unless the value already starts and ends with one of A to D.
std::string ValorCodabar(std::string_view valor);

// One encoded symbol: bars as (left, width) in narrow-bar units from the
// left edge of the first bar; no bars when the value cannot be encoded.
struct TSimboloBarras {
    std::vector<std::pair<double, double>> barras;
    double largura = 0;
    bool Vazio() const { return barras.empty(); }
};

// No human-readable text, no optional check digit (Code 93 keeps its two
// mandatory ones). Never throws for a bad value: the symbol comes back empty.
TSimboloBarras CodificaBarras(TTipoBarras tipo, double razao, std::string_view valor);
