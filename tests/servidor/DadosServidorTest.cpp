// The data layer on a real Firebird server: login with the configured user,
// unreachable and frozen servers, a server killed in the middle of a batch,
// and a lock conflict between two workstations (two processes).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "ServidorFb.h"
#include "common/ConfigEtq.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

namespace {

std::string g_programa;  // this test program, run again as the other workstation

class TInterfaceGravada : public TInterfaceUsuario {
public:
    void Mensagem(const std::string& texto) override { eventos.push_back("Mensagem:" + texto); }
    bool Confirma(const std::string&) override { return false; }
    void MostraAguarde() override { eventos.push_back("Mostra"); }
    void RepintaAguarde() override {}
    void EscondeAguarde() override { eventos.push_back("Esconde"); }
    std::vector<std::string> eventos;
};

// A shop database of its own on the shared server, and a configEtq.ini
// beside "the program" pointing at it.
class ServidorDados : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        static int n = 0;
        arquivo_ = Servidor().Pasta() + "/loja" + std::to_string(++n) + ".fdb";
        caminho_ = Servidor().Caminho(arquivo_);
        CriarLojaNoServidor(caminho_);
        pasta_ = std::make_unique<TPastaTemp>("etiq-estacao");
        DefinirDiretorioSistema(pasta_->caminho.string());
        GravarConfig("PATH MERKOR", caminho_);
        DefinirInterfaceUsuario(&iu_);
    }
    void TearDown() override {
        dtm_.reset();
        outra_.reset();
        DefinirInterfaceUsuario(nullptr);
        DefinirDiretorioSistema("");
        pasta_.reset();
    }
    TdtmAplicativo& Dtm() {
        if (!dtm_) dtm_ = std::make_unique<TdtmAplicativo>();
        return *dtm_;
    }
    TConexao& Outra() {
        if (!outra_) outra_ = std::make_unique<TConexao>(caminho_);
        return *outra_;
    }
    void Enfileirar(int codigo, const std::string& nome) {
        Dtm().INSERTFILE("EtiquetaRead", {"CODIGO", std::to_string(codigo), "NOME", nome, "QUANTIDADE", "0"});
    }

    std::string arquivo_, caminho_;
    std::unique_ptr<TPastaTemp> pasta_;
    TInterfaceGravada iu_;
    std::unique_ptr<TdtmAplicativo> dtm_;
    std::unique_ptr<TConexao> outra_;
};

TEST_F(ServidorDados, OModuloDeDadosTrabalhaPeloServidor) {
    TdtmAplicativo& dtm = Dtm();
    Ajusta_BD(dtm);
    EXPECT_TRUE(dtm.dtbAplicativo.Conectado());
    EXPECT_EQ(iu_.eventos, (std::vector<std::string>{"Mostra", "Esconde"}));  // the connect was waited for in view
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    Enfileirar(1, "CAFÉ MOÍDO");
    Enfileirar(2, "AÇÚCAR");
    EXPECT_EQ(Outra().Texto("select count(*) from etiquetaread"), "0");  // not committed yet
    ASSERT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(Outra().Texto("select count(*) from etiquetaread"), "2");
    EXPECT_EQ(Outra().Texto("select nome from etiquetaread where codigo = 1"), "CAFÉ MOÍDO");
    ASSERT_TRUE(dtm.SelectFile("2", "EtiquetaRead", "CODIGO=2"));
    EXPECT_EQ(dtm.qrySelect2.FieldByName("NOME").AsString(), "AÇÚCAR");
}

struct CasoLogin {
    const char* nome;
    const char* usuario;  // USUARIO BD; empty: the key is left out
    const char* senha;    // SENHA BD
    bool conecta;
};

class LoginPeloConfigEtq : public ServidorDados, public ::testing::WithParamInterface<CasoLogin> {};

TEST_P(LoginPeloConfigEtq, UsuarioESenhaDoConfigEtqOuOsDoPrograma) {
    const CasoLogin& c = GetParam();
    // A user of the shop's own server, with its own password.
    Outra().Executar("create or alter user ETIQUETAS password 'Loja#2026' using plugin Srp");
    if (*c.usuario) GravarConfig("USUARIO BD", c.usuario);
    if (*c.senha) GravarConfig("SENHA BD", c.senha);
    if (c.conecta) {
        EXPECT_TRUE(TemColunaSoNome(Dtm()));
        EXPECT_EQ(Outra().Texto("select count(*) from mon$attachments where mon$user = '" +
                                std::string(*c.usuario ? c.usuario : "SYSDBA") + "' and mon$attachment_id <> current_connection"),
                  "1");
        return;
    }
    const std::string msg = MensagemDe<fb::EFbConexao>([&] { TemColunaSoNome(Dtm()); });
    EXPECT_NE(msg.find(caminho_), std::string::npos) << msg;
    EXPECT_NE(msg.find("recusou o usuário e a senha"), std::string::npos) << msg;
    // The user the connection sent: the program's own when the key is left out.
    EXPECT_NE(msg.find("(usuário \"" + std::string(*c.usuario ? c.usuario : "Sysdba") + "\")"), std::string::npos) << msg;
    EXPECT_NE(msg.find("USUARIO BD"), std::string::npos) << msg;
    EXPECT_EQ(msg.find(c.senha), std::string::npos) << "a senha aparece na mensagem: " << msg;
    EXPECT_EQ(msg.find("password"), std::string::npos) << msg;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LoginPeloConfigEtq,
    ::testing::Values(CasoLogin{"PadraoDoPrograma", "", "", true},
                      CasoLogin{"UsuarioDaLoja", "ETIQUETAS", "Loja#2026", true},
                      CasoLogin{"SenhaErrada", "SYSDBA", "senha-errada-123", false},
                      CasoLogin{"SoASenhaTrocada", "", "Loja#2026", false}),
    [](const auto& i) { return std::string(i.param.nome); });

// A listening socket whose accept queue is full: the handshakes of new
// clients go unanswered, as with a server that hangs or a network that drops.
class TPortaMuda {
public:
    TPortaMuda() {
        escuta_ = Vincular(0, porta_);
        ::listen(escuta_, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(porta_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int i = 0; i < 3; ++i) {
            int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            clientes_.push_back(c);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~TPortaMuda() {
        for (int c : clientes_) ::close(c);
        ::close(escuta_);
    }
    int Porta() const { return porta_; }

private:
    int escuta_ = -1, porta_ = 0;
    std::vector<int> clientes_;
};

TEST(ServidorInalcancavel, NinguemNaPortaFalhaLogoNomeandoOBanco) {
    TPastaTemp pasta("etiq-inalcancavel");
    DefinirDiretorioSistema(pasta.caminho.string());
    const std::string caminho = "127.0.0.1/" + std::to_string(PortaLivre()) + ":C:\\MERKOR\\DADOS.FDB";
    GravarConfig("PATH MERKOR", caminho);
    TInterfaceGravada iu;
    DefinirInterfaceUsuario(&iu);
    {
        TdtmAplicativo dtm;
        const auto inicio = std::chrono::steady_clock::now();
        const std::string msg = MensagemDe<fb::EFbConexao>([&] { Ajusta_BD(dtm); });
        EXPECT_LT(Segundos(inicio), 2.0);
        EXPECT_NE(msg.find("\"" + caminho + "\""), std::string::npos) << msg;
        EXPECT_EQ(iu.eventos, (std::vector<std::string>{"Mostra", "Esconde"}));
    }
    DefinirInterfaceUsuario(nullptr);
    DefinirDiretorioSistema("");
}

// Ajusta_BD used to swallow the failure and the next table tried again: each
// attempt waited out the system's TCP retries (over two minutes).
TEST(ServidorInalcancavel, HandshakeSemRespostaFalhaUmaVezDentroDoTempoLimite) {
    TPortaMuda muda;
    TPastaTemp pasta("etiq-inalcancavel");
    DefinirDiretorioSistema(pasta.caminho.string());
    const std::string caminho = "127.0.0.1/" + std::to_string(muda.Porta()) + ":C:\\MERKOR\\DADOS.FDB";
    GravarConfig("PATH MERKOR", caminho);
    TInterfaceGravada iu;
    DefinirInterfaceUsuario(&iu);
    {
        TdtmAplicativo dtm;  // the program's own time-out: 10 s
        const auto inicio = std::chrono::steady_clock::now();
        const std::string msg = MensagemDe<fb::EFbConexao>([&] { Ajusta_BD(dtm); });
        const double s = Segundos(inicio);
        EXPECT_GE(s, 9.0);
        EXPECT_LT(s, 11.5);
        EXPECT_NE(msg.find("\"" + caminho + "\""), std::string::npos) << msg;
        EXPECT_NE(msg.find("não respondeu em 10 s"), std::string::npos) << msg;
        EXPECT_EQ(iu.eventos, (std::vector<std::string>{"Mostra", "Esconde"}));
    }
    DefinirInterfaceUsuario(nullptr);
    DefinirDiretorioSistema("");
}

TEST_F(ServidorDados, ServidorCongeladoAoConectarFalhaDentroDoTempoLimite) {
    Servidor().Congelar();
    const auto inicio = std::chrono::steady_clock::now();
    std::string msg;
    {
        TdtmAplicativo dtm;
        dtm.dtbAplicativo.SetTempoLimiteConexao(3);
        msg = MensagemDe<fb::EFbConexao>([&] { Ajusta_BD(dtm); });
    }
    const double s = Segundos(inicio);
    Servidor().Descongelar();
    EXPECT_LT(s, 4.5);
    EXPECT_NE(msg.find("\"" + caminho_ + "\""), std::string::npos) << msg;
    EXPECT_NE(msg.find("não respondeu em 3 s"), std::string::npos) << msg;
    // Thawed, the same program goes on.
    EXPECT_TRUE(TemColunaSoNome(Dtm()));
}

// Where the server dies: in the middle of the batch's inserts, or right
// before the commit that ends it.
struct CasoQueda {
    const char* nome;
    bool naHoraDoCommit;
};

class ServidorMorto : public ServidorDados, public ::testing::WithParamInterface<CasoQueda> {};

TEST_P(ServidorMorto, AOperacaoFalhaClaramenteENadaFicaPelaMetade) {
    // The queue as another batch left it.
    TdtmAplicativo& dtm = Dtm();
    Enfileirar(1, "ANTIGA 1");
    Enfileirar(2, "ANTIGA 2");
    ASSERT_TRUE(dtm.dtmCommit());

    // A new batch: empty the queue, insert, not yet committed.
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    dtm.DeleteRegistro("EtiquetaMrg", "1=1");
    for (int i = 10; i < 60; ++i) Enfileirar(i, "NOVA " + std::to_string(i));
    Servidor().Matar();

    const auto inicio = std::chrono::steady_clock::now();
    std::string msg;
    if (GetParam().naHoraDoCommit) {
        EXPECT_FALSE(dtm.dtmCommit());
        ASSERT_EQ(iu_.eventos.size(), 1u);
        msg = iu_.eventos[0];
    } else {
        msg = MensagemDe<fb::EFbConexao>([&] { Enfileirar(60, "NOVA 60"); });
    }
    EXPECT_LT(Segundos(inicio), 5.0);
    EXPECT_NE(msg.find("\"" + caminho_ + "\""), std::string::npos) << msg;
    EXPECT_NE(msg.find("as alterações não gravadas foram perdidas"), std::string::npos) << msg;
    EXPECT_FALSE(dtm.dtbAplicativo.Conectado());

    // The server comes back; the program was never restarted.
    Servidor().Iniciar();
    ASSERT_TRUE(Servidor().Disponivel()) << Servidor().Motivo();
    EXPECT_EQ(Outra().Texto("select list(nome, '|') from (select nome from etiquetaread order by codigo)"),
              "ANTIGA 1|ANTIGA 2");

    // The next batch on the same module connects again by itself.
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    Enfileirar(70, "DEPOIS");
    EXPECT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(Outra().Texto("select list(nome, '|') from etiquetaread"), "DEPOIS");
}

INSTANTIATE_TEST_SUITE_P(Casos, ServidorMorto,
                         ::testing::Values(CasoQueda{"NoMeioDoLote", false}, CasoQueda{"NaHoraDoCommit", true}),
                         [](const auto& i) { return std::string(i.param.nome); });

TEST_F(ServidorDados, ConflitoNowaitEntreDuasEstacoesNaoPerdeNenhumaEdicao) {
    Enfileirar(1, "CAFE");
    ASSERT_TRUE(Dtm().dtmCommit());

    // The other workstation edits the row and holds its transaction open.
    const std::string liberar = pasta_->caminho.string() + "/liberar";
    TProcesso outra({g_programa, "--estacao", pasta_->caminho.string(),
                     "UPDATE EtiquetaRead SET QUANTIDADE = 5 WHERE CODIGO = 1", liberar},
                    pasta_->caminho.string());
    ASSERT_TRUE(outra.EsperarTexto("alterado", 20)) << outra.Saida();

    std::string msg;
    try {
        Dtm().UPDATEFILE("EtiquetaRead", "QUANTIDADE = 7", "CODIGO = 1");
        FAIL() << "a edição concorrente não foi recusada";
    } catch (const fb::EFbErro& e) {
        EXPECT_TRUE(e.ConflitoDeBloqueio()) << e.what();
        msg = e.what();
    }
    // The server's conflict, in the operator's words.
    EXPECT_NE(msg.find("conflito de atualização"), std::string::npos) << msg;

    Gravar(liberar, "");
    ASSERT_TRUE(outra.Esperar(20)) << outra.Saida();
    EXPECT_EQ(outra.Status(), 0) << outra.Saida();
    EXPECT_EQ(Outra().Texto("select quantidade from etiquetaread where codigo = 1"), "5.000");

    // Tried again, this workstation's edit goes in on top of the other.
    Dtm().UPDATEFILE("EtiquetaRead", "QUANTIDADE = QUANTIDADE + 7", "CODIGO = 1");
    ASSERT_TRUE(Dtm().dtmCommit());
    EXPECT_EQ(Outra().Texto("select quantidade from etiquetaread where codigo = 1"), "12.000");
}

// The other workstation: runs one change through the program's data module,
// says so, holds the transaction until the file `liberar` appears, commits.
int Estacao(const std::string& pasta, const std::string& sql, const std::string& liberar) {
    DefinirDiretorioSistema(pasta);
    TdtmAplicativo dtm;
    dtm.qryprocesso.Add(sql);
    dtm.qryprocesso.ExecSQL();
    std::cout << "alterado" << std::endl;
    for (int i = 0; i < 3000 && !std::filesystem::exists(liberar); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!dtm.dtmCommit()) return 1;
    std::cout << "gravado" << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--estacao") {
        try {
            return Estacao(argv[2], argv[3], argv[4]);
        } catch (const std::exception& e) {
            std::cout << "erro: " << e.what() << std::endl;
            return 1;
        }
    }
    g_programa = std::filesystem::canonical("/proc/self/exe").string();
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-dados");
}
