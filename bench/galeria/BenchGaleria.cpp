// Time to draw the pictures of the label models over the sample goods: one
// thermal model cold (the first picture of the process: fonts, zint and the
// model's table made on the way), the same again from a fresh gallery, and
// the whole gallery of 59. No database (model 09 gives its reason at once).
// Run: bench_galeria [model, default 11]
#include <stdlib.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "labels/InfoModelos.h"
#include "previa/Desenho.h"
#include "previa/Galeria.h"

namespace {

double Ms(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int modelo = argc > 1 ? std::atoi(argv[1]) : 11;
    char molde[] = "/tmp/bench-galeria-XXXXXX";
    const std::string pasta = mkdtemp(molde);
    DefinirDiretorioSistema(pasta);
    auto app = previa::GarantirAplicacaoGrafica();
    TdtmAplicativo dtm;

    auto t0 = std::chrono::steady_clock::now();
    {
        previa::TGaleriaModelos galeria(dtm);
        const auto& f = galeria.Figura(modelo, "");
        std::printf("modelo %02d, primeira figura do processo (fria): %.1f ms%s\n", modelo, Ms(t0),
                    f.imagem.isNull() ? " (sem imagem)" : "");
    }
    double melhor = 1e30;
    for (int i = 0; i < 5; ++i) {
        previa::TGaleriaModelos galeria(dtm);
        t0 = std::chrono::steady_clock::now();
        galeria.Figura(modelo, "");
        melhor = std::min(melhor, Ms(t0));
    }
    std::printf("modelo %02d, galeria nova (sem cache), melhor de 5: %.1f ms\n", modelo, melhor);

    previa::TGaleriaModelos galeria(dtm);
    double pior = 0;
    int piorModelo = 0;
    t0 = std::chrono::steady_clock::now();
    for (const TInfoModelo& m : InfoModelos()) {
        const auto t = std::chrono::steady_clock::now();
        galeria.Figura(m.numero, "");
        const double ms = Ms(t);
        if (ms > pior) {
            pior = ms;
            piorModelo = m.numero;
        }
    }
    std::printf("galeria de %zu modelos: %.1f ms (mais lento: modelo %02d, %.1f ms)\n", InfoModelos().size(), Ms(t0),
                piorModelo, pior);
    t0 = std::chrono::steady_clock::now();
    for (const TInfoModelo& m : InfoModelos()) galeria.Figura(m.numero, "");
    std::printf("galeria de novo, do cache: %.3f ms\n", Ms(t0));
    DefinirDiretorioSistema("");
    std::filesystem::remove_all(pasta);
    return 0;
}
