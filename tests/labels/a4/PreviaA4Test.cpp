// The program's preview of an A4 report: Qt's print preview over the composed
// sheets, with the "Documento PDF" export.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrintPreviewWidget>

#include "FolhaPdf.h"
#include "labels/a4/FormulariosA4.h"
#include "labels/a4/gui/PreviaA4Dialogo.h"
#include "suporte/AmbienteAplicacao.h"

namespace {

[[maybe_unused]] ::testing::Environment* const ambiente =
    ::testing::AddGlobalTestEnvironment(new TAmbienteAplicacao<QApplication>("testes_a4_previa"));

std::vector<TLinhasCelula> Celulas(int n) {
    std::vector<TLinhasCelula> r;
    for (int i = 0; i < n; ++i) r.push_back({"PRODUTO " + std::to_string(i), "7891234567895", "R$ 1,99", "", "", ""});
    return r;
}

TEST(PreviaA4Test, MostraAsFolhasEExportaDocumentoPdf) {
    TCelulasEmMemoria fonte(Celulas(31));  // model 26: 30 cells a page
    TDocumentoA4 documento(CriaFormularioA4(26), fonte);
    TPreviaA4Dialogo previa(documento);
    EXPECT_EQ(previa.Dialogo().windowTitle(), "Boleto");
    auto* pagina = previa.Dialogo().findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pagina, nullptr);
    pagina->updatePreview();
    EXPECT_EQ(pagina->pageCount(), 2);

    ASSERT_NE(previa.AcaoPdf(), nullptr);
    EXPECT_EQ(previa.AcaoPdf()->text(), "Documento PDF");
    TPastaTemp pasta("a4-previa");
    previa.EscolherArquivoPdf = [&] { return QString::fromStdString(pasta / "etiquetas"); };
    previa.AcaoPdf()->trigger();
    EXPECT_EQ(PaginasDoPdf(pasta / "etiquetas.pdf"), 2);
    int produtos = 0;
    for (const auto& p : PalavrasDoPdf(pasta / "etiquetas.pdf")) produtos += p.texto == "PRODUTO";
    EXPECT_EQ(produtos, 31);
}

TEST(PreviaA4Test, ExportacaoCanceladaNaoGravaNada) {
    TCelulasEmMemoria fonte(Celulas(1));
    TDocumentoA4 documento(CriaFormularioA4(42), fonte);
    TPreviaA4Dialogo previa(documento);
    TPastaTemp pasta("a4-previa");
    bool perguntou = false;
    previa.EscolherArquivoPdf = [&] {
        perguntou = true;
        return QString();
    };
    previa.AcaoPdf()->trigger();
    EXPECT_TRUE(perguntou);
    EXPECT_TRUE(std::filesystem::is_empty(pasta.caminho));
}

TEST(PreviaA4Test, ProgramaSemPreviaInstaladaRecusaMostrar) {
    TCelulasEmMemoria fonte({});
    TDocumentoA4 documento(CriaFormularioA4(26), fonte);
    InstalarPreviaA4({});
    EXPECT_EQ(MensagemDe([&] { MostraPreviaA4(documento); }), "Visualização de relatórios indisponível neste programa");
    TDocumentoA4* mostrado = nullptr;
    InstalarPreviaA4([&](TDocumentoA4& d) { mostrado = &d; });
    MostraPreviaA4(documento);
    EXPECT_EQ(mostrado, &documento);
    InstalarPreviaA4({});
}

}  // namespace
