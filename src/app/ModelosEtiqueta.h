#pragma once
// The 59 lines of the label model list (combo box of the configuration panel).
// Each begins with the two-digit model number and " - "; readers take the
// model number from the start of the stored line. A line adds what tells
// look-alike models apart: the language when the description lacks it, the
// label size (or the column pitch) and the resolution; an A4 model its cell.
#include <string>
#include <vector>

struct TInfoModelo;

std::string LinhaModeloPainel(const TInfoModelo& m);
const std::vector<std::string>& LinhasModelo();

// The list item a stored MODELO PRINT names: today's line or the shorter one
// earlier versions saved; -1 for any other text.
int IndiceLinhaGravada(const std::string& gravada);
