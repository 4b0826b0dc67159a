#pragma once
// A clock the test moves: by hand (Avancar), and by a fixed step at every
// reading when a step is given, so a loop that keeps reading the clock sees
// its deadline come after a known number of turns, however slow the machine.
#include <algorithm>
#include <atomic>
#include <chrono>

#include "device/Relogio.h"

class TRelogioManual : public TRelogio {
public:
    explicit TRelogioManual(std::chrono::microseconds passo = std::chrono::microseconds(0)) : passo_(passo) {}
    Instante Agora() const override {
        leituras_.fetch_add(1);
        return Instante(std::chrono::microseconds(us_.fetch_add(passo_.count())));
    }
    // Waits for the port last 1 ms of real time at most: the deadlines of
    // this clock end its waits, however long each turn takes.
    std::chrono::milliseconds Fatia(std::chrono::milliseconds resta) const override {
        return std::min(resta, std::chrono::milliseconds(1));
    }
    void Avancar(std::chrono::milliseconds ms) { us_.fetch_add(std::chrono::microseconds(ms).count()); }
    // Time since the clock was made.
    std::chrono::milliseconds Decorrido() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::microseconds(us_.load()));
    }
    long Leituras() const { return leituras_.load(); }

private:
    std::chrono::microseconds passo_;
    mutable std::atomic<long long> us_{0};
    mutable std::atomic<long> leituras_{0};
};
