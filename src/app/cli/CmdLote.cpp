// etiquetas-cli lote: builds a label batch from the goods window's options,
// with no window, on the database named by PATH MERKOR in the configEtq.ini
// beside the program, and says what the queue holds: "N linhas na fila, M
// etiquetas" (the rows of a batch start without labels).
#include <unistd.h>

#include <iostream>

#include "Comandos.h"
#include "common/ArquivoComum.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "goods/EtiquetasDesatualizadas.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "goods/LoteEtiquetas.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/TotalFila.h"

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
    if (CriterioDeEtiqueta(pedido.Opcoes)) PrepararEtiquetasAtuais(dtm);
    TSelecaoMercadorias selecao(dtm);
    selecao.Opcoes = pedido.Opcoes;
    selecao.ProcessarGrades = pedido.ProcessarGrades;
    selecao.ParamModelo = pedido.ParamModelo;
    // A print cut short here lives on in the queue: said, or kept with --sem-substituir.
    bool recusada = false;
    selecao.AntesDeSubstituir = [&] {
        std::string pergunta = TImpressaoEtiquetas::PerguntaSubstituicao(dtm);
        if (pergunta.empty()) return true;
        pergunta.resize(pergunta.size() - std::string(" Substituir a fila mesmo assim?").size());
        if (pedido.SemSubstituir) {
            std::cerr << pergunta << " A fila foi mantida (--sem-substituir).\n";
            recusada = true;
            return false;
        }
        std::cerr << "Aviso: " << pergunta << " Substituindo a fila.\n";
        return true;
    };
    selecao.MontarLote();
    if (recusada || !selecao.LoteGravado) return 1;
    const TTotalFila total = ContarFila(dtm);
    std::cout << total.linhas << (total.linhas == 1 ? " linha" : " linhas") << " na fila, " << total.etiquetas
              << (total.etiquetas == 1 ? " etiqueta" : " etiquetas") << "\n";
    return 0;
}

TRegistroComando registro({"lote", UsoLote(),
                           "esvazia a fila de etiquetas e a enche com as mercadorias escolhidas; mostra \"N linhas "
                           "na fila, M etiquetas\" (--sql: só mostra a instrução)",
                           Lote});

}  // namespace
