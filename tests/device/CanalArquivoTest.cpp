// The parallel/file channel: files, "FILE:" names, devices named by path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "device/CdbDevice.h"
#include "device/CdbDeviceLPT.h"
#include "suporte/Suporte.h"

namespace {

bool Existe(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0;
}

}  // namespace

TEST(CanalArquivo, ApagaNaAtivacaoEAcumulaOsFluxos) {
    TPastaTemp pasta;
    const std::string arq = pasta / "etq.txt";
    Gravar(arq, "restos de ontem");
    TCdbDevice d;
    d.SetPorta(arq);
    ASSERT_EQ(d.DeviceType(), TCdbDeviceType::dtFile);
    d.Ativar();
    EXPECT_EQ(LerTudo(arq), "");
    const std::string a = TodosOsBytes(), b = "\x02L\r\nH10\r\nE\r\n";
    d.EnviaString(a);
    d.EnviaString(b);
    EXPECT_EQ(LerTudo(arq), a + b);
    d.Desativar();
    EXPECT_EQ(LerTudo(arq), a + b);  // closing keeps what was printed

    d.Ativar();  // each activation starts a new file
    EXPECT_EQ(LerTudo(arq), "");
    d.EnviaString(b);
    EXPECT_EQ(LerTudo(arq), b);
}

TEST(CanalArquivo, PrefixoFileRetiradoDoNome) {
    TPastaTemp pasta;
    for (const char* prefixo : {"FILE:", "file:"}) {
        SCOPED_TRACE(prefixo);
        const std::string alvo = pasta / "saida";
        TCdbDevice d;
        d.SetPorta(prefixo + alvo);
        EXPECT_EQ(d.DeviceType(), TCdbDeviceType::dtFile);
        d.Ativar();
        d.EnviaString(TodosOsBytes());
        d.Desativar();
        EXPECT_EQ(LerTudo(alvo), TodosOsBytes());
        EXPECT_FALSE(Existe(pasta / "FILE:"));
    }
}

TEST(CanalArquivo, NomesDosDispositivos) {
    struct Caso {
        const char* porta;
        const char* arquivo;
    } casos[] = {
        {"LPT1", "/dev/lp0"},
        {"LPT3", "/dev/lp2"},
        {"LPT2:", "/dev/lp1"},
        {"FILE:/tmp/x", "/tmp/x"},
        {"File:LPT1", "/dev/lp0"},
        {"LPTX", "LPTX"},
        {"/dev/usb/lp0", "/dev/usb/lp0"},
    };
    for (const auto& c : casos) EXPECT_EQ(TCdbDeviceLPT::NomeArquivo(c.porta), c.arquivo) << c.porta;
}

TEST(CanalArquivo, PortaParalelaAusenteFalhaSemCriarArquivo) {
    if (Existe("/dev/lp0")) GTEST_SKIP() << "esta estação tem /dev/lp0";
    TCdbDevice d;
    d.SetPorta("LPT1");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }),
              "Não foi possível abrir /dev/lp0: Arquivo ou dispositivo não encontrado");
    EXPECT_FALSE(d.Ativo());
    EXPECT_FALSE(Existe("/dev/lp0"));
}

TEST(CanalArquivo, CaminhoDoWindowsNaoViraArquivoLocal) {
    TPastaTemp pasta;
    const std::string antes = std::filesystem::current_path();
    std::filesystem::current_path(pasta.caminho);
    for (const char* porta : {"c:\\temp\\etq.txt", "\\\\servidor\\zebra"}) {
        SCOPED_TRACE(porta);
        TCdbDevice d;
        d.SetPorta(porta);
        EXPECT_EQ(MensagemDe([&] { d.Ativar(); }),
                  std::string("Caminho do Windows não existe nesta estação: ") + porta);
        EXPECT_FALSE(d.Ativo());
    }
    EXPECT_TRUE(std::filesystem::is_empty(pasta.caminho));
    std::filesystem::current_path(antes);
}

TEST(CanalArquivo, DispositivoPorCaminhoNaoEApagado) {
    TPastaTemp pasta;
    const std::string fila = pasta / "impressora";
    ASSERT_EQ(::mkfifo(fila.c_str(), 0600), 0);
    int leitor = ::open(fila.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(leitor, 0);
    TCdbDevice d;
    d.SetPorta(fila);
    d.Ativar();
    struct stat st {};
    ASSERT_EQ(::stat(fila.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    d.EnviaString(TodosOsBytes());
    char buf[512];
    ssize_t n = ::read(leitor, buf, sizeof buf);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), TodosOsBytes());
    ::close(leitor);
}

TEST(CanalArquivo, ErroDeEscritaChegaAoChamador) {
    TCdbDevice d;
    d.SetPorta("/dev/full");
    d.Ativar();
    EXPECT_EQ(MensagemDe([&] { d.EnviaString(TodosOsBytes()); }),
              "Erro ao enviar dados para /dev/full: Sem espaço no disco");
    EXPECT_TRUE(d.Ativo());
}

TEST(CanalArquivo, DestinoParadoEsgotaOTempo) {
    TPastaTemp pasta;
    const std::string fila = pasta / "parada";
    ASSERT_EQ(::mkfifo(fila.c_str(), 0600), 0);
    int leitor = ::open(fila.c_str(), O_RDONLY | O_NONBLOCK);  // never reads
    ASSERT_GE(leitor, 0);
    TCdbDevice d;
    d.SetTimeOut(200);
    d.SetPorta(fila);
    d.Ativar();
    EXPECT_EQ(MensagemDe([&] { d.EnviaString(std::string(1 << 20, 'x')); }),
              "Tempo esgotado ao enviar dados para " + fila + ": a impressora não recebeu os dados");
    ::close(leitor);
}

TEST(CanalArquivo, EnvioEmPartesComPausa) {
    TPastaTemp pasta;
    const std::string arq = pasta / "partes.txt", log = pasta / "partes.log";
    TCdbDevice d;
    d.SetPorta(arq);
    d.SetSendBytesCount(100);
    d.SetSendBytesInterval(20);
    d.Ativar();
    d.SetArqLOG(log);
    std::string fluxo;
    for (int i = 0; i < 250; ++i) fluxo += static_cast<char>(i);
    d.EnviaString(fluxo);
    EXPECT_EQ(LerTudo(arq), fluxo);
    std::vector<std::string> partes;
    std::istringstream in(LerTudo(log));
    for (std::string l; std::getline(in, l);) {
        auto p = l.find("  BytesToSend:");
        if (p == std::string::npos) p = l.find("  Sleep(");
        if (p != std::string::npos) partes.push_back(l.substr(p, l.size() - p - 1));
    }
    std::vector<std::string> esperado = {"  BytesToSend:100", "  Sleep(20)",      "  BytesToSend:100",
                                         "  Sleep(20)",       "  BytesToSend:50", "  Sleep(20)"};
    EXPECT_EQ(partes, esperado);
}

namespace {
// Files of this process stop growing at `limite` bytes, as on a full disk.
struct LimiteDeArquivo {
    rlimit antes{};
    explicit LimiteDeArquivo(rlim_t limite) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
        ::getrlimit(RLIMIT_FSIZE, &antes);
        rlimit r = antes;
        r.rlim_cur = limite;
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteDeArquivo() { ::setrlimit(RLIMIT_FSIZE, &antes); }
};
}  // namespace

TEST(CanalArquivo, TrabalhoQueFalhaNaoDeixaMeioTrabalhoNoArquivo) {
    TPastaTemp pasta;
    const std::string arq = pasta / "etq.prn";
    const std::string fluxo(256 * 1024, 'x');
    const std::string msg = "Erro ao enviar dados para " + arq + ": Arquivo grande demais";
    TCdbDevice d;
    d.SetPorta("FILE:" + arq);

    // The file this activation created goes away with the failed job.
    d.Ativar();
    {
        LimiteDeArquivo limite(64 * 1024);
        EXPECT_EQ(MensagemDe([&] { d.EnviaString(fluxo); }), msg);
    }
    EXPECT_FALSE(Existe(arq));
    d.Desativar();

    // Jobs that went through stay; only the failed one is taken back out.
    d.Ativar();
    d.EnviaString("primeira etiqueta\r\n");
    {
        LimiteDeArquivo limite(64 * 1024);
        EXPECT_EQ(MensagemDe([&] { d.EnviaString(fluxo); }), msg);
    }
    EXPECT_EQ(LerTudo(arq), "primeira etiqueta\r\n");
    d.EnviaString("segunda\r\n");
    EXPECT_EQ(LerTudo(arq), "primeira etiqueta\r\nsegunda\r\n");
}
