// The TCP channel against listeners on 127.0.0.1.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "device/CdbDevice.h"
#include "device/CdbDeviceTCP.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/RelogioManual.h"
#include "suporte/Suporte.h"

namespace {

// Accepts one connection and returns everything it received until closed.
class Ouvinte {
public:
    explicit Ouvinte(int porta = 0) {
        fd_ = Vincular(porta, porta_);
        if (fd_ < 0) return;
        ::listen(fd_, 4);
        recebido_ = std::async(std::launch::async, [this] { return AceitarELer(fd_); });
    }
    ~Ouvinte() {
        if (fd_ >= 0) {
            ::shutdown(fd_, SHUT_RDWR);
            ::close(fd_);
        }
    }
    bool Ok() const { return fd_ >= 0; }
    int Porta() const { return porta_; }
    std::string Recebido() {
        if (recebido_.wait_for(std::chrono::seconds(5)) != std::future_status::ready) return "(nada chegou)";
        return recebido_.get();
    }

private:
    int fd_ = -1, porta_ = 0;
    std::future<std::string> recebido_;
};

}  // namespace

TEST(CanalTCP, EntregaOs256BytesSemAlteracao) {
    Ouvinte o;
    ASSERT_TRUE(o.Ok());
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1:" + std::to_string(o.Porta()));
    d.Ativar();
    d.EnviaString(TodosOsBytes());
    d.EnviaString("segunda");
    d.Desativar();
    EXPECT_EQ(o.Recebido(), TodosOsBytes() + "segunda");
}

TEST(CanalTCP, HostEPortaDaPorta) {
    struct Caso {
        const char* porta;
        const char* host;
        const char* ip;
    } casos[] = {
        {"TCP:192.168.0.50", "192.168.0.50", "9100"},
        {"TCP:impressora:", "impressora", "9100"},
        {"TCP:impressora:9101", "impressora", "9101"},
        {"tcp:10.0.0.1:123456", "10.0.0.1", "12345"},
        {"TCP:", "", "9100"},
    };
    for (const auto& c : casos) {
        std::string host, ip;
        TCdbDeviceTCP::SepararEndereco(c.porta, host, ip);
        EXPECT_EQ(host, c.host) << c.porta;
        EXPECT_EQ(ip, c.ip) << c.porta;
    }
}

TEST(CanalTCP, SemNumeroUsaAPorta9100) {
    Ouvinte o(9100);
    if (!o.Ok()) GTEST_SKIP() << "a porta 9100 de 127.0.0.1 já está em uso nesta estação";
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1");
    d.Ativar();
    d.EnviaString(TodosOsBytes());
    d.Desativar();
    EXPECT_EQ(o.Recebido(), TodosOsBytes());
}

TEST(CanalTCP, ConexaoRecusada) {
    int porta = 0;
    int reservada = Vincular(0, porta);  // bound, not listening: connections are refused
    ASSERT_GE(reservada, 0);
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1:" + std::to_string(porta));
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }),
              "Erro ao conectar em 127.0.0.1:" + std::to_string(porta) + ": Conexão recusada");
    EXPECT_FALSE(d.Ativo());
    ::close(reservada);
}

TEST(CanalTCP, ImpressoraQueNaoRespondeEsgotaOTempo) {
    // A listener whose queue is full drops new connection requests, as a
    // printer out of reach does.
    int porta = 0;
    int fd = Vincular(0, porta);
    ASSERT_GE(fd, 0);
    ::listen(fd, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<int> enchimento;
    for (int i = 0; i < 3; ++i) {
        int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
        enchimento.push_back(c);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    TCdbDevice d;
    d.SetTimeOut(500);
    d.SetPorta("TCP:127.0.0.1:" + std::to_string(porta));
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }),
              "Tempo esgotado ao conectar em 127.0.0.1:" + std::to_string(porta) + " (500 ms)");
    EXPECT_FALSE(d.Ativo());
    for (int c : enchimento) ::close(c);
    ::close(fd);
}

TEST(CanalTCP, ImpressoraQueParaDeLerEsgotaOTempo) {
    int porta = 0;
    int fd = Vincular(0, porta);
    ASSERT_GE(fd, 0);
    ::listen(fd, 1);  // accepted by the system, never read
    TCdbDevice d;
    d.SetTimeOut(300);
    d.SetPorta("TCP:127.0.0.1:" + std::to_string(porta));
    d.Ativar();
    EXPECT_EQ(MensagemDe([&] { d.EnviaString(std::string(64 << 20, 'x')); }),
              "Tempo esgotado ao enviar dados para 127.0.0.1:" + std::to_string(porta));
    d.Desativar();
    ::close(fd);
}

TEST(CanalTCP, EnderecoIncompleto) {
    TCdbDevice d;
    d.SetPorta("TCP:");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Endereço da impressora não informado na Porta TCP:");
    d.SetPorta("TCP:127.0.0.1:91x0");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Porta TCP inválida [91x0]: use um número de 1 a 65535");
}

TEST(CanalTCP, NumeroDePortaForaDe1a65535ERecusadoSemConectar) {
    int porta = 0;
    int fd = Vincular(0, porta);
    ASSERT_GE(fd, 0);
    ::listen(fd, 4);
    // Each of these used to reach some port after wrapping at 65536, this one among them.
    const std::string voltas[] = {
        std::to_string(porta + 65536), "65536", "99999", "0", "00000", "123456", "-1", "+9100", " 9100"};
    for (const auto& numero : voltas) {
        TCdbDevice d;
        d.SetPorta("TCP:127.0.0.1:" + numero);
        EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Porta TCP inválida [" + numero + "]: use um número de 1 a 65535");
        EXPECT_FALSE(d.Ativo());
    }
    pollfd p{fd, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 200), 0) << "uma conexão chegou";
    ::close(fd);
    // The bounds themselves are ports: 65535 is tried (and refused here, nobody listens on it).
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1:65535");
    const std::string m = MensagemDe([&] { d.Ativar(); });
    EXPECT_EQ(m.find("Porta TCP inválida"), std::string::npos) << m;
}

TEST(CanalTCP, EnviarSemConexaoFalha) {
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1:9");
    EXPECT_EQ(MensagemDe([&] { d.EnviaString("x"); }), "Conexão TCP não está aberta: TCP:127.0.0.1:9");
}

// A job counts as sent once the printer's side acknowledged all of it.
TEST(CanalTCP, ImpressoraQueNaoLeFalhaNoPrazoMesmoComOJobNoBuffer) {
    TImpressoraTeste impressora({.naoLer = true, .bufferRecepcao = 4096});
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetTimeOut(300);
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    // Far less than the sockets hold: before, this "went out" at once.
    const std::string m = MensagemDe([&] { d.EnviaString(std::string(64 * 1024, 'x')); });
    EXPECT_EQ(m.rfind("Tempo esgotado esperando a impressora 127.0.0.1:" + std::to_string(impressora.Porta()) +
                          " confirmar o recebimento de ",
                      0),
              0u)
        << m;
    d.Desativar();
}

// The same wait on the port's clock (5 ms a reading): it ends once that clock
// has run the whole time-out with nothing more acknowledged, however long the
// turns took on the wall clock, and the close that follows waits no longer
// than its own deadline on it either.
TEST(CanalTCP, EsperaDeEntregaCorreNoRelogioDaPorta) {
    TImpressoraTeste impressora({.naoLer = true, .bufferRecepcao = 4096});
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetTimeOut(1000);
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    TRelogioManual relogio(std::chrono::milliseconds(5));
    d.SetRelogio(&relogio);
    const std::string m = MensagemDe([&] { d.EnviaString(std::string(64 * 1024, 'x')); });
    const auto espera = relogio.Decorrido();
    EXPECT_EQ(m.rfind("Tempo esgotado esperando a impressora 127.0.0.1:" + std::to_string(impressora.Porta()) +
                          " confirmar o recebimento de ",
                      0),
              0u)
        << m;
    EXPECT_GE(espera, std::chrono::milliseconds(1000));
    // Restarted only while the first bytes were still moving into the printer's buffer.
    EXPECT_LT(espera, std::chrono::milliseconds(1100));
    d.Desativar();
    EXPECT_LE(relogio.Decorrido() - espera, std::chrono::milliseconds(TCdbDeviceTCP::kDrenagemMs + 10));
    d.SetRelogio(nullptr);
}

TEST(CanalTCP, ImpressoraLentaRecebeTudoPoisOPrazoContaSemProgresso) {
    TImpressoraTeste impressora({.lerPorVez = 2048, .pausaLeituraMs = 20, .bufferRecepcao = 4096});
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetTimeOut(300);  // the whole job takes longer than this
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    std::string job;
    for (int i = 0; i < 40 * 1024; ++i) job += static_cast<char>('a' + i % 26);
    d.EnviaString(job);
    d.Desativar();
    impressora.Parar();
    EXPECT_EQ(impressora.Recebido(), job);
}

TEST(CanalTCP, BytesNaoSolicitadosDaImpressoraNaoCortamOFimDoJob) {
    // Unread bytes at close() used to answer with a reset that dropped what
    // was still queued for a slow printer.
    TImpressoraTeste impressora(
        {.lerPorVez = 16384, .pausaLeituraMs = 2, .naoSolicitado = std::string(32 * 1024, '\x06')});
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    std::string job;
    for (int i = 0; i < 2 * 1024 * 1024; ++i) job += static_cast<char>(i % 251);
    d.EnviaString(job);
    d.EnviaString("fim");
    d.Desativar();
    impressora.Parar();
    EXPECT_EQ(impressora.Recebido(), job + "fim");
}

TEST(CanalTCP, ImpressoraQueFechaAposNBytesContaSoOsJobsConfirmados) {
    const size_t tamanho = 1000;
    for (long corte : {0L, 2500L, 5000L, 7999L, 60000L}) {
        TImpressoraTeste impressora({.fecharApos = corte, .bufferRecepcao = 4096});
        ASSERT_TRUE(impressora.Ok());
        TCdbDevice d;
        d.SetTimeOut(3000);
        d.SetPorta(impressora.Endereco());
        d.Ativar();
        size_t entregues = 0;
        std::string falha;
        for (int i = 0; i < 200 && falha.empty(); ++i) {
            falha = MensagemDe([&] { d.EnviaString(std::string(tamanho, static_cast<char>('A' + i % 26))); });
            if (falha == "(nada lançado)") {
                ++entregues;
                falha.clear();
            }
        }
        EXPECT_TRUE(d.EnvioFalhou()) << corte;
        const size_t naoConfirmados = static_cast<size_t>(d.EnviosNaoConfirmados());
        d.Desativar();
        impressora.Parar();
        EXPECT_FALSE(falha.empty()) << corte;
        EXPECT_GE(impressora.Recebido().size(), static_cast<size_t>(corte));
        // What the printer's stack took, and not one job more or less.
        EXPECT_EQ(entregues, impressora.BytesConfirmados() / tamanho) << corte << ": " << falha;
        // Of those, the ones it may not have read are not confirmed: none
        // that it did not read is left out, and at most its buffer's worth
        // (and the last job) that it did read is doubted.
        const size_t lidos = impressora.Recebido().size() / tamanho;
        ASSERT_LE(naoConfirmados, entregues) << corte;
        if (entregues > 0) {
            EXPECT_GE(naoConfirmados, 1u) << corte;
        }
        EXPECT_LE(entregues - naoConfirmados, lidos) << corte;
        EXPECT_LE(lidos - (entregues - naoConfirmados),
                  static_cast<size_t>(impressora.BufferRecepcaoEfetivo()) / tamanho + 1)
            << corte;
    }
}

// A job the port took and a failure elsewhere (not on the port): the
// printer has it, nothing is doubted.
TEST(CanalTCP, SemFalhaNaPortaOUltimoJobAindaEIncertoMasNaoFalhou) {
    TImpressoraTeste impressora;
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    EXPECT_EQ(d.EnviosNaoConfirmados(), 0);
    for (int i = 0; i < 5; ++i) d.EnviaString(std::string(1000, 'x'));
    EXPECT_FALSE(d.EnvioFalhou());
    // As of now: read or not, the last job is the one a failure would doubt.
    EXPECT_GE(d.EnviosNaoConfirmados(), 1);
    d.Desativar();
}

// A printer that never stops talking, from the connection's start and as its
// answer: connecting, sending, asking and closing each end, and the answer
// kept is a few KB however much came.
TEST(CanalTCP, ImpressoraQueNaoParaDeFalarNaoPrendeNemEncheAMemoria) {
    TImpressoraTeste impressora({.inundar = true});
    ASSERT_TRUE(impressora.Ok());
    TCdbDevice d;
    d.SetPorta(impressora.Endereco());
    d.Ativar();
    std::string job;
    for (int i = 0; i < 256 * 1024; ++i) job += static_cast<char>('a' + i % 26);
    d.EnviaString(job);
    // The answer's deadline on a clock that moves 1 ms at each reading: it
    // ends after its second of readings, wherever the wall clock is.
    TRelogioManual relogio(std::chrono::milliseconds(1));
    d.SetRelogio(&relogio);
    const std::string resposta = d.TCP().Perguntar("~HS", 1000, '\x03', 3);
    EXPECT_GE(relogio.Decorrido(), std::chrono::milliseconds(1000));
    EXPECT_LE(relogio.Decorrido(), std::chrono::milliseconds(1005));
    EXPECT_EQ(resposta, std::string(TCdbDeviceTCP::kRespostaMax, 'U'));
    d.SetRelogio(nullptr);
    d.EnviaString("fim");
    d.Desativar();
    impressora.Parar();
    EXPECT_EQ(impressora.Recebido(), job + "~HS" + "fim");
    // It did keep talking while asked: far more than what was kept.
    EXPECT_GT(impressora.BytesInundados(), 16 * TCdbDeviceTCP::kRespostaMax);
}
