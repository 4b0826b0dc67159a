#pragma once
// What the configuration panel shows, and how it maps to configEtq.ini. The
// window copies these fields into its controls and back; the reading and
// writing rules live here, free of widgets.
#include <string>
#include <utility>
#include <vector>

struct TConfigPainel {
    std::string BD;               // PATH MERKOR
    std::string Rede;             // PATH REDE
    std::string Modelo = "PPLA";  // checked language button: "PPLA", "PPLB", "ZPL", "EPL2"; "" none
    int Impressora = 0;           // edtImpressora item: 0 Argox, 1 Elgin, -1 none
    std::string ModeloPrint;      // edtModelo text
    int ModeloPrintIndice = -1;   // edtModelo item; -1 keeps the typed text
    std::string Temperatura;
    std::string Colunas = "0";  // ADDCOLUNA
    int Ratio = -1;             // edtRatio item (value written is item + 1)
    int TipoBarra = -1;         // edttipobar item
    std::string TokenVitrinex;
    std::string RegTrafego;
    bool ImportVitrinex = false;
    bool Grade = false;
    std::string UltimaData = "  -  -    ";  // edtUltimaData text, literals included
    std::string NomeLoja;                   // NOME LOJA, printed by some models
    std::string TextoLoja;                  // TEXTO LOJA
    std::string LimiteConfirmacao;          // LIMITE CONFIRMACAO; empty: the default

    bool operator==(const TConfigPainel&) const = default;
};

inline constexpr int kItensRatio = 4;
inline constexpr int kItensTipoBarra = 5;
inline constexpr int kItensImpressora = 2;

// LoadConfig: the panel as the file has it, starting from `atual` for what the
// file leaves unchanged (the language buttons). Every conversion is done before
// anything is returned, so a bad value raises EConvertError and the caller
// keeps its controls as they were. `linhasModelo` are the lines of the model list.
TConfigPainel LerConfigPainel(const TConfigPainel& atual, const std::vector<std::string>& linhasModelo);

// The longest shop texts the panel takes: the widest room a label gives them.
inline constexpr size_t kMaxNomeLoja = 40;
inline constexpr size_t kMaxTextoLoja = 15;

// Refuses, naming the field, what cannot be saved as typed: a shop text too
// long or with a character configEtq.ini (Windows-1252) cannot hold, a
// threshold that is not a whole number, a date that is incomplete or no date.
// Raises Exception before anything is written.
void ValidarConfigPainel(const TConfigPainel& c);

// The shop's texts alone, as the first-start window takes them: refused as
// the panel refuses them; an empty text is not written.
void GravarTextosLoja(const std::string& nome, const std::string& texto);

// "Confirma": the keys and values in the order they are written. An empty
// date field is written empty, not as the mask's blanks.
std::vector<std::pair<std::string, std::string>> ValoresConfigPainel(const TConfigPainel& c);

// Validates, then writes them to configEtq.ini in one go; the old file stays
// whole when the write fails.
void GravarConfigPainel(const TConfigPainel& c);

// The mask edit's text for a stored date: the file holds it trimmed, the mask
// wants its blanks back ("-  -" is the empty mask "  -  -    ").
std::string TextoMascaraData(const std::string& valor);
