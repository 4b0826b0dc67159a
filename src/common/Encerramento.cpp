#include "common/Encerramento.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "common/ErroSistema.h"

namespace {

std::atomic<int> g_sinal{0};
int g_tubo[2] = {-1, -1};

// Held while the program's routine runs; once `g_desligado` is set, what the
// routine reaches for may be gone.
std::mutex g_atendimento;
bool g_desligado = false;

void AoSinal(int sinal) {
    // Only async-signal-safe calls here; errno belongs to the interrupted code.
    const int errnoAntes = errno;
    int anterior = g_sinal.exchange(sinal);
    if (anterior != 0) _exit(CodigoDeSaida(sinal));  // asked twice: no more waiting
    const char c = static_cast<char>(sinal);
    ssize_t n = write(g_tubo[1], &c, 1);
    (void)n;
    errno = errnoAntes;
}

void Desligar() { DesligarEncerramentoPorSinal(); }

}  // namespace

void InstalarEncerramentoPorSinal(std::function<void(int)> aoPedir, int segundosAteForcar) {
    if (g_tubo[0] >= 0) return;
    if (pipe2(g_tubo, O_CLOEXEC) != 0) {
        const int erro = errno;
        g_tubo[0] = g_tubo[1] = -1;
        (void)std::fprintf(stderr,
                           "Aviso: não foi possível preparar o encerramento em ordem por SIGTERM e SIGINT (%s); "
                           "esses sinais encerram o programa na hora.\n",
                           MensagemErroSistema(erro).c_str());
        return;
    }
    // Cannot fail on a descriptor just made; blocking would only matter with
    // the pipe full, one byte a signal.
    (void)fcntl(g_tubo[1], F_SETFL, O_NONBLOCK);
    // From exit on (main returned, static objects being destroyed) a signal
    // ends the program at once. Refused only out of memory, at start.
    (void)std::atexit(Desligar);

    // Only the watcher takes the signals: this thread and every thread started
    // from it later (the database engine's) keep them blocked. A signal that
    // lands on the thread working in the embedded engine leaves its detach
    // spinning without end.
    sigset_t sinais;
    sigemptyset(&sinais);
    sigaddset(&sinais, SIGINT);
    sigaddset(&sinais, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);

    std::thread([aoPedir = std::move(aoPedir), segundosAteForcar, sinais] {
        pthread_sigmask(SIG_UNBLOCK, &sinais, nullptr);
        char c = 0;
        for (;;) {
            ssize_t n = read(g_tubo[0], &c, 1);
            if (n == 1) break;
            if (n < 0 && errno == EINTR) continue;
            return;
        }
        const int sinal = static_cast<unsigned char>(c);
        // Started first: a watcher stuck in a call to a dead server must not
        // keep the program alive.
        std::thread([sinal, segundosAteForcar] {
            std::this_thread::sleep_for(std::chrono::seconds(segundosAteForcar));
            _exit(CodigoDeSaida(sinal));
        }).detach();
        std::lock_guard<std::mutex> trava(g_atendimento);
        if (g_desligado) _exit(CodigoDeSaida(sinal));
        if (aoPedir) aoPedir(sinal);
    }).detach();

    struct sigaction acao {};
    acao.sa_handler = AoSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &acao, nullptr);
    sigaction(SIGINT, &acao, nullptr);
}

void DesligarEncerramentoPorSinal() {
    std::lock_guard<std::mutex> trava(g_atendimento);
    g_desligado = true;
}

int SinalDeEncerramento() { return g_sinal.load(); }

int RelatarEncerramento(const char* programa) {
    const int sinal = SinalDeEncerramento();
    (void)std::fprintf(stderr, "%s: encerrado pelo %s; o que não tinha sido gravado no banco de dados foi desfeito.\n",
                       programa, NomeDoSinal(sinal).c_str());
    return CodigoDeSaida(sinal);
}

std::string NomeDoSinal(int sinal) {
    switch (sinal) {
        case SIGTERM: return "SIGTERM";
        case SIGINT: return "SIGINT";
        default: return "sinal " + std::to_string(sinal);
    }
}
