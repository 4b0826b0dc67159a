#include "device/Relogio.h"

const TRelogio& TRelogio::Sistema() {
    static const TRelogio relogio;
    return relogio;
}

TPrazo::TPrazo(const TRelogio& relogio, int ms)
    : relogio_(relogio), duracao_(ms > 0 ? ms : 0), limite_(relogio.Agora() + duracao_) {}

int TPrazo::RestanteMs() const {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(limite_ - relogio_.Agora()).count();
    return ms > 0 ? static_cast<int>(ms) : 0;
}

int TPrazo::FatiaMs() const {
    return static_cast<int>(relogio_.Fatia(std::chrono::milliseconds(RestanteMs())).count());
}

void TPrazo::Renovar() { limite_ = relogio_.Agora() + duracao_; }

bool TPrazoSemProgresso::Observar(int64_t valor) {
    if (!visto_ || valor != anterior_) {
        visto_ = true;
        anterior_ = valor;
        prazo_.Renovar();
        return true;
    }
    return !prazo_.Esgotado();
}
