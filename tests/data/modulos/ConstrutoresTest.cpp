// Texts of the statement builders, blanks included, sent to a real database.
#include <functional>
#include <memory>

#include "BancoTeste.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"

namespace {

class Construtores : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        dtm = std::make_unique<TdtmAplicativo>();
    }
    void TearDown() override {
        dtm.reset();
        BancoTeste::TearDown();
    }
    std::string Enviado() const { return dtm->qryprocesso.UltimoTextoEnviado(); }
    std::unique_ptr<TdtmAplicativo> dtm;
};

TEST_F(Construtores, SelectFileEnviaUmaLinhaNoSlotEDizSeHaLinhas) {
    EXPECT_FALSE(dtm->SelectFile("2", "Mercadorias", "cod_bar='789'"));
    EXPECT_EQ(dtm->qrySelect2.UltimoTextoEnviado(), "Select * From Mercadorias Where ( cod_bar='789' )");
    EXPECT_TRUE(dtm->qrySelect2.Active());

    Executar("insert into mercadorias (cod_red, cod_bar, nom_mer) values (7, '789', 'CAFE')");
    ASSERT_TRUE(dtm->SelectFile("2", "Mercadorias", "cod_bar='789'"));
    EXPECT_EQ(dtm->qrySelect2.FieldByName("NOM_MER").AsString(), "CAFE");
}

TEST_F(Construtores, CadaSlotUsaASuaConsultaEMrgASegundaConexao) {
    struct Caso {
        const char* slot;
        fb::TQuery TdtmAplicativo::*qry;
    };
    const Caso casos[] = {{"1", &TdtmAplicativo::qrySelect1},
                          {"2", &TdtmAplicativo::qrySelect2},
                          {"3", &TdtmAplicativo::qrySelect3},
                          {"4", &TdtmAplicativo::qrySelect4},
                          {"MRG", &TdtmAplicativo::qrySelectMrg}};
    for (const auto& c : casos) {
        dtm->SelectFile(c.slot, "Gerador", "1=1");
        EXPECT_EQ(((*dtm).*(c.qry)).UltimoTextoEnviado(), "Select * From Gerador Where ( 1=1 )") << c.slot;
        EXPECT_TRUE(((*dtm).*(c.qry)).Active()) << c.slot;
    }
    EXPECT_TRUE(dtm->dtbAplicativoMrg.Conectado());
}

TEST_F(Construtores, SlotDesconhecidoNaoFazNadaECloseEmMinusculasFechaTodos) {
    for (const char* slot : {"1", "2", "3", "4", "MRG"}) dtm->SelectFile(slot, "Gerador", "1=1");

    EXPECT_FALSE(dtm->SelectFile("mrg", "Mercadorias", "1=1"));
    EXPECT_FALSE(dtm->SelectFile("5", "Mercadorias", "1=1"));
    EXPECT_EQ(dtm->qrySelectMrg.UltimoTextoEnviado(), "Select * From Gerador Where ( 1=1 )");

    EXPECT_FALSE(dtm->SelectFile("close", "", ""));
    for (fb::TQuery* q : {&dtm->qrySelect1, &dtm->qrySelect2, &dtm->qrySelect3, &dtm->qrySelect4, &dtm->qrySelectMrg})
        EXPECT_FALSE(q->Active());
}

TEST_F(Construtores, SelectFileOrdemCampoMontaColunasEOrdem) {
    struct Caso {
        const char* campos;
        const char* ordem;
        const char* esperado;
    };
    const Caso casos[] = {
        {"cod_red, nom_mer", "nom_mer",
         "Select cod_red, nom_mer From Mercadorias Where ( cod_red>0 )\nOrder By nom_mer"},
        {"", "nom_mer;", "Select * From Mercadorias Where ( cod_red>0 )\nOrder By nom_mer;"},
        {"", "", "Select * From Mercadorias Where ( cod_red>0 )"},
    };
    for (const auto& c : casos) {
        try {
            dtm->SelectFileOrdemCampo("3", "Mercadorias", "cod_red>0", c.ordem, c.campos);
        } catch (const EDatabaseError&) {
            // "nom_mer;" is not valid SQL; the text sent is what counts here
        }
        EXPECT_EQ(dtm->qrySelect3.UltimoTextoEnviado(), c.esperado);
    }
}

TEST_F(Construtores, CloseDeSelectFileOrdemCampoDeixaOSlot4Aberto) {
    for (const char* slot : {"1", "2", "3", "4", "MRG"}) dtm->SelectFileOrdemCampo(slot, "Gerador", "1=1", "", "");
    EXPECT_FALSE(dtm->SelectFileOrdemCampo("Close", "", "", "", ""));
    EXPECT_FALSE(dtm->qrySelect1.Active());
    EXPECT_FALSE(dtm->qrySelect3.Active());
    EXPECT_FALSE(dtm->qrySelectMrg.Active());
    EXPECT_TRUE(dtm->qrySelect4.Active());
}

TEST_F(Construtores, SelectFileQryUsaAConsultaDada) {
    fb::TQuery q(dtm->dtbAplicativo, dtm->ibtAplicativo);
    EXPECT_FALSE(dtm->SelectFileQry(q, "EtiquetaRead", "codigo=1"));
    EXPECT_EQ(q.UltimoTextoEnviado(), "Select * From EtiquetaRead Where ( codigo=1 )");
}

TEST_F(Construtores, SelectFileComFalhaLevantaAMensagemEDeixaOSlotFechado) {
    dtm->SelectFile("1", "Gerador", "1=1");
    try {
        dtm->SelectFile("1", "NaoExiste", "1=1");
        FAIL() << "esperava falha";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NAOEXISTE"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(dtm->qrySelect1.Active());
    EXPECT_EQ(dtm->qrySelect1.Texto(), "Select * From NaoExiste Where ( 1=1 )");
}

TEST_F(Construtores, InsertFileTrocaVirgulasEAspasEEnviaTresLinhas) {
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "123", "NOME", "CAMISA, AZUL"});
    EXPECT_EQ(Enviado(), "Insert into EtiquetaRead\n( CODIGO,NOME )  \n Values ( '123','CAMISA. AZUL' )  ");

    struct Caso {
        const char* valor;
        const char* gravado;
    };
    const Caso casos[] = {{"O'NEIL", "O NEIL"}, {"POLO \"GG\"", "POLO  GG "}, {"AÇÚCAR", "AÇÚCAR"}};
    int codigo = 200;
    for (const auto& c : casos) {
        dtm->INSERTFILE("EtiquetaRead", {"CODIGO", std::to_string(++codigo), "NOME", c.valor});
        ASSERT_TRUE(dtm->dtmCommit());
        EXPECT_EQ(Texto("select nome from etiquetaread where codigo=" + std::to_string(codigo)), c.gravado) << c.valor;
    }
}

TEST_F(Construtores, InsertFileGravaDecimalComVirgulaComoPonto) {
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1", "QUANTIDADE", "12,5", "VLR_VEN", "3.25"});
    EXPECT_EQ(Enviado(), "Insert into EtiquetaRead\n( CODIGO,QUANTIDADE,VLR_VEN )  \n Values ( '1','12.5','3.25' )  ");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select quantidade from etiquetaread"), "12.500");
    EXPECT_EQ(Texto("select vlr_ven from etiquetaread"), "3.250");
}

TEST_F(Construtores, InsertFileIgnoraEntradaImparEListaVaziaFalhaNoServidor) {
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "5", "NOME"});
    EXPECT_EQ(Enviado(), "Insert into EtiquetaRead\n( CODIGO )  \n Values ( '5' )  ");

    EXPECT_THROW(dtm->INSERTFILE("EtiquetaRead", {}), EDatabaseError);
    EXPECT_EQ(dtm->qryprocesso.Texto(), "Insert into EtiquetaRead\n(  )  \n Values (  )  ");
}

TEST_F(Construtores, InsertFileLogSoPoeAspas) {
    dtm->INSERTFILE_LOG("EtiquetaRead", {"CODIGO", "9", "NOME", "CAMISA, AZUL"});
    EXPECT_EQ(Enviado(), "Insert into EtiquetaRead\n( CODIGO,NOME )  \n Values ( '9','CAMISA, AZUL' )  ");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select nome from etiquetaread where codigo=9"), "CAMISA, AZUL");
}

TEST_F(Construtores, UpdateFileEnviaQuatroLinhas) {
    Executar("insert into etiquetaread (codigo, quantidade) values (1, 0)");
    dtm->UPDATEFILE("EtiquetaRead", "quantidade=3", "codigo=1");
    EXPECT_EQ(Enviado(), "UPDATE EtiquetaRead SET\nquantidade=3\nWHERE\n( codigo=1 )");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select quantidade from etiquetaread"), "3.000");
}

TEST_F(Construtores, UpdateFileMatrizMontaAtribuicoes) {
    Executar("insert into etiquetaread (codigo, nome, barras, nro_lote) values (1, 'X', 'Y', 'Z')");
    struct Caso {
        std::vector<std::string> pares;
        const char* esperado;
    };
    const Caso casos[] = {
        {{"NOME", "D'AGUA, 1L", "BARRAS", "78\"9"},
         "UPDATE EtiquetaRead SET\nNOME='D AGUA. 1L',BARRAS='78 9'\nWHERE\n( codigo=1 )"},
        {{"NOME", "", "BARRAS", "", "NRO_LOTE"}, "UPDATE EtiquetaRead SET\nNOME='',BARRAS=''\nWHERE\n( codigo=1 )"},
    };
    for (const auto& c : casos) {
        dtm->UPDATEFILE_Matriz("EtiquetaRead", "codigo=1", c.pares);
        EXPECT_EQ(Enviado(), c.esperado);
    }
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select nome || '|' || barras || '|' || nro_lote from etiquetaread"), "||Z");
}

TEST_F(Construtores, UpdateFileMatrizSemParesNaoEnviaNada) {
    dtm->DeleteRegistro("EtiquetaRead", "1=1");
    std::string antes = Enviado();
    dtm->UPDATEFILE_Matriz("EtiquetaRead", "1=1", {});
    dtm->UPDATEFILE_Matriz("EtiquetaRead", "1=1", {"NOME"});
    EXPECT_EQ(Enviado(), antes);
}

TEST_F(Construtores, DeleteRegistroEsvaziaComUmIgualAUm) {
    Executar("insert into etiquetamrg (linha1, ct_lin) values ('a', 1)");
    Executar("insert into etiquetamrg (linha1, ct_lin) values ('b', 2)");
    dtm->DeleteRegistro("EtiquetaMrg", "1=1");
    EXPECT_EQ(Enviado(), "DELETE FROM EtiquetaMrg\nWHERE\n( 1=1 )");
    ASSERT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Contar("etiquetamrg"), 0);
}

TEST_F(Construtores, BuscaGeradorAvancaUmPorChamada) {
    Executar("create sequence gen_teste");
    Executar("insert into gerador (codigo) values (1)");
    EXPECT_EQ(dtm->BuscaGerador("gen_teste"), 1);
    EXPECT_EQ(dtm->BuscaGerador("gen_teste"), 2);
    EXPECT_EQ(Enviado(), "Select gen_id(gen_teste,1) codigo from gerador");
    EXPECT_FALSE(dtm->qryprocesso.Active());
}

TEST_F(Construtores, BuscaGeradorSemALinhaDeGeradorFalhaEmVezDeDarZero) {
    Executar("create sequence gen_teste");
    EXPECT_THROW(dtm->BuscaGerador("gen_teste"), EDatabaseError);
}

TEST_F(Construtores, BuscaUltimoDaOMaiorMaisUm) {
    EXPECT_EQ(dtm->BuscaUltimo("EtiquetaMrg", "ct_lin"), 1);
    EXPECT_EQ(Enviado(), "Select max(ct_lin) codigo from EtiquetaMrg");
    Executar("insert into etiquetamrg (ct_lin) values (41)");
    Executar("insert into etiquetamrg (ct_lin) values (7)");
    EXPECT_EQ(dtm->BuscaUltimo("EtiquetaMrg", "ct_lin"), 42);
}

}  // namespace
