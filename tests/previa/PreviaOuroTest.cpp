// The preview of every thermal and shelf-edge model's golden stream (the
// fixture queue each model prints in the language it was written for): the
// ink of every label stays inside the label, but for the texts a few layouts
// are known to run into the next label, and every barcode decodes to the code
// that was sent.
#include <gtest/gtest.h>

#include <zint.h>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "ModelosTermicos.h"
#include "common/UFuncoes.h"
#include "suporte/Caminhos.h"

using namespace previa;

namespace {

struct CasoOuro {
    ModeloTermico modelo;
    std::string arquivo;  // under the layouts' golden folder
    // What the layout itself runs into the next label with the fixture's
    // longest values (texts and codes as sent).
    std::set<std::string> invadem = {};
};

// Layouts that run into the next label with the fixture's longest values, as
// the model tables place them (texts: a barcode that would cross into the next
// label is drawn narrower): model 30's code text at 18 mm of a 33 mm pitch
// takes 12 characters of font 2 past the edge; model 47 prints up to 50
// characters of name in font 2 where 34 fit.
const std::set<std::string> kInvade30 = {"789100031550", "7891000315507"};
const std::set<std::string> kInvade47 = {"Cafe Torrado e Moido Extra Forte Pacote 500 g",
                                         "Camiseta Basica Algodao Penteado Gola Careca Masc.",
                                         "Oleo de Soja Refinado Garrafa PET 900ml Caixa c/20"};

std::vector<CasoOuro> Casos() {
    std::vector<CasoOuro> casos;
    for (const auto& m : kModelosTermicos) {
        const std::string base = "modelo" + ZerosEsquerda(m.numero, 2);
        const std::string fim = std::string(".") + Minusculas(m.linguagem) + ".prn";
        const std::set<std::string> invadem = m.numero == 30   ? kInvade30
                                              : m.numero == 47 ? kInvade47
                                                               : std::set<std::string>{};
        casos.push_back({m, base + fim, invadem});
        if (m.numero == 47) casos.push_back({m, base + "_parcelas" + fim, kInvade47});
        if (m.numero == 58) casos.push_back({{58, "ZPL", 4, 250, 0}, base + "_4colunas" + fim});
    }
    return casos;
}

Linguagem LinguagemDe(const std::string& nome) {
    if (nome == "PPLA") return Linguagem::Ppla;
    if (nome == "ZPL") return Linguagem::Zpl;
    return Linguagem::Epl2;
}

class PreviaOuro : public ::testing::TestWithParam<CasoOuro> {};

TEST_P(PreviaOuro, TintaDentroDaEtiquetaECodigosLegiveis) {
    const CasoOuro& c = GetParam();
    const ModeloTermico& m = c.modelo;
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    const std::string fluxo = LerTudo(std::string(kRaizProjeto) + "/tests/labels/ouro/modelos" + "/" + c.arquivo);
    ASSERT_FALSE(fluxo.empty()) << c.arquivo;
    const Leitura l = Ler(fluxo, LinguagemDe(m.linguagem), 203);
    EXPECT_EQ(l.ignorados, 0) << (l.avisos.empty() ? "" : l.avisos.front());
    ASSERT_FALSE(l.etiquetas.empty());

    Opcoes tamanho;
    if (m.alturaMm) tamanho.alturaDots = Dots(m.alturaMm * 10);
    std::set<std::string> invadem;
    int indice = 0;
    for (const auto& etq : l.etiquetas) {
        ++indice;
        Geometria g;
        const QImage img = Desenhar(etq, 203, tamanho, &g);
        if (const char* pasta = std::getenv("ETIQ_PREVIA_PNG"))  // a folder to keep the images in, for a look
            img.save(
                QString::fromStdString(std::string(pasta) + "/" + c.arquivo + "-" + std::to_string(indice) + ".png"));
        // The fixture's EAN-13 with a wrong check digit is the one thing to warn about.
        for (const auto& aviso : g.avisos) EXPECT_EQ(aviso.rfind("Dígito verificador de ", 0), 0u) << aviso;
        // Where the stock lies across the head no stream says: the label grid
        // starts at the leftmost ink of the row's columns.
        const double passo = DotsExatos(m.passo);
        double borda = 0;
        if (m.passo > 0) {
            borda = passo;
            for (const auto& pos : g.posicoes)
                if (!pos.tinta.isEmpty())
                    borda = std::min(borda, pos.tinta.left() - std::floor(pos.tinta.left() / passo) * passo);
        }
        for (size_t i = 0; i < g.posicoes.size(); ++i) {
            const Posicao& pos = g.posicoes[i];
            if (pos.tinta.isEmpty()) continue;
            EXPECT_TRUE(img.rect().contains(pos.tinta))
                << "etiqueta " << indice << ", fora da etiqueta: " << pos.comando;
            if (m.passo > 0) {
                const int coluna = static_cast<int>(std::floor((pos.tinta.left() - borda) / passo + 1e-9));
                EXPECT_LT(coluna, m.colunas) << pos.comando;
                if (pos.tinta.right() + 1 > std::lround(borda + (coluna + 1) * passo)) invadem.insert(pos.dados);
            }
            if (pos.tipo == TipoElemento::Barras) {
                EXPECT_EQ(LerCodigoSozinho(etq, i),
                          pos.simbologia == BARCODE_EANX ? ComDigitoEan13(pos.dados) : pos.dados)
                    << "etiqueta " << indice << ": " << pos.comando;
            }
        }
    }
    EXPECT_EQ(invadem, c.invadem) << "o que passa para a etiqueta ao lado";
}

INSTANTIATE_TEST_SUITE_P(Ouro, PreviaOuro, ::testing::ValuesIn(Casos()), [](const auto& i) {
    std::string nome = i.param.arquivo.substr(0, i.param.arquivo.find('.'));
    return nome;
});

}  // namespace
