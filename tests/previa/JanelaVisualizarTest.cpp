// "Visualizar" in the label queue window: the label images of the queue on
// screen, drawn from the stream model 11 composes, and nothing at the port.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QLabel>
#include <QPushButton>

#include "Apoio.h"
#include "gui/JanelaFilaTeste.h"
#include "labels/Modelos.h"
#include "labels/gui/MrgEtiquetas.h"
#include "previa/gui/PreviaEtiquetas.h"

namespace {

// The window keeps its own pause, which the preview must leave as it found it.
using JanelaVisualizar = JanelaFilaTeste;

TEST_F(JanelaVisualizar, MostraAsEtiquetasDaFilaSemEnviarNada) {
    Enfileirar(
        {"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 3", "30, '789300', 'CAMISA', 'CAMISA', 0, 50, 1"});
    Abrir();
    EXPECT_EQ(janela->btnVisualizar->text(), "Visualizar");
    janela->btnVisualizar->click();
    ASSERT_TRUE(falhas.empty()) << falhas.front();

    TfrmPreviaEtiquetas* previa = janela->Previa();
    ASSERT_NE(previa, nullptr);
    EXPECT_TRUE(previa->isVisible());
    EXPECT_EQ(previa->windowTitle(), "Visualizar etiquetas");
    // Three of the coffee fill the first row of the roll; the shirt opens the second.
    ASSERT_EQ(previa->ImagensMostradas(), 2);
    EXPECT_EQ(previa->lblResumo->text(),
              "2 imagem(ns) de etiqueta do modelo 11 (PPLA, 203 dpi); nada foi enviado à impressora.");
    EXPECT_FALSE(std::filesystem::exists(saida)) << "a prévia não deve chegar à porta";
    if (TemZbarimg()) {
        EXPECT_EQ(Decodificar(previa->Imagens()[0]), (std::vector<std::string>{"789100"}));
        EXPECT_EQ(Decodificar(previa->Imagens()[1]), (std::vector<std::string>{"789300"}));
    }
    // The queue and the component as after a print: counts kept, all rows back, closed.
    EXPECT_FALSE(janela->Impressao().tblEtiquetaRead.Filtrado());
    EXPECT_FALSE(janela->Impressao().CdbETQ.Ativo());
    EXPECT_EQ(janela->Impressao().PausaMs, 500);

    // Printing afterwards sends the very labels that were shown.
    previa->close();
    janela->Impressao().PausaMs = 0;
    janela->btnEtiquetas->click();
    ASSERT_TRUE(falhas.empty()) << falhas.front();
    EXPECT_NE(LerTudo(saida).find("CAFE PILAO"), std::string::npos);
}

TEST_F(JanelaVisualizar, FilaSemQuantidadesDizQueNaoHaEtiquetas) {
    Enfileirar({"10, '789100', 'CAFE PILAO', 'CAFE PILAO', 3.5, 12.5, 0"});
    Abrir();
    janela->btnVisualizar->click();
    ASSERT_TRUE(falhas.empty()) << falhas.front();
    ASSERT_NE(janela->Previa(), nullptr);
    EXPECT_EQ(janela->Previa()->ImagensMostradas(), 0);
    EXPECT_EQ(janela->Previa()->lblResumo->text(), "Nenhuma etiqueta a imprimir: informe as quantidades na fila.");
}

}  // namespace
