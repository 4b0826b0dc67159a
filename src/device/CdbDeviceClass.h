#pragma once
// Base of the output channels. The device owns one of each and hands the
// current one the port name at Ativar and every stream at EnviaString.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "common/Excecoes.h"
#include "device/CdbDevice.h"

// The streams a channel delivered since it connected, each by where it ends
// in the bytes the port took. It tells how many of the last ones the printer
// may not have taken in yet: handed over, but maybe still in a buffer that
// dies with the printer. A label printed twice is better than one never
// printed, so the last stream is always among them.
class TEntregasRecentes {
public:
    void Reiniciar();
    // Bytes the port took: part of a stream, or something else (a question).
    void Avancar(int64_t bytes) { posicao_ += bytes; }
    // The stream written so far ends here.
    void Entregue();
    // Streams that end after `seguroAte` (a position), at least the last one.
    int Incertos(int64_t seguroAte) const;
    // The port failed: the count is kept as it was at the failure.
    void Falhou(int64_t seguroAte);
    bool Falhado() const { return falhou_; }
    int NaoConfirmados() const { return naoConfirmados_; }
    int64_t Posicao() const { return posicao_; }

private:
    std::deque<int64_t> fins_;
    int64_t posicao_ = 0;
    int naoConfirmados_ = 0;
    bool falhou_ = false;
};

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

    // How many of the streams delivered since Conectar may not have reached
    // the printer: as of the failure after one, as of now otherwise.
    int EnviosNaoConfirmados();
    bool EnvioFalhou() const { return entregas_.Falhado(); }

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
    // Channels whose device can fail after taking bytes keep their streams here.
    TEntregasRecentes entregas_;
    // Position up to which the printer surely took what the port took.
    virtual int64_t SeguroAte() { return entregas_.Posicao(); }

private:
    TCdbDevice* dono_;
};
