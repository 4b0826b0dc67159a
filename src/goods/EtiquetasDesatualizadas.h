#pragma once
// The goods whose shelf label no longer says what the goods row says, and the
// goods never labelled, read from what the last delivered label of each goods
// item said (ETIQUETA_ATUAL, data/EtiquetaAtual.h). Only active goods count.
// A table that cannot be read, or a label price that is not a number, is
// raised with a message saying so: the criterion then selects nothing.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "goods/OpcoesMercadorias.h"

namespace fb {
class TDatabase;
class TTransaction;
}  // namespace fb

class TdtmAplicativo;

// Makes ETIQUETA_ATUAL and the journal's label columns when missing (a shop
// that never printed with them: every goods item is never labelled). Quiet
// about failures but a lost link: the reading that follows says what is wrong.
void PrepararEtiquetasAtuais(TdtmAplicativo& dtm);

// Either label criterion is checked.
bool CriterioDeEtiqueta(const TOpcoesMercadorias& o);
// "Não foi possível ler as etiquetas já impressas: " + why.
std::string MensagemEtiquetasIlegiveis(const std::exception& falha);

struct TConsultaEtiquetas {
    bool desatualizadas = true;
    bool nunca = false;
    std::optional<long long> departamento;
};

// How many goods items the criteria select, in one statement.
int64_t ContarEtiquetas(fb::TDatabase& banco, fb::TTransaction& tr, const TConsultaEtiquetas& c);

// The count of the main window's line: active goods with a stale label, on a
// connection of its own to the shop of configEtq.ini (it runs beside the
// windows); 0 when no label was ever kept.
int64_t ContarDesatualizadasDaLoja();

// One goods item: code, barcode, name; what its last label said (price,
// name, barcode; empty when never labelled); what the goods row says now
// (price, name, barcode); when and where that label was printed.
struct TEtiquetaDesatualizada {
    int64_t codigo = 0;
    std::string barras, nome;
    bool etiquetada = false;
    std::string precoEtiqueta, nomeEtiqueta, barrasEtiqueta;
    std::string precoAgora, nomeAgora, barrasAgora;
    std::string quando, onde;
    int64_t quantidade = 0;  // labels the last print delivered
};
std::vector<TEtiquetaDesatualizada> ListarEtiquetas(fb::TDatabase& banco, fb::TTransaction& tr,
                                                    const TConsultaEtiquetas& c);
// Tab-separated, one line.
std::string LinhaEtiqueta(const TEtiquetaDesatualizada& e);
