// etiquetas-cli visualizar, run as a script runs it: a copy of the program
// beside the configEtq.ini of the test shop, with no display.
#include <filesystem>

#include "Apoio.h"
#include "CliNaFila.h"
#include "labels/Modelos.h"
#include "suporte/ProgramaCli.h"

namespace fs = std::filesystem;

namespace {

class CmdVisualizar : public CliNaFila {
protected:
    CmdVisualizar() : CliNaFila("visualizar") {}
};

TEST_F(CmdVisualizar, UmPngPorImagemEmOrdemDeImpressaoSemTocarNaPorta) {
    Mercadoria(1, "7891234567895", "CAMISETA", "CB-01", "29.9");
    Mercadoria(2, "12345", "MEIA", "M2", "5.5");
    Fila(1, "7891234567895", "A CAMISETA", "3", "29.9");
    Fila(2, "12345", "B MEIA", "1", "5.5");

    const TResultadoCli r = Rodar("--modelo 11 --png '" + pasta_ + "/png'");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "2 imagem(ns) de etiqueta do modelo 11 (PPLA, 203 dpi) gravada(s) em " + pasta_ + "/png\n");
    EXPECT_TRUE(fs::exists(pasta_ + "/png/etiqueta-0001.png"));
    EXPECT_TRUE(fs::exists(pasta_ + "/png/etiqueta-0002.png"));
    EXPECT_FALSE(fs::exists(pasta_ + "/png/etiqueta-0003.png"));
    EXPECT_FALSE(fs::exists(saida_)) << "nada deve chegar à porta";
    if (TemZbarimg()) {
        // Three of the first product fill the first row, the second one opens the next.
        EXPECT_EQ(DecodificarArquivo(pasta_ + "/png/etiqueta-0001.png"), (std::vector<std::string>{"7891234567895"}));
        EXPECT_EQ(DecodificarArquivo(pasta_ + "/png/etiqueta-0002.png"), (std::vector<std::string>{"12345"}));
    }

    // At 300 dpi the same millimetres take more dots.
    const TResultadoCli r300 = Rodar("--modelo 11 --dpi 300 --png '" + pasta_ + "/png300'");
    ASSERT_EQ(r300.codigo, 0) << r300.erro;
    const QImage a(QString::fromStdString(pasta_ + "/png/etiqueta-0001.png"));
    const QImage b(QString::fromStdString(pasta_ + "/png300/etiqueta-0001.png"));
    EXPECT_GT(b.height(), a.height());
}

TEST_F(CmdVisualizar, OpcoesErradasSaoRecusadasComMensagem) {
    struct Caso {
        const char* argumentos;
        const char* mensagem;
    };
    for (const Caso& c : {Caso{"--dpi abc --png x", "--dpi: 'abc' deve ser um número de 100 a 1200"},
                          Caso{"--modelo 60 --png x", "--modelo: '60' deve ser um número de 1 a 59"},
                          Caso{"--modelo 20 --png x", "O modelo 20 é de folha A4"},
                          Caso{"", "Informe a pasta das imagens: --png PASTA"}}) {
        const TResultadoCli r = Rodar(c.argumentos);
        EXPECT_NE(r.codigo, 0) << c.argumentos;
        EXPECT_NE(r.erro.find(c.mensagem), std::string::npos) << c.argumentos << ": " << r.erro;
    }
}

// No model, or a number past the list, in configEtq.ini: said as `imprimir`
// says it, with nothing written.
TEST_F(CmdVisualizar, SemModeloOuModeloInexistenteDizQueNadaFoiVisualizado) {
    Mercadoria(10, "789100", "CAFE PILAO", "REF-CAFE", "12.5");
    Fila(10, "789100", "CAFE PILAO", "1", "12.5");
    struct Caso {
        const char* modeloPrint;
        const char* saida;
    };
    for (const Caso& c : {Caso{"", "Nenhum modelo de etiqueta configurado: nada foi visualizado\n"},
                          Caso{"75 - outro", "Modelo 75 não existe: nada foi visualizado\n"}}) {
        GravarConfig({{"MODELO PRINT", c.modeloPrint}});
        const std::string pasta = pasta_ + "/png-" + std::to_string(std::string(c.modeloPrint).size());
        const TResultadoCli r = Rodar("--png '" + pasta + "'");
        EXPECT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, c.saida) << c.modeloPrint;
        EXPECT_TRUE(fs::is_empty(pasta)) << c.modeloPrint;
        EXPECT_FALSE(fs::exists(saida_));
    }
}

// Without a login session Qt would complain about its runtime folder; the
// program makes its own, so standard error carries only its messages.
TEST_F(CmdVisualizar, SemSessaoOErroNaoTrazAvisoDoQt) {
    Mercadoria(10, "789100", "CAFE PILAO", "REF-CAFE", "12.5");
    Fila(10, "789100", "CAFE PILAO", "1", "12.5");
    cli_.SemSessao(pasta_);
    const TResultadoCli r = Rodar("--modelo 11 --png '" + pasta_ + "/png'");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro.find("QStandardPaths"), std::string::npos) << r.erro;
    EXPECT_TRUE(fs::exists(pasta_ + "/png/etiqueta-0001.png"));
}

}  // namespace
