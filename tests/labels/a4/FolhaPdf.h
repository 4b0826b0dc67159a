#pragma once
// Reading back a sheet PDF as poppler and zbar see it: words with their
// boxes, a page region rendered to an image, the codes a scanner decodes.
#include <QImage>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "suporte/Suporte.h"

constexpr double PtPorMm = 72.0 / 25.4;

// A word of the PDF, its box in mm from the page's top left corner.
struct TPalavra {
    int pagina = 0;  // 1-based
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string texto;
};

inline std::vector<TPalavra> PalavrasDoPdf(const std::string& pdf) {
    const std::string html = SaidaDe("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<TPalavra> r;
    std::regex marca(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int pagina = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), marca), fim; it != fim; ++it) {
        const auto& m = *it;
        if (m.str(0) == "<page ") {
            ++pagina;
            continue;
        }
        r.push_back({pagina, std::stod(m.str(1)) / PtPorMm, std::stod(m.str(2)) / PtPorMm,
                     std::stod(m.str(3)) / PtPorMm, std::stod(m.str(4)) / PtPorMm, m.str(5)});
    }
    return r;
}

inline int PaginasDoPdf(const std::string& pdf) {
    std::smatch m;
    const std::string info = SaidaDe("pdfinfo '" + pdf + "' 2>/dev/null");
    if (!std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))"))) return 0;
    return std::stoi(m.str(1));
}

// A region of one page (mm from the top left corner) rendered in grey.
inline QImage RenderizaRegiao(const std::string& pdf, const std::string& pasta, int pagina, int dpi, double xMm,
                              double yMm, double wMm, double hMm) {
    auto px = [dpi](double mm) { return std::to_string(static_cast<int>(mm / 25.4 * dpi)); };
    const std::string base = pasta + "/regiao";
    const std::string p = std::to_string(pagina);
    SaidaDe("pdftoppm -r " + std::to_string(dpi) + " -gray -png -singlefile -f " + p + " -l " + p + " -x " + px(xMm) +
            " -y " + px(yMm) + " -W " + px(wMm) + " -H " + px(hMm) + " '" + pdf + "' '" + base + "'");
    return QImage(QString::fromStdString(base + ".png")).convertToFormat(QImage::Format_Grayscale8);
}

// The codes zbarimg reads in an image, one per symbol, in its "raw" form.
inline std::vector<std::string> CodigosLidos(const std::string& imagem) {
    std::istringstream s(
        SaidaDe("zbarimg -q --raw -Sdisable -Scodabar.enable -Scode39.enable -Si25.enable "
                "-Scode93.enable -Sean13.enable '" +
                imagem + "' 2>/dev/null"));
    std::vector<std::string> r;
    for (std::string l; std::getline(s, l);)
        if (!l.empty()) r.push_back(l);
    return r;
}
