#pragma once
// A TCP relay on the loopback that holds every chunk a fixed time in each
// direction, so a program on this machine meets its database server as a
// shop's network or a VPN would show it, and counts the round trips: every
// time the client speaks again after the server answered, one more. Used by
// the network benchmark and by the test that keeps the round trips of the
// batch and of the print from growing back.
//
// Only 127.0.0.1 is listened on and connected to. One thread serves every
// connection; the destructor stops it and closes every socket.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

class TRetransmissor {
public:
    // Relays 127.0.0.1:<Porta()> to 127.0.0.1:portaDestino, holding each
    // chunk `atraso` in each direction.
    TRetransmissor(int portaDestino, std::chrono::microseconds atraso);
    ~TRetransmissor();
    TRetransmissor(const TRetransmissor&) = delete;
    TRetransmissor& operator=(const TRetransmissor&) = delete;

    int Porta() const { return porta_; }
    // Requests answered so far over every connection (client speaks after an answer).
    uint64_t IdasEVoltas() const { return idasEVoltas_.load(); }
    uint64_t Conexoes() const { return conexoes_.load(); }
    void Zerar() { idasEVoltas_ = 0; }

private:
    void Rodar();

    int portaDestino_;
    std::chrono::microseconds atraso_;
    int escuta_ = -1;
    int porta_ = 0;
    int aviso_[2] = {-1, -1};  // wakes the thread to stop
    std::atomic<uint64_t> idasEVoltas_{0};
    std::atomic<uint64_t> conexoes_{0};
    std::thread fio_;
};
