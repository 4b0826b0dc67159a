#pragma once
// USB printers attached to this station, found through sysfs: printer-class
// interfaces (/dev/usb/lpN), USB serial adapters (/dev/ttyUSBn, /dev/ttyACMn)
// and other devices whose maker the identifier table knows. The class keeps
// its Windows name so configurations and logs read the same everywhere.
#include <map>
#include <string>
#include <vector>

#include "device/CdbDeviceClass.h"

// CdbUSBID: vendors and products with their device class and printer language.
class TBancoUSBID {
public:
    // INI text: [Vendors] vid=name; [vid] pid=description;class;protocol.
    void Carregar(const std::string& texto);
    // CdbUSBID.ini beside the program when present, otherwise the built-in table.
    void CarregarPadrao();
    static const std::string& TextoEmbutido();

    // Raise "VendorID inválido [x]" / "ProductID inválido [x]" for non-hex IDs.
    std::string Fabricante(const std::string& vendorId) const;  // empty when unknown
    bool Produto(const std::string& vendorId, const std::string& productId, std::string& descricao, int& classe,
                 int& protocolo) const;
    size_t NumFabricantes() const { return fabricantes_.size(); }
    size_t NumProdutos() const;

private:
    std::map<std::string, std::string> fabricantes_;
    std::map<std::string, std::map<std::string, std::string>> produtos_;
};

enum class TClasseInterfaceUSB { ciImpressoraUSB, ciPorta, ciImpressora, ciTM, ciDispositivoUSB };

struct TDispositivoUSB {
    std::string VendorID, ProductID;  // 4 lower-case hexadecimal digits
    TClasseInterfaceUSB ClasseInterface = TClasseInterfaceUSB::ciDispositivoUSB;
    std::string Caminho;       // the node written to
    std::string NomeAmigavel;  // maker and product as the device names itself
    std::string Localizacao;   // bus position, e.g. "1-1.2"
    std::string IdHardware;    // "USB\VID_0A5F&PID_00D3"
    // From the identifier table, looked up once.
    std::string Fabricante, Produto;
    int Classe = 0;  // 0 misc, 1 receipt printer, 2 label printer, 3 fiscal
    int Protocolo = 0;
    std::string Descricao;  // what people and port names see
    // Devices without a printer or tty node are written through usbfs: the
    // interface and bulk OUT endpoint to use, -1 when it has none.
    int Interface = -1;
    int EndpointSaida = -1;
};

class TCdbDeviceWinUSB : public TCdbDeviceClass {
public:
    explicit TCdbDeviceWinUSB(TCdbDevice* dono);
    ~TCdbDeviceWinUSB() override;
    const char* ClassName() const override { return "TCdbDeviceWinUSB"; }

    int GetTimeOut() override { return timeOut_; }
    void SetTimeOut(int ms) override { timeOut_ = ms; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void Desconectar(bool ignorarErros = true) override;
    void EnviaString(const std::string& dados) override;
    std::string LeString(int timeOutMs = 1000, int numBytes = 0, const std::string& terminador = "") override;

    // Where the station is read from; tests point these at fixture trees.
    void DefinirRaizes(std::string sysfs, std::string dev);
    void Enumerar();
    const std::vector<TDispositivoUSB>& Dispositivos();
    // Raises "Dispositivo USB num: %d não existe".
    const TDispositivoUSB& Dispositivo(int indice);
    int Selecionado() const { return selecionado_; }
    TBancoUSBID& Banco();

    // Device identification for the label component: class and language of
    // the device the port names; class 2, protocol 0 when none matches.
    // For a USB port on a serial adapter `novaPorta` gets the adapter's tty.
    TIdentificacaoDispositivo Identificar(const std::string& porta, TCdbDeviceType tipo, std::string& novaPorta);

    // Description with a serial port name in parentheses replaced by "VCOM".
    static std::string DescricaoComparavel(const std::string& descricao);
    // The serial port name in parentheses of a description, or empty.
    static std::string PortaSerialNaDescricao(const std::string& descricao);

    int FiltroClasse = 0;

private:
    void Fechar(bool ignorarErros);
    void Descrever(TDispositivoUSB& d);
    void EscreverUsbfs(const char* p, size_t n);
    std::vector<TDispositivoUSB> lista_;
    bool enumerado_ = false;
    int selecionado_ = -1;
    int fd_ = -1;
    int interfaceUsbfs_ = -1;  // claimed interface when writing through usbfs
    int endpointUsbfs_ = -1;
    int timeOut_ = 1000;
    std::string raizSys_ = "/sys";
    std::string raizDev_ = "/dev";
    TBancoUSBID banco_;
    bool bancoCarregado_ = false;
};
