#pragma once
// The program's version, from the one place it is set: the project version of
// the build.
#include <string>

std::string VersaoPrograma();
// "NOME VERSÃO", the line --version prints.
std::string LinhaVersao(const std::string& programa);
