// The pictures of the label models: every thermal and shelf-edge model drawn
// from its own stream over the sample goods (each barcode the stream sends
// decodes from the picture), A4 models as a page with its grid, and
// etiquetas-cli modelos writing them with no display.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <set>

#include "Apoio.h"
#include "CliNaFila.h"
#include "ModelosTermicos.h"
#include "labels/InfoModelos.h"
#include "previa/Galeria.h"
#include "suporte/ProgramaCli.h"

namespace fs = std::filesystem;
using namespace previa;

namespace {

// The codes zbarimg reads from a picture, each dot a 3x3 square as a scanner
// sees a print. zbarimg names a code once however often it is in the image
// (the variant row carries its goods' code), so the codes are a set.
std::set<std::string> CodigosDaFigura(const QImage& img) {
    const auto lidos = Decodificar(img.scaled(img.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return {lidos.begin(), lidos.end()};
}

class Galeria : public CliNaFila {
protected:
    Galeria() : CliNaFila("modelos") {}
};

TEST_F(Galeria, CadaModeloTermicoDesenhadoComCodigosLegiveis) {
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    TGaleriaModelos galeria(*dtm);
    for (const TInfoModelo& m : InfoModelos()) {
        if (m.tipo != TTipoModelo::Termico && m.tipo != TTipoModelo::Gondola) continue;
        SCOPED_TRACE("modelo " + std::to_string(m.numero));
        const TFiguraModelo& f = galeria.Figura(m.numero, "");
        ASSERT_FALSE(f.imagem.isNull()) << f.erro;
        EXPECT_EQ(&f, &galeria.Figura(m.numero, "")) << "desenhada uma vez por modelo e linguagem";
        std::set<std::string> enviados;
        for (const auto& c : f.codigos) enviados.insert(ComDigitoEan13(c));
        EXPECT_EQ(CodigosDaFigura(f.imagem), enviados);
    }
}

TEST_F(Galeria, OutraLinguagemMesmosCodigos) {
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    TGaleriaModelos galeria(*dtm);
    for (const char* linguagem : {"PPLA", "EPL2", "ZPL"}) {
        SCOPED_TRACE(linguagem);
        const TFiguraModelo& f = galeria.Figura(11, linguagem);
        ASSERT_FALSE(f.imagem.isNull()) << f.erro;
        EXPECT_EQ(CodigosDaFigura(f.imagem), (std::set<std::string>{"7891234567895", "78912345"}));
        EXPECT_EQ(f.codigos, (std::vector<std::string>{"7891234567895", "78912345", "7891234567895"}));
    }
}

TEST_F(Galeria, FolhaA4ComGradeEMotivoNoLugarDaFigura) {
    TGaleriaModelos galeria(*dtm);
    const TFiguraModelo& a4 = galeria.Figura(26, "");
    ASSERT_FALSE(a4.imagem.isNull()) << a4.erro;
    EXPECT_EQ(a4.imagem.size(), QSize(794, 1123));
    EXPECT_EQ(a4.dpi, 96);
    // Model 09 with a field whose font the printer does not have: the reason, no picture.
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 2, 50)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, AUX_4) "
        "values (13, 'NOME', '', 20, 'T', 77, 2, 2, '')");
    FecharOutro();
    const TFiguraModelo& m09 = galeria.Figura(9, "PPLA");
    EXPECT_TRUE(m09.imagem.isNull());
    EXPECT_EQ(m09.erro.rfind("Não foi possível desenhar o modelo 09: ", 0), 0u) << m09.erro;
    EXPECT_GT(m09.erro.size(), std::string("Não foi possível desenhar o modelo 09: ").size());
}

TEST_F(Galeria, CliGravaUmaImagemPorModeloSemTela) {
    const TResultadoCli r = Rodar("--png '" + pasta_ + "/galeria'");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("11  PPLA 3 colunas 22x33"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("59 imagem(ns) de modelo gravada(s) em " + pasta_ + "/galeria"), std::string::npos)
        << r.saida;
    for (const TInfoModelo& m : InfoModelos()) {
        const std::string png = pasta_ + "/galeria/modelo-" + ZerosEsquerda(m.numero, 2) + ".png";
        EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull()) << png;
    }
}

TEST_F(Galeria, CliRecusaModeloInexistenteEPastaQueNaoSeGrava) {
    struct Caso {
        std::string argumentos, erro;
    };
    const Caso casos[] = {
        {"60 --png '" + pasta_ + "/g'", "Modelo 60 não existe (os modelos vão de 01 a 59)."},
        {"abc", "Modelo abc não existe (os modelos vão de 01 a 59)."},
        {"--png /proc/galeria", "Não foi possível criar a pasta /proc/galeria"},
        {"--linguagem ppla", "--linguagem: 'ppla' não é PPLA, PPLB, EPL2 nem ZPL"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.argumentos);
        const TResultadoCli r = Rodar(c.argumentos);
        EXPECT_NE(r.codigo, 0);
        EXPECT_NE(r.erro.find(c.erro), std::string::npos) << r.erro;
    }
    EXPECT_FALSE(fs::exists(pasta_ + "/g"));
}

TEST(InfoModelosTest, LinhaDeTamanhoEAvisoDeLinguagem) {
    struct Caso {
        int modelo;
        std::string linguagem, tamanho, aviso;
    };
    const Caso casos[] = {
        {11, "PPLA", "33 x 22 mm, 3 por linha (passo 36 mm)", ""},
        {4, "EPL2", "3 por linha (passo 29,3 mm)", ""},
        {1, "EPL2", "3 por linha (passo 37 mm)", ""},
        {41, "PPLA", "13 mm de altura, 1 por linha", ""},
        {9, "PPLA", "etiquetas por linha conforme o formato do banco", ""},
        {58, "PPLA", "3 por linha (passo 32,5 mm)",
         "Atenção: o modelo foi escrito para ZPL e a impressora está em PPLA; confira a etiqueta antes de imprimir em "
         "quantidade."},
        {11, "", "33 x 22 mm, 3 por linha (passo 36 mm)",
         "Atenção: nenhuma linguagem de impressora marcada; o modelo foi escrito para PPLA."},
        {26, "ZPL", "3 por linha", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modelo);
        EXPECT_EQ(TamanhoModelo(InfoModelo(c.modelo)), c.tamanho);
        EXPECT_EQ(AvisoLinguagem(InfoModelo(c.modelo), c.linguagem), c.aviso);
    }
    EXPECT_EQ(MensagemDe([] { InfoModelo(0); }), "Modelo 00 não existe (os modelos vão de 01 a 59).");
}

}  // namespace
