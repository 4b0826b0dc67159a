#pragma once
// The system's printer spooler (CUPS): the stream goes as one raw job to an
// installed printer, "*" being the default one.
#include <string>
#include <vector>

#include "device/CdbDeviceClass.h"

struct TImpressoraInstalada {
    std::string Nome;
    std::string Descricao;  // printer-info
    std::string Endereco;   // device-uri, when the server tells
    bool Padrao = false;
};

class TCdbDeviceRaw : public TCdbDeviceClass {
public:
    using TCdbDeviceClass::TCdbDeviceClass;
    const char* ClassName() const override { return "TCdbDeviceRaw"; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void EnviaString(const std::string& dados) override;

    // The installed printers in the server's order; empty when no spooler
    // answers (then `respondeu`, when given, is false).
    static std::vector<TImpressoraInstalada> ImpressorasInstaladas(int timeOutMs = 3000, bool* respondeu = nullptr);
    static bool EhImpressoraInstalada(const std::string& nome, int timeOutMs = 3000);

    // The printer a port name stands for ("*", "RAW:name", name), with the
    // lookup messages.
    std::string ProcurarImpressora(const std::string& porta);

private:
    int timeOut_ = 3000;
};
