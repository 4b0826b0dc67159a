#pragma once
// The two schema adjustments the program makes to the shop database. Both
// keep quiet about their own failures (column already there, table missing,
// no connection); only a failing commit speaks, through dtmCommit.
class TdtmAplicativo;

// Adds ETIQUETAREAD.SO_NOME when the column is missing. A database that
// cannot be reached (or a lost link) is raised, not kept quiet.
void Ajusta_BD(TdtmAplicativo& dtm);
// Widens TRIBUTOS_ICM.ICMS_ST to numeric(18,4) (the panel's "Ajusta Base de dados").
void AjustaTributosIcm(TdtmAplicativo& dtm);
// Whether ETIQUETAREAD has SO_NOME (failures of the look-up are raised).
bool TemColunaSoNome(TdtmAplicativo& dtm);
