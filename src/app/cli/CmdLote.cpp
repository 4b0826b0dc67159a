// etiquetas-cli lote: builds a label batch from the goods window's options,
// with no window, on the database named by PATH MERKOR in the configEtq.ini
// beside the program, and says how many queue rows were written.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "goods/LoteEtiquetas.h"

namespace {

std::string LerLista(const std::string& arquivo) {
    if (arquivo == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::error_code ec;
    if (std::filesystem::is_directory(arquivo, ec))
        throw Exception("A listagem de códigos de barras " + arquivo + " é uma pasta, não um arquivo.");
    std::ifstream f(arquivo, std::ios::binary);
    if (!f) throw Exception("Não foi possível ler a listagem de códigos de barras: " + arquivo);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
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
