#include "previa/PreviaImpressao.h"

#include "common/Excecoes.h"
#include "device/CdbDevice.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"

namespace previa {

namespace {
// Ends the walk from inside the port once the caller has had enough.
struct PreviaInterrompida {};
}  // namespace

TResultadoPrevia TPreviaImpressao::Executar() {
    TResultadoPrevia r;
    bool parar = false;
    imp_.AntesDeAtivar = [&](TCdbETQ& etq) {
        r.modelo = imp_.ModelNumber();
        if (EhModeloA4(r.modelo))
            throw Exception("O modelo " + std::to_string(r.modelo) +
                            " é de folha A4: a visualização mostra etiquetas térmicas; use a prévia da folha.");
        r.linguagem = LinguagemDoModelo(etq.Modelo());
        if (etq.Ativo()) etq.Desativar();  // left open by a failed print: the port may change only closed
        etq.SetPorta("DLL");
        etq.Device().HookEnviaString = [&](const std::string& fluxo) {
            ++r.trabalhos;
            if (AoFluxo) AoFluxo(fluxo);
            // The language may change when the port identifies the printer.
            const Previa p = Visualizar(fluxo, LinguagemDoModelo(etq.Modelo()), Dpi, Tamanho, MaxImagens - r.imagens);
            r.avisos.insert(r.avisos.end(), p.avisos.begin(), p.avisos.end());
            for (const auto& img : p.imagens) {
                const bool seguir = !AoImagem || AoImagem(img, r.imagens);
                ++r.imagens;
                if (!seguir || r.imagens >= MaxImagens) {
                    parar = true;
                    break;
                }
            }
            if (parar) throw PreviaInterrompida{};
        };
    };
    const int pausa = imp_.PausaMs;
    const bool diario = imp_.UsarDiario;
    imp_.PausaMs = 0;         // nothing to wait for: no printer is taking the labels
    imp_.UsarDiario = false;  // nothing printed: nothing for the journal
    struct Restaurar {
        TImpressaoEtiquetas& imp;
        int pausa;
        bool diario;
        ~Restaurar() {
            imp.AntesDeAtivar = nullptr;
            imp.PausaMs = pausa;
            imp.UsarDiario = diario;
            try {
                // A stopped walk leaves the component open on memory and the queue filtered.
                imp.CdbETQ.Desativar();
                imp.CdbETQ.Device().HookEnviaString = nullptr;
                imp.tblEtiquetaRead.SetFiltro("");
                imp.tblEtiquetaRead.SetFiltrado(false);
            } catch (...) {}
        }
    } restaurar{imp_, pausa, diario};
    try {
        imp_.ImprimeEtiquetasPreConfigurada();
    } catch (const PreviaInterrompida&) {}
    // A number with no layout never opens the port: the print still knows which it was.
    if (r.modelo == 0) r.modelo = imp_.ModelNumber();
    return r;
}

}  // namespace previa
