// The A4 layout routines through the dispatcher: the sheet table they build
// from the queue and the goods, the form they set up, and the PDF or preview.
#include <gtest/gtest.h>

#include <array>

#include "FilaTeste.h"
#include "FolhaPdf.h"
#include "common/UFuncoes.h"
#include "labels/a4/FormulariosA4.h"

namespace {

class ModelosA4 : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        pdf_ = pasta_ + "/folha.pdf";
        imp->ArquivoPdf = pdf_;
        Mercadoria(1, "7891234567895", "CAMISETA", "CB-01", "29.9");
    }
    void Modelo(int n) { GravarConfig("MODELO PRINT", ZerosEsquerda(n, 2) + " - A4"); }
    // The n-th cell (0-based, CT_LIN order): "LINHA1|LINHA2|LINHA3|LINHA4|LINHA5".
    std::string Celula(int n) {
        return Texto(
            "select coalesce(LINHA1, '') || '|' || coalesce(LINHA2, '') || '|' || coalesce(LINHA3, '') || "
            "'|' || coalesce(LINHA4, '') || '|' || coalesce(LINHA5, '') from ETIQUETAMRG order by CT_LIN "
            "rows " +
            std::to_string(n + 1) + " to " + std::to_string(n + 1));
    }
    // The form and source the routine handed to the preview.
    void CapturarPrevia() {
        imp->ArquivoPdf.clear();
        imp->MostrarPrevia = [this](const TFormularioA4& f, TFonteCelulas&) {
            formulario_ = f;
            celulasNoBanco_ = Contar("ETIQUETAMRG");  // another connection: only committed rows
        };
    }
    std::string pdf_;
    TFormularioA4 formulario_;
    int64_t celulasNoBanco_ = -1;
};

TEST_F(ModelosA4, Modelo26UmaCelulaPorEtiquetaNaOrdemDaFila) {
    Mercadoria(2, "1234567890128", "BERMUDA", "BE-01", "45");
    Mercadoria(3, "4006381333931", "CALCA", "CA-01", "89.9");
    Fila(1, "7891234567895", "A CAMISETA", "1", "29.9");
    Fila(2, "1234567890128", "B BERMUDA", "2", "45");
    Fila(3, "4006381333931", "C CALCA", "0", "89.9");
    Modelo(26);
    Imprimir();
    EXPECT_EQ(Contar("ETIQUETAMRG"), 3);
    EXPECT_EQ(Celula(0), "CAMISETA|7891234567895|R$ 29,90||");
    EXPECT_EQ(Celula(1), "BERMUDA|1234567890128|R$ 45,00||");
    EXPECT_EQ(Celula(2), "BERMUDA|1234567890128|R$ 45,00||");
    // Left to right on the first row of three.
    std::vector<std::pair<std::string, double>> nomes;
    for (const auto& p : PalavrasDoPdf(pdf_))
        if (p.texto == "CAMISETA" || p.texto == "BERMUDA") nomes.emplace_back(p.texto, p.xMin);
    const double mm = 25.4 / 96, passo = (760 * mm - 2) / 3 + 1;
    ASSERT_EQ(nomes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(nomes[i].second, 8 + i * passo + 15 * mm, 0.3) << nomes[i].first;
    EXPECT_FALSE(imp->tblEtiquetaRead.Filtrado());
}

struct TCasoCopias {
    const char* quantidade;
    int copias;
};

class CopiasA4 : public ModelosA4, public ::testing::WithParamInterface<TCasoCopias> {};

TEST_P(CopiasA4, QuantidadeArredondadaMetadesParaOPar) {
    Fila(1, "7891234567895", "CAMISETA", GetParam().quantidade, "29.9");
    Modelo(26);
    Imprimir();
    EXPECT_EQ(Contar("ETIQUETAMRG"), GetParam().copias);
}

INSTANTIATE_TEST_SUITE_P(Casos, CopiasA4,
                         ::testing::Values(TCasoCopias{"2.5", 2}, TCasoCopias{"3.5", 4}, TCasoCopias{"1.6", 2},
                                           TCasoCopias{"0.4", 0}, TCasoCopias{"1", 1}));

TEST_F(ModelosA4, Modelo28QuatroBrancasEAEtiquetaNaQuintaCelula) {
    Fila(1, "7891234567895", "CAMISETA", "1", "29.9");
    imp->edtBranco = 4;
    Modelo(28);
    Imprimir();
    ASSERT_EQ(Contar("ETIQUETAMRG"), 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Celula(i), ".||||") << i;
    EXPECT_EQ(Celula(4), "CAMISETA|7891234567895|R$ 29,90||");
    const double mm = 25.4 / 96, passo = (756 * mm - 8) / 5 + 2;
    int pontos = 0;
    bool nome = false;
    for (const auto& p : PalavrasDoPdf(pdf_)) {
        if (p.texto == ".") {
            EXPECT_NEAR(p.xMin, 5 + pontos * passo + 4 * mm, 0.3);
            ++pontos;
        } else if (p.texto == "CAMISETA") {
            nome = true;
            EXPECT_NEAR(p.xMin, 5 + 4 * passo + 4 * mm, 0.3);  // last of the first row of five
            EXPECT_NEAR(p.yMin, 12 + 6 * mm, 0.3);
        }
    }
    EXPECT_EQ(pontos, 4);
    EXPECT_TRUE(nome);
}

TEST_F(ModelosA4, VarianteImprimeAMercadoriaSemAGrade) {
    Fila(1, "7890000000011", "CAMISETA - AZUL P", "1", "35", "AZUL P");
    Modelo(42);
    Imprimir();
    EXPECT_EQ(Celula(0), "CAMISETA|7891234567895|R$ 29,90||");
}

TEST_F(ModelosA4, PrecoEditadoNaFilaNaoChegaAFolha) {
    Fila(1, "7891234567895", "CAMISETA", "1", "29.9");
    imp->tblEtiquetaRead.Open();
    imp->tblEtiquetaRead.Edit();
    imp->tblEtiquetaRead.SetCampo("VLR_VEN", "99.99");
    imp->tblEtiquetaRead.Post();
    Modelo(26);
    Imprimir();
    EXPECT_EQ(Celula(0), "CAMISETA|7891234567895|R$ 29,90||");
    bool preco = false;
    for (const auto& p : PalavrasDoPdf(pdf_)) {
        EXPECT_NE(p.texto, "99,99");
        preco = preco || p.texto == "29,90";
    }
    EXPECT_TRUE(preco);
}

// The texts each model puts in the five lines, for a 40-character name.
struct TCasoTextos {
    int modelo;
    const char* celula;
};

class TextosModeloA4 : public ModelosA4, public ::testing::WithParamInterface<TCasoTextos> {};

TEST_P(TextosModeloA4, LinhasDaCelula) {
    Executar(
        "insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, VLR_VEN, APLICACAO) values (7, '2000000000015', "
        "'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd', 1234.5, 'USO GERAL')");
    GravarConfig("NOME LOJA", "LOJA DO ZE");
    Fila(7, "2000000000015", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", "1", "1");
    Modelo(GetParam().modelo);
    Imprimir();
    EXPECT_EQ(Contar("ETIQUETAMRG"), 1);
    EXPECT_EQ(Celula(0), GetParam().celula);
}

INSTANTIATE_TEST_SUITE_P(
    Modelos, TextosModeloA4,
    ::testing::Values(TCasoTextos{20, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678|9abcd|R$ 1234,50|LOJA DO ZE|"},
                      TCasoTextos{26, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd|2000000000015|R$ 1234,50||"},
                      TCasoTextos{28, "ABCDEFGHIJKLMNOPQRSTUVWXY|2000000000015|R$ 1234,50|Z0123456789abcd|"},
                      TCasoTextos{32, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd|2000000000015|R$ 1234,50||"},
                      TCasoTextos{33, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678|2000000000015|R$ 1234,50|Z0123456789abcd|"},
                      TCasoTextos{34, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678|2000000000015|R$ 1234,50|Z0123456789abcd|"},
                      TCasoTextos{35, "ABCDEFGHIJKLMNOPQRSTUVWXY|2000000000015|R$ 1234,50|Z0123456789abcd|"},
                      // 39: characters 37 to 40 are not printed (LINHA5 is not on the form)
                      TCasoTextos{39, "ABCDEFGHIJKLMNOPQR|STUVWXYZ0123456789|2000000000015|R$ 1234,50|Z0123456789abcd"},
                      TCasoTextos{42, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd|2000000000015|R$ 1234,50|LOJA DO ZE|"},
                      TCasoTextos{55, "ABCDEFGHIJKLMNOPQRSTUV|2000000000015|R$ 1234,50|WXYZ0123456789abcd|USO GERAL"}),
    [](const auto& i) { return std::to_string(i.param.modelo); });

TEST_F(ModelosA4, CodigoSemMercadoriaEFilaVaziaNaoDaoCelulas) {
    Fila(999, "0000000000000", "SUMIU", "3", "1");
    Executar("insert into ETIQUETAMRG (LINHA1, CT_LIN) values ('DE ANTES', 77)");
    Modelo(26);
    Imprimir();
    EXPECT_EQ(Contar("ETIQUETAMRG"), 0);
    EXPECT_EQ(PaginasDoPdf(pdf_), 1);
    EXPECT_TRUE(PalavrasDoPdf(pdf_).empty());
}

TEST_F(ModelosA4, PreviaRecebeOFormularioDepoisDoCommitComAsBarrasDoPainel) {
    Fila(1, "7891234567895", "CAMISETA", "2", "29.9");
    GravarConfig({{"edtRatio", "4"}, {"edttipobar", "1"}});
    CapturarPrevia();
    Modelo(34);
    Imprimir();
    EXPECT_EQ(formulario_.nome, "TfrmEtiquetaA4_34");
    EXPECT_EQ(celulasNoBanco_, 2);
    const TElementoA4* barras = formulario_.Elemento("Barcode");
    ASSERT_NE(barras, nullptr);
    EXPECT_EQ(barras->barras.tipo, TTipoBarras::Code39);
    EXPECT_DOUBLE_EQ(barras->barras.razao, 3);

    GravarConfig({{"edtRatio", ""}, {"edttipobar", "8"}});  // another kind: the form's own
    Imprimir();
    EXPECT_EQ(formulario_.Elemento("Barcode")->barras.tipo, TTipoBarras::Intercalado2de5);
    EXPECT_DOUBLE_EQ(formulario_.Elemento("Barcode")->barras.razao, 1);
    EXPECT_EQ(Texto("select min(CT_LIN) from ETIQUETAMRG"), "2");  // the counter goes on across prints
}

TEST_F(ModelosA4, SemPreviaNoObjetoUsaADoPrograma) {
    Fila(1, "7891234567895", "CAMISETA", "1", "29.9");
    imp->ArquivoPdf.clear();
    std::string mostrado;
    InstalarPreviaA4([&](TDocumentoA4& d) { mostrado = d.Formulario().nome; });
    Modelo(20);
    Imprimir();
    InstalarPreviaA4({});
    EXPECT_EQ(mostrado, "TfrmEtiquetaA4_20");
}

}  // namespace
