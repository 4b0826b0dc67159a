// The same ZPL stream drawn by an independent renderer (zpl-renderer-js, run
// with node) and by ours: the barcodes decode to the same values and the
// texts stand in the same places within a few dots.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "Apoio.h"
#include "suporte/Caminhos.h"

using namespace previa;

namespace {

constexpr int kTolerancia = 6;  // dots

std::string Oraculo() { return std::string(kRaizProjeto) + "/tests/previa/oraculo"; }

// The package registry answers (bounded wait): then a missing renderer is a
// broken install, not a machine without network.
bool RegistroAlcancavel() {
    if (!TemPrograma("npm")) return false;
    int status = -1;
    SaidaDe("timeout 15 npm ping --loglevel=error 2>&1", &status);
    return status == 0;
}

// Skips with the reason when the comparison cannot run here; fails when it
// could and should (the registry answers but the renderer is not installed).
bool OraculoDisponivel(std::string& motivo) {
    if (!TemPrograma("node"))
        motivo = "node não instalado (pacote nodejs): comparação com zpl-renderer-js pulada";
    else if (!std::filesystem::exists(Oraculo() + "/node_modules/zpl-renderer-js")) {
        if (RegistroAlcancavel()) {
            ADD_FAILURE() << "zpl-renderer-js não instalado em " << Oraculo()
                          << ", mas o registro de pacotes responde: rode scripts/deps.sh (npm ci)";
            motivo = "zpl-renderer-js ausente";
        } else
            motivo = "zpl-renderer-js não instalado em " + Oraculo() +
                     " e o registro de pacotes não responde: comparação pulada";
    } else if (!TemPrograma("zbarimg"))
        motivo = "zbarimg (pacote zbar-tools) não instalado";
    return motivo.empty();
}

// Draws `fluxo` on a label of the given size with both renderers and compares:
// the same decoded codes (`codigos`, sorted), and when `textosEsperados` is
// given, that many texts in the same places.
void CompararComOraculo(const std::string& fluxo, double larguraMm, double alturaMm,
                        const std::vector<std::string>& codigos, std::optional<int> textosEsperados) {
    TPastaTemp pasta("previa-oraculo");
    Gravar(pasta / "etiqueta.zpl", fluxo);
    const std::string comando = "node '" + Oraculo() + "/desenhar.cjs' '" + (pasta / "etiqueta.zpl") + "' '" +
                                (pasta / "oraculo.png") + "' " + std::to_string(larguraMm) + " " +
                                std::to_string(alturaMm) + " 2>&1";
    const std::string saida = SaidaDe(comando);
    QImage deles(QString::fromStdString(pasta / "oraculo.png"));
    ASSERT_FALSE(deles.isNull()) << saida;

    const Previa nossa = Visualizar(fluxo, Linguagem::Zpl, 203, {deles.width(), deles.height(), 0});
    ASSERT_EQ(nossa.imagens.size(), 1u);
    const QImage& img = nossa.imagens[0];
    img.save(QString::fromStdString(pasta / "nossa.png"));

    EXPECT_EQ(DecodificarArquivo(pasta / "nossa.png"), codigos);
    EXPECT_EQ(DecodificarArquivo(pasta / "oraculo.png"), codigos);

    if (!textosEsperados) return;
    Geometria g;
    Desenhar(nossa.leitura.etiquetas[0], 203, {deles.width(), deles.height(), 0}, &g);
    int textos = 0;
    for (const auto& pos : g.posicoes) {
        if (pos.tipo != TipoElemento::Texto || pos.tinta.isEmpty()) continue;
        ++textos;
        const QRect janela = pos.caixa.adjusted(-12, -12, 12, 12);
        const QRect a = Tinta(img, janela), b = Tinta(deles.convertToFormat(QImage::Format_RGB32), janela);
        ASSERT_FALSE(a.isEmpty()) << pos.dados;
        ASSERT_FALSE(b.isEmpty()) << pos.dados;
        EXPECT_NEAR(a.left(), b.left(), kTolerancia) << pos.dados;
        EXPECT_NEAR(a.top(), b.top(), kTolerancia) << pos.dados;
    }
    EXPECT_EQ(textos, *textosEsperados);
}

TEST(OraculoZpl, MesmosCodigosETextosNosMesmosLugares) {
    std::string motivo;
    if (!OraculoDisponivel(motivo)) GTEST_SKIP() << motivo;

    // A 50 x 30 mm label at 8 dots per millimetre, laid out by the driver.
    const std::string fluxo = FluxoDoDriver(etqZPLII, [](TCdbETQ& e) {
        e.ImprimirTexto(orNormal, "D", 18, 10, 20, 30, "PRECO 12,90");
        e.ImprimirTexto(orNormal, "0", 30, 30, 20, 380, "R$ 9");
        e.ImprimirLinha(80, 20, 450, 3);
        e.ImprimirBarras(orNormal, "E", "2", "2", 110, 120, "7891234567895", 80, becSIM);
        e.ImprimirBarras(orNormal, "C", "2", "2", 220, 40, "REF-42", 50, becNAO);
        e.ImprimirTexto(orNormal, "E", 28, 15, 230, 330, "OK");
    });
    CompararComOraculo(fluxo, 50, 30, {"7891234567895", "REF-42"}, 3);
}

// The ZPL model's golden stream (three labels per row, 32.5 mm apart): rows
// whose codes fit their labels drawn by both. Its texts ask for fonts "1" and
// "2", which a ZPL printer does not have, so each renderer draws its own
// stand-in: only the codes are compared.
TEST(OraculoZpl, Modelo58MesmosCodigos) {
    std::string motivo;
    if (!OraculoDisponivel(motivo)) GTEST_SKIP() << motivo;
    const std::string fluxo = LerTudo(std::string(kRaizProjeto) + "/tests/labels/ouro/modelos/modelo58.zpl.prn");
    std::vector<std::string> linhas;  // each row of labels is one ^XA ... ^XZ format
    for (size_t xa = fluxo.find("^XA"); xa != std::string::npos; xa = fluxo.find("^XA", xa + 3)) {
        const size_t xz = fluxo.find("^XZ", xa);
        ASSERT_NE(xz, std::string::npos);
        linhas.push_back(fluxo.substr(xa, xz + 3 - xa));
    }
    ASSERT_GE(linhas.size(), 6u);
    // Row by row (from 1), sorted; zbarimg names a code read twice in one image once.
    const std::vector<std::pair<int, std::vector<std::string>>> casos = {
        {1, {"1234", "78912345"}},           {3, {"7899999000015"}}, {4, {"12345", "7891000315507", "7899999000015"}},
        {5, {"123456", "AB12C", "CX12345"}}, {6, {"123456"}},
    };
    for (const auto& [linha, codigos] : casos) {
        SCOPED_TRACE("linha " + std::to_string(linha));
        CompararComOraculo(linhas[static_cast<size_t>(linha - 1)], 110, 15, codigos, std::nullopt);
    }
}

}  // namespace
