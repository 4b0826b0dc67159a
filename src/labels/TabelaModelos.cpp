// The dispatch table: one row per model number, 1 to 59, each with its routine.
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"

using E = TImpressaoEtiquetas;

const std::vector<TLinhaTabelaModelos>& TabelaModelos() {
    static const std::vector<TLinhaTabelaModelos> tabela{
        {1, [](E& e) { Etiq_Modelo_01(e); }},
        {2, [](E& e) { Etiq_Modelo_02(e, 2); }},
        {3, [](E& e) { Etiq_Modelo_03(e); }},
        {4, [](E& e) { Etiq_Modelo_04(e); }},
        {5, [](E& e) { Etiq_Modelo_05(e); }},
        {6, [](E& e) { Etiq_Modelo_06(e); }},
        {7, [](E& e) { Etiq_Modelo_07(e); }},
        {8, [](E& e) { Etiq_Modelo_08(e); }},
        {9, [](E& e) { Etiq_Modelo_09(e); }},
        {10, [](E& e) { Etiq_Modelo_10(e); }},
        {11, [](E& e) { Etiq_Modelo_11(e); }},
        {12, [](E& e) { Etiq_Modelo_12(e); }},
        {13, [](E& e) { Etiq_Modelo_13(e); }},
        {14, [](E& e) { Etiq_Modelo_14(e); }},
        {15, [](E& e) { Etiq_Modelo_15(e); }},
        {16, [](E& e) { Etiq_Modelo_16(e); }},
        {17, [](E& e) { Etiq_Modelo_17(e); }},
        {18, [](E& e) { Etiq_Modelo_18(e); }},
        {19, [](E& e) { Etiq_Modelo_19(e, 19); }},
        {20, [](E& e) { Etiq_Modelo_20(e); }},
        {21, [](E& e) { Etiq_Modelo_21(e); }},
        {22, [](E& e) { Etiq_Modelo_22(e); }},
        {23, [](E& e) { Etiq_Modelo_23(e); }},
        {24, [](E& e) { Etiq_Modelo_24(e); }},
        {25, [](E& e) { Etiq_Modelo_25(e); }},
        {26, [](E& e) { Etiq_Modelo_26(e); }},
        {27, [](E& e) { Etiq_Modelo_27(e); }},
        {28, [](E& e) { Etiq_Modelo_28(e); }},
        {29, [](E& e) { Etiq_Modelo_29(e); }},
        {30, [](E& e) { Etiq_Modelo_30(e); }},
        {31, [](E& e) { Etiq_Modelo_31(e); }},
        {32, [](E& e) { Etiq_Modelo_32(e); }},
        {33, [](E& e) { Etiq_Modelo_33(e); }},
        {34, [](E& e) { Etiq_Modelo_34(e); }},
        {35, [](E& e) { Etiq_Modelo_35(e); }},
        {36, [](E& e) { Etiq_Modelo_36(e); }},
        {37, [](E& e) { Etiq_Modelo_37(e); }},
        {38, [](E& e) { Etiq_Modelo_38(e); }},
        {39, [](E& e) { Etiq_Modelo_39(e); }},
        {40, [](E& e) { Etiq_Modelo_40(e); }},
        {41, [](E& e) { Etiq_Modelo_41(e); }},
        {42, [](E& e) { Etiq_Modelo_42(e); }},
        {43, [](E& e) { Etiq_Modelo_43(e); }},
        {44, [](E& e) { Etiq_Modelo_44(e); }},
        {45, [](E& e) { Etiq_Modelo_45(e, "cod_nome_valor"); }},
        {46, [](E& e) { Etiq_Modelo_45(e, "cod_bar"); }},
        {47, [](E& e) { Etiq_Modelo_47(e); }},
        {48, [](E& e) { Etiq_Modelo_48(e); }},
        {49, [](E& e) { Etiq_Modelo_02(e, 49); }},
        {50, [](E& e) { Etiq_Modelo_50(e); }},
        {51, [](E& e) { Etiq_Modelo_51(e); }},
        {52, [](E& e) { Etiq_Modelo_52(e); }},
        {53, [](E& e) { Etiq_Modelo_53(e, 1); }},
        {54, [](E& e) { Etiq_Modelo_53(e, 0); }},
        {55, [](E& e) { Etiq_Modelo_55(e); }},
        {56, [](E& e) { Etiq_Modelo_56(e); }},
        {57, [](E& e) { Etiq_Modelo_19(e, 57); }},
        {58, [](E& e) { Etiq_Modelo_58(e); }},
        {59, [](E& e) { Etiq_Modelo_59(e); }},
    };
    return tabela;
}

void ExecutarModelo(E& imp, int numero) {
    const auto& tabela = TabelaModelos();
    if (numero < 1 || numero > static_cast<int>(tabela.size())) return;
    const TLinhaTabelaModelos& linha = tabela[static_cast<size_t>(numero - 1)];
    if (!linha.rotina) throw Exception("Modelo " + ZerosEsquerda(numero, 2) + " ainda não disponível");
    linha.rotina(imp);
}
