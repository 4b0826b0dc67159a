#pragma once
// What the model list tells about each of the 59 models, for choosing one by
// looking at it: its line in the list, its kind, the printer language its
// table was written for, labels per row, column pitch and the label size
// where the list names it. Plain C++, no Qt.
#include <string>
#include <vector>

enum class TTipoModelo { Termico, Gondola, Formato, A4 };

struct TInfoModelo {
    int numero = 0;
    std::string linha;  // "11 - PPLA 3 colunas 22x33": the line of the panel's list
    TTipoModelo tipo = TTipoModelo::Termico;
    std::string escritoPara;          // "PPLA", "PPLB", "EPL2", "ZPL"; "" for A4 sheets
    int porLinha = 1;                 // labels side by side; 0 when the format table says (model 09)
    int passo = 0;                    // column pitch, tenths of a millimetre (0: one per row)
    int larguraMm = 0, alturaMm = 0;  // label size where the list names it, 0 otherwise
};

// Models 1 to 59 in number order.
const std::vector<TInfoModelo>& InfoModelos();
// The model `numero`; raises "Modelo NN não existe" outside 1..59.
const TInfoModelo& InfoModelo(int numero);
// "térmica", "gôndola", "formato do banco", "folha A4".
const char* NomeTipoModelo(TTipoModelo tipo);
// Size line of a thermal model: "33 x 22 mm, 3 por linha (passo 36 mm)",
// "3 por linha (passo 29 mm)" when the size is not named, "1 por linha".
std::string TamanhoModelo(const TInfoModelo& info);
// The warning when a model runs in another language than its table's:
// "" when they agree (PPLB and EPL2 are one stream) or for A4 sheets.
std::string AvisoLinguagem(const TInfoModelo& info, const std::string& configurada);
