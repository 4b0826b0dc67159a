#pragma once
// The model 09 design as the shop keeps it in FORMATMRG, read into values,
// checked and written back, and as a text file to copy between shops.
// Header row 113: labels per row (ORD_IMP), pitch in mm (TAM_IMP); field rows
// 13 with PRINT_CAMPO 'T', in AUX_2 order.
#include <optional>
#include <string>
#include <vector>

namespace fb {
class TDatabase;
}

struct TCampo09 {
    std::string nome;      // NOM_CAMPO
    std::string titulo;    // TIT_CAMPO, the text of a "TEXTO LIVRE" row
    int tamanho = 0;       // TAM_IMP: characters, or bar height in 0.4 mm
    int fonte = 0;         // AUX_1
    int vertical = 0;      // AUX_2, mm
    int horizontal = 0;    // AUX_3, mm
    std::string variante;  // AUX_4, barcode row
    // Columns the shop's retail system owns: written back as they were read.
    std::optional<int64_t> ordImp;    // ORD_IMP
    std::optional<std::string> aux5;  // AUX_5

    bool operator==(const TCampo09&) const = default;
};

struct TLeiaute09 {
    bool temCabecalho = false;  // a row 113 exists
    int porLinha = 0;           // ORD_IMP of row 113
    int passo = 0;              // TAM_IMP of row 113, mm
    std::vector<TCampo09> campos;

    bool Vazio() const { return !temCabecalho && campos.empty(); }
    bool operator==(const TLeiaute09&) const = default;
};

// Names model 09 prints from the goods row or the queue window.
const std::vector<std::string>& VocabularioCampos09();

// What model 09 makes of a name: the barcode, a free text, a vocabulary
// field; anything else prints nothing.
bool NomeCampo09Valido(const std::string& nome);

// "" when the design can be written as it is, else what is wrong (first fault).
std::string ProblemaLeiaute09(const TLeiaute09& leiaute);

// Reads the design; no header and no field rows give an empty design.
TLeiaute09 LerLeiaute09(fb::TDatabase& banco);

// Writes the header and field rows in one transaction, nothing on failure.
// `lido` is the design as it was read: when the table no longer holds it
// (another workstation saved meanwhile), nothing is written and it raises.
// Other rows, and the columns the design does not own, stay as they were.
void GravarLeiaute09(fb::TDatabase& banco, const TLeiaute09& leiaute, const TLeiaute09& lido);

// The design as a text file and back. Reading checks every value and raises
// naming the line of the first fault.
std::string TextoLeiaute09(const TLeiaute09& leiaute);
TLeiaute09 LerTextoLeiaute09(const std::string& texto);
