// etiquetas-cli desatualizadas: the goods whose shelf label no longer says
// what the goods row says (or, with --nunca, the goods never labelled).
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "goods/EtiquetasDesatualizadas.h"
#include "goods/FiltroMercadorias.h"

namespace {

int Executar(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    TConsultaEtiquetas c;
    if (op.Flag("nunca")) {
        c.desatualizadas = false;
        c.nunca = true;
    }
    if (op.Tem("departamento")) {
        const std::string d = op.Valor("departamento");
        if (!EhNumeroInteiro(d) || d.size() > 18)
            throw Exception("A opção --departamento espera o código do departamento, um número inteiro; '" + d +
                            "' não serve.");
        c.departamento = std::stoll(d);
    }
    const bool contar = op.Flag("contar");
    op.VerificarDesconhecidas();
    if (!op.Posicionais().empty()) throw Exception("Argumento inesperado: " + op.Posicionais().front());

    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    PrepararEtiquetasAtuais(dtm);
    fb::TTransaction tr(dtm.dtbAplicativo, {"concurrency", "nowait", "read"});
    if (contar) {
        std::cout << ContarEtiquetas(dtm.dtbAplicativo, tr, c) << "\n";
        return 0;
    }
    for (const auto& e : ListarEtiquetas(dtm.dtbAplicativo, tr, c)) std::cout << LinhaEtiqueta(e) << "\n";
    return 0;
}

const TRegistroComando registro({
    "desatualizadas",
    "[--nunca] [--departamento N] [--contar]",
    "lista as mercadorias ativas cuja última etiqueta entregue mostra outro preço, nome ou código de barras "
    "(--nunca: as nunca etiquetadas; --contar: só quantas)",
    Executar,
});

}  // namespace
