#pragma once
// SIGTERM and SIGINT (a session logout, Ctrl+C) end the programs in order.
// The signal handler only writes the signal number to a pipe; a watcher
// thread reads it and runs what the program registered (cancel the database
// work in progress, close the windows), so the main thread unwinds the
// ordinary way: transactions rolled back, attachments detached.
// A program still running some seconds later, or a second signal, ends at
// once: the server rolls back whatever an ended attachment left open.
#include <functional>
#include <string>

// Installs the handlers; `aoPedir` runs on the watcher thread, once.
void InstalarEncerramentoPorSinal(std::function<void(int sinal)> aoPedir, int segundosAteForcar = 5);
// From here on a signal no longer runs `aoPedir` (what it reaches for is
// being destroyed): it ends the program at once. Waits for a run of
// `aoPedir` in progress. Done by itself at exit.
void DesligarEncerramentoPorSinal();
// The signal that asked the program to end, 0 while none has come.
int SinalDeEncerramento();
inline bool EncerramentoPedido() { return SinalDeEncerramento() != 0; }
// "SIGTERM", "SIGINT" or "sinal N".
std::string NomeDoSinal(int sinal);
// The exit status of a program ended by the signal, as the shell reports it.
inline int CodigoDeSaida(int sinal) { return 128 + sinal; }
// Says on standard error that `programa` was ended by the signal that asked
// for it, its uncommitted work undone, and gives its exit status.
int RelatarEncerramento(const char* programa);
