#pragma once
// The private runtime folder Qt wants (XDG_RUNTIME_DIR). A login session
// provides it; a command run by a service, cron or CI as root has none, and
// Qt would complain on standard error before doing the same by itself.
#include <string>

// When XDG_RUNTIME_DIR is unset or empty: makes "<temp>/runtime-<uid>" (mode
// 0700, ours; an existing one of ours is tightened to 0700) and points the
// variable at it. A name held by another user, a link or a file is left
// alone and the variable unset: Qt then says what is wrong. Returns the
// folder in force ("" when none).
std::string PrepararPastaExecucao();

// The embedded Firebird engine of an installed program (no FIREBIRD root set)
// keeps its lock files in /tmp/firebird, which belongs to whichever user
// opened a database first: everybody else is refused. Unless FIREBIRD or
// FIREBIRD_LOCK is set, each user gets "<runtime folder>/etiquetas-firebird",
// and FIREBIRD names a root in it ("raiz") where the engine runs in Classic
// mode (PrepararRaizFirebird), so the program and etiquetas-cli can open the
// same local database at once. Returns the lock folder set ("" when left alone).
std::string PrepararTravasFirebird();

// The system's Firebird 3 engine folder (Debian's), "" when not installed.
std::string PastaMotorFirebird();

// Makes (or completes) a Firebird root in `raiz` over the engine in `motor`
// (default PastaMotorFirebird()): a copy of the character-set configuration,
// links to the engine's messages and plugins, a firebird.conf with
// ServerMode = Classic. An existing root keeps its files. Returns `raiz`, or
// "" when it cannot be made (no engine, a folder that cannot be written).
std::string PrepararRaizFirebird(const std::string& raiz, const std::string& motor = "");

// Makes the missing folders of `pasta`, each new one private (0700) as the
// XDG folders are. Returns "" or what went wrong, naming the folder.
std::string CriarPastasPrivadas(const std::string& pasta);
