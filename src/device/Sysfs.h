#pragma once
// Attributes the kernel shows as files under /sys (idVendor, type, ...).
#include <filesystem>
#include <fstream>
#include <string>

#include "common/UFuncoes.h"

// The value of one attribute: its first line, trimmed ("" when unreadable).
inline std::string AtributoSysfs(const std::filesystem::path& arquivo) {
    std::ifstream f(arquivo);
    std::string s;
    std::getline(f, s);
    return Trim(s);
}
