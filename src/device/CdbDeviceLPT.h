#pragma once
// Parallel port or file: "LPTn" is /dev/lp(n-1); a file name, "FILE:" name or
// a path is written as a file. Every stream opens and closes the target once.
#include "device/CdbDeviceClass.h"

class TCdbDeviceLPT : public TCdbDeviceClass {
public:
    using TCdbDeviceClass::TCdbDeviceClass;
    ~TCdbDeviceLPT() override;
    const char* ClassName() const override { return "TCdbDeviceLPT"; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void Desconectar(bool ignorarErros = true) override;
    void EnviaString(const std::string& dados) override;

    // The port name without a leading "FILE:"; "LPTn" becomes /dev/lp(n-1).
    static std::string NomeArquivo(const std::string& porta);
    bool ModoArquivo() { return Dono().DeviceType() == TCdbDeviceType::dtFile; }

    // Kept for configurations that name them; this system never sets them.
    bool ModoStream = false;
    bool UsarThread = false;

private:
    int Abrir(const std::string& nome, bool anexar, int& erro);
    void NaoConfirmarSeDispositivo(bool arquivoComum);
    int fd_ = -1;
    int timeOut_ = 3000;
};
