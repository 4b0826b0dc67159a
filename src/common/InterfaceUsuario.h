#pragma once
// The few things the headless layers ask of the person at the screen: an
// information box, a Yes/No question, and the waiting window. The windows
// install a Qt implementation; tools and tests keep the plain one or their own.
#include <string>

class TInterfaceUsuario {
public:
    virtual ~TInterfaceUsuario() = default;
    virtual void Mensagem(const std::string& texto) = 0;           // information box, OK button
    virtual bool Confirma(const std::string& pergunta) = 0;        // Yes/No box titled "Confirmação"
    virtual void MostraAguarde() = 0;                               // waiting window shown
    virtual void RepintaAguarde() = 0;
    virtual void EscondeAguarde() = 0;
};

// The one in force; never null. The plain one writes messages to standard
// error and answers No to every question.
TInterfaceUsuario& InterfaceUsuario();
// Installs another (not owned); nullptr brings the plain one back.
void DefinirInterfaceUsuario(TInterfaceUsuario* iu);
