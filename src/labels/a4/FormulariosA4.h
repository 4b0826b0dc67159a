#pragma once
// The report forms of the ten A4 sheet models: each is a table (page,
// grid, cell elements), its barcode setup and, for forms 20 and 35, the hook
// run before each cell.
#include <string>
#include <vector>

#include "interface/ModelosA4.h"
#include "labels/a4/RelatorioA4.h"

// Installation data printed by forms 20 and 42: configEtq.ini keys
// NOME LOJA, TELEFONE1 LOJA, TELEFONE2 LOJA and LOGO LOJA (a relative logo
// path is taken from the program folder). Empty when absent.
struct TDadosLoja {
    std::string nome, telefone1, telefone2, logo;
};
TDadosLoja LerDadosLoja();

struct TMercadoria;
// The texts LINHA1 to LINHA5 an A4 model puts into the cell of one goods row
// (`loja`: the shop's name, for the models that print it); LINHA6 stays empty.
// Raises for a model that does not print on A4 sheets.
TLinhasCelula TextosCelulaA4(int modelo, const TMercadoria& mercadoria, const std::string& loja);

// The form of an A4 model as designed (barcode ratio 1, its own kind);
// raises for a model that does not print on A4 sheets.
TFormularioA4 CriaFormularioA4(int modelo, const TDadosLoja& loja = {});

// The barcode kind of a TipoBarraA4 value (0 Codabar, 1 Code 39, 2 Interleaved
// 2 of 5, 3 Matrix 2 of 5, 4 Code 93), or the form's own kind for any other.
TTipoBarras TipoBarrasA4(int TipoBarraA4, TTipoBarras proprio);

// The kind choice of a barcode form: TipoBarraA4 or the form's own kind.
void AtivaModeloBarras(TFormularioA4& formulario, int modelo, int TipoBarraA4);

// Ratio from IndiceRatio and, for all barcode forms but 35, the kind choice.
// Forms without a barcode stay as they are.
void ConfiguraBarrasA4(TFormularioA4& formulario, int modelo, int IndiceRatio, int TipoBarraA4);
