#include <gtest/gtest.h>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "labels/InfoModelos.h"
#include "labels/Mercadoria.h"
#include "labels/a4/FormulariosA4.h"
#include "suporte/Suporte.h"

namespace {

const TElementoA4& Barcode(const TFormularioA4& f) {
    for (const auto& e : f.elementos)
        if (e.tipo == TTipoElemento::Barras) return e;
    throw std::runtime_error("formulário sem código de barras");
}

struct TCasoGrade {
    int modelo;
    const char* nome;
    int linhas, colunas;
    double larguraCelulaMm, alturaCelulaMm;
};

class GradeA4Test : public ::testing::TestWithParam<TCasoGrade> {};

TEST_P(GradeA4Test, CelulasPorFolha) {
    const auto& c = GetParam();
    const TFormularioA4 f = CriaFormularioA4(c.modelo);
    EXPECT_EQ(f.nome, c.nome);
    EXPECT_EQ(f.titulo, "Boleto");
    EXPECT_EQ(f.LinhasPorPagina(), c.linhas);
    EXPECT_EQ(f.grade.colunas, c.colunas);
    EXPECT_NEAR(f.LarguraCelulaMm(), c.larguraCelulaMm, 0.15);
    EXPECT_NEAR(f.AlturaCelulaMm(), c.alturaCelulaMm, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Modelos, GradeA4Test,
                         ::testing::Values(TCasoGrade{20, "TfrmEtiquetaA4_20", 7, 2, 98.4, 38.1},
                                           TCasoGrade{26, "TfrmEtiqueta26", 10, 3, 66.4, 25.4},
                                           TCasoGrade{28, "TfrmEtiquetaA4_28", 13, 5, 38.4, 21.2},
                                           TCasoGrade{32, "TfrmEtiquetaGondola", 10, 2, 100.0, 26.5},
                                           TCasoGrade{33, "TfrmEtiquetaA4_33", 22, 4, 45.5, 12.7},
                                           TCasoGrade{34, "TfrmEtiquetaA4_34", 16, 6, 31.0, 16.9},
                                           TCasoGrade{35, "TfrmEtiquetaA4_35", 13, 5, 38.4, 21.2},
                                           TCasoGrade{39, "TfrmEtiquetaA4_39", 18, 7, 26.7, 15.1},
                                           TCasoGrade{42, "TfrmEtiquetaA4_42", 10, 3, 66.4, 25.4},
                                           TCasoGrade{55, "TfrmEtiquetaA4_55", 13, 5, 38.6, 21.2}),
                         [](const auto& i) { return std::to_string(i.param.modelo); });

TEST(FormularioA4Test, ModeloTermicoNaoTemFormulario) {
    EXPECT_EQ(MensagemDe([] { CriaFormularioA4(27); }), "Modelo 27 não é um modelo de folha A4");
    EXPECT_FALSE(EhModeloA4(9));
    EXPECT_TRUE(EhModeloA4(55));
}

// Which models print on A4 sheets is said in three places: EhModeloA4 (the
// queue window and the goods side), the model list (its kind) and the forms
// with their cell texts. A model added to one and not the others would print
// nothing, or open a thermal print for a sheet.
TEST(FormularioA4Test, AsListasDeModelosA4Concordam) {
    int modelosA4 = 0;
    for (int n = 1; n <= 59; ++n) {
        SCOPED_TRACE(n);
        const bool a4 = EhModeloA4(n);
        modelosA4 += a4 ? 1 : 0;
        EXPECT_EQ(InfoModelo(n).tipo == TTipoModelo::A4, a4);
        if (a4) {
            EXPECT_EQ(CriaFormularioA4(n).grade.colunas, InfoModelo(n).porLinha);
            EXPECT_NO_THROW(TextosCelulaA4(n, TMercadoria{}, ""));
        } else {
            EXPECT_EQ(MensagemDe([n] { CriaFormularioA4(n); }),
                      "Modelo " + ZerosEsquerda(n, 2) + " não é um modelo de folha A4");
            EXPECT_EQ(MensagemDe([n] { TextosCelulaA4(n, TMercadoria{}, ""); }),
                      "O modelo " + std::to_string(n) + " não é de folha A4.");
        }
    }
    EXPECT_EQ(modelosA4, 10);
    EXPECT_FALSE(EhModeloA4(0));
    EXPECT_FALSE(EhModeloA4(60));
}

struct TCasoBarras {
    int modelo;
    int tipoBarraA4;
    TTipoBarras esperado;
};

class ConfiguraBarrasTest : public ::testing::TestWithParam<TCasoBarras> {};

TEST_P(ConfiguraBarrasTest, TipoDoPainelOuOProprioDoFormulario) {
    const auto& c = GetParam();
    TFormularioA4 f = CriaFormularioA4(c.modelo);
    ConfiguraBarrasA4(f, c.modelo, 3, c.tipoBarraA4);
    EXPECT_EQ(Barcode(f).barras.tipo, c.esperado);
    EXPECT_DOUBLE_EQ(Barcode(f).barras.razao, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ConfiguraBarrasTest,
    ::testing::Values(TCasoBarras{26, 0, TTipoBarras::Codabar}, TCasoBarras{26, 1, TTipoBarras::Code39},
                      TCasoBarras{28, 2, TTipoBarras::Intercalado2de5}, TCasoBarras{33, 3, TTipoBarras::Matrix2de5},
                      TCasoBarras{34, 4, TTipoBarras::Code93}, TCasoBarras{42, 4, TTipoBarras::Code93},
                      TCasoBarras{26, 5, TTipoBarras::Codabar}, TCasoBarras{32, -1, TTipoBarras::Codabar},
                      TCasoBarras{42, 9, TTipoBarras::Codabar}, TCasoBarras{28, 5, TTipoBarras::Intercalado2de5},
                      TCasoBarras{33, 7, TTipoBarras::Intercalado2de5},
                      TCasoBarras{34, 5, TTipoBarras::Intercalado2de5},
                      TCasoBarras{39, 5, TTipoBarras::Intercalado2de5},
                      // form 35 makes no choice: Codabar until its hook picks one
                      TCasoBarras{35, 1, TTipoBarras::Codabar}, TCasoBarras{35, 4, TTipoBarras::Codabar}));

TEST(ConfiguraBarrasTest, RazaoDoPainelPadraoEUm) {
    TFormularioA4 f = CriaFormularioA4(39);
    ConfiguraBarrasA4(f, 39, 1, 0);
    EXPECT_DOUBLE_EQ(Barcode(f).barras.razao, 1);
    EXPECT_DOUBLE_EQ(Barcode(f).barras.modulo, 2);
}

TLinhasCelula Celula(const std::string& l1, const std::string& l2) { return {l1, l2, "R$ 1,00", "", "", ""}; }

TEST(AntesCelula35Test, TipoPeloTamanhoDoCodigo) {
    TFormularioA4 f = CriaFormularioA4(35);
    ConfiguraBarrasA4(f, 35, 1, 2);
    auto& el = f.elementos;
    struct {
        const char* codigo;
        TTipoBarras tipo;
        double razao;
    } passos[] = {
        {"1234567890", TTipoBarras::Codabar, 1},  // first cell: the setup's settings
        {"7891234567895", TTipoBarras::EAN13, 2.25}, {"12345", TTipoBarras::Codabar, 2.25},
        {"7891234567895", TTipoBarras::EAN13, 2.25}, {"1234567890", TTipoBarras::EAN13, 2.25},  // keeps the cell before
        {"12345678", TTipoBarras::Codabar, 2.25},    {"", TTipoBarras::Codabar, 2.25},
    };
    for (const auto& p : passos) {
        f.DetailGrid1BeforePrint(Celula("NOME", p.codigo), el);
        SCOPED_TRACE(p.codigo);
        EXPECT_EQ(Barcode(f).barras.tipo, p.tipo);
        EXPECT_DOUBLE_EQ(Barcode(f).barras.razao, p.razao);
        EXPECT_DOUBLE_EQ(Barcode(f).barras.modulo, 1);
    }
}

TEST(AntesCelula20Test, CelulaVaziaEscondeLogoETelefones) {
    TFormularioA4 f = CriaFormularioA4(20, {"Loja", "1111", "2222", "/tmp/logo.png"});
    for (auto [l1, visivel] : {std::pair{".", false}, {"CAFE", true}, {"", false}, {"X", false}, {"AB", true}}) {
        f.DetailGrid1BeforePrint(Celula(l1, ""), f.elementos);
        for (const char* nome : {"rlImg", "fone1", "fone2"})
            EXPECT_EQ(f.Elemento(nome)->visivel, visivel) << l1 << nome;
    }
    EXPECT_EQ(f.Elemento("fone1")->texto, "1111");
    EXPECT_EQ(f.Elemento("fone2")->texto, "2222");
    EXPECT_EQ(f.Elemento("rlImg")->arquivo, "/tmp/logo.png");
}

TEST(DadosLojaTest, LidosDoConfigEtqVaziosQuandoFaltam) {
    TPastaTemp pasta("a4-loja");
    DefinirDiretorioSistema(pasta.caminho.string());
    TDadosLoja vazio = LerDadosLoja();
    EXPECT_EQ(vazio.nome, "");
    EXPECT_EQ(vazio.telefone1, "");
    EXPECT_EQ(vazio.telefone2, "");
    EXPECT_EQ(vazio.logo, "");
    Gravar(pasta / "configEtq.ini",
           "[CONF]\r\nNOME LOJA=Mercadinho S\xe3o Jos\xe9\r\nTELEFONE1 LOJA=(11) 4002-8922\r\n"
           "telefone2 loja=(11) 99999-0000\r\nLOGO LOJA=logo.png\r\n");
    TDadosLoja d = LerDadosLoja();
    EXPECT_EQ(d.nome, "Mercadinho São José");
    EXPECT_EQ(d.telefone1, "(11) 4002-8922");
    EXPECT_EQ(d.telefone2, "(11) 99999-0000");
    EXPECT_EQ(d.logo, (pasta / "logo.png"));
    GravarConfig("LOGO LOJA", "/srv/loja/logo.png");
    EXPECT_EQ(LerDadosLoja().logo, "/srv/loja/logo.png");
    DefinirDiretorioSistema("");
}

}  // namespace
