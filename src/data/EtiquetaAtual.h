#pragma once
// What the last delivered label of each goods item says, kept so that the
// labels that no longer match their goods are found with one indexed join
// instead of a pass over the whole print journal.
//
// Each journal row (DIARIO_IMPRESSAO_ITEM) keeps what its labels showed: the
// program writes the model (ETQ_MODELO) and the prices it printed (ETQ_VLR_VEN,
// ETQ_VLR_VEN_2, NULL when the model prints none); the server fills in the
// goods' barcode and name and the time as the row is written. A trigger then
// puts every row with labels delivered (of a goods item, not a size/colour
// variant) into ETIQUETA_ATUAL, one row per goods code, so the newest
// delivered label of any workstation is the one kept there.
//
// Labels printed before these columns existed said nothing the program knows:
// their goods count as never labelled until printed once.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "common/Decimal.h"

namespace fb {
class TDatabase;
class TTransaction;
}  // namespace fb

inline constexpr const char* kTabelaEtiquetaAtual = "ETIQUETA_ATUAL";

// What exists of the above in a shop database.
struct TEsquemaEtiquetaAtual {
    bool tabela = false;   // ETIQUETA_ATUAL
    bool diario = false;   // the journal's row table
    bool colunas = false;  // its ETQ_ columns
    bool gatilhoAntes = false, gatilhoDepois = false;
    bool Completo() const { return tabela && diario && colunas && gatilhoAntes && gatilhoDepois; }
};

// Creates what is missing (each step committed on its own; the table is
// granted to PUBLIC, as every table the program creates, so another database
// user of the shop can read and keep it). Needs the journal's row table for
// its columns and triggers: without it only ETIQUETA_ATUAL is made. Answers
// what exists afterwards; failures are raised.
TEsquemaEtiquetaAtual PrepararEtiquetaAtual(fb::TDatabase& banco);
// What exists, in one request.
TEsquemaEtiquetaAtual LerEsquemaEtiquetaAtual(fb::TDatabase& banco);

// The row of ETIQUETA_ATUAL of one goods item.
struct TEtiquetaAtual {
    std::optional<Decimal> VLR_VEN, VLR_VEN_2;  // none: the model printed no price
    std::string BARRAS, NOME, ESTACAO;
    int64_t QUANTIDADE = 0;
    int MODELO = 0;
    double HORA = 0;  // TDateTime
};
// The last labels of the goods of the label queue (ETIQUETAREAD), by code.
std::unordered_map<int64_t, TEtiquetaAtual> EtiquetasAtuaisDaFila(fb::TDatabase& banco, fb::TTransaction& tr);
// What the queue window tells of a row built from stale labels: "Etiqueta
// anterior: R$ 10,00 (11/12/2026 09:30, CAIXA1); agora: R$ 10,01".
std::string TextoEtiquetaAnterior(const TEtiquetaAtual& e, const Decimal& precoAgora);
