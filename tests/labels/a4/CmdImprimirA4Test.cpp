// etiquetas-cli imprimir on an A4 model: the sheets go to a PDF file with no
// window and no display.
#include <filesystem>
#include "FilaTeste.h"
#include "suporte/Caminhos.h"

#include "FolhaPdf.h"
#include "labels/a4/FormulariosA4.h"
#include "suporte/ProgramaCli.h"

namespace {

class CmdImprimirA4 : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        cli_.semVariaveis = kSemTela;
        Mercadoria(1, "7891234567895", "CAMISETA", "CB-01", "29.9");
        Fila(1, "7891234567895", "CAMISETA", "4", "29.9");
        GravarConfig("MODELO PRINT", "26 - A4 30 por folha");
    }
    int Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar("imprimir " + argumentos).codigo;
    }
    std::string Saida(const char* nome) const { return LerTudo(pasta_ + "/" + nome); }
    TProgramaCli cli_;
};

TEST_F(CmdImprimirA4, GravaAsFolhasEmPdfSemTela) {
    const std::string pdf = pasta_ + "/folhas.pdf";
    ASSERT_EQ(Rodar("--brancos 2 --pdf '" + pdf + "'"), 0) << Saida("stderr");
    EXPECT_EQ(Saida("stdout"), "Folhas A4 do modelo 26 gravadas em " + pdf + "\n");
    EXPECT_EQ(PaginasDoPdf(pdf), 1);
    int nomes = 0, pontos = 0;
    for (const auto& p : PalavrasDoPdf(pdf)) nomes += p.texto == "CAMISETA", pontos += p.texto == ".";
    EXPECT_EQ(nomes, 4);
    EXPECT_EQ(pontos, 2);
}

TEST_F(CmdImprimirA4, PdfQueNaoCabeNoDiscoFalha) {
    EXPECT_EQ(Rodar("--pdf /dev/full"), 1);
    EXPECT_EQ(Saida("stderr"), "Não foi possível gravar o arquivo PDF /dev/full: Sem espaço no disco\n");
    EXPECT_EQ(Saida("stdout"), "");
}

// Blank cells only skip cells of the first sheet: more than one sheet holds is
// refused, naming the limit, before the sheet table is touched.
TEST_F(CmdImprimirA4, BrancasAlemDeUmaFolhaSaoRecusadas) {
    Executar("insert into ETIQUETAMRG (LINHA1, CT_LIN) values ('ANTERIOR', 0)");
    const std::string pdf = pasta_ + "/folhas.pdf";
    for (int modelo : {20, 26, 28, 32, 33, 34, 35, 39, 42, 55}) {
        SCOPED_TRACE(modelo);
        const int celulas = CriaFormularioA4(modelo).CelulasPorPagina();
        const std::string nn = std::to_string(modelo);
        for (const std::string& brancos : {std::to_string(celulas + 1), std::string("2147483647")}) {
            EXPECT_EQ(Rodar("--modelo " + nn + " --brancos " + brancos + " --pdf '" + pdf + "'"), 1);
            EXPECT_EQ(Saida("stderr"), "Etiquetas brancas: " + brancos + " passa das " + std::to_string(celulas) +
                                           " etiquetas de uma folha do modelo " + nn + "; informe de 0 a " +
                                           std::to_string(celulas) + ". Nada foi impresso.\n");
            EXPECT_FALSE(std::filesystem::exists(pdf));
            EXPECT_EQ(Texto("select list(LINHA1) from ETIQUETAMRG"), "ANTERIOR");
        }
    }
    // A whole sheet of blanks is still allowed: the labels start on the second.
    const int celulas = CriaFormularioA4(26).CelulasPorPagina();
    ASSERT_EQ(Rodar("--brancos " + std::to_string(celulas) + " --pdf '" + pdf + "'"), 0) << Saida("stderr");
    EXPECT_EQ(PaginasDoPdf(pdf), 2);
}

TEST_F(CmdImprimirA4, SemPdfNaoHaPreviaParaMostrar) {
    EXPECT_EQ(Rodar("--modelo 42"), 1);
    EXPECT_EQ(Saida("stderr"), "Visualização de relatórios indisponível neste programa\n");
}

// Without a login session Qt would complain about its runtime folder; the
// program makes its own, so standard error carries only its messages.
TEST_F(CmdImprimirA4, SemSessaoOErroNaoTrazAvisoDoQt) {
    cli_.SemSessao(pasta_);
    const std::string pdf = pasta_ + "/folhas.pdf";
    ASSERT_EQ(Rodar("--pdf '" + pdf + "'"), 0) << Saida("stderr");
    EXPECT_EQ(Saida("stderr").find("QStandardPaths"), std::string::npos) << Saida("stderr");
    EXPECT_EQ(PaginasDoPdf(pdf), 1);
}

}  // namespace
