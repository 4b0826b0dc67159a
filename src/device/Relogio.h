#pragma once
// The time every wait on a printer is measured by. The port object answers
// the steady clock; a test hands it a clock it moves itself, so a wait's
// timeline is checked without depending on how loaded the machine is.
#include <chrono>
#include <cstdint>

class TRelogio {
public:
    using Instante = std::chrono::steady_clock::time_point;
    virtual ~TRelogio() = default;
    virtual Instante Agora() const { return std::chrono::steady_clock::now(); }
    // The longest real wait before the clock is read again, when `resta` is
    // left: all of it on the steady clock; a test's clock asks for short naps,
    // so its own time, not the wall's, says when a deadline is over.
    virtual std::chrono::milliseconds Fatia(std::chrono::milliseconds resta) const { return resta; }
    // The steady clock, shared.
    static const TRelogio& Sistema();
};

// A fixed deadline: `ms` from its start.
class TPrazo {
public:
    TPrazo(const TRelogio& relogio, int ms);
    // Milliseconds left, 0 once it ran out.
    int RestanteMs() const;
    // How long the next real wait (a poll) may last: the clock's slice of what is left.
    int FatiaMs() const;
    bool Esgotado() const { return RestanteMs() == 0; }
    // Starts again from now.
    void Renovar();

private:
    const TRelogio& relogio_;
    std::chrono::milliseconds duracao_;
    TRelogio::Instante limite_;
};

// A deadline that starts again whenever the watched value changes: a printer
// that takes its data slowly is waited for, one that stopped is not.
class TPrazoSemProgresso {
public:
    TPrazoSemProgresso(const TRelogio& relogio, int ms) : prazo_(relogio, ms) {}
    // Notes the value now; false once it stayed the same for the whole time-out.
    bool Observar(int64_t valor);
    int RestanteMs() const { return prazo_.RestanteMs(); }

private:
    TPrazo prazo_;
    int64_t anterior_ = 0;
    bool visto_ = false;
};
