// The table object over the keyless queue: edits and deletions reach the row
// the operator is on, even among identical rows.
#include <functional>
#include <memory>

#include "BancoTeste.h"
#include "TabelaTeste.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

namespace {

class Tabela : public TabelaTeste<BancoTeste> {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        // two identical rows, as two adds of the same barcode leave them
        for (const char* v : {"(1, '789', 'CAFE', 0, 2.5)", "(1, '789', 'CAFE', 0, 2.5)", "(2, '111', 'ARROZ', 4, -1)",
                              "(3, '222', 'feijao', 0, 0)"})
            Executar(std::string("insert into etiquetaread (codigo, barras, nome, quantidade, estoque) values ") + v);
        AbrirTabela("ETIQUETAREAD");
    }
};

TEST_F(Tabela, AbreTodasAsLinhasComTiposDasColunas) {
    tbl->Open();
    EXPECT_EQ(tbl->RecordCount(), 4u);
    EXPECT_EQ(tbl->Campos().size(), 9u);
    ASSERT_TRUE(tbl->Locate("NOME", "ARROZ"));
    EXPECT_EQ(tbl->FieldByName("quantidade").AsDecimal(), Decimal::DeTexto("4"));
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "4.000");
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 2);
    EXPECT_TRUE(tbl->FieldByName("VAL_LOTE").IsNull());
    EXPECT_THROW(tbl->FieldByName("NAO_HA"), EDatabaseError);
}

TEST_F(Tabela, OrdenacaoPorUmaOuVariasColunasEFiltro) {
    tbl->SetOrdenacao("NOME");
    tbl->Open();
    EXPECT_EQ(Coluna("CODIGO"), "2;1;1;3;");
    tbl->SetOrdenacao("ESTOQUE;CODIGO");
    EXPECT_EQ(Coluna("CODIGO"), "2;3;1;1;");
    tbl->SetFiltro("quantidade>0");
    EXPECT_EQ(Coluna("CODIGO"), "2;3;1;1;");  // not in force until Filtrado
    tbl->SetFiltrado(true);
    EXPECT_EQ(Coluna("CODIGO"), "2;");
    tbl->SetFiltrado(false);
    EXPECT_EQ(tbl->RecordCount(), 4u);
    tbl->SetOrdenacao("NOME;NAO_HA");
    EXPECT_THROW(tbl->First(), EDatabaseError);
}

TEST_F(Tabela, TrocarAOrdemMantemALinhaAtual) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("NOME", "ARROZ"));
    tbl->SetOrdenacao("NOME");
    EXPECT_EQ(tbl->FieldByName("NOME").AsString(), "ARROZ");
    EXPECT_EQ(tbl->RecNo(), 1u);
}

TEST_F(Tabela, LocateExatoNumericoEParcialSemCaixa) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    struct Caso {
        const char* coluna;
        const char* valor;
        bool semCaixa, parcial, acha;
        const char* nome;
    };
    const Caso casos[] = {
        {"CODIGO", "3", false, false, true, "feijao"}, {"CODIGO", "3.0", false, false, true, "feijao"},
        {"CODIGO", "x", false, false, false, ""},      {"NOME", "FEI", true, true, true, "feijao"},
        {"NOME", "FEI", false, true, false, ""},       {"NOME", "arroz", true, false, true, "ARROZ"},
        {"BARRAS", "78", false, true, true, "CAFE"},
    };
    for (const auto& c : casos) {
        tbl->First();
        EXPECT_EQ(tbl->Locate(c.coluna, c.valor, c.semCaixa, c.parcial), c.acha) << c.coluna << "=" << c.valor;
        if (c.acha) {
            EXPECT_EQ(tbl->FieldByName("NOME").AsString(), c.nome) << c.valor;
        }
    }
}

TEST_F(Tabela, EdicaoDeUmaDeDuasLinhasIguaisAlteraSoEla) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    tbl->SetRecNo(2);
    tbl->Edit();
    tbl->SetCampo("QUANTIDADE", "3,5");
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "3.500");
    tbl->Post();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select list(quantidade, ';') from (select quantidade from etiquetaread where codigo=1 order by "
                    "quantidade)"),
              "0.000;3.500");
    EXPECT_EQ(tbl->RecNo(), 2u);
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "3.500");

    // the row keys outlive the commit (retaining keeps the transaction)
    tbl->SetCampo("QUANTIDADE", "1");
    tbl->Post();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread", "codigo=1 and quantidade=1"), 1);
}

TEST_F(Tabela, MudarDeLinhaGravaAEdicaoPendenteECommitComTabelaTambem) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    tbl->SetCampo("QUANTIDADE", TValor::Dec(Decimal::DeTexto("7")));
    tbl->Next();
    tbl->SetCampo("QUANTIDADE", "8");
    ASSERT_TRUE(dtm->dtmCommit(tbl.get()));
    EXPECT_EQ(tbl->Estado(), TEstadoTabela::Navegacao);
    EXPECT_EQ(Contar("etiquetaread", "codigo=1 and quantidade in (7, 8)"), 2);
}

TEST_F(Tabela, ValorQueNaoConverteFalhaSemTocarNaLinha) {
    tbl->Open();
    EXPECT_THROW(tbl->SetCampo("QUANTIDADE", "dois"), EConvertError);
    tbl->Cancel();
    EXPECT_EQ(Contar("etiquetaread", "quantidade <> 0"), 1);
}

TEST_F(Tabela, ExclusaoDeUmaDeDuasLinhasIguaisDeixaAOutra) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    tbl->Delete();
    EXPECT_EQ(tbl->RecordCount(), 3u);
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 1);
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread", "codigo=1"), 1);
    EXPECT_EQ(Contar("etiquetaread"), 3);
}

TEST_F(Tabela, LinhaMudadaPorOutraEstacaoNaoEhSobrescrita) {
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("CODIGO", "2"));
    Executar("update etiquetaread set quantidade = 9 where codigo = 2");
    tbl->SetCampo("QUANTIDADE", "1");
    EXPECT_THROW(tbl->Post(), EDatabaseError);
    tbl->Cancel();
    tbl->Refresh();
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "9.000");
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 2);
}

TEST_F(Tabela, LinhaApagadaPorOutraEstacaoNaoLevaOutraNoLugar) {
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("CODIGO", "3"));
    Executar("delete from etiquetaread");
    Executar("insert into etiquetaread (codigo, nome) values (50, 'NOVA')");
    EXPECT_THROW(tbl->Delete(), EDatabaseError);
    EXPECT_EQ(Texto("select nome from etiquetaread"), "NOVA");
}

TEST_F(Tabela, InclusaoCanceladaNoAfterInsertNaoCriaLinha) {
    bool bloqueia = true;
    int cancelados = 0;
    tbl->AfterInsert = [&](TTabela& t) {
        if (bloqueia) t.Cancel();
    };
    tbl->AfterCancel = [&](TTabela&) { ++cancelados; };
    tbl->Open();
    tbl->Append();
    EXPECT_EQ(tbl->Estado(), TEstadoTabela::Navegacao);
    EXPECT_EQ(cancelados, 1);

    bloqueia = false;
    tbl->Append();
    tbl->SetCampo("CODIGO", "77");
    tbl->SetCampo("NOME", "NOVO");
    tbl->Post();
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 77);
    EXPECT_EQ(tbl->RecordCount(), 5u);
    // the new row is addressable at once
    tbl->SetCampo("QUANTIDADE", "2");
    tbl->Post();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select quantidade from etiquetaread where codigo=77"), "2.000");
}

TEST_F(Tabela, InclusaoFicaNaLinhaNovaMesmoQuandoOBancoMudaOValor) {
    // CHAR pads, a trigger rewrites: what comes back differs from what was typed.
    Executar("create table cadastro (id integer, sigla char(3), nome varchar(20))");
    Executar("create trigger tr_cadastro for cadastro before insert as begin new.nome = upper(new.nome); end");
    Executar("insert into cadastro values (1, 'AB', 'PRIMEIRO')");
    Executar("insert into cadastro values (2, 'CD', 'SEGUNDO')");
    TTabela t(dtm->dtbAplicativo, dtm->ibtAplicativo, "CADASTRO");
    t.SetOrdenacao("ID");
    t.Open();
    struct Caso {
        const char* id;
        const char* sigla;
        const char* nome;
    };
    const Caso casos[] = {{"9", "X", "NOVO"}, {"10", "XYZ", "novo"}};
    for (const auto& c : casos) {
        t.Append();
        t.SetCampo("ID", c.id);
        t.SetCampo("SIGLA", c.sigla);
        t.SetCampo("NOME", c.nome);
        t.Post();
        EXPECT_EQ(t.FieldByName("ID").AsString(), c.id);
        // an edit right after goes to the new row, not to another one
        t.SetCampo("NOME", std::string("EDITADO ") + c.id);
        t.Post();
    }
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select list(nome, ';') from (select nome from cadastro order by id)"),
              "PRIMEIRO;SEGUNDO;EDITADO 9;EDITADO 10");
}

TEST_F(Tabela, SegundaEdicaoDaMesmaLinhaComGatilhoNaoAcusaOutroUsuario) {
    Executar("create table cadastro (id integer, nome varchar(20), versao integer)");
    Executar("create trigger tr_cadastro for cadastro before update as begin new.versao = old.versao + 1; end");
    Executar("insert into cadastro values (1, 'A', 0)");
    TTabela t(dtm->dtbAplicativo, dtm->ibtAplicativo, "CADASTRO");
    t.Open();
    for (const char* nome : {"B", "C"}) {
        t.SetCampo("NOME", nome);
        EXPECT_NO_THROW(t.Post()) << nome;
    }
    EXPECT_EQ(t.FieldByName("VERSAO").AsInteger(), 2);
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select nome || versao from cadastro"), "C2");
}

TEST_F(Tabela, RefreshMostraLinhasNovasEFicaNaLinhaAtual) {
    tbl->SetOrdenacao("CODIGO");
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("CODIGO", "3"));
    Executar("insert into etiquetaread (codigo) values (0)");
    tbl->Refresh();
    EXPECT_EQ(tbl->RecordCount(), 5u);
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 3);
}

TEST_F(Tabela, CommitQueFalhaReleATabela) {
    Executar("create exception ex_commit 'commit recusado'");
    Executar(
        "create trigger tr_commit on transaction commit as begin "
        "if (exists(select 1 from etiquetaread where quantidade = 66)) then exception ex_commit; end");
    tbl->Open();
    ASSERT_TRUE(tbl->Locate("CODIGO", "2"));
    tbl->SetCampo("QUANTIDADE", "66");
    EXPECT_FALSE(dtm->dtmCommit(tbl.get()));
    EXPECT_EQ(iu_.Mensagens().size(), 1u);
    EXPECT_EQ(tbl->FieldByName("QUANTIDADE").AsString(), "4.000");
    EXPECT_EQ(tbl->FieldByName("CODIGO").AsInteger(), 2);
}

TEST_F(Tabela, ColunaInexistenteFalhaComAMesmaMensagemEmCadaUso) {
    tbl->Open();
    const std::string msg = "Campo 'NAO_HA' não encontrado na tabela ETIQUETAREAD.";
    struct Caso {
        const char* uso;
        std::function<void()> chamar;
    };
    const Caso casos[] = {
        {"FieldByName", [&] { tbl->FieldByName("NAO_HA"); }},
        {"SetCampo", [&] { tbl->SetCampo("NAO_HA", "1"); }},
        {"Locate", [&] { tbl->Locate("NAO_HA", "1"); }},
        {"SetOrdenacao",
         [&] {
             tbl->SetOrdenacao("NOME;NAO_HA");
             tbl->RecordCount();
         }},
    };
    for (const auto& k : casos) EXPECT_EQ(MensagemDe<EDatabaseError>(k.chamar), msg) << k.uso;
    EXPECT_EQ(tbl->Estado(), TEstadoTabela::Navegacao);  // nothing was left half-edited
}

TEST_F(Tabela, DataComHoraApareceComAHoraComoTexto) {
    Executar("create table movimento (id integer, quando timestamp, dia date)");
    Executar("insert into movimento values (1, '2026-03-05 14:30:15', '2026-03-05')");
    Executar("insert into movimento values (2, '2026-03-05 00:00:00', null)");
    TTabela t(dtm->dtbAplicativo, dtm->ibtAplicativo, "MOVIMENTO");
    t.SetOrdenacao("ID");
    t.Open();
    EXPECT_EQ(t.FieldByName("QUANDO").AsString(), "05/03/2026 14:30:15");
    EXPECT_EQ(t.FieldByName("DIA").AsString(), "05/03/2026");
    EXPECT_TRUE(t.Locate("QUANDO", "05/03/2026 14:30:15"));
    EXPECT_EQ(t.FieldByName("ID").AsInteger(), 1);
    t.Next();
    EXPECT_EQ(t.FieldByName("QUANDO").AsString(), "05/03/2026");
}

TEST_F(Tabela, TabelaInexistenteFalhaComAMensagemDoServidor) {
    TTabela t(dtm->dtbAplicativo, dtm->ibtAplicativo, "NAO_EXISTE");
    try {
        t.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NAO_EXISTE"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(t.Active());
}

}  // namespace

namespace {

// A queue longer than the rows the table keeps: NOME order is CODIGO order,
// ESTOQUE runs the other way.
class TabelaLonga : public TabelaTeste<BancoTeste> {
protected:
    static constexpr size_t kLinhas = 2 * TTabela::kJanela + 500;
    void SetUp() override {
        BancoTeste::SetUp();
        Executar("execute block as declare i integer = 1; begin while (i <= " + std::to_string(kLinhas) +
                 ") do begin insert into etiquetaread (codigo, nome, quantidade, estoque) values "
                 "(:i, lpad(:i, 8, '0'), 1, " +
                 std::to_string(kLinhas) + " - :i); i = i + 1; end end");
        AbrirTabela("ETIQUETAREAD");
        tbl->SetOrdenacao("NOME");
        tbl->Open();
        codigo = tbl->IndiceCampo("CODIGO");
    }
    int64_t Codigo() const { return tbl->FieldByName("CODIGO").AsInteger(); }
    int codigo = -1;
};

TEST_F(TabelaLonga, PercorrerGuardaSoAJanelaEVoltarReleAsLinhas) {
    size_t lidas = 0, maximo = 0;
    for (tbl->First(); !tbl->Eof(); tbl->Next()) {
        ASSERT_EQ(Codigo(), static_cast<int64_t>(++lidas));
        maximo = std::max(maximo, tbl->LinhasGuardadas());
    }
    EXPECT_EQ(lidas, kLinhas);
    EXPECT_EQ(maximo, TTabela::kJanela);
    EXPECT_EQ(tbl->RecordCount(), kLinhas);
    // Rows behind the window come back from the database, in their place.
    tbl->SetRecNo(3);
    EXPECT_EQ(Codigo(), 3);
    EXPECT_EQ(tbl->Valor(kLinhas - 1, codigo).AsInteger(), static_cast<int64_t>(kLinhas));
    EXPECT_EQ(Codigo(), 3);  // the current row, read again after the grid's far row
    EXPECT_EQ(tbl->Valor(0, codigo).AsInteger(), 1);
    tbl->SetRecNo(TTabela::kJanela + 10);
    for (int i = 0; i < 20; ++i) tbl->Prior();
    EXPECT_EQ(Codigo(), static_cast<int64_t>(TTabela::kJanela - 10));
    tbl->Last();
    EXPECT_EQ(Codigo(), static_cast<int64_t>(kLinhas));
    EXPECT_EQ(tbl->RecNo(), kLinhas);
    EXPECT_LE(tbl->LinhasGuardadas(), TTabela::kJanela);
    ASSERT_TRUE(tbl->Locate("CODIGO", "2"));
    EXPECT_EQ(tbl->RecNo(), 2u);
}

TEST_F(TabelaLonga, LinhaAtualForaDaJanelaSegueNaTrocaDeOrdemENaEdicao) {
    tbl->SetRecNo(2);
    tbl->RecordCount();  // reads past the current row
    tbl->SetOrdenacao("ESTOQUE");
    EXPECT_EQ(Codigo(), 2);
    EXPECT_EQ(tbl->RecNo(), kLinhas - 1);
    // An edit begun before the row left memory still writes that row.
    tbl->First();
    tbl->SetCampo("QUANTIDADE", "7");
    EXPECT_EQ(tbl->Valor(0, codigo).AsInteger(), static_cast<int64_t>(kLinhas));
    tbl->Valor(kLinhas - 1, codigo);
    tbl->Post();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread", "quantidade = 7 and codigo = " + std::to_string(kLinhas)), 1);
    tbl->Delete();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread", "quantidade = 7"), 0);
    EXPECT_EQ(Contar("etiquetaread"), static_cast<int64_t>(kLinhas) - 1);
    EXPECT_EQ(Codigo(), static_cast<int64_t>(kLinhas) - 1);
    EXPECT_EQ(tbl->RecordCount(), kLinhas - 1);
}

TEST_F(TabelaLonga, ComChavesGuardadasUmaLinhaAtrasDaJanelaVemPelaChave) {
    tbl->SetGuardarChaves(true);
    ASSERT_EQ(tbl->RecordCount(), kLinhas);
    // The grid's jumps: first rows, last rows, first again. The window of the
    // last rows stays as it is, since nothing is read again from the start.
    EXPECT_EQ(tbl->Valor(0, codigo).AsInteger(), 1);
    EXPECT_EQ(tbl->Valor(kLinhas - 1, codigo).AsInteger(), static_cast<int64_t>(kLinhas));
    for (size_t linha : {size_t{63}, size_t{64}, size_t{1000}, TTabela::kJanela})
        EXPECT_EQ(tbl->Valor(linha, codigo).AsInteger(), static_cast<int64_t>(linha + 1)) << linha;
    EXPECT_EQ(tbl->LinhasGuardadas(), TTabela::kJanela);

    // A count typed on a row behind the window reaches that row and shows.
    const int quantidade = tbl->IndiceCampo("QUANTIDADE");
    tbl->SetRecNo(5);
    tbl->SetCampo("QUANTIDADE", "9");
    tbl->Post();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread", "quantidade = 9 and codigo = 5"), 1);
    EXPECT_EQ(tbl->Valor(4, quantidade).AsString(), "9.000");

    // Another workstation deletes a row not yet read by key: it shows empty,
    // and an edit of it says so instead of writing elsewhere.
    Executar("delete from etiquetaread where codigo = 200");
    EXPECT_TRUE(tbl->Valor(199, codigo).IsNull());
    EXPECT_EQ(tbl->Valor(200, codigo).AsInteger(), 201);
    tbl->SetRecNo(200);
    tbl->SetCampo("QUANTIDADE", "3");
    EXPECT_THROW(tbl->Post(), EDatabaseError);
    tbl->Cancel();

    // Deleting a row behind the window moves every later row up one.
    tbl->SetRecNo(3);
    tbl->Delete();
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Codigo(), 4);
    EXPECT_EQ(tbl->Valor(2, codigo).AsInteger(), 4);
    EXPECT_EQ(tbl->RecordCount(), kLinhas - 1);
    EXPECT_EQ(tbl->Valor(kLinhas - 2, codigo).AsInteger(), static_cast<int64_t>(kLinhas));
    ASSERT_TRUE(tbl->Locate("CODIGO", "2"));
    EXPECT_EQ(tbl->RecNo(), 2u);
}

}  // namespace
