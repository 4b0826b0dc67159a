// A printer stream read back for the preview: any bytes give a reading
// (what could be read, the rest skipped and counted), never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "previa/Fluxo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view fluxo(reinterpret_cast<const char*>(dados), tamanho);
    for (int dpi : {203, 300}) {
        const previa::Leitura l = previa::Ler(fluxo, previa::Linguagem::ETIQ_LINGUAGEM, dpi);
        if (l.ignorados < 0 || l.avisos.size() > 50) __builtin_trap();
    }
    return 0;
}
