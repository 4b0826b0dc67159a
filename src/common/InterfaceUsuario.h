#pragma once
// The few things the headless layers ask of the person at the screen: an
// information box, a Yes/No question, and the waiting window. The windows
// install a Qt implementation; tools and tests keep the plain one or their own.
#include <string>

// A call on a database server running on another thread while the screen
// waits for it; its server may have stopped answering.
class TEsperaServidor {
public:
    virtual ~TEsperaServidor() = default;
    // Waits up to `ms` milliseconds; true once the call has ended.
    virtual bool AguardarConclusao(int ms) = 0;
    // Seconds since the server last answered; 0 while it answers.
    virtual int SegundosSemResposta() const = 0;
    // The server and the seconds of silence after which the call is abandoned.
    virtual std::string Servidor() const = 0;
    virtual int Limite() const = 0;
    // The operator gives up: the connection is abandoned without waiting.
    virtual void Desistir() = 0;
};

class TInterfaceUsuario {
public:
    virtual ~TInterfaceUsuario() = default;
    virtual void Mensagem(const std::string& texto) = 0;     // information box, OK button
    virtual bool Confirma(const std::string& pergunta) = 0;  // Yes/No box titled "Confirmação"
    virtual void MostraAguarde() = 0;                        // waiting window shown
    virtual void RepintaAguarde() = 0;
    virtual void EscondeAguarde() = 0;
    // True when calls on a database server should run beside the screen,
    // which waits for each through AguardaServidor (the windows, which stay
    // painted and offer to give up on a server that stopped answering).
    virtual bool AcompanhaServidor() const { return false; }
    virtual void AguardaServidor(TEsperaServidor& chamada) {
        while (!chamada.AguardarConclusao(1000)) {}
    }
};

// The one in force; never null. The plain one writes messages to standard
// error and answers No to every question.
TInterfaceUsuario& InterfaceUsuario();
// Installs another (not owned); nullptr brings the plain one back.
void DefinirInterfaceUsuario(TInterfaceUsuario* iu);
