#pragma once
// The 59 lines of the label model list (combo box of the configuration panel).
// Each begins with the two-digit model number and " - "; readers take the
// model number from the start of the stored line.
#include <string>
#include <vector>

const std::vector<std::string>& LinhasModelo();
