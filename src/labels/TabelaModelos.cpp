// The dispatch table: one row per model number. Point a row at its routine
// when the routine lands; until then the row stays empty.
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"

using E = TImpressaoEtiquetas;

const std::vector<TLinhaTabelaModelos>& TabelaModelos() {
    static const std::vector<TLinhaTabelaModelos> tabela{
        {1, {}},
        {2, {}},   // Etiq_Modelo_02(e, 2)
        {3, {}},
        {4, {}},
        {5, {}},
        {6, {}},
        {7, {}},
        {8, {}},
        {9, [](E& e) { Etiq_Modelo_09(e); }},
        {10, {}},
        {11, [](E& e) { Etiq_Modelo_11(e); }},
        {12, {}},
        {13, {}},
        {14, {}},
        {15, {}},
        {16, {}},
        {17, {}},
        {18, {}},
        {19, {}},  // Etiq_Modelo_19(e, 19)
        {20, [](E& e) { Etiq_Modelo_20(e); }},
        {21, {}},
        {22, {}},
        {23, {}},
        {24, {}},
        {25, {}},
        {26, [](E& e) { Etiq_Modelo_26(e); }},
        {27, {}},
        {28, [](E& e) { Etiq_Modelo_28(e); }},
        {29, {}},
        {30, {}},
        {31, {}},
        {32, [](E& e) { Etiq_Modelo_32(e); }},
        {33, [](E& e) { Etiq_Modelo_33(e); }},
        {34, [](E& e) { Etiq_Modelo_34(e); }},
        {35, [](E& e) { Etiq_Modelo_35(e); }},
        {36, {}},
        {37, {}},
        {38, {}},
        {39, [](E& e) { Etiq_Modelo_39(e); }},
        {40, {}},
        {41, {}},
        {42, [](E& e) { Etiq_Modelo_42(e); }},
        {43, {}},
        {44, {}},
        {45, {}},  // Etiq_Modelo_45(e, "cod_nome_valor")
        {46, {}},  // Etiq_Modelo_45(e, "cod_bar")
        {47, {}},
        {48, {}},
        {49, {}},  // Etiq_Modelo_02(e, 49)
        {50, {}},
        {51, {}},
        {52, {}},
        {53, {}},  // Etiq_Modelo_53(e, 1)
        {54, {}},  // Etiq_Modelo_53(e, 0)
        {55, [](E& e) { Etiq_Modelo_55(e); }},
        {56, {}},
        {57, {}},  // Etiq_Modelo_19(e, 57)
        {58, {}},
        {59, {}},
    };
    return tabela;
}

bool ModeloA4(int n) {
    switch (n) {
        case 20: case 26: case 28: case 32: case 33: case 34: case 35: case 39: case 42: case 55: return true;
        default: return false;
    }
}

void ExecutarModelo(E& imp, int numero) {
    const auto& tabela = TabelaModelos();
    if (numero < 1 || numero > static_cast<int>(tabela.size())) return;
    const TLinhaTabelaModelos& linha = tabela[static_cast<size_t>(numero - 1)];
    if (!linha.rotina) throw Exception("Modelo " + ZerosEsquerda(numero, 2) + " ainda não disponível");
    linha.rotina(imp);
}
