#include "app/ModulosDadosReais.h"

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"

TModulosDadosReais::TModulosDadosReais() : DtmMercadorias(dtmAplicativo), dtmFornecedores(dtmAplicativo) {}

void TModulosDadosReais::Ajusta_BD() { ::Ajusta_BD(dtmAplicativo); }

void TModulosDadosReais::AjustaTributosIcm() { ::AjustaTributosIcm(dtmAplicativo); }

bool TModulosDadosReais::BancoConfigurado() {
    const std::string caminho = LerConfig("PATH MERKOR");
    if (Trim(caminho).empty()) return false;
    // A demo shop made, or a database saved in the panel, after start-up.
    for (fb::TDatabase* banco : {&dtmAplicativo.dtbAplicativo, &dtmAplicativo.dtbAplicativoMrg}) {
        if (banco->Caminho() == caminho) continue;
        banco->FecharDataSets();
        banco->Desconectar();
        banco->SetCaminho(caminho);
    }
    return true;
}
