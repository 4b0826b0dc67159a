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

// The tables the program makes for itself are every database user's: made
// with the grant to PUBLIC, and one an older version made without it gets
// the grant from its owner, never from a user who may not give it.
TEST_F(AjustesBancoAtual, TabelasDoProgramaFicamParaTodosOsUsuarios) {
    auto privilegios = [&](const std::string& tabela) {
        return Contar("rdb$user_privileges", "rdb$user = 'PUBLIC' and rdb$relation_name = '" + tabela +
                                                 "' and rdb$privilege in ('S', 'I', 'U', 'D')");
    };
    const TTabelaDoPrograma nova{
        "LISTA_NOVA", {"CREATE TABLE LISTA_NOVA (X VARCHAR(10))", "CREATE INDEX IX_LISTA_NOVA ON LISTA_NOVA (X)"}};
    const TTabelaDoPrograma antiga{"LISTA_ANTIGA", {"CREATE TABLE LISTA_ANTIGA (X VARCHAR(10))"}};
    Executar("CREATE TABLE LISTA_ANTIGA (X VARCHAR(10))");  // as an older version made it
    FecharOutro();

    // Another user of the shop: not its to grant; its insert names the table.
    fb::TDatabase balcao;
    balcao.SetCaminho(banco_);
    balcao.SetParametros(ParametrosConexao("BALCAO", "balcao"));
    fb::TTransaction tr(balcao, ParametrosTransacao());
    auto inserir = [&](const std::string& tabela) {
        fb::TQuery q(balcao, tr);
        q.Add("insert into " + tabela + " (X) values ('1')");
        q.ExecSQL();
    };
    CriarTabelasDoPrograma(balcao, {antiga});
    EXPECT_EQ(privilegios("LISTA_ANTIGA"), 0);
    const std::string recusa = MensagemDe<fb::EFbErro>([&] { inserir("LISTA_ANTIGA"); });
    EXPECT_EQ(recusa.substr(0, recusa.find('\n')),
              "O usuário do banco de dados não tem permissão de INSERT na tabela LISTA_ANTIGA: peça ao "
              "administrador do banco de dados que a conceda");
    FecharOutro();

    // The owner's turn: the new table made with its grant, the old one given
    // its own; nothing made twice.
    {
        fb::TDatabase dono;
        dono.SetCaminho(banco_);
        dono.SetParametros(ParametrosConexao());
        CriarTabelasDoPrograma(dono, {nova, antiga});
        CriarTabelasDoPrograma(dono, {nova, antiga});
    }
    EXPECT_EQ(privilegios("LISTA_NOVA"), 4);
    EXPECT_EQ(privilegios("LISTA_ANTIGA"), 4);
    EXPECT_EQ(Contar("rdb$indices", "rdb$index_name = 'IX_LISTA_NOVA'"), 1);
    FecharOutro();
    balcao.Desconectar();  // an attachment keeps the privileges it began with
    EXPECT_NO_THROW(inserir("LISTA_ANTIGA"));
    EXPECT_NO_THROW(inserir("LISTA_NOVA"));
    tr.Commit();
    EXPECT_EQ(Contar("LISTA_NOVA"), 1);
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
