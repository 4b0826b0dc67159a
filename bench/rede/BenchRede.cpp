// bench_rede PORTA [mercadorias] [etiquetas] [atrasos]: on the private server
// listening on 127.0.0.1:PORTA (bench/rede/bench_rede.sh starts one), a demo
// shop of N goods (10,000 by default); then, for each round-trip delay
// (default "0,1,20" ms, half of it each way), through the delaying relay: the
// label batch of every goods item, and a model-11 print of the first M queue
// rows with one label each (1,000 by default), without pauses, to a file port.
// Prints the times and the round trips per queue row and per label, and up
// to the print's first job the round trips with the journal and without it
// (the same print again): what the journal's first record delays it by.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Retransmissor.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/demo/LojaDemo.h"
#include "data/udtmAplicativo.h"
#include "goods/LoteEtiquetas.h"
#include "labels/ImpressaoEtiquetas.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

struct Medida {
    int atraso = 0;
    size_t linhas = 0;
    int64_t etiquetas = 0;
    double lote = 0, impressao = 0, primeiroTrabalho = 0;
    uint64_t idasLote = 0, idasImpressao = 0;
    // Before the first job, with the journal and without it: what the run's first record costs.
    uint64_t idasAntesDiario = 0, idasAntesSemDiario = 0;
    double antesSemDiario = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_rede PORTA [mercadorias] [etiquetas] [atrasos ms, ex. 0,1,20]\n");
        return 2;
    }
    const int porta = std::stoi(argv[1]);
    const int mercadorias = argc > 2 ? std::stoi(argv[2]) : 10000;
    const int etiquetas = argc > 3 ? std::stoi(argv[3]) : 1000;
    std::vector<int> atrasos;
    {
        std::stringstream ss(argc > 4 ? argv[4] : "0,1,20");
        for (std::string t; std::getline(ss, t, ',');) atrasos.push_back(std::stoi(t));
    }
    std::string molde = (fs::temp_directory_path() / "etiq-bench-rede-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    const std::string arquivo = pasta + "/loja.fdb";
    const std::string saida = pasta + "/saida.prn";
    fs::permissions(pasta, fs::perms::all);  // the server process writes the database here

    demo::TOpcoesLojaDemo o;
    o.caminho = "127.0.0.1/" + std::to_string(porta) + ":" + arquivo;
    o.mercadorias = mercadorias;
    demo::CriarLojaDemo(o);

    DefinirDiretorioSistema(pasta);
    std::vector<Medida> medidas;
    for (int atraso : atrasos) {
        Medida m;
        m.atraso = atraso;
        // Half of the round trip each way.
        TRetransmissor rede(porta, std::chrono::microseconds(atraso * 500));
        GravarConfig({{"PATH MERKOR", "127.0.0.1/" + std::to_string(rede.Porta()) + ":" + arquivo},
                      {"PATH REDE", "FILE:" + saida},
                      {"MODELO", "PPLA"},
                      {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});
        {
            TdtmAplicativo dtm;
            TSelecaoMercadorias sel(dtm);
            dtm.dtbAplicativo.Conectar();
            dtm.dtbAplicativoMrg.Conectar();
            rede.Zerar();
            auto t0 = Relogio::now();
            m.linhas = sel.MontarLote();
            m.lote = Segundos(t0);
            m.idasLote = rede.IdasEVoltas();

            // One label on each of the first queue rows.
            dtm.qryprocesso.Clear();
            dtm.qryprocesso.Add("update etiquetaread set quantidade = 1 where codigo in (select first " +
                                std::to_string(etiquetas) + " codigo from etiquetaread order by codigo)");
            dtm.qryprocesso.ExecSQL();
            dtm.dtmCommit();

            TImpressaoEtiquetas imp(dtm);
            imp.PausaMs = 0;
            imp.tblEtiquetaRead.Open();  // the window opens the queue when it comes up
            Relogio::time_point primeiro{};
            uint64_t idasAntes = 0;
            imp.AoProgresso = [&](int64_t, int64_t) {
                if (primeiro == Relogio::time_point{}) {
                    primeiro = Relogio::now();
                    idasAntes = rede.IdasEVoltas();
                }
                return true;
            };
            rede.Zerar();
            t0 = Relogio::now();
            imp.ImprimeEtiquetasPreConfigurada();
            m.impressao = Segundos(t0);
            m.primeiroTrabalho = std::chrono::duration<double>(primeiro - t0).count();
            m.idasImpressao = rede.IdasEVoltas();
            m.idasAntesDiario = idasAntes;
            m.etiquetas = imp.EtiquetasEnviadas();

            // The same print once more without the journal: up to the first job.
            imp.UsarDiario = false;
            primeiro = {};
            rede.Zerar();
            t0 = Relogio::now();
            imp.ImprimeEtiquetasPreConfigurada();
            m.antesSemDiario = std::chrono::duration<double>(primeiro - t0).count();
            m.idasAntesSemDiario = idasAntes;
        }
        medidas.push_back(m);
        std::printf(
            "%d ms: lote %zu linhas em %.2f s (%llu idas e voltas); impressão %lld etiquetas em %.2f s "
            "(%llu idas e voltas, primeiro trabalho em %.3f s após %llu idas e voltas; sem o diário em %.3f s após "
            "%llu)\n",
            atraso, m.linhas, m.lote, static_cast<unsigned long long>(m.idasLote), static_cast<long long>(m.etiquetas),
            m.impressao, static_cast<unsigned long long>(m.idasImpressao), m.primeiroTrabalho,
            static_cast<unsigned long long>(m.idasAntesDiario), m.antesSemDiario,
            static_cast<unsigned long long>(m.idasAntesSemDiario));
        std::fflush(stdout);
    }
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);

    std::printf(
        "\n| ida e volta | lote de %d mercadorias | idas e voltas por linha da fila | impressão de %d etiquetas "
        "| idas e voltas por etiqueta |\n|---|---|---|---|---|\n",
        mercadorias, etiquetas);
    for (const Medida& m : medidas)
        std::printf("| %d ms | %.2f s | %.4f | %.2f s | %.4f |\n", m.atraso, m.lote,
                    m.linhas ? static_cast<double>(m.idasLote) / static_cast<double>(m.linhas) : 0.0, m.impressao,
                    m.etiquetas ? static_cast<double>(m.idasImpressao) / static_cast<double>(m.etiquetas) : 0.0);
    return 0;
}
