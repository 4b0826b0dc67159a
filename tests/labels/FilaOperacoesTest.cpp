// The queue operations against a real database, as the window and
// etiquetas-cli run them.
#include <memory>

#include "FilaBanco.h"
#include "TabelaTeste.h"
#include "common/Excecoes.h"
#include "data/Tabela.h"
#include "labels/FilaOperacoes.h"
#include "labels/TotalFila.h"
#include "suporte/Suporte.h"

namespace {

class Fila : public TabelaTeste<FilaBanco> {
protected:
    void SetUp() override {
        FilaBanco::SetUp();
        AbrirTabela("EtiquetaRead");
        ops = std::make_unique<TFilaOperacoes>(*dtm, *tbl);
    }
    void TearDown() override {
        ops.reset();
        TabelaTeste::TearDown();
    }

    std::unique_ptr<TFilaOperacoes> ops;
};

TEST_F(Fila, AdicionarPorBarrasMercadoriaOuGrade) {
    struct Caso {
        const char* barras;
        bool grades;
        TResultadoAdicao resultado;
        const char* fila;
    };
    const Caso casos[] = {
        {"789100", false, TResultadoAdicao::Incluida, "10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000"},
        // also a variant's barcode: the goods wins
        {"789100", true, TResultadoAdicao::Incluida, "10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000"},
        // variant price 0: the goods' price
        {"555001", true, TResultadoAdicao::Incluida, "30|555001|CAMISA - AZUL 42|CAMISA|2.000|50.000|AZUL 42|1.000"},
        {"555002", true, TResultadoAdicao::Incluida, "30|555002|CAMISA - VERDE|CAMISA|1.250|45.900|VERDE|1.000"},
        // INSERTFILE writes commas as points and quotes as blanks
        {"789400", false, TResultadoAdicao::Incluida, "40|789400|O NEIL. PRETO|O NEIL. PRETO|1.000|9.990||1.000"},
        {"555001", false, TResultadoAdicao::NaoLocalizada, ""},
        {"NADA", true, TResultadoAdicao::NaoLocalizada, ""},
        {"x' or '1'='1", true, TResultadoAdicao::NaoLocalizada, ""},
        {"", true, TResultadoAdicao::NaoLocalizada, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.barras);
        ExecutarAParte({"delete from etiquetaread"});
        ops->ProcessarGrades = c.grades;
        EXPECT_EQ(ops->AdicionarPorBarras(c.barras), c.resultado);
        EXPECT_EQ(FilaGravada(), c.fila);  // committed: another workstation sees it
    }
    EXPECT_TRUE(iu_.Mensagens().empty());
}

TEST_F(Fila, NomeDaGradeCortadoEm70ESoNomeInteiro) {
    const std::string nome50(50, 'N');
    ExecutarAParte({"insert into mercadorias (cod_red, cod_bar, nom_mer, qtd_est, vlr_ven) values (50, '1', '" +
                        nome50 + "', 0, 1)",
                    "insert into grades_produtos_p (cod_mer, cod_bar, nome_gra, qtd_gra, vlr_grade) values "
                    "(50, '2', 'AZUL MARINHO 42 COM LISTRAS', 0, 0)"});
    ops->ProcessarGrades = true;
    ASSERT_EQ(ops->AdicionarPorBarras("2"), TResultadoAdicao::Incluida);
    EXPECT_EQ(TextoAParte("select nome from etiquetaread"), nome50 + " - AZUL MARINHO 42 C");
    EXPECT_EQ(TextoAParte("select so_nome from etiquetaread"), nome50);
    EXPECT_EQ(TextoAParte("select nro_lote from etiquetaread"), "AZUL MARINHO 42 COM ");
}

TEST_F(Fila, GradeSemMercadoriaFalhaSemIncluir) {
    ops->ProcessarGrades = true;
    EXPECT_EQ(MensagemDe<EDatabaseError>([&] { ops->AdicionarPorBarras("555099"); }),
              "A grade de código de barras 555099 pertence à mercadoria 99, que não existe mais no cadastro.");
    EXPECT_EQ(dtm->dtmCommit(), true);
    EXPECT_EQ(FilaGravada(), "");
}

TEST_F(Fila, AdicionarPorReferenciaSemGradeEDuasVezesDuasLinhas) {
    EXPECT_EQ(ops->AdicionarPorReferencia("REF-CAFE"), TResultadoAdicao::Incluida);
    EXPECT_EQ(ops->AdicionarPorReferencia("REF-CAFE"), TResultadoAdicao::Incluida);
    EXPECT_EQ(ops->AdicionarPorReferencia("REF-NADA"), TResultadoAdicao::NaoLocalizada);
    EXPECT_EQ(ops->AdicionarPorReferencia("789100"), TResultadoAdicao::NaoLocalizada);  // a barcode is no reference
    EXPECT_EQ(
        FilaGravada(),
        "10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000;10|789100|CAFE PILAO|CAFE PILAO|3.500|12.500||1.000");
}

TEST_F(Fila, AdicionarComAGradeAbertaRelePrimeiraLinhaSemPerderContagemDigitada) {
    Enfileirar({"20, '789200', 'ARROZ', 'ARROZ', -2, 20, 0", "30, '789300', 'CAMISA', 'CAMISA', 0, 50, 0"});
    tbl->SetOrdenacao("NOME");
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("NOME", "CAMISA"));
    tbl->Edit();
    tbl->SetCampo("QUANTIDADE", "7");  // typed in the grid, not posted
    ASSERT_EQ(ops->AdicionarPorBarras("789100"), TResultadoAdicao::Incluida);
    EXPECT_TRUE(tbl->Active());
    EXPECT_EQ(tbl->RecNo(), 1u);
    EXPECT_EQ(Coluna("NOME"), "ARROZ;CAFE PILAO;CAMISA;");
    EXPECT_EQ(Coluna("QUANTIDADE"), "0.000;1.000;7.000;");
    EXPECT_EQ(TextoAParte("select quantidade from etiquetaread where codigo = 30"), "7.000");
}

TEST_F(Fila, ImportarQuantidadeDoEstoqueSoComEstoquePositivo) {
    Enfileirar({"10, '789100', 'CAFE', 'CAFE', 3.5, 1, 0", "20, '789200', 'ARROZ', 'ARROZ', -2, 1, 4",
                "30, '789300', 'CAMISA', 'CAMISA', 0, 1, 9", "40, '789400', 'FEIJAO', 'FEIJAO', 0.001, 1, 2"});
    tbl->SetOrdenacao("CODIGO");
    const TImportacaoEstoque importacao = ops->ImportarQuantidadeEstoque();
    EXPECT_EQ(importacao.linhas, 2u);
    EXPECT_EQ(importacao.repetidas, 0u);
    EXPECT_EQ(TextoImportacaoEstoque(importacao), "Quantidade do estoque importada em 2 linha(s).");
    EXPECT_TRUE(tbl->Eof());
    EXPECT_EQ(Coluna("QUANTIDADE"), "3.500;4.000;9.000;0.001;");
    // in the open transaction only, until the next commit
    EXPECT_EQ(TextoAParte("select quantidade from etiquetaread where codigo = 10"), "0.000");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select quantidade from etiquetaread where codigo = 10"), "3.500");
}

// The same goods scanned twice is two rows, but its stock is its labels
// once: the first row (in the table's order) takes it, the others get 0. A
// variant is an item of its own, and rows without stock keep their count.
TEST_F(Fila, ImportarEstoqueDaMercadoriaRepetidaSoNaPrimeiraLinha) {
    Enfileirar({"10, '789100', 'CAFE', 'CAFE', 334, 1, 1", "10, '789100', 'CAFE', 'CAFE', 334, 1, 1",
                "30, '555001', 'CAMISA - AZUL', 'CAMISA', 2, 1, 0", "30, '555002', 'CAMISA - VERDE', 'CAMISA', 5, 1, 0",
                "30, '555002', 'CAMISA - VERDE', 'CAMISA', 5, 1, 3", "20, '789200', 'ARROZ', 'ARROZ', -2, 1, 4",
                "20, '789200', 'ARROZ', 'ARROZ', -2, 1, 6"});
    tbl->SetOrdenacao("BARRAS");
    const TImportacaoEstoque importacao = ops->ImportarQuantidadeEstoque();
    EXPECT_EQ(importacao.linhas, 3u);
    EXPECT_EQ(importacao.repetidas, 2u);
    EXPECT_EQ(TextoImportacaoEstoque(importacao),
              "Quantidade do estoque importada em 3 linha(s). 2 linha(s) repetida(s) da mesma mercadoria ficaram "
              "com 0.");
    EXPECT_EQ(Coluna("QUANTIDADE"), "2.000;5.000;0.000;334.000;0.000;4.000;6.000;");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select sum(quantidade) from etiquetaread where codigo = 10"), "334.000");
    EXPECT_EQ(TextoAParte("select sum(quantidade) from etiquetaread where barras = '555002'"), "5.000");
}

// The add tells which row it wrote, also the second row of a code scanned twice.
TEST_F(Fila, AdicaoDizQualLinhaGravou) {
    tbl->SetOrdenacao("NOME");
    tbl->Open();
    ASSERT_EQ(ops->AdicionarPorBarras("789100"), TResultadoAdicao::Incluida);
    const std::string primeira = ops->UltimaIncluida();
    ASSERT_FALSE(primeira.empty());
    ASSERT_EQ(ops->AdicionarPorBarras("789200"), TResultadoAdicao::Incluida);
    ASSERT_EQ(ops->AdicionarPorBarras("789100"), TResultadoAdicao::Incluida);
    const std::string segunda = ops->UltimaIncluida();
    EXPECT_NE(segunda, primeira);
    ASSERT_TRUE(tbl->IrParaChave(segunda));
    EXPECT_EQ(tbl->FieldByName("NOME").AsString(), "CAFE PILAO");
    ASSERT_TRUE(tbl->IrParaChave(primeira));
    EXPECT_EQ(tbl->FieldByName("NOME").AsString(), "CAFE PILAO");
    const size_t rowPrimeira = tbl->RecNo();
    ASSERT_TRUE(tbl->IrParaChave(segunda));
    EXPECT_NE(tbl->RecNo(), rowPrimeira);
    // A variant by its barcode, and nothing when nothing was added.
    ops->ProcessarGrades = true;
    ASSERT_EQ(ops->AdicionarPorBarras("555002"), TResultadoAdicao::Incluida);
    ASSERT_TRUE(tbl->IrParaChave(ops->UltimaIncluida()));
    EXPECT_EQ(tbl->FieldByName("NOME").AsString(), "CAMISA - VERDE");
    ASSERT_EQ(ops->AdicionarPorBarras("NADA"), TResultadoAdicao::NaoLocalizada);
    EXPECT_EQ(ops->UltimaIncluida(), "");
    EXPECT_FALSE(tbl->IrParaChave("00000000-0000-0000-0000-000000000000"));
}

// The queue's rows and the labels a print of it sends: counts above 0, each
// rounded as the walk rounds it (halves to even), posted edits included.
TEST_F(Fila, TotalDaFilaContaLinhasEEtiquetas) {
    EXPECT_EQ(ContarFila(*dtm).linhas, 0);
    Enfileirar({"10, '1', 'A', 'A', 0, 1, 3", "20, '2', 'B', 'B', 0, 1, 2.5", "30, '3', 'C', 'C', 0, 1, 3.5",
                "40, '4', 'D', 'D', 0, 1, 0.4", "50, '5', 'E', 'E', 0, 1, -7", "60, '6', 'F', 'F', 0, 1, null",
                "70, '7', 'G', 'G', 0, 1, 1000.6"});
    TTotalFila t = ContarFila(*dtm);
    EXPECT_EQ(t.linhas, 7);
    EXPECT_EQ(t.etiquetas, 3 + 2 + 4 + 0 + 1001);
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    tbl->Edit();
    tbl->SetCampo("QUANTIDADE", "10");
    tbl->Post();
    EXPECT_EQ(ContarFila(*dtm).etiquetas, 10 + 2 + 4 + 0 + 1001);
}

TEST_F(Fila, DefinirQuantidadeEmTodasAsLinhasDoCodigo) {
    Enfileirar({"10, '789100', 'CAFE', 'CAFE', 0, 1, 0", "10, '555', 'CAFE - G', 'CAFE', 0, 1, 2",
                "20, '789200', 'ARROZ', 'ARROZ', 0, 1, 4"});
    EXPECT_EQ(ops->DefinirQuantidade(10, Decimal::DeTexto("2.5")), 2u);
    EXPECT_EQ(ops->DefinirQuantidade(77, Decimal(1)), 0u);
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(TextoAParte("select list(quantidade, ';') from (select quantidade from etiquetaread order by barras)"),
              "2.500;2.500;4.000");
}

TEST_F(Fila, TrocarAOrdemGuardaContagemDigitadaEFicaNaLinha) {
    Enfileirar({"30, '111', 'CAMISA', 'CAMISA', 0, 1, 0", "10, '333', 'ARROZ', 'ARROZ', 0, 1, 0",
                "20, '222', 'BOLACHA', 'BOLACHA', 0, 1, 0"});
    tbl->SetOrdenacao("NOME");
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("NOME", "BOLACHA"));
    tbl->Edit();
    tbl->SetCampo("QUANTIDADE", "5");
    struct Caso {
        TOrdemFila ordem;
        const char* nomes;
        size_t recno;
    };
    const Caso casos[] = {{TOrdemFila::Codigo, "ARROZ;BOLACHA;CAMISA;", 2},
                          {TOrdemFila::Barras, "CAMISA;BOLACHA;ARROZ;", 2},
                          {TOrdemFila::Nome, "ARROZ;BOLACHA;CAMISA;", 2}};
    for (const auto& c : casos) {
        SCOPED_TRACE(ColunaDaOrdem(c.ordem));
        ops->Ordenar(c.ordem);
        EXPECT_EQ(tbl->FieldByName("NOME").AsString(), "BOLACHA");
        EXPECT_EQ(tbl->RecNo(), c.recno);
        EXPECT_EQ(Coluna("NOME"), c.nomes);
        ASSERT_TRUE(tbl->Locate("NOME", "BOLACHA"));
    }
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "5.000");
}

TEST_F(Fila, ProcuraIncrementalPeloComecoSemCaixa) {
    Enfileirar({"30, '789300', 'camisa', 'camisa', 0, 1, 0", "12, '111', 'CAFE', 'CAFE', 0, 1, 0",
                "120, '789200', 'ARROZ', 'ARROZ', 0, 1, 0"});
    tbl->SetOrdenacao("NOME");
    tbl->Open();
    struct Caso {
        TOrdemFila coluna;
        const char* texto;
        bool acha;
        const char* nome;
    };
    const Caso casos[] = {
        {TOrdemFila::Nome, "CA", true, "CAFE"},  // first in NOME order
        {TOrdemFila::Nome, "cam", true, "camisa"},
        {TOrdemFila::Nome, "", true, "ARROZ"},     // empty text: the first row
        {TOrdemFila::Nome, "ZZ", false, "ARROZ"},  // no move
        {TOrdemFila::Barras, "7893", true, "camisa"},
        {TOrdemFila::Codigo, "12", true, "ARROZ"},  // 120 comes before 12 in NOME order
        {TOrdemFila::Codigo, "9", false, "ARROZ"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(ops->Procurar(c.coluna, c.texto), c.acha);
        EXPECT_EQ(tbl->FieldByName("NOME").AsString(), c.nome);
    }
}

}  // namespace
