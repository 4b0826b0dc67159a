// Numbers typed by the operator or read from files: a text is a value or a
// conversion error, and a value read back from its own text is the same value.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "common/Decimal.h"
#include "common/UFuncoes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    try {
        const Decimal d = Decimal::DeTexto(texto);
        if (Decimal::DeTexto(d.ParaTexto()) != d) __builtin_trap();
        if (Decimal::DeTexto(d.ParaTextoCurto()) != d) __builtin_trap();
        (void)d.Formatar(2);
        (void)d.ComEscala(0);
    } catch (const std::exception&) {}
    try {
        const int n = StrToInt(texto);
        if (StrToInt(std::to_string(n)) != n) __builtin_trap();
    } catch (const std::exception&) {}
    return 0;
}
