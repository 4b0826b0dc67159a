#pragma once
// Serial line through termios. "COMn" and "\\.\COMn" are /dev/ttyS(n-1);
// /dev/tty* and /dev/pts/* names are used as they are.
#include <functional>

#include "device/CdbDeviceClass.h"
#include "device/Descritor.h"

class TCdbDeviceSerial : public TCdbDeviceClass {
public:
    // One write of the line: bytes written, 0 or less when nothing went.
    using TFuncaoEscrita = std::function<long(int fd, const char* p, size_t n, int timeOutMs)>;

    explicit TCdbDeviceSerial(TCdbDevice* dono);
    ~TCdbDeviceSerial() override;
    const char* ClassName() const override { return "TCdbDeviceSerial"; }

    int GetMaxBandwidth() override { return banda_.Maximo; }
    void SetMaxBandwidth(int v) override { banda_.Maximo = v; }
    int GetTimeOut() override { return deadLockTimeOut_; }
    void SetTimeOut(int ms) override { deadLockTimeOut_ = ms; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void Desconectar(bool ignorarErros = true) override;
    void EnviaString(const std::string& dados) override;
    std::string LeString(int timeOutMs = 1000, int numBytes = 0, const std::string& terminador = "") override;
    void Limpar() override;

    // Applies the line settings below to the open line.
    void ConfigurarSerial();
    bool Aberta() const { return fd_ >= 0; }
    static std::string CaminhoDispositivo(const std::string& porta);

    // Line settings (the device checks and sets them).
    int Baud = 9600;
    int Data = 8;
    char Parity = 'N';  // N O E M S
    int Stop = 0;       // 0 one, 1 one and a half, 2 two
    TCdbHandShake HandShake = TCdbHandShake::hsNenhum;
    bool HardFlow = false;
    bool SoftFlow = false;

    // Tests put a failing write here; empty means the real one.
    TFuncaoEscrita FuncaoEscrita;

private:
    void Fechar(bool ignorarErros);
    int64_t SeguroAte() override;
    int fd_ = -1;
    int deadLockTimeOut_ = 1000;
    TLimiteBanda banda_;
};

// Baud rates outside the termios table, through termios2 (Linux).
bool DefinirBaudLivre(int fd, int baud);
