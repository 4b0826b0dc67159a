#pragma once
// Bounded writes and reads on a file descriptor, shared by the channels: a
// printer that stops taking data must not keep the program waiting.
#include <chrono>
#include <cstddef>
#include <string>

namespace Descritor {

// One attempt: waits up to timeOutMs for room, then writes. Returns the bytes
// written, 0 when the time ran out, -1 on error (errno set).
long Escrever(int fd, const char* p, size_t n, int timeOutMs, bool socket = false);

// Writes everything, allowing timeOutMs without progress. Returns false with
// `erro` set (ETIMEDOUT when the time ran out) when it could not.
bool EscreverTudo(int fd, const char* p, size_t n, int timeOutMs, int& erro, bool socket = false);

// Reads until numBytes arrived (0: whatever is pending), the terminator came or
// timeOutMs passed.
std::string Ler(int fd, int timeOutMs, int numBytes, const std::string& terminador, bool socket = false);

// Closes ignoring EINTR; returns the errno of a failed close, 0 when fine.
int Fechar(int& fd);

}  // namespace Descritor

// Keeps the sending rate under MaxBandwidth bytes per second (0: no limit).
class TLimiteBanda {
public:
    int Maximo = 0;
    void Iniciar();
    void Registrar(size_t bytes);

private:
    std::chrono::steady_clock::time_point inicio_{};
    size_t enviados_ = 0;
};
