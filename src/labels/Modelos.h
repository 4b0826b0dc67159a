#pragma once
// The routines of the 59 label models and the dispatch table that picks one
// by model number. The routine of model NN is Etiq_Modelo_NN; a routine that
// serves two numbers bears the lower one and takes an argument.
//
// Adding a model: write its routine (a thermal one is its TModeloTermico and a
// call to PercorrerFila, see Percurso.h) and point its row in TabelaModelos.cpp
// at it. A row still empty raises "Modelo NN ainda não disponível".
#include <functional>
#include <string>
#include <vector>

#include "interface/ModelosA4.h"

class TImpressaoEtiquetas;

using TRotinaModelo = std::function<void(TImpressaoEtiquetas&)>;

struct TLinhaTabelaModelos {
    int numero;
    TRotinaModelo rotina;  // Etiq_Modelo_NN
};

// One row per model number 1..59, in number order.
const std::vector<TLinhaTabelaModelos>& TabelaModelos();
// Runs the routine of `numero`; a number without a row (0, negative, above 59)
// runs nothing. A row without a routine raises "Modelo NN ainda não disponível".
void ExecutarModelo(TImpressaoEtiquetas& imp, int numero);

// Thermal and shelf-edge (labels/termicos/ and Modelo09.cpp).
void Etiq_Modelo_01(TImpressaoEtiquetas&);
void Etiq_Modelo_02(TImpressaoEtiquetas&, int modelo);  // 2, 49
void Etiq_Modelo_03(TImpressaoEtiquetas&);
void Etiq_Modelo_04(TImpressaoEtiquetas&);
void Etiq_Modelo_05(TImpressaoEtiquetas&);
void Etiq_Modelo_06(TImpressaoEtiquetas&);
void Etiq_Modelo_07(TImpressaoEtiquetas&);
void Etiq_Modelo_08(TImpressaoEtiquetas&);
void Etiq_Modelo_09(TImpressaoEtiquetas&);  // from the format table FORMATMRG
void Etiq_Modelo_10(TImpressaoEtiquetas&);
void Etiq_Modelo_11(TImpressaoEtiquetas&);
void Etiq_Modelo_12(TImpressaoEtiquetas&);
void Etiq_Modelo_13(TImpressaoEtiquetas&);
void Etiq_Modelo_14(TImpressaoEtiquetas&);
void Etiq_Modelo_15(TImpressaoEtiquetas&);
void Etiq_Modelo_16(TImpressaoEtiquetas&);
void Etiq_Modelo_17(TImpressaoEtiquetas&);
void Etiq_Modelo_18(TImpressaoEtiquetas&);
void Etiq_Modelo_19(TImpressaoEtiquetas&, int modelo);  // 19, 57
void Etiq_Modelo_21(TImpressaoEtiquetas&);
void Etiq_Modelo_22(TImpressaoEtiquetas&);
void Etiq_Modelo_23(TImpressaoEtiquetas&);
void Etiq_Modelo_24(TImpressaoEtiquetas&);
void Etiq_Modelo_25(TImpressaoEtiquetas&);
void Etiq_Modelo_27(TImpressaoEtiquetas&);
void Etiq_Modelo_29(TImpressaoEtiquetas&);
void Etiq_Modelo_30(TImpressaoEtiquetas&);
void Etiq_Modelo_31(TImpressaoEtiquetas&);
void Etiq_Modelo_36(TImpressaoEtiquetas&);
void Etiq_Modelo_37(TImpressaoEtiquetas&);
void Etiq_Modelo_38(TImpressaoEtiquetas&);
void Etiq_Modelo_40(TImpressaoEtiquetas&);
void Etiq_Modelo_41(TImpressaoEtiquetas&);
void Etiq_Modelo_43(TImpressaoEtiquetas&);
void Etiq_Modelo_44(TImpressaoEtiquetas&);
void Etiq_Modelo_45(TImpressaoEtiquetas&, const std::string& modo);  // 45 "cod_nome_valor", 46 "cod_bar"
void Etiq_Modelo_47(TImpressaoEtiquetas&);
void Etiq_Modelo_48(TImpressaoEtiquetas&);
void Etiq_Modelo_50(TImpressaoEtiquetas&);
void Etiq_Modelo_51(TImpressaoEtiquetas&);
void Etiq_Modelo_52(TImpressaoEtiquetas&);
void Etiq_Modelo_53(TImpressaoEtiquetas&, int comNomeLoja);  // 53 (1), 54 (0)
void Etiq_Modelo_56(TImpressaoEtiquetas&);
void Etiq_Modelo_58(TImpressaoEtiquetas&);
void Etiq_Modelo_59(TImpressaoEtiquetas&);

// A4 sheets (labels/a4/).
void Etiq_Modelo_20(TImpressaoEtiquetas&);
void Etiq_Modelo_26(TImpressaoEtiquetas&);
void Etiq_Modelo_28(TImpressaoEtiquetas&);
void Etiq_Modelo_32(TImpressaoEtiquetas&);
void Etiq_Modelo_33(TImpressaoEtiquetas&);
void Etiq_Modelo_34(TImpressaoEtiquetas&);
void Etiq_Modelo_35(TImpressaoEtiquetas&);
void Etiq_Modelo_39(TImpressaoEtiquetas&);
void Etiq_Modelo_42(TImpressaoEtiquetas&);
void Etiq_Modelo_55(TImpressaoEtiquetas&);
