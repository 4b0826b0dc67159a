// A model 09 design file chosen by the operator in the editor ("Importar") or
// given to `etiquetas-cli formato importar`: any bytes are a design or a
// refusal saying nothing was saved, never a crash. A design the file reader
// accepts is one the table can hold, and written back it reads as the same
// design.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "labels/Leiaute09.h"

namespace {
bool TerminaCom(const std::string& texto, const std::string& fim) {
    return texto.size() >= fim.size() && texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
    TLeiaute09 leiaute;
    try {
        leiaute = LerTextoLeiaute09(texto);
    } catch (const std::exception& e) {
        // A fault of a line ends ". Nada foi gravado."; a file without a
        // field or without its header ": nada foi gravado.".
        const std::string motivo = e.what();
        if (!TerminaCom(motivo, ". Nada foi gravado.") && !TerminaCom(motivo, ": nada foi gravado.")) __builtin_trap();
        return 0;
    }
    if (!ProblemaLeiaute09(leiaute).empty()) __builtin_trap();
    for (TCdbETQModelo linguagem : {etqPpla, etqEpl2, etqZPLII}) (void)AvisosLeiaute09(leiaute, linguagem);
    for (int campo = 0; campo < static_cast<int>(leiaute.campos.size()); ++campo) (void)NomeDoCampo09(leiaute, campo);
    if (LerTextoLeiaute09(TextoLeiaute09(leiaute)) != leiaute) __builtin_trap();
    return 0;
}
