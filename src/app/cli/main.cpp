// etiquetas-cli: the program's own code paths, without windows, for scripts,
// installers and technicians.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Comandos.h"
#include "common/Encerramento.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/PastaExecucao.h"
#include "common/Versao.h"
#include "data/fb/FbCliente.h"
#include "data/fb/VigiaServidor.h"

namespace {

void Ajuda() {
    std::cout << "Uso: etiquetas-cli COMANDO [opções]\n      etiquetas-cli --version\n\nComandos:\n";
    for (const auto& c : ComandosRegistrados())
        std::cout << "  " << c.nome << " " << c.uso << "\n      " << c.resumo << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // A printer port whose reader went away (a pipe, a socket) must fail the
    // write with a message, not end the program.
    (void)std::signal(SIGPIPE, SIG_IGN);  // a valid signal and SIG_IGN: it cannot fail
    PrepararPastaExecucao();              // before any thread: a print to a sheet or an image starts Qt later
    PrepararTravasFirebird();             // installed program: the embedded engine's lock files per user
    InstalarEncerramentoPorSinal([](int) { fb::InterromperOperacoes(); });
    // A server that stops answering mid-work is said at once, before the call is abandoned.
    fb::DefinirAvisoSemResposta([](const std::string& texto) { std::cerr << texto << std::endl; });
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << LinhaVersao("etiquetas-cli") << "\n";
        return 0;
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "ajuda") {
        Ajuda();
        return args.empty() ? 2 : 0;
    }
    for (const auto& c : ComandosRegistrados()) {
        if (c.nome != args[0]) continue;
        try {
            int r = c.executar(std::vector<std::string>(args.begin() + 1, args.end()));
            // Ended by SIGTERM or SIGINT: the unwinding (rollback, detach) has
            // undone what was not committed before this is said.
            return EncerramentoPedido() ? RelatarEncerramento("etiquetas-cli") : r;
        } catch (const std::exception& e) {
            if (EncerramentoPedido()) return RelatarEncerramento("etiquetas-cli");
            std::cerr << MensagemDaFalha(e) << "\n";
            return 1;
        }
    }
    std::cerr << "Comando desconhecido: " << args[0] << "\n";
    Ajuda();
    return 2;
}
