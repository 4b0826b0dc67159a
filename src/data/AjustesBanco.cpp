#include "data/AjustesBanco.h"

#include <optional>
#include <string>
#include <string_view>

#include "common/UFuncoes.h"
#include "data/Aguarde.h"
#include "data/udtmAplicativo.h"

namespace {

void ExecutarAjuste(TdtmAplicativo& dtm, const char* linha1, const char* linha2) {
    dtm.qryprocesso.Clear();
    dtm.qryprocesso.Add(linha1);
    dtm.qryprocesso.Add(linha2);
    dtm.qryprocesso.Prepare();
    dtm.qryprocesso.ExecSQL();
    dtm.dtmCommit();
}

}  // namespace

bool TemColunaSoNome(TdtmAplicativo& dtm) {
    return dtm.SelectFile(
        "1", "rdb$relation_fields",
        "RDB$RELATION_NAME=" + AspasSql("ETIQUETAREAD") + " and   RDB$FIELD_NAME=" + AspasSql("SO_NOME"));
}

void Ajusta_BD(TdtmAplicativo& dtm) {
    // The first statement of the action usually connects: the operator sees
    // the waiting window while a server is reached.
    std::optional<TAguarde> aguarde;
    if (!dtm.dtbAplicativo.Conectado() && !dtm.dtbAplicativo.Caminho().empty()) aguarde.emplace();
    try {
        if (TemColunaSoNome(dtm)) return;
        ExecutarAjuste(dtm, "Alter Table ETIQUETAREAD ", "add so_nome varChar(80) ");
    } catch (const fb::EFbConexao&) {
        // A database that cannot be reached is told now, once: swallowing it
        // would make the next table wait out the same time-out again.
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (...) {
        // Silent by design: column already there, table missing.
    }
}

void AjustaTributosIcm(TdtmAplicativo& dtm) {
    try {
        ExecutarAjuste(dtm, "alter table TRIBUTOS_ICM", "alter icms_st type numeric(18,4)");
    } catch (...) {}
}
