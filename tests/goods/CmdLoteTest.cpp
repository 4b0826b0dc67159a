// etiquetas-cli lote, run as a script runs it, beside its own configEtq.ini.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "../data/modulos/BancoTeste.h"
#include "common/UFuncoes.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace {

class CmdLote : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo) values (1, '789', 'CAFE', 'T')");
        Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo) values (2, '790', 'CHA', 'T')");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra, cod_bar) values (2, 'P', '7901')");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra, cod_bar) values (2, 'M', '7902')");
        Executar("insert into etiquetaread (codigo, nome) values (999, 'ANTES')");
    }
    TResultadoCli Rodar(const std::string& argumentos, const std::string& entrada = "") {
        // The embedded engine lets one process at a time hold the file.
        FecharOutro();
        return cli_.Rodar("lote " + argumentos, entrada);
    }
    TProgramaCli cli_;
};

}  // namespace

TEST_F(CmdLote, SqlMostraAs58LinhasSemTocarNoBanco) {
    const TResultadoCli r = Rodar("--nome \"D'AGUA\" --ordem nome --produtos todos --sql");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    TOpcoesMercadorias o;
    o.chkNome = true;
    o.edtNome = "D'AGUA";
    o.chkProAtivos = false;
    o.Ordem = TOrdemListagem::NomeMer;
    std::string esperado;
    for (const std::string& l : SQLMercadorias(o)) esperado += l + "\n";
    EXPECT_EQ(r.saida, esperado);
    EXPECT_EQ(Contar("etiquetaread"), 1);
}

TEST_F(CmdLote, MontaOLoteEDizQuantasLinhasEEtiquetasAFilaTem) {
    TResultadoCli r = Rodar("--grades --lista -", "790\n\n 789 \n");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "3 linhas na fila, 0 etiquetas\n");  // a batch's rows start without labels
    EXPECT_EQ(Texto("select list(barras, ',') from (select barras from etiquetaread order by barras)"),
              "789,7901,7902");

    r = Rodar("--codigo 2 2");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "1 linha na fila, 0 etiquetas\n");
    EXPECT_EQ(Texto("select list(barras) from etiquetaread"), "790");
}

TEST_F(CmdLote, OpcaoRecusadaSaiComErroEAFilaFicaComoEstava) {
    const std::string vazia = pasta_ + "/vazia.txt";
    Gravar(vazia, "  \n\n");
    const std::string casos[] = {"--codigo 1 \"1 or 1=1\"",        "--nota \"5;\"", "--lista '" + vazia + "'",
                                 "--compra 01/01/2025 31/02/2025", "--ordem preco", "--lista /nao/existe"};
    for (const std::string& args : casos) {
        const TResultadoCli r = Rodar(args);
        EXPECT_NE(r.codigo, 0) << args;
        EXPECT_FALSE(r.erro.empty()) << args;
        EXPECT_EQ(r.erro.find("conectar"), std::string::npos) << r.erro;  // refused before connecting
        EXPECT_EQ(r.saida, "") << args;
        EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "999") << args;
    }
}

// The messages a script sees for what the database would refuse in English or
// match as something else; the queue stays as it was.
TEST_F(CmdLote, RecusasEmPortuguesAntesDoBanco) {
    const std::string binario = pasta_ + "/binario.lst";
    Gravar(binario, "789\n" + TodosOsBytes());
    const std::string longa = std::string(100000, 'A');
    const std::string letras = pasta_ + "/letras.lst", juntos = pasta_ + "/juntos.lst";
    Gravar(letras, "abc\n");
    Gravar(juntos, "789\n7898982977679;7892857182564\n");
    struct Caso {
        std::string argumentos, erro;
    };
    const Caso casos[] = {
        {"--lista '" + pasta_ + "'", "A listagem de códigos de barras " + pasta_ + " é uma pasta, não um arquivo.\n"},
        {"--lista '" + binario + "'",
         // The CR among the bytes ends a line, as in a file from an old Mac editor.
         "A linha 4 da listagem de códigos de barras tem um caractere de controle (byte 0x7F): confira o arquivo.\n"},
        {"--codigo 1 99999999999999999999999999",
         "O campo \"Código reduzido (até)\" aceita números de -2147483648 a 2147483647; "
         "'99999999999999999999999999' está fora da faixa.\n"},
        {"--nota 99999999999999999999999999",
         "O campo \"Numero da nota de compra\" aceita números de -2147483648 a 2147483647; "
         "'99999999999999999999999999' está fora da faixa.\n"},
        {"--alteracao 01/01/0000 01/03/2026",
         "A opção \"Data da alteracão de preços\" está marcada, mas '01/01/0000' está fora das datas que o banco de "
         "dados guarda (01/01/0001 a 31/12/9999).\n"},
        {"--nome " + longa, "O campo \"Nome do produto\" tem 100000 caracteres; o campo guarda no máximo 50.\n"},
        {"--lista '" + letras + "'",
         "A linha 1 da listagem de códigos de barras tem \"abc\", que não é um número (um código de barras por "
         "linha, só algarismos): confira o arquivo.\n"},
        {"--lista '" + juntos + "'",
         "A linha 2 da listagem de códigos de barras tem \"7898982977679;7892857182564\", que não é um número (um "
         "código de barras por linha, só algarismos): confira o arquivo.\n"},
        {"--nome \xF0\x9F\x98\x80",
         "O campo \"Nome do produto\" tem o caractere \"\xF0\x9F\x98\x80\" (U+1F600), que o banco de dados da loja "
         "não guarda.\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.argumentos.substr(0, 80));
        const TResultadoCli r = Rodar(c.argumentos);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
        EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "999");
    }
}

// A list as a Windows editor saves it selects its goods; what is not a plain
// file, or would not end, is refused at once and the queue stays as it was.
TEST_F(CmdLote, ListaDoWindowsAceitaEOQueNaoEArquivoRecusado) {
    const std::string windows = pasta_ + "/windows.lst";
    Gravar(windows,
           "\xEF\xBB\xBF"
           "789\r\n\r\n790\r\n");
    TResultadoCli r = Rodar("--lista '" + windows + "'");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "2 linhas na fila, 0 etiquetas\n");
    EXPECT_EQ(Texto("select list(barras, ',') from (select barras from etiquetaread order by barras)"), "789,790");

    Executar("delete from etiquetaread");
    Executar("insert into etiquetaread (codigo, nome) values (999, 'ANTES')");
    const std::string fifo = pasta_ + "/fila.lst", zero = pasta_ + "/zero.lst";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string naoComum = ": não é um arquivo comum (é um dispositivo, um pipe ou um soquete).\n";
    struct Caso {
        std::string argumentos, entrada, erro;
    };
    const Caso casos[] = {
        {"--lista '" + fifo + "'", "", "Não foi possível ler a listagem de códigos de barras " + fifo + naoComum},
        {"--lista '" + zero + "'", "", "Não foi possível ler a listagem de códigos de barras " + zero + naoComum},
        {"--lista /dev/zero", "", "Não foi possível ler a listagem de códigos de barras /dev/zero" + naoComum},
        {"--lista -", std::string(kTamanhoMaximoLista + 1, '7'),
         "Não foi possível ler a listagem de códigos de barras da entrada padrão: arquivo grande demais para uma "
         "listagem de códigos.\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.argumentos);
        FecharOutro();
        // Bounded in time: the old reading waited on the pipe for ever.
        const TProgramaCli limitado{"timeout", pasta_};
        r = limitado.Rodar("20 '" + cli_.programa + "' lote " + c.argumentos, c.entrada);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
        EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "999");
    }
}

// A goods name holding a NUL byte no longer breaks every batch that selects
// it: the NUL is queued as a blank.
TEST_F(CmdLote, NomeComNulNoBancoViraBrancoNaFila) {
    Executar("update mercadorias set nom_mer = 'CA' || ascii_char(0) || 'FE' where cod_red = 1");
    const TResultadoCli r = Rodar("--codigo 1 2");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "2 linhas na fila, 0 etiquetas\n");
    EXPECT_EQ(Texto("select list(nome, '|') from (select nome from etiquetaread order by codigo)"), "CA FE|CHA");
}
