#pragma once
// The program as its entry puts it together: the window factories, then the
// main window, the waiting window, the data modules, the goods window, the
// failure handler and a label queue window, in that order. The entry and the
// whole-road tests build the same thing from here, so they cannot drift apart.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "app/InterfaceUsuarioQt.h"
#include "app/uFrmAvisoAbertura.h"
#include "app/ufrmPrincipal.h"

class TJanelaMercadorias;
class TModulosDadosReais;
class TFuncoes;

class TPrograma {
public:
    // `argumentos` without the program name. `antesDosModulos` runs once the
    // windows and the message boxes are up and before the data modules read
    // the configuration (the first-start window). Throws when the data modules
    // cannot be made (an unreadable configEtq.ini); nothing stays installed.
    explicit TPrograma(const std::vector<std::string>& argumentos,
                       const std::function<void()>& antesDosModulos = nullptr);
    ~TPrograma();
    TPrograma(const TPrograma&) = delete;
    TPrograma& operator=(const TPrograma&) = delete;

    TfrmPrincipal frmPrincipal;
    TfrmAvisoAbertura frmAvisoAbertura;

    TModulosDadosReais& Modulos() { return *modulos_; }
    TJanelaMercadorias* JanelaMercadorias() { return mrgMercadoriasBD_.get(); }

private:
    struct TRegistro {  // the factories, taken back whatever happens after
        explicit TRegistro(TPrograma& programa);
        ~TRegistro();
    };
    TInterfaceUsuarioQt interfaceQt_;
    TRegistro registro_;
    std::unique_ptr<TModulosDadosReais> modulos_;
    std::unique_ptr<TJanelaMercadorias> mrgMercadoriasBD_;
    std::unique_ptr<TFuncoes> funcoes_;
    std::unique_ptr<QWidget> mrgEtiquetas_;
};
