// bench_janela_fila [mercadorias] [vezes]: the shop's road with the real
// windows, on a demo shop of N goods (100,000 by default), under a display
// (xvfb-run). Reports, each time:
//   lote       the same batch as etiquetas-cli lote, without a window;
//   fila       from the goods window's "Imprimir" (✓) to the queue window
//              painted on that batch, and its ratio to lote;
//   ctrl+end   Ctrl+End in the grid until the last rows are painted;
//   contagem   a count typed on the last row and Enter, until painted;
//   ctrl+home  back to the first row, painted.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/ModulosDadosReais.h"
#include "app/Programa.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "data/demo/LojaDemo.h"
#include "data/udtmAplicativo.h"
#include "goods/LoteEtiquetas.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "labels/gui/GradeFila.h"
#include "labels/gui/MrgEtiquetas.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Ms(Relogio::time_point desde) {
    return std::chrono::duration<double, std::milli>(Relogio::now() - desde).count();
}

// Runs `acao` once a window of kind W is the active modal one.
template <class W>
void QuandoModal(std::function<void(W*)> acao) {
    auto* relogio = new QTimer(qApp);
    relogio->setInterval(1);
    QObject::connect(relogio, &QTimer::timeout, [relogio, acao] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) return;
        relogio->stop();
        relogio->deleteLater();
        acao(w);
    });
    relogio->start();
}

void Pintar(TmrgEtiquetas* fila) {
    fila->repaint();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 100000;
    const int vezes = argc > 2 ? std::stoi(argv[2]) : 3;
    setenv("LC_ALL", "C", 1);
    std::string molde = (fs::temp_directory_path() / "etiq-bench-janela-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    const std::string banco = pasta + "/loja.fdb";
    DefinirDiretorioSistema(pasta);
    GravarConfig({{"PATH MERKOR", banco},
                  {"PATH REDE", "FILE:" + pasta + "/saida.prn"},
                  {"MODELO", "PPLA"},
                  {"MODELO PRINT", "11 - PPLA 3 colunas"}});
    demo::TOpcoesLojaDemo demo;
    demo.caminho = banco;
    demo.mercadorias = n;
    const demo::TResumoLojaDemo r = demo::CriarLojaDemo(demo);
    std::printf("loja demo: %d mercadorias\n", r.mercadorias);

    TAplicacao app(argc, argv);
    {
        TPrograma programa({});
        for (int vez = 1; vez <= vezes; ++vez) {
            // The batch as etiquetas-cli lote makes it, on its own connections.
            double lote = 0;
            size_t linhas = 0;
            {
                TdtmAplicativo dtm;
                dtm.SelectFile("1", "Gerador", "1=1");  // connected outside the timing
                TSelecaoMercadorias sel(dtm);
                const auto t0 = Relogio::now();
                linhas = sel.MontarLote();
                lote = Ms(t0);
            }
            double fila = 0, fim = 0, contagem = 0, inicio = 0;
            Relogio::time_point t0;
            QuandoModal<TMrgMercadoriasBD>([&](TMrgMercadoriasBD* m) {
                QuandoModal<TmrgEtiquetas>([&](TmrgEtiquetas* f) {
                    Pintar(f);
                    fila = Ms(t0);
                    f->gridArg->setFocus();
                    auto t = Relogio::now();
                    QTest::keyClick(f->gridArg, Qt::Key_End, Qt::ControlModifier);
                    Pintar(f);
                    fim = Ms(t);
                    t = Relogio::now();
                    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                    Pintar(f);
                    contagem = Ms(t);
                    t = Relogio::now();
                    QTest::keyClick(f->gridArg, Qt::Key_Home, Qt::ControlModifier);
                    Pintar(f);
                    inicio = Ms(t);
                    f->btnSair->click();
                });
                t0 = Relogio::now();
                m->btnImprimir->click();
                m->btnSair->click();
            });
            programa.frmPrincipal.btnEtiquetas->click();
            std::printf(
                "vez %d: %zu linhas; lote %.0f ms; fila pintada %.0f ms (%.2fx o lote); ctrl+end %.1f ms; "
                "contagem %.1f ms; ctrl+home %.1f ms\n",
                vez, linhas, lote, fila, fila / lote, fim, contagem, inicio);
            std::fflush(stdout);
        }
    }
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);
    return 0;
}
