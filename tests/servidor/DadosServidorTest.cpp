// The data layer on a real Firebird server: login with the configured user,
// unreachable and frozen servers, a server killed or stopped in the middle of
// a batch, and a lock conflict between two workstations (two processes).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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
#include "data/fb/VigiaServidor.h"
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
                                std::string(*c.usuario ? c.usuario : "SYSDBA") +
                                "' and mon$attachment_id <> current_connection"),
                  "1");
        return;
    }
    const std::string msg = MensagemDe<fb::EFbConexao>([&] { TemColunaSoNome(Dtm()); });
    EXPECT_NE(msg.find(caminho_), std::string::npos) << msg;
    EXPECT_NE(msg.find("recusou o usuário e a senha"), std::string::npos) << msg;
    // The user the connection sent: the program's own when the key is left out.
    EXPECT_NE(msg.find("(usuário \"" + std::string(*c.usuario ? c.usuario : "Sysdba") + "\")"), std::string::npos)
        << msg;
    EXPECT_NE(msg.find("USUARIO BD"), std::string::npos) << msg;
    EXPECT_EQ(msg.find(c.senha), std::string::npos) << "a senha aparece na mensagem: " << msg;
    EXPECT_EQ(msg.find("password"), std::string::npos) << msg;
}

INSTANTIATE_TEST_SUITE_P(Casos, LoginPeloConfigEtq,
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

using Relogio = std::chrono::steady_clock;
constexpr int kLimite = 2;  // seconds of silence, instead of 30

// A server that stops answering in the middle of work (SIGSTOP: its kernel
// still takes connections, its process answers nothing).
class ServidorCalado : public ServidorDados {
protected:
    void SetUp() override {
        ServidorDados::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Dtm().dtbAplicativo.SetTempoSemResposta(kLimite);
    }
    std::string Fila() {
        return Outra().Texto("select list(nome, '|') from (select nome from etiquetaread order by codigo)");
    }
};

// The probe's clock: every reading moves it 1 ms and the probe waits at most
// 2 ms of real time between two readings, so a deadline is met after a known
// number of turns however slow the machine is, and going past it shows.
class TRelogioDePassos final : public fb::TRelogioVigia {
public:
    time_point Agora() const override { return time_point(std::chrono::milliseconds(ms_.fetch_add(1))); }
    std::chrono::milliseconds Fatia(std::chrono::milliseconds resta) const override {
        return std::min(resta, std::chrono::milliseconds(2));
    }

private:
    mutable std::atomic<int64_t> ms_{1'000'000'000};
};

TEST(SondaDoServidor, SoOProcessoDoServidorRespondeAoPedidoDeConexao) {
    EXIGIR_SERVIDOR();
    TRelogioDePassos relogio;
    fb::DefinirRelogioVigia(&relogio);
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
        const auto inicio = relogio.Agora();
        EXPECT_EQ(fb::SondarServidor("127.0.0.1", porta, inicio + std::chrono::milliseconds(500), c.protocolo),
                  c.esperado)
            << c.nome;
        // Within its 500 ms: the reading that found the deadline gone, and this one.
        EXPECT_LE(relogio.Agora() - inicio, std::chrono::milliseconds(502)) << c.nome;
    }
    fb::DefinirRelogioVigia(nullptr);
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
    TdtmAplicativo& dtm = Dtm();
    Enfileirar(1, "ANTIGA 1");
    Enfileirar(2, "ANTIGA 2");
    ASSERT_TRUE(dtm.dtmCommit());
    if (GetParam().momento != TMomento::Leitura) {
        dtm.DeleteRegistro("EtiquetaRead", "1=1");
        for (int i = 10; i < 40; ++i) Enfileirar(i, "NOVA " + std::to_string(i));
    }

    // The seconds of the timeline are the fake server's tests (data/fb, with a
    // clock moved by hand); here the real server's stop and its unwinding. A
    // call that was not abandoned would return once the thaw comes, without
    // the message.
    std::string msg;
    {
        TCongelamento gelo(kLimite + 15);
        switch (GetParam().momento) {
            case TMomento::Leitura:
                msg = MensagemDe<fb::EFbConexao>([&] { dtm.SelectFile("1", "EtiquetaRead", "1=1"); });
                break;
            case TMomento::Alteracao: msg = MensagemDe<fb::EFbConexao>([&] { Enfileirar(40, "NOVA 40"); }); break;
            case TMomento::Commit:
                EXPECT_FALSE(dtm.dtmCommit());
                ASSERT_FALSE(iu_.eventos.empty());
                msg = iu_.eventos.back();
                EXPECT_EQ(msg.rfind("Mensagem:", 0), 0u) << msg;
                msg = msg.substr(std::string("Mensagem:").size());
                break;
        }
    }
    const std::string servidor = "O servidor 127.0.0.1 (porta " + std::to_string(Servidor().Porta()) +
                                 ") do banco de dados \"" + caminho_ + "\" não responde há " + std::to_string(kLimite) +
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

// A screen that waits beside every call and, while it waits, has an event
// read the queue through the same module (as a repaint of its grid would).
class TTelaIntrometida final : public TInterfaceUsuario {
public:
    void Mensagem(const std::string& texto) override { mensagens.push_back(texto); }
    bool Confirma(const std::string&) override { return false; }
    void MostraAguarde() override {}
    void RepintaAguarde() override {}
    void EscondeAguarde() override {}
    bool AcompanhaServidor() const override { return true; }
    void AguardaServidor(TEsperaServidor& chamada) override {
        if (dtm) recusas.push_back(MensagemDe<EDatabaseError>([&] { dtm->SelectFile("2", "EtiquetaRead", "1=1"); }));
        while (!chamada.AguardarConclusao(1000)) {}
    }
    TdtmAplicativo* dtm = nullptr;
    std::vector<std::string> recusas, mensagens;
};

TEST_F(ServidorDados, DuranteAEsperaDoServidorNenhumaOutraChamadaComeca) {
    TTelaIntrometida tela;
    DefinirInterfaceUsuario(&tela);
    TdtmAplicativo& dtm = Dtm();
    tela.dtm = &dtm;
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    Enfileirar(1, "CAFE");
    const bool gravou = dtm.dtmCommit();
    tela.dtm = nullptr;
    DefinirInterfaceUsuario(&iu_);

    EXPECT_TRUE(gravou);
    EXPECT_TRUE(tela.mensagens.empty());
    ASSERT_FALSE(tela.recusas.empty());
    for (const std::string& r : tela.recusas)
        EXPECT_EQ(r,
                  "Outra operação no banco de dados está aguardando o servidor: esta não foi iniciada. Tente de novo "
                  "quando aquela terminar.");
    EXPECT_FALSE(dtm.qrySelect2.Active());
    EXPECT_EQ(Outra().Texto("select list(nome, '|') from etiquetaread"), "CAFE");
    // Afterwards the same read goes through.
    ASSERT_TRUE(dtm.SelectFile("2", "EtiquetaRead", "1=1"));
    EXPECT_EQ(dtm.qrySelect2.FieldByName("NOME").AsString(), "CAFE");
}

// The panel's adjustment on a server that went away: said as every lost link is.
TEST_F(ServidorDados, AjusteDoIcmsComOServidorMortoDizQueAConexaoCaiu) {
    TdtmAplicativo& dtm = Dtm();
    ASSERT_TRUE(TemColunaSoNome(dtm));
    Servidor().Matar();
    const std::string msg = MensagemDe<fb::EFbConexao>([&] { AjustaTributosIcm(dtm); });
    Servidor().Iniciar();
    ASSERT_TRUE(Servidor().Disponivel()) << Servidor().Motivo();
    EXPECT_NE(msg.find("\"" + caminho_ + "\""), std::string::npos) << msg;
    for (const std::string& e : iu_.eventos) EXPECT_NE(e.rfind("Mensagem:", 0), 0u) << e;
}

// A statement that works longer than the limit on a server that answers.
TEST_F(ServidorCalado, ComandoLentoDeServidorQueRespondeNaoEhCortado) {
    TdtmAplicativo& dtm = Dtm();
    Enfileirar(1, "LENTA");
    const int ms = (kLimite + 2) * 1000;
    dtm.qryprocesso.Clear();
    dtm.qryprocesso.Add(
        "execute block as declare t0 timestamp; declare n integer = 0; begin "
        "t0 = cast('now' as timestamp); "
        "while (datediff(millisecond from t0 to cast('now' as timestamp)) < " +
        std::to_string(ms) + ") do n = n + 1; end");
    const auto inicio = Relogio::now();
    EXPECT_NO_THROW(dtm.qryprocesso.ExecSQL());
    EXPECT_GE(Segundos(inicio), ms / 1000.0 - 0.1);
    ASSERT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(Fila(), "LENTA");
    for (const std::string& e : iu_.eventos) EXPECT_NE(e.rfind("Mensagem:", 0), 0u) << e;
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
