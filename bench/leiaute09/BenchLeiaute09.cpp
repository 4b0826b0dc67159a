// Time the model 09 editor takes to redraw its picture after one change: a
// three-per-row design (name, price, free text, barcode) drawn from model
// 09's stream over the sample goods, the barcode moved 1 mm between draws.
// The first draw of the process is cold (fonts, zint); then the median and
// worst of many. No database: the sample goods are in memory. Then the same
// change made in the editor window (offscreen): table, warnings and the
// picture painted.
// Run: bench_leiaute09 [draws, default 200]
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/PastaExecucao.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "previa/Desenho.h"
#include "previa/FiguraLeiaute09.h"
#ifdef ETIQ_BENCH_JANELA
#include "labels/gui/JanelaLeiaute09.h"
#endif

namespace {

double Ms(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int vezes = std::max(argc > 1 ? std::atoi(argv[1]) : 200, 1);
    char molde[] = "/tmp/bench-leiaute09-XXXXXX";
    const std::string pasta = mkdtemp(molde);
    DefinirDiretorioSistema(pasta);
    PrepararPastaExecucao();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc0 = 1;
    static char nome[] = "bench_leiaute09";
    static char* argv0[] = {nome, nullptr};
    QApplication app(argc0, argv0);
    TdtmAplicativo dtm;

    TLeiaute09 l;
    l.temCabecalho = true;
    l.porLinha = 3;
    l.passo = 36;
    l.campos = {CampoLeiaute09("NOME", 20, 2, 2, 1), CampoLeiaute09("VALOR DE VENDA", 10, 4, 6, 1),
                CampoLeiaute09("TEXTO LIVRE", 12, 1, 9, 1, "", "OFERTA"),
                CampoLeiaute09("CODIGO DE BARRAS", 10, 0, 12, 2, "A")};

    for (const char* linguagem : {"PPLA", "PPLB", "ZPL"}) {
        previa::TAmbiente09 a;
        a.linguagem = linguagem;
        a.alturaMm = 25;
        auto t0 = std::chrono::steady_clock::now();
        previa::DesenharLeiaute09(l, a, dtm);
        const double fria = Ms(t0);
        std::vector<double> ms;
        for (int i = 0; i < vezes; ++i) {
            l.campos[3].horizontal = 2 + i % 5;  // one change: the barcode moved
            t0 = std::chrono::steady_clock::now();
            const previa::TFigura09 f = previa::DesenharLeiaute09(l, a, dtm);
            ms.push_back(Ms(t0));
            if (i == 0)
                std::printf("%s: figura %dx%d, %zu elementos, %zu códigos, %zu avisos\n", linguagem, f.imagem.width(),
                            f.imagem.height(), f.elementos.size(), f.codigos.size(), f.avisos.size());
            if (f.imagem.isNull()) {
                std::printf("%s: sem figura: %s\n", linguagem, f.erro.c_str());
                return 1;
            }
        }
        std::sort(ms.begin(), ms.end());
        std::printf(
            "%-4s redesenho após uma mudança (3 por linha, 4 campos): primeira %.1f ms; mediana %.1f ms, "
            "p95 %.1f ms, pior %.1f ms em %d\n",
            linguagem, fria, ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back(), vezes);
    }
#ifdef ETIQ_BENCH_JANELA
    {
        previa::TAmbiente09 a;
        a.alturaMm = 25;
        TfrmLeiaute09 janela(dtm, a);  // no shop: it opens with the reason as its note
        janela.resize(1220, 660);
        janela.show();
        janela.Editor().Carregar(l);
        janela.Atualizar();
        QApplication::processEvents();
        std::vector<double> ms;
        for (int i = 0; i < vezes; ++i) {
            const int campo = static_cast<int>(l.campos.size()) - 1;
            const auto t0 = std::chrono::steady_clock::now();
            janela.Editor().Mover(campo, 0, i % 2 ? -1 : 1);
            janela.Atualizar();
            janela.pnlFigura->repaint();
            ms.push_back(Ms(t0));
        }
        std::sort(ms.begin(), ms.end());
        std::printf(
            "janela, PPLA: mudança + tabela + avisos + figura pintada: mediana %.1f ms, p95 %.1f ms, pior "
            "%.1f ms em %d\n",
            ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back(), vezes);
    }
#endif
    DefinirDiretorioSistema("");
    std::filesystem::remove_all(pasta);
    return 0;
}
