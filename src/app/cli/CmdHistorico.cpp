// etiquetas-cli historico: the journal of label prints of the shop database.
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "labels/DiarioImpressao.h"

namespace {

int Executar(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const std::string ultimos = op.Valor("ultimos", "20");
    op.VerificarDesconhecidas();
    if (!op.Posicionais().empty()) throw Exception("Argumento inesperado: " + op.Posicionais().front());
    if (ultimos.empty() || ultimos.size() > 6 || SoNumeros(ultimos) != ultimos || StrToInt(ultimos) < 1)
        throw Exception("Valor inválido para --ultimos: " + ultimos + " (use um número de 1 a 999999)");

    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    TDiarioImpressao diario(dtm);
    const auto lista = diario.Ultimas(StrToInt(ultimos), "", 0, nullptr, false);
    if (!diario.Motivo().empty()) throw Exception("Diário de impressões indisponível: " + diario.Motivo());
    // A run has as many rows as its queue: they are read and written a block at a time.
    constexpr int64_t kPorVez = 1000;
    for (const auto& r : lista) {
        std::cout << LinhaHistorico(r);
        for (int64_t de = 1;; de += kPorVez) {
            const auto itens = diario.Itens(r.ID, de, de + kPorVez - 1);
            if (!diario.Motivo().empty()) throw Exception("Diário de impressões indisponível: " + diario.Motivo());
            for (const auto& i : itens) std::cout << LinhaHistorico(i);
            // A run's rows are written in order, with no gap.
            if (itens.size() < static_cast<size_t>(kPorVez)) break;
        }
    }
    return 0;
}

const TRegistroComando registro({
    "historico",
    "[--ultimos N]",
    "lista as últimas impressões de etiquetas (padrão 20), com as linhas da fila e quantas foram entregues",
    Executar,
});

}  // namespace
