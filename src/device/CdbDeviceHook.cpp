#include "device/CdbDeviceHook.h"

#include <chrono>
#include <thread>

namespace {
// Without a send function every label would vanish while reported printed.
Exception SemBiblioteca(const std::string& porta) {
    return Exception("A porta " + porta +
                     " não está disponível nesta estação: nenhuma biblioteca de impressão está ligada a ela");
}
}  // namespace

void TCdbDeviceHook::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    if (!Dono().HookEnviaString) Falhar(SemBiblioteca(porta));
    if (Dono().HookAtivar) Dono().HookAtivar(porta, Dono().DeviceToString(false));
}

void TCdbDeviceHook::Desconectar(bool ignorarErros) {
    TCdbDeviceClass::Desconectar(ignorarErros);
    if (!Dono().HookDesativar) return;
    try {
        Dono().HookDesativar(porta_);
    } catch (...) {
        if (!ignorarErros) throw;
    }
}

void TCdbDeviceHook::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceHook.EnviaString");
    if (!Dono().HookEnviaString) Falhar(SemBiblioteca(Dono().Porta()));
    Dono().HookEnviaString(dados);
}

std::string TCdbDeviceHook::LeString(int timeOutMs, int numBytes, const std::string& terminador) {
    std::string lido;
    if (!Dono().HookLeString) return lido;
    using relogio = std::chrono::steady_clock;
    const auto limite = relogio::now() + std::chrono::milliseconds(timeOutMs);
    for (;;) {
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - relogio::now()).count();
        const int falta = numBytes > 0 ? numBytes - static_cast<int>(lido.size()) : 0;
        std::string parte = Dono().HookLeString(falta, static_cast<int>(resta > 0 ? resta : 0));
        lido += parte;
        if (numBytes > 0 && static_cast<int>(lido.size()) >= numBytes) break;
        if (!terminador.empty() && lido.find(terminador) != std::string::npos) break;
        if (numBytes <= 0 && terminador.empty()) break;  // whatever was pending
        if (relogio::now() >= limite) break;
        if (parte.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no busy wait
    }
    return lido;
}
