// Draws the program's icon, a price label with a barcode, as SVG and as PNG
// in the sizes the desktop's icon theme wants. One geometry for both.
//   desenha-icone PASTA  ->  PASTA/etiquetas.svg, PASTA/NxN/etiquetas.png
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kLado = 256;  // drawing grid
struct Retangulo {
    double x, y, l, a;
};

// Bar widths of the barcode, on the grid, alternating bar and space.
const std::vector<double> kBarras{6, 4, 10, 4, 4, 6, 8, 4, 4, 8, 6, 4, 12, 6, 4, 4, 8, 6, 4, 4, 10, 6, 6};
constexpr Retangulo kEtiqueta{20, 44, 216, 168};
constexpr double kRaio = 22;
constexpr double kBorda = 8;
constexpr Retangulo kAreaBarras{48, 72, 160, 92};
constexpr Retangulo kPreco{48, 178, 160, 14};
const char* const kFundo = "#fbf7ea";
const char* const kContorno = "#5b4a2c";
const char* const kBarra = "#1b1b1b";
const char* const kCorPreco = "#c0392b";

std::vector<Retangulo> Barras() {
    double total = 0;
    for (double b : kBarras) total += b;
    const double escala = kAreaBarras.l / total;
    std::vector<Retangulo> r;
    double x = kAreaBarras.x;
    for (size_t i = 0; i < kBarras.size(); ++i) {
        const double l = kBarras[i] * escala;
        if (i % 2 == 0) r.push_back({x, kAreaBarras.y, l, kAreaBarras.a});
        x += l;
    }
    return r;
}

std::string Svg() {
    char buf[256];
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    std::snprintf(buf, sizeof buf,
                  "  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"%s\" stroke=\"%s\" "
                  "stroke-width=\"%g\"/>\n",
                  kEtiqueta.x, kEtiqueta.y, kEtiqueta.l, kEtiqueta.a, kRaio, kFundo, kContorno, kBorda);
    s += buf;
    for (const auto& b : Barras()) {
        std::snprintf(buf, sizeof buf, "  <rect x=\"%.2f\" y=\"%g\" width=\"%.2f\" height=\"%g\" fill=\"%s\"/>\n", b.x,
                      b.y, b.l, b.a, kBarra);
        s += buf;
    }
    std::snprintf(buf, sizeof buf, "  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"4\" fill=\"%s\"/>\n",
                  kPreco.x, kPreco.y, kPreco.l, kPreco.a, kCorPreco);
    s += buf;
    return s + "</svg>\n";
}

QImage Png(int lado) {
    QImage img(lado, lado, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / kLado, lado / kLado);
    p.setPen(QPen(QColor(kContorno), kBorda));
    p.setBrush(QColor(kFundo));
    p.drawRoundedRect(QRectF(kEtiqueta.x, kEtiqueta.y, kEtiqueta.l, kEtiqueta.a), kRaio, kRaio);
    p.setPen(Qt::NoPen);
    for (const auto& b : Barras()) p.fillRect(QRectF(b.x, b.y, b.l, b.a), QColor(kBarra));
    p.setBrush(QColor(kCorPreco));
    p.drawRoundedRect(QRectF(kPreco.x, kPreco.y, kPreco.l, kPreco.a), 4, 4);
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: desenha-icone PASTA\n");
        return 2;
    }
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    std::ofstream(QDir(pasta).filePath("etiquetas.svg").toStdString()) << Svg();
    for (int lado : {16, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1x%1").arg(lado);
        QDir(pasta).mkpath(sub);
        if (!Png(lado).save(QDir(pasta).filePath(sub + "/etiquetas.png"))) {
            std::fprintf(stderr, "não foi possível gravar o ícone %dx%d em %s\n", lado, lado, argv[1]);
            return 1;
        }
    }
    return 0;
}
