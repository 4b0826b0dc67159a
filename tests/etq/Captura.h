#pragma once
// A component whose streams land in a vector through the hook channel.
#include <initializer_list>
#include <string>
#include <vector>

#include "device/CdbDevice.h"
#include "etq/CdbETQ.h"
#include "suporte/Suporte.h"

struct TEtqCapturado {
    TCdbETQ etq;
    std::vector<std::string> enviados;

    explicit TEtqCapturado(TCdbETQModelo modelo = etqNenhum) {
        etq.SetPorta("DLL");
        etq.Device().HookEnviaString = [this](const std::string& d) { enviados.push_back(d); };
        etq.SetModelo(modelo);
    }
    const std::string& Ultimo() const { return enviados.back(); }
};

// Lines each followed by the terminator.
inline std::string Linhas(std::initializer_list<std::string> linhas, const std::string& terminador) {
    std::string r;
    for (const auto& l : linhas) r += l + terminador;
    return r;
}

inline const std::string STX = "\x02";
