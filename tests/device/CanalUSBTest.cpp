// USB printers found through a fixture sysfs tree, the identifier table, the
// identification asked by the label component, and writing to the node.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "device/CdbDevice.h"
#include "device/CdbDeviceWinUSB.h"
#include "suporte/Caminhos.h"
#include "suporte/Suporte.h"

namespace {

const std::string kSys = std::string(kFonteTestes) + "/fixtures/usb/sys";

// The program folder points at an empty folder, so the built-in table is used.
class USB : public ::testing::Test {
protected:
    TPastaTemp programa;
    void SetUp() override { DefinirDiretorioSistema(programa.caminho.string()); }
    void TearDown() override { DefinirDiretorioSistema(""); }
};

}  // namespace

TEST_F(USB, EnumeraImpressorasPortasEDispositivosConhecidos) {
    TCdbDevice d;
    d.USB().DefinirRaizes(kSys, "/dev");
    const auto& lista = d.USB().Dispositivos();
    using C = TClasseInterfaceUSB;
    struct Esperado {
        const char* caminho;
        const char* vid;
        const char* pid;
        C interface;
        const char* descricao;
        int classe;
    } esperado[] = {
        {"/dev/usb/lp0", "0a5f", "00d3", C::ciImpressoraUSB, "Zebra Technologies ZTC GC420t (EPL)", 2},
        {"/dev/usb/lp1", "04b8", "0e03", C::ciImpressoraUSB, "Seiko Epson, TM-T20", 1},
        {"/dev/usb/lp2", "154f", "1000", C::ciImpressoraUSB, "Elgin, L42", 2},
        {"/dev/usb/lp3", "1234", "5678", C::ciImpressoraUSB, "Acme Label 9000", 0},
        {"/dev/ttyUSB0", "067b", "2303", C::ciPorta, "Prolific Technology Inc. USB-Serial Controller (/dev/ttyUSB0)",
         0},
        {"/dev/ttyACM0", "2d84", "7589", C::ciPorta, "Elgin L42DT (/dev/ttyACM0)", 2},
        {"/dev/bus/usb/001/008", "1504", "001f", C::ciDispositivoUSB, "BIXOLON SRP-350II", 1},
    };
    ASSERT_EQ(lista.size(), std::size(esperado));
    for (size_t i = 0; i < lista.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lista[i].Caminho, esperado[i].caminho);
        EXPECT_EQ(lista[i].VendorID, esperado[i].vid);
        EXPECT_EQ(lista[i].ProductID, esperado[i].pid);
        EXPECT_EQ(lista[i].ClasseInterface, esperado[i].interface);
        EXPECT_EQ(lista[i].Descricao, esperado[i].descricao);
        EXPECT_EQ(lista[i].Classe, esperado[i].classe);
        EXPECT_EQ(lista[i].Protocolo, 0);
    }
    EXPECT_EQ(lista[0].IdHardware, "USB\\VID_0A5F&PID_00D3");
    EXPECT_EQ(lista[0].Localizacao, "1-1");
    EXPECT_EQ(d.USB().Dispositivo(6).Fabricante, "Bixolon");
    EXPECT_EQ(d.USB().Dispositivo(6).Interface, 0);  // written through usbfs, bulk OUT endpoint 1
    EXPECT_EQ(d.USB().Dispositivo(6).EndpointSaida, 0x01);
    EXPECT_EQ(d.USB().Dispositivo(0).EndpointSaida, -1);  // usblp has its own node
    EXPECT_EQ(MensagemDe([&] { d.USB().Dispositivo(7); }), "Dispositivo USB num: 7 não existe");
}

TEST_F(USB, FiltroDeClasseEscondeDispositivosGenericosDeOutraClasse) {
    TCdbDevice d;
    d.SetFiltroClasseUSB(2);
    d.USB().DefinirRaizes(kSys, "/dev");
    const auto& lista = d.USB().Dispositivos();
    ASSERT_EQ(lista.size(), 6u);  // the receipt printer seen only as a USB device is left out
    EXPECT_EQ(lista.back().Caminho, "/dev/ttyACM0");
}

TEST_F(USB, IdentificacaoParaOComponenteDeEtiquetas) {
    struct Caso {
        const char* porta;
        int classe;
        const char* portaDepois;
    } casos[] = {
        {"USB:Zebra", 2, "USB:Zebra"},
        {"USB:seiko epson", 1, "USB:seiko epson"},  // a receipt printer: the component refuses it
        {"USB:Bixolon", 1, "USB:Bixolon"},
        {"USB:Acme", 0, "USB:Acme"},
        {"USB:Ninguem", 2, "USB:Ninguem"},    // nothing matches: as before
        {"USB:Prolific", 0, "/dev/ttyUSB0"},  // a serial adapter: the serial channel takes over
        {"USB:Elgin L42DT (VCOM)", 2, "/dev/ttyACM0"},
        {"/dev/ttyUSB0", 0, "/dev/ttyUSB0"},
        {"COM1", 2, "COM1"},
        {"LPT1", 2, "LPT1"},  // not asked for other channels
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porta);
        TCdbDevice d;
        d.USB().DefinirRaizes(kSys, "/dev");
        d.SetPorta(c.porta);
        TIdentificacaoDispositivo id = d.IdentificarDispositivo();
        EXPECT_EQ(id.Classe, c.classe);
        EXPECT_EQ(id.Protocolo, 0);
        EXPECT_EQ(d.Porta(), c.portaDepois);
    }
    TCdbDevice d;
    d.USB().DefinirRaizes(kSys, "/dev");
    d.SetPorta("USB:Prolific");
    d.IdentificarDispositivo();
    EXPECT_EQ(d.DeviceType(), TCdbDeviceType::dtSerial);
}

TEST_F(USB, SemDispositivosAIdentificacaoNaoMudaNada) {
    TPastaTemp vazio;
    TCdbDevice d;
    d.USB().DefinirRaizes(vazio.caminho.string(), "/dev");
    d.SetPorta("USB");
    TIdentificacaoDispositivo id = d.IdentificarDispositivo();
    EXPECT_EQ(id.Classe, 2);
    EXPECT_EQ(id.Protocolo, 0);
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Nenhum dispositivo USB encontrado");
    EXPECT_FALSE(d.Ativo());
}

TEST_F(USB, EscreveNoDispositivoEscolhido) {
    TPastaTemp dev;
    std::filesystem::create_directories(dev.caminho / "usb");
    for (const char* no : {"usb/lp0", "usb/lp1"}) Gravar(dev / no, "");
    struct Caso {
        std::string porta;
        std::string no;
    } casos[] = {{"USB", "usb/lp0"}, {"USB:Seiko", "usb/lp1"}, {"USB:" + (dev / "usb/lp1"), "usb/lp1"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porta);
        Gravar(dev / c.no, "");
        TCdbDevice d;
        d.USB().DefinirRaizes(kSys, dev.caminho.string());
        d.SetPorta(c.porta);
        d.Ativar();
        d.EnviaString(TodosOsBytes());
        d.Desativar();
        EXPECT_EQ(LerTudo(dev / c.no), TodosOsBytes());
    }
}

TEST_F(USB, FalhasDoCanal) {
    TPastaTemp dev;
    TCdbDevice d;
    d.USB().DefinirRaizes(kSys, dev.caminho.string());
    d.SetPorta("USB:Nada");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Erro, dispositivo [Nada] não encontrado");
    d.SetPorta("USB:Elgin, L42");  // listed, but its node is missing
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Erro 00000002 ao abrir o Porta USB USB:Elgin, L42");
    EXPECT_FALSE(d.Ativo());
    EXPECT_EQ(MensagemDe([&] { d.USB().EnviaString("x"); }), "Dispositivo USB não está aberto");

    // A write error carries the system's code.
    std::filesystem::create_directories(dev.caminho / "usb");
    std::filesystem::create_symlink("/dev/full", dev.caminho / "usb/lp0");
    d.SetPorta("USB");
    d.Ativar();
    EXPECT_EQ(MensagemDe([&] { d.EnviaString(TodosOsBytes()); }), "Erro 0000001C, ao enviar 256 bytes para USB");
    d.Desativar();

    // A node that is no usbfs device refuses the claim of the interface (ENOTTY).
    std::filesystem::create_directories(dev.caminho / "bus/usb/001");
    Gravar(dev / "bus/usb/001/008", "");
    d.SetPorta("USB:BIXOLON");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Erro 00000019 ao abrir o Porta USB USB:BIXOLON");
    EXPECT_FALSE(d.Ativo());
}

TEST_F(USB, ImpressoraParadaEsgotaOTempo) {
    TPastaTemp dev;
    std::filesystem::create_directories(dev.caminho / "usb");
    const std::string no = dev / "usb/lp0";
    ASSERT_EQ(::mkfifo(no.c_str(), 0600), 0);
    int leitor = ::open(no.c_str(), O_RDONLY | O_NONBLOCK);  // never reads
    TCdbDevice d;
    d.SetTimeOut(200);
    d.USB().DefinirRaizes(kSys, dev.caminho.string());
    d.SetPorta("USB");
    d.Ativar();
    EXPECT_EQ(MensagemDe([&] { d.EnviaString(std::string(1 << 20, 'x')); }),
              "Erro TimeOut, ao enviar 1048576 bytes para USB");
    ::close(leitor);
}

TEST_F(USB, TabelaEmbutidaTemAsImpressorasDeEtiquetas) {
    TBancoUSBID b;
    b.CarregarPadrao();
    struct Linha {
        const char* vid;
        const char* fabricante;
        const char* pid;
        const char* descricao;
    } linhas[] = {
        {"0a5f", "Zebra", "00d3", "GC420t"},
        {"154f", "Shandong New", "1000", "Elgin, L42"},
        {"20d1", "Dascom", "0700", "Elgin, L42 PRO"},
        {"2d84", "Zhuhai J-Speed", "7589", "Elgin, L42DT"},
        {"2d84", "Zhuhai J-Speed", "71a9", "Tanca, TLP-300"},
    };
    for (const auto& l : linhas) {
        SCOPED_TRACE(l.pid);
        std::string desc;
        int classe = -1, protocolo = -1;
        EXPECT_EQ(b.Fabricante(l.vid), l.fabricante);
        ASSERT_TRUE(b.Produto(l.vid, l.pid, desc, classe, protocolo));
        EXPECT_EQ(desc, l.descricao);
        EXPECT_EQ(classe, 2);
        EXPECT_EQ(protocolo, 0);
    }
    // Every product of the table belongs to a known maker and a known class.
    std::istringstream in(TBancoUSBID::TextoEmbutido());
    std::string secao;
    for (std::string l; std::getline(in, l);) {
        if (l.empty() || l[0] == ';') continue;
        if (l[0] == '[') {
            secao = l.substr(1, l.size() - 2);
            continue;
        }
        if (secao == "Vendors") continue;
        SCOPED_TRACE(secao + " " + l);
        EXPECT_FALSE(b.Fabricante(secao).empty());
        std::string desc;
        int classe = -1, protocolo = -1;
        ASSERT_TRUE(b.Produto(secao, l.substr(0, 4), desc, classe, protocolo));
        EXPECT_GE(classe, 0);
        EXPECT_LE(classe, 3);
    }
}

TEST_F(USB, ArquivoAoLadoDoProgramaSubstituiATabela) {
    // Written on Windows: Windows-1252, CR LF, comments, missing fields.
    const std::string ini = Win1252::DeUtf8(
        "; tabela da loja\r\n[Vendors]\r\n0A5F=Zebra Técnica\r\n1234=Acme\r\n\r\n[0a5f]\r\n00D3=Etiquetadora "
        "Balcão;2;3\r\n[1234]\r\n5678=Cupom;1\r\n5679=Sem classe\r\n567a=Classe ruim;x;y\r\n");
    Gravar(programa / "CdbUSBID.ini", ini);
    TBancoUSBID b;
    b.CarregarPadrao();
    EXPECT_EQ(b.NumFabricantes(), 2u);
    EXPECT_EQ(b.Fabricante("0a5f"), "Zebra Técnica");
    struct Caso {
        const char* vid;
        const char* pid;
        const char* desc;
        int classe, protocolo;
    } casos[] = {
        {"0a5f", "00d3", "Etiquetadora Balcão", 2, 3},
        {"1234", "5678", "Cupom", 1, 0},
        {"1234", "5679", "Sem classe", 0, 0},
        {"1234", "567A", "Classe ruim", 0, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.pid);
        std::string desc;
        int classe = -1, protocolo = -1;
        ASSERT_TRUE(b.Produto(c.vid, c.pid, desc, classe, protocolo));
        EXPECT_EQ(desc, c.desc);
        EXPECT_EQ(classe, c.classe);
        EXPECT_EQ(protocolo, c.protocolo);
    }
    std::string desc;
    int classe, protocolo;
    EXPECT_FALSE(b.Produto("154f", "1000", desc, classe, protocolo));  // the built-in rows are not mixed in

    // The language the file names reaches the component through the identification.
    TCdbDevice d;
    d.USB().DefinirRaizes(kSys, "/dev");
    d.SetPorta("USB:Zebra Técnica, Etiq");
    EXPECT_EQ(d.IdentificarDispositivo().Protocolo, 3);
}

TEST(TabelaUSB, IdentificadorInvalido) {
    TBancoUSBID b;
    b.Carregar(TBancoUSBID::TextoEmbutido());
    std::string desc;
    int classe, protocolo;
    EXPECT_EQ(MensagemDe([&] { b.Fabricante("zz12"); }), "VendorID inválido [zz12]");
    EXPECT_EQ(MensagemDe([&] { b.Produto("0a5f", "12g4", desc, classe, protocolo); }), "ProductID inválido [12g4]");
    EXPECT_EQ(MensagemDe([&] { b.Produto("", "0001", desc, classe, protocolo); }), "VendorID inválido []");
}

TEST(TabelaUSB, DescricaoComparavelEPortaSerial) {
    struct Caso {
        const char* descricao;
        const char* comparavel;
        const char* porta;
    } casos[] = {
        {"USB-SERIAL CH340 (COM3)", "USB-SERIAL CH340 (VCOM)", "COM3"},
        {"Adaptador (com12) extra", "Adaptador (VCOM) extra", "COM12"},
        {"Elgin L42DT (/dev/ttyACM0)", "Elgin L42DT (VCOM)", "/dev/ttyACM0"},
        {"Zebra, GC420t (EPL)", "Zebra, GC420t (EPL)", ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(TCdbDeviceWinUSB::DescricaoComparavel(c.descricao), c.comparavel);
        EXPECT_EQ(TCdbDeviceWinUSB::PortaSerialNaDescricao(c.descricao), c.porta);
    }
}

// Cheap adapters often report no maker or product text: the tty must still
// show, or a "USB:" port on them is never handed to the serial channel.
TEST_F(USB, AdaptadorSerialSemNomesMostraSeuTty) {
    TPastaTemp sys;
    struct Adaptador {
        const char* disp;
        const char* vid;
        const char* pid;
        const char* tty;
        const char* descricao;
    } adaptadores[] = {
        {"1-1", "1a86", "7523", "ttyUSB0", "QinHeng Electronics, CH340 Serial (/dev/ttyUSB0)"},
        {"1-2", "1234", "abcd", "ttyUSB1", "1234, abcd (/dev/ttyUSB1)"},
    };
    for (const auto& a : adaptadores) {
        const std::filesystem::path d = sys.caminho / "bus/usb/devices" / a.disp;
        std::filesystem::create_directories(d);
        std::filesystem::create_directories(d.string() + ":1.0/" + a.tty);
        Gravar((d / "idVendor").string(), std::string(a.vid) + "\n");
        Gravar((d / "idProduct").string(), std::string(a.pid) + "\n");
    }
    TCdbDevice d;
    d.USB().DefinirRaizes(sys.caminho.string(), "/dev");
    const auto& lista = d.USB().Dispositivos();
    ASSERT_EQ(lista.size(), std::size(adaptadores));
    for (size_t i = 0; i < lista.size(); ++i) EXPECT_EQ(lista[i].Descricao, adaptadores[i].descricao);

    d.SetPorta("USB:QinHeng");
    d.IdentificarDispositivo();
    EXPECT_EQ(d.Porta(), "/dev/ttyUSB0");
    EXPECT_EQ(d.DeviceType(), TCdbDeviceType::dtSerial);
}
