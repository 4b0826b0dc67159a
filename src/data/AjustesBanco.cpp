#include "data/AjustesBanco.h"

#include <optional>
#include <string>
#include <string_view>

#include "common/ErroSistema.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "data/Aguarde.h"
#include "data/EtiquetaAtual.h"
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
        // What the last label of each goods item said: the goods window's label criteria read it.
        PrepararEtiquetaAtual(dtm.dtbAplicativo);
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (...) {}
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

std::string TextoCriarTabelasDoPrograma(const std::vector<TTabelaDoPrograma>& tabelas) {
    // Texts inside EXECUTE STATEMENT: their quotes doubled.
    auto dentro = [](const std::string& sql) {
        std::string r;
        for (char c : sql) {
            r += c;
            if (c == '\'') r += '\'';
        }
        return r;
    };
    std::string t = "EXECUTE BLOCK AS BEGIN";
    for (const TTabelaDoPrograma& tabela : tabelas) {
        const std::string nome = AspasSql(tabela.nome);
        t += " IF (NOT EXISTS(select 1 from rdb$relations where rdb$relation_name = " + nome + ")) THEN BEGIN";
        for (const std::string& ddl : tabela.ddl) t += " EXECUTE STATEMENT '" + dentro(ddl) + "';";
        t += " END";
        // The four privileges for PUBLIC, given by whoever may give them.
        t += " IF ((select count(distinct rdb$privilege) from rdb$user_privileges where rdb$user = 'PUBLIC'"
             " and rdb$relation_name = " +
             nome +
             " and rdb$field_name is null and rdb$privilege in ('S', 'I', 'U', 'D')) < 4"
             " and exists(select 1 from rdb$relations where rdb$relation_name = " +
             nome +
             " and (rdb$owner_name = current_user or current_user = 'SYSDBA' or current_role = 'RDB$ADMIN')))"
             " THEN EXECUTE STATEMENT 'GRANT " +
             kPrivilegiosDoPrograma + " ON " + tabela.nome + " TO PUBLIC';";
    }
    return t + " END";
}

void CriarTabelasDoPrograma(fb::TDatabase& banco, const std::vector<TTabelaDoPrograma>& tabelas) {
    banco.ExecutarImediato(TextoCriarTabelasDoPrograma(tabelas));
}

void AjustaTributosIcm(TdtmAplicativo& dtm) {
    try {
        ExecutarAjuste(dtm, "alter table TRIBUTOS_ICM", "alter icms_st type numeric(18,4)");
    } catch (const fb::EFbConexao&) {
        // The operator asked for it: an unreachable server or a lost link is
        // told as everywhere else, and the program's end is not held up.
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (const std::exception& e) {
        InterfaceUsuario().Mensagem("A coluna ICMS_ST da tabela TRIBUTOS_ICM não foi ajustada: " + MensagemDaFalha(e));
    }
}
