#pragma once
// The three data modules of the program, created in one place and offered to
// the main window through TModulosDados.
#include "app/ModulosDados.h"
#include "data/UdtmMercadorias.h"
#include "data/udtmAplicativo.h"
#include "data/udtmFornecedores.h"

class TModulosDadosReais final : public TModulosDados {
public:
    // TdtmAplicativo comes first: the other two are bound to its connection
    // and transaction from their creation on.
    TModulosDadosReais();

    TdtmAplicativo dtmAplicativo;
    TDtmMercadorias DtmMercadorias;
    TdtmFornecedores dtmFornecedores;

    void Ajusta_BD() override;
    void AjustaTributosIcm() override;
    void dtmAplicativoOpen(const TListaNomes& nomes) override { dtmAplicativo.dtmAplicativoOpen(nomes); }
    void dtmAplicativoclose(const TListaNomes& nomes) override { dtmAplicativo.dtmAplicativoclose(nomes); }
    void dtmMercadoriasOpen(const TListaNomes& nomes) override { DtmMercadorias.dtmMercadoriasOpen(nomes); }
    void dtmMercadoriasClose(const TListaNomes& nomes) override { DtmMercadorias.dtmMercadoriasClose(nomes); }
    void dtmFornecedoresOpen(const TListaNomes& nomes) override { dtmFornecedores.dtmFornecedoresOpen(nomes); }
    void dtmFornecedoresClose(const TListaNomes& nomes) override { dtmFornecedores.dtmFornecedoresClose(nomes); }
    void dtmConectBancoMrg(bool conectar) override { dtmAplicativo.dtmConectBancoMrg(conectar); }
    bool BancoConfigurado() override;
};
