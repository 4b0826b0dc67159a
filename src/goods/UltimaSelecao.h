#pragma once
// "Repetir última seleção": the criteria of this workstation's last label
// batch, kept in configEtq.ini (section [ULTIMA SELECAO], beside [CONF]):
// that file is this workstation's own, needs no table in the shop database
// and is there even when the database is not.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/UFuncoes.h"
#include "goods/OpcoesMercadorias.h"

inline constexpr const char* kSecaoUltimaSelecao = "ULTIMA SELECAO";

// The options as key=value pairs, with `dia` (the batch's day, DD/MM/AAAA);
// the barcode list's line ends escaped so a value stays one line.
std::vector<std::pair<std::string, std::string>> ChavesSelecao(const TOpcoesMercadorias& o, const std::string& dia);

// The options back from the pairs; keys that are missing keep the start
// values, and a date range that ended on the batch's day ("changed this
// week") moves with `hoje`, keeping its length. Other dates stay as they were.
TOpcoesMercadorias SelecaoDasChaves(const std::vector<std::pair<std::string, std::string>>& chaves, TDateTime hoje);

// Written after a batch is built; a file that cannot be written raises.
void GuardarUltimaSelecao(const TOpcoesMercadorias& o, TDateTime dia);
// Nothing when no batch was kept.
std::optional<TOpcoesMercadorias> LerUltimaSelecao(TDateTime hoje);
