// The options of etiquetas-cli lote read into the goods window's options.
#include <gtest/gtest.h>

#include "common/Excecoes.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "suporte/Suporte.h"

namespace {

TPedidoLote Ler(std::vector<std::string> a, const std::string& lista = "") {
    return LerPedidoLote(a, [&](const std::string&) { return lista; });
}

}  // namespace

TEST(LinhaComandoLote, SemOpcoesEhOPadraoDaJanela) {
    const TPedidoLote p = Ler({});
    EXPECT_EQ(SQLMercadorias(p.Opcoes), SQLMercadorias(TOpcoesMercadorias{}));
    EXPECT_FALSE(p.ProcessarGrades);
    EXPECT_EQ(p.ParamModelo, "0");
    EXPECT_FALSE(p.SoSQL);
}

TEST(LinhaComandoLote, CadaOpcaoMarcaOSeuCriterio) {
    struct Caso {
        std::vector<std::string> args;
        size_t slot;
        const char* fragmento;
    };
    const Caso casos[] = {
        {{"--ordem", "barras"}, 42, "Order by M.COD_BAR"},
        {{"--ordem", "nome"}, 42, "Order by M.NOM_MER"},
        {{"--codigo", "-1", "50"}, 9, "AND (M.cod_red>=-1)AND (M.cod_red<=50)"},
        {{"--barras", "--x"}, 10, "AND (M.COD_BAR Like '--x%')"},
        {{"--diferente", "0"}, 11, "AND (M.COD_BAR <> '0')"},
        {{"--lista", "arq"}, 34, "and ((cod_bar='1') or (cod_bar='2'))"},
        {{"--nome", "cal"}, 12, "AND (upper(M.NOM_MER) Like 'CAL%')"},
        {{"--departamento", "5"}, 13, "AND (M.Dep_MER =5 )"},
        {{"--fornecedor", "7"}, 14, "AND (M.COD_FOR =7 )"},
        {{"--referencia", "r"}, 15, "AND (upper(M.Ref_Mer) Like 'R%')"},
        {{"--localizacao", "A1"}, 16, "And (M.Loc_Mer Like 'A1%')"},
        {{"--alteracao", "01/02/2025", "03/04/2025"},
         32,
         "AND (M.Data_Alt>='02/01/2025') AND (M.Data_Alt<='04/03/2025')"},
        {{"--estoque", "negativo"}, 20, "and (M.Qtd_Est<0)"},
        {{"--estoque", "positivo"}, 26, "and (M.Qtd_Est>0)"},
        {{"--estoque", "zero"}, 27, "and (M.Qtd_Est=0)"},
        {{"--estoque2", "positivo"}, 21, "and (M.Qtd_Est_2>0)"},
        {{"--estoque2", "zero"}, 22, "and (M.Qtd_Est_2=0)"},
        {{"--estoque2", "negativo"}, 23, "and (M.Qtd_Est_2<0)"},
        {{"--minimo"}, 33, "AND (M.qtd_Est <= M.Qtd_Min)"},
        {{"--maximo"}, 38, "AND (M.qtd_Est >= M.Qtd_Est_max)"},
        {{"--produto-estoque", "marcados"}, 17, "AND (M.Pro_Est ='T')"},
        {{"--produto-estoque", "desmarcados"}, 17, "AND (M.Pro_Est ='F')"},
        {{"--produto-estoque", "nenhum"}, 17, "AND (M.Pro_Est ='F')"},
        {{"--produtos", "inativos"}, 35, "AND (M.Pro_ATIVO ='F')"},
        {{"--produtos", "todos"}, 35, ""},
        {{"--grade", "sim"}, 37, "AND (M.TEM_GRADE ='T')"},
        {{"--grade", "nao"}, 37, "AND (M.TEM_GRADE ='F')"},
        {{"--pis", "2"}, 31, "AND (M.COD_TRI_PC=2 )"},
        {{"--icms", "3"}, 36, "AND (M.COD_TRI_ICM=3 )"},
    };
    for (const auto& c : casos) {
        const TPedidoLote p = Ler(c.args, "1\n2\n");
        EXPECT_EQ(SQLMercadorias(p.Opcoes)[c.slot], c.fragmento) << c.args[0];
    }
}

TEST(LinhaComandoLote, VerificacoesDeLinhaGradesModeloESql) {
    const TPedidoLote p = Ler({"--barras-entre",
                               "1",
                               "9",
                               "--codpers-entre",
                               "2",
                               "8",
                               "--departamento-nome",
                               "CAL",
                               "--setor",
                               "LOJA",
                               "--nota",
                               "123",
                               "--compra",
                               "01/01/2025",
                               "02/01/2025",
                               "--gerados",
                               "--grades",
                               "--modelo",
                               "-12x",
                               "--sql",
                               "--estoque",
                               "zero",
                               "--estoque",
                               "positivo"});
    const TOpcoesMercadorias& o = p.Opcoes;
    EXPECT_TRUE(o.chkNumero && o.edtCodBar == "1" && o.edtBar2 == "9");
    EXPECT_TRUE(o.chkCodPers && o.edtCodPers1 == "2" && o.edtCodPers2 == "8");
    EXPECT_TRUE(o.chkDepartComposta && o.edtNomeDepart == "CAL");
    EXPECT_TRUE(o.chksetor && o.edtSetor == std::optional<std::string>("LOJA"));
    EXPECT_TRUE(o.chkNNota && o.edtNNota == "123");
    EXPECT_TRUE(o.chkDataCompra && o.edtDtC1 == "01/01/2025" && o.edtDtC2 == "02/01/2025");
    EXPECT_TRUE(o.chkCodGer);
    EXPECT_TRUE(o.chkEstoque && o.chkEstoque0);
    EXPECT_TRUE(p.ProcessarGrades);
    EXPECT_EQ(p.ParamModelo, "012");
    EXPECT_TRUE(p.SoSQL);
}

TEST(LinhaComandoLote, RecusaOQueNaoEntende) {
    struct Caso {
        std::vector<std::string> args;
        const char* trecho;
    };
    const Caso casos[] = {
        {{"--cor", "azul"}, "Opção desconhecida: --cor"},
        {{"--codigo", "1"}, "--codigo precisa de um valor"},
        {{"--ordem", "preco"}, "Valor inválido para --ordem: 'preco'"},
        {{"--estoque", "muito"}, "Valor inválido para --estoque"},
        {{"--produtos", "alguns"}, "Valor inválido para --produtos"},
        {{"--departamento", "5 or 1=1"}, "--departamento espera o código"},
        {{"--pis", ""}, "--pis espera o código"},
        {{"avulso"}, "Opção desconhecida: avulso"},
    };
    for (const auto& c : casos) {
        const std::string m = MensagemDe<Exception>([&] { Ler(c.args); });
        EXPECT_NE(m.find(c.trecho), std::string::npos) << m;
    }
}

// README: a list code that is not a number is refused, naming its line. What
// editors add around the codes (a byte-order mark, CR LF or CR line ends,
// blank lines, blanks around a code) is not a code.
TEST(LinhaComandoLote, ListaSoDeNumerosNomeandoALinhaRecusada) {
    struct Aceita {
        const char* descricao;
        std::string lista;
    };
    const Aceita aceitas[] = {
        {"LF", "789\n790\n"},
        {"CR LF e marca de ordem",
         "\xEF\xBB\xBF"
         "789\r\n\r\n790\r\n"},
        {"CR sozinho", "789\r790"},
        {"brancos e tab em volta", "  789\t\n\n 790 "},
    };
    for (const Aceita& c : aceitas)
        EXPECT_EQ(SQLMercadorias(Ler({"--lista", "arq"}, c.lista).Opcoes)[34],
                  "and ((cod_bar='789') or (cod_bar='790'))")
            << c.descricao;

    struct Recusa {
        std::string lista, erro;
    };
    const std::string fim = ", que não é um número (um código de barras por linha, só algarismos): confira o arquivo.";
    const Recusa recusas[] = {
        {"789\nabc\n", "A linha 2 da listagem de códigos de barras tem \"abc\"" + fim},
        {"7898982977679;7892857182564\n",
         "A linha 1 da listagem de códigos de barras tem "
         "\"7898982977679;7892857182564\"" +
             fim},
        {"\r\n\r\n789 790\r\n", "A linha 3 da listagem de códigos de barras tem \"789 790\"" + fim},
        {"789\r-790\r", "A linha 2 da listagem de códigos de barras tem \"-790\"" + fim},
        {"7,89\n", "A linha 1 da listagem de códigos de barras tem \"7,89\"" + fim},
        {"789\n\xEF\xBB\xBF"
         "790\n",
         "A linha 2 da listagem de códigos de barras tem o caractere \"\xEF\xBB\xBF\" (U+FEFF), que o banco de dados "
         "da loja não guarda: confira o arquivo."},
        {"789\nPre\xE7o\n",
         "A linha 2 da listagem de códigos de barras tem um byte que não forma texto (byte 0xE7): confira o "
         "arquivo."},
        // A line of 10 MB without a line end is named by its size, not echoed.
        {"789\n" + std::string(10000000, 'a'),
         "A linha 2 da listagem de códigos de barras tem 10000000 caracteres; o campo guarda no máximo 30: confira "
         "o arquivo."},
    };
    for (const Recusa& c : recusas) {
        try {
            Ler({"--lista", "arq"}, c.lista);
            ADD_FAILURE() << "aceita: " << c.lista.substr(0, 40);
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.erro);
        }
    }
}
