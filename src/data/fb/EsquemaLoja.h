#pragma once
// The shop database's schema (Merkor tables), as DDL scripts kept in
// src/data/esquema and built into the program.
#include <string_view>

namespace fb {

class TDatabase;

enum class TVersaoEsquema {
    Atual,   // what the program expects after its own adjustments
    Antiga,  // older shops: ETIQUETAREAD without SO_NOME, ICMS_ST with two decimals
};

std::string_view EsquemaLoja(TVersaoEsquema versao = TVersaoEsquema::Atual);

// Runs the script on a connected (usually just created) database.
void CriarEsquemaLoja(TDatabase& banco, TVersaoEsquema versao = TVersaoEsquema::Atual);

}  // namespace fb
