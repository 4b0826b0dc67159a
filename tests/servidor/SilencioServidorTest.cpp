// A server that stops answering in the middle of work (SIGSTOP: its kernel
// still takes connections, its process answers nothing): the call is
// abandoned after the limit of silence with the operator's message, nothing
// half-done stays, and a statement that is merely slow is not cut.
#include <memory>

#include <gtest/gtest.h>

#include "ServidorFb.h"
#include "common/ConfigEtq.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "data/fb/VigiaServidor.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

namespace {

using Relogio = std::chrono::steady_clock;

class TInterfaceGravada : public TInterfaceUsuario {
public:
    void Mensagem(const std::string& texto) override { mensagens.push_back(texto); }
    bool Confirma(const std::string&) override { return false; }
    void MostraAguarde() override {}
    void RepintaAguarde() override {}
    void EscondeAguarde() override {}
    std::vector<std::string> mensagens;
};

constexpr int kLimite = 2;  // seconds of silence, instead of 30

class ServidorCalado : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        static int n = 0;
        caminho_ = Servidor().Caminho(Servidor().Pasta() + "/calado" + std::to_string(++n) + ".fdb");
        CriarLojaNoServidor(caminho_);
        pasta_ = std::make_unique<TPastaTemp>("etiq-calado");
        DefinirDiretorioSistema(pasta_->caminho.string());
        GravarConfig("PATH MERKOR", caminho_);
        DefinirInterfaceUsuario(&iu_);
        dtm_ = std::make_unique<TdtmAplicativo>();
        dtm_->dtbAplicativo.SetTempoSemResposta(kLimite);
    }
    void TearDown() override {
        dtm_.reset();
        outra_.reset();
        DefinirInterfaceUsuario(nullptr);
        DefinirDiretorioSistema("");
        pasta_.reset();
    }
    void Enfileirar(int codigo, const std::string& nome) {
        dtm_->INSERTFILE("EtiquetaRead", {"CODIGO", std::to_string(codigo), "NOME", nome, "QUANTIDADE", "0"});
    }
    TConexao& Outra() {
        if (!outra_) outra_ = std::make_unique<TConexao>(caminho_);
        return *outra_;
    }
    std::string Fila() {
        return Outra().Texto("select list(nome, '|') from (select nome from etiquetaread order by codigo)");
    }

    std::string caminho_;
    std::unique_ptr<TPastaTemp> pasta_;
    TInterfaceGravada iu_;
    std::unique_ptr<TdtmAplicativo> dtm_;
    std::unique_ptr<TConexao> outra_;
};

TEST(SondaDoServidor, SoOProcessoDoServidorRespondeAoPedidoDeConexao) {
    EXIGIR_SERVIDOR();
    struct Caso {
        const char* nome;
        bool congelado, protocolo, portaLivre;
        fb::TSondagem esperado;
    };
    const Caso casos[] = {
        {"servidor vivo", false, true, false, fb::TSondagem::Atendeu},
        // The kernel of a stopped server completes the TCP handshake by itself.
        {"congelado, só TCP", true, false, false, fb::TSondagem::Atendeu},
        {"congelado, com o protocolo", true, true, false, fb::TSondagem::Calado},
        {"ninguém na porta", false, true, true, fb::TSondagem::Recusou},
    };
    for (const Caso& c : casos) {
        std::unique_ptr<TCongelamento> gelo;
        if (c.congelado) gelo = std::make_unique<TCongelamento>(10);
        const std::string porta = std::to_string(c.portaLivre ? PortaLivre() : Servidor().Porta());
        const auto inicio = Relogio::now();
        EXPECT_EQ(fb::SondarServidor("127.0.0.1", porta, inicio + std::chrono::milliseconds(500), c.protocolo),
                  c.esperado)
            << c.nome;
        EXPECT_LT(Segundos(inicio), 1.5) << c.nome;
    }
}

// Where the server stops: in the middle of reading, in the middle of a new
// batch (changes not yet committed), or at the commit that ends the batch.
enum class TMomento { Leitura, Alteracao, Commit };
struct CasoSilencio {
    const char* nome;
    TMomento momento;
};

class SilencioNoMeio : public ServidorCalado, public ::testing::WithParamInterface<CasoSilencio> {};

TEST_P(SilencioNoMeio, AbandonadaNoLimiteComAMensagemENadaPelaMetade) {
    TdtmAplicativo& dtm = *dtm_;
    Enfileirar(1, "ANTIGA 1");
    Enfileirar(2, "ANTIGA 2");
    ASSERT_TRUE(dtm.dtmCommit());
    if (GetParam().momento != TMomento::Leitura) {
        dtm.DeleteRegistro("EtiquetaRead", "1=1");
        for (int i = 10; i < 40; ++i) Enfileirar(i, "NOVA " + std::to_string(i));
    }

    std::string msg;
    double s = 0;
    {
        TCongelamento gelo(kLimite + 15);
        const auto inicio = Relogio::now();
        switch (GetParam().momento) {
            case TMomento::Leitura:
                msg = MensagemDe<fb::EFbConexao>([&] { dtm.SelectFile("1", "EtiquetaRead", "1=1"); });
                break;
            case TMomento::Alteracao:
                msg = MensagemDe<fb::EFbConexao>([&] { Enfileirar(40, "NOVA 40"); });
                break;
            case TMomento::Commit:
                EXPECT_FALSE(dtm.dtmCommit());
                msg = iu_.mensagens.empty() ? "" : iu_.mensagens.back();
                break;
        }
        s = Segundos(inicio);
    }
    EXPECT_GE(s, kLimite - 0.1);
    EXPECT_LT(s, kLimite + 1.5);
    const std::string servidor = "O servidor 127.0.0.1 (porta " + std::to_string(Servidor().Porta()) + ") do banco de dados \"" +
                                 caminho_ + "\" não responde há " + std::to_string(kLimite) +
                                 " s; a operação foi abandonada";
    EXPECT_EQ(msg.rfind(servidor, 0), 0u) << msg;
    EXPECT_FALSE(dtm.dtbAplicativo.Conectado());

    if (GetParam().momento == TMomento::Commit) {
        // The commit had reached the stopped server: it decides when it wakes.
        EXPECT_NE(msg.find("durante a confirmação da gravação"), std::string::npos) << msg;
        const std::string fila = Fila();
        EXPECT_TRUE(fila == "ANTIGA 1|ANTIGA 2" || Outra().Texto("select count(*) from etiquetaread") == "30") << fila;
    } else {
        EXPECT_NE(msg.find(" e nada foi gravado."), std::string::npos) << msg;
        EXPECT_EQ(Fila(), "ANTIGA 1|ANTIGA 2");
    }

    // Thawed, the same module connects again and works.
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    Enfileirar(70, "DEPOIS");
    EXPECT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(Fila(), "DEPOIS");
}

INSTANTIATE_TEST_SUITE_P(Casos, SilencioNoMeio,
                         ::testing::Values(CasoSilencio{"Leitura", TMomento::Leitura},
                                           CasoSilencio{"Alteracao", TMomento::Alteracao},
                                           CasoSilencio{"Commit", TMomento::Commit}),
                         [](const auto& i) { return std::string(i.param.nome); });

// A statement that works longer than the limit on a server that answers.
TEST_F(ServidorCalado, ComandoLentoDeServidorQueRespondeNaoEhCortado) {
    TdtmAplicativo& dtm = *dtm_;
    Enfileirar(1, "LENTA");
    const int ms = (kLimite + 2) * 1000;
    dtm.qryprocesso.Clear();
    dtm.qryprocesso.Add("execute block as declare t0 timestamp; declare n integer = 0; begin "
                        "t0 = cast('now' as timestamp); "
                        "while (datediff(millisecond from t0 to cast('now' as timestamp)) < " +
                        std::to_string(ms) + ") do n = n + 1; end");
    const auto inicio = Relogio::now();
    EXPECT_NO_THROW(dtm.qryprocesso.ExecSQL());
    EXPECT_GE(Segundos(inicio), ms / 1000.0 - 0.1);
    ASSERT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(Fila(), "LENTA");
    EXPECT_TRUE(iu_.mensagens.empty()) << iu_.mensagens.front();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-calado");
}
