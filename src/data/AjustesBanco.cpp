#include "data/AjustesBanco.h"

#include <string>
#include <string_view>

#include "common/UFuncoes.h"
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
    return dtm.SelectFile("1", "rdb$relation_fields",
                          "RDB$RELATION_NAME=" + Q("ETIQUETAREAD") + " and   RDB$FIELD_NAME=" + Q("SO_NOME"));
}

void Ajusta_BD(TdtmAplicativo& dtm) {
    try {
        if (TemColunaSoNome(dtm)) return;
        ExecutarAjuste(dtm, "Alter Table ETIQUETAREAD ", "add so_nome varChar(80) ");
    } catch (...) {
        // Silent by design: the next table the action opens reports a dead connection.
    }
}

void AjustaTributosIcm(TdtmAplicativo& dtm) {
    try {
        ExecutarAjuste(dtm, "alter table TRIBUTOS_ICM", "alter icms_st type numeric(18,4)");
    } catch (...) {
    }
}
