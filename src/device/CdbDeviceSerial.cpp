#include "device/CdbDeviceSerial.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "common/ErroSistema.h"
#include "common/UFuncoes.h"

namespace {

speed_t VelocidadeTermios(int baud) {
    switch (baud) {
        case 50: return B50;
        case 75: return B75;
        case 110: return B110;
        case 134: return B134;
        case 150: return B150;
        case 200: return B200;
        case 300: return B300;
        case 600: return B600;
        case 1200: return B1200;
        case 1800: return B1800;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        case 230400: return B230400;
        case 460800: return B460800;
        case 500000: return B500000;
        case 576000: return B576000;
        case 921600: return B921600;
        case 1000000: return B1000000;
        case 1152000: return B1152000;
        case 1500000: return B1500000;
        case 2000000: return B2000000;
        case 2500000: return B2500000;
        case 3000000: return B3000000;
        case 3500000: return B3500000;
        case 4000000: return B4000000;
        default: return 0;
    }
}

tcflag_t TamanhoDados(int bits) {
    switch (bits) {
        case 5: return CS5;
        case 6: return CS6;
        case 7: return CS7;
        default: return CS8;
    }
}

void LigarLinhas(int fd, int linhas) { ::ioctl(fd, TIOCMBIS, &linhas); }  // pseudo-terminals have none

}  // namespace

TCdbDeviceSerial::TCdbDeviceSerial(TCdbDevice* dono) : TCdbDeviceClass(dono) {}

TCdbDeviceSerial::~TCdbDeviceSerial() {
    try {
        Fechar(true);
    } catch (...) {}
}

std::string TCdbDeviceSerial::CaminhoDispositivo(const std::string& porta) {
    std::string nome = ComecaCom(porta, "\\\\.\\") ? porta.substr(4) : porta;
    if (ComecaComSemCaixa(nome, "COM")) {
        std::string num = nome.substr(3);
        if (!num.empty() && num.back() == ':') num.pop_back();
        if (!num.empty() && num.size() <= 3 && SoNumeros(num) == num && std::stoi(num) >= 1)
            return "/dev/ttyS" + std::to_string(std::stoi(num) - 1);
    }
    return nome;
}

void TCdbDeviceSerial::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    Fechar(true);
    deadLockTimeOut_ = timeOutMs;
    const std::string caminho = CaminhoDispositivo(porta);
    if (Dono().OnStatus) Dono().OnStatus(TCdbSerialStatus::ssAbrindo, porta);
    int fd = ::open(caminho.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        if (e == ENOENT || e == ENODEV || e == ENXIO) Falhar(Exception("Porta " + porta + " não encontrada"));
        Falhar(Exception("Erro ao abrir a porta " + porta + ": " + MensagemErroSistema(e)));
    }
    if (!::isatty(fd)) {
        Descritor::Fechar(fd);
        Falhar(Exception("Erro ao abrir a porta " + porta + ": " + MensagemErroSistema(ENOTTY)));
    }
    // Exclusive: TIOCEXCL keeps other openers out, flock the ones that open first and ask.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        Descritor::Fechar(fd);
        Falhar(Exception("Erro ao abrir a porta " + porta + ": " + MensagemErroSistema(EBUSY)));
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    entregas_.Reiniciar();
    LigarLinhas(fd_, TIOCM_RTS | TIOCM_DTR);
    ::tcflush(fd_, TCIOFLUSH);
    try {
        ConfigurarSerial();
    } catch (...) {
        Fechar(true);
        throw;
    }
    Limpar();
    if (Dono().OnStatus) Dono().OnStatus(TCdbSerialStatus::ssAberta, porta);
}

void TCdbDeviceSerial::ConfigurarSerial() {
    GravarLog("  ConfigurarSerial");
    if (fd_ < 0) return;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        int e = errno;
        Falhar(Exception("Erro ao configurar a porta " + porta_ + ": " + MensagemErroSistema(e)));
    }
    ::cfmakeraw(&t);
    speed_t v = VelocidadeTermios(Baud);
    ::cfsetispeed(&t, v ? v : B9600);
    ::cfsetospeed(&t, v ? v : B9600);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | TamanhoDados(Data);
    switch (Parity) {
        case 'O': t.c_cflag |= PARENB | PARODD; break;
        case 'E': t.c_cflag |= PARENB; break;
        case 'M': t.c_cflag |= PARENB | CMSPAR | PARODD; break;
        case 'S': t.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    if (Parity != 'N') t.c_iflag |= INPCK;
    // One and a half stop bits: the UART gives 1.5 for CSTOPB with 5-bit words.
    if (Stop != 0) t.c_cflag |= CSTOPB;
    t.c_cc[VSTART] = 17;
    t.c_cc[VSTOP] = 19;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (HandShake == TCdbHandShake::hsXON_XOFF) t.c_iflag |= IXON | IXOFF;
    if (HandShake == TCdbHandShake::hsRTS_CTS) t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const int erroAjuste = ::tcsetattr(fd_, TCSANOW, &t) != 0 ? errno : 0;
    // tcsetattr succeeds when any part took: ask the line what it really holds.
    termios lido{};
    if (::tcgetattr(fd_, &lido) == 0) {
        std::string recusado;
        const tcflag_t paridade = PARENB | PARODD | CMSPAR;
        if ((lido.c_cflag & CSIZE) != (t.c_cflag & CSIZE))
            recusado = std::to_string(Data) + " bits de dados";
        else if ((lido.c_cflag & paridade) != (t.c_cflag & paridade))
            recusado = std::string("paridade ") + Parity;
        else if ((lido.c_cflag & CSTOPB) != (t.c_cflag & CSTOPB))
            recusado = Stop == 0 ? "1 bit de parada" : Stop == 1 ? "1,5 bits de parada" : "2 bits de parada";
        else if ((lido.c_cflag & CRTSCTS) != (t.c_cflag & CRTSCTS))
            recusado = "controle de fluxo RTS/CTS";
        else if (v && ::cfgetospeed(&lido) != v)
            recusado = "a velocidade " + std::to_string(Baud);
        if (!recusado.empty())
            Falhar(Exception("Erro ao configurar a porta " + porta_ + ": a porta não aceita " + recusado));
    }
    if (erroAjuste) Falhar(Exception("Erro ao configurar a porta " + porta_ + ": " + MensagemErroSistema(erroAjuste)));
    if (!v && !DefinirBaudLivre(fd_, Baud))
        Falhar(Exception("Erro ao configurar a porta " + porta_ + ": velocidade " + std::to_string(Baud) +
                         " não suportada"));
    LigarLinhas(fd_, TIOCM_DTR | (HandShake == TCdbHandShake::hsRTS_CTS ? 0 : TIOCM_RTS));
    if (HandShake == TCdbHandShake::hsRTS_CTS) {
        GravarLog("  Serial.RTS");
        LigarLinhas(fd_, TIOCM_RTS);
    } else if (HandShake == TCdbHandShake::hsDTR_DSR) {
        GravarLog("  Serial.DTR");
        LigarLinhas(fd_, TIOCM_DTR);
    }
}

void TCdbDeviceSerial::Limpar() {
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

std::string TCdbDeviceSerial::LeString(int timeOutMs, int numBytes, const std::string& terminador) {
    if (fd_ < 0) return {};
    return Descritor::Ler(fd_, timeOutMs, numBytes, terminador);
}

void TCdbDeviceSerial::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceSerial.EnviaString");
    if (fd_ < 0) Falhar(Exception("Porta " + Dono().Porta() + " não está aberta"));
    banda_.Iniciar();
    int falhas = 0;
    // What the line still held when it failed is thrown away (and what the
    // printer held may be lost with it): the streams in there are not confirmed.
    int64_t seguroAte = -1;
    try {
        EnviarEmPartes(dados, [&](const char* p, size_t n) {
            size_t pos = 0;
            while (pos < n) {
                if (Dono().OnStatus) Dono().OnStatus(TCdbSerialStatus::ssEnviando, std::to_string(n - pos));
                long w = FuncaoEscrita ? FuncaoEscrita(fd_, p + pos, n - pos, deadLockTimeOut_)
                                       : Descritor::Escrever(fd_, p + pos, n - pos, deadLockTimeOut_);
                if (w <= 0) {
                    ++falhas;
                    GravarLog("  FailCount:" + std::to_string(falhas));
                    if (falhas >= 10) {
                        int naFila = 0;
                        if (::ioctl(fd_, TIOCOUTQ, &naFila) != 0) naFila = 0;
                        seguroAte = entregas_.Posicao() - naFila;
                        ::tcflush(fd_, TCOFLUSH);  // what is left would print as garbage later
                        Falhar(Exception("Erro ao enviar dados para a porta: " + porta_));
                    }
                    continue;
                }
                falhas = 0;
                pos += static_cast<size_t>(w);
                entregas_.Avancar(w);
                banda_.Registrar(static_cast<size_t>(w));
                if (Dono().OnStatus) Dono().OnStatus(TCdbSerialStatus::ssEnviado, std::to_string(w));
            }
        });
    } catch (...) {
        entregas_.Falhou(seguroAte >= 0 ? seguroAte : SeguroAte());
        throw;
    }
    entregas_.Entregue();
}

int64_t TCdbDeviceSerial::SeguroAte() {
    // Written means in the line's output queue: what is still there has not left.
    int naFila = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &naFila) != 0) naFila = 0;
    return entregas_.Posicao() - naFila;
}

void TCdbDeviceSerial::Desconectar(bool ignorarErros) {
    TCdbDeviceClass::Desconectar(ignorarErros);
    Fechar(ignorarErros);
}

void TCdbDeviceSerial::Fechar(bool ignorarErros) {
    if (fd_ < 0) return;
    if (Dono().OnStatus) Dono().OnStatus(TCdbSerialStatus::ssFechando, porta_);
    // Let the line finish what it holds, but never wait past the time-out: a
    // stalled handshake would otherwise hold close() for half a minute.
    using relogio = std::chrono::steady_clock;
    auto limite = relogio::now() + std::chrono::milliseconds(deadLockTimeOut_ > 0 ? deadLockTimeOut_ : 1000);
    int pendente = 0, anterior = -1;
    while (::ioctl(fd_, TIOCOUTQ, &pendente) == 0 && pendente > 0) {
        if (pendente != anterior) {
            anterior = pendente;
            limite = relogio::now() + std::chrono::milliseconds(deadLockTimeOut_ > 0 ? deadLockTimeOut_ : 1000);
        }
        if (relogio::now() >= limite) {
            ::tcflush(fd_, TCOFLUSH);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::ioctl(fd_, TIOCNXCL);
    int e = Descritor::Fechar(fd_);
    if (e && !ignorarErros) Falhar(Exception("Erro ao fechar a porta " + porta_ + ": " + MensagemErroSistema(e)));
}
