#include <gtest/gtest.h>

#include <functional>

#include "Captura.h"
#include "common/Excecoes.h"
#include "etq/CdbETQEscLabel.h"
#include "etq/CdbETQZplII.h"

namespace {
struct Zpl : testing::Test {
    TCdbETQ etq;
    TCdbETQZplII l{&etq};
};
}  // namespace

TEST_F(Zpl, BlocoDeInicioComCadaAjuste) {
    struct Caso {
        std::function<void(TCdbETQZplII&)> ajustar;
        std::string esperado;
    };
    const Caso casos[] = {
        {[](TCdbETQZplII&) {}, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON"},
        {[](TCdbETQZplII& l) { l.Temperatura = 0; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD00\r\n^PON"},
        {[](TCdbETQZplII& l) {
             l.BackFeed = bfOn;
             l.Guilhotina = true;
             l.LimparMemoria = false;
         },
         "~JSA\r\n^XA\r\n^MMC\r\n~SD10\r\n^PON"},
        {[](TCdbETQZplII& l) {
             l.BackFeed = bfOff;
             l.Origem = ogBottom;
         },
         "~JSO\r\n^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^POI"},
        {[](TCdbETQZplII& l) { l.Origem = ogTop; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON"},
        {[](TCdbETQZplII& l) { l.Velocidade = 1; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON\r\n^PR2"},
        {[](TCdbETQZplII& l) { l.Velocidade = 12; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON\r\n^PR12"},
        {[](TCdbETQZplII& l) { l.Velocidade = 0; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON"},
        {[](TCdbETQZplII& l) { l.PaginaDeCodigo = pce850; }, "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON\r\n^CI13"},
    };
    int i = 0;
    for (const auto& k : casos) {
        TCdbETQZplII z(&etq);
        k.ajustar(z);
        EXPECT_EQ(z.ComandoIniciarEtiqueta(), k.esperado) << "caso " << i++;
    }
}

TEST_F(Zpl, PaginasDeCodigo) {
    const std::pair<TCdbETQPaginaCodigo, const char*> casos[] = {
        {pce437, "0"}, {pce850, "13"}, {pce852, "13"}, {pce860, "13"}, {pce1250, "27"}, {pce1252, "27"}, {pceNone, ""}};
    for (auto [p, n] : casos) EXPECT_EQ(l.NumeroPaginaDeCodigo(p), n) << NomeEnum(p);
}

TEST_F(Zpl, ForaDaFaixaNoBlocoDeInicio) {
    l.Temperatura = 31;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Temperatura deve ser de 0 a 30");
    l.Temperatura = 10;
    l.Velocidade = 13;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Velocidade deve ser de 2 a 12 ");
}

TEST_F(Zpl, BlocoDeFim) {
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(1, 0), "^PQ1\r\n^XZ");
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(999, 5), "^PQ999\r\n^XZ\r\n^PH");
    l.Avanco = 3;
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(0, 0), "^PQ1\r\n^XZ\r\n^PH");
}

TEST(ZplComponente, AvancoNoFimMandaAlimentar) {
    TEtqCapturado c(etqZPLII);
    c.etq.IniciarEtiqueta();
    c.etq.FinalizarEtiqueta(1, 5);
    c.etq.Imprimir(1, 0);
    EXPECT_EQ(c.Ultimo(), Linhas({"^XA", "^MMT", "^MCY", "~SD10", "^PON", "^PQ1", "^XZ", "^PH", "^MCY"}, "\r\n"));
}

TEST_F(Zpl, Texto) {
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "3", 1, 2, 180, 45, "ABC", 0, false), "^FO36,144^A3N,2,1^FDABC^FS");
    EXPECT_EQ(l.ComandoImprimirTexto(or270, "", 0, -5, 0, 0, "x", 7, true), "^FO0,0^AAB,1,1^FR^FDx^FS");
    EXPECT_EQ(l.ComandoImprimirTexto(or180, "Zq", 32000, 32000, 0, 0, "x", 0, false), "^FO0,0^AZI,32000,32000^FDx^FS");
    EXPECT_EQ(l.ComandoImprimirTexto(or90, "0", 1, 1, 0, 0, "", 0, false), "^FO0,0^A0R,1,1^FD^FS");
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "0", 1, 1, 0, 0, std::string(255, 'x'), 0, false).size(), 20u + 255u);
}

TEST_F(Zpl, TextoForaDaFaixa) {
    struct Caso {
        std::string fonte;
        int mh, mv, v, h;
        std::string texto;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"A", 1, 1, 0, 0, std::string(256, 'x'), "Tamanho máximo para o texto 255 caracteres"},
        {"A", 1, 1, -1, 0, "x", "Vertical deve estar entre 0 e 32000"},
        {"A", 1, 1, 32001, 0, "x", "Vertical deve estar entre 0 e 32000"},
        {"A", 1, 1, 0, 32001, "x", "Horizontal deve estar entre 0 e 32000"},
        {"A", 1, 32001, 0, 0, "x", "Multiplicador Vertical deve estar entre 10 e 32000"},
        {"A", 32001, 1, 0, 0, "x", "Multiplicador Horizontal deve estar entre 10 e 32000"},
        {"a", 1, 1, 0, 0, "x", "Fonte deve \"0\" a \"9\" e \"A\" a \"Z\""},
    };
    for (const auto& k : casos)
        EXPECT_EQ(
            MensagemDe([&] { l.ComandoImprimirTexto(orNormal, k.fonte, k.mh, k.mv, k.v, k.h, k.texto, 0, false); }),
            k.mensagem);
}

TEST_F(Zpl, DadosComCaracteresEspeciaisVaoEmHexadecimal) {
    struct Caso {
        std::string texto;
        std::string esperado;
    };
    const Caso casos[] = {
        {"50% ^off~", "^FH\\^FD50% \\5Eoff\\7E^FS"},
        {"a\\b", "^FH\\^FDa\\5Cb^FS"},
        {"Ok 123", "^FDOk 123^FS"},
        {"\x01\x7F\xC8", "^FH\\^FD\\01\x7F\\C8^FS"},  // 127 itself passes
    };
    for (const auto& k : casos) {
        std::string r;
        TCdbETQZplII::AnexarDados(r, k.texto);
        EXPECT_EQ(r, k.esperado);
    }
}

TEST_F(Zpl, Barras) {
    EXPECT_EQ(l.ComandoImprimirBarras(orNormal, "E", 2, 2, 5, 100, "7891234567895", 90, becSIM),
              "^FO80,4^BY2,,90^BEN,72,Y,N^FD7891234567895^FS");
    EXPECT_EQ(l.ComandoImprimirBarras(or90, "BC", 9, 3, 0, 0, "A^1", 10, becPadrao),
              "^FO0,0^BY3,,10^BBCR,8,N,N^FH\\^FDA\\5E1^FS");
    EXPECT_EQ(l.ComandoImprimirBarras(orNormal, "1", 2, 2, 0, 0, "1", 10, becNAO), "^FO0,0^BY2,,10^B1N,8,N,N^FD1^FS");
    for (const char* tipo : {"e", "", "#"})
        EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, tipo, 2, 2, 0, 0, "1", 10, becSIM); }),
                  "Tipo Cod.Barras deve estar \"0\" a \"9\" ou \"A\" a \"Z\"")
            << "'" << tipo << "'";
    // The position is checked before the type.
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, "e", 2, 2, -1, 0, "1", 10, becSIM); }),
              "Vertical deve estar entre 0 e 32000");
}

TEST_F(Zpl, LinhaECaixa) {
    EXPECT_EQ(l.ComandoImprimirLinha(30, 50, 400, 3), "^FO40,24^GB320,2,2,B,0^FS");
    EXPECT_EQ(l.ComandoImprimirCaixa(30, 50, 400, 200, 3, 5, 2), "^FO40,24^GB320,160,4,B,2^FS^FS");
    EXPECT_EQ(l.ComandoImprimirCaixa(0, 0, 400, 200, 0, 0, 12), "^FO0,0^GB320,160,1,B,8^FS^FS");
    EXPECT_EQ(l.ComandoImprimirCaixa(0, 0, 400, 200, 1, 1, -3), "^FO0,0^GB320,160,1,B,0^FS^FS");
}

TEST_F(Zpl, QuebrasDeLinhaViramCRLF) { EXPECT_EQ(l.AjustarQuebrasDeLinha("A\r\nB\rC\nD"), "A\r\nB\r\nC\r\nD"); }

TEST_F(Zpl, CRC16DaImagem) {
    EXPECT_EQ(l.CalcularCRC16("123456789"), "31C3");
    EXPECT_EQ(l.CalcularCRC16(""), "0000");
}

namespace {
struct EscLabel : testing::Test {
    TCdbETQ etq;
    TCdbETQEscLabel l{&etq};
};
}  // namespace

TEST_F(EscLabel, BlocoDeInicioSemTemperaturaComAjustesDaImpressora) {
    EXPECT_EQ(l.ComandoIniciarEtiqueta(),
              "^XA\r\n^S(CLM,D,W\r\n^MMT\r\n^MCY\r\n^S(CLR,R,200\r\n^S(CLR,P,200\r\n^S(CLR,Z,200\r\n^PON");
    l.Temperatura = 99;  // no heat command, so no check either
    l.DeteccaoEtiqueta = mdeBlackMark;
    l.DPI = dpi300;
    l.Velocidade = 14;
    l.Dimensoes.P = 100;
    l.Dimensoes.G = 30;
    l.Dimensoes.L = 0;
    l.PaginaDeCodigo = pce1250;
    EXPECT_EQ(l.ComandoIniciarEtiqueta(),
              "^XA\r\n^S(CLM,D,M\r\n^MMT\r\n^S(CLS,P,118\r\n^S(CLS,G,35\r\n^MCY\r\n^S(CLR,R,300\r\n^S(CLR,P,300\r\n"
              "^S(CLR,Z,300\r\n^PON\r\n^S(CMP,S,14\r\n^CI31");
    l.DeteccaoEtiqueta = mdeNone;
    EXPECT_EQ(l.ComandoDeteccaoEtiqueta(), "^S(CLM,D,N");
    l.PaginaDeCodigo = pce850;
    EXPECT_EQ(l.ComandoPaginaDeCodigo(), "^CI13");
    l.Velocidade = 15;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Velocidade deve ser de 1 a 14");
}

TEST_F(EscLabel, CorEmCadaCampo) {
    const std::string cor = "^F(C0,0,0,255,D,255,255,255,0,D";
    EXPECT_EQ(l.ComandoImprimirBarras(orNormal, "E", 2, 2, 5, 100, "789", 90, becSIM),
              "^FO80,4" + cor + "^BY2,,90^BEN,72,Y,N^FD789^FS");
    EXPECT_EQ(l.ComandoImprimirLinha(30, 50, 400, 3), "^FO40,24" + cor + "^GB320,2,2,B,0^FS");
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "3", 1, 2, 180, 45, "ABC", 0, false),
              "^FO36,144^A3N,2,1" + cor + "^FDABC^FS");
    l.CorFrente.Definir(0x336699, 128);
    EXPECT_EQ(l.ComandoCores(), "^F(C153,102,51,128,D,255,255,255,0,D");
    EXPECT_EQ(l.ComandoCopias(99999999), "^PQ99999999");
}
