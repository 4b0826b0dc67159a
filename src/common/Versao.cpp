#include "common/Versao.h"

std::string VersaoPrograma() { return ETIQ_VERSAO; }

std::string LinhaVersao(const std::string& programa) { return programa + " " + VersaoPrograma(); }
