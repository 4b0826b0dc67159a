#pragma once
// The person at the screen, through Qt: message boxes, the Yes/No question and
// the waiting window. Installed by the program entry for the whole run.
#include <string>

#include "common/InterfaceUsuario.h"

class TfrmAvisoAbertura;

class TInterfaceUsuarioQt final : public TInterfaceUsuario {
public:
    explicit TInterfaceUsuarioQt(TfrmAvisoAbertura& aguarde) : aguarde_(aguarde) {}
    void Mensagem(const std::string& texto) override;
    bool Confirma(const std::string& pergunta) override;
    void MostraAguarde() override;
    void RepintaAguarde() override;
    void EscondeAguarde() override;
    // Calls on a server run beside the event loop; a server that stops
    // answering brings up a window with the seconds passed and "Desistir".
    bool AcompanhaServidor() const override { return true; }
    void AguardaServidor(TEsperaServidor& chamada) override;

private:
    TfrmAvisoAbertura& aguarde_;
};

// Information box with an OK button, titled after the program.
void MostraMensagem(const std::string& texto);

// Starts a program by its file name as the desktop would: run it when it is
// executable, otherwise hand it to the desktop's opener. Does not wait; a
// missing file or a failed start is ignored (the caller watches for results).
void AbrirPrograma(const std::string& caminho);
