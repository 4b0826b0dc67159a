// A port name as typed in configEtq.ini or the panel: any text selects some
// channel kind and prints back, without opening anything.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/CdbDevice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view porta(reinterpret_cast<const char*>(dados), tamanho);
    TCdbDevice d;
    const TCdbDeviceType tipo = d.DeduzirTipoPorta(porta);
    if (NomeTipo(tipo) == nullptr) __builtin_trap();
    d.SetPorta(porta);
    (void)d.DeviceToString(false);
    (void)TraduzirControles(porta);
    return 0;
}
