// The picture of a model 09 design: the stream model 09 prints for it, drawn
// by the preview, agrees with the table (codes that decode, texts where the
// positions say), maps each element back to its field row, and names what
// leaves the label or is cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Apoio.h"
#include "FilaTeste.h"
#include "ModelosTermicos.h"
#include "Ouro.h"
#include "previa/FiguraLeiaute09.h"

using namespace previa;

namespace {

// Three per row at 36 mm: the name, the price, an EAN-13 with its digits.
TLeiaute09 Gondola() {
    TLeiaute09 l;
    l.temCabecalho = true;
    l.porLinha = 3;
    l.passo = 36;
    l.campos = {CampoLeiaute09("NOME", 20, 2, 2, 1), CampoLeiaute09("VALOR DE VENDA", 10, 4, 6, 1),
                CampoLeiaute09("CODIGO DE BARRAS", 10, 0, 10, 2, "A")};
    return l;
}

class FiguraLeiaute09 : public FilaTeste {};

TEST_F(FiguraLeiaute09, MesmoFluxoDaImpressaoCodigosLegiveisTextosOndeATabelaDiz) {
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    // PPLB places fields by their top-left corner, as the table's positions read.
    GravarConfig({{"MODELO", "PPLB"}, {"ADDCOLUNA", "5"}, {"MODELO PRINT", "09 - Pre configurado"}});
    Mercadoria(101, "7891234567895", "CAMISETA BASICA ALGODAO MANGA CURTA", "CB-0142", "29.9");
    Mercadoria(102, "78912345", "MEIA", "M2", "5.5");
    Fila(101, "7891234567895", "A", "1", "29.9");
    Fila(102, "78912345", "B", "1", "5.5");
    Fila(101, "7891234567895", "C", "1", "29.9", "AZUL M");
    TAmbiente09 a = AmbienteConfigurado09();
    EXPECT_EQ(a.linguagem, "PPLB");
    EXPECT_EQ(a.addColuna, 5);
    a.amostra = AmostraDaFila09(*dtm, 3);
    const TLeiaute09 l = Gondola();
    const TFigura09 f = DesenharLeiaute09(l, a, *dtm);
    ASSERT_TRUE(f.erro.empty()) << f.erro;
    EXPECT_EQ(f.codigos, (std::vector<std::string>{"7891234567895", "78912345", "7891234567895"}));
    const auto lidos = Decodificar(f.imagem.scaled(f.imagem.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    EXPECT_EQ(std::set<std::string>(lidos.begin(), lidos.end()), (std::set<std::string>{"7891234567895", "78912345"}));

    // Every call of every label maps to its row; a text's ink starts where
    // the row's positions say (column origin, shift and all).
    ASSERT_EQ(f.elementos.size(), 9u);
    ASSERT_EQ(f.etiquetas.size(), 3u);
    for (size_t i = 0; i < f.elementos.size(); ++i) {
        const TElementoFigura09& e = f.elementos[i];
        const int coluna = static_cast<int>(i / 3);
        EXPECT_EQ(e.campo, static_cast<int>(i % 3));
        EXPECT_EQ(e.etiqueta, coluna);
        EXPECT_EQ(f.etiquetas[i / 3].left(), DotsDeDecimos(5 + 360 * coluna));
        const TCampo09& c = l.campos[i % 3];
        if (c.nome == "CODIGO DE BARRAS") continue;
        EXPECT_EQ(e.caixa.left(), DotsDeDecimos(c.horizontal * 10 + 360 * coluna + 5)) << i;
        EXPECT_EQ(e.caixa.top(), DotsDeDecimos(c.vertical * 10)) << i;
        EXPECT_EQ(CampoNoPonto(f, e.caixa.center()), e.campo) << i;
    }
    EXPECT_EQ(CampoNoPonto(f, QPoint(f.imagem.width() - 1, f.imagem.height() - 1)), -1);

    // The picture's stream is what the print sends for the same design and goods.
    GravarLeiaute09(Outro(), l, LerLeiaute09(Outro()));
    Imprimir();
    EXPECT_NE(Saida().find(f.fluxo), std::string::npos) << Legivel(f.fluxo) << "\n---\n" << Legivel(Saida());
}

TEST_F(FiguraLeiaute09, AvisaOQueSaiDaEtiquetaEOTextoCortado) {
    TLeiaute09 l = Gondola();
    // Starts 30 mm into a 36 mm label.
    l.campos.push_back(CampoLeiaute09("TEXTO LIVRE", 30, 2, 2, 30, "", "PROMOCAO DE INVERNO"));
    l.campos[2].vertical = 18;  // the bars reach below 20 mm
    TAmbiente09 a;
    a.linguagem = "PPLB";
    a.alturaMm = 20;
    const TFigura09 f = DesenharLeiaute09(l, a, *dtm);
    ASSERT_TRUE(f.erro.empty()) << f.erro;
    std::vector<std::string> textos;
    for (const TAviso09& av : f.avisos) textos.push_back(av.texto);
    auto tem = [&](int campo, const std::string& inicio) {
        for (const TAviso09& av : f.avisos)
            if (av.campo == campo && av.texto.rfind(inicio, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(tem(3, "Campo 4 (TEXTO LIVRE): sai da etiqueta pela direita (vai até "))
        << ::testing::PrintToString(textos);
    EXPECT_TRUE(tem(2, "Campo 3 (CODIGO DE BARRAS): sai da etiqueta por baixo (vai até "))
        << ::testing::PrintToString(textos);
    EXPECT_TRUE(tem(0,
                    "Campo 1 (NOME): o tamanho 20 corta \"CAMISETA BASICA ALGODAO MANGA CURTA GOLA V AZUL "
                    "MARINHO\" em \"CAMISETA BASICA ALGO\"."))
        << ::testing::PrintToString(textos);
    EXPECT_FALSE(tem(1, "")) << "o preço cabe na etiqueta e no tamanho";
    // The picture is wide and tall enough to show what leaves the label.
    EXPECT_GT(f.imagem.width(), f.etiquetas.back().right() + 1);
    EXPECT_GT(f.imagem.height(), f.etiquetas.back().bottom() + 1);

    // A row wider than the picture shows is drawn by its first labels.
    TLeiaute09 larga = Gondola();
    larga.porLinha = 40;
    const TFigura09 g = DesenharLeiaute09(larga, a, *dtm);
    EXPECT_EQ(g.etiquetas.size(), 12u);
    EXPECT_EQ(g.codigos.size(), 12u);
    const TAviso09 larguraCortada{-1, "A linha tem 40 etiquetas; a figura mostra as 12 primeiras."};
    EXPECT_NE(std::find(g.avisos.begin(), g.avisos.end(), larguraCortada), g.avisos.end());

    // ZPL: the barcode row draws nothing, and says so.
    a.linguagem = "ZPL";
    const TFigura09 z = DesenharLeiaute09(Gondola(), a, *dtm);
    ASSERT_TRUE(z.erro.empty()) << z.erro;
    EXPECT_TRUE(z.codigos.empty());
    EXPECT_EQ(z.elementos.size(), 6u);
    ASSERT_FALSE(z.avisos.empty());
    EXPECT_EQ(z.avisos[0].campo, 2);
}

TEST_F(FiguraLeiaute09, MercadoriasDaFilaQueImprimem) {
    Mercadoria(1, "7891234567895", "CAMISETA", "CB-01", "29.9");
    Mercadoria(2, "12345678", "MEIA", "M2", "5.5");
    Fila(1, "7891234567895", "A CAMISETA", "0", "29.9");  // no labels asked
    Fila(9, "999", "B SUMIDA", "2", "1");                 // goods gone
    Fila(2, "12345678", "C MEIA", "1", "5.5");
    Fila(1, "7891234567895", "D CAMISETA", "3", "29.9", "AZUL M");
    const TAmostra r = AmostraDaFila09(*dtm, 5);
    ASSERT_EQ(r.fila.size(), 2u);
    EXPECT_EQ(r.fila[0].NOME, "C MEIA");
    EXPECT_EQ(r.fila[1].NRO_LOTE, "AZUL M");
    EXPECT_EQ(r.mercadorias[1].NOM_MER, "CAMISETA");
    EXPECT_EQ(AmostraDaFila09(*dtm, 1).fila.size(), 1u);

    TAmbiente09 a;
    a.amostra = r;
    const TFigura09 f = DesenharLeiaute09(Gondola(), a, *dtm);
    ASSERT_TRUE(f.erro.empty()) << f.erro;
    // As the print's first row: the sock, then two of the three T-shirts asked for.
    EXPECT_EQ(f.codigos, (std::vector<std::string>{"12345678", "7891234567895", "7891234567895"}));
}

}  // namespace
