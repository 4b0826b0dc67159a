// etiquetas-cli imprimir, run as a script runs it: a copy of the program
// beside the configEtq.ini of the test shop, whose port is a file.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "FilaTeste.h"
#include "Ouro.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"

namespace fs = std::filesystem;

namespace {

class CmdImprimir : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        Mercadoria(1, "7891234567895", "CAMISETA BÁSICA ALGODÃO MANGA CURTA", "CB-01", "29.9");
        Fila(1, "7891234567895", "A", "4", "29.9");
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar("imprimir " + argumentos);
    }
    TResultadoCli Formato(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar("formato " + argumentos);
    }
    // Every FORMATMRG row, all columns, sorted (the table has no key).
    std::string TabelaFormato() {
        std::vector<std::string> linhas;
        for (const char* c : {"COD_MRG", "NOM_CAMPO", "TIT_CAMPO", "ORD_IMP", "TAM_IMP", "PRINT_CAMPO", "AUX_1",
                              "AUX_2", "AUX_3", "AUX_4", "AUX_5"})
            linhas.push_back(Texto(std::string("select list(coalesce(cast(") + c +
                                   " as varchar(60)), '<null>'), '|') from (select * from FormatMrg order by " +
                                   "cod_mrg, nom_campo, aux_2, aux_5, ord_imp)"));
        std::string tudo;
        for (const std::string& l : linhas) tudo += l + "\n";
        return tudo;
    }
    TProgramaCli cli_;
};

TEST_F(CmdImprimir, ImprimeAFilaComoOBotaoDaJanela) {
    const TResultadoCli r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo 11)\n");
    EXPECT_EQ(r.erro, "");
    EXPECT_TRUE(IgualAoOuro("modelo11_quantidade4.prn", Saida()));
}

TEST_F(CmdImprimir, FormatoExportadoEImportadoNoutraLoja) {
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 3, 36)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, AUX_4, AUX_5) "
        "values (13, 'CODIGO DE BARRAS', 10, 'T', 0, 10, 2, 'A', 'do varejo')");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3) "
        "values (13, 'NOME', 20, 'T', 2, 2, 1)");
    Executar("insert into FORMATMRG (COD_MRG, NOM_CAMPO, PRINT_CAMPO) values (40, 'OUTRO SISTEMA', 'T')");
    const std::string arquivo = pasta_ + "/gondola.ini";
    TResultadoCli r = Formato("exportar " + arquivo);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Desenho do modelo 09 exportado para " + arquivo + " (2 campo(s)).\n");
    const std::string exportado = LerTudo(arquivo);
    EXPECT_NE(exportado.find("[campo]\nimprime = NOME\n"), std::string::npos) << exportado;
    r = Rodar("--sem-pausa --modelo 9");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const std::string antes = Saida();
    const std::string tabela = TabelaFormato();

    // Over an existing design only with --substituir; a damaged file never.
    r = Formato("importar " + arquivo);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("use --substituir"), std::string::npos) << r.erro;
    const std::string estragado = pasta_ + "/estragado.ini";
    std::string texto = exportado;
    texto.replace(texto.find("vertical_mm = 2"), 15, "vertical_mm = 2.5");
    { std::ofstream(estragado) << texto; }
    r = Formato("importar " + estragado + " --substituir");
    EXPECT_EQ(r.codigo, 1);
    const size_t linha = std::count(texto.begin(), texto.begin() + texto.find("vertical_mm = 2.5"), '\n') + 1;
    EXPECT_NE(r.erro.find(estragado + ", Linha " + std::to_string(linha) + ": vertical_mm pede um número inteiro"),
              std::string::npos)
        << r.erro;
    EXPECT_EQ(TabelaFormato(), tabela);
    // The same design over itself: the retail system's AUX_5 stays with its row.
    r = Formato("importar " + arquivo + " --substituir");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(TabelaFormato(), tabela);

    // Into a shop with no design: the same labels come out.
    Executar("delete from FormatMrg where cod_mrg in (13, 113)");
    r = Formato("importar " + arquivo);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Desenho do modelo 09 importado de " + arquivo + " (2 campo(s)).\n");
    fs::remove(saida_);
    r = Rodar("--sem-pausa --modelo 9");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(Saida(), antes);
    r = Formato("exportar " + pasta_ + "/de_novo.ini");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(pasta_ + "/de_novo.ini"), exportado);
}

// A field name model 09 does not know imports (the shop's retail system may
// know it), with a warning on standard error; a value the table cannot hold
// does not.
TEST_F(CmdImprimir, FormatoComNomeDesconhecidoImportaComAviso) {
    const std::string arquivo = pasta_ + "/desconhecido.ini";
    { std::ofstream(arquivo) << "[etiqueta]\npor_linha = 1\npasso_mm = 40\n\n[campo]\nimprime = PRECO\ntamanho = 8\n"; }
    TResultadoCli r = Formato("importar " + arquivo);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro,
              "Aviso: Campo 1 (PRECO): o modelo 09 não conhece este nome e imprime um texto vazio no lugar. Escolha "
              "um campo da lista, CODIGO DE BARRAS ou TEXTO LIVRE.\n");
    EXPECT_EQ(Texto("select nom_campo from FormatMrg where cod_mrg=13"), "PRECO");
}

// A file that holds no design, or a path that is no plain file, never
// touches the design in the table: refused at once, FORMATMRG as it was.
TEST_F(CmdImprimir, FormatoSemDesenhoOuQueNaoEArquivoDeixaATabelaComoEstava) {
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 3, 34)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3) "
        "values (13, 'NOME', 20, 'T', 2, 2, 1)");
    const std::string tabela = TabelaFormato();
    auto arquivo = [&](const char* nome) { return pasta_ + "/" + nome; };
    fs::create_directory(arquivo("pasta.ini"));
    Gravar(arquivo("vazio.ini"), "");
    Gravar(arquivo("comentarios.ini"), "# nada\r\n");
    ASSERT_EQ(::mkfifo(arquivo("fifo.ini").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", arquivo("zero.ini"));
    const std::string campo = "[campo]\nimprime = NOME\ntamanho = 20\nvertical_mm = 2\nhorizontal_mm = 1\n";
    std::string muitos = "[etiqueta]\npor_linha = 3\npasso_mm = 34\n", cemMil = muitos;
    for (int i = 0; i < 300; ++i) muitos += campo;
    for (int i = 0; i < 100000; ++i) cemMil += campo;
    Gravar(arquivo("muitos.ini"), muitos);
    Gravar(arquivo("cem-mil.ini"), cemMil);
    Gravar(arquivo("windows-1252.ini"),
           "[etiqueta]\r\npor_linha = 1\r\n[campo]\r\nimprime = TEXTO LIVRE\r\n"
           "texto = Pre\xE7o\r\n");
    const std::string naoComum =
        ": não é um arquivo comum (é um dispositivo, um pipe ou um soquete). Nada foi "
        "gravado.\n";
    struct Caso {
        std::string arquivo, erro;
    };
    const Caso casos[] = {
        {arquivo("pasta.ini"), "Não foi possível ler " + arquivo("pasta.ini") +
                                   ": o caminho é uma pasta, não um arquivo. Nada foi gravado.\n"},
        {arquivo("vazio.ini"), "O arquivo " + arquivo("vazio.ini") + " não tem nenhum campo: nada foi gravado.\n"},
        {arquivo("comentarios.ini"),
         "O arquivo " + arquivo("comentarios.ini") + " não tem nenhum campo: nada foi gravado.\n"},
        {arquivo("fifo.ini"), "Não foi possível ler " + arquivo("fifo.ini") + naoComum},
        {arquivo("zero.ini"), "Não foi possível ler " + arquivo("zero.ini") + naoComum},
        {"/dev/zero", "Não foi possível ler /dev/zero" + naoComum},
        {arquivo("muitos.ini"), arquivo("muitos.ini") +
                                    ", Linha 1004: mais de 200 campos; uma etiqueta do modelo 09 leva no máximo 200. "
                                    "Nada foi gravado.\n"},
        {arquivo("cem-mil.ini"), "Não foi possível ler " + arquivo("cem-mil.ini") +
                                     ": arquivo grande demais para um desenho de etiqueta (" +
                                     std::to_string(cemMil.size()) + " bytes). Nada foi gravado.\n"},
        {arquivo("windows-1252.ini"), arquivo("windows-1252.ini") +
                                          ", Linha 5: tem um byte que não forma texto (byte 0xE7): o arquivo "
                                          "precisa estar em UTF-8. Nada foi gravado.\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.arquivo);
        FecharOutro();
        // Bounded in time: the old reading waited on the pipe, and read /dev/zero, for ever.
        const TProgramaCli limitado{"timeout", pasta_};
        const TResultadoCli r =
            limitado.Rodar("20 '" + cli_.programa + "' formato importar '" + c.arquivo + "' --substituir");
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
        EXPECT_EQ(TabelaFormato(), tabela);
    }

    // What a Windows editor saves in UTF-8 is stored as it is.
    Gravar(arquivo("utf8.ini"),
           "\xEF\xBB\xBF[etiqueta]\r\npor_linha = 1\r\npasso_mm = 40\r\n[campo]\r\n"
           "imprime = TEXTO LIVRE\r\ntexto = Preço Descrição\r\ntamanho = 20\r\n");
    const TResultadoCli r = Formato("importar " + arquivo("utf8.ini") + " --substituir");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(Texto("select tit_campo from FormatMrg where cod_mrg=13"), "Preço Descrição");
}

TEST_F(CmdImprimir, ModeloDaLinhaDeComandoVenceOConfigurado) {
    TResultadoCli r = Rodar("--sem-pausa --modelo 6");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo 06)\n");
    EXPECT_NE(Saida().find("Manter restriado"), std::string::npos);
}

// A model that does not exist, none at all, or a PDF asked of a thermal model
// is a configuration mistake: said on standard error, status 2, and nothing
// reaches the port.
TEST_F(CmdImprimir, ModeloErradoOuPdfDeTermicaSaemComStatus2SemEnviarNada) {
    struct Caso {
        const char* modeloPrint;
        const char* argumentos;
        const char* erro;
    };
    const Caso casos[] = {
        {"11 - PPLA 3 colunas", "--modelo 60", "Modelo 60 não existe: nada foi impresso\n"},
        {"", "--modelo 0", "Nenhum modelo de etiqueta configurado: nada foi impresso\n"},
        {"", "", "Nenhum modelo de etiqueta configurado: nada foi impresso\n"},
        {"99 - nenhum", "", "Modelo 99 não existe: nada foi impresso\n"},
        {"11 - PPLA 3 colunas", "--pdf b.pdf",
         "--pdf vale só para os modelos de folha A4; o modelo 11 é de impressora de etiquetas (etiquetas-cli "
         "visualizar --png desenha as etiquetas): nada foi impresso\n"},
        {"26 - A4", "--modelo 6 --pdf b.pdf",
         "--pdf vale só para os modelos de folha A4; o modelo 06 é de impressora de etiquetas (etiquetas-cli "
         "visualizar --png desenha as etiquetas): nada foi impresso\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.argumentos);
        GravarConfig("MODELO PRINT", c.modeloPrint);
        std::string argumentos = c.argumentos;
        if (const size_t i = argumentos.find("b.pdf"); i != std::string::npos) argumentos.insert(i, pasta_ + "/");
        const TResultadoCli r = Rodar("--sem-pausa " + argumentos);
        EXPECT_EQ(r.codigo, 2);
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
        EXPECT_FALSE(fs::exists(saida_));
        EXPECT_FALSE(fs::exists(pasta_ + "/b.pdf"));
    }
}

TEST_F(CmdImprimir, FilaSemQuantidadesNaoImprimeNadaESaiCom0) {
    Executar("update ETIQUETAREAD set QUANTIDADE = 0");
    const TResultadoCli r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "Nenhuma etiqueta a imprimir: as quantidades da fila são todas 0\n");
    EXPECT_EQ(r.erro, "");
}

// Every thermal and shelf-edge model from the command line; the languages
// take turns, so each model and each language is seen at least once.
TEST_F(CmdImprimir, CadaModeloTermicoEmCadaLinguagem) {
    const int modelos[] = {1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12, 13, 14, 15, 16, 17,
                           18, 19, 21, 22, 23, 24, 25, 27, 29, 30, 31, 36, 37, 38, 40, 41,
                           43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 56, 57, 58, 59};
    const char* const linguagens[] = {"PPLA", "PPLB", "EPL2", "ZPL"};
    int i = 0;
    for (int n : modelos) {
        const std::string linguagem = linguagens[i++ % 4];
        GravarConfig("MODELO", linguagem);
        const TResultadoCli r = Rodar("--sem-pausa --modelo " + std::to_string(n));
        const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
        EXPECT_EQ(r.codigo, 0) << n << " " << linguagem << ": " << r.erro;
        EXPECT_EQ(r.saida, "4 etiquetas enviadas (modelo " + nn + ")\n") << linguagem;
        EXPECT_FALSE(Saida().empty()) << n << " " << linguagem;
    }
}

TEST_F(CmdImprimir, FalhasSaemComStatusEMensagem) {
    const std::pair<const char*, const char*> casos[] = {
        {"--colunas58 5", "Valor inválido para --colunas58: 5 (use 3 ou 4)\n"},
        {"--parcelas 2", "--parcelas pede dois números: --parcelas P1 P2\n"},
        {"--brancos x", "Valor inválido para --brancos: x\n"},
        {"--cor azul", "Opção desconhecida: --cor\n"},
    };
    for (auto [argumentos, mensagem] : casos) {
        const TResultadoCli r = Rodar(argumentos);
        EXPECT_NE(r.codigo, 0) << argumentos;
        EXPECT_EQ(r.erro, mensagem) << argumentos;
    }
    GravarConfig("TEMPERATURA", "x");
    const TResultadoCli r = Rodar("--sem-pausa");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "'0x' não é um valor inteiro válido\n");
    EXPECT_FALSE(fs::exists(saida_));
}

}  // namespace
