#pragma once
// The model 09 design as the shop keeps it in FORMATMRG, read into values,
// checked and written back, and as a text file to copy between shops.
// Header row 113: labels per row (ORD_IMP), pitch in mm (TAM_IMP); field rows
// 13 with PRINT_CAMPO 'T', in AUX_2 order.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Excecoes.h"
#include "etq/CdbETQ.h"

namespace fb {
class TDatabase;
}
class TImpressaoEtiquetas;

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

// A field row as code writes one (the editor's new rows, tests, benchmarks).
TCampo09 CampoLeiaute09(std::string nome, int tamanho, int fonte, int vertical, int horizontal,
                        std::string variante = "", std::string titulo = "");

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

// "" when the table can hold the design, else what it cannot (first fault):
// more than kMaximoCamposLeiaute09 fields, numbers outside 0..kMaximoLeiaute09,
// texts longer than their column or with a character the shop database does
// not keep (control characters, what Windows-1252 lacks). A name model 09
// does not know is not one: it is a warning (AvisosLeiaute09).
std::string ProblemaLeiaute09(const TLeiaute09& leiaute);

// The largest number a position or size may hold: the integer columns keep
// 32 bits and model 09 multiplies positions by 10 and bar heights by 4.
inline constexpr int kMaximoLeiaute09 = 214748364;

// The most field rows a design may have. A label of the widest thermal
// printers (104 mm) in its smallest font holds a few dozen texts; a longer
// design is a damaged or hostile file, and every label of a print would draw
// all of it.
inline constexpr size_t kMaximoCamposLeiaute09 = 200;

// The largest design file read: 200 fields take about 30 KB.
inline constexpr size_t kTamanhoMaximoArquivo09 = size_t{1} << 20;

// A cell of the design as the operator typed it: a whole number from 0 to
// kMaximoLeiaute09, else nullopt and `erro` says why ("3,5", "-1", "abc").
std::optional<int> InteiroLeiaute09(const std::string& texto, std::string& erro);

// What is odd about a design, never a reason not to save it.
struct TAviso09 {
    int campo = -1;  // index of the field row, -1 for the header or the whole design
    std::string texto;
    bool operator==(const TAviso09&) const = default;
};

// The warnings that follow from the design and the printer language alone:
// a name model 09 does not know (prints nothing), a barcode row in a language
// in which model 09 prints no barcode, a size of 0, two rows at one place, a
// header that never completes a row of labels. The picture adds the ones that
// need the drawing (an element leaving its label, a text cut by its size).
std::vector<TAviso09> AvisosLeiaute09(const TLeiaute09& leiaute, TCdbETQModelo linguagem);

// The language of MODELO of configEtq.ini ("PPLA", "PPLB", "ZPL", "EPL2");
// anything else is the component's own, PPLA.
TCdbETQModelo LinguagemDoTexto09(const std::string& modelo);

// "Campo 2 (NOME)": how warnings and messages name a field row.
std::string NomeDoCampo09(const TLeiaute09& leiaute, int campo);

// What the variant letter AUX_4 of the barcode row does, in plain words, for
// the printer language and brand ("ARGOX", "ELGIN") configured.
std::string DescricaoVariante09(const std::string& variante, TCdbETQModelo linguagem, const std::string& impressora);

// Raised by GravarLeiaute09 when another workstation changed the design
// after it was read.
class EDesenhoAlterado09 : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EDesenhoAlterado09"; }
};

// Reads the design; no header and no field rows give an empty design.
TLeiaute09 LerLeiaute09(fb::TDatabase& banco);

// Writes the header and field rows in one transaction, nothing on failure.
// `lido` is the design as it was read: when the table no longer holds it
// (another workstation saved meanwhile), nothing is written and it raises
// EDesenhoAlterado09.
// Other rows, and the columns the design does not own, stay as they were.
void GravarLeiaute09(fb::TDatabase& banco, const TLeiaute09& leiaute, const TLeiaute09& lido);

// The design as a text file and back. Reading checks every value and raises
// naming the line of the first fault (", Linha N: " after `arquivo` when one is
// given); a name model 09 does not know is read (AvisosLeiaute09 names it).
// The file is UTF-8, with or without a byte-order mark; a byte that is not
// UTF-8, a control character, a character Windows-1252 lacks, a key given
// twice in one section, more than kMaximoCamposLeiaute09 fields, and a file
// without a field or without its [etiqueta] are refused.
std::string TextoLeiaute09(const TLeiaute09& leiaute);
TLeiaute09 LerTextoLeiaute09(std::string_view texto, std::string_view arquivo = {});

// What model 09 prints for `leiaute` over the queue of `imp` (the routine
// Etiq_Modelo_09 runs once it has read the design from the table; the
// editor's picture runs it over sample goods). `aoDesenhar`, when given, hears
// the index of each field row and the label's column (1..) as its drawing
// call goes to the component.
void ImprimirLeiaute09(TImpressaoEtiquetas& imp, const TLeiaute09& leiaute,
                       const std::function<void(int campo, int coluna)>& aoDesenhar = {});
