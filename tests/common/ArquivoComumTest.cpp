// Reading a whole file the operator names: only a plain file, never past its bound.
#include "common/ArquivoComum.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>

#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

using TMotivo = EArquivoComum::TMotivo;

struct TResultado {
    std::string bytes;
    std::optional<TMotivo> motivo;
    std::string mensagem;
};

TResultado Ler(const std::string& caminho, size_t maximo) {
    TResultado r;
    try {
        r.bytes = LerArquivoComum(caminho, maximo, "um teste");
    } catch (const EArquivoComum& e) {
        r.motivo = e.Motivo();
        r.mensagem = e.Message();
    }
    return r;
}

class ArquivoComum : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("arquivo-comum-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Caminho(const char* nome) const { return (dir_ / nome).string(); }
    fs::path dir_;
};

}  // namespace

TEST_F(ArquivoComum, SoArquivoComumEAteOLimite) {
    Gravar(Caminho("bom.txt"), "linha 1\r\nlinha 2\n");
    Gravar(Caminho("vazio.txt"), "");
    Gravar(Caminho("grande.txt"), std::string(101, 'x'));
    fs::create_directory(Caminho("pasta"));
    ASSERT_EQ(::mkfifo(Caminho("fifo").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", Caminho("zero"));
    fs::create_symlink(Caminho("bom.txt"), Caminho("atalho"));
    const std::string naoComum = "não é um arquivo comum (é um dispositivo, um pipe ou um soquete)";
    struct Caso {
        std::string caminho;
        std::optional<TMotivo> motivo;
        std::string esperado;  // the bytes, or the message
    };
    const Caso casos[] = {
        {Caminho("bom.txt"), std::nullopt, "linha 1\r\nlinha 2\n"},
        {Caminho("atalho"), std::nullopt, "linha 1\r\nlinha 2\n"},
        {Caminho("vazio.txt"), std::nullopt, ""},
        {Caminho("grande.txt"), TMotivo::GrandeDemais, "arquivo grande demais para um teste (101 bytes)"},
        {Caminho("pasta"), TMotivo::Pasta, "o caminho é uma pasta, não um arquivo"},
        // A pipe with no writer and an endless device: refused at once.
        {Caminho("fifo"), TMotivo::NaoComum, naoComum},
        {"/dev/zero", TMotivo::NaoComum, naoComum},
        {Caminho("zero"), TMotivo::NaoComum, naoComum},
        {Caminho("nao-existe"), TMotivo::NaoExiste, ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.caminho);
        auto leitura = std::async(std::launch::async, [&] { return Ler(c.caminho, 100); });
        if (leitura.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Open the pipe for writing so the reader ends and the test can fail.
            const int fd = ::open(Caminho("fifo").c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            leitura.wait();
            FAIL() << "a leitura ficou esperando";
        }
        const TResultado r = leitura.get();
        EXPECT_EQ(r.motivo, c.motivo) << r.mensagem;
        if (!c.motivo) {
            EXPECT_EQ(r.bytes, c.esperado);
        } else if (!c.esperado.empty()) {
            EXPECT_EQ(r.mensagem, c.esperado);
        }
    }
}

// A file whose size says nothing of what it holds (the kernel's, or one that
// grows while it is read) stops at the bound as it is read.
TEST_F(ArquivoComum, ArquivoQueCresceAoSerLidoParaNoLimite) {
    struct stat st {};
    ASSERT_EQ(::stat("/proc/self/status", &st), 0);
    ASSERT_TRUE(S_ISREG(st.st_mode));
    ASSERT_EQ(st.st_size, 0);
    const TResultado r = Ler("/proc/self/status", 16);
    EXPECT_EQ(r.motivo, TMotivo::GrandeDemais);
    EXPECT_EQ(r.mensagem, "arquivo grande demais para um teste");
    EXPECT_EQ(Ler("/proc/self/status", 1 << 20).motivo, std::nullopt);
}

// Standard input: no file to ask its size, the same bound as it is read.
TEST_F(ArquivoComum, EntradaPadraoLimitada) {
    int canos[2];
    ASSERT_EQ(::pipe(canos), 0);
    const std::string bytes(200, '7');
    ASSERT_EQ(::write(canos[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(canos[1]);
    EXPECT_THROW(LerEntradaLimitada(canos[0], 199, "um teste"), EArquivoComum);
    ::close(canos[0]);
    ASSERT_EQ(::pipe(canos), 0);
    ASSERT_EQ(::write(canos[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(canos[1]);
    EXPECT_EQ(LerEntradaLimitada(canos[0], 200, "um teste"), bytes);
    ::close(canos[0]);
}
