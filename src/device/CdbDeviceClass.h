#pragma once
// Base of the output channels. The device owns one of each and hands the
// current one the port name at Ativar and every stream at EnviaString.
#include <cstdint>
#include <functional>
#include <string>

#include "common/Excecoes.h"
#include "device/CdbDevice.h"

class TCdbDeviceClass {
public:
    // Raises "Dono de TCdbDeviceClass deve ser TCdbDevice" without an owner.
    explicit TCdbDeviceClass(TCdbDevice* dono);
    virtual ~TCdbDeviceClass();
    TCdbDeviceClass(const TCdbDeviceClass&) = delete;
    TCdbDeviceClass& operator=(const TCdbDeviceClass&) = delete;

    virtual const char* ClassName() const { return "TCdbDeviceClass"; }

    virtual int GetMaxBandwidth() { return 0; }
    virtual int GetTimeOut() { return 100; }
    virtual void SetMaxBandwidth(int) {}
    virtual void SetTimeOut(int) {}
    virtual void Conectar(const std::string& porta, int timeOutMs);
    virtual void Desconectar(bool ignorarErros = true);
    virtual void EnviaString(const std::string& dados);
    virtual void EnviaByte(uint8_t b);
    // Up to numBytes bytes (0: whatever is pending), or up to the terminator.
    virtual std::string LeString(int timeOutMs = 1000, int numBytes = 0, const std::string& terminador = "");
    virtual uint8_t LeByte(int timeOutMs = 1000);
    // Drains pending input.
    virtual void Limpar();

    const std::string& PortaConectada() const { return porta_; }
    TCdbDevice& Dono() { return *dono_; }

protected:
    void GravarLog(const std::string& linha, bool traduzir = false);

    // Logs "ClassName: message" and throws the exception itself.
    template <class E>
    [[noreturn]] void Falhar(const E& e) {
        GravarLog(std::string(e.ClassName()) + ": " + e.Message());
        throw e;
    }

    // Cuts the stream into SendBytesCount pieces with the pause between them.
    void EnviarEmPartes(const std::string& dados, const std::function<void(const char*, size_t)>& escrever);

    std::string porta_;

private:
    TCdbDevice* dono_;
};
