#pragma once
// The goods statement and the small statements of the row checks, built from
// the options alone (no window, no database). Typed texts that stand between
// quotes have their quotes doubled; the fields that stand bare take only whole
// numbers. ValidarOpcoes refuses bad options before anything is sent.
#include <string>
#include <string_view>
#include <vector>

#include "goods/OpcoesMercadorias.h"

constexpr size_t kLinhasMercadorias = 58;
constexpr size_t kSlotOrdem = 42;
// The line of the label criteria ("Somente com etiqueta desatualizada",
// "Somente nunca etiquetadas"): a slot empty in every other statement.
constexpr size_t kSlotEtiqueta = 39;

// The statement as the window holds it before its first run ("ORDER BY COD_RED "
// in slot 42).
std::vector<std::string> SQLMercadoriasInicial();

// Raises Exception with a message naming the field when an option cannot be
// turned into a statement: a bare field that is not a whole number, a checked
// lookup with nothing chosen, a checked date option without a valid date, a
// checked barcode list without a barcode.
void ValidarOpcoes(const TOpcoesMercadorias& o);

// The 58 lines of the goods statement (validates first).
std::vector<std::string> SQLMercadorias(const TOpcoesMercadorias& o);
// The fragment of one slot (empty when its option is off); no validation.
std::string FragmentoSlot(const TOpcoesMercadorias& o, size_t slot);
// "and ((cod_bar='789') or (cod_bar='123'))"; empty when no line has a barcode.
std::string ListaCodigosBarras(std::string_view memo);
// Up to this many codes the barcode list stands in the statement as one
// "or (cod_bar=...)" each. A list far longer overflows the engine's stack
// while it compiles the statement (about 40,000 codes crash Firebird 3, and a
// server with it); a longer list goes into the temporary table below, which
// the statement reads instead (same rows, same order).
constexpr size_t kMaximoCodigosNaInstrucao = 1000;
// The temporary table (one per transaction) of a long barcode list.
inline constexpr const char* kTabelaLista = "ETIQUETALISTA";
// The non-empty lines of the list, in order, each once.
std::vector<std::string> CodigosDaLista(std::string_view memo);

// The list `etiquetas-cli lote --lista` reads from a file: besides what
// ValidarOpcoes asks of it, each code is a number (digits only, as barcodes
// are). Raises naming the line of the first that is not.
void ValidarListaNumerica(std::string_view memo);

// Every line of the list, blanks and control characters cut at both ends
// (empty lines kept, so a position is the file's line number).
std::vector<std::string> LinhasDaLista(std::string_view memo);

// Line 4 of the department check: the name condition, or " " when off.
std::string LinhaNomeDepartamento(const TOpcoesMercadorias& o);
// Row check 4: the department-check statement for one goods row.
std::vector<std::string> SQLDepartamento(const std::string& linhaNome, const std::string& depMer);
// Row check 5 (pesquisaSetor).
std::vector<std::string> SQLSetor(const std::string& setor, const std::string& depMer);
// Row check 6: the invoice number must have passed ValidarOpcoes.
std::vector<std::string> SQLNotaCompra(const std::string& nota, const std::string& codRed);
// Row check 7: dates as typed (DD/MM/AAAA).
std::vector<std::string> SQLDataCompra(const std::string& data1, const std::string& data2, const std::string& codRed);

// Condition on the goods row M: its last delivered label (ETIQUETA_ATUAL)
// says another price, second price, name or barcode than M does now. Prices
// are compared as the labels show them, rounded to two decimals.
std::string CondicaoEtiquetaDesatualizada();
// Condition on M: no delivered label at all.
std::string CondicaoNuncaEtiquetada();

// Row check 1: 1 to 6 digits in the barcode.
bool CodigoGerado(std::string_view codBar);
// Rows checks 2 and 3: "0" + the digits of each text, compared as whole
// numbers of any length; an empty bound counts as 0.
bool NaFaixa(std::string_view valor, std::string_view de, std::string_view ate);

// Whole number as the bare fields take it: an optional minus sign and digits.
bool EhNumeroInteiro(std::string_view texto);
