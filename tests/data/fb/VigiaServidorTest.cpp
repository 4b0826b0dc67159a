// The watch over calls that wait on a server, against a stand-in that takes
// connections on the loopback and never answers (or answers every probe),
// with a clock the test moves by hand: no Firebird binary, no wall-clock windows.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "PastaTemporaria.h"
#include "common/InterfaceUsuario.h"
#include "data/fb/FbCliente.h"
#include "data/fb/VigiaServidor.h"
#include "suporte/Suporte.h"

namespace {

using std::chrono::milliseconds;

// Moves only when the test says; the watch looks at it every 2 ms of real
// time. One for the whole program, never going back: the watch's thread
// outlives every test.
class TRelogioManual final : public fb::TRelogioVigia {
public:
    static TRelogioManual& Instancia() {
        static auto* r = new TRelogioManual;
        return *r;
    }
    time_point Agora() const override { return time_point(milliseconds(ms_.load())); }
    milliseconds Fatia(milliseconds resta) const override { return std::min(resta, milliseconds(2)); }
    // The watch is idle: it wants its next probe `resta` from now.
    milliseconds FatiaOciosa(milliseconds resta) const override {
        proxima_ = ms_.load() + resta.count();
        return Fatia(resta);
    }
    // When the idle watch wants its next probe, in the test's milliseconds.
    int64_t ProximaSonda() const { return proxima_.load() - inicio_.load(); }
    // A test's time 0, an hour after the last.
    void Comecar() {
        inicio_ = ms_.load() + 3'600'000;
        ms_ = inicio_.load();
    }
    // Milliseconds since the test began.
    void Ir(int64_t ms) { ms_ = inicio_.load() + ms; }

private:
    std::atomic<int64_t> ms_{1'000'000'000}, inicio_{1'000'000'000};
    mutable std::atomic<int64_t> proxima_{0};
};

// Waits up to 10 s of real time for `condicao` (a step of the watch's thread).
bool Esperar(const std::function<bool()>& condicao) {
    for (int i = 0; i < 2000; ++i) {
        if (condicao()) return true;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return condicao();
}

// A server on the loopback: takes every connection and keeps it; answers
// nothing, or, when `responde`, answers each request with four bytes.
class TServidorFalso {
public:
    explicit TServidorFalso(bool responde = false) : responde_(responde) {
        escuta_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t t = sizeof a;
        ::bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(escuta_, 64);
        ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &t);
        porta_ = ntohs(a.sin_port);
        laco_ = std::thread([this] { Laco(); });
    }
    ~TServidorFalso() {
        fim_ = true;
        ::shutdown(escuta_, SHUT_RDWR);
        laco_.join();
        ::close(escuta_);
        std::lock_guard<std::mutex> g(m_);
        for (int c : aceitas_) ::close(c);
    }
    int Porta() const { return porta_; }
    std::string PortaTexto() const { return std::to_string(porta_); }
    int Aceitas() {
        std::lock_guard<std::mutex> g(m_);
        return static_cast<int>(aceitas_.size());
    }
    // Ends the server's side of the n-th connection (from 0): the client's wait returns.
    void Encerrar(int n) {
        std::lock_guard<std::mutex> g(m_);
        ::shutdown(aceitas_.at(static_cast<size_t>(n)), SHUT_RDWR);
    }

private:
    void Laco() {
        for (;;) {
            const int c = ::accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0 || fim_) {
                if (c >= 0) ::close(c);
                return;
            }
            if (responde_) {
                // A probe speaks at once; the attachment's connection says nothing here.
                pollfd p{c, POLLIN, 0};
                char b[512];
                if (::poll(&p, 1, 200) > 0 && ::recv(c, b, sizeof b, 0) > 0)
                    (void)::send(c, "\0\0\0\3", 4, MSG_NOSIGNAL);
            }
            std::lock_guard<std::mutex> g(m_);
            aceitas_.push_back(c);
        }
    }
    bool responde_;
    int escuta_ = -1, porta_ = 0;
    std::atomic<bool> fim_{false};
    std::mutex m_;
    std::vector<int> aceitas_;
    std::thread laco_;
};

// A connection of "the attachment" to the server, and how the watch knows it.
struct TConexaoFalsa {
    explicit TConexaoFalsa(const TServidorFalso& s) {
        const auto antes = fb::SoquetesParaPorta(s.Porta());
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(s.Porta()));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        const auto depois = fb::SoquetesParaPorta(s.Porta());
        std::set_difference(depois.begin(), depois.end(), antes.begin(), antes.end(), std::back_inserter(ids));
    }
    ~TConexaoFalsa() {
        ::shutdown(fd, SHUT_RDWR);  // a call still waiting on it returns
        ::close(fd);
    }
    // Shut down by the watch (or ended by the server): a read returns at once.
    bool Cortada() const {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    }
    // The call in progress: waits for the server's answer.
    void AguardarResposta() const {
        char c;
        (void)::recv(fd, &c, 1, 0);
    }
    int fd = -1;
    std::vector<fb::TIdSoquete> ids;
};

std::mutex g_mAvisos;
std::vector<std::string> g_avisos;
void Avisar(const std::string& texto) {
    std::lock_guard<std::mutex> g(g_mAvisos);
    g_avisos.push_back(texto);
}
std::vector<std::string> Avisos() {
    std::lock_guard<std::mutex> g(g_mAvisos);
    return g_avisos;
}

class Vigia : public ::testing::Test {
protected:
    void SetUp() override {
        relogio_.Comecar();
        fb::DefinirRelogioVigia(&relogio_);
        fb::DefinirAvisoSemResposta(&Avisar);
        std::lock_guard<std::mutex> g(g_mAvisos);
        g_avisos.clear();
    }
    void TearDown() override {
        if (chamada_.joinable()) chamada_.join();
        fb::DefinirAvisoSemResposta(nullptr);
        fb::DefinirRelogioVigia(nullptr);
    }
    // The call, on a thread of its own: waits for the server on `conexao`.
    void Chamar(std::shared_ptr<const fb::TVigia> vigia, int limite, const TConexaoFalsa& conexao) {
        chamada_ = std::thread([this, vigia, limite, &conexao] {
            fb::TVigilancia v(vigia, limite);
            v.Executar([&] {
                emCurso_ = true;
                conexao.AguardarResposta();
            });
            abandono_ = v.Abandono();
            segundos_ = v.SegundosAbandono();
            voltou_ = true;
        });
        // Watched from the clock's present on.
        ASSERT_TRUE(Esperar([&] { return emCurso_.load(); }));
    }
    // Real time for the watch's thread to act on a step of the clock that shows nothing.
    static void Folga() { std::this_thread::sleep_for(milliseconds(150)); }

    TRelogioManual& relogio_ = TRelogioManual::Instancia();
    std::thread chamada_;
    std::atomic<bool> emCurso_{false}, voltou_{false};
    std::atomic<fb::TAbandono> abandono_{fb::TAbandono::Nenhum};
    std::atomic<int> segundos_{-1};
};

// Limit 10 s: the first probe at 1 s, each given 1.666 s; silence told once,
// the connection cut at 10 s without an answer, and only that one.
TEST_F(Vigia, LinhaDoTempoDeUmServidorCalado) {
    TServidorFalso servidor;
    TConexaoFalsa nossa(servidor), outra(servidor);
    ASSERT_EQ(nossa.ids.size(), 1u);
    auto vigia = std::make_shared<const fb::TVigia>("127.0.0.1", servidor.PortaTexto(), nossa.ids);
    const int contasDoServidor = 2;  // ours and the other
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == contasDoServidor; }));
    Chamar(vigia, 10, nossa);

    relogio_.Ir(900);
    Folga();
    EXPECT_EQ(servidor.Aceitas(), contasDoServidor) << "sondado antes de 1 s";
    relogio_.Ir(1000);
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == contasDoServidor + 1; })) << "a sonda de 1 s não veio";

    relogio_.Ir(2600);  // the probe still has until 2.666 s
    Folga();
    EXPECT_TRUE(Avisos().empty());
    relogio_.Ir(2700);
    ASSERT_TRUE(Esperar([&] { return !Avisos().empty(); }));
    const std::string nome = "O servidor 127.0.0.1 (porta " + servidor.PortaTexto() + ")";
    EXPECT_EQ(Avisos(), std::vector<std::string>{nome + " não responde há 2 s.\nA operação será abandonada aos 10 s "
                                                        "sem resposta."});
    // Asked again at once (the next probe was due): a second connection.
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == contasDoServidor + 2; }));

    relogio_.Ir(9900);
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == contasDoServidor + 3; }));
    EXPECT_FALSE(voltou_.load());
    EXPECT_FALSE(nossa.Cortada());

    relogio_.Ir(10000);
    ASSERT_TRUE(Esperar([&] { return voltou_.load(); })) << "a chamada não foi abandonada aos 10 s";
    EXPECT_EQ(abandono_.load(), fb::TAbandono::Silencio);
    EXPECT_EQ(segundos_.load(), 10);
    EXPECT_TRUE(nossa.Cortada());
    EXPECT_FALSE(outra.Cortada()) << "a outra conexão ao mesmo servidor foi cortada";
    EXPECT_EQ(Avisos().size(), 1u);
}

// A server that answers every probe: a call of any length goes on, asked
// once a second. The clock moves only while the watch is idle, to the moment
// it wants its next probe.
TEST_F(Vigia, ServidorQueRespondeNuncaTemAChamadaCortada) {
    TServidorFalso servidor(true);
    TConexaoFalsa nossa(servidor);
    auto vigia = std::make_shared<const fb::TVigia>("127.0.0.1", servidor.PortaTexto(), nossa.ids);
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 1; }));
    Chamar(vigia, 10, nossa);
    int64_t agora = 0;
    for (int sondas = 1; sondas <= 30; ++sondas) {
        ASSERT_TRUE(Esperar([&] { return relogio_.ProximaSonda() > agora; })) << "a vigia não voltou a esperar";
        EXPECT_EQ(relogio_.ProximaSonda(), sondas * 1000) << "sonda " << sondas;
        agora = relogio_.ProximaSonda();
        relogio_.Ir(agora);
        ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 1 + sondas; })) << "sem sonda aos " << agora << " ms";
    }
    ASSERT_TRUE(Esperar([&] { return relogio_.ProximaSonda() > agora; }));
    EXPECT_FALSE(voltou_.load());
    EXPECT_FALSE(nossa.Cortada());
    EXPECT_TRUE(Avisos().empty());
    servidor.Encerrar(0);  // the server's answer to the call
    ASSERT_TRUE(Esperar([&] { return voltou_.load(); }));
    EXPECT_EQ(abandono_.load(), fb::TAbandono::Nenhum);
}

// A call that returns while a probe is out: the probe's silence comes after
// the call's end and must not cut the healthy connection.
TEST_F(Vigia, ChamadaQueVoltouNaoECortadaPelaSondaQueEstavaFora) {
    TServidorFalso servidor;
    TConexaoFalsa nossa(servidor);
    auto vigia = std::make_shared<const fb::TVigia>("127.0.0.1", servidor.PortaTexto(), nossa.ids);
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 1; }));
    fb::TAbandono abandono = fb::TAbandono::Nenhum;
    {
        fb::TVigilancia v(vigia, 10);
        v.Executar([&] {
            relogio_.Ir(1000);
            ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 2; }));  // the probe is out
        });
        // Returned; the limit passes before the watch lets go of the call.
        relogio_.Ir(10000);
        Folga();
        abandono = v.Abandono();
    }
    EXPECT_EQ(abandono, fb::TAbandono::Nenhum);
    EXPECT_FALSE(nossa.Cortada()) << "a conexão de uma chamada que já voltou foi cortada";
}

// The attachment's socket was not told apart: nothing is cut (another
// connection of the program to the same server would go with it), the
// operator is told, and the call waits on until the server answers.
TEST_F(Vigia, SemIdentificarOSoqueteNadaECortadoEIssoEDito) {
    TServidorFalso servidor;
    TConexaoFalsa nossa(servidor), outra(servidor);
    auto vigia = std::make_shared<const fb::TVigia>("127.0.0.1", servidor.PortaTexto(), std::vector<fb::TIdSoquete>{});
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 2; }));
    Chamar(vigia, 2, nossa);
    relogio_.Ir(200);  // first probe at a tenth of the limit
    ASSERT_TRUE(Esperar([&] { return servidor.Aceitas() == 3; }));
    relogio_.Ir(2000);
    const std::string semCorte = "O servidor 127.0.0.1 (porta " + servidor.PortaTexto() +
                                 ") não responde há 2 s, mas a conexão com ele não pôde ser identificada para ser "
                                 "abandonada: a operação continua esperando o servidor.";
    ASSERT_TRUE(Esperar([&] {
        const auto a = Avisos();
        return std::find(a.begin(), a.end(), semCorte) != a.end();
    })) << (Avisos().empty() ? "" : Avisos().back());
    relogio_.Ir(5000);
    Folga();
    EXPECT_FALSE(voltou_.load());
    EXPECT_FALSE(nossa.Cortada());
    EXPECT_FALSE(outra.Cortada());
    const auto avisos = Avisos();
    EXPECT_EQ(std::count(avisos.begin(), avisos.end(), semCorte), 1);

    servidor.Encerrar(0);  // the server answers after all
    ASSERT_TRUE(Esperar([&] { return voltou_.load(); }));
    EXPECT_EQ(abandono_.load(), fb::TAbandono::Nenhum);
}

// A screen that waits for calls beside it and, while it waits, lets an event
// try another database call (a repaint, an activation).
class TEsperaIntrometida final : public TInterfaceUsuario {
public:
    void Mensagem(const std::string&) override {}
    bool Confirma(const std::string&) override { return false; }
    void MostraAguarde() override {}
    void RepintaAguarde() override {}
    void EscondeAguarde() override {}
    bool AcompanhaServidor() const override { return true; }
    void AguardaServidor(TEsperaServidor& chamada) override {
        emEspera = fb::ChamadaEmEspera();
        for (const auto& intrometida : intrometidas) recusas.push_back(MensagemDe<EDatabaseError>(intrometida));
        while (!chamada.AguardarConclusao(1000)) {}
    }
    std::vector<std::function<void()>> intrometidas;
    std::vector<std::string> recusas;
    bool emEspera = false;
};

TEST_F(Vigia, DuranteAEsperaNenhumaOutraChamadaComeca) {
    fb::DefinirRelogioVigia(nullptr);  // the call is short; the steady clock is enough
    TServidorFalso servidor;
    TConexaoFalsa nossa(servidor);
    auto vigia = std::make_shared<const fb::TVigia>("127.0.0.1", servidor.PortaTexto(), nossa.ids);
    // A database on this machine: its calls do not even need a server.
    PastaTemporaria pasta;
    fb::TDatabase local;
    local.SetCaminho(pasta.Arquivo("local.fdb"));
    local.SetParametros(ParametrosTeste());
    local.CriarBanco();
    fb::TTransaction tr(local, {"read_committed", "rec_version", "nowait"});
    fb::TQuery q(local, tr);
    q.Add("select 1 from rdb$database");

    TEsperaIntrometida tela;
    std::atomic<int> aoLado{0};
    tela.intrometidas = {
        [&] { fb::TVigilancia(vigia, 10).Executar([&] { ++aoLado; }); },
        [&] { q.Open(); },
    };
    DefinirInterfaceUsuario(&tela);
    const std::thread::id aqui = std::this_thread::get_id();
    std::thread::id onde;
    const int r = fb::TVigilancia(vigia, 10).Executar([&] {
        onde = std::this_thread::get_id();
        return 42;
    });
    DefinirInterfaceUsuario(nullptr);

    EXPECT_EQ(r, 42);
    EXPECT_NE(onde, aqui) << "a chamada não correu ao lado da tela";
    EXPECT_TRUE(tela.emEspera);
    EXPECT_EQ(aoLado.load(), 0) << "uma chamada correu ao lado da que estava em curso";
    const std::string recusa =
        "Outra operação no banco de dados está aguardando o servidor: esta não foi iniciada. Tente de novo quando "
        "aquela terminar.";
    EXPECT_EQ(tela.recusas, (std::vector<std::string>{recusa, recusa}));
    EXPECT_FALSE(q.Active());

    // The wait over, calls start again.
    EXPECT_FALSE(fb::ChamadaEmEspera());
    q.Open();
    EXPECT_FALSE(q.Eof());
    q.Close();
}

}  // namespace
