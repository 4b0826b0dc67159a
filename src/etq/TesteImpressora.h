#pragma once
// The printer test of the configuration panel ("Teste Cod Barras / Texto"),
// without any window: the panel, etiquetas-cli and the tests call it alike.
#include <optional>
#include <string>

#include "etq/CdbETQ.h"

// The panel's fields as they stand (texts, UTF-8), converted only when used.
struct TParametrosTeste {
    std::string Porta;                     // edtRede
    std::string Temperatura;               // edtTemp
    std::optional<TCdbETQModelo> Modelo;   // the checked language button; none keeps the component's
    std::string Linha = "3";               // edtL, mm
    std::string Coluna = "3";              // edtCol, mm
    std::string Altura = "20";             // edtAlt
    std::string QtdColunas = "1";          // qtdCol
    std::string EntreColunas = "30";       // edtEntCol, mm
    std::string Codigo = "7893156253569";  // codBar
    std::string TipoBarras = "F";          // modBar
    bool ImprimirNumeroBarras = true;      // chkPrintNbar
    bool ImprimirComoTexto = true;         // chkPrintTexto
};

// More columns than any label roll holds are refused before anything is sent.
constexpr int kMaxColunasTeste = 99;

// Sets up `etq` from the fields and prints one test label; returns the bytes
// the port took. A field that is not an integer (or a column count no label
// holds) raises EConvertError before anything is sent.
size_t ImprimirTeste(TCdbETQ& etq, const TParametrosTeste& p);
