#pragma once
// The port object of the label printer: holds the port name and line settings,
// deduces the output channel from the name, opens it and hands it the stream.
// Plain C++, no Qt. Port names and messages are UTF-8; streams are raw bytes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "device/Relogio.h"

enum class TCdbDeviceType { dtNenhum, dtFile, dtSerial, dtParallel, dtTCP, dtRawPrinter, dtHook, dtUSB, dtBlueTooth };
enum class TCdbSerialParity { pNone, pOdd, pEven, pMark, pSpace };
enum class TCdbSerialStop { s1, s1eMeio, s2 };
enum class TCdbHandShake { hsNenhum, hsXON_XOFF, hsRTS_CTS, hsDTR_DSR };

const char* NomeTipo(TCdbDeviceType t);  // "dtNenhum", ...

class TCdbDeviceClass;
class TCdbDeviceSerial;
class TCdbDeviceTCP;
class TCdbDeviceLPT;
class TCdbDeviceRaw;
class TCdbDeviceHook;
class TCdbDeviceWinUSB;

const char* NomeParidade(TCdbSerialParity p);  // "pNone", ...
const char* NomeStop(TCdbSerialStop s);        // "s1", ...
const char* NomeHandShake(TCdbHandShake h);    // "hsNenhum", ...

// Bytes 0-31 and 127-255 written out as "[NUL]", "[CR]", "[200]"... for log lines.
std::string TraduzirControles(std::string_view dados);

// What the serial line reports to OnStatus.
enum class TCdbSerialStatus { ssAbrindo, ssAberta, ssFechando, ssEnviando, ssEnviado };
using TOnStatusSerial = std::function<void(TCdbSerialStatus status, const std::string& valor)>;

// Caller functions of the hook channel.
using THookAtivar = std::function<void(const std::string& porta, const std::string& parametros)>;
using THookDesativar = std::function<void(const std::string& porta)>;
using THookEnviaString = std::function<void(const std::string& dados)>;
using THookLeString = std::function<std::string(int numBytes, int timeOutMs)>;

// What the device identification of the USB and serial channels reports.
struct TIdentificacaoDispositivo {
    int Classe = 2;     // 0 misc, 1 receipt printer, 2 label printer, 3 fiscal
    int Protocolo = 0;  // TCdbETQModelo ordinal, 0 when unknown
};

class TCdbDevice {
public:
    TCdbDevice();
    ~TCdbDevice();
    TCdbDevice(const TCdbDevice&) = delete;
    TCdbDevice& operator=(const TCdbDevice&) = delete;

    const std::string& Porta() const;
    void SetPorta(std::string_view porta);
    TCdbDeviceType DeviceType() const;
    void SetDeviceType(TCdbDeviceType t);
    // The channel a port name selects. Windows names keep their meaning ("LPT1",
    // "COM3", "\\host\share", ...); "/dev/tty..." and "/dev/pts/..." are serial
    // lines and any other "/..." path a file or a device written as a file.
    TCdbDeviceType DeduzirTipoPorta(std::string_view porta);

    void Ativar();
    void Desativar();
    bool Ativo() const;
    // The port is written as a file and names a regular file (not a device
    // node, a pipe or a printer): nothing on the other side needs pacing.
    bool EscreveEmArquivoComum() const;
    void EnviaString(const std::string& dados);
    // Bytes the channel took since the last Ativar.
    size_t BytesEnviados() const;
    // How many of the last streams delivered since Ativar may still not have
    // reached the printer (taken by its network stack or its buffer, and lost
    // if it dies): as of the failure after EnviaString failed, as of now
    // otherwise. At least the last stream on a printer port; 0 where what was
    // written stays written (a file, the spooler).
    int EnviosNaoConfirmados() const;
    // The last EnviaString failed on the port (not before reaching it).
    bool EnvioFalhou() const;
    // What every wait on the printer is timed by (the steady clock unless set;
    // not owned, must outlive the device).
    const TRelogio& Relogio() const;
    void SetRelogio(const TRelogio* relogio);
    std::string DeviceToString(bool apenasDiferentesDoPadrao);
    // Asks the USB/serial identification; other channels leave the defaults.
    TIdentificacaoDispositivo IdentificarDispositivo();

    int TimeOut() const;
    void SetTimeOut(int ms);

    // Serial settings
    int Baud() const;
    void SetBaud(int v);
    int Data() const;
    void SetData(int v);
    TCdbSerialParity Parity() const;
    void SetParity(TCdbSerialParity v);
    TCdbSerialStop Stop() const;
    void SetStop(TCdbSerialStop v);
    TCdbHandShake HandShake() const;
    void SetHandShake(TCdbHandShake v);
    bool SoftFlow() const;
    void SetSoftFlow(bool v);
    bool HardFlow() const;
    void SetHardFlow(bool v);
    int DeadLockTimeOut() const;
    void SetDeadLockTimeOut(int ms);  // serial line write time-out

    int MaxBandwidth() const;
    void SetMaxBandwidth(int v);
    int SendBytesCount() const;
    void SetSendBytesCount(int v);
    int SendBytesInterval() const;
    void SetSendBytesInterval(int ms);
    std::string NomeDocumento() const;  // "TCdbDevice" when unset
    void SetNomeDocumento(std::string v);
    bool ProcessMessages = true;
    TOnStatusSerial OnStatus;

    THookAtivar HookAtivar;
    THookDesativar HookDesativar;
    THookEnviaString HookEnviaString;
    THookLeString HookLeString;

    const std::string& ArqLOG() const;
    void SetArqLOG(std::string arquivo);
    void GravarLog(const std::string& linha, bool traduzir = false);

    // USB identification only lists generic USB devices of this class (0 = any);
    // the label component sets 2.
    int FiltroClasseUSB() const;
    void SetFiltroClasseUSB(int classe);

    // The channel objects, for tests, tools and the channels themselves.
    TCdbDeviceClass& Canal();  // the current one
    TCdbDeviceSerial& Serial();
    TCdbDeviceTCP& TCP();
    TCdbDeviceLPT& LPT();
    TCdbDeviceRaw& Raw();
    TCdbDeviceHook& Hook();
    TCdbDeviceWinUSB& USB();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
