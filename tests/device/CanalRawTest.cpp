// The spooler channel against a private cupsd started by the test: raw
// queues whose device is a listener on 127.0.0.1 deliver the jobs' bytes.
#include <arpa/inet.h>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "device/CdbDevice.h"
#include "device/CdbDeviceRaw.h"
#include "suporte/Suporte.h"

namespace {

// The printer behind a raw queue: collects every connection's bytes.
class Impressora {
public:
    Impressora() {
        fd_ = Vincular(0, porta_);
        ::listen(fd_, 4);
    }
    ~Impressora() { ::close(fd_); }
    int Porta() const { return porta_; }
    // One job's bytes, or "(nada chegou)" after 20 s.
    std::string ProximoTrabalho() {
        auto f = std::async(std::launch::async, [this] { return AceitarELer(fd_); });
        if (f.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ::shutdown(fd_, SHUT_RDWR);
            return "(nada chegou)";
        }
        return f.get();
    }

private:
    int fd_ = -1, porta_ = 0;
};

class Spooler : public ::testing::Test {
protected:
    TPastaTemp pasta;
    std::string socket;
    pid_t cupsd = -1;

    void SetUp() override {
        if (::access("/usr/sbin/cupsd", X_OK) != 0) GTEST_SKIP() << "cupsd não está instalado (pacote cups)";
        ::unsetenv("LPDEST");
        ::unsetenv("PRINTER");
        socket = pasta / "cups.sock";
        for (const char* sub : {"spool", "tmp", "state", "cache", "logs", "ppd", "ssl"})
            std::filesystem::create_directories(pasta.caminho / sub);
        {
            std::ifstream base("/etc/cups/cupsd.conf");
            std::ofstream conf(pasta / "cupsd.conf");
            for (std::string l; std::getline(base, l);) {
                if (l.rfind("Listen", 0) == 0 || l.rfind("Port ", 0) == 0 || l.rfind("Browsing", 0) == 0 ||
                    l.rfind("IdleExitTimeout", 0) == 0)
                    continue;
                conf << l << "\n";
            }
            conf << "Listen 127.0.0.1:" << PortaLivre() << "\nListen " << socket << "\nBrowsing No\n";
        }
        {
            std::ofstream f(pasta / "cups-files.conf");
            f << "ServerRoot " << pasta.caminho.string() << "\nRequestRoot " << pasta / "spool"
              << "\nTempDir " << pasta / "tmp"
              << "\nStateDir " << pasta / "state"
              << "\nCacheDir " << pasta / "cache"
              << "\nAccessLog " << pasta / "logs/access_log"
              << "\nErrorLog " << pasta / "logs/error_log"
              << "\nPageLog " << pasta / "logs/page_log"
              << "\nFileDevice Yes\nSystemGroup root lpadmin\n";
        }
        const std::string conf = pasta / "cupsd.conf", arquivos = pasta / "cups-files.conf";
        cupsd = ::fork();
        if (cupsd == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test
            ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", arquivos.c_str(), nullptr);
            ::_exit(127);
        }
        ASSERT_GT(cupsd, 0);
        ::setenv("CUPS_SERVER", socket.c_str(), 1);
        cupsSetServer(socket.c_str());
        auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        bool pronto = false;
        while (!pronto && std::chrono::steady_clock::now() < fim) {
            if (http_t* h =
                    httpConnect2(socket.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 500, nullptr)) {
                httpClose(h);
                pronto = true;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
        ASSERT_TRUE(pronto) << "cupsd não respondeu; veja " << pasta / "logs/error_log";
    }

    void TearDown() override {
        cupsSetServer(nullptr);
        ::unsetenv("CUPS_SERVER");
        if (cupsd > 0) {
            ::kill(cupsd, SIGTERM);
            for (int i = 0; i < 50; ++i) {
                if (::waitpid(cupsd, nullptr, WNOHANG) == cupsd) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            ::kill(cupsd, SIGKILL);
            ::waitpid(cupsd, nullptr, 0);
        }
    }

    void Comando(const std::string& linha) {
        const std::string c = "CUPS_SERVER='" + socket + "' " + linha + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(c.c_str()), 0) << c;
    }
    void FilaRaw(const std::string& nome, int porta) {
        Comando("lpadmin -p '" + nome + "' -E -v socket://127.0.0.1:" + std::to_string(porta) + " -m raw");
    }

    std::string TituloDoUltimoTrabalho(const std::string& fila) {
        cups_job_t* jobs = nullptr;
        int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, fila.c_str(), 0, CUPS_WHICHJOBS_ALL);
        std::string titulo;
        int maior = 0;
        for (int i = 0; i < n; ++i)
            if (jobs[i].id > maior) {
                maior = jobs[i].id;
                titulo = jobs[i].title ? jobs[i].title : "";
            }
        cupsFreeJobs(n, jobs);
        return titulo;
    }
};

}  // namespace

TEST_F(Spooler, ListaAsImpressorasEMarcaAPadrao) {
    FilaRaw("etq", 9);
    FilaRaw("Zebra", 9);
    Comando("lpadmin -d Zebra");
    auto lista = TCdbDeviceRaw::ImpressorasInstaladas();
    ASSERT_EQ(lista.size(), 2u);
    EXPECT_EQ(lista[0].Nome, "etq");
    EXPECT_FALSE(lista[0].Padrao);
    EXPECT_EQ(lista[1].Nome, "Zebra");
    EXPECT_TRUE(lista[1].Padrao);

    TCdbDevice d;  // rule 14: an installed printer's name, ignoring case
    EXPECT_EQ(d.DeduzirTipoPorta("ZEBRA"), TCdbDeviceType::dtRawPrinter);
    EXPECT_EQ(d.DeduzirTipoPorta("outra"), TCdbDeviceType::dtNenhum);
}

TEST_F(Spooler, TrabalhoRawEntregaOs256BytesComONomeDoDocumento) {
    Impressora imp;
    FilaRaw("etq", imp.Porta());
    TCdbDevice d;
    d.SetPorta("RAW:etq");
    d.Ativar();
    d.EnviaString(TodosOsBytes());
    EXPECT_EQ(imp.ProximoTrabalho(), TodosOsBytes());
    EXPECT_EQ(TituloDoUltimoTrabalho("etq"), "TCdbDevice");

    d.SetNomeDocumento("Etiquetas lote 12");
    d.EnviaString("^XA^XZ");
    EXPECT_EQ(imp.ProximoTrabalho(), "^XA^XZ");
    EXPECT_EQ(TituloDoUltimoTrabalho("etq"), "Etiquetas lote 12");
    d.Desativar();
}

TEST_F(Spooler, NomeDaImpressoraSemCaixaComoPorta) {
    Impressora imp;
    FilaRaw("Etiquetadora", imp.Porta());
    TCdbDevice d;
    d.SetPorta("etiquetadora");
    ASSERT_EQ(d.DeviceType(), TCdbDeviceType::dtRawPrinter);
    d.Ativar();
    d.EnviaString("N\nP1\n");
    EXPECT_EQ(imp.ProximoTrabalho(), "N\nP1\n");
}

TEST_F(Spooler, AsteriscoUsaAPadraoOuAPrimeira) {
    Impressora a, b;
    FilaRaw("aaa", a.Porta());
    FilaRaw("bbb", b.Porta());
    TCdbDevice d;
    d.SetPorta("*");
    d.Ativar();
    d.EnviaString("sem padrao");  // no default: the first installed printer
    EXPECT_EQ(a.ProximoTrabalho(), "sem padrao");
    Comando("lpadmin -d bbb");
    d.EnviaString("padrao");
    EXPECT_EQ(b.ProximoTrabalho(), "padrao");
}

TEST_F(Spooler, ImpressoraInexistenteFalhaNaAtivacao) {
    FilaRaw("etq", 9);
    TCdbDevice d;
    d.SetPorta("RAW:Nenhuma");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Impressora não encontrada [Nenhuma]");
    EXPECT_FALSE(d.Ativo());
}

TEST_F(Spooler, AsteriscoSemImpressoras) {
    TCdbDevice d;
    d.SetPorta("*");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Erro Nenhuma impressora Padrão foi detectada");
}

TEST_F(Spooler, ImpressoraRemovidaDepoisDaAtivacao) {
    FilaRaw("etq", 9);
    TCdbDevice d;
    d.SetPorta("RAW:etq");
    d.Ativar();
    Comando("lpadmin -x etq");
    EXPECT_EQ(MensagemDe([&] { d.EnviaString("x"); }), "Impressora não encontrada [etq]");
}

TEST_F(Spooler, ImpressoraQueRecusaTrabalhosNaoFicaComMeioTrabalho) {
    FilaRaw("etq", 9);
    Comando("cupsreject etq");
    TCdbDevice d;
    d.SetPorta("RAW:etq");
    d.Ativar();
    const std::string msg = MensagemDe([&] { d.EnviaString("x"); });
    EXPECT_EQ(msg.rfind("Erro ao enviar para a impressora etq: ", 0), 0u) << msg;
    cups_job_t* jobs = nullptr;
    int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "etq", 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(n, jobs);
    EXPECT_EQ(n, 0);
}

TEST(SpoolerAusente, ListaVaziaSemErro) {
    cupsSetServer("/nonexistent/etiq-cups.sock");
    EXPECT_TRUE(TCdbDeviceRaw::ImpressorasInstaladas().empty());
    TCdbDevice d;
    EXPECT_EQ(d.DeduzirTipoPorta("Zebra"), TCdbDeviceType::dtNenhum);
    d.SetPorta("*");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Erro Nenhuma impressora Padrão foi detectada");
    d.SetPorta("RAW:Zebra");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Impressora não encontrada [Zebra]");
    cupsSetServer(nullptr);
}
