#include "device/CdbDevice.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "device/CdbDeviceClass.h"
#include "device/CdbDeviceHook.h"
#include "device/CdbDeviceLPT.h"
#include "device/CdbDeviceRaw.h"
#include "device/CdbDeviceSerial.h"
#include "device/CdbDeviceTCP.h"
#include "device/CdbDeviceWinUSB.h"

const char* NomeTipo(TCdbDeviceType t) {
    switch (t) {
        case TCdbDeviceType::dtNenhum: return "dtNenhum";
        case TCdbDeviceType::dtFile: return "dtFile";
        case TCdbDeviceType::dtSerial: return "dtSerial";
        case TCdbDeviceType::dtParallel: return "dtParallel";
        case TCdbDeviceType::dtTCP: return "dtTCP";
        case TCdbDeviceType::dtRawPrinter: return "dtRawPrinter";
        case TCdbDeviceType::dtHook: return "dtHook";
        case TCdbDeviceType::dtUSB: return "dtUSB";
        case TCdbDeviceType::dtBlueTooth: return "dtBlueTooth";
    }
    return "dtNenhum";
}

const char* NomeParidade(TCdbSerialParity p) {
    switch (p) {
        case TCdbSerialParity::pNone: return "pNone";
        case TCdbSerialParity::pOdd: return "pOdd";
        case TCdbSerialParity::pEven: return "pEven";
        case TCdbSerialParity::pMark: return "pMark";
        case TCdbSerialParity::pSpace: return "pSpace";
    }
    return "pNone";
}

const char* NomeStop(TCdbSerialStop s) {
    switch (s) {
        case TCdbSerialStop::s1: return "s1";
        case TCdbSerialStop::s1eMeio: return "s1eMeio";
        case TCdbSerialStop::s2: return "s2";
    }
    return "s1";
}

const char* NomeHandShake(TCdbHandShake h) {
    switch (h) {
        case TCdbHandShake::hsNenhum: return "hsNenhum";
        case TCdbHandShake::hsXON_XOFF: return "hsXON_XOFF";
        case TCdbHandShake::hsRTS_CTS: return "hsRTS_CTS";
        case TCdbHandShake::hsDTR_DSR: return "hsDTR_DSR";
    }
    return "hsNenhum";
}

std::string TraduzirControles(std::string_view dados) {
    std::string r;
    r.reserve(dados.size());
    for (unsigned char c : dados) {
        if (c >= 32 && c <= 126) {
            r += static_cast<char>(c);
            continue;
        }
        const char* nome = nullptr;
        switch (c) {
            case 0: nome = "NUL"; break;
            case 1: nome = "SOH"; break;
            case 2: nome = "STX"; break;
            case 3: nome = "ETX"; break;
            case 5: nome = "ENQ"; break;
            case 6: nome = "ACK"; break;
            case 8: nome = "BS"; break;
            case 9: nome = "TAB"; break;
            case 10: nome = "LF"; break;
            case 12: nome = "FF"; break;
            case 13: nome = "CR"; break;
            case 17: nome = "WAK"; break;
            case 21: nome = "NAK"; break;
            case 27: nome = "ESC"; break;
            case 28: nome = "FS"; break;
            case 29: nome = "GS"; break;
            default: break;
        }
        r += '[';
        r += nome ? std::string(nome) : std::to_string(c);
        r += ']';
    }
    return r;
}

namespace {

char LetraParidade(TCdbSerialParity p) {
    switch (p) {
        case TCdbSerialParity::pOdd: return 'O';
        case TCdbSerialParity::pEven: return 'E';
        case TCdbSerialParity::pMark: return 'M';
        case TCdbSerialParity::pSpace: return 'S';
        default: return 'N';
    }
}

std::string HoraLog() {
    timeval tv{};
    (void)gettimeofday(&tv, nullptr);  // no time zone asked: it cannot fail
    std::tm tm{};
    localtime_r(&tv.tv_sec, &tm);
    char buf[32];
    // Fields of a broken-down time: 18 characters.
    (void)std::snprintf(buf, sizeof buf, "%02d/%02d %02d:%02d:%02d:%03d", tm.tm_mday, tm.tm_mon + 1, tm.tm_hour,
                        tm.tm_min, tm.tm_sec, static_cast<int>(tv.tv_usec / 1000));
    return buf;
}

const char* NomeBool(bool b) { return b ? "True" : "False"; }

}  // namespace

struct TCdbDevice::Impl {
    std::string porta;
    TCdbDeviceType tipo = TCdbDeviceType::dtNenhum;
    bool ativo = false;
    size_t bytesEnviados = 0;
    int timeOut = 3000;
    int sendBytesCount = 0;
    int sendBytesInterval = 0;
    std::string nomeDocumento;
    std::string arqLog;

    std::unique_ptr<TCdbDeviceClass> plano;
    std::unique_ptr<TCdbDeviceSerial> serial;
    std::unique_ptr<TCdbDeviceTCP> tcp;
    std::unique_ptr<TCdbDeviceLPT> lpt;
    std::unique_ptr<TCdbDeviceHook> hook;
    std::unique_ptr<TCdbDeviceRaw> raw;
    std::unique_ptr<TCdbDeviceWinUSB> usb;
    TCdbDeviceClass* atual = nullptr;
    bool tipoDaPorta = false;  // SetPorta hands over a type it has just deduced
    const TRelogio* relogio = &TRelogio::Sistema();
};

namespace {
template <class E>
[[noreturn]] void FalharDevice(TCdbDevice& d, const E& e) {
    d.GravarLog(std::string(e.ClassName()) + ": " + e.Message());
    throw e;
}
}  // namespace

TCdbDevice::TCdbDevice() : impl_(std::make_unique<Impl>()) {
    impl_->plano = std::make_unique<TCdbDeviceClass>(this);
    impl_->serial = std::make_unique<TCdbDeviceSerial>(this);
    impl_->tcp = std::make_unique<TCdbDeviceTCP>(this);
    impl_->lpt = std::make_unique<TCdbDeviceLPT>(this);
    impl_->hook = std::make_unique<TCdbDeviceHook>(this);
    impl_->raw = std::make_unique<TCdbDeviceRaw>(this);
    impl_->usb = std::make_unique<TCdbDeviceWinUSB>(this);
    impl_->atual = impl_->plano.get();
    GravarLog("SetDefaultValues");
}

TCdbDevice::~TCdbDevice() {
    GravarLog("Destroy");
    try {
        Desativar();
    } catch (...) {}
    // Channels go first, while the settings they may still read are alive.
    impl_->atual = nullptr;
    impl_->arqLog.clear();
    impl_->usb.reset();
    impl_->raw.reset();
    impl_->hook.reset();
    impl_->lpt.reset();
    impl_->tcp.reset();
    impl_->serial.reset();
    impl_->plano.reset();
}

const std::string& TCdbDevice::Porta() const { return impl_->porta; }

void TCdbDevice::SetPorta(std::string_view porta) {
    if (porta == impl_->porta) return;
    std::string valor = Trim(porta);
    std::string maiusc = Maiusculas(valor);
    if (ComecaCom(maiusc, "LPT") || ComecaCom(maiusc, "COM")) valor = maiusc;
    // " lpt1 " over "LPT1" names the same port: no change, active or not.
    if (valor == impl_->porta) return;
    GravarLog("SetPorta(" + std::string(porta) + ")");
    if (impl_->ativo) FalharDevice(*this, Exception("Não é possível mudar a Porta com o Dispositivo Ativo"));
    impl_->porta = valor;
    TCdbDeviceType t = DeduzirTipoPorta(valor);
    impl_->tipoDaPorta = true;
    try {
        SetDeviceType(t);
    } catch (...) {
        impl_->tipoDaPorta = false;
        throw;
    }
    impl_->tipoDaPorta = false;
}

TCdbDeviceType TCdbDevice::DeviceType() const { return impl_->tipo; }

bool TCdbDevice::EscreveEmArquivoComum() const {
    const TCdbDeviceType t = DeviceType();
    if (t != TCdbDeviceType::dtFile && t != TCdbDeviceType::dtParallel) return false;
    struct stat st {};
    return ::stat(TCdbDeviceLPT::NomeArquivo(Porta()).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TCdbDeviceType TCdbDevice::DeduzirTipoPorta(std::string_view porta) {
    using T = TCdbDeviceType;
    GravarLog("DeduzirTipoPorta(" + std::string(porta) + ")");
    const std::string nome(porta);
    const std::string u = Maiusculas(nome);
    auto termina = [&](std::string_view fim) {
        return u.size() >= fim.size() && u.compare(u.size() - fim.size(), fim.size(), fim) == 0;
    };
    T t;
    // NOLINTBEGIN(bugprone-branch-clone): one test per form of name, in order; several forms name one kind
    if (nome == "*")
        t = T::dtRawPrinter;
    else if (ComecaCom(u, "NULL"))
        t = T::dtNenhum;
    else if (ComecaCom(u, "TCP:"))
        t = T::dtTCP;
    else if (ComecaCom(u, "RAW:"))
        t = T::dtRawPrinter;
    else if (ComecaCom(u, "BTH:"))
        t = T::dtBlueTooth;
    else if (termina(".TXT"))
        t = T::dtFile;
    else if (ComecaCom(u, "FILE:"))
        t = T::dtFile;
    else if (ComecaCom(u, "LPT"))
        t = T::dtParallel;
    else if (ComecaCom(u, "COM"))
        t = T::dtSerial;
    else if (ComecaCom(nome, "\\\\.\\"))
        t = T::dtSerial;
    else if (ComecaCom(u, "DLL"))
        t = T::dtHook;
    else if (ComecaCom(u, "USB"))
        t = T::dtUSB;
    else if (Minusculas(nome.substr(0, 7)) == "\\\\?\\usb")
        t = T::dtUSB;
    // Paths of this system: serial devices (USB adapters, pseudo-terminals) and files.
    // No printer queue name can hold "/", so testing them before the queues changes nothing.
    else if (ComecaCom(nome, "/dev/tty") || ComecaCom(nome, "/dev/pts/"))
        t = T::dtSerial;
    else if (ComecaCom(nome, "/"))
        t = T::dtFile;
    else if (!nome.empty() && TCdbDeviceRaw::EhImpressoraInstalada(nome, impl_->timeOut))
        t = T::dtRawPrinter;
    else if (nome.find('\\') != std::string::npos)
        t = T::dtFile;
    else
        t = T::dtNenhum;
    // NOLINTEND(bugprone-branch-clone)
    if (!impl_->arqLog.empty()) GravarLog(std::string("  ") + NomeTipo(t));
    return t;
}

void TCdbDevice::SetDeviceType(TCdbDeviceType t) {
    using T = TCdbDeviceType;
    if (t == impl_->tipo) return;
    if (!impl_->arqLog.empty()) GravarLog(std::string("SetDeviceType(") + NomeTipo(t) + ")");
    if (impl_->ativo)
        FalharDevice(*this, Exception("Não é possível mudar o tipo de dispositivo com o Dispositivo Ativo"));
    if (!impl_->tipoDaPorta) switch (t) {
            case T::dtTCP:
            case T::dtRawPrinter:
            case T::dtHook:
            case T::dtUSB:
            case T::dtBlueTooth:
                if (DeduzirTipoPorta(impl_->porta) != t)
                    FalharDevice(*this, Exception("Tipo de dispositivo informado não condiz com o valor da Porta"));
                break;
            case T::dtFile:
            case T::dtSerial: {
                T d = DeduzirTipoPorta(impl_->porta);
                if (d != T::dtFile && d != T::dtSerial)
                    FalharDevice(*this, Exception("Tipo de dispositivo informado não condiz com o valor da Porta"));
                break;
            }
            default: break;
        }
    impl_->tipo = t;
    switch (t) {
        case T::dtFile:
        case T::dtParallel: impl_->atual = impl_->lpt.get(); break;
        case T::dtSerial: impl_->atual = impl_->serial.get(); break;
        case T::dtTCP: impl_->atual = impl_->tcp.get(); break;
        case T::dtRawPrinter: impl_->atual = impl_->raw.get(); break;
        case T::dtHook: impl_->atual = impl_->hook.get(); break;
        case T::dtUSB: impl_->atual = impl_->usb.get(); break;
        default: impl_->atual = impl_->plano.get(); break;
    }
}

void TCdbDevice::Ativar() {
    if (impl_->ativo) return;
    GravarLog(std::string("Ativar - Porta ") + (NomeTipo(impl_->tipo) + 2) + ": " + impl_->porta);
    if (impl_->porta.empty()) FalharDevice(*this, Exception("Porta não definida"));
    if (impl_->tipo == TCdbDeviceType::dtNenhum && !ComecaComSemCaixa(impl_->porta, "NULL"))
        FalharDevice(*this, Exception("Porta não definida"));
    // Recognised, but there is no Bluetooth channel here: refusing beats a
    // label reported as printed that went nowhere.
    if (impl_->tipo == TCdbDeviceType::dtBlueTooth)
        FalharDevice(*this, Exception("A porta Bluetooth " + impl_->porta + " não está disponível nesta estação"));
    impl_->atual->Conectar(impl_->porta, impl_->timeOut);
    impl_->ativo = true;
    impl_->bytesEnviados = 0;
}

void TCdbDevice::Desativar() {
    if (!impl_->ativo) return;
    GravarLog("Desativar");
    try {
        impl_->atual->Desconectar(true);
    } catch (...) {
        // closing never fails from the device's side
    }
    impl_->ativo = false;
}

bool TCdbDevice::Ativo() const { return impl_->ativo; }

void TCdbDevice::EnviaString(const std::string& dados) {
    GravarLog("EnviaString(" + dados + ")", true);
    impl_->atual->EnviaString(dados);
    impl_->bytesEnviados += dados.size();
}

size_t TCdbDevice::BytesEnviados() const { return impl_->bytesEnviados; }
int TCdbDevice::EnviosNaoConfirmados() const { return impl_->atual->EnviosNaoConfirmados(); }
bool TCdbDevice::EnvioFalhou() const { return impl_->atual->EnvioFalhou(); }

const TRelogio& TCdbDevice::Relogio() const { return *impl_->relogio; }
void TCdbDevice::SetRelogio(const TRelogio* relogio) { impl_->relogio = relogio ? relogio : &TRelogio::Sistema(); }

std::string TCdbDevice::DeviceToString(bool apenasDiferentesDoPadrao) {
    const bool so = apenasDiferentesDoPadrao;
    const TCdbDeviceSerial& s = *impl_->serial;
    std::string r;
    auto item = [&](const std::string& texto) {
        if (!r.empty()) r += ' ';
        r += texto;
    };
    if (!so || s.Baud != 9600) item("BAUD=" + std::to_string(s.Baud));
    if (!so || s.Data != 8) item("DATA=" + std::to_string(s.Data));
    if (!so || s.Parity != 'N') item(std::string("PARITY=") + s.Parity);
    if (!so || s.Stop != 0) item(std::string("STOP=") + (s.Stop == 1 ? "1,5" : s.Stop == 2 ? "2" : "1"));
    if (!so || s.HandShake != TCdbHandShake::hsNenhum) {
        const char* h = "";
        if (s.HandShake == TCdbHandShake::hsXON_XOFF)
            h = "XON/XOFF";
        else if (s.HandShake == TCdbHandShake::hsRTS_CTS)
            h = "RTS/CTS";
        else if (s.HandShake == TCdbHandShake::hsDTR_DSR)
            h = "DTR/DSR";
        item(std::string("HANDSHAKE=") + h);
    }
    if (s.HardFlow) item("HARDFLOW");
    if (s.SoftFlow) item("SOFTFLOW");
    const int banda = MaxBandwidth();
    if (!so || banda > 0) item("MAXBANDWIDTH=" + std::to_string(banda));
    if (!so || impl_->sendBytesCount > 0) item("SENDBYTESCOUNT=" + std::to_string(impl_->sendBytesCount));
    if (!so || impl_->sendBytesInterval > 0) item("SENDBYTESINTERVAL=" + std::to_string(impl_->sendBytesInterval));
    r = Trim(r);
    GravarLog("  DeviceToString: " + r);
    return r;
}

TIdentificacaoDispositivo TCdbDevice::IdentificarDispositivo() {
    TIdentificacaoDispositivo r;
    if (impl_->tipo != TCdbDeviceType::dtSerial && impl_->tipo != TCdbDeviceType::dtUSB) return r;
    std::string novaPorta;
    r = impl_->usb->Identificar(impl_->porta, impl_->tipo, novaPorta);
    if (!novaPorta.empty() && novaPorta != impl_->porta) SetPorta(novaPorta);
    return r;
}

int TCdbDevice::TimeOut() const { return impl_->timeOut; }
void TCdbDevice::SetTimeOut(int ms) { impl_->timeOut = ms; }

int TCdbDevice::Baud() const { return impl_->serial->Baud; }
void TCdbDevice::SetBaud(int v) {
    if (v == impl_->serial->Baud) return;
    GravarLog("SetBaud(" + std::to_string(v) + ")");
    if (v < 50 || v > 4000000)
        FalharDevice(*this, Exception("Valor deve estar na faixa de 50 a 4000000.\n"
                                      "Normalmente os equipamentos Seriais utilizam: 9600"));
    impl_->serial->Baud = v;
    if (impl_->serial->Aberta()) impl_->serial->ConfigurarSerial();
}

int TCdbDevice::Data() const { return impl_->serial->Data; }
void TCdbDevice::SetData(int v) {
    if (v == impl_->serial->Data) return;
    GravarLog("SetData(" + std::to_string(v) + ")");
    if (v < 5 || v > 8)
        FalharDevice(*this, Exception("Valor deve estar na faixa de 5 a 8.\n"
                                      "Normalmente os equipamentos Seriais utilizam: 7 ou 8"));
    impl_->serial->Data = v;
    if (impl_->serial->Aberta()) impl_->serial->ConfigurarSerial();
}

TCdbSerialParity TCdbDevice::Parity() const {
    switch (impl_->serial->Parity) {
        case 'O': return TCdbSerialParity::pOdd;
        case 'E': return TCdbSerialParity::pEven;
        case 'M': return TCdbSerialParity::pMark;
        case 'S': return TCdbSerialParity::pSpace;
        default: return TCdbSerialParity::pNone;
    }
}
void TCdbDevice::SetParity(TCdbSerialParity v) {
    if (v == Parity()) return;
    GravarLog(std::string("SetParity(") + NomeParidade(v) + ")");
    impl_->serial->Parity = LetraParidade(v);
    if (impl_->serial->Aberta()) impl_->serial->ConfigurarSerial();
}

TCdbSerialStop TCdbDevice::Stop() const { return static_cast<TCdbSerialStop>(impl_->serial->Stop); }
void TCdbDevice::SetStop(TCdbSerialStop v) {
    if (v == Stop()) return;
    GravarLog(std::string("SetStop(") + NomeStop(v) + ")");
    impl_->serial->Stop = static_cast<int>(v);
    if (impl_->serial->Aberta()) impl_->serial->ConfigurarSerial();
}

TCdbHandShake TCdbDevice::HandShake() const { return impl_->serial->HandShake; }
void TCdbDevice::SetHandShake(TCdbHandShake v) {
    GravarLog(std::string("SetHandShake(") + NomeHandShake(v) + ")");
    TCdbDeviceSerial& s = *impl_->serial;
    s.HandShake = v;
    s.HardFlow = v == TCdbHandShake::hsRTS_CTS;
    s.SoftFlow = v == TCdbHandShake::hsXON_XOFF;
    if (s.Aberta()) s.ConfigurarSerial();
}

bool TCdbDevice::SoftFlow() const { return impl_->serial->SoftFlow; }
void TCdbDevice::SetSoftFlow(bool v) {
    GravarLog(std::string("SetSoftFlow(") + NomeBool(v) + ")");
    if (v)
        SetHandShake(TCdbHandShake::hsXON_XOFF);
    else if (HandShake() == TCdbHandShake::hsXON_XOFF)
        SetHandShake(TCdbHandShake::hsNenhum);
}

bool TCdbDevice::HardFlow() const { return impl_->serial->HardFlow; }
void TCdbDevice::SetHardFlow(bool v) {
    GravarLog(std::string("SetHardFlow(") + NomeBool(v) + ")");
    if (v)
        SetHandShake(TCdbHandShake::hsRTS_CTS);
    else if (HandShake() == TCdbHandShake::hsRTS_CTS)
        SetHandShake(TCdbHandShake::hsNenhum);
}

int TCdbDevice::DeadLockTimeOut() const { return impl_->serial->GetTimeOut(); }
void TCdbDevice::SetDeadLockTimeOut(int ms) { impl_->serial->SetTimeOut(ms); }

int TCdbDevice::MaxBandwidth() const { return impl_->atual->GetMaxBandwidth(); }
void TCdbDevice::SetMaxBandwidth(int v) {
    GravarLog("SetMaxBandwidth(" + std::to_string(v) + ")");
    impl_->atual->SetMaxBandwidth(v);
}

int TCdbDevice::SendBytesCount() const { return impl_->sendBytesCount; }
void TCdbDevice::SetSendBytesCount(int v) { impl_->sendBytesCount = v; }
int TCdbDevice::SendBytesInterval() const { return impl_->sendBytesInterval; }
void TCdbDevice::SetSendBytesInterval(int ms) { impl_->sendBytesInterval = ms; }

std::string TCdbDevice::NomeDocumento() const {
    return impl_->nomeDocumento.empty() ? std::string("TCdbDevice") : impl_->nomeDocumento;
}
void TCdbDevice::SetNomeDocumento(std::string v) { impl_->nomeDocumento = std::move(v); }

const std::string& TCdbDevice::ArqLOG() const { return impl_->arqLog; }
void TCdbDevice::SetArqLOG(std::string arquivo) { impl_->arqLog = std::move(arquivo); }

void TCdbDevice::GravarLog(const std::string& linha, bool traduzir) {
    if (!impl_ || impl_->arqLog.empty()) return;
    std::ofstream f(impl_->arqLog, std::ios::binary | std::ios::app);
    if (!f) return;  // the log never stops a print
    f << "-- " << HoraLog() << ' ' << (traduzir ? TraduzirControles(linha) : linha) << "\r\n";
}

int TCdbDevice::FiltroClasseUSB() const { return impl_->usb->FiltroClasse; }
void TCdbDevice::SetFiltroClasseUSB(int classe) { impl_->usb->FiltroClasse = classe; }

TCdbDeviceClass& TCdbDevice::Canal() { return *impl_->atual; }
TCdbDeviceSerial& TCdbDevice::Serial() { return *impl_->serial; }
TCdbDeviceTCP& TCdbDevice::TCP() { return *impl_->tcp; }
TCdbDeviceLPT& TCdbDevice::LPT() { return *impl_->lpt; }
TCdbDeviceRaw& TCdbDevice::Raw() { return *impl_->raw; }
TCdbDeviceHook& TCdbDevice::Hook() { return *impl_->hook; }
TCdbDeviceWinUSB& TCdbDevice::USB() { return *impl_->usb; }
