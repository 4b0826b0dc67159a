// etiquetas-cli lote: builds a label batch from the goods window's options,
// with no window, on the database named by PATH MERKOR in the configEtq.ini
// beside the program, and says how many queue rows were written.
#include <unistd.h>

#include <iostream>

#include "Comandos.h"
#include "common/ArquivoComum.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "goods/LoteEtiquetas.h"

namespace {

std::string LerLista(const std::string& arquivo) {
    try {
        if (arquivo == "-") return LerEntradaLimitada(STDIN_FILENO, kTamanhoMaximoLista, "uma listagem de códigos");
        return LerArquivoComum(arquivo, kTamanhoMaximoLista, "uma listagem de códigos");
    } catch (const EArquivoComum& e) {
        if (e.Motivo() == EArquivoComum::TMotivo::Pasta)
            throw Exception("A listagem de códigos de barras " + arquivo + " é uma pasta, não um arquivo.");
        throw Exception("Não foi possível ler a listagem de códigos de barras " +
                        (arquivo == "-" ? std::string("da entrada padrão") : arquivo) + ": " + e.Message() + ".");
    }
}

int Lote(const std::vector<std::string>& argumentos) {
    const TPedidoLote pedido = LerPedidoLote(argumentos, LerLista);
    if (pedido.SoSQL) {
        for (const std::string& linha : SQLMercadorias(pedido.Opcoes)) std::cout << linha << "\n";
        return 0;
    }
    // Refused options stop here, before anything reaches the database.
    ValidarOpcoes(pedido.Opcoes);
    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    TSelecaoMercadorias selecao(dtm);
    selecao.Opcoes = pedido.Opcoes;
    selecao.ProcessarGrades = pedido.ProcessarGrades;
    selecao.ParamModelo = pedido.ParamModelo;
    const size_t linhas = selecao.MontarLote();
    if (!selecao.LoteGravado) return 1;
    std::cout << linhas << "\n";
    return 0;
}

TRegistroComando registro({"lote", UsoLote(),
                           "esvazia a fila de etiquetas e a enche com as mercadorias escolhidas; mostra quantas "
                           "linhas gravou (--sql: só mostra a instrução)",
                           Lote});

}  // namespace
