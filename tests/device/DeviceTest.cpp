// The port object: port-name grammar, settings, checks, activation and log.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <regex>

#include "device/CdbDevice.h"
#include "device/CdbDeviceClass.h"
#include "device/CdbDeviceHook.h"
#include "device/CdbDeviceLPT.h"
#include "device/CdbDeviceRaw.h"
#include "device/CdbDeviceSerial.h"
#include "device/CdbDeviceTCP.h"
#include "device/CdbDeviceWinUSB.h"
#include "suporte/Suporte.h"

using T = TCdbDeviceType;

namespace {

// No spooler answers here, so bare names are no installed printer.
class SemSpooler : public ::testing::Test {
protected:
    void SetUp() override { cupsSetServer("/nonexistent/etiq-cups.sock"); }
    void TearDown() override { cupsSetServer(nullptr); }
};

}  // namespace

using Gramatica = SemSpooler;

TEST_F(Gramatica, CadaRegraDecideNaOrdem) {
    struct Caso {
        const char* porta;
        T tipo;
    } casos[] = {
        {"*", T::dtRawPrinter},
        {"NULL", T::dtNenhum},
        {"null.txt", T::dtNenhum},  // rule 2 comes before ".TXT"
        {"TCP:192.168.0.20:9100", T::dtTCP},
        {"tcp:impressora", T::dtTCP},
        {"RAW:Zebra GC420t", T::dtRawPrinter},
        {"BTH:00:11:22", T::dtBlueTooth},
        {"c:\\temp\\etq.txt", T::dtFile},
        {"COM1.TXT", T::dtFile},  // ".TXT" before "COM"
        {"FILE:c:\\etq\\saida", T::dtFile},
        {"LPT1", T::dtParallel},
        {"lpt2", T::dtParallel},
        {"COM3", T::dtSerial},
        {"\\\\.\\COM12", T::dtSerial},
        {"DLL", T::dtHook},
        {"dllCaptura", T::dtHook},
        {"USB", T::dtUSB},
        {"USB:Zebra", T::dtUSB},
        {"\\\\?\\usb#vid_0a5f&pid_00d3#1234", T::dtUSB},
        {"\\\\?\\USB#VID_0A5F&PID_00D3", T::dtUSB},
        {"/dev/ttyUSB0", T::dtSerial},
        {"/dev/ttyS0", T::dtSerial},
        {"/dev/pts/3", T::dtSerial},
        {"/dev/usb/lp0", T::dtFile},
        {"/tmp/etiquetas.prn", T::dtFile},
        {"\\\\servidor\\zebra", T::dtFile},
        {"ETIQ", T::dtNenhum},
        {"", T::dtNenhum},
    };
    TCdbDevice d;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porta);
        EXPECT_EQ(NomeTipo(d.DeduzirTipoPorta(c.porta)), std::string(NomeTipo(c.tipo)));
    }
}

TEST_F(Gramatica, PortaGuardadaSemBrancosEPortasLptComEmMaiusculas) {
    struct Caso {
        const char* valor;
        const char* guardada;
        T tipo;
    } casos[] = {
        {" lpt2 ", "LPT2", T::dtParallel},
        {"Com1", "COM1", T::dtSerial},
        {"  c:\\Temp\\Etq.txt ", "c:\\Temp\\Etq.txt", T::dtFile},
        {"tcp:Host:9101", "tcp:Host:9101", T::dtTCP},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.valor);
        TCdbDevice d;
        d.SetPorta(c.valor);
        EXPECT_EQ(d.Porta(), c.guardada);
        EXPECT_EQ(d.DeviceType(), c.tipo);
    }
}

TEST_F(Gramatica, CadaTipoUsaSeuCanal) {
    TCdbDevice d;
    EXPECT_EQ(d.DeviceType(), T::dtNenhum);
    EXPECT_STREQ(d.Canal().ClassName(), "TCdbDeviceClass");
    struct Caso {
        const char* porta;
        const char* canal;
    } casos[] = {
        {"LPT1", "TCdbDeviceLPT"},   {"x.txt", "TCdbDeviceLPT"},   {"COM1", "TCdbDeviceSerial"},
        {"TCP:h", "TCdbDeviceTCP"},  {"RAW:x", "TCdbDeviceRaw"},   {"DLL", "TCdbDeviceHook"},
        {"USB", "TCdbDeviceWinUSB"}, {"BTH:1", "TCdbDeviceClass"}, {"NULL", "TCdbDeviceClass"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porta);
        d.SetPorta(c.porta);
        EXPECT_STREQ(d.Canal().ClassName(), c.canal);
    }
}

TEST_F(Gramatica, TipoInformadoPrecisaCondizerComAPorta) {
    const std::string msg = "Tipo de dispositivo informado não condiz com o valor da Porta";
    struct Caso {
        const char* porta;
        T tipo;
        bool aceito;
    } casos[] = {
        {"TCP:host", T::dtRawPrinter, false},
        {"LPT1", T::dtTCP, false},
        {"LPT1", T::dtHook, false},
        {"LPT1", T::dtUSB, false},
        {"LPT1", T::dtBlueTooth, false},
        {"LPT1", T::dtFile, false},
        {"LPT1", T::dtSerial, false},
        {"x.txt", T::dtSerial, true},
        {"COM1", T::dtFile, true},
        {"TCP:host", T::dtNenhum, true},
        {"TCP:host", T::dtParallel, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.porta) + " " + NomeTipo(c.tipo));
        TCdbDevice d;
        d.SetPorta(c.porta);
        T antes = d.DeviceType();
        if (c.aceito) {
            d.SetDeviceType(c.tipo);
            EXPECT_EQ(d.DeviceType(), c.tipo);
        } else {
            EXPECT_EQ(MensagemDe([&] { d.SetDeviceType(c.tipo); }), msg);
            EXPECT_EQ(d.DeviceType(), antes);
        }
    }
    TCdbDevice d;
    d.SetPorta("x.txt");
    d.SetDeviceType(T::dtSerial);
    EXPECT_STREQ(d.Canal().ClassName(), "TCdbDeviceSerial");
}

using Ativacao = SemSpooler;

TEST_F(Ativacao, PortaVaziaOuDesconhecidaNaoAtiva) {
    for (const char* porta : {"", "ETIQ"}) {
        SCOPED_TRACE(porta);
        TCdbDevice d;
        d.SetPorta(porta);
        EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), "Porta não definida");
        EXPECT_FALSE(d.Ativo());
    }
}

TEST_F(Ativacao, PortaNullAtivaSemAbrirNada) {
    TCdbDevice d;
    d.SetPorta("Null");
    d.Ativar();
    EXPECT_TRUE(d.Ativo());
    EXPECT_NO_THROW(d.EnviaString("^XA^XZ"));
    d.Desativar();
    EXPECT_FALSE(d.Ativo());
}

TEST_F(Ativacao, PortaBluetoothNaoDisponivelFalhaEmVezDeFingirQueImprimiu) {
    TCdbDevice d;
    d.SetPorta("BTH:00:11:22:33:44:55");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }),
              "A porta Bluetooth BTH:00:11:22:33:44:55 não está disponível nesta estação");
    EXPECT_FALSE(d.Ativo());
}

TEST_F(Ativacao, PortaSoMudaComDispositivoInativo) {
    TCdbDevice d;
    d.SetPorta("NULL");
    d.Ativar();
    EXPECT_NO_THROW(d.SetPorta("NULL"));
    EXPECT_NO_THROW(d.SetPorta(" NULL "));  // the same port, tidied
    EXPECT_EQ(MensagemDe([&] { d.SetPorta("LPT1"); }), "Não é possível mudar a Porta com o Dispositivo Ativo");
    EXPECT_EQ(d.Porta(), "NULL");
    EXPECT_TRUE(d.Ativo());
    d.Desativar();
    d.SetPorta("LPT1");
    EXPECT_EQ(d.DeviceType(), T::dtParallel);
}

TEST(Device, ValoresIniciais) {
    TCdbDevice d;
    EXPECT_EQ(d.Porta(), "");
    EXPECT_EQ(d.TimeOut(), 3000);
    EXPECT_EQ(d.Baud(), 9600);
    EXPECT_EQ(d.Data(), 8);
    EXPECT_EQ(d.Parity(), TCdbSerialParity::pNone);
    EXPECT_EQ(d.Stop(), TCdbSerialStop::s1);
    EXPECT_EQ(d.HandShake(), TCdbHandShake::hsNenhum);
    EXPECT_FALSE(d.SoftFlow());
    EXPECT_FALSE(d.HardFlow());
    EXPECT_EQ(d.MaxBandwidth(), 0);
    EXPECT_EQ(d.SendBytesCount(), 0);
    EXPECT_EQ(d.SendBytesInterval(), 0);
    EXPECT_EQ(d.NomeDocumento(), "TCdbDevice");
    EXPECT_TRUE(d.ProcessMessages);
    EXPECT_FALSE(d.Ativo());
    d.SetNomeDocumento("Etiquetas");
    EXPECT_EQ(d.NomeDocumento(), "Etiquetas");
}

TEST(Device, DeviceToStringCompletoOuSoDiferencas) {
    TCdbDevice d;
    EXPECT_EQ(d.DeviceToString(false),
              "BAUD=9600 DATA=8 PARITY=N STOP=1 HANDSHAKE= MAXBANDWIDTH=0 SENDBYTESCOUNT=0 SENDBYTESINTERVAL=0");
    EXPECT_EQ(d.DeviceToString(true), "");

    d.SetBaud(19200);
    d.SetData(7);
    d.SetParity(TCdbSerialParity::pEven);
    d.SetStop(TCdbSerialStop::s2);
    d.SetHardFlow(true);
    d.SetSendBytesCount(100);
    d.SetSendBytesInterval(5);
    EXPECT_EQ(d.DeviceToString(true),
              "BAUD=19200 DATA=7 PARITY=E STOP=2 HANDSHAKE=RTS/CTS HARDFLOW SENDBYTESCOUNT=100 SENDBYTESINTERVAL=5");

    d.SetStop(TCdbSerialStop::s1eMeio);
    d.SetSoftFlow(true);
    d.SetParity(TCdbSerialParity::pMark);
    EXPECT_EQ(d.DeviceToString(false),
              "BAUD=19200 DATA=7 PARITY=M STOP=1,5 HANDSHAKE=XON/XOFF SOFTFLOW MAXBANDWIDTH=0 SENDBYTESCOUNT=100 "
              "SENDBYTESINTERVAL=5");
}

TEST(Device, FaixasDeBaudEData) {
    const std::string baud =
        "Valor deve estar na faixa de 50 a 4000000.\nNormalmente os equipamentos Seriais utilizam: 9600";
    const std::string data =
        "Valor deve estar na faixa de 5 a 8.\nNormalmente os equipamentos Seriais utilizam: 7 ou 8";
    TCdbDevice d;
    for (int v : {49, 4000001, 0, -9600}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(MensagemDe([&] { d.SetBaud(v); }), baud);
        EXPECT_EQ(d.Baud(), 9600);
    }
    for (int v : {4, 9}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(MensagemDe([&] { d.SetData(v); }), data);
        EXPECT_EQ(d.Data(), 8);
    }
    d.SetBaud(50);
    EXPECT_EQ(d.Baud(), 50);
    d.SetBaud(4000000);
    EXPECT_EQ(d.Baud(), 4000000);
    d.SetData(5);
    EXPECT_EQ(d.Data(), 5);
}

TEST(Device, RegrasDeControleDeFluxo) {
    using H = TCdbHandShake;
    struct Passo {
        const char* acao;
        H handshake;
        bool soft, hard;
    } passos[] = {
        {"soft+", H::hsXON_XOFF, true, false}, {"hard+", H::hsRTS_CTS, false, true},
        {"soft-", H::hsRTS_CTS, false, true},  // another handshake is left alone
        {"hard-", H::hsNenhum, false, false},  {"dtr", H::hsDTR_DSR, false, false},
        {"soft-", H::hsDTR_DSR, false, false}, {"xon", H::hsXON_XOFF, true, false},
        {"soft-", H::hsNenhum, false, false},
    };
    TCdbDevice d;
    for (const auto& p : passos) {
        SCOPED_TRACE(p.acao);
        std::string a = p.acao;
        if (a == "soft+")
            d.SetSoftFlow(true);
        else if (a == "soft-")
            d.SetSoftFlow(false);
        else if (a == "hard+")
            d.SetHardFlow(true);
        else if (a == "hard-")
            d.SetHardFlow(false);
        else if (a == "dtr")
            d.SetHandShake(H::hsDTR_DSR);
        else if (a == "xon")
            d.SetHandShake(H::hsXON_XOFF);
        EXPECT_EQ(d.HandShake(), p.handshake);
        EXPECT_EQ(d.SoftFlow(), p.soft);
        EXPECT_EQ(d.HardFlow(), p.hard);
    }
}

TEST_F(Gramatica, MaxBandwidthFicaComOCanalAtual) {
    TCdbDevice d;
    d.SetPorta("TCP:127.0.0.1");
    d.SetMaxBandwidth(2000);
    EXPECT_EQ(d.MaxBandwidth(), 2000);
    EXPECT_EQ(d.DeviceToString(true), "MAXBANDWIDTH=2000");
    d.SetPorta("LPT1");  // the parallel channel has no line to pass it to
    d.SetMaxBandwidth(500);
    EXPECT_EQ(d.MaxBandwidth(), 0);
}

TEST(Device, CanalExigeDono) {
    EXPECT_EQ(MensagemDe([] { TCdbDeviceClass c(nullptr); }), "Dono de TCdbDeviceClass deve ser TCdbDevice");
    EXPECT_EQ(MensagemDe([] { TCdbDeviceLPT c(nullptr); }), "Dono de TCdbDeviceClass deve ser TCdbDevice");
}

TEST(Device, CanalBaseLeByteENadaEnvia) {
    TCdbDevice d;
    EXPECT_EQ(d.Canal().LeByte(10), 0);
    EXPECT_EQ(d.Canal().LeString(10, 5), "");
    EXPECT_NO_THROW(d.Canal().Limpar());
}

TEST(Log, ControlesEscritosPorExtenso) {
    struct Caso {
        std::string bytes;
        const char* texto;
    } casos[] = {
        {std::string("\0\x01\x02\x03\x05\x06\x08\x09", 8), "[NUL][SOH][STX][ETX][ENQ][ACK][BS][TAB]"},
        {"\x0a\x0c\x0d\x11\x15\x1b\x1c\x1d", "[LF][FF][CR][WAK][NAK][ESC][FS][GS]"},
        {"\x04\x1f\x7f\x80\xc8\xff", "[4][31][127][128][200][255]"},
        {" A~z", " A~z"},
    };
    for (const auto& c : casos) EXPECT_EQ(TraduzirControles(c.bytes), c.texto);
}

TEST_F(Gramatica, LogGravaLinhasComHoraEControlesPorExtenso) {
    TPastaTemp pasta;
    const std::string arq = pasta / "device.log";
    TCdbDevice d;
    d.SetArqLOG(arq);
    d.SetPorta("NULL");
    d.Ativar();
    d.EnviaString(std::string("\x02L\r\n\xff", 5));
    EXPECT_ANY_THROW(d.SetPorta(""));  // active: raises and logs first
    const std::string log = LerTudo(arq);
    std::regex linha(R"(-- \d\d/\d\d \d\d:\d\d:\d\d:\d\d\d (.*)\r)");
    std::vector<std::string> corpo;
    std::istringstream in(log);
    for (std::string l; std::getline(in, l);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l, m, linha)) << l;
        corpo.push_back(m[1]);
    }
    std::vector<std::string> esperado = {
        "SetPorta(NULL)",
        "DeduzirTipoPorta(NULL)",
        "  dtNenhum",
        "Ativar - Porta Nenhum: NULL",
        "   TCdbDeviceClass.Conectar(NULL, 3000)",
        "EnviaString([STX]L[CR][LF][255])",
        "SetPorta()",
        "Exception: Não é possível mudar a Porta com o Dispositivo Ativo",
    };
    EXPECT_EQ(corpo, esperado);
}

TEST(Log, FalhaAoGravarLogNaoInterrompe) {
    TCdbDevice d;
    d.SetArqLOG("/nonexistent/pasta/device.log");
    EXPECT_NO_THROW(d.SetPorta("NULL"));
    EXPECT_NO_THROW(d.Ativar());
}
