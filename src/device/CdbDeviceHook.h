#pragma once
// Channel that hands everything to functions of the caller ("DLL" port names).
#include "device/CdbDeviceClass.h"

class TCdbDeviceHook : public TCdbDeviceClass {
public:
    using TCdbDeviceClass::TCdbDeviceClass;
    const char* ClassName() const override { return "TCdbDeviceHook"; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void Desconectar(bool ignorarErros = true) override;
    void EnviaString(const std::string& dados) override;
    std::string LeString(int timeOutMs = 1000, int numBytes = 0, const std::string& terminador = "") override;
};
