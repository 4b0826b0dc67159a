#pragma once
// The manual F1 opens: the installed copy, or the source tree's for a copy
// run from the build tree.
#include <string>

class QWidget;

// "" when neither exists.
std::string CaminhoManual();
// Opens it in the desktop's browser; says so when there is none.
void AbrirManual(QWidget* pai);
