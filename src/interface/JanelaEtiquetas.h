#pragma once
// The label queue window as the goods window sees it when it hands a batch
// over for printing: a few settings made before the modal show, and the
// instalment counts read back after it. The queue work provides the window;
// until a factory is installed the goods window goes on without one.
#include <functional>
#include <memory>
#include <string>

class TJanelaEtiquetas {
public:
    virtual ~TJanelaEtiquetas() = default;

    bool PrimeiraAtivacao = true;
    bool ProcessarGrades = false;     // copied from the goods window
    bool FecharAposImprimir = false;  // direct mode with a model number: close after printing
    // The batch came from the stale labels: the window tells each row's last label.
    bool MostrarEtiquetaAnterior = false;

    bool MostrarBrancos = false;   // lblbranco, edtBranco: the A4 sheet models
    bool MostrarParcelas = false;  // lblPetiq, EdtP1, edtP2 shown, edtParametro hidden: model 47
    std::string Parcela1 = "0";    // text of EdtP1: set before the show, read after it
    std::string Parcela2 = "0";    // text of edtP2

    // Shows the window modally and returns when it closes.
    virtual void ShowModal() = 0;
};

using TFabricaJanelaEtiquetasFila = std::function<std::unique_ptr<TJanelaEtiquetas>()>;

// How the goods window makes its queue windows; the program entry installs
// the real one. Without one the goods window shows a plain stand-in.
void DefinirFabricaJanelaEtiquetasFila(TFabricaJanelaEtiquetasFila fabrica);
const TFabricaJanelaEtiquetasFila& FabricaJanelaEtiquetasFila();

// The question asked before a new batch replaces a queue whose last print at
// this workstation was interrupted ("" when there is none to ask); the
// program entry installs the journal's. Without one nothing is asked.
using TPerguntaSubstituicaoFila = std::function<std::string()>;
void DefinirPerguntaSubstituicaoFila(TPerguntaSubstituicaoFila pergunta);
const TPerguntaSubstituicaoFila& PerguntaSubstituicaoFila();
