// Connections, name lists, commit and rollback of the three data modules.
#include <memory>

#include "BancoTeste.h"
#include "common/Excecoes.h"
#include "data/UdtmMercadorias.h"
#include "data/udtmAplicativo.h"
#include "data/udtmFornecedores.h"

namespace {

const char* const kMensagemCommit = "Transação não efetuada, será revertida, favor tentar novamente.";

class Modulos : public BancoTeste {
protected:
    void Criar() {
        dtm = std::make_unique<TdtmAplicativo>();
        merc = std::make_unique<TDtmMercadorias>(*dtm);
        forn = std::make_unique<TdtmFornecedores>(*dtm);
    }
    void TearDownModulos() {
        forn.reset();
        merc.reset();
        dtm.reset();
    }
    void TearDown() override {
        TearDownModulos();
        BancoTeste::TearDown();
    }
    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TDtmMercadorias> merc;
    std::unique_ptr<TdtmFornecedores> forn;
};

TEST_F(Modulos, CriacaoConfiguraAsDuasConexoesSemConectar) {
    Criar();
    const std::vector<std::string> parametros = {"user_name=Sysdba", "password=pinewoods", "lc_ctype=WIN1252"};
    for (fb::TDatabase* db : {&dtm->dtbAplicativo, &dtm->dtbAplicativoMrg}) {
        EXPECT_EQ(db->Caminho(), banco_);
        EXPECT_EQ(db->Parametros(), parametros);
        EXPECT_FALSE(db->Conectado());
    }
    EXPECT_EQ(dtm->dtbAplicativo.TransacaoPadrao(), &dtm->ibtAplicativo);
    EXPECT_EQ(dtm->dtbAplicativoMrg.TransacaoPadrao(), &dtm->ibtAplicativoMrg);
    EXPECT_EQ(ParametrosTransacao(), (std::vector<std::string>{"read_committed", "rec_version", "nowait"}));
    EXPECT_EQ(ParametrosTransacaoMrg(), (std::vector<std::string>{"concurrency", "nowait"}));
}

TEST_F(Modulos, CaminhoVazioOuErradoChegaComoExcecaoAoAbrir) {
    for (std::string caminho : {std::string(""), pasta_ + "/nao-existe.fdb"}) {
        GravarPathMerkor(caminho);
        Criar();
        EXPECT_EQ(dtm->dtbAplicativo.Caminho(), caminho);
        try {
            forn->dtmFornecedoresOpen({"Fornecedores"});
            FAIL() << "esperava falha com '" << caminho << "'";
        } catch (const EDatabaseError& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        EXPECT_FALSE(forn->tblFornecedores.Active());
        EXPECT_EQ(iu_.eventos.back(), "Esconde");
        TearDownModulos();
    }
}

TEST_F(Modulos, LinhaDoGeradorInseridaUmaSoVez) {
    Criar();
    forn->dtmFornecedoresOpen({"Fornecedores"});
    EXPECT_EQ(Texto("select count(*) || ':' || max(codigo) from gerador"), "1:1");
    forn->dtmFornecedoresClose({"Fornecedores"});
    forn->dtmFornecedoresOpen({"Fornecedores"});
    dtm->dtmConectBanco(true);
    EXPECT_EQ(Contar("gerador"), 1);
}

TEST_F(Modulos, GeradorJaPreenchidoNaoGanhaLinha) {
    Executar("insert into gerador (codigo) values (5)");
    Criar();
    dtm->dtmConectBanco(true);
    EXPECT_EQ(Texto("select count(*) || ':' || max(codigo) from gerador"), "1:5");
    EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), "Select CODIGO FROM GERADOR");
}

TEST_F(Modulos, AllEmMinusculasAbreTodasAsTabelas) {
    Criar();
    dtm->dtmAplicativoOpen({"all"});
    merc->dtmMercadoriasOpen({"all"});
    forn->dtmFornecedoresOpen({"all"});
    for (TTabela* t :
         {&dtm->tblFormat, &dtm->tblNumeroNF, &dtm->tblMercadorias, &dtm->tblLogEstoque, &dtm->tblEstoqueEmpresa,
          &dtm->tblGrades_Produtos_P, &dtm->tblProdutos_cli, &merc->tblAliquotasIB, &merc->tblDepartamentosIB,
          &merc->tblTributosIcm, &merc->tblTributosIcmUf, &merc->tblTributosPC, &merc->tblMercadoriasInventario,
          &merc->tblSerialNumberIB, &merc->tblSimilares, &forn->tblFornecedores})
        EXPECT_TRUE(t->Active()) << t->NomeTabela();
    EXPECT_EQ(dtm->tblLogEstoque.Ordenacao(), "COD_MER;DATA_ALT");
    EXPECT_EQ(dtm->tblGrades_Produtos_P.Ordenacao(), "REF_MER");
    EXPECT_EQ(forn->tblFornecedores.Ordenacao(), "CNPJ");
}

TEST_F(Modulos, NomesSemDistincaoDeCaixaEApenasOsDaLista) {
    Criar();
    dtm->dtmAplicativoOpen({"MERCADORIAS", "produtos_cli"});
    EXPECT_TRUE(dtm->tblMercadorias.Active());
    EXPECT_TRUE(dtm->tblProdutos_cli.Active());
    EXPECT_FALSE(dtm->tblFormat.Active());
    EXPECT_FALSE(dtm->tblLogEstoque.Active());
    EXPECT_EQ(iu_.eventos, (std::vector<std::string>{"Mostra", "Repinta", "Esconde"}));
}

TEST_F(Modulos, AliquotasEAliquotasIBAbremAMesmaTabelaUmaVez) {
    Executar("insert into aliquotas (cod_prog, nom_ali) values ('01', 'A')");
    Executar("insert into aliquotas (cod_prog, nom_ali) values ('02', 'B')");
    Criar();
    merc->dtmMercadoriasOpen({"Aliquotas"});
    ASSERT_TRUE(merc->tblAliquotasIB.Active());
    merc->tblAliquotasIB.Next();
    // A second open would have gone back to the first row.
    merc->dtmMercadoriasOpen({"AliquotasIB"});
    EXPECT_EQ(merc->tblAliquotasIB.RecNo(), 2u);
    EXPECT_FALSE(merc->tblDepartamentosIB.Active());

    merc->dtmMercadoriasClose({"aliquotas"});
    EXPECT_FALSE(merc->tblAliquotasIB.Active());
}

TEST_F(Modulos, AberturaAninhadaMostraEEscondeAEsperaACadaVolta) {
    Criar();
    merc->dtmMercadoriasOpen({"Departamentos"});
    EXPECT_TRUE(merc->tblDepartamentosIB.Active());
    // Departamentos -> DepartamentosIB (opens) -> Departamentos -> DepartamentosIB (already open)
    std::vector<std::string> esperado;
    for (int i = 0; i < 4; ++i) esperado.insert(esperado.end(), {"Mostra", "Repinta"});
    for (int i = 0; i < 4; ++i) esperado.push_back("Esconde");
    EXPECT_EQ(iu_.eventos, esperado);
}

TEST_F(Modulos, FechamentoDoAplicativoNaoFechaLogEstoque) {
    Criar();
    dtm->dtmAplicativoOpen({"ALL"});
    dtm->dtmAplicativoclose({"ALL"});
    EXPECT_TRUE(dtm->tblLogEstoque.Active());
    EXPECT_FALSE(dtm->tblMercadorias.Active());
    EXPECT_FALSE(dtm->tblGrades_Produtos_P.Active());
}

TEST_F(Modulos, FalhaAoAbrirEscondeAEsperaEPropagaAMensagem) {
    Executar("drop table similares");
    Criar();
    EXPECT_THROW(merc->dtmMercadoriasOpen({"Similares"}), EDatabaseError);
    EXPECT_EQ(iu_.eventos.back(), "Esconde");
}

TEST_F(Modulos, FornecedoresOrdenadosPorCnpj) {
    Executar("insert into fornecedores (codigo, nome, cnpj) values (1, 'B', '30')");
    Executar("insert into fornecedores (codigo, nome, cnpj) values (2, 'A', '10')");
    Executar("insert into fornecedores (codigo, nome, cnpj) values (3, 'C', '20')");
    Criar();
    forn->dtmFornecedoresOpen({"Fornecedores"});
    std::string codigos;
    for (forn->tblFornecedores.First(); !forn->tblFornecedores.Eof(); forn->tblFornecedores.Next())
        codigos += forn->tblFornecedores.FieldByName("CODIGO").AsString();
    EXPECT_EQ(codigos, "231");
}

TEST_F(Modulos, CancelarEmMercadoriasDesfazOPendenteEVoltaAoMesmoCodigo) {
    for (int i = 1; i <= 3; ++i)
        Executar("insert into mercadorias (cod_red, nom_mer) values (" + std::to_string(i) + ", 'M')");
    Criar();
    dtm->dtmAplicativoOpen({"Mercadorias"});
    TTabela& t = dtm->tblMercadorias;
    ASSERT_TRUE(t.Locate("COD_RED", "2"));
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    t.SetCampo("NOM_MER", "OUTRO");
    t.Cancel();
    EXPECT_EQ(t.FieldByName("COD_RED").AsInteger(), 2);
    EXPECT_EQ(t.FieldByName("NOM_MER").AsString(), "M");
    EXPECT_FALSE(dtm->SelectFile("1", "EtiquetaRead", "1=1"));
}

TEST_F(Modulos, InclusaoEmNumeroNFCanceladaSoComOSinalEmUm) {
    Criar();
    dtm->dtmAplicativoOpen({"NumeroNF"});
    dtm->ContadorMercadorias1 = 5;
    dtm->CancelaNumeroNF = 1;
    dtm->tblNumeroNF.Insert();
    EXPECT_EQ(dtm->tblNumeroNF.Estado(), TEstadoTabela::Navegacao);
    dtm->CancelaNumeroNF = 0;
    dtm->tblNumeroNF.Insert();
    EXPECT_EQ(dtm->tblNumeroNF.Estado(), TEstadoTabela::Insercao);
    dtm->tblNumeroNF.Cancel();

    dtm->dtmAplicativoOpen({"Mercadorias"});
    dtm->tblMercadorias.Insert();
    EXPECT_EQ(dtm->ContadorMercadorias1, 0);
}

TEST_F(Modulos, CommitGravaParaAsOutrasEstacoes) {
    Criar();
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    EXPECT_EQ(Contar("etiquetaread"), 0);
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread"), 1);
    EXPECT_TRUE(iu_.Mensagens().empty());
}

TEST_F(Modulos, CommitQueFalhaReverteAvisaUmaVezEATransacaoSegueUtil) {
    Executar("create exception ex_commit 'commit recusado'");
    Executar(
        "create trigger tr_commit on transaction commit as begin "
        "if (exists(select 1 from etiquetaread where codigo = 99)) then exception ex_commit; end");
    Criar();
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "99"});
    EXPECT_FALSE(dtm->dtmCommit());
    EXPECT_EQ(iu_.Mensagens(), std::vector<std::string>{kMensagemCommit});
    EXPECT_FALSE(dtm->SelectFile("1", "EtiquetaRead", "1=1"));  // both rows undone

    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "2"});
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(iu_.Mensagens().size(), 1u);
    EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "2");
}

TEST_F(Modulos, CommitComTabelaDeOutraConexaoFalhaComAMensagem) {
    Criar();
    TTabela alheia(dtm->dtbAplicativoMrg, dtm->ibtAplicativoMrg, "ETIQUETAREAD");
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    EXPECT_FALSE(dtm->dtmCommit(&alheia));
    EXPECT_EQ(iu_.Mensagens(), std::vector<std::string>{kMensagemCommit});
    EXPECT_EQ(Contar("etiquetaread"), 0);
}

TEST_F(Modulos, RollbackDesfazOQueNaoFoiGravado) {
    Criar();
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    dtm->dtmRollback();
    EXPECT_FALSE(dtm->SelectFile("1", "EtiquetaRead", "1=1"));
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "2"});
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread"), 1);
}

TEST_F(Modulos, DestruicaoDesfazOPendenteEDesconecta) {
    Criar();
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1"});
    dtm->SelectFile("MRG", "Gerador", "1=1");
    forn.reset();
    merc.reset();
    dtm.reset();
    EXPECT_EQ(Contar("etiquetaread"), 0);
    // The file is free again: a new module works on it.
    Criar();
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "3"});
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetaread"), 1);
}

TEST_F(Modulos, SegundaConexaoVeUmRetratoAteSerDesconectada) {
    Executar("insert into mercadorias (cod_red, nom_mer) values (1, 'A')");
    Criar();
    ASSERT_TRUE(dtm->SelectFile("MRG", "Mercadorias", "cod_red=1"));
    Executar("insert into mercadorias (cod_red, nom_mer) values (2, 'B')");

    EXPECT_FALSE(dtm->SelectFile("MRG", "Mercadorias", "cod_red=2"));
    EXPECT_TRUE(dtm->SelectFile("1", "Mercadorias", "cod_red=2"));  // the main one reads committed rows

    dtm->dtmConectBancoMrg(false);
    EXPECT_FALSE(dtm->dtbAplicativoMrg.Conectado());
    EXPECT_TRUE(dtm->SelectFile("MRG", "Mercadorias", "cod_red=2"));
}

TEST_F(Modulos, ConflitoDeBloqueioFalhaNaHoraComAMensagemDoServidor) {
    Executar("insert into etiquetaread (codigo, quantidade) values (1, 0)");
    Criar();
    TdtmAplicativo outraEstacao;
    dtm->UPDATEFILE("EtiquetaRead", "quantidade=1", "codigo=1");
    try {
        outraEstacao.UPDATEFILE("EtiquetaRead", "quantidade=2", "codigo=1");
        FAIL() << "esperava conflito";
    } catch (const fb::EFbErro& e) {
        EXPECT_TRUE(e.ConflitoDeBloqueio()) << e.what();
        EXPECT_NE(std::string(e.what()).find("conflito de atualização"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select quantidade from etiquetaread"), "1.000");
}

}  // namespace
