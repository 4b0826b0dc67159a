#include <gtest/gtest.h>

#include "Captura.h"
#include "common/Excecoes.h"
#include "etq/CdbETQPpla.h"

namespace {
// A PPLA object as the component sets it up in this system.
struct Ppla : testing::Test {
    TCdbETQ etq;
    TCdbETQPpla l{&etq};
    Ppla() { l.Unidade = etqDecimoDeMilimetros; }
};
}  // namespace

TEST_F(Ppla, BlocoDeInicioComCadaAjuste) {
    struct Caso {
        std::function<void(TCdbETQPpla&)> ajustar;
        std::string esperado;
    };
    const std::string base = STX + "L\r\n" + STX + "V0\r\n" + STX + "m\r\n" + STX + "Q\r\nH10\r\nD11";
    const Caso casos[] = {
        {[](TCdbETQPpla&) {}, base},
        {[](TCdbETQPpla& l) { l.Temperatura = 0; }, STX + "L\r\n" + STX + "V0\r\n" + STX + "m\r\n" + STX + "Q\r\nD11"},
        {[](TCdbETQPpla& l) { l.Temperatura = 5; },
         STX + "L\r\n" + STX + "V0\r\n" + STX + "m\r\n" + STX + "Q\r\nH05\r\nD11"},
        {[](TCdbETQPpla& l) {
             l.Guilhotina = true;
             l.LimparMemoria = false;
         },
         STX + "L\r\n" + STX + "V1\r\n" + STX + "m\r\nH10\r\nD11"},
        {[](TCdbETQPpla& l) { l.Unidade = etqPolegadas; },
         STX + "L\r\n" + STX + "V0\r\n" + STX + "n\r\n" + STX + "Q\r\nH10\r\nD11"},
        {[](TCdbETQPpla& l) { l.Velocidade = 1; }, base + "\r\nPA"},
        {[](TCdbETQPpla& l) { l.Velocidade = 4; }, base + "\r\nPD"},
        {[](TCdbETQPpla& l) { l.Velocidade = 0; }, base},
        {[](TCdbETQPpla& l) { l.PaginaDeCodigo = pce437; }, base + "\r\n" + STX + "KI<0"},
        {[](TCdbETQPpla& l) { l.PaginaDeCodigo = pce1252; }, base + "\r\n" + STX + "KI<2"},
        // no back-feed, sensing, dimensions or origin in PPLA
        {[](TCdbETQPpla& l) {
             l.BackFeed = bfOn;
             l.Origem = ogBottom;
             l.DeteccaoEtiqueta = mdeBlackMark;
         },
         base},
    };
    int i = 0;
    for (const auto& k : casos) {
        TCdbETQPpla p(&etq);
        p.Unidade = etqDecimoDeMilimetros;
        k.ajustar(p);
        EXPECT_EQ(p.ComandoIniciarEtiqueta(), k.esperado) << "caso " << i++;
    }
}

TEST_F(Ppla, ForaDaFaixaNoBlocoDeInicio) {
    l.Temperatura = 21;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Temperatura deve ser de 0 a 20");
    l.Temperatura = -1;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Temperatura deve ser de 0 a 20");
    l.Temperatura = 10;
    l.Velocidade = 5;
    EXPECT_EQ(MensagemDe([&] { l.ComandoIniciarEtiqueta(); }), "Velocidade deve ser de 1 a 4 ");
}

TEST_F(Ppla, BlocoDeFimComAvancoSomado220) {
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(1, 0), "Q0001\r\nE\r\n" + STX + "f220");
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(0, 779), "Q0001\r\nE\r\n" + STX + "f999");
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(9999, 5), "Q9999\r\nE\r\n" + STX + "f225");
    l.Avanco = 50;  // never consulted by PPLA
    EXPECT_EQ(l.ComandoFinalizarEtiqueta(1, 0), "Q0001\r\nE\r\n" + STX + "f220");
    EXPECT_EQ(MensagemDe([&] { l.ComandoFinalizarEtiqueta(1, 780); }), "Avanço de Etiquetas deve ser de 0 a 779");
    EXPECT_EQ(MensagemDe([&] { l.ComandoFinalizarEtiqueta(1, -1); }), "Avanço de Etiquetas deve ser de 0 a 779");
    EXPECT_EQ(MensagemDe([&] { l.ComandoFinalizarEtiqueta(10000, 0); }), "NumCopias deve ser de 1 a 9999");
}

TEST(PplaComponente, AvancoForaDaFaixaEsvaziaALista) {
    TEtqCapturado c(etqPpla);
    c.etq.IniciarEtiqueta();
    c.etq.Imprimir(1, 779);
    EXPECT_NE(c.Ultimo().find(STX + "f999\r"), std::string::npos);
    c.etq.IniciarEtiqueta();
    EXPECT_EQ(MensagemDe([&] { c.etq.Imprimir(1, 780); }), "Avanço de Etiquetas deve ser de 0 a 779");
    EXPECT_EQ(c.etq.ListaCmd().Count(), 0);
    EXPECT_EQ(c.enviados.size(), 1u);
}

TEST_F(Ppla, RegistroDeTexto) {
    struct Caso {
        TCdbETQOrientacao o;
        std::string fonte;
        int mh, mv, v, h;
        int subFonte;
        std::string esperado;
    };
    const Caso casos[] = {
        {orNormal, "3", 1, 2, 180, 45, 0, "131200001800045ABC"},
        {or270, "9", 1, 1, 0, 0, 12,
         "2911012"
         "00000000ABC"},  // sub-font only with font 9
        {or180, "2", 1, 1, 0, 0, 12,
         "3211000"
         "00000000ABC"},
        {or90, "", 10, 24, 9999, 9999, 0,
         "40AO000"
         "99999999ABC"},  // empty font is 0
        {orNormal, "27", 0, 9, 1, 2, 0,
         "1209000"
         "00010002ABC"},  // first character only
    };
    for (const auto& k : casos)
        EXPECT_EQ(l.ComandoImprimirTexto(k.o, k.fonte, k.mh, k.mv, k.v, k.h, "ABC", k.subFonte, false), k.esperado);
}

TEST_F(Ppla, TextoForaDaFaixa) {
    struct Caso {
        std::string fonte;
        int mh, mv, v, h, subFonte;
        std::string texto;
        const char* mensagem;
    };
    const Caso casos[] = {
        {"A", 1, 1, 0, 0, 0, "x", "Fonte deve ser de 0 a 9"},
        {"2", 25, 1, 0, 0, 0, "x", "Informe um valor entre 0 e 24"},
        {"2", 1, -1, 0, 0, 0, "x", "Informe um valor entre 0 e 24"},
        {"2", 1, 1, 0, 0, 1000, "x", "Subfonte deve ser de 0 a 999"},  // whatever the font
        {"2", 1, 1, 10000, 0, 0, "x", "Vertical deve ser de 0 a 9999"},
        {"2", 1, 1, 0, -1, 0, "x", "Horizontal deve ser de 0 a 9999"},
        {"2", 1, 1, 0, 0, 0, std::string(256, 'x'), "Tamanho máximo para o texto 255 caracteres"},
    };
    for (const auto& k : casos)
        EXPECT_EQ(MensagemDe([&] {
                      l.ComandoImprimirTexto(orNormal, k.fonte, k.mh, k.mv, k.v, k.h, k.texto, k.subFonte, false);
                  }),
                  k.mensagem);
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, std::string(255, 'x'), 0, false).size(), 15u + 255u);
}

TEST_F(Ppla, LinhaDeModoSoQuandoOReversoMuda) {
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "A", 0, true), "A5\r\n121100000000000A");
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "B", 0, true), "121100000000000B");
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "C", 0, false), "A1\r\n121100000000000C");
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "D", 0, false), "121100000000000D");
}

TEST_F(Ppla, TextoRecusadoNaoEngoleALinhaDeModo) {
    EXPECT_THROW(l.ComandoImprimirTexto(orNormal, "2", 25, 1, 0, 0, "A", 0, true), Exception);
    EXPECT_FALSE(l.ModoReversoAtual());
    EXPECT_EQ(l.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "A", 0, true), "A5\r\n121100000000000A");
}

TEST(PplaComponente, ModoReversoSobreviveAoImprimir) {
    TEtqCapturado c(etqPpla);
    c.etq.ImprimirTexto(orNormal, 2, 1, 1, 0, 0, "A", 0, true);
    c.etq.Imprimir(1, 0);
    c.etq.ImprimirTexto(orNormal, 2, 1, 1, 0, 0, "B", 0, true);
    c.etq.ImprimirTexto(orNormal, 2, 1, 1, 0, 0, "C", 0, false);
    c.etq.Imprimir(1, 0);
    ASSERT_EQ(c.enviados.size(), 2u);
    EXPECT_NE(c.enviados[0].find("A5\r121100000000000A\r"), std::string::npos);
    EXPECT_NE(c.enviados[1].find("D11\r121100000000000B\rA1\r121100000000000C\r"), std::string::npos);
}

TEST_F(Ppla, RegistroDeBarras) {
    struct Caso {
        std::string tipo;
        int larga, fina, v, h, altura;
        TCdbETQBarraExibeCodigo exibe;
        std::string esperado;
    };
    const Caso casos[] = {
        {"F", 2, 2, 5, 100, 90, becSIM, "1F2209000050100"},
        {"f", 2, 2, 5, 100, 90, becSIM, "1F2209000050100"},
        {"F", 2, 2, 5, 100, 90, becNAO, "1f2209000050100"},
        {"e", 3, 1, 0, 0, 999, becPadrao,
         "1E319990000"
         "0000"},
        {"", 24, 0, 0, 0, 0, becPadrao,
         "1AO00000000"
         "0000"},
        {"", 1, 1, 0, 0, 0, becNAO,
         "1a1100000000"
         "000"},
        {"Tx", 1, 1, 0, 0, 0, becSIM,
         "1T1100000000"
         "000"},
    };
    for (const auto& k : casos)
        EXPECT_EQ(l.ComandoImprimirBarras(orNormal, k.tipo, k.larga, k.fina, k.v, k.h, "789", k.altura, k.exibe),
                  k.esperado + "789")
            << k.tipo;
}

TEST_F(Ppla, BarrasForaDaFaixaEDadosLongosCortados) {
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, "U", 2, 2, 0, 0, "1", 10, becSIM); }),
              "Tipo Cod.Barras deve ser de \"A\" a \"T\"");
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, "1", 2, 2, 0, 0, "1", 10, becNAO); }),
              "Tipo Cod.Barras deve ser de \"A\" a \"T\"");
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, "F", 2, 2, 0, 0, "1", 1000, becSIM); }),
              "Altura Barras deve ser de 0 a 999");
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirBarras(orNormal, "F", 25, 2, 0, 0, "1", 10, becSIM); }),
              "Informe um valor entre 0 e 24");
    const std::string r = l.ComandoImprimirBarras(orNormal, "E", 2, 2, 0, 0, std::string(300, '7'), 10, becSIM);
    EXPECT_EQ(r, "1E2201000000000" + std::string(255, '7'));
}

TEST_F(Ppla, LinhaECaixa) {
    EXPECT_EQ(l.ComandoImprimirLinha(228, 70, 370, 3), "1X1100002280070L370003");
    EXPECT_EQ(l.ComandoImprimirCaixa(30, 490, 280, 130, 6, 6, 0), "1X1100000300490B280130006006");
    EXPECT_EQ(l.ComandoImprimirCaixa(30, 490, 280, 130, 1, 2, 5), "1X1100000300490B280130002001");

    struct Caso {
        int v, largura, altura, espV, espH;
        const char* mensagem;
    };
    const Caso casos[] = {
        {10000, 1000, 0, 0, 0, "Vertical deve ser de 0 a 9999"},  // position first
        {0, 1000, 1000, 0, 0, "Largura deve ser de 0 a 999"},
        {0, 0, -1, 0, 0, "Altura deve ser de 0 a 999"},
        {0, 0, 0, 1000, 1000, "Espessura Horizontal deve ser de 0 a 999"},
        {0, 0, 0, 1000, 0, "Espessura Vertical deve ser de 0 a 999"},
    };
    for (const auto& k : casos)
        EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirCaixa(k.v, 0, k.largura, k.altura, k.espV, k.espH, 0); }),
                  k.mensagem);
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirLinha(0, 0, 0, 1000); }), "Altura deve ser de 0 a 999");
}

TEST_F(Ppla, PosicoesEmCadaUnidade) {
    struct Caso {
        TCdbETQUnidade unidade;
        int valor;
        const char* linha;
    };
    const Caso casos[] = {
        {etqDecimoDeMilimetros, 18, "0018"},
        {etqMilimetros, 18, "0180"},
        {etqPolegadas, 1, "0100"},
        {etqDots, 80, "0100"},  // 10 mm at 203 dpi
    };
    for (const auto& k : casos) {
        l.Unidade = k.unidade;
        EXPECT_EQ(l.ComandoImprimirLinha(k.valor, 0, 1, 1), std::string("1X11000") + k.linha + "0000L001001")
            << NomeEnum(k.unidade);
    }
    l.Unidade = etqMilimetros;
    EXPECT_EQ(MensagemDe([&] { l.ComandoImprimirLinha(1000, 0, 1, 1); }), "Vertical deve ser de 0 a 9999");
    // Line sizes go as they are, in any unit.
    EXPECT_EQ(l.ComandoImprimirLinha(0, 0, 370, 3), "1X1100000000000L370003");
}

TEST_F(Ppla, QuebrasDeLinhaViramCR) {
    EXPECT_EQ(l.AjustarQuebrasDeLinha("A\r\nB\rC\nD\r\n"), "A\rB\rC\rD\r");
    EXPECT_EQ(l.AjustarQuebrasDeLinha("  "), "  ");
}
