// The two schema adjustments on an older shop database and on a current one.
#include <cstdlib>
#include <functional>
#include <memory>

#include "BancoTeste.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

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

TEST_F(AjustesBancoAtual, SemCaminhoOAjusteDaFilaFicaCalado) {
    GravarPathMerkor("");
    dtm = std::make_unique<TdtmAplicativo>();
    EXPECT_NO_THROW(Ajusta_BD(*dtm));
    EXPECT_TRUE(iu_.eventos.empty());
}

// The panel's adjustment was asked for by the operator: what it cannot do is
// said, naming the table; a server that cannot be reached and the program's
// end travel on as everywhere else.
TEST_F(AjustesBancoAtual, AjusteDoIcmsDizOQueNaoFez) {
    struct Caso {
        const char* nome;
        std::function<void()> preparar;
        const char* mensagem;  // start of the only message
    };
    const Caso casos[] = {
        {"sem caminho", [&] { GravarPathMerkor(""); },
         "A coluna ICMS_ST da tabela TRIBUTOS_ICM não foi ajustada: Caminho do banco de dados não informado."},
        {"sem a tabela", [&] { Executar("drop table tributos_icm"); },
         "A coluna ICMS_ST da tabela TRIBUTOS_ICM não foi ajustada: "},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        iu_.eventos.clear();
        c.preparar();
        dtm = std::make_unique<TdtmAplicativo>();
        EXPECT_NO_THROW(AjustaTributosIcm(*dtm));
        const auto mensagens = iu_.Mensagens();
        ASSERT_EQ(mensagens.size(), 1u);
        EXPECT_EQ(mensagens[0].rfind(c.mensagem, 0), 0u) << mensagens[0];
        EXPECT_NE(mensagens[0].find("TRIBUTOS_ICM"), std::string::npos) << mensagens[0];
        dtm.reset();
        GravarPathMerkor(banco_);
    }
}

TEST_F(AjustesBancoAtual, AjusteDoIcmsDeixaPassarServidorInalcancavel) {
    GravarPathMerkor("127.0.0.1/" + std::to_string(PortaLivre()) + ":/dados/loja.fdb");
    dtm = std::make_unique<TdtmAplicativo>();
    const std::string msg = MensagemDe<fb::EFbConexao>([&] { AjustaTributosIcm(*dtm); });
    EXPECT_NE(msg.find("/dados/loja.fdb"), std::string::npos) << msg;
    EXPECT_TRUE(iu_.Mensagens().empty());
}

TEST(AjusteDoIcmsNoEncerramento, DeixaPassarOPedidoDeEncerrar) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // In a child: the program's end cannot be taken back in this process.
    EXPECT_EXIT(
        {
            TInterfaceGravada iu;
            DefinirInterfaceUsuario(&iu);
            TdtmAplicativo dtm;
            fb::InterromperOperacoes();
            try {
                AjustaTributosIcm(dtm);
            } catch (const fb::EEncerrando&) {
                std::exit(iu.Mensagens().empty() ? 7 : 8);
            }
            std::exit(9);
        },
        ::testing::ExitedWithCode(7), "");
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
