// bench_goods_lista CAMINHO N [instrucao|lote]: the goods statement with a
// barcode list of N codes on the shop database at CAMINHO (a file for the
// embedded engine, "127.0.0.1/PORTA:arquivo" for a server).
//   instrucao  the list as one "or (cod_bar=...)" per code, whatever N: finds
//              how long a list the engine takes before it fails or crashes
//              (run it in a child: a crash ends this program, or the server);
//   lote       a whole batch through the program's own path.
// Prints the time and the rows selected.
#include <chrono>
#include <cstdio>
#include <string>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LoteEtiquetas.h"

using Relogio = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s CAMINHO N [instrucao|lote]\n", argv[0]);
        return 2;
    }
    const std::string caminho = argv[1];
    const long n = std::stol(argv[2]);
    const std::string forma = argc > 3 ? argv[3] : "instrucao";
    std::string lista;
    for (long i = 0; i < n; ++i) lista += std::to_string(7890000000000L + i) + "\n";

    TdtmAplicativo dtm;
    dtm.dtbAplicativo.SetCaminho(caminho);
    dtm.dtbAplicativoMrg.SetCaminho(caminho);
    const auto inicio = Relogio::now();
    size_t linhas = 0;
    if (forma == "lote") {
        TSelecaoMercadorias selecao(dtm);
        selecao.Opcoes.chkListaCodBar = true;
        selecao.Opcoes.memoLista = lista;
        linhas = selecao.MontarLote();
    } else {
        fb::TQuery q(dtm.dtbAplicativoMrg, dtm.ibtAplicativoMrg);
        std::vector<std::string> sql = SQLMercadoriasInicial();
        sql[34] = ListaCodigosBarras(lista);
        for (const std::string& l : sql) q.Add(l);
        q.Open();
        for (; !q.Eof(); q.Next()) ++linhas;
        q.Close();
    }
    std::printf("%ld códigos, %s: %zu linhas em %.2f s\n", n, forma.c_str(), linhas,
                std::chrono::duration<double>(Relogio::now() - inicio).count());
    return 0;
}
