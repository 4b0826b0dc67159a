// The preview of every thermal and shelf-edge model over a fixture queue,
// through the dispatcher: every print job becomes images, every barcode
// decodes to the code that was sent, and nothing reaches the port.
#include <gtest/gtest.h>

#include <filesystem>

#include "Apoio.h"
#include "FilaTeste.h"
#include "ModelosTermicos.h"
#include "labels/Modelos.h"
#include "previa/PreviaImpressao.h"

using namespace previa;

namespace {

class PreviaModelos : public FilaTeste, public ::testing::WithParamInterface<ModeloTermico> {
protected:
    // The fixture queue: a 13-digit EAN, a short code, a long alphanumeric
    // one and a variant row, one label each.
    void Enfileirar() {
        Mercadoria(1, "7891234567895", "CAMISETA BÁSICA ALGODÃO MANGA CURTA", "CB-01", "29.9");
        Mercadoria(2, "12345", "MEIA", "M2", "5.5");
        Mercadoria(3, "ABC12345678", "BONÉ", "", "1234.5");
        Fila(1, "7891234567895", "A CAMISETA", "1", "29.9");
        Fila(2, "12345", "B MEIA", "1", "5.5");
        Fila(3, "ABC12345678", "C BONE", "1", "1234.5");
        Fila(1, "7891234567895", "D CAMISETA AZUL", "1", "29.9", "AZUL P");
    }
};

// Whether each label's ink stays inside it is checked over the layouts'
// golden streams (PreviaOuroTest); here, the whole print through the preview.
TEST_P(PreviaModelos, CadaTrabalhoViraImagensECodigosLegiveis) {
    const ModeloTermico m = GetParam();
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    Enfileirar();
    GravarConfig({{"MODELO", m.linguagem}, {"MODELO PRINT", std::to_string(m.numero) + " - modelo"}});
    imp->tblEtiquetaRead.Open();

    std::vector<std::string> fluxos;
    int imagens = 0;
    TPreviaImpressao previa(*imp);
    previa.AoFluxo = [&](const std::string& f) { fluxos.push_back(f); };
    previa.AoImagem = [&](const QImage&, int indice) {
        EXPECT_EQ(indice, imagens);
        ++imagens;
        return true;
    };
    const TResultadoPrevia r = previa.Executar();
    EXPECT_EQ(r.modelo, m.numero);
    EXPECT_GT(imagens, 0);
    EXPECT_FALSE(std::filesystem::exists(saida_)) << "a prévia não deve chegar à porta";

    int desenhadas = 0;
    for (const auto& fluxo : fluxos) {
        const Leitura l = Ler(fluxo, r.linguagem);
        EXPECT_EQ(l.ignorados, 0) << (l.avisos.empty() ? "" : l.avisos.front());
        for (const auto& etq : l.etiquetas) {
            ++desenhadas;
            Geometria g;
            Desenhar(etq, 203, {}, &g);
            EXPECT_TRUE(g.avisos.empty()) << g.avisos.front();
            for (size_t i = 0; i < g.posicoes.size(); ++i) {
                if (g.posicoes[i].tipo == TipoElemento::Barras) {
                    EXPECT_EQ(LerCodigoSozinho(etq, i), g.posicoes[i].dados) << g.posicoes[i].comando;
                }
            }
        }
    }
    EXPECT_EQ(desenhadas, imagens);
}

INSTANTIATE_TEST_SUITE_P(Termicos, PreviaModelos, ::testing::ValuesIn(kModelosTermicos),
                         [](const auto& i) { return "modelo" + std::to_string(i.param.numero); });

// Model 58, three columns: an 8-digit code between two EAN-13 labels. Sent in
// Code 128 subset B it would run into the next label, over the quiet zone of
// the neighbour's EAN-13, and neither would scan; in subset C it keeps to its
// own label and the whole row decodes.
class PreviaVizinhas : public FilaTeste {};

TEST_F(PreviaVizinhas, Modelo58TresColunasEan13OitoDigitosEan13) {
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    Mercadoria(1, "7891234567895", "CAMISETA", "C1", "29.9");
    Mercadoria(2, "78912345", "MEIA", "M2", "5.5");
    Mercadoria(3, "7896543210982", "BONE", "B3", "19.9");
    Fila(1, "7891234567895", "A CAMISETA", "1", "29.9");
    Fila(2, "78912345", "B MEIA", "1", "5.5");
    Fila(3, "7896543210982", "C BONE", "1", "19.9");
    GravarConfig({{"MODELO", "ZPL"}, {"MODELO PRINT", "58 - ZPL"}});
    imp->modModelo58 = 0;
    imp->tblEtiquetaRead.Open();
    std::vector<QImage> imagens;
    TPreviaImpressao previa(*imp);
    previa.AoImagem = [&](const QImage& img, int) {
        imagens.push_back(img);
        return true;
    };
    previa.Executar();
    ASSERT_EQ(imagens.size(), 1u) << "uma linha de três etiquetas";
    // Each dot a 3x3 square, as a scanner sees a print.
    const QImage linha =
        imagens.front().scaled(imagens.front().size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // Sorted as text: the 8-digit code first.
    EXPECT_EQ(Decodificar(linha), (std::vector<std::string>{"78912345", "7891234567895", "7896543210982"}));
}

class PreviaInterrompida : public FilaTeste {};

TEST_F(PreviaInterrompida, ParaNaPrimeiraImagemEDevolveAFilaComoEstava) {
    for (int i = 1; i <= 3; ++i) Mercadoria(i, "789123456789" + std::to_string(i), "ITEM", "R", "1");
    for (int i = 1; i <= 3; ++i) Fila(i, "789123456789" + std::to_string(i), "ITEM " + std::to_string(i), "3", "1");
    imp->tblEtiquetaRead.Open();
    TPreviaImpressao previa(*imp);
    int chamadas = 0;
    previa.AoImagem = [&](const QImage& img, int) {
        ++chamadas;
        EXPECT_FALSE(img.isNull());
        return false;
    };
    const TResultadoPrevia r = previa.Executar();
    EXPECT_EQ(chamadas, 1);
    EXPECT_EQ(r.imagens, 1);
    EXPECT_FALSE(imp->CdbETQ.Ativo());
    EXPECT_FALSE(imp->tblEtiquetaRead.Filtrado());
    EXPECT_EQ(imp->PausaMs, 0);  // as the fixture set it
}

TEST_F(PreviaInterrompida, ModeloA4ERecusadoAntesDeQualquerCoisa) {
    GravarConfig({{"MODELO PRINT", "20 - A4"}});
    imp->tblEtiquetaRead.Open();
    TPreviaImpressao previa(*imp);
    EXPECT_EQ(MensagemDe([&] { previa.Executar(); }),
              "O modelo 20 é de folha A4: a visualização mostra etiquetas térmicas; use a prévia da folha.");
    EXPECT_FALSE(imp->CdbETQ.Ativo());
}

}  // namespace
