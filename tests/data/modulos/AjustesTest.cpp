// The two schema adjustments on an older shop database and on a current one.
#include <memory>

#include "BancoTeste.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"

namespace {

const char* const kConsultaSoNome =
    "Select * From rdb$relation_fields Where ( RDB$RELATION_NAME='ETIQUETAREAD' and   RDB$FIELD_NAME='SO_NOME' )";

class AjustesBancoAntigo : public BancoTeste {
protected:
    AjustesBancoAntigo() : BancoTeste(fb::TVersaoEsquema::Antiga) {}
    void TearDown() override {
        dtm.reset();
        BancoTeste::TearDown();
    }
    std::unique_ptr<TdtmAplicativo> dtm;
};

class AjustesBancoAtual : public BancoTeste {
protected:
    void TearDown() override {
        dtm.reset();
        BancoTeste::TearDown();
    }
    std::unique_ptr<TdtmAplicativo> dtm;
};

TEST_F(AjustesBancoAntigo, AcrescentaSoNomeUmaVezEDepoisSoConsulta) {
    dtm = std::make_unique<TdtmAplicativo>();
    Ajusta_BD(*dtm);
    EXPECT_EQ(dtm->qrySelect1.UltimoTextoEnviado(), kConsultaSoNome);
    EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), "Alter Table ETIQUETAREAD \nadd so_nome varChar(80) ");
    EXPECT_EQ(Contar("rdb$relation_fields", "rdb$relation_name='ETIQUETAREAD' and rdb$field_name='SO_NOME'"), 1);

    // the insert of the queue window names the new column at once
    dtm->INSERTFILE("EtiquetaRead", {"CODIGO", "1", "So_NOME", "CAFE"});
    EXPECT_TRUE(dtm->dtmCommit());
    EXPECT_EQ(Texto("select so_nome from etiquetaread"), "CAFE");

    dtm->qryprocesso.Clear();
    Ajusta_BD(*dtm);
    EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(),
              "Insert into EtiquetaRead\n( CODIGO,So_NOME )  \n Values ( '1','CAFE' )  ");
    EXPECT_TRUE(iu_.Mensagens().empty());
}

TEST_F(AjustesBancoAtual, ComAColunaPresenteEnviaSoAConsulta) {
    dtm = std::make_unique<TdtmAplicativo>();
    Ajusta_BD(*dtm);
    EXPECT_EQ(dtm->qrySelect1.UltimoTextoEnviado(), kConsultaSoNome);
    EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), "");
}

TEST_F(AjustesBancoAtual, FalhasSaoSilenciosas) {
    GravarPathMerkor("");
    dtm = std::make_unique<TdtmAplicativo>();
    EXPECT_NO_THROW(Ajusta_BD(*dtm));
    EXPECT_NO_THROW(AjustaTributosIcm(*dtm));
    EXPECT_TRUE(iu_.eventos.empty());
}

TEST_F(AjustesBancoAntigo, AlargaIcmsStMesmoQuandoRepetido) {
    const std::string escala =
        "select f.rdb$field_scale from rdb$relation_fields rf join rdb$fields f on f.rdb$field_name = "
        "rf.rdb$field_source "
        "where rf.rdb$relation_name='TRIBUTOS_ICM' and rf.rdb$field_name='ICMS_ST'";
    // Firebird widens the scale only while the whole digits still fit, as
    // they do in the shops' numeric(15,2).
    Executar("alter table tributos_icm drop icms_st");
    Executar("alter table tributos_icm add icms_st numeric(15,2)");
    EXPECT_EQ(Texto(escala), "-2");
    Executar("insert into tributos_icm (cod_trib, icms_st) values (1, 12.34)");
    dtm = std::make_unique<TdtmAplicativo>();
    AjustaTributosIcm(*dtm);
    EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), "alter table TRIBUTOS_ICM\nalter icms_st type numeric(18,4)");
    EXPECT_EQ(Texto(escala), "-4");
    AjustaTributosIcm(*dtm);
    EXPECT_EQ(Texto(escala), "-4");
    EXPECT_EQ(Texto("select icms_st from tributos_icm"), "12.3400");
    EXPECT_TRUE(iu_.Mensagens().empty());
}

}  // namespace
