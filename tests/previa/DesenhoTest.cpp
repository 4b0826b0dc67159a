// The drawing of driver streams: barcodes that decode to what was sent,
// every element inside the label, each language's origin, reverse printing,
// rotation and copies; damaged streams draw what they can.
#include <gtest/gtest.h>

#include <QPainter>
#include <cstdint>

#include "Apoio.h"

using namespace previa;

namespace {

struct CasoBarras {
    TCdbETQModelo modelo;
    const char* ean13;
    const char* code128;
};

class DesenhoDoDriver : public ::testing::TestWithParam<CasoBarras> {};

TEST_P(DesenhoDoDriver, BarrasDecodificamParaOEnviadoETudoFicaDentroDaEtiqueta) {
    if (!TemPrograma("zbarimg")) GTEST_SKIP() << "zbarimg (pacote zbar-tools) não instalado";
    const auto caso = GetParam();
    const std::string fluxo = FluxoDoDriver(caso.modelo, [&](TCdbETQ& e) {
        e.ImprimirTexto(orNormal, 3, 1, 1, 20, 50, "R$ 12,90");
        e.ImprimirBarras(orNormal, caso.ean13, "2", "2", 120, 100, "7891234567895", 100, becSIM);
        e.ImprimirBarras(orNormal, caso.code128, "2", "2", 320, 100, "REF-0042", 80, becSIM);
        e.ImprimirCaixa(5, 5, 700, 500, 3, 3);
    });
    const Previa p = Visualizar(fluxo, LinguagemDoModelo(caso.modelo), 203);
    ASSERT_EQ(p.imagens.size(), 1u);
    const QImage& img = p.imagens[0];

    EXPECT_EQ(Decodificar(img), (std::vector<std::string>{"7891234567895", "REF-0042"}));

    Geometria g;
    Desenhar(p.leitura.etiquetas[0], 203, {}, &g);
    ASSERT_EQ(g.posicoes.size(), 4u);
    for (const auto& pos : g.posicoes) {
        EXPECT_TRUE(img.rect().contains(pos.caixa)) << pos.comando;
        EXPECT_GT(PontosPretos(img, pos.caixa), 0) << pos.comando;
    }
}

INSTANTIATE_TEST_SUITE_P(Linguagens, DesenhoDoDriver,
                         ::testing::Values(CasoBarras{etqPpla, "F", "E"}, CasoBarras{etqEpl2, "E30", "1"},
                                           CasoBarras{etqZPLII, "E", "C"}),
                         [](const auto& i) { return std::string(NomeEnum(i.param.modelo)); });

// PPLA counts rows up, and the printer starts the format at the label's top
// edge with its highest field; EPL2 and ZPL count down from the top.
TEST(Origem, PplaSobeEPendeDoTopoPeloCampoMaisAltoAsOutrasDescemDoTopo) {
    for (TCdbETQModelo modelo : {etqPpla, etqEpl2, etqZPLII}) {
        const std::string fluxo = FluxoDoDriver(modelo, [](TCdbETQ& e) {
            e.ImprimirTexto(orNormal, 2, 1, 1, 175, 15, "NOME");
            e.ImprimirTexto(orNormal, 2, 1, 1, 3, 15, "PRECO");
        });
        const Leitura l = Ler(fluxo, LinguagemDoModelo(modelo));
        ASSERT_EQ(l.etiquetas.size(), 1u);
        const Geometria g = Medir(l.etiquetas[0], 203, {400, 200, 8});
        ASSERT_EQ(g.posicoes.size(), 2u);
        const int nome = g.posicoes[0].caixa.top(), preco = g.posicoes[1].caixa.top();
        if (modelo == etqPpla) {
            EXPECT_EQ(nome, 0);
            // 17.5 mm and 0.3 mm apart: 140 and 2 dots.
            EXPECT_EQ(g.posicoes[1].caixa.bottom() - g.posicoes[0].caixa.bottom(), 140 - 2);
        } else {
            EXPECT_GT(nome, preco);
            EXPECT_EQ(preco, 2);
        }
    }
}

TEST(Desenho, ReversoPintaOFundoDaCelulaEDeixaALetraBranca) {
    const std::string fluxo = FluxoDoDriver(etqPpla, [](TCdbETQ& e) {
        e.ImprimirTexto(orNormal, 4, 1, 1, 50, 50, "MMMM", 0, true);
        e.ImprimirTexto(orNormal, 4, 1, 1, 150, 50, "MMMM", 0, false);
    });
    const Previa p = Visualizar(fluxo, Linguagem::Ppla, 203);
    ASSERT_EQ(p.imagens.size(), 1u);
    Geometria g;
    Desenhar(p.leitura.etiquetas[0], 203, {}, &g);
    const QRect reverso = g.posicoes[0].caixa, normal = g.posicoes[1].caixa;
    ASSERT_EQ(reverso.size(), normal.size());
    const int area = reverso.width() * reverso.height();
    const int pretosReverso = PontosPretos(p.imagens[0], reverso), pretosNormal = PontosPretos(p.imagens[0], normal);
    EXPECT_GT(pretosNormal, 0);
    EXPECT_EQ(pretosReverso + pretosNormal, area);  // the one is the other's negative
}

TEST(Desenho, ZplReversoInverteOQueEstaPorBaixo) {
    const Previa p =
        Visualizar("^XA^FO10,10^GB100,40,40^FS^FO0,0^GB60,60,60^FR^FS^XZ", Linguagem::Zpl, 203, {200, 100, 0});
    ASSERT_EQ(p.imagens.size(), 1u);
    const QImage& img = p.imagens[0];
    EXPECT_EQ(PontosPretos(img, QRect(10, 10, 50, 40)), 0);        // black under black turns white
    EXPECT_EQ(PontosPretos(img, QRect(0, 0, 60, 10)), 600);        // black over white stays black
    EXPECT_EQ(PontosPretos(img, QRect(60, 10, 50, 40)), 50 * 40);  // the box beyond the reversed field
}

TEST(Desenho, RotacaoGiraACaixaDoTexto) {
    for (TCdbETQModelo modelo : {etqPpla, etqEpl2, etqZPLII}) {
        const std::string fluxo = FluxoDoDriver(modelo, [](TCdbETQ& e) {
            e.ImprimirTexto(orNormal, 2, 1, 1, 300, 300, "GIRADO");
            e.ImprimirTexto(or90, 2, 1, 1, 300, 300, "GIRADO");
            e.ImprimirTexto(or180, 2, 1, 1, 300, 300, "GIRADO");
        });
        const Leitura l = Ler(fluxo, LinguagemDoModelo(modelo));
        const Geometria g = Medir(l.etiquetas[0], 203);
        ASSERT_EQ(g.posicoes.size(), 3u);
        const QRect normal = g.posicoes[0].caixa, noventa = g.posicoes[1].caixa, meiaVolta = g.posicoes[2].caixa;
        EXPECT_GT(normal.width(), normal.height()) << NomeEnum(modelo);
        EXPECT_EQ(noventa.width(), normal.height()) << NomeEnum(modelo);
        EXPECT_EQ(noventa.height(), normal.width()) << NomeEnum(modelo);
        EXPECT_EQ(meiaVolta.size(), normal.size()) << NomeEnum(modelo);
    }
}

TEST(Desenho, CopiasRepetemAImagem) {
    TEtqCapturado c(etqZPLII);
    c.etq.Ativar();
    c.etq.IniciarEtiqueta();
    c.etq.ImprimirTexto(orNormal, "D", 18, 10, 10, 10, "A");
    c.etq.FinalizarEtiqueta(3, 0);
    c.etq.IniciarEtiqueta();
    c.etq.ImprimirTexto(orNormal, "D", 18, 10, 10, 10, "B");
    c.etq.Imprimir(1, 0);
    const Previa p = Visualizar(c.Ultimo(), Linguagem::Zpl, 203);
    ASSERT_EQ(p.imagens.size(), 4u);
    EXPECT_EQ(p.imagens[0], p.imagens[2]);
    EXPECT_NE(p.imagens[2], p.imagens[3]);

    const Previa limitada = Visualizar(c.Ultimo(), Linguagem::Zpl, 203, {}, 2);
    EXPECT_EQ(limitada.imagens.size(), 2u);
}

TEST(Desenho, TamanhoDoFluxoOuDadoValeSobreOAjuste) {
    const Previa doFluxo = Visualizar("^XA^PW400^LL240^FO10,10^GB20,20,20^FS^XZ", Linguagem::Zpl, 203);
    ASSERT_EQ(doFluxo.imagens.size(), 1u);
    EXPECT_EQ(doFluxo.imagens[0].size(), QSize(400, 240));
    const Previa dado = Visualizar("^XA^FO10,10^GB20,20,20^FS^XZ", Linguagem::Zpl, 203, {300, 100, 8});
    EXPECT_EQ(dado.imagens[0].size(), QSize(300, 100));
    const Previa ajustado = Visualizar("^XA^FO10,10^GB20,20,20^FS^XZ", Linguagem::Zpl, 203, {0, 0, 8});
    EXPECT_EQ(ajustado.imagens[0].size(), QSize(38, 38));
}

TEST(Desenho, CodigoInvalidoDeixaMolduraEAviso) {
    const Previa p = Visualizar("^XA^FO10,10^BY2^BEN,50,Y,N^FDABC^FS^XZ", Linguagem::Zpl, 203);
    ASSERT_EQ(p.imagens.size(), 1u);
    EXPECT_GT(PontosPretos(p.imagens[0], p.imagens[0].rect()), 0);
    ASSERT_FALSE(p.avisos.empty());
    EXPECT_NE(p.avisos.back().find("ABC"), std::string::npos);
}

// Bad streams of every kind: each is read and drawn without failing or
// hanging, and the image never outgrows the largest side.
TEST(FluxoRuim, LixoDeTodoTipoDesenhaSemFalhar) {
    std::vector<std::pair<Linguagem, std::string>> casos = {
        {Linguagem::Zpl, "^XA^FO32000,32000^A0R,32000,32000^FDxyz^FS^GB32000,32000,1^FS^PQ999999^XZ"},
        {Linguagem::Zpl, "^XA^FO0,0^BY10^BCN,32000,Y,Y^FD" + std::string(3000, 'A') + "^FS^XZ"},
        {Linguagem::Zpl, "^XA^FO5,5^BEN,50,Y,N^FD^FS^FO5,5^B3N,N,50^FD" + std::string(2, '\0') + "^FS^XZ"},
        {Linguagem::Ppla, "\x02L\r4999" + std::string(11, '9') + std::string(255, 'W') + "\rQ0000\rE\r"},
        {Linguagem::Ppla, "\x02L\r1X1100099999999L999999\r1X1100000000000B999999999999\rE\r"},
        {Linguagem::Epl2, "N\nA0,0,3,5,24,24,R,\"" + std::string(500, 'X') + "\"\nB0,0,1,E30,40,120,9999,B,\"\"\nP1\n"},
        {Linguagem::Epl2, "N\nLE0,0,32000,32000\nLW0,0,32000,32000\nP1\n"},
    };
    // A deterministic spray of command bytes in every language.
    uint32_t semente = 12345;
    const std::string alfabeto = "^~XAFODSGBYEC0123456789,\"\r\n\x02LQNPABX-";
    for (int i = 0; i < 60; ++i) {
        std::string s;
        for (int k = 0; k < 200; ++k) {
            semente = semente * 1103515245u + 12345u;
            s.push_back(alfabeto[(semente >> 16) % alfabeto.size()]);
        }
        casos.push_back({static_cast<Linguagem>(i % 3), s});
    }
    for (const auto& [linguagem, fluxo] : casos) {
        Previa p;
        ASSERT_NO_THROW(p = Visualizar(fluxo, linguagem, 203, {}, 20)) << fluxo.substr(0, 80);
        EXPECT_LE(p.imagens.size(), 20u);
        for (const auto& img : p.imagens) {
            EXPECT_LE(img.width(), kMaxLado);
            EXPECT_LE(img.height(), kMaxLado);
        }
    }
}

}  // namespace
