#include "device/CdbDeviceWinUSB.h"

#include <fcntl.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>

#include "common/ErroSistema.h"
#include "common/UFuncoes.h"
#include "device/Descritor.h"
#include "device/Sysfs.h"

namespace fs = std::filesystem;

namespace {

bool Id4(const std::string& s) {
    return s.size() == 4 && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isxdigit(c); });
}

std::vector<std::string> Entradas(const fs::path& pasta) {
    std::vector<std::string> nomes;
    std::error_code ec;
    for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec))
        nomes.push_back(it->path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

// "(COM3)" as Windows names them, "(/dev/ttyUSB0)" as we do.
const std::regex& PadraoPortaSerial() {
    static const std::regex r(R"(\((COM[0-9]+|/dev/tty[^)\s]+)\))", std::regex::icase);
    return r;
}

// First interface of a device with a bulk OUT endpoint, from its sysfs entries.
bool EndpointDeSaida(const fs::path& base, const std::string& nomeDisp, int& interface, int& endpoint) {
    for (const std::string& nome : Entradas(base)) {
        if (!ComecaCom(nome, nomeDisp + ":")) continue;
        const fs::path pi = base / nome;
        for (const std::string& ep : Entradas(pi)) {
            if (!ComecaCom(ep, "ep_")) continue;
            if (AtributoSysfs(pi / ep / "direction") != "out" || AtributoSysfs(pi / ep / "type") != "Bulk") continue;
            try {
                interface = std::stoi(AtributoSysfs(pi / "bInterfaceNumber"), nullptr, 16);
                endpoint = std::stoi(AtributoSysfs(pi / ep / "bEndpointAddress"), nullptr, 16);
                return true;
            } catch (...) {}
        }
    }
    return false;
}

}  // namespace

TCdbDeviceWinUSB::TCdbDeviceWinUSB(TCdbDevice* dono) : TCdbDeviceClass(dono) {}

TCdbDeviceWinUSB::~TCdbDeviceWinUSB() { Descritor::Fechar(fd_); }

void TCdbDeviceWinUSB::DefinirRaizes(std::string sysfs, std::string dev) {
    raizSys_ = std::move(sysfs);
    raizDev_ = std::move(dev);
    lista_.clear();
    enumerado_ = false;
    selecionado_ = -1;
}

TBancoUSBID& TCdbDeviceWinUSB::Banco() {
    if (!bancoCarregado_) {
        banco_.CarregarPadrao();
        bancoCarregado_ = true;
    }
    return banco_;
}

std::string TCdbDeviceWinUSB::DescricaoComparavel(const std::string& descricao) {
    return std::regex_replace(descricao, PadraoPortaSerial(), "(VCOM)");
}

std::string TCdbDeviceWinUSB::PortaSerialNaDescricao(const std::string& descricao) {
    std::smatch m;
    if (!std::regex_search(descricao, m, PadraoPortaSerial())) return {};
    std::string p = m[1].str();
    return ComecaComSemCaixa(p, "COM") ? Maiusculas(p) : p;
}

void TCdbDeviceWinUSB::Descrever(TDispositivoUSB& d) {
    std::string produto;
    Banco().Produto(d.VendorID, d.ProductID, produto, d.Classe, d.Protocolo);
    d.Fabricante = Banco().Fabricante(d.VendorID);
    d.Produto = produto;
    const bool conhecido = !d.Fabricante.empty() || !d.Produto.empty();
    if (!conhecido)
        d.Descricao = d.VendorID + ", " + d.ProductID;
    else if (d.Produto.find(',') != std::string::npos)
        d.Descricao = d.Produto;
    else
        d.Descricao =
            (d.Fabricante.empty() ? d.VendorID : d.Fabricante) + ", " + (d.Produto.empty() ? d.ProductID : d.Produto);
    if (!d.NomeAmigavel.empty()) {
        const std::string antes = d.Descricao.substr(0, d.Descricao.find(','));
        if (!conhecido || ComecaComSemCaixa(d.NomeAmigavel, antes)) d.Descricao = d.NomeAmigavel;
    }
    // The adapter's tty must show, as Windows shows COMn, also when it names itself nothing.
    if (d.ClasseInterface == TClasseInterfaceUSB::ciPorta &&
        d.Descricao.find("(" + d.Caminho + ")") == std::string::npos)
        d.Descricao += " (" + d.Caminho + ")";
}

void TCdbDeviceWinUSB::Enumerar() {
    GravarLog("  TCdbDeviceWinUSB.Enumerar");
    lista_.clear();
    selecionado_ = -1;
    enumerado_ = true;
    const fs::path base = fs::path(raizSys_) / "bus" / "usb" / "devices";
    std::vector<TDispositivoUSB> impressoras, portas, genericos;
    std::set<std::string> comNo;  // devices already listed through a printer or tty node

    auto dispositivo = [&](const std::string& nomeDisp, TDispositivoUSB& d) {
        const fs::path pd = base / nomeDisp;
        d.VendorID = Minusculas(AtributoSysfs(pd / "idVendor"));
        d.ProductID = Minusculas(AtributoSysfs(pd / "idProduct"));
        if (!Id4(d.VendorID) || !Id4(d.ProductID)) return false;
        std::string fabricante = AtributoSysfs(pd / "manufacturer");
        std::string produto = AtributoSysfs(pd / "product");
        d.NomeAmigavel = ComecaComSemCaixa(produto, fabricante) ? produto : Trim(fabricante + " " + produto);
        d.Localizacao = nomeDisp;
        d.IdHardware = "USB\\VID_" + Maiusculas(d.VendorID) + "&PID_" + Maiusculas(d.ProductID);
        return true;
    };

    for (const std::string& nome : Entradas(base)) {
        auto dois = nome.find(':');
        if (dois == std::string::npos) continue;
        const fs::path pi = base / nome;
        const std::string nomeDisp = nome.substr(0, dois);
        // Printer-class interface bound to usblp.
        for (const char* sub : {"usbmisc", "usb"}) {
            for (const std::string& no : Entradas(pi / sub)) {
                if (!ComecaCom(no, "lp")) continue;
                TDispositivoUSB d;
                if (!dispositivo(nomeDisp, d)) continue;
                d.ClasseInterface = TClasseInterfaceUSB::ciImpressoraUSB;
                d.Caminho = raizDev_ + "/usb/" + no;
                impressoras.push_back(d);
                comNo.insert(nomeDisp);
            }
        }
        // Serial adapters: usb-serial puts ttyUSBn in the interface, cdc-acm tty/ttyACMn.
        std::vector<std::string> ttys;
        for (const std::string& no : Entradas(pi))
            if (ComecaCom(no, "ttyUSB")) ttys.push_back(no);
        for (const std::string& no : Entradas(pi / "tty"))
            if (ComecaCom(no, "tty")) ttys.push_back(no);
        for (const std::string& no : ttys) {
            TDispositivoUSB d;
            if (!dispositivo(nomeDisp, d)) continue;
            d.ClasseInterface = TClasseInterfaceUSB::ciPorta;
            d.Caminho = raizDev_ + "/" + no;
            if (!d.NomeAmigavel.empty()) d.NomeAmigavel += " (" + d.Caminho + ")";
            portas.push_back(d);
            comNo.insert(nomeDisp);
        }
    }
    // Other devices count only when the table knows their maker (and class).
    for (const std::string& nome : Entradas(base)) {
        if (nome.find(':') != std::string::npos || ComecaCom(nome, "usb") || comNo.count(nome)) continue;
        TDispositivoUSB d;
        if (!dispositivo(nome, d)) continue;
        if (Banco().Fabricante(d.VendorID).empty()) continue;
        d.ClasseInterface = TClasseInterfaceUSB::ciDispositivoUSB;
        const fs::path pd = base / nome;
        char no[64];  // two ints: always fits
        (void)std::snprintf(no, sizeof no, "/bus/usb/%03d/%03d", std::atoi(AtributoSysfs(pd / "busnum").c_str()),
                            std::atoi(AtributoSysfs(pd / "devnum").c_str()));
        d.Caminho = raizDev_ + no;
        EndpointDeSaida(base, nome, d.Interface, d.EndpointSaida);
        genericos.push_back(d);
    }
    for (auto* grupo : {&impressoras, &portas, &genericos})
        for (auto& d : *grupo) {
            Descrever(d);
            if (grupo == &genericos && FiltroClasse != 0 && d.Classe != FiltroClasse) continue;
            GravarLog("  USB: " + d.Caminho + " " + d.VendorID + ":" + d.ProductID + " " + d.Descricao);
            lista_.push_back(d);
        }
}

const std::vector<TDispositivoUSB>& TCdbDeviceWinUSB::Dispositivos() {
    if (!enumerado_ || lista_.empty()) Enumerar();
    return lista_;
}

const TDispositivoUSB& TCdbDeviceWinUSB::Dispositivo(int indice) {
    const auto& l = Dispositivos();
    if (indice < 0 || indice >= static_cast<int>(l.size()))
        Falhar(Exception("Dispositivo USB num: " + std::to_string(indice) + " não existe"));
    return l[static_cast<size_t>(indice)];
}

TIdentificacaoDispositivo TCdbDeviceWinUSB::Identificar(const std::string& porta, TCdbDeviceType tipo,
                                                        std::string& novaPorta) {
    TIdentificacaoDispositivo r;
    novaPorta.clear();
    const std::vector<TDispositivoUSB>* lista = nullptr;
    try {
        lista = &Dispositivos();
    } catch (const std::exception& e) {
        GravarLog(std::string("  Identificar: ") + e.what());  // a safeguard only: the port stays usable
        return r;
    }
    const TDispositivoUSB* achado = nullptr;
    for (const auto& d : *lista) {
        bool casa = false;
        if (ComecaCom(porta, "\\\\?"))
            casa = ComecaComSemCaixa(d.Caminho, porta);
        else if (ComecaComSemCaixa(porta, "USB"))
            casa = ComecaComSemCaixa(DescricaoComparavel(d.Descricao), porta.size() > 4 ? porta.substr(4) : "");
        else if (ComecaCom(porta, "/"))
            casa = d.Caminho == porta;
        if (casa) {
            achado = &d;
            break;
        }
    }
    if (!achado) return r;
    r.Classe = achado->Classe;
    r.Protocolo = achado->Protocolo;
    GravarLog("  Identificar: " + achado->Descricao + " Classe:" + std::to_string(r.Classe) +
              " Protocolo:" + std::to_string(r.Protocolo));
    if (tipo == TCdbDeviceType::dtUSB) novaPorta = PortaSerialNaDescricao(achado->Descricao);
    return r;
}

void TCdbDeviceWinUSB::Conectar(const std::string& porta, int timeOutMs) {
    TCdbDeviceClass::Conectar(porta, timeOutMs);
    Fechar(true);
    std::string resto = ComecaComSemCaixa(porta, "USB") ? porta.substr(std::min<size_t>(4, porta.size())) : porta;
    const auto& lista = Dispositivos();
    std::string caminho;
    if (resto.empty()) {
        if (lista.empty()) Falhar(Exception("Nenhum dispositivo USB encontrado"));
        selecionado_ = 0;
        caminho = lista[0].Caminho;
    } else if (ComecaCom(resto, "\\\\") || ComecaCom(resto, "/")) {
        caminho = resto;
        selecionado_ = -1;
        for (size_t i = 0; i < lista.size(); ++i)
            if (lista[i].Caminho == resto) selecionado_ = static_cast<int>(i);
    } else {
        for (size_t i = 0; i < lista.size() && caminho.empty(); ++i)
            if (ComecaComSemCaixa(DescricaoComparavel(lista[i].Descricao), resto)) {
                selecionado_ = static_cast<int>(i);
                caminho = lista[i].Caminho;
            }
        if (caminho.empty()) Falhar(Exception("Erro, dispositivo [" + resto + "] não encontrado"));
    }
    int fd = ::open(caminho.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EINVAL))  // write-only printers
        fd = ::open(caminho.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int e = errno;
        Falhar(Exception("Erro " + CodigoErroHex(e) + " ao abrir o Porta USB " + porta));
    }
    fd_ = fd;
    entregas_.Reiniciar();
    timeOut_ = Dono().TimeOut();
    if (selecionado_ >= 0 &&
        lista[static_cast<size_t>(selecionado_)].ClasseInterface == TClasseInterfaceUSB::ciDispositivoUSB) {
        const TDispositivoUSB& d = lista[static_cast<size_t>(selecionado_)];
        int iface = d.Interface;
        int e = 0;
        if (iface < 0 || d.EndpointSaida < 0) {
            e = ENODEV;  // nothing to write to
        } else {
            // Take the interface from whatever kernel driver holds it.
            usbdevfs_ioctl soltar{iface, USBDEVFS_DISCONNECT, nullptr};
            ::ioctl(fd_, USBDEVFS_IOCTL, &soltar);
            if (::ioctl(fd_, USBDEVFS_CLAIMINTERFACE, &iface) != 0) e = errno;
        }
        if (e) {
            Descritor::Fechar(fd_);
            Falhar(Exception("Erro " + CodigoErroHex(e) + " ao abrir o Porta USB " + porta));
        }
        interfaceUsbfs_ = iface;
        endpointUsbfs_ = d.EndpointSaida;
    }
}

void TCdbDeviceWinUSB::EscreverUsbfs(const char* p, size_t n) {
    size_t feito = 0;
    while (feito < n) {
        // usbfs takes at most 16 kB per transfer on older kernels.
        const size_t parte = std::min<size_t>(n - feito, 16384);
        usbdevfs_bulktransfer t{};
        t.ep = static_cast<unsigned>(endpointUsbfs_);
        t.len = static_cast<unsigned>(parte);
        t.timeout = static_cast<unsigned>(timeOut_ > 0 ? timeOut_ : 1000);
        t.data = const_cast<char*>(p + feito);
        int r = ::ioctl(fd_, USBDEVFS_BULK, &t);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno == ETIMEDOUT)
            Falhar(Exception("Erro TimeOut, ao enviar " + std::to_string(n) + " bytes para USB"));
        if (r < 0) {
            int e = errno;
            Falhar(Exception("Erro " + CodigoErroHex(e) + ", ao enviar " + std::to_string(n) + " bytes para USB"));
        }
        if (r == 0) Falhar(Exception("Erro TimeOut, ao enviar " + std::to_string(n) + " bytes para USB"));
        feito += static_cast<size_t>(r);
    }
}

void TCdbDeviceWinUSB::EnviaString(const std::string& dados) {
    GravarLog("  TCdbDeviceWinUSB.EnviaString");
    if (fd_ < 0) Falhar(Exception("Dispositivo USB não está aberto"));
    try {
        EnviarEmPartes(dados, [&](const char* p, size_t n) {
            if (endpointUsbfs_ >= 0) return EscreverUsbfs(p, n);
            int e = 0;
            if (Descritor::EscreverTudo(fd_, p, n, timeOut_, e)) return;
            if (e == ETIMEDOUT) {
                ::tcflush(fd_, TCOFLUSH);  // only serial adapters hold output; others ignore it
                Falhar(Exception("Erro TimeOut, ao enviar " + std::to_string(n) + " bytes para USB"));
            }
            Falhar(Exception("Erro " + CodigoErroHex(e) + ", ao enviar " + std::to_string(n) + " bytes para USB"));
        });
    } catch (...) {
        // A printer that failed after taking bytes may have lost the last job in its buffer.
        entregas_.Falhou(entregas_.Posicao());
        throw;
    }
    entregas_.Avancar(static_cast<int64_t>(dados.size()));
    entregas_.Entregue();
}

std::string TCdbDeviceWinUSB::LeString(int timeOutMs, int numBytes, const std::string& terminador) {
    if (fd_ < 0 || endpointUsbfs_ >= 0) return {};  // a usbfs node reads as descriptors, not printer data
    return Descritor::Ler(fd_, timeOutMs, numBytes, terminador);
}

void TCdbDeviceWinUSB::Desconectar(bool ignorarErros) {
    TCdbDeviceClass::Desconectar(ignorarErros);
    Fechar(ignorarErros);
}

void TCdbDeviceWinUSB::Fechar(bool ignorarErros) {
    if (fd_ < 0) return;
    if (interfaceUsbfs_ >= 0) {
        ::ioctl(fd_, USBDEVFS_RELEASEINTERFACE, &interfaceUsbfs_);
        usbdevfs_ioctl religar{interfaceUsbfs_, USBDEVFS_CONNECT, nullptr};
        ::ioctl(fd_, USBDEVFS_IOCTL, &religar);  // hand it back to its driver
        interfaceUsbfs_ = endpointUsbfs_ = -1;
    }
    int e = Descritor::Fechar(fd_);
    if (e && !ignorarErros) Falhar(Exception("Erro " + CodigoErroHex(e) + " ao fechar a Porta USB " + porta_));
}
