// The same ZPL stream drawn by an independent renderer (zpl-renderer-js, run
// with node) and by ours: the barcodes decode to the same values and the
// texts stand in the same places within a few dots.
#include <gtest/gtest.h>

#include <filesystem>

#include "Apoio.h"

using namespace previa;

namespace {

constexpr int kTolerancia = 6;  // dots

std::string Oraculo() { return std::string(ETIQ_ORACULO); }

TEST(OraculoZpl, MesmosCodigosETextosNosMesmosLugares) {
    if (!TemPrograma("node")) GTEST_SKIP() << "node não instalado (pacote nodejs): comparação com zpl-renderer-js pulada";
    if (!std::filesystem::exists(Oraculo() + "/node_modules/zpl-renderer-js"))
        GTEST_SKIP() << "zpl-renderer-js não instalado em " << Oraculo()
                     << " (scripts/deps.sh o instala com npm ci): comparação pulada";
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";

    // A 50 x 30 mm label at 8 dots per millimetre, laid out by the driver.
    const std::string fluxo = FluxoDoDriver(etqZPLII, [](TCdbETQ& e) {
        e.ImprimirTexto(orNormal, "D", 18, 10, 20, 30, "PRECO 12,90");
        e.ImprimirTexto(orNormal, "0", 30, 30, 20, 380, "R$ 9");
        e.ImprimirLinha(80, 20, 450, 3);
        e.ImprimirBarras(orNormal, "E", "2", "2", 110, 120, "7891234567895", 80, becSIM);
        e.ImprimirBarras(orNormal, "C", "2", "2", 220, 40, "REF-42", 50, becNAO);
        e.ImprimirTexto(orNormal, "E", 28, 15, 230, 330, "OK");
    });

    TPastaTemp pasta("previa-oraculo");
    Gravar(pasta / "etiqueta.zpl", fluxo);
    const std::string comando = "node '" + Oraculo() + "/desenhar.cjs' '" + (pasta / "etiqueta.zpl") + "' '" +
                                (pasta / "oraculo.png") + "' 50 30 2>&1";
    const std::string saida = Executar(comando);
    QImage deles(QString::fromStdString(pasta / "oraculo.png"));
    ASSERT_FALSE(deles.isNull()) << saida;

    const Previa nossa = Visualizar(fluxo, Linguagem::Zpl, 203, {deles.width(), deles.height(), 0});
    ASSERT_EQ(nossa.imagens.size(), 1u);
    const QImage& img = nossa.imagens[0];
    img.save(QString::fromStdString(pasta / "nossa.png"));

    const auto codigos = DecodificarArquivo(pasta / "nossa.png");
    EXPECT_EQ(codigos, (std::vector<std::string>{"7891234567895", "REF-42"}));
    EXPECT_EQ(DecodificarArquivo(pasta / "oraculo.png"), codigos);

    Geometria g;
    Desenhar(nossa.leitura.etiquetas[0], 203, {deles.width(), deles.height(), 0}, &g);
    int textos = 0;
    for (const auto& pos : g.posicoes) {
        if (pos.tipo != TipoElemento::Texto) continue;
        ++textos;
        const QRect janela = pos.caixa.adjusted(-12, -12, 12, 12);
        const QRect a = Tinta(img, janela), b = Tinta(deles.convertToFormat(QImage::Format_RGB32), janela);
        ASSERT_FALSE(a.isEmpty()) << pos.dados;
        ASSERT_FALSE(b.isEmpty()) << pos.dados;
        EXPECT_NEAR(a.left(), b.left(), kTolerancia) << pos.dados;
        EXPECT_NEAR(a.top(), b.top(), kTolerancia) << pos.dados;
    }
    EXPECT_EQ(textos, 3);
}

}  // namespace
