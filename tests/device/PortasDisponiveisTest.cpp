// The list behind "etiquetas-cli portas", from the fixture tree.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include "common/UFuncoes.h"
#include "device/PortasDisponiveis.h"
#include "suporte/Caminhos.h"
#include "suporte/Suporte.h"

TEST(PortasDisponiveis, UsbSeriaisEParalelasDaEstacao) {
    TPastaTemp programa;
    DefinirDiretorioSistema(programa.caminho.string());
    cupsSetServer("/nonexistent/etiq-cups.sock");
    const TListaPortas l = PortasDisponiveis(std::string(kFonteTestes) + "/fixtures/usb/sys", "/dev", 500);
    cupsSetServer(nullptr);
    DefinirDiretorioSistema("");

    EXPECT_FALSE(l.SpoolerResponde);
    using P = TPortaDisponivel;
    struct Esperada {
        P::TTipo tipo;
        const char* porta;
        const char* caminho;
        int classe;
    } esperadas[] = {
        {P::tpUSB, "USB:Zebra Technologies ZTC GC420t (EPL)", "/dev/usb/lp0", 2},
        {P::tpUSB, "USB:Seiko Epson, TM-T20", "/dev/usb/lp1", 1},
        {P::tpUSB, "USB:Elgin, L42", "/dev/usb/lp2", 2},
        {P::tpUSB, "USB:Acme Label 9000", "/dev/usb/lp3", -1},
        {P::tpUSB, "/dev/ttyUSB0", "/dev/ttyUSB0", 0},
        {P::tpUSB, "/dev/ttyACM0", "/dev/ttyACM0", 2},
        {P::tpUSB, "USB:BIXOLON SRP-350II", "/dev/bus/usb/001/008", 1},
        {P::tpSerial, "COM1", "/dev/ttyS0", -1},
        {P::tpSerial, "COM11", "/dev/ttyS10", -1},          // ttyS1 has no UART behind it
        {P::tpSerial, "/dev/ttyACM1", "/dev/ttyACM1", -1},  // ttyUSB0 is listed with the USB devices
        {P::tpParalela, "LPT1", "/dev/lp0", -1},
    };
    ASSERT_EQ(l.Portas.size(), std::size(esperadas));
    for (size_t i = 0; i < l.Portas.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(l.Portas[i].Tipo, esperadas[i].tipo);
        EXPECT_EQ(l.Portas[i].Porta, esperadas[i].porta);
        EXPECT_EQ(l.Portas[i].Caminho, esperadas[i].caminho);
        EXPECT_EQ(l.Portas[i].Classe, esperadas[i].classe);
    }
}

// Some boards name their UARTs ttySAC0 or ttySC1: listed by path, not as a COM number.
TEST(PortasDisponiveis, SerialDaPlacaComNomeNaoNumerico) {
    TPastaTemp sys;
    for (const char* nome : {"ttyS0", "ttySAC0"}) {
        std::filesystem::create_directories(sys.caminho / "class/tty" / nome);
        Gravar(sys / (std::string("class/tty/") + nome + "/type"), "4\n");
    }
    cupsSetServer("/nonexistent/etiq-cups.sock");
    TListaPortas l;
    EXPECT_NO_THROW(l = PortasDisponiveis(sys.caminho.string(), "/dev", 500));
    cupsSetServer(nullptr);
    ASSERT_EQ(l.Portas.size(), 2u);
    EXPECT_EQ(l.Portas[0].Porta, "COM1");
    EXPECT_EQ(l.Portas[0].Caminho, "/dev/ttyS0");
    EXPECT_EQ(l.Portas[1].Porta, "/dev/ttySAC0");
    EXPECT_EQ(l.Portas[1].Caminho, "/dev/ttySAC0");
    EXPECT_EQ(l.Portas[1].Tipo, TPortaDisponivel::tpSerial);
}
