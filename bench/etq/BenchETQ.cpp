// Labels per second the driver composes: a row of three model-11 labels
// (two texts, one barcode, three texts each) per job, no port behind it.
// Run: bench_etq  (items_per_second is labels per second)
#include <benchmark/benchmark.h>

#include "device/CdbDevice.h"
#include "etq/CdbETQ.h"

namespace {

void LinhaDeTresEtiquetas(benchmark::State& estado, TCdbETQModelo modelo, const char* tipoBarras) {
    TCdbETQ etq;
    etq.SetPorta("");  // active without a port: the stream is built and handed to no channel
    etq.SetModelo(modelo);
    etq.Ativar();
    const std::string preco = "R$ 12,90";
    const std::string ref = "Ref: 000123-A";
    const std::string codigo = "7891234567895";
    const std::string variante = "AZUL MARINHO 42";
    const std::string nome = "CAMISA POLO MASCULINA";
    const std::string extra = "Cod.: 12345";
    for (auto _ : estado) {
        etq.IniciarEtiqueta();
        for (int coluna = 0; coluna < 3; ++coluna) {
            const int x = coluna * 360;
            etq.ImprimirTexto(orNormal, 3, 1, 1, 3, x + 15, preco);
            etq.ImprimirTexto(orNormal, 2, 1, 1, 45, x + 15, ref);
            etq.ImprimirBarras(orNormal, tipoBarras, "2", "2", 70, x + 5, codigo, 70, becSIM);
            etq.ImprimirTexto(orNormal, 2, 1, 1, 145, x + 15, variante);
            etq.ImprimirTexto(orNormal, 2, 1, 1, 175, x + 15, nome);
            etq.ImprimirTexto(orNormal, 1, 1, 1, 200, x + 15, extra);
        }
        etq.Imprimir(1, 0);
    }
    estado.SetItemsProcessed(estado.iterations() * 3);
}

// The same through the hook channel, to see what the port object adds.
void LinhaDeTresEtiquetasPeloHook(benchmark::State& estado) {
    TCdbETQ etq;
    etq.SetPorta("DLL");
    size_t bytes = 0;
    etq.Device().HookEnviaString = [&](const std::string& d) { bytes += d.size(); };
    etq.SetModelo(etqPpla);
    etq.Ativar();
    for (auto _ : estado) {
        etq.IniciarEtiqueta();
        for (int coluna = 0; coluna < 3; ++coluna) {
            const int x = coluna * 360;
            etq.ImprimirTexto(orNormal, 3, 1, 1, 3, x + 15, "R$ 12,90");
            etq.ImprimirTexto(orNormal, 2, 1, 1, 45, x + 15, "Ref: 000123-A");
            etq.ImprimirBarras(orNormal, "F", "2", "2", 70, x + 5, "7891234567895", 70, becSIM);
            etq.ImprimirTexto(orNormal, 2, 1, 1, 145, x + 15, "AZUL MARINHO 42");
            etq.ImprimirTexto(orNormal, 2, 1, 1, 175, x + 15, "CAMISA POLO MASCULINA");
            etq.ImprimirTexto(orNormal, 1, 1, 1, 200, x + 15, "Cod.: 12345");
        }
        etq.Imprimir(1, 0);
    }
    benchmark::DoNotOptimize(bytes);
    estado.SetItemsProcessed(estado.iterations() * 3);
    estado.SetBytesProcessed(static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK_CAPTURE(LinhaDeTresEtiquetas, PPLA, etqPpla, "F");
BENCHMARK_CAPTURE(LinhaDeTresEtiquetas, ZPL, etqZPLII, "E");
BENCHMARK_CAPTURE(LinhaDeTresEtiquetas, EPL2, etqEpl2, "E30");
BENCHMARK(LinhaDeTresEtiquetasPeloHook);

BENCHMARK_MAIN();
