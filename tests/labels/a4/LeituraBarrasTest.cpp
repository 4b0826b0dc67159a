// Every barcode kind scans: sheets rendered at 600 dpi from the PDF are read
// with zbarimg; Matrix 2 of 5, which zbar does not read, by its bar pattern.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <map>

#include "FolhaPdf.h"
#include "labels/a4/FormulariosA4.h"

namespace {

const TElementoA4& Barcode(const TFormularioA4& f) {
    for (const auto& e : f.elementos)
        if (e.tipo == TTipoElemento::Barras) return e;
    throw std::runtime_error("formulário sem código de barras");
}

// Writes one page of the model with these codes in LINHA2 (LINHA3 for model 39).
std::string Folha(const TPastaTemp& pasta, int modelo, int tipoBarraA4, const std::vector<std::string>& codigos) {
    TFormularioA4 f = CriaFormularioA4(modelo);
    ConfiguraBarrasA4(f, modelo, 1, tipoBarraA4);  // the panel's default ratio
    const int linha = Barcode(f).linha;
    std::vector<TLinhasCelula> celulas;
    for (const auto& c : codigos) {
        TLinhasCelula l{"NOME", "", "", "", "", ""};
        l[linha - 1] = c;
        celulas.push_back(l);
    }
    TCelulasEmMemoria fonte(celulas);
    const std::string pdf = pasta / "folha.pdf";
    ExportaPdfA4(f, fonte, pdf);
    return pdf;
}

struct TCasoLeitura {
    const char* nome;
    int modelo, tipoBarraA4;
    std::vector<std::string> codigos, lidos;
};

class LeituraBarrasTest : public ::testing::TestWithParam<TCasoLeitura> {};

TEST_P(LeituraBarrasTest, ScannerLeCadaCodigo) {
    const auto& c = GetParam();
    TPastaTemp pasta("a4-leitura");
    const std::string pdf = Folha(pasta, c.modelo, c.tipoBarraA4, c.codigos);
    const TFormularioA4 f = CriaFormularioA4(c.modelo);
    const int linhas = (static_cast<int>(c.codigos.size()) + f.grade.colunas - 1) / f.grade.colunas;
    const QImage img =
        RenderizaRegiao(pdf, pasta.caminho.string(), 1, 600, 0, f.folha.topo, 210, linhas * f.AlturaCelulaMm());
    ASSERT_FALSE(img.isNull());
    auto lidos = CodigosLidos(pasta / "regiao.png");
    auto esperados = c.lidos;
    std::sort(lidos.begin(), lidos.end());
    std::sort(esperados.begin(), esperados.end());
    EXPECT_EQ(lidos, esperados);
}

// Interleaved 2 of 5 pads an odd count of digits with a leading zero; zbar
// gives Codabar back with its start and stop characters.
INSTANTIATE_TEST_SUITE_P(
    Tipos, LeituraBarrasTest,
    ::testing::Values(
        TCasoLeitura{"Codabar26",
                     26,
                     0,
                     {"7891234567895", "1234567890128", "12345"},
                     {"A7891234567895A", "A1234567890128A", "A12345A"}},
        TCasoLeitura{
            "Code39_26", 26, 1, {"7891234567895", "ABC-123", "40170725"}, {"7891234567895", "ABC-123", "40170725"}},
        TCasoLeitura{"Code39_39", 39, 1, {"7891234567895", "2000000000015"}, {"7891234567895", "2000000000015"}},
        TCasoLeitura{"Intercalado28",
                     28,
                     2,
                     {"7891234567895", "12345678", "1234567890128"},
                     {"07891234567895", "12345678", "01234567890128"}},
        TCasoLeitura{"Intercalado39", 39, 5, {"7891234567895", "2000000000015"}, {"07891234567895", "02000000000015"}},
        TCasoLeitura{"Code93_34",
                     34,
                     4,
                     {"7891234567895", "ABC-123", "1234567890128"},
                     {"7891234567895", "ABC-123", "1234567890128"}},
        TCasoLeitura{"Ean13_35",
                     35,
                     0,
                     {"7891234567895", "1234567890128", "4006381333931"},
                     {"7891234567895", "1234567890128", "4006381333931"}},
        TCasoLeitura{"Codabar35", 35, 0, {"12345", "87654321"}, {"A12345A", "A87654321A"}}),
    [](const auto& i) { return std::string(i.param.nome); });

// Runs of one pixel row: (dark, length in pixels), ends trimmed to the bars.
std::vector<std::pair<bool, int>> Corridas(const QImage& img, int y) {
    std::vector<std::pair<bool, int>> r;
    for (int x = 0; x < img.width(); ++x) {
        const bool escuro = qGray(img.pixel(x, y)) < 128;
        if (!r.empty() && r.back().first == escuro)
            ++r.back().second;
        else
            r.emplace_back(escuro, 1);
    }
    if (!r.empty() && !r.front().first) r.erase(r.begin());
    if (!r.empty() && !r.back().first) r.pop_back();
    return r;
}

TEST(Matrix2de5Test, PadraoDeBarrasLegivel) {
    TPastaTemp pasta("a4-matrix");
    const std::string codigo = "7891234567895";
    const std::string pdf = Folha(pasta, 28, 3, {codigo});
    const double mm = 25.4 / 96;
    // The box of the first cell of model 28: 4,30 (109x24).
    const QImage img =
        RenderizaRegiao(pdf, pasta.caminho.string(), 1, 600, 5 + 4 * mm, 12 + 30 * mm, 109 * mm, 24 * mm);
    ASSERT_FALSE(img.isNull());
    const auto corridas = Corridas(img, img.height() / 2);
    ASSERT_FALSE(corridas.empty());
    // Most elements are narrow: the median is one, the mean of those near it
    // the narrow width at this resolution.
    std::vector<int> tamanhos;
    for (auto [escuro, n] : corridas) tamanhos.push_back(n);
    std::sort(tamanhos.begin(), tamanhos.end());
    const double mediana = tamanhos[tamanhos.size() / 2];
    double soma = 0;
    int quantas = 0;
    for (int n : tamanhos)
        if (n < 1.6 * mediana) soma += n, ++quantas;
    const double estreita = soma / quantas;
    // Narrow, wide (2.5), and the long start and stop bars (3.33).
    auto classe = [&](int n) { return n < 1.75 * estreita ? 'N' : (n < 2.9 * estreita ? 'W' : 'S'); };
    std::string padrao;
    for (auto [escuro, n] : corridas) padrao += classe(n);
    // Start: long bar and five narrow; stop: long bar and four narrow.
    ASSERT_GE(padrao.size(), 11u) << padrao;
    EXPECT_EQ(padrao.substr(0, 6), "SNNNNN");
    EXPECT_EQ(padrao.substr(padrao.size() - 5), "SNNNN");
    const std::string meio = padrao.substr(6, padrao.size() - 11);
    // Two of the five first elements of a digit are wide; the sixth is a narrow space.
    const std::map<std::string, char> digitos{{"NNWWN", '0'}, {"WNNNW", '1'}, {"NWNNW", '2'}, {"WWNNN", '3'},
                                              {"NNWNW", '4'}, {"WNWNN", '5'}, {"NWWNN", '6'}, {"NNNWW", '7'},
                                              {"WNNWN", '8'}, {"NWNWN", '9'}};
    std::string lido;
    for (size_t i = 0; i + 6 <= meio.size(); i += 6) {
        auto it = digitos.find(meio.substr(i, 5));
        lido += it == digitos.end() ? '?' : it->second;
        EXPECT_EQ(meio[i + 5], 'N');
    }
    EXPECT_EQ(lido, codigo) << padrao;
    // Wide bars drawn at 2.5 times the narrow ones although the panel asked 1.
    std::vector<int> largas;
    for (auto [escuro, n] : corridas)
        if (classe(n) == 'W') largas.push_back(n);
    ASSERT_FALSE(largas.empty());
    std::sort(largas.begin(), largas.end());
    const double razao = largas[largas.size() / 2] / estreita;
    EXPECT_NEAR(razao, 2.5, 0.45);
}

// The bars fill the box between its 1 mm inner margins, from top to bottom.
class CaixaBarrasTest : public ::testing::TestWithParam<int> {};

TEST_P(CaixaBarrasTest, BarrasDentroDaCaixa) {
    const int modelo = GetParam();
    TPastaTemp pasta("a4-caixa");
    const std::string pdf = Folha(pasta, modelo, 99, {"7891234567895"});
    const TFormularioA4 f = CriaFormularioA4(modelo);
    const TElementoA4& b = Barcode(f);
    const double mm = 25.4 / 96;
    const double x0 = f.folha.esquerda + f.folha.internaEsquerda + b.esquerda * mm, y0 = f.folha.topo + b.topo * mm;
    // A region 2 mm larger than the box on every side.
    const QImage img =
        RenderizaRegiao(pdf, pasta.caminho.string(), 1, 600, x0 - 2, y0 - 2, b.largura * mm + 4, b.altura * mm + 4);
    ASSERT_FALSE(img.isNull());
    const double pxMm = 600 / 25.4;
    // Across, on the box's middle row; up and down, along the first bar (the
    // texts of the cell may come close to the box).
    const int meio = img.height() / 2;
    int esq = img.width(), dir = -1;
    for (int x = 0; x < img.width(); ++x)
        if (qGray(img.pixel(x, meio)) < 128) esq = std::min(esq, x), dir = std::max(dir, x);
    ASSERT_GE(dir, 0);
    const int coluna = esq + 1;
    int topo = meio, base = meio;
    while (topo > 0 && qGray(img.pixel(coluna, topo - 1)) < 128) --topo;
    while (base + 1 < img.height() && qGray(img.pixel(coluna, base + 1)) < 128) ++base;
    EXPECT_NEAR(esq / pxMm, 2 + 1, 0.15);
    EXPECT_NEAR((dir + 1) / pxMm, 2 + b.largura * mm - 1, 0.15);  // squeezed to the box
    EXPECT_NEAR(topo / pxMm, 2, 0.15);
    EXPECT_NEAR((base + 1) / pxMm, 2 + b.altura * mm, 0.15);
}

INSTANTIATE_TEST_SUITE_P(Modelos, CaixaBarrasTest, ::testing::Values(26, 28, 32, 33, 34, 35, 39, 42));

}  // namespace
