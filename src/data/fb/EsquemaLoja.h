#pragma once
// The shop database's schema (Merkor tables), as DDL scripts kept in
// src/data/esquema and built into the program: loja.sql is the schema of
// older shops, loja_ajustes.sql what brings it to the current one.
#include <string_view>

namespace fb {

class TDatabase;

enum class TVersaoEsquema {
    Atual,   // what the program expects after its own adjustments
    Antiga,  // older shops: ETIQUETAREAD without SO_NOME, ICMS_ST NUMERIC(15,2)
};

// Antiga is loja.sql; Atual is loja.sql followed by loja_ajustes.sql.
std::string_view EsquemaLoja(TVersaoEsquema versao = TVersaoEsquema::Atual);

// Runs the script on a (usually just created) database, all or nothing.
void CriarEsquemaLoja(TDatabase& banco, TVersaoEsquema versao = TVersaoEsquema::Atual);

// For bulk loads: the tables (with their keys) first, the secondary indexes
// after the data is in, which builds them far faster than row by row.
void CriarTabelasLoja(TDatabase& banco, TVersaoEsquema versao = TVersaoEsquema::Atual);
void CriarIndicesLoja(TDatabase& banco, TVersaoEsquema versao = TVersaoEsquema::Atual);

}  // namespace fb
