// The goods criteria of `etiquetas-cli lote`, as a script or an installer
// passes them (one argument a line; after a NUL byte, the --lista file): any
// words are options or a refusal with its message, never a crash, and the
// goods statement built from accepted options keeps every text literal closed
// (an even number of quotes in each part), so no value escapes into the SQL.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string entrada(reinterpret_cast<const char*>(dados), tamanho);
    const size_t nulo = entrada.find('\0');
    const std::string linhas = entrada.substr(0, nulo);
    const std::string lista = nulo == std::string::npos ? "" : entrada.substr(nulo + 1);
    std::vector<std::string> argumentos;
    size_t inicio = 0;
    while (inicio <= linhas.size() && !linhas.empty()) {
        const size_t fim = std::min(linhas.find('\n', inicio), linhas.size());
        argumentos.push_back(linhas.substr(inicio, fim - inicio));
        inicio = fim + 1;
    }
    TPedidoLote pedido;
    try {
        pedido = LerPedidoLote(argumentos, [&](const std::string&) { return lista; });
        ValidarOpcoes(pedido.Opcoes);
    } catch (const std::exception& e) {
        if (std::string(e.what()).empty()) __builtin_trap();
        return 0;
    }
    for (const std::string& parte : SQLMercadorias(pedido.Opcoes))
        if (std::count(parte.begin(), parte.end(), '\'') % 2 != 0) __builtin_trap();
    return 0;
}
