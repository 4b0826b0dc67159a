#include <gtest/gtest.h>

#include <functional>

#include "Captura.h"
#include "common/Excecoes.h"
#include "etq/CdbETQEpl2.h"

namespace {
struct Epl2 : testing::Test {
    TCdbETQ etq;
    TCdbETQEpl2 l{&etq};
    Epl2() { l.Unidade = etqDecimoDeMilimetros; }
};
}  // namespace

TEST_F(Epl2, BlocoDeInicioComCadaAjuste) {
    struct Caso {
        std::function<void(TCdbETQEpl2&)> ajustar;
        std::string esperado;
    };
    const Caso casos[] = {
        {[](TCdbETQEpl2&) {}, "R0,0\r\nO\r\nN\r\nD10\r\nZB"},
        {[](TCdbETQEpl2& l) {
             l.Temperatura = 0;
             l.Velocidade = 0;
         },
         "R0,0\r\nO\r\nN\r\nD0\r\nZB\r\nS0"},
        {[](TCdbETQEpl2& l) {
             l.BackFeed = bfOn;
             l.Guilhotina = true;
             l.LimparMemoria = false;
             l.Origem = ogTop;
         },
         "JF\r\nR0,0\r\nOC\r\nD10\r\nZT"},
        {[](TCdbETQEpl2& l) {
             l.BackFeed = bfOff;
             l.Origem = ogBottom;
             l.Velocidade = 6;
         },
         "JB\r\nR0,0\r\nO\r\nN\r\nD10\r\nZB\r\nS6"},
        {[](TCdbETQEpl2& l) { l.PaginaDeCodigo = pce1250; }, "R0,0\r\nO\r\nN\r\nD10\r\nZB\r\nI8,B,001"},
    };
    int i = 0;
    for (const auto& k : casos) {
        TCdbETQEpl2 e(&etq);
        k.ajustar(e);
        EXPECT_EQ(e.ComandoIniciarEtiqueta(), k.esperado) << "caso " << i++;
    }
    const std::pair<TCdbETQPaginaCodigo, const char*> paginas[] = {{pce437, "I8,0,001"},  {pce850, "I8,1,001"},
                                                                   {pce852, "I8,2,001"},  {pce860, "I8,3,001"},
                                                                   {pce1250, "I8,B,001"}, {pce1252, "I8,A,001"}};
    for (auto [p, c] : paginas) {
        l.PaginaDeCodigo = p;
        EXPECT_EQ(l.ComandoPaginaDeCodigo(), c);
    }
}

TEST_F(Epl2, ForaDaFaixaNoBlocoDeInicio) {
    l.Temperatura = 16;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Temperatura deve ser de 0 a 15");
    l.Temperatura = 10;
    l.Velocidade = 7;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Velocidade deve ser de 0 a 6");
}

TEST_F(Epl2, BlocoDeFimSoComAsCopias) {
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(0, 50), "P1");
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(65535, 0), "P65535");
    EXPECT_EQ(MensagemDe([&] { l.ComandoFinalizarEtiqueta(65536, 0); }), "NumCopias deve ser de 1 a 65535");
}

TEST_F(Epl2, Texto) {
    struct Caso {
        TCdbETQOrientacao o;
        std::string fonte;
        int mh, mv;
        std::string texto;
        bool reverso;
        std::string esperado;
    };
    const Caso casos[] = {
        {orNormal, "3", 1, 2, "ABC", false, "A36,144,0,3,1,2,N,\"ABC\""},
        {or270, "0", 24, 1, "x", true, "A36,144,3,3,24,1,R,\"x\""},              // font 0 is sent as 3
        {or180, "", 1, 1, "x", false, "A36,144,2,3,1,1,N,\"x\""},                // empty font is 3
        {or90, "5", 1, 1, "Preco ok", false, "A36,144,1,5,1,1,N,\"PRECO OK\""},  // capitals only
        {orNormal, "2", 1, 1, "A\"B", false, "A36,144,0,2,1,1,N,\"A\\\"B\""},
        {orNormal, "2", 1, 1, "a\\b", false, "A36,144,0,2,1,1,N,\"a\\\\b\""},
        {orNormal, "2", 1, 1, "\"pronto\"", false, "A36,144,0,2,1,1,N,\"pronto\""},  // already quoted
    };
    for (const auto& k : casos)
        EXPECT_EQ(l.ComandoImprimirTexto(k.o, k.fonte, k.mh, k.mv, 180, 45, k.texto, 0, k.reverso), k.esperado);
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirTexto(orNormal, "6", 1, 1, 0, 0, "x", 0, false); }),
              "Fonte deve ser de \"0\" a \"5\"");
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirTexto(orNormal, "1", 0, 25, 0, 0, "x", 0, false); }),
              "Multiplicador deve ser de 1 a 24");
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirTexto(orNormal, "1", 1, 25, 0, 0, "x", 0, false); }),
              "Multiplicador deve ser de 1 a 24");
    // No length limit in EPL2.
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "1", 1, 1, 0, 0, std::string(300, 'x'), 0, false).size(), 17u + 300u);
}

TEST_F(Epl2, Barras) {
    EXPECT_EQ(l.ComandoImprimirBarras(orNormal, "E30", 3, 2, 5, 100, "7891234567895", 90, becSIM),
              "B80,4,0,E30,2,3,72,B,\"7891234567895\"");
    EXPECT_EQ(l.ComandoImprimirBarras(or90, "1", 30, 10, 0, 0, "12", 10, becPadrao), "B0,0,1,1,10,30,8,N,\"12\"");
    EXPECT_EQ(l.ComandoImprimirBarras(orNormal, "2G", 4, 3, 0, 0, "1", 10, becNAO), "B0,0,0,2G,3,4,8,N,\"1\"");

    struct Caso {
        std::string tipo;
        int larga, fina;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"E30", 2, 1, "Barra Fina para o Cod.Barras E30 deve ser de 2 a 4"},
        {"UA0", 5, 5, "Barra Fina para o Cod.Barras UA0 deve ser de 2 a 4"},
        {"2G", 2, 2, "Barra Fina para o Cod.Barras 2G deve ser de 3 a 4"},
        {"1", 20, 11, "Barra Fina para o Cod.Barras 1 deve ser de 1 a 10"},
        {"1", 31, 2, "Barra Larga deve ser de 2 a 30"},
        {"1", 1, 1, "Barra Larga deve ser de 2 a 30"},
        {"1", 2, 3, "Barra Fina deve ser inferior ou Igual a Barra Larga"},
    };
    for (const auto& k : casos)
        EXPECT_EQ(
            MensagemDe([&] { l.ComandoImprimirBarras(orNormal, k.tipo, k.larga, k.fina, 0, 0, "1", 10, becSIM); }),
            k.mensagem)
            << k.tipo;
}

TEST_F(Epl2, LinhaECaixa) {
    EXPECT_EQ(l.ComandoImprimirLinha(30, 50, 400, 3), "LO40,24,320,2");
    EXPECT_EQ(l.ComandoImprimirCaixa(30, 50, 400, 200, 3, 5, 0), "X40,24,4,360,184");
    EXPECT_EQ(l.ComandoImprimirCaixa(0, 0, 10, 10, 0, 0, 9), "X0,0,1,8,8");
}

TEST_F(Epl2, QuebrasDeLinhaViramLF) { EXPECT_EQ(l.AjustarQuebrasDeLinha("A\r\nB\rC"), "A\nB\nC"); }

TEST(Epl2Componente, PplbMandaOMesmoFluxoQueEpl2) {
    std::string fluxos[2];
    std::vector<std::string> log;
    const TCdbETQModelo modelos[] = {etqEpl2, etqPplb};
    for (int i = 0; i < 2; ++i) {
        TEtqCapturado c(modelos[i]);
        c.etq.OnGravarLog = [&](const std::string& l, bool&) { log.push_back(l); };
        c.etq.IniciarEtiqueta();
        c.etq.ImprimirTexto(orNormal, 2, 1, 1, 30, 30, "ABC");
        c.etq.ImprimirBarras(orNormal, "E30", "2", "2", 70, 30, "7893156253569", 80, becSIM);
        c.etq.ImprimirCaixa(30, 50, 400, 200, 3, 5, 0);
        c.etq.Imprimir(2, 0);
        fluxos[i] = c.Ultimo();
    }
    EXPECT_EQ(fluxos[0], fluxos[1]);
    EXPECT_EQ(fluxos[1], Linhas({"R0,0", "O", "N", "D10", "ZB", "A24,24,0,2,1,1,N,\"ABC\"",
                                 "B24,56,0,E30,2,2,64,B,\"7893156253569\"", "X40,24,4,360,184", "P2", "N"},
                                "\n"));
    int banners = 0;
    for (const auto& l : log)
        if (l.find("ATIVAR - ") != std::string::npos) {
            ++banners;
            EXPECT_NE(l.find(" - Modelo: EPL2 - "), std::string::npos) << l;
        }
    EXPECT_EQ(banners, 2);
}
