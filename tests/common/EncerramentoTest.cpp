// Each case runs in a fresh process (a re-run of this test binary): the
// handlers are installed once per process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "common/Encerramento.h"

namespace {

void Esperar(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Registered before the handlers: runs after the program's own exit work.
void SinalDepoisDoMain() {
    kill(getpid(), SIGTERM);
    Esperar(2000);
}

}  // namespace

class Encerramento : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(Encerramento, SinalPedeOEncerramentoUmaVez) {
    EXPECT_EXIT(
        {
            InstalarEncerramentoPorSinal([](int sinal) {
                std::fprintf(stderr, "pedido por %s\n", NomeDoSinal(sinal).c_str());
                std::_Exit(EncerramentoPedido() ? 7 : 8);
            });
            kill(getpid(), SIGINT);  // as from outside: to the process, not to this thread
            Esperar(2000);
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(7), "pedido por SIGINT");
}

// Once main has returned, the objects the routine reaches for are gone: a
// signal then ends the program at once with the signal's status.
TEST_F(Encerramento, SinalDepoisDoMainNaoChamaORoteiroDoPrograma) {
    EXPECT_EXIT(
        {
            std::atexit(SinalDepoisDoMain);
            InstalarEncerramentoPorSinal([](int) { std::fprintf(stderr, "roteiro chamado\n"); });
            std::exit(0);
        },
        ::testing::ExitedWithCode(CodigoDeSaida(SIGTERM)), ::testing::Not(::testing::HasSubstr("roteiro chamado")));
}

// Without a pipe the handlers are not installed, and the operator is told why.
TEST_F(Encerramento, SemTuboDizPorQueESinalEncerraNaHora) {
    EXPECT_EXIT(
        {
            rlimit limite{};
            getrlimit(RLIMIT_NOFILE, &limite);
            limite.rlim_cur = 64;
            setrlimit(RLIMIT_NOFILE, &limite);
            while (dup(STDERR_FILENO) >= 0) {}
            InstalarEncerramentoPorSinal([](int) { std::_Exit(9); });
            std::raise(SIGTERM);
            std::_Exit(1);
        },
        ::testing::KilledBySignal(SIGTERM),
        "Aviso: não foi possível preparar o encerramento em ordem por SIGTERM e SIGINT "
        "\\(Arquivos abertos em excesso\\); esses sinais encerram o programa na hora.");
}
