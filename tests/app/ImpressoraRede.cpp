// The network printer stand-in as a program, for the scripts that drive the
// real windows: listens on 127.0.0.1, writes its port to PORT_FILE, and on
// SIGTERM or SIGINT writes what each connection brought to OUT.1, OUT.2...
//
//     impressora-rede-teste PORT_FILE OUT [--fechar-apos N | --inundar]
//
// --fechar-apos N: the first connection is closed as soon as N bytes are read
// (a printer that fails mid-print); later connections read to the end.
// --inundar: reads, and sends bytes without end on every connection.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "suporte/ImpressoraTeste.h"

int main(int argc, char** argv) {
    const bool inundar = argc == 4 && std::strcmp(argv[3], "--inundar") == 0;
    if (argc != 3 && !inundar && !(argc == 5 && std::strcmp(argv[3], "--fechar-apos") == 0)) {
        std::fprintf(stderr, "uso: %s ARQUIVO_DA_PORTA SAIDA [--fechar-apos N | --inundar]\n", argv[0]);
        return 2;
    }
    // Blocked before the listening thread starts, so only sigwait takes them.
    sigset_t sinais;
    sigemptyset(&sinais);
    sigaddset(&sinais, SIGTERM);
    sigaddset(&sinais, SIGINT);
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);

    TComportamentoImpressora c;
    c.inundar = inundar;
    if (argc == 5) {
        c.fecharApos = std::strtol(argv[4], nullptr, 10);
        c.soAPrimeira = true;
        c.fecharLogo = true;
    }
    TImpressoraTeste impressora(c);
    if (!impressora.Ok()) {
        std::perror("impressora-rede-teste");
        return 1;
    }
    {
        // Written whole under another name first: the script polls for the file.
        const std::string porta = std::string(argv[1]) + ".tmp";
        std::ofstream(porta) << impressora.Porta() << '\n';
        std::rename(porta.c_str(), argv[1]);
    }
    int sinal = 0;
    sigwait(&sinais, &sinal);
    impressora.Parar();
    const auto conexoes = impressora.Conexoes();
    for (size_t i = 0; i < conexoes.size(); ++i)
        std::ofstream(std::string(argv[2]) + "." + std::to_string(i + 1), std::ios::binary) << conexoes[i];
    return 0;
}
