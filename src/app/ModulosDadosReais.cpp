#include "app/ModulosDadosReais.h"

#include "data/AjustesBanco.h"

TModulosDadosReais::TModulosDadosReais() : DtmMercadorias(dtmAplicativo), dtmFornecedores(dtmAplicativo) {}

void TModulosDadosReais::Ajusta_BD() { ::Ajusta_BD(dtmAplicativo); }

void TModulosDadosReais::AjustaTributosIcm() { ::AjustaTributosIcm(dtmAplicativo); }
