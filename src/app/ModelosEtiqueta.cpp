#include "app/ModelosEtiqueta.h"

#include <cmath>

#include "labels/InfoModelos.h"
#include "labels/a4/FormulariosA4.h"
#include "labels/a4/RelatorioA4.h"

namespace {

bool TemNumero(const std::string& texto, int n) { return texto.find(std::to_string(n)) != std::string::npos; }

std::string Milimetros(double mm) {
    // One decimal only when there is one: "38,1", "70".
    const long decimos = std::lround(mm * 10);
    std::string r = std::to_string(decimos / 10);
    if (decimos % 10) r += "," + std::to_string(decimos % 10);
    return r;
}

std::string NomeBarras(TTipoBarras t) {
    switch (t) {
        case TTipoBarras::Codabar: return "Codabar";
        case TTipoBarras::Code39: return "Code 39";
        case TTipoBarras::Intercalado2de5: return "2 de 5 intercalado";
        case TTipoBarras::Matrix2de5: return "2 de 5 matrix";
        case TTipoBarras::Code93: return "Code 93";
        case TTipoBarras::EAN13: return "EAN-13";
    }
    return "";
}

}  // namespace

std::string LinhaModeloPainel(const TInfoModelo& m) {
    std::string r = m.linha;
    std::vector<std::string> detalhes;
    if (m.tipo == TTipoModelo::A4) {
        // The cell, and the barcode the sheet prints.
        const TFormularioA4 f = CriaFormularioA4(m.numero);
        std::string barras = "sem código de barras";
        for (const TElementoA4& e : f.elementos)
            if (e.tipo == TTipoElemento::Barras) {
                barras = NomeBarras(e.barras.tipo);
                break;
            }
        return r + " (" + Milimetros(f.LarguraCelulaMm()) + " x " + Milimetros(f.AlturaCelulaMm()) + " mm, " + barras +
               ")";
    }
    if (m.tipo == TTipoModelo::Formato) return r;
    if (!m.escritoPara.empty() && r.find(m.escritoPara) == std::string::npos) detalhes.push_back(m.escritoPara);
    if (m.larguraMm > 0 && m.alturaMm > 0) {
        // A size the line already names ("22x33") only gets its unit.
        if (TemNumero(r, m.larguraMm) && TemNumero(r, m.alturaMm)) {
            if (!r.empty() && r.back() >= '0' && r.back() <= '9') r += " mm";
        } else {
            detalhes.push_back(std::to_string(m.larguraMm) + " x " + std::to_string(m.alturaMm) + " mm");
        }
    } else if (m.porLinha > 1 && m.passo > 0) {
        detalhes.push_back("passo " + Milimetros(m.passo / 10.0) + " mm");
    }
    detalhes.push_back("203 dpi");
    r += " (";
    for (size_t i = 0; i < detalhes.size(); ++i) r += (i ? ", " : "") + detalhes[i];
    return r + ")";
}

const std::vector<std::string>& LinhasModelo() {
    static const std::vector<std::string> linhas = [] {
        std::vector<std::string> r;
        for (const TInfoModelo& m : InfoModelos()) r.push_back(LinhaModeloPainel(m));
        return r;
    }();
    return linhas;
}

int IndiceLinhaGravada(const std::string& gravada) {
    // Lines saved by earlier versions are the start of today's line of the same model.
    if (gravada.size() < 5 || gravada.compare(2, 3, " - ") != 0) return -1;
    const auto& linhas = LinhasModelo();
    for (size_t i = 0; i < linhas.size(); ++i)
        if (linhas[i] == gravada || InfoModelos()[i].linha == gravada) return static_cast<int>(i);
    return -1;
}
