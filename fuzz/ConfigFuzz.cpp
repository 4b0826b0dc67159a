// configEtq.ini as a shop may have it: any bytes read as some text or empty,
// and a key written back reads as written with the other lines kept.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "common/ConfigEtq.h"

namespace {

// A plain array: the exit handler that removes the file runs after the
// destructors of function statics.
char caminho[64];

const char* Arquivo() {
    if (caminho[0] == '\0') {
        // In memory where there is /dev/shm: every rewrite syncs the file,
        // ten inputs a second on a disk.
        std::snprintf(caminho, sizeof caminho, "%s/fuzz-config-XXXXXX",
                      ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        const int fd = ::mkstemp(caminho);
        if (fd >= 0) ::close(fd);
        std::atexit([] { ::unlink(caminho); });
    }
    return caminho;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    {
        std::ofstream f(Arquivo(), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
    }
    TArquivoIni ini(Arquivo());
    for (const char* chave : {"PATH MERKOR", "MODELO", "PORTA", "USUARIO BD", ""}) {
        (void)ini.LerTexto("CONF", chave);
        (void)ini.LerTexto("", chave, "padrão");
    }
    try {
        ini.GravarTexto("CONF", "CHAVE FUZZ", "valor 1");
    } catch (const std::exception&) {
        return 0;  // a file that cannot be rewritten is said, not a crash
    }
    if (ini.LerTexto("conf", "chave fuzz") != "valor 1") __builtin_trap();
    return 0;
}
