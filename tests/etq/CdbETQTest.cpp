#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "Captura.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "device/CdbDeviceWinUSB.h"
#include "etq/CdbETQClass.h"
#include "suporte/Caminhos.h"

namespace {

// The label every language's example uses, in tenths of a millimetre.
void TextoABC(TCdbETQ& etq, const std::string& texto = "ABC") {
    etq.ImprimirTexto(orNormal, 3, 1, 2, 180, 45, texto, 0, false);
}

const std::string kInicioPpla = Linhas({STX + "L", STX + "V0", STX + "m", STX + "Q", "H10", "D11"}, "\r");
std::string FimPpla(const std::string& copias, const std::string& avanco = "220") {
    return Linhas({"Q" + copias, "E", STX + "f" + avanco}, "\r");
}
const std::string kLimparPpla = STX + "Q\r";
std::string RegistroPpla(const std::string& texto) { return "131200001800045" + texto + "\r"; }

}  // namespace

TEST(TCdbETQ, ValoresIniciais) {
    TCdbETQ etq;
    EXPECT_EQ(etq.PaginaDeCodigo(), pceNone);
    EXPECT_EQ(etq.Unidade(), etqDecimoDeMilimetros);
    EXPECT_EQ(etq.Modelo(), etqNenhum);
    EXPECT_EQ(etq.BackFeed(), bfNone);
    EXPECT_TRUE(etq.LimparMemoria());
    EXPECT_EQ(etq.Temperatura(), 10);
    EXPECT_EQ(etq.Velocidade(), -1);
    EXPECT_EQ(etq.Origem(), ogNone);
    EXPECT_EQ(etq.DPI(), dpi203);
    EXPECT_EQ(etq.Avanco(), 0);
    EXPECT_FALSE(etq.Guilhotina());
    EXPECT_EQ(etq.MargemEsquerda(), 0);
    EXPECT_EQ(etq.DeteccaoEtiqueta(), mdeGap);
    EXPECT_EQ(etq.ArqLOG(), "");
    EXPECT_EQ(etq.Porta(), "LPT1");
    EXPECT_EQ(etq.Device().DeviceType(), TCdbDeviceType::dtParallel);
    EXPECT_FALSE(etq.Ativo());
    EXPECT_EQ(etq.ModeloStr(), "Não Definida");
    EXPECT_FALSE(etq.EtqInicializada());
    EXPECT_FALSE(etq.EtqFinalizada());
    EXPECT_EQ(etq.CopiasPendentes(), 1);
    EXPECT_EQ(etq.AvancoPendente(), 0);
}

TEST(TCdbETQ, EtiquetaDeExemploEmCadaLinguagem) {
    struct Caso {
        TCdbETQModelo modelo;
        std::string esperado;
    };
    const Caso casos[] = {
        {etqPpla, kInicioPpla + RegistroPpla("ABC") + FimPpla("0001") + kLimparPpla},
        {etqZPLII,
         Linhas({"^XA", "^MMT", "^MCY", "~SD10", "^PON", "^FO36,144^A3N,2,1^FDABC^FS", "^PQ1", "^XZ", "^MCY"}, "\r\n")},
        {etqEpl2, Linhas({"R0,0", "O", "N", "D10", "ZB", "A36,144,0,3,1,2,N,\"ABC\"", "P1", "N"}, "\n")},
        {etqPplb, Linhas({"R0,0", "O", "N", "D10", "ZB", "A36,144,0,3,1,2,N,\"ABC\"", "P1", "N"}, "\n")},
    };
    for (const auto& k : casos) {
        TEtqCapturado c(k.modelo);
        c.etq.IniciarEtiqueta();
        TextoABC(c.etq);
        c.etq.Imprimir(1, 0);
        ASSERT_EQ(c.enviados.size(), 1u) << NomeEnum(k.modelo);
        EXPECT_EQ(c.Ultimo(), k.esperado) << NomeEnum(k.modelo);
    }
}

TEST(TCdbETQ, DesenhoAntesDoInicioFicaAtrasDoBlocoDeInicio) {
    const std::string esperado = kInicioPpla + RegistroPpla("ABC") + FimPpla("0001") + kLimparPpla;
    {  // then IniciarEtiqueta and Imprimir
        TEtqCapturado c(etqPpla);
        TextoABC(c.etq);
        EXPECT_FALSE(c.etq.Ativo());  // drawing never opens the port
        c.etq.IniciarEtiqueta();
        c.etq.Imprimir(1, 0);
        EXPECT_EQ(c.Ultimo(), esperado);
    }
    {  // Imprimir alone starts the label itself
        TEtqCapturado c(etqPpla);
        TextoABC(c.etq);
        c.etq.Imprimir(1, 0);
        EXPECT_EQ(c.Ultimo(), esperado);
    }
}

TEST(TCdbETQ, DoisIniciosSeguidosDeixamDoisBlocosDeInicioSemFimEntreEles) {
    TEtqCapturado c(etqPpla);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq, "DEF");
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(c.Ultimo(),
              kInicioPpla + RegistroPpla("ABC") + kInicioPpla + RegistroPpla("DEF") + FimPpla("0001") + kLimparPpla);
}

TEST(TCdbETQ, EtiquetaFinalizadaSaiComSuasCopiasAntesDaSeguinte) {
    TEtqCapturado c(etqPpla);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    c.etq.FinalizarEtiqueta(3, 0);
    EXPECT_TRUE(c.etq.EtqFinalizada());
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq, "DEF");
    c.etq.Imprimir(1, 0);
    ASSERT_EQ(c.enviados.size(), 1u);
    EXPECT_EQ(c.Ultimo(), kInicioPpla + RegistroPpla("ABC") + FimPpla("0003") + kInicioPpla + RegistroPpla("DEF") +
                              FimPpla("0001") + kLimparPpla);
}

TEST(TCdbETQ, ImprimirSoSobrepoeCopiasEAvancoMaioresQueOPadrao) {
    struct Caso {
        bool finalizar;
        int copiasFinalizar, avancoFinalizar, copiasImprimir, avancoImprimir;
        const char* copias;
        const char* avanco;
    };
    const Caso casos[] = {
        {true, 5, 0, 1, 0, "0005", "220"},  // 1 does not override
        {true, 5, 0, 2, 0, "0002", "220"},   {true, 5, 0, 0, 0, "0005", "220"},  {true, 1, 10, 1, 0, "0001", "230"},
        {true, 1, 10, 1, 20, "0001", "240"}, {false, 0, 0, 0, 0, "0001", "220"},  // Imprimir(0, 0) prints one copy
        {false, 0, 0, 7, 5, "0007", "225"},
    };
    for (const auto& k : casos) {
        TEtqCapturado c(etqPpla);
        c.etq.IniciarEtiqueta();
        TextoABC(c.etq);
        if (k.finalizar) c.etq.FinalizarEtiqueta(k.copiasFinalizar, k.avancoFinalizar);
        c.etq.Imprimir(k.copiasImprimir, k.avancoImprimir);
        EXPECT_EQ(c.Ultimo(), kInicioPpla + RegistroPpla("ABC") + FimPpla(k.copias, k.avanco) + kLimparPpla)
            << k.copiasFinalizar << "/" << k.copiasImprimir;
        EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
        EXPECT_FALSE(c.etq.EtqInicializada() || c.etq.EtqFinalizada());
    }
}

TEST(TCdbETQ, FalhaDentroDeImprimirEsvaziaAListaENadaSai) {
    TEtqCapturado c(etqZPLII);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    EXPECT_EQ(MensagemDe([&] { c.etq.Imprimir(1000, 0); }), "NumCopias deve ser de 1 a 999");
    EXPECT_TRUE(c.enviados.empty());
    EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
    EXPECT_FALSE(c.etq.EtqInicializada() || c.etq.EtqFinalizada());
    EXPECT_EQ(c.etq.CopiasPendentes(), 1);
    EXPECT_TRUE(c.etq.Ativo());  // the port stays open

    // The next label carries nothing of the refused one.
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq, "DEF");
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(
        c.Ultimo(),
        Linhas({"^XA", "^MMT", "^MCY", "~SD10", "^PON", "^FO36,144^A3N,2,1^FDDEF^FS", "^PQ1", "^XZ", "^MCY"}, "\r\n"));
}

TEST(TCdbETQ, FalhaAoEnviarTambemEsvaziaALista) {
    TEtqCapturado c(etqPpla);
    c.etq.Device().HookEnviaString = [](const std::string&) { throw Exception("impressora desligada"); };
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    EXPECT_EQ(MensagemDe([&] { c.etq.Imprimir(1, 0); }), "impressora desligada");
    EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
    EXPECT_TRUE(c.etq.Ativo());
}

TEST(TCdbETQ, DesenhoRecusadoNaoApagaOQueJaEstavaNaLista) {
    TEtqCapturado c(etqPpla);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    EXPECT_EQ(MensagemDe([&] { c.etq.ImprimirTexto(orNormal, 3, 25, 1, 0, 0, "X"); }), "Informe um valor entre 0 e 24");
    ASSERT_EQ(c.etq.ListaCmd().Count(), 2);
    EXPECT_EQ(c.etq.ListaCmd()[1], "131200001800045ABC");
}

TEST(TCdbETQ, TemperaturaRecusadaNoInicioNaoAcrescentaNada) {
    TEtqCapturado c(etqPpla);
    c.etq.SetTemperatura(21);
    EXPECT_EQ(MensagemDe([&] { c.etq.IniciarEtiqueta(); }), "Temperatura deve ser de 0 a 20");
    EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
    EXPECT_FALSE(c.etq.EtqInicializada());
}

TEST(TCdbETQ, ModeloEscolheALinguagem) {
    struct Caso {
        TCdbETQModelo modelo;
        const char* modeloStr;
        int maxCopias;
    };
    const Caso casos[] = {
        {etqPpla, "PPLA", 9999},
        {etqPplb, "EPL2", 65535},
        {etqZPLII, "ZPLII", 999},
        {etqEpl2, "EPL2", 65535},
        {etqEscLabel, "EscLabel", 99999999},
        {etqNenhum, "Não Definida", 999},
    };
    TCdbETQ etq;
    for (const auto& k : casos) {
        etq.SetModelo(k.modelo);
        EXPECT_EQ(etq.Modelo(), k.modelo);
        EXPECT_EQ(etq.ModeloStr(), k.modeloStr);
        EXPECT_EQ(etq.Linguagem().MaxCopias, k.maxCopias);
    }
}

TEST(TCdbETQ, TrocarModeloLevaSeisValoresEZeraOsOutros) {
    TCdbETQ etq;
    etq.SetModelo(etqPpla);
    EXPECT_EQ(etq.Unidade(), etqDecimoDeMilimetros);  // the component's, not PPLA's own
    etq.SetTemperatura(15);
    etq.SetLimparMemoria(false);
    etq.SetAvanco(3);
    etq.SetUnidade(etqMilimetros);
    etq.SetDPI(dpi300);
    etq.SetVelocidade(2);
    etq.SetOrigem(ogBottom);
    etq.SetBackFeed(bfOn);
    etq.SetGuilhotina(true);
    etq.SetPaginaDeCodigo(pce850);
    etq.SetDeteccaoEtiqueta(mdeBlackMark);

    etq.SetModelo(etqZPLII);
    EXPECT_EQ(etq.Temperatura(), 15);
    EXPECT_FALSE(etq.LimparMemoria());
    EXPECT_EQ(etq.Avanco(), 3);
    EXPECT_EQ(etq.Unidade(), etqMilimetros);
    EXPECT_EQ(etq.DPI(), dpi300);
    EXPECT_EQ(etq.Velocidade(), 2);
    EXPECT_EQ(etq.Origem(), ogNone);
    EXPECT_EQ(etq.BackFeed(), bfNone);
    EXPECT_FALSE(etq.Guilhotina());
    EXPECT_EQ(etq.PaginaDeCodigo(), pceNone);
    EXPECT_EQ(etq.DeteccaoEtiqueta(), mdeGap);

    // The same value keeps the object and everything in it.
    etq.SetGuilhotina(true);
    etq.SetModelo(etqZPLII);
    EXPECT_TRUE(etq.Guilhotina());
}

TEST(TCdbETQ, ModeloEPortaSoMudamComOComponenteFechado) {
    TEtqCapturado c(etqPpla);
    int aberturas = 0;
    c.etq.Device().HookAtivar = [&](const std::string&, const std::string&) { ++aberturas; };
    c.etq.Ativar();
    ASSERT_EQ(aberturas, 1);

    // A failed job leaves the component open...
    c.etq.SetTemperatura(21);
    EXPECT_THROW(c.etq.IniciarEtiqueta(), Exception);
    EXPECT_TRUE(c.etq.Ativo());

    EXPECT_EQ(MensagemDe([&] { c.etq.SetModelo(etqZPLII); }), "Não é possível mudar o Modelo com CdbETQ Ativo");
    EXPECT_EQ(c.etq.Modelo(), etqPpla);
    EXPECT_EQ(c.etq.ModeloStr(), "PPLA");
    EXPECT_EQ(MensagemDe([&] { c.etq.SetPorta("LPT2"); }), "Não é possível mudar a Porta com o Dispositivo Ativo");
    EXPECT_EQ(c.etq.Porta(), "DLL");

    // ...while the same values and the plain settings are taken.
    EXPECT_NO_THROW(c.etq.SetModelo(etqPpla));
    EXPECT_NO_THROW(c.etq.SetPorta("DLL"));
    c.etq.SetTemperatura(12);
    c.etq.SetLimparMemoria(true);
    c.etq.SetAvanco(0);
    c.etq.Ativar();
    EXPECT_EQ(aberturas, 1);

    c.etq.Desativar();
    EXPECT_NO_THROW(c.etq.SetModelo(etqZPLII));
    EXPECT_NO_THROW(c.etq.SetPorta("NULL"));
}

TEST(TCdbETQ, PortaVaziaAtivaSemAbrirNadaMasNaoMudaComOComponenteAtivo) {
    TCdbETQ etq;
    etq.SetPorta("");
    etq.SetModelo(etqPpla);
    etq.Ativar();
    EXPECT_TRUE(etq.Ativo());
    EXPECT_FALSE(etq.Device().Ativo());
    EXPECT_EQ(MensagemDe([&] { etq.SetPorta("DLL"); }), "Não é possível mudar a Porta com o Dispositivo Ativo");
    etq.SetAtivo(false);
    EXPECT_FALSE(etq.Ativo());
    EXPECT_NO_THROW(etq.SetPorta("DLL"));
}

TEST(TCdbETQ, PortaQueNaoAbreDeixaOComponenteFechado) {
    TCdbETQ etq;
    etq.SetPorta("ETIQ");  // no channel for a bare word
    EXPECT_EQ(MensagemDe([&] { etq.Ativar(); }), "Porta não definida");
    EXPECT_FALSE(etq.Ativo());
}

TEST(TCdbETQ, FecharDescartaAEtiquetaPelaMetade) {
    TEtqCapturado c(etqPpla);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    c.etq.Desativar();
    EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
    EXPECT_FALSE(c.etq.EtqInicializada());

    c.etq.IniciarEtiqueta();
    TextoABC(c.etq, "DEF");
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(c.Ultimo(), kInicioPpla + RegistroPpla("DEF") + FimPpla("0001") + kLimparPpla);
}

TEST(TCdbETQ, DestruirFechaAPorta) {
    int fechamentos = 0;
    {
        TCdbETQ etq;
        etq.SetPorta("DLL");
        etq.Device().HookDesativar = [&](const std::string&) { ++fechamentos; };
        etq.Device().HookEnviaString = [](const std::string&) {};
        etq.SetAtivo(true);
        EXPECT_TRUE(etq.Ativo());
    }
    EXPECT_EQ(fechamentos, 1);
}

TEST(TCdbETQ, MargemEsquerdaSomaNaHorizontalDeTodoDesenho) {
    TCdbETQ etq;
    etq.SetModelo(etqPpla);
    etq.SetMargemEsquerda(20);
    etq.ImprimirLinha(10, 30, 100, 5);
    etq.ImprimirCaixa(10, 30, 100, 5, 1, 2, 0);
    etq.ImprimirTexto(orNormal, 2, 1, 1, 10, 30, "A");
    etq.ImprimirBarras(orNormal, "E", 2, 2, 10, 30, "12", 50, becSIM);
    ASSERT_EQ(etq.ListaCmd().Count(), 4);
    EXPECT_EQ(etq.ListaCmd()[0], "1X1100000100050L100005");
    EXPECT_EQ(etq.ListaCmd()[1], "1X1100000100050B100005002001");
    EXPECT_EQ(etq.ListaCmd()[2], "121100000100050A");
    EXPECT_EQ(etq.ListaCmd()[3],
              "1E2205000100050"
              "12");
}

TEST(TCdbETQ, FonteNumericaELargurasEmTexto) {
    TCdbETQ etq;
    etq.SetModelo(etqZPLII);
    etq.ImprimirTexto(orNormal, 12, 1, 1, 0, 0, "A");
    etq.ImprimirTexto(orNormal, 7, 1, 1, 0, 0, "A");
    EXPECT_EQ(etq.ListaCmd()[0], "^FO0,0^ACN,1,1^FDA^FS");
    EXPECT_EQ(etq.ListaCmd()[1], "^FO0,0^A7N,1,1^FDA^FS");

    struct Caso {
        const char* largura;
        const char* by;
    };
    const Caso casos[] = {{"B", "^BY11,,"}, {"b", "^BY11,,"}, {"", "^BY10,,"}, {"3", "^BY3,,"}, {"12", "^BY12,,"}};
    for (const auto& k : casos) {
        etq.ImprimirBarras(orNormal, "E", "2", k.largura, 0, 0, "1", 10, becSIM);
        const std::string& cmd = etq.ListaCmd()[etq.ListaCmd().Count() - 1];
        EXPECT_NE(cmd.find(k.by), std::string::npos) << "'" << k.largura << "' " << cmd;
    }
}

TEST(TCdbETQ, TextoPerdeAcentosEOQueAImpressoraNaoTem) {
    TCdbETQ etq;
    etq.SetModelo(etqPpla);
    etq.ImprimirTexto(orNormal, 2, 1, 1, 0, 0,
                      "A\xE7\xE3o N\xBA"
                      "1");  // "Ação Nº1" in Windows-1252
    EXPECT_EQ(etq.ListaCmd()[0], "121100000000000Acao N 1");
}

TEST(TCdbETQ, QuebraDeLinhaNosDadosNaoViraComandoEmNenhumaLinguagem) {
    struct Caso {
        TCdbETQModelo modelo;
        const char* tipo;
    };
    const Caso casos[] = {{etqPpla, "E"}, {etqZPLII, "E"}, {etqEpl2, "1"}, {etqPplb, "1"}};
    for (const auto& k : casos) {
        TEtqCapturado c(k.modelo);
        c.etq.IniciarEtiqueta();
        c.etq.ImprimirTexto(orNormal, 2, 1, 1, 10, 10, "NOME\r\n" + STX + "Q\bX");
        c.etq.ImprimirBarras(orNormal, k.tipo, 2, 2, 10, 10, "789\n" + STX + "L\r", 50, becSIM);
        ASSERT_EQ(c.etq.ListaCmd().Count(), 3) << NomeEnum(k.modelo);
        for (int i = 1; i <= 2; ++i) {
            const std::string& cmd = c.etq.ListaCmd()[i];
            for (unsigned char ch : cmd) EXPECT_GE(ch, 32) << NomeEnum(k.modelo) << ": " << cmd;
        }
        EXPECT_NE(c.etq.ListaCmd()[1].find("NOME   Q X"), std::string::npos) << c.etq.ListaCmd()[1];
        EXPECT_NE(c.etq.ListaCmd()[2].find("789  L "), std::string::npos) << c.etq.ListaCmd()[2];
    }
}

TEST(TCdbETQ, LinhasDoLogComCadaArgumento) {
    TEtqCapturado c(etqPpla);
    std::vector<std::string> log;
    c.etq.OnGravarLog = [&](const std::string& l, bool&) { log.push_back(l); };
    c.etq.SetMargemEsquerda(20);  // the log shows the caller's Horizontal
    c.etq.IniciarEtiqueta();
    c.etq.ImprimirTexto(orNormal, "3", 1, 2, 180, 45, "ABC", 0, false);
    c.etq.ImprimirBarras(orNormal, "F", "2", "2", 5, 100, "789", 90, becSIM);
    c.etq.ImprimirLinha(228, 70, 370, 3);
    c.etq.ImprimirCaixa(30, 490, 280, 130, 6, 6, 0);
    c.etq.FinalizarEtiqueta(2, 0);
    c.etq.Imprimir(1, 0);
    c.etq.Desativar();

    auto tem = [&](const std::string& linha) { return std::find(log.begin(), log.end(), linha) != log.end(); };
    EXPECT_TRUE(tem("- IniciarEtiqueta"));
    EXPECT_TRUE(
        tem("- ImprimirTexto:  Orientacao:orNormal, Fonte:3, MultiplicadorH:1, MultiplicadorV:2, "
            "Vertical:180, Horizontal:45, Texto:ABC, SubFonte:0, ImprimirReverso:False"));
    EXPECT_TRUE(
        tem("- ImprimirBarras:  Orientacao:orNormal, TipoBarras:F, LarguraBarraLarga:2, LarguraBarraFina:2, "
            "Vertical:5, Horizontal:100, Texto:789, AlturaCodBarras:90, ExibeCodigo:becSIM"));
    EXPECT_TRUE(tem("- ImprimirLinha:  Vertical:228, Horizontal:70, Largura:370, Altura:3"));
    EXPECT_TRUE(
        tem("- ImprimirCaixa:  Vertical:30, Horizontal:490, Largura:280, Altura:130, EspessuraVertical:6, "
            "EspessuraHorizontal:6, Canto:0"));
    EXPECT_TRUE(tem("- FinalizarEtiqueta: Copias:2, AvancoEtq:0"));
    EXPECT_TRUE(tem("- Imprimir. Copias:1, AvancoEtq:0"));
    EXPECT_TRUE(tem("DESATIVAR"));

    // The stream, with its control bytes spelled out.
    EXPECT_TRUE(
        tem("[STX]L[CR][STX]V0[CR][STX]m[CR][STX]Q[CR]H10[CR]D11[CR]131200001800065ABC[CR]"
            "1F2209000050120789[CR]1X1100002280090L370003[CR]1X1100000300510B280130006006[CR]"
            "Q0002[CR]E[CR][STX]f220[CR][STX]Q[CR]"));

    const std::regex banner(
        "\r\n-{80}\r\nATIVAR - \\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d:\\d{3} - Modelo: PPLA - Porta: DLL - Device: "
        "BAUD=9600 DATA=8 PARITY=N STOP=1 HANDSHAKE= MAXBANDWIDTH=0 SENDBYTESCOUNT=0 SENDBYTESINTERVAL=0\r\n-{80}\r\n");
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& l) { return std::regex_match(l, banner); }));
}

TEST(TCdbETQ, ArqLOGRecebeALinhaComHoraSalvoSeOEventoATratar) {
    const std::string arquivo = testing::TempDir() + "etq_log_teste.txt";
    std::remove(arquivo.c_str());
    TCdbETQ etq;
    etq.SetArqLOG(arquivo);
    etq.SetModelo(etqZPLII);
    bool tratar = true;
    etq.OnGravarLog = [&](const std::string&, bool& tratado) { tratado = tratar; };
    etq.SetModelo(etqEpl2);  // handled: not in the file
    tratar = false;
    etq.ImprimirLinha(1, 2, 3, 4);

    const std::string lido = LerTudo(arquivo);
    const std::regex esperado(
        "-- \\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d:\\d{3} - SetModelo\\. etqZPLII\r\n"
        "-- \\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d:\\d{3} - ImprimirLinha:  Vertical:1, Horizontal:2, Largura:3, "
        "Altura:4\r\n");
    EXPECT_TRUE(std::regex_match(lido, esperado)) << lido;
    std::remove(arquivo.c_str());

    etq.SetArqLOG(testing::TempDir() + "pasta-que-nao-existe/etq.log");
    EXPECT_NO_THROW(etq.ImprimirLinha(1, 2, 3, 4));
}

TEST(TCdbETQ, SemLimparMemoriaNaoHaLimpezaNemNoInicioNemNoFim) {
    TEtqCapturado c(etqZPLII);
    c.etq.SetLimparMemoria(false);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq);
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(c.Ultimo(),
              Linhas({"^XA", "^MMT", "~SD10", "^PON", "^FO36,144^A3N,2,1^FDABC^FS", "^PQ1", "^XZ"}, "\r\n"));
}

TEST(TCdbETQ, PaginaDeCodigoConverteOTextoEAvisaAImpressora) {
    TEtqCapturado c(etqZPLII);
    c.etq.SetPaginaDeCodigo(pce850);
    c.etq.IniciarEtiqueta();
    TextoABC(c.etq, "A\xE7\xE3o\r");  // "Ação" + CR in Windows-1252
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(c.Ultimo(), Linhas({"^XA", "^MMT", "^MCY", "~SD10", "^PON", "^CI13",
                                  "^FO36,144^A3N,2,1^FH\\^FDA\\87\\C6o ^FS", "^PQ1", "^XZ", "^MCY"},
                                 "\r\n"));
}

TEST(TCdbETQ, FonteNumericaQueNaoEUmCaractereDeFonteERecusada) {
    TCdbETQ etq;
    etq.SetModelo(etqPpla);
    for (int fonte : {-1, 10, 300})
        EXPECT_EQ(MensagemDe([&] { etq.ImprimirTexto(orNormal, fonte, 1, 1, 0, 0, "x"); }), "Fonte deve ser de 0 a 9")
            << fonte;
    etq.SetModelo(etqZPLII);
    etq.ImprimirTexto(orNormal, 35, 1, 1, 0, 0, "x");  // 35 is "Z"
    EXPECT_EQ(etq.ListaCmd()[0], "^FO0,0^AZN,1,1^FDx^FS");
    EXPECT_EQ(MensagemDe([&] { etq.ImprimirTexto(orNormal, 36, 1, 1, 0, 0, "x"); }),
              "Fonte deve \"0\" a \"9\" e \"A\" a \"Z\"");
}

namespace {
// USB printers of the device tests' sysfs tree, named by a table next to the
// program, written through plain files standing for the printer nodes.
struct EtqUSB : testing::Test {
    TPastaTemp programa, dev;
    TCdbETQ etq;
    void SetUp() override {
        DefinirDiretorioSistema(programa.caminho.string());
        Gravar(programa / "CdbUSBID.ini",
               "[Vendors]\r\n0A5F=Zebra\r\n04B8=Epson\r\n1234=Acme\r\n"
               "[0a5f]\r\n00D3=Etiquetadora;2;3\r\n[04b8]\r\n0E03=Cupom;1\r\n[1234]\r\n5678=Balcao;2;9\r\n");
        std::filesystem::create_directories(dev.caminho / "usb");
        for (const char* no : {"usb/lp0", "usb/lp1", "usb/lp3"}) Gravar(dev / no, "");
        etq.Device().USB().DefinirRaizes(std::string(kFonteTestes) + "/../device/fixtures/usb/sys",
                                         dev.caminho.string());
    }
    void TearDown() override { DefinirDiretorioSistema(""); }
};
}  // namespace

TEST_F(EtqUSB, ImpressoraDeCupomERecusadaEOComponenteFicaFechado) {
    etq.SetModelo(etqPpla);
    etq.SetPorta("USB:Epson");
    EXPECT_EQ(MensagemDe([&] { etq.Ativar(); }), "Porta: USB:Epson não está conectada a uma Impressora de Etiquetas");
    EXPECT_FALSE(etq.Ativo());
    EXPECT_FALSE(etq.Device().Ativo());
    EXPECT_EQ(LerTudo(dev / "usb/lp1"), "");
}

TEST_F(EtqUSB, LinguagemInformadaPelaIdentificacaoTrocaOModelo) {
    etq.SetModelo(etqPpla);
    etq.SetTemperatura(12);
    etq.SetGuilhotina(true);
    etq.SetPorta("USB:Zebra");
    etq.Ativar();
    EXPECT_EQ(etq.Modelo(), etqZPLII);
    EXPECT_EQ(etq.ModeloStr(), "ZPLII");
    EXPECT_EQ(etq.Temperatura(), 12);
    EXPECT_FALSE(etq.Guilhotina());
    etq.IniciarEtiqueta();
    TextoABC(etq);
    etq.Imprimir(1, 0);
    etq.Desativar();
    EXPECT_EQ(
        LerTudo(dev / "usb/lp0"),
        Linhas({"^XA", "^MMT", "^MCY", "~SD12", "^PON", "^FO36,144^A3N,2,1^FDABC^FS", "^PQ1", "^XZ", "^MCY"}, "\r\n"));

    // A language number the component does not know keeps the chosen one.
    etq.SetModelo(etqEpl2);
    etq.SetPorta("USB:Acme");
    etq.Ativar();
    EXPECT_EQ(etq.Modelo(), etqEpl2);
    EXPECT_TRUE(etq.Ativo());
}
