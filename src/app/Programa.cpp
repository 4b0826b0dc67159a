#include "app/Programa.h"

#include <QApplication>

#include "app/JanelaMercadorias.h"
#include "app/JanelasPrograma.h"
#include "app/ModulosDadosReais.h"
#include "app/Parametros.h"
#include "common/Excecoes.h"
#include "common/InterfaceUsuario.h"
#include "common/gui/FuncoesGui.h"
#include "goods/EtiquetasDesatualizadas.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/a4/gui/PreviaA4Dialogo.h"
#include "labels/gui/MrgEtiquetas.h"

TPrograma::TRegistro::TRegistro(TPrograma& programa) {
    DefinirFabricaJanelaMercadorias([](TModulosDadosReais& m, QWidget* principal) {
        auto janela =
            std::make_unique<TMrgMercadoriasBD>(m.dtmAplicativo, m.DtmMercadorias, m.dtmFornecedores, principal);
        janela->ParamModelo = ParamModelo();
        return std::unique_ptr<TJanelaMercadorias>(std::move(janela));
    });
    InstalarPreviaA4(MostraPreviaA4Dialogo);

    // The label queue window, on the application module's connection; the
    // command-line model number goes to its print object.
    DefinirFabricaJanelaEtiquetas([](TModulosDadosReais& modulos, QWidget* principal) -> std::unique_ptr<QWidget> {
        auto janela = std::make_unique<TmrgEtiquetas>(modulos.dtmAplicativo, principal);
        janela->Impressao().ParamModelo = ParamModelo();
        return janela;
    });

    // The one the goods window opens on every new batch: a fresh window over
    // the goods window, freed when it closes.
    DefinirFabricaJanelaEtiquetasFila([&programa]() -> std::unique_ptr<TJanelaEtiquetas> {
        if (!programa.modulos_)
            throw Exception("A fila de etiquetas precisa dos módulos de dados, que não foram criados.");
        auto janela =
            std::make_unique<TmrgEtiquetas>(programa.modulos_->dtmAplicativo, QApplication::activeModalWidget());
        janela->Impressao().ParamModelo = ParamModelo();
        return janela;
    });
    DefinirPerguntaSubstituicaoFila([&programa]() -> std::string {
        if (!programa.modulos_) return "";
        return TImpressaoEtiquetas::PerguntaSubstituicao(programa.modulos_->dtmAplicativo);
    });
}

TPrograma::TRegistro::~TRegistro() {
    DefinirPerguntaSubstituicaoFila(nullptr);
    DefinirFabricaJanelaEtiquetasFila(nullptr);
    DefinirFabricaJanelaEtiquetas(nullptr);
    DefinirFabricaJanelaMercadorias(nullptr);
}

namespace {
// The command line is taken before any window reads it.
const std::vector<std::string>& ComParametros(const std::vector<std::string>& argumentos) {
    DefinirParametrosPrograma(LerParametrosPrograma(argumentos));
    return argumentos;
}
}  // namespace

TPrograma::TPrograma(const std::vector<std::string>& argumentos, const std::function<void()>& antesDosModulos)
    : frmPrincipal(ComParametros(argumentos)),
      frmAvisoAbertura(&frmPrincipal),
      interfaceQt_(frmAvisoAbertura),
      registro_(*this) {
    DefinirInterfaceUsuario(&interfaceQt_);
    try {
        if (antesDosModulos) antesDosModulos();
        modulos_ = std::make_unique<TModulosDadosReais>();
        frmPrincipal.DefinirModulosDados(modulos_.get());
        mrgMercadoriasBD_ = CriarJanelaMercadorias(*modulos_, &frmPrincipal);
        frmPrincipal.DefinirJanelaMercadorias(mrgMercadoriasBD_.get());
        frmPrincipal.ContarDesatualizadas = [] { return ContarDesatualizadasDaLoja(); };
        funcoes_ = std::make_unique<TFuncoes>();
        mrgEtiquetas_ = CriarJanelaEtiquetas(*modulos_, &frmPrincipal);
    } catch (...) {
        frmPrincipal.DefinirJanelaMercadorias(nullptr);
        frmPrincipal.DefinirModulosDados(nullptr);
        DefinirInterfaceUsuario(nullptr);
        throw;
    }
}

TPrograma::~TPrograma() {
    frmPrincipal.DefinirJanelaMercadorias(nullptr);
    frmPrincipal.DefinirModulosDados(nullptr);
    mrgEtiquetas_.reset();
    funcoes_.reset();
    mrgMercadoriasBD_.reset();
    modulos_.reset();
    DefinirInterfaceUsuario(nullptr);
}
