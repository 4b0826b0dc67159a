#pragma once
// What the preview tests share: streams made by the driver itself and
// barcode decoding with zbarimg. The programs that draw link
// AmbienteGrafico.cpp, one QGuiApplication for the fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "FluxoDriver.h"
#include "previa/Desenho.h"
#include "suporte/Suporte.h"

inline bool TemPrograma(const char* comando) {
    return std::system((std::string("command -v ") + comando + " >/dev/null 2>&1").c_str()) == 0;
}

// For a part of a test that needs zbarimg: false without it, and under CI
// (which installs it) a failure naming the tool as well.
inline bool TemZbarimg() {
    if (TemPrograma("zbarimg")) return true;
    if (SobCi()) ADD_FAILURE() << "zbarimg (pacote zbar-tools) não instalado: sob CI é uma falha";
    return false;
}

// The values zbarimg reads from a PNG file, sorted.
inline std::vector<std::string> DecodificarArquivo(const std::string& png) {
    std::istringstream linhas(SaidaDe("zbarimg -q --raw '" + png + "' 2>/dev/null"));
    std::vector<std::string> r;
    for (std::string l; std::getline(linhas, l);)
        if (!l.empty()) r.push_back(l);
    std::sort(r.begin(), r.end());
    return r;
}

inline std::vector<std::string> Decodificar(const QImage& img) {
    TPastaTemp pasta("previa-zbar");
    const std::string arquivo = pasta / "etiqueta.png";
    img.save(QString::fromStdString(arquivo));
    return DecodificarArquivo(arquivo);
}

inline int PontosPretos(const QImage& img, const QRect& area) {
    int n = 0;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++n;
    return n;
}

// Bounding box of the dark dots inside `area` (empty when there are none).
inline QRect Tinta(const QImage& img, const QRect& area) {
    QRect r;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) r = r.united(QRect(x, y, 1, 1));
    return r;
}
