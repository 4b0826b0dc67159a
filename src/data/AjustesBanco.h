#pragma once
// The schema adjustments the program makes to the shop database, and the
// tables of its own it creates there.
#include <string>
#include <vector>

class TdtmAplicativo;
namespace fb {
class TDatabase;
}

// Adds ETIQUETAREAD.SO_NOME when the column is missing; its other failures
// (column already there, table missing) are kept quiet. A database that
// cannot be reached (or a lost link) is raised, not kept quiet.
void Ajusta_BD(TdtmAplicativo& dtm);
// Widens TRIBUTOS_ICM.ICMS_ST to numeric(18,4) (the panel's "Ajusta Base de dados").
// An unreachable server, a lost link and the program's end are raised; any
// other failure (table missing, values that do not fit) is told to the operator.
void AjustaTributosIcm(TdtmAplicativo& dtm);
// Whether ETIQUETAREAD has SO_NOME (failures of the look-up are raised).
bool TemColunaSoNome(TdtmAplicativo& dtm);

// A table of the program's own (the long barcode list, the print journal):
// its name and the statements that create it, the CREATE TABLE first.
struct TTabelaDoPrograma {
    std::string nome;
    std::vector<std::string> ddl;
};
// The privileges every user of the program needs on those tables.
inline constexpr const char* kPrivilegiosDoPrograma = "SELECT, INSERT, UPDATE, DELETE";
// One request that creates the tables that are missing and grants
// kPrivilegiosDoPrograma on each to PUBLIC, so that every workstation's
// database user (USUARIO BD) can use them, whoever created them. A table that
// exists without the grant gets it when this user may give it (its owner,
// SYSDBA or an RDB$ADMIN); otherwise it stays as it is, and the statement
// that needs it says which table the user has no permission on.
std::string TextoCriarTabelasDoPrograma(const std::vector<TTabelaDoPrograma>& tabelas);
// The same, run in a transaction of its own.
void CriarTabelasDoPrograma(fb::TDatabase& banco, const std::vector<TTabelaDoPrograma>& tabelas);
