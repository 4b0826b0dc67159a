// The answer of a ZPL printer to "~HS", as it arrives on the socket: any bytes
// are a status or no answer, never a crash; a status names a fault exactly
// when one of its flags is set.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "etq/StatusZpl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view resposta(reinterpret_cast<const char*>(dados), tamanho);
    const auto status = InterpretarStatusHS(resposta);
    if (!status) return 0;
    const bool falha =
        status->semPapel || status->pausa || status->bufferCheio || status->cabecaAberta || status->semRibbon;
    if (status->Falha().empty() == falha) __builtin_trap();
    return 0;
}
