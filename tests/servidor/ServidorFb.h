#pragma once
// A private Firebird server for a test program (scripts/servidor.sh), shared
// by its tests, and child processes run with a deadline: the other
// workstation, etiquetas-cli, the program itself.
#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/fb/FbCliente.h"

class TServidorFb {
public:
    // Starts the server rooted in `pasta`. When the server binary cannot be
    // had, Disponivel() is false and Motivo() says why (the tests skip); any
    // other failure to start leaves Falhou() true (the tests fail).
    explicit TServidorFb(std::string pasta);
    ~TServidorFb();  // stops it
    bool Disponivel() const { return disponivel_; }
    bool Falhou() const { return falhou_; }
    const std::string& Motivo() const { return motivo_; }
    int Porta() const { return porta_; }
    pid_t Pid() const;
    const std::string& Pasta() const { return pasta_; }
    // "127.0.0.1/PORTA:" + arquivo: the path a workstation gives the client.
    std::string Caminho(const std::string& arquivo) const;

    void Parar();
    void Iniciar();   // again, on the same port and root
    void Matar();     // SIGKILL, as a crash or a power cut would
    void Congelar();  // SIGSTOP: the server takes connections and answers nothing
    void Descongelar();

private:
    std::string pasta_;
    bool disponivel_ = false;
    bool falhou_ = false;
    std::string motivo_;
    int porta_ = 0;
};

// The server frozen (SIGSTOP) for the scope and thawed at its end, or after
// `segundos` at the latest: a call that would wait for ever fails its test
// instead of hanging it.
class TCongelamento {
public:
    explicit TCongelamento(double segundos);
    ~TCongelamento();
    TCongelamento(const TCongelamento&) = delete;
    TCongelamento& operator=(const TCongelamento&) = delete;

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool fim_ = false;
    std::thread guarda_;
};

// The server of the running test program (created by its main).
TServidorFb& Servidor();
void DefinirServidor(TServidorFb* servidor);

// Runs the test program's tests against one private server started in a
// temporary folder named `pasta`, stopped when they end. Call after
// InitGoogleTest; answers RUN_ALL_TESTS's result.
int RodarTestesComServidor(const char* pasta);

// Skips the test when there is no server to run it on.
#define EXIGIR_SERVIDOR()                                                  \
    do {                                                                   \
        if (Servidor().Falhou()) FAIL() << Servidor().Motivo();            \
        if (!Servidor().Disponivel()) GTEST_SKIP() << Servidor().Motivo(); \
    } while (0)

// A new shop database on the server, from the built-in schema (committed).
void CriarLojaNoServidor(const std::string& caminhoRemoto);

// A connection of a workstation with the program's parameters.
struct TConexao {
    explicit TConexao(const std::string& caminho);
    std::string Texto(const std::string& sql);  // first column of the first row, fresh look
    void Executar(const std::string& sql);      // committed at once
    fb::TDatabase db;
    fb::TTransaction tr;
};

// Attachments of other processes on the database the connection is on.
int64_t OutrosAnexos(TConexao& c, pid_t processo);

// A child process with its output going to files.
class TProcesso {
public:
    TProcesso(const std::vector<std::string>& argumentos, const std::string& pasta,
              const std::vector<std::string>& ambiente = {});
    ~TProcesso();  // a child still running is killed
    pid_t Pid() const { return pid_; }
    // Waits up to `segundos`; true when it ended (status in Status()).
    bool Esperar(double segundos);
    int Status() const { return status_; }  // exit code, or 128 + signal
    std::string Saida() const;              // stdout and stderr together
    // Waits until the output holds `texto` (false after `segundos` or when the process ended without it).
    bool EsperarTexto(const std::string& texto, double segundos);
    void Sinal(int sinal);

private:
    pid_t pid_ = -1;
    bool terminou_ = false;
    int status_ = -1;
    std::string arquivoSaida_;
};

double Segundos(std::chrono::steady_clock::time_point desde);
