#pragma once
// How big the queue is before it prints: its rows and the labels a print of
// it sends (each count above 0 rounded as the walk rounds it), the A4 sheets
// they fill, the line under the queue grid, and the question asked before a
// print above the limit of configEtq.ini (LIMITE CONFIRMACAO).
#include <cstdint>
#include <string>

class TdtmAplicativo;

struct TTotalFila {
    int64_t linhas = 0;
    int64_t etiquetas = 0;
};

// One aggregate over ETIQUETAREAD in the module's transaction (what the
// window has posted counts too).
TTotalFila ContarFila(TdtmAplicativo& dtm);

// Sheets of `celulasPorFolha` cells the labels fill after `brancas` blank
// cells on the first sheet; 0 without labels.
int64_t FolhasA4(int64_t etiquetas, int brancas, int celulasPorFolha);

// "4.715": thousands grouped as the program's locale groups them.
std::string NumeroAgrupado(int64_t n);

// "N linhas, M etiquetas", with ", F folhas" when folhas is not negative.
std::string TextoTotalFila(const TTotalFila& total, int64_t folhas = -1);

// LIMITE CONFIRMACAO: a whole number of labels; a print of more labels asks
// first, an A4 print asks above one sheet for every 25 of them (500 labels,
// 20 sheets). 0 never asks.
struct TLimiteConfirmacao {
    int64_t etiquetas = 500;
    int64_t folhas = 20;
};
extern const char* const kChaveLimiteConfirmacao;  // "LIMITE CONFIRMACAO"
// The limit a value gives; a value that is not a whole number of 0 or more
// (hand-edited) gives the default: better asked once too often than never.
TLimiteConfirmacao LimiteConfirmacaoDe(const std::string& valor);
TLimiteConfirmacao LerLimiteConfirmacao();  // from configEtq.ini
// A value typed for the key: "" when it can be saved, otherwise why not.
std::string ValidarLimiteConfirmacao(const std::string& valor);

// "Imprimir 4.715 etiquetas (modelo 11) em FILE:/x.prn?" (thermal) or
// "Imprimir 45.199 etiquetas (modelo 26) em 1.507 folhas?" (A4, folhas >= 0),
// or "" when the print is within the limit.
std::string PerguntaImpressaoGrande(const TTotalFila& total, int modelo, const std::string& porta, int64_t folhas,
                                    const TLimiteConfirmacao& limite);
