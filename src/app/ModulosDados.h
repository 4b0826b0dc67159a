#pragma once
// What the main window asks of the data modules. The program uses the real
// modules (TModulosDadosReais); tests put a recorder in their place.
#include <string>
#include <vector>

using TListaNomes = std::vector<std::string>;

class TModulosDados {
public:
    virtual ~TModulosDados() = default;
    virtual void Ajusta_BD() = 0;
    virtual void AjustaTributosIcm() = 0;  // "Ajusta Base de dados"
    virtual void dtmAplicativoOpen(const TListaNomes& nomes) = 0;
    virtual void dtmAplicativoclose(const TListaNomes& nomes) = 0;
    virtual void dtmMercadoriasOpen(const TListaNomes& nomes) = 0;
    virtual void dtmMercadoriasClose(const TListaNomes& nomes) = 0;
    virtual void dtmFornecedoresOpen(const TListaNomes& nomes) = 0;
    virtual void dtmFornecedoresClose(const TListaNomes& nomes) = 0;
    virtual void dtmConectBancoMrg(bool conectar) = 0;
    // Whether configEtq.ini names a shop database; the connections follow a
    // path saved since they were made.
    virtual bool BancoConfigurado() { return true; }
};
