// Where the cells and their texts stand on the page, read back from the PDF
// with pdftotext (word boxes in points).
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "FolhaPdf.h"
#include "labels/Mercadoria.h"
#include "labels/a4/FormulariosA4.h"

namespace {

// The geometry table as printed on the forms: margins and inside margins in
// mm, columns, spacing in mm, band width and cell height in px.
struct TCasoGeometria {
    int modelo;
    double esquerda, topo, internaEsquerda;
    int colunas;
    double espaco, bandaPx, alturaPx;
};

class GeometriaA4Test : public ::testing::TestWithParam<TCasoGeometria> {};

// The first left-aligned text of a form: its line carries a word naming the cell.
const TElementoA4& Sonda(const TFormularioA4& f) {
    for (const auto& e : f.elementos)
        if (e.tipo == TTipoElemento::Texto && !e.direita && !e.corta) return e;
    throw std::runtime_error("formulário sem texto");
}

TEST_P(GeometriaA4Test, CelulasOndeATabelaAsPoe) {
    const auto& c = GetParam();
    const TFormularioA4 f = CriaFormularioA4(c.modelo);
    const TElementoA4& sonda = Sonda(f);
    // One full page and the first row and one cell of the next.
    const int total = f.CelulasPorPagina() + c.colunas + 1;
    std::vector<TLinhasCelula> celulas(total);
    for (int i = 0; i < total; ++i) celulas[i][sonda.linha - 1] = "K" + std::to_string(i);
    TCelulasEmMemoria fonte(celulas);
    TPastaTemp pasta("a4-geometria");
    const std::string pdf = pasta / "folha.pdf";
    EXPECT_EQ(ExportaPdfA4(f, fonte, pdf), 2);
    EXPECT_EQ(PaginasDoPdf(pdf), 2);

    const double mm = 25.4 / 96;
    const double larguraCelula = (c.bandaPx * mm - c.espaco * (c.colunas - 1)) / c.colunas;
    const double altura = c.alturaPx * mm;
    const int porPagina = f.CelulasPorPagina();
    auto palavras = PalavrasDoPdf(pdf);
    ASSERT_EQ(static_cast<int>(palavras.size()), total);
    for (const auto& p : palavras) {
        const int n = std::stoi(p.texto.substr(1));
        const int i = n % porPagina;
        SCOPED_TRACE(p.texto);
        EXPECT_EQ(p.pagina, n / porPagina + 1);
        const double x =
            c.esquerda + c.internaEsquerda + (i % c.colunas) * (larguraCelula + c.espaco) + sonda.esquerda * mm;
        const double y = c.topo + (i / c.colunas) * altura + sonda.topo * mm;
        EXPECT_NEAR(p.xMin, x, 0.3);
        EXPECT_NEAR(p.yMin, y, 0.3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modelos, GeometriaA4Test,
    ::testing::Values(TCasoGeometria{20, 5, 16, 0, 2, 4, 760, 144}, TCasoGeometria{26, 8, 12, 0, 3, 1, 760, 96},
                      TCasoGeometria{28, 5, 12, 0, 5, 2, 756, 80}, TCasoGeometria{32, 8, 12, 0, 2, 1, 760, 100},
                      TCasoGeometria{33, 4, 13, 7, 4, 2, 711, 48}, TCasoGeometria{34, 1, 11, 7, 6, 2, 741, 64},
                      TCasoGeometria{35, 5, 11, 0, 5, 2, 756, 80}, TCasoGeometria{39, 5, 14, 0, 7, 2, 752, 57},
                      TCasoGeometria{42, 8, 12, 0, 3, 1, 760, 96}, TCasoGeometria{55, 6, 12, 0, 5, 2, 760, 80}),
    [](const auto& i) { return std::to_string(i.param.modelo); });

// A 70-character name on every form, as each model's routine fills the cells
// (two rows of cells, the second on the page's last row): every word the PDF
// holds stays inside the cell it starts in, none reaches the next label or
// leaves the page. Names that fit keep their place (CelulasOndeATabelaAsPoe).
TEST_P(GeometriaA4Test, NomeLongoNaoPassaDaCelula) {
    const auto& c = GetParam();
    const TFormularioA4 f = CriaFormularioA4(c.modelo);
    TMercadoria m;
    m.NOM_MER = "WWWWWWWWWW MMMMMMMMMM CAMISETA MANGA LONGA ALGODAO PENTEADO GOLA VERDE";
    ASSERT_EQ(m.NOM_MER.size(), 70u);
    m.COD_BAR = "7891234567895";
    m.APLICACAO = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    m.VLR_VEN = Decimal::DeTexto("1234.5");
    const TLinhasCelula linhas = TextosCelulaA4(c.modelo, m, "LOJA WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    std::vector<TLinhasCelula> celulas(f.CelulasPorPagina() + c.colunas, linhas);
    TCelulasEmMemoria fonte(celulas);
    TPastaTemp pasta("a4-nome-longo");
    const std::string pdf = pasta / "folha.pdf";
    ExportaPdfA4(f, fonte, pdf);

    const double mm = 25.4 / 96;
    const double larguraCelula = (c.bandaPx * mm - c.espaco * (c.colunas - 1)) / c.colunas;
    const double altura = c.alturaPx * mm;
    const double x0 = c.esquerda + c.internaEsquerda;
    const auto palavras = PalavrasDoPdf(pdf);
    ASSERT_FALSE(palavras.empty());
    bool cortada = false;
    for (const auto& p : palavras) {
        SCOPED_TRACE(p.texto);
        const int coluna = static_cast<int>((p.xMin - x0) / (larguraCelula + c.espaco));
        const int linha = static_cast<int>((p.yMin - c.topo) / altura);
        ASSERT_GE(coluna, 0);
        ASSERT_LT(coluna, c.colunas);
        const double direita = x0 + coluna * (larguraCelula + c.espaco) + larguraCelula;
        EXPECT_LE(p.xMax, direita + 0.05);
        EXPECT_LE(p.yMax, c.topo + (linha + 1) * altura + 0.05);
        EXPECT_LE(p.xMax, 210.0);
        // A word of the long texts (no digits: not the price nor the code) ending at the edge was cut there.
        if (p.xMax > direita - 3 && p.texto.find_first_of("0123456789") == std::string::npos) cortada = true;
    }
    // Where the form prints a long text (name, shop, application), it reached
    // the edge and was cut there rather than dropped.
    bool textoLongo = false;
    for (const auto& e : f.elementos)
        if (e.tipo == TTipoElemento::Texto && (e.linha == 1 || e.linha == 4 || e.linha == 5)) textoLongo = true;
    EXPECT_EQ(cortada, textoLongo);
}

// Model 42: the price keeps its right edge at the box's, the name is cut at
// 230 px, the shop name prints in LINHA4.
TEST(TextosA4Test, PrecoADireitaENomeCortado) {
    const TFormularioA4 f = CriaFormularioA4(42);
    TCelulasEmMemoria fonte({{"CAFE TORRADO E MOIDO EXTRAFORTE TRADICIONAL EMBALAGEM A VACUO 500G", "7891234567895",
                              "R$ 12,50", "MERCADINHO", "", ""}});
    TPastaTemp pasta("a4-textos");
    ExportaPdfA4(f, fonte, pasta / "folha.pdf");
    const double mm = 25.4 / 96, x0 = 8, y0 = 12;
    double fimNome = 0;
    bool preco = false, loja = false;
    for (const auto& p : PalavrasDoPdf(pasta / "folha.pdf")) {
        if (p.texto == "12,50") {
            preco = true;
            EXPECT_NEAR(p.xMax, x0 + (184 + 55) * mm, 0.3);
        } else if (p.texto == "MERCADINHO") {
            loja = true;
            EXPECT_NEAR(p.xMin, x0 + 15 * mm, 0.3);
            EXPECT_NEAR(p.yMin, y0 + 12 * mm, 0.3);
        } else if (p.yMin > y0 + 34 * mm && p.yMax < y0 + 50 * mm) {
            fimNome = std::max(fimNome, p.xMax);
        }
    }
    EXPECT_TRUE(preco);
    EXPECT_TRUE(loja);
    EXPECT_GT(fimNome, x0 + (16 + 200) * mm);
    EXPECT_LE(fimNome, x0 + (16 + 230) * mm + 0.05);
}

TEST(TextosA4Test, SemCelulasUmaPaginaEmBranco) {
    TCelulasEmMemoria fonte({});
    TPastaTemp pasta("a4-vazio");
    EXPECT_EQ(ExportaPdfA4(CriaFormularioA4(26), fonte, pasta / "folha.pdf"), 1);
    EXPECT_EQ(PaginasDoPdf(pasta / "folha.pdf"), 1);
    EXPECT_TRUE(PalavrasDoPdf(pasta / "folha.pdf").empty());
}

// Every way a PDF path can fail, in Portuguese; what was half written is gone.
TEST(TextosA4Test, ArquivoQueNaoPodeSerGravado) {
    TPastaTemp pasta("a4-falhas");
    Gravar(pasta / "arquivo", "x");
    std::filesystem::create_directory(pasta / "trancada");
    std::filesystem::permissions(pasta / "trancada",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    struct Caso {
        std::string arquivo, motivo;
    };
    std::vector<Caso> casos = {
        {pasta / "nao/existe/folha.pdf", "Arquivo ou dispositivo não encontrado"},
        {pasta / "arquivo/folha.pdf", "Caminho inválido"},
        {pasta.caminho.string(), "O caminho é uma pasta"},
        {"/dev/full", "Sem espaço no disco"},
    };
    // root writes in a folder without write permission.
    if (geteuid() != 0) casos.push_back({pasta / "trancada/folha.pdf", "Acesso negado"});
    std::vector<TLinhasCelula> celulas(40);
    for (auto& c : celulas) c[0] = "CAMISETA";
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.arquivo);
        TCelulasEmMemoria fonte(celulas);
        EXPECT_EQ(MensagemDe([&] { ExportaPdfA4(CriaFormularioA4(26), fonte, c.arquivo); }),
                  "Não foi possível gravar o arquivo PDF " + c.arquivo + ": " + c.motivo);
    }
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
    EXPECT_FALSE(std::filesystem::exists(pasta / "trancada/folha.pdf"));
}

// A disk that fills up halfway through: the file is not left behind as if
// it were the sheets.
TEST(TextosA4Test, PdfIncompletoEApagado) {
    TPastaTemp pasta("a4-cheio");
    const std::string pdf = pasta / "folha.pdf";
    std::vector<TLinhasCelula> celulas(200);
    for (auto& c : celulas) c[0] = "CAMISETA";
    TCelulasEmMemoria fonte(celulas);
    // The file size limit stands for a full disk (EFBIG instead of a signal).
    rlimit antes{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    const auto sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const std::string m = MensagemDe([&] { ExportaPdfA4(CriaFormularioA4(26), fonte, pdf); });
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinal);
    EXPECT_EQ(m, "Não foi possível gravar o arquivo PDF " + pdf + ": Arquivo grande demais");
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

// Model 20: the logo and the telephones print on a label, not on an empty cell.
TEST(TextosA4Test, Modelo20SemLogoNaCelulaVazia) {
    TPastaTemp pasta("a4-logo");
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(QColor(0, 0, 0));
    ASSERT_TRUE(logo.save(QString::fromStdString(pasta / "logo.png")));
    const TFormularioA4 f = CriaFormularioA4(20, {"LOJA", "1111-2222", "3333-4444", pasta / "logo.png"});
    TCelulasEmMemoria fonte({{".", "", "", "", "", ""}, {"ARROZ", "", "R$ 5,00", "LOJA", "", ""}});
    const std::string pdf = pasta / "folha.pdf";
    ExportaPdfA4(f, fonte, pdf);
    int fones = 0;
    for (const auto& p : PalavrasDoPdf(pdf))
        if (p.texto == "1111-2222" || p.texto == "3333-4444") {
            ++fones;
            EXPECT_GT(p.xMin, 100) << "só na segunda célula";
        }
    EXPECT_EQ(fones, 2);
    // The logo box of each cell, its middle: dark only on the label.
    const double mm = 25.4 / 96, larguraCelula = (760 * mm - 4) / 2;
    for (int coluna : {0, 1}) {
        const double x = 5 + coluna * (larguraCelula + 4) + (45 + 82) * mm, y = 16 + (24 + 26) * mm;
        const QImage img = RenderizaRegiao(pdf, pasta.caminho.string(), 1, 150, x - 1, y - 1, 2, 2);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(qGray(img.pixel(img.width() / 2, img.height() / 2)) < 64, coluna == 1) << coluna;
    }
}

}  // namespace
