// bench_entrega_tcp [etiquetas] [repeticoes]: the time to print N labels
// (rows of three model-11 labels, one job per row, no pause) to a printer
// listening on 127.0.0.1, two ways:
//   entregue: the channel as it is, each job waiting until the printer
//             acknowledged every byte, then a half-close;
//   escrito:  the same streams only written to the socket and closed, as the
//             channel did before it waited for the printer.
// The printer reads everything as it comes. Prints the best of the repetitions.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "device/CdbDevice.h"
#include "etq/CdbETQ.h"

namespace {

using Relogio = std::chrono::steady_clock;

// The jobs of N labels as the component makes them.
std::vector<std::string> Trabalhos(int etiquetas) {
    TCdbETQ etq;
    etq.SetPorta("");
    etq.SetModelo(etqPpla);
    std::vector<std::string> jobs;
    etq.Device().HookEnviaString = [&](const std::string& s) { jobs.push_back(s); };
    etq.SetPorta("DLL");
    etq.Ativar();
    for (int feitas = 0; feitas < etiquetas;) {
        etq.IniciarEtiqueta();
        for (int coluna = 0; coluna < 3 && feitas < etiquetas; ++coluna, ++feitas) {
            const int x = coluna * 360;
            etq.ImprimirTexto(orNormal, 3, 1, 1, 3, x + 15, "R$ 12,90");
            etq.ImprimirTexto(orNormal, 2, 1, 1, 45, x + 15, "Ref: " + std::to_string(feitas));
            etq.ImprimirBarras(orNormal, "F", "2", "2", 70, x + 5, "7891234567895", 70, becSIM);
            etq.ImprimirTexto(orNormal, 2, 1, 1, 175, x + 15, "CAMISA POLO MASCULINA");
        }
        etq.Imprimir(1, 0);
    }
    etq.Desativar();
    return jobs;
}

// A printer that reads all it gets until the sender closes.
struct Leitor {
    int escuta = -1, porta = 0;
    std::thread fio;
    size_t lidos = 0;
    Leitor() {
        escuta = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(escuta, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(escuta, 1) != 0) std::exit(1);
        ::getsockname(escuta, reinterpret_cast<sockaddr*>(&a), &len);
        porta = ntohs(a.sin_port);
        fio = std::thread([this] {
            const int c = ::accept(escuta, nullptr, nullptr);
            char buf[65536];
            for (ssize_t n; (n = ::read(c, buf, sizeof buf)) > 0;) lidos += static_cast<size_t>(n);
            ::close(c);
        });
    }
    size_t Fim() {
        fio.join();
        ::close(escuta);
        return lidos;
    }
};

double Entregue(const std::vector<std::string>& jobs, size_t& lidos) {
    Leitor l;
    const auto t0 = Relogio::now();
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1:" + std::to_string(l.porta));
    d.Ativar();
    for (const auto& j : jobs) d.EnviaString(j);
    d.Desativar();
    const double ms = std::chrono::duration<double, std::milli>(Relogio::now() - t0).count();
    lidos = l.Fim();
    return ms;
}

double Escrito(const std::vector<std::string>& jobs, size_t& lidos) {
    Leitor l;
    const auto t0 = Relogio::now();
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(l.porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) std::exit(1);
    for (const auto& j : jobs)
        for (size_t p = 0; p < j.size();) {
            const ssize_t n = ::send(fd, j.data() + p, j.size() - p, MSG_NOSIGNAL);
            if (n <= 0) std::exit(1);
            p += static_cast<size_t>(n);
        }
    ::close(fd);
    const double ms = std::chrono::duration<double, std::milli>(Relogio::now() - t0).count();
    lidos = l.Fim();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const int etiquetas = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int repeticoes = argc > 2 ? std::atoi(argv[2]) : 5;
    const auto jobs = Trabalhos(etiquetas);
    size_t bytes = 0;
    for (const auto& j : jobs) bytes += j.size();
    double melhorEntregue = 1e18, melhorEscrito = 1e18;
    size_t lidos = 0;
    for (int i = 0; i < repeticoes; ++i) {
        melhorEscrito = std::min(melhorEscrito, Escrito(jobs, lidos));
        melhorEntregue = std::min(melhorEntregue, Entregue(jobs, lidos));
        if (lidos != bytes) {
            std::fprintf(stderr, "a impressora leu %zu de %zu bytes\n", lidos, bytes);
            return 1;
        }
    }
    std::printf("%d etiquetas, %zu trabalhos, %zu bytes\n", etiquetas, jobs.size(), bytes);
    std::printf("escrito (sem esperar a impressora): %.2f ms\n", melhorEscrito);
    std::printf("entregue (cada trabalho confirmado): %.2f ms (%.1f us a mais por trabalho)\n", melhorEntregue,
                (melhorEntregue - melhorEscrito) * 1000.0 / static_cast<double>(jobs.size()));
    return 0;
}
