// bench_a4 [labels=1000] [model=26] [file.pdf]: labels with a name, a price and
// a distinct 13-digit code each, composed into a PDF. Prints the wall time of
// the composition and the process's peak memory.
#include <sys/resource.h>

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <string>

#include "labels/a4/FormulariosA4.h"

namespace {

// Made one at a time, as the sheet query hands them over.
class TCelulasGeradas : public TFonteCelulas {
public:
    explicit TCelulasGeradas(long total) : total_(total) {}
    void Abrir() override { n_ = 0; }
    bool Proxima(TLinhasCelula& l) override {
        if (n_ >= total_) return false;
        const long long codigo = 7890000000000LL + n_ * 7;
        l = {"PRODUTO DE TESTE NUMERO " + std::to_string(n_),
             std::to_string(codigo),
             "R$ " + std::to_string(n_ % 100) + "," + std::to_string(10 + n_ % 90),
             "",
             "",
             ""};
        ++n_;
        return true;
    }

private:
    long total_, n_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::stol(argv[1]) : 1000;
    const int modelo = argc > 2 ? std::stoi(argv[2]) : 26;
    const std::string arquivo = argc > 3 ? argv[3] : "/tmp/bench_a4.pdf";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto t0 = std::chrono::steady_clock::now();
    QGuiApplication app(argc, argv);
    TFormularioA4 f = CriaFormularioA4(modelo);
    ConfiguraBarrasA4(f, modelo, 1, 0);
    TCelulasGeradas fonte(total);
    const auto t1 = std::chrono::steady_clock::now();
    const int paginas = ExportaPdfA4(f, fonte, arquivo);
    const auto t2 = std::chrono::steady_clock::now();
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf("%ld etiquetas, modelo %d, %d páginas: composição %.3f s, total %.3f s, pico de memória %.1f MB\n",
                total, modelo, paginas, s(t1, t2), s(t0, t2), uso.ru_maxrss / 1024.0);
}
