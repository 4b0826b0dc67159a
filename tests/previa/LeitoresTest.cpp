// The readers take back what the driver sends: every command it can emit in
// each language, positions in dots, fonts, barcodes, copies; anything else is
// skipped and counted.
#include <gtest/gtest.h>
#include <zint.h>

#include <cmath>

#include "FluxoDriver.h"
#include "previa/Fluxo.h"

using namespace previa;

namespace {

struct CasoLinguagem {
    TCdbETQModelo modelo;
    const char* ean13;                 // type code of a 13-digit EAN in the language
    const char* code128;               // and of Code 128
    int celulaFonte2L, celulaFonte2A;  // font "2" cell, dots
};

class LeituraDoDriver : public ::testing::TestWithParam<CasoLinguagem> {};

// Tenths of a millimetre to dots at 203 dpi, as the driver converts.
int Dots(int decimos) { return static_cast<int>(std::nearbyint(decimos / 10.0 * 203 / 25.4)); }

TEST_P(LeituraDoDriver, TodoElementoVoltaComPosicaoTamanhoEDados) {
    const auto caso = GetParam();
    const std::string fluxo = FluxoDoDriver(caso.modelo, [&](TCdbETQ& e) {
        e.ImprimirTexto(orNormal, 2, 1, 1, 100, 50, "PRECO");
        e.ImprimirBarras(orNormal, caso.ean13, "2", "2", 300, 100, "7891234567895", 100, becSIM);
        e.ImprimirBarras(orNormal, caso.code128, "2", "2", 500, 100, "ABC-123", 80, becNAO);
        e.ImprimirLinha(20, 20, 400, 3);
        e.ImprimirCaixa(10, 10, 600, 700, 3, 3);
    });
    const Leitura l = Ler(fluxo, LinguagemDoModelo(caso.modelo));

    EXPECT_EQ(l.ignorados, 0) << (l.avisos.empty() ? "" : l.avisos[0]);
    ASSERT_EQ(l.etiquetas.size(), 1u);
    const Etiqueta& etq = l.etiquetas[0];
    EXPECT_TRUE(etq.impressa);
    EXPECT_EQ(etq.copias, 1);
    ASSERT_EQ(etq.elementos.size(), 5u);

    const Elemento& texto = etq.elementos[0];
    EXPECT_EQ(texto.tipo, TipoElemento::Texto);
    EXPECT_EQ(texto.dados, "PRECO");
    EXPECT_EQ(texto.x, Dots(50));
    EXPECT_EQ(texto.y, Dots(100));
    if (caso.celulaFonte2L) {
        EXPECT_EQ(texto.celulaL, caso.celulaFonte2L);
        EXPECT_EQ(texto.celulaA, caso.celulaFonte2A);
    }

    const Elemento& ean = etq.elementos[1];
    EXPECT_EQ(ean.tipo, TipoElemento::Barras);
    EXPECT_EQ(ean.simbologia, BARCODE_EANX);
    EXPECT_EQ(ean.dados, "7891234567895");
    EXPECT_TRUE(ean.legivel);
    EXPECT_EQ(ean.barraFina, 2);
    EXPECT_EQ(ean.x, Dots(100));
    EXPECT_EQ(ean.y, Dots(300));
    EXPECT_EQ(ean.altura, Dots(100));

    const Elemento& c128 = etq.elementos[2];
    // ZPL's ^BC in its default mode stays in subset B.
    EXPECT_EQ(c128.simbologia, caso.modelo == etqZPLII ? BARCODE_CODE128B : BARCODE_CODE128);
    EXPECT_EQ(c128.dados, "ABC-123");
    EXPECT_FALSE(c128.legivel);
    EXPECT_EQ(c128.altura, Dots(80));

    const Elemento& linha = etq.elementos[3];
    EXPECT_EQ(linha.tipo, TipoElemento::Retangulo);
    EXPECT_EQ(linha.x, Dots(20));
    EXPECT_EQ(linha.largura, Dots(400));
    EXPECT_EQ(linha.alturaRet, Dots(3));

    const Elemento& caixa = etq.elementos[4];
    EXPECT_EQ(caixa.tipo, TipoElemento::Retangulo);
    EXPECT_EQ(caixa.largura, Dots(600));
    EXPECT_EQ(caixa.alturaRet, Dots(700));
    EXPECT_GE(caixa.espessuraH, 2);
    EXPECT_LE(caixa.espessuraH, 3);
}

INSTANTIATE_TEST_SUITE_P(Linguagens, LeituraDoDriver,
                         ::testing::Values(CasoLinguagem{etqPpla, "F", "E", 12, 18},
                                           CasoLinguagem{etqEpl2, "E30", "1", 12, 16},
                                           CasoLinguagem{etqPplb, "E30", "1", 12, 16},
                                           // ZPL: ^A2N,1,1 names no printer font; it falls back to A
                                           CasoLinguagem{etqZPLII, "E", "C", 6, 9}),
                         [](const auto& i) { return std::string(NomeEnum(i.param.modelo)); });

TEST(LeitorPpla, ReversoCopiasRotacaoEUnidades) {
    TEtqCapturado c(etqPpla);
    c.etq.Ativar();
    c.etq.IniciarEtiqueta();
    c.etq.ImprimirTexto(orNormal, 3, 2, 3, 175, 15, "NOME", 0, true);
    c.etq.ImprimirTexto(or90, 9, 1, 1, 3, 15, "R$ 1,00", 12, false);
    c.etq.FinalizarEtiqueta(3, 0);
    c.etq.IniciarEtiqueta();
    c.etq.ImprimirTexto(orNormal, 2, 1, 1, 0, 0, "SEGUNDA");
    c.etq.Imprimir(1, 0);
    const Leitura l = LerPpla(c.Ultimo());

    EXPECT_EQ(l.ignorados, 0);
    ASSERT_EQ(l.etiquetas.size(), 2u);
    EXPECT_EQ(l.etiquetas[0].copias, 3);
    EXPECT_EQ(l.etiquetas[1].copias, 1);
    ASSERT_EQ(l.etiquetas[0].elementos.size(), 2u);
    const Elemento& nome = l.etiquetas[0].elementos[0];
    EXPECT_EQ(nome.pintura, Pintura::Inverso);
    EXPECT_EQ(nome.ancora, Ancora::InferiorEsquerdo);
    EXPECT_EQ(nome.celulaL, 16 * 2);
    EXPECT_EQ(nome.celulaA, 27 * 3);
    const Elemento& preco = l.etiquetas[0].elementos[1];
    EXPECT_EQ(preco.pintura, Pintura::Preto);  // "A1" went back to normal
    EXPECT_EQ(preco.rotacao, 90);
    EXPECT_EQ(preco.celulaA, 34);  // smooth font 9 at 12 points
    EXPECT_EQ(l.etiquetas[1].elementos[0].dados, "SEGUNDA");
}

TEST(LeitorZpl, DadosEscapadosVoltamComoForamEnviados) {
    const std::string fluxo = FluxoDoDriver(
        etqZPLII, [](TCdbETQ& e) { e.ImprimirTexto(orNormal, "D", 18, 10, 10, 10, "50% ^off~ \\ fim", 0, true); });
    const Leitura l = LerZpl(fluxo);
    ASSERT_EQ(l.etiquetas.size(), 1u);
    ASSERT_EQ(l.etiquetas[0].elementos.size(), 1u);
    const Elemento& e = l.etiquetas[0].elementos[0];
    EXPECT_EQ(e.dados, "50% ^off~ \\ fim");
    EXPECT_EQ(e.pintura, Pintura::Xor);
    EXPECT_EQ(e.celulaA, 18);
    EXPECT_EQ(e.celulaL, 12);
}

TEST(LeitorEpl2, AspasEBarrasInvertidasVoltamComoForamEnviadas) {
    const std::string fluxo = FluxoDoDriver(etqEpl2, [](TCdbETQ& e) {
        e.ImprimirTexto(or180, 4, 2, 1, 10, 10, "A\"B\\C, D", 0, true);
        e.ImprimirCaixa(30, 50, 400, 200, 3, 5, 0);
    });
    const Leitura l = LerEpl2(fluxo);
    ASSERT_EQ(l.etiquetas.size(), 1u);
    ASSERT_EQ(l.etiquetas[0].elementos.size(), 2u);
    const Elemento& t = l.etiquetas[0].elementos[0];
    EXPECT_EQ(t.dados, "A\"B\\C, D");
    EXPECT_EQ(t.rotacao, 180);
    EXPECT_EQ(t.pintura, Pintura::Inverso);
    EXPECT_EQ(t.celulaL, 16 * 2);
    // "X40,24,4,360,184"
    const Elemento& cx = l.etiquetas[0].elementos[1];
    EXPECT_EQ(cx.x, 40);
    EXPECT_EQ(cx.y, 24);
    EXPECT_EQ(cx.largura, 320);
    EXPECT_EQ(cx.alturaRet, 160);
    EXPECT_EQ(cx.espessuraH, 4);
}

// Damaged or foreign streams: what can be read is kept, the rest is counted.
struct CasoRuim {
    const char* nome;
    Linguagem linguagem;
    std::string fluxo;
    int ignorados;
    size_t elementos;  // in the first label
};

class FluxoRuim : public ::testing::TestWithParam<CasoRuim> {};

TEST_P(FluxoRuim, LeOQuePodeEContaOResto) {
    const auto caso = GetParam();
    const Leitura l = Ler(caso.fluxo, caso.linguagem);
    EXPECT_EQ(l.ignorados, caso.ignorados);
    if (caso.elementos == 0) {
        EXPECT_TRUE(l.etiquetas.empty() || l.etiquetas[0].elementos.empty());
    } else {
        ASSERT_FALSE(l.etiquetas.empty());
        EXPECT_EQ(l.etiquetas[0].elementos.size(), caso.elementos);
    }
    if (caso.ignorados > 0) {
        EXPECT_FALSE(l.avisos.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FluxoRuim,
    ::testing::Values(
        CasoRuim{"ZplComandoDesconhecido", Linguagem::Zpl, "^XA^ZZ1^FO10,10^ADN,18,10^FDok^FS^XZ", 1, 1},
        CasoRuim{"ZplSemXZ", Linguagem::Zpl, "^XA^FO10,10^ADN,18,10^FDok^FS^FO5", 0, 1},
        CasoRuim{"ZplTamanhosAbsurdos", Linguagem::Zpl,
                 "^XA^FO99999,-5^A0N,99999,99999^FDx^FS^GB99999999,5,5^FS^BY99^BEN,999999,Y^FD1^FS^PQ999999999^XZ", 0,
                 3},
        CasoRuim{"ZplTipoDeBarrasDesconhecido", Linguagem::Zpl, "^XA^FO1,1^B@N,10^FD1^FS^XZ", 1, 0},
        CasoRuim{"ZplLixoForaDeComando", Linguagem::Zpl, "lixo^XA^FO1,1^FDa^FS^XZ", 1, 1},
        CasoRuim{"ZplSoPrefixo", Linguagem::Zpl, "^", 1, 0},
        CasoRuim{"PplaRegistroComLetras", Linguagem::Ppla, "\x02L\r1211000ABCD0010X\r121100000100010ok\rE\r", 1, 1},
        CasoRuim{"PplaTipoDeBarrasDesconhecido", Linguagem::Ppla, "\x02L\r1Z2205000100010123\rE\r", 1, 0},
        CasoRuim{"PplaCaixaCortada", Linguagem::Ppla, "\x02L\r1X1100000100010B12\rE\r", 1, 0},
        CasoRuim{"PplaComandoDesconhecido", Linguagem::Ppla,
                 "\x02L\rZZ\r\x02"
                 "9\r121100000100010ok\r",
                 2, 1},
        CasoRuim{"PplaTamanhosAbsurdos", Linguagem::Ppla, "\x02L\r1OOO999999999999999\r1F22999999999999997\rQ9999\rE\r",
                 0, 2},
        CasoRuim{"Epl2FonteDesconhecida", Linguagem::Epl2, "N\nA10,10,0,9,1,1,N,\"x\"\nA10,10,0,2,1,1,N,\"y\"\nP1\n", 1,
                 1},
        CasoRuim{"Epl2TextoSemAspas", Linguagem::Epl2, "N\nA10,10,0,2,1,1,N\nP1\n", 1, 0},
        CasoRuim{"Epl2TipoDeBarrasDesconhecido", Linguagem::Epl2, "N\nB10,10,0,ZZ,2,2,50,B,\"1\"\nP1\n", 1, 0},
        CasoRuim{"Epl2SemP", Linguagem::Epl2, "N\nLO1,1,10,10\n", 0, 1},
        CasoRuim{"Epl2TamanhosAbsurdos", Linguagem::Epl2,
                 "N\nLO-5,999999999,999999999,99999999999999\nX1,1,0,999999,999999\nP9999999999\n", 0, 2}),
    [](const auto& i) { return std::string(i.param.nome); });

// A stream that ends before its print command: the label is kept, marked as
// never printed, and the warning names the missing command.
struct CasoSemImpressao {
    Linguagem linguagem;
    std::string fluxo;
    const char* aviso;
};

class FluxoSemImpressao : public ::testing::TestWithParam<CasoSemImpressao> {};

TEST_P(FluxoSemImpressao, EtiquetaFicaComoNaoImpressaEAvisada) {
    const auto caso = GetParam();
    const Leitura l = Ler(caso.fluxo, caso.linguagem);
    EXPECT_EQ(l.ignorados, 0);
    ASSERT_EQ(l.etiquetas.size(), 1u);
    EXPECT_FALSE(l.etiquetas[0].impressa);
    ASSERT_EQ(l.etiquetas[0].elementos.size(), 1u);
    EXPECT_EQ(l.etiquetas[0].elementos[0].dados, "ok");
    EXPECT_EQ(l.avisos, std::vector<std::string>{caso.aviso});
}

INSTANTIATE_TEST_SUITE_P(Linguagens, FluxoSemImpressao,
                         ::testing::Values(CasoSemImpressao{Linguagem::Ppla, "\x02L\r121100000100010ok\r",
                                                            "Fluxo terminou sem o comando de impressão \"E\""},
                                           CasoSemImpressao{Linguagem::Epl2, "N\nA10,10,0,2,1,1,N,\"ok\"\n",
                                                            "Fluxo terminou sem o comando de impressão \"P\""},
                                           CasoSemImpressao{Linguagem::Zpl, "^XA^FO10,10^ADN,18,10^FDok^FS",
                                                            "Fluxo terminou sem o comando de impressão \"^XZ\""}),
                         [](const auto& i) { return std::string(NomeLinguagem(i.param.linguagem)); });

// Every prefix of a real stream (a cable pulled out half way) reads without
// failing, and a longer prefix never yields fewer elements.
TEST(FluxoCortado, CadaPrefixoLeSemFalharNemTravar) {
    for (TCdbETQModelo modelo : {etqPpla, etqEpl2, etqZPLII}) {
        const bool ppla = modelo == etqPpla;
        const std::string fluxo = FluxoDoDriver(modelo, [&](TCdbETQ& e) {
            e.ImprimirTexto(orNormal, 2, 1, 1, 100, 50, "PRECO", 0, true);
            e.ImprimirBarras(orNormal,
                             ppla                ? "F"
                             : modelo == etqEpl2 ? "E30"
                                                 : "E",
                             "2", "2", 300, 100, "7891234567895", 100, becSIM);
            e.ImprimirCaixa(10, 10, 600, 700, 3, 3);
        });
        size_t antes = 0;
        for (size_t n = 0; n <= fluxo.size(); ++n) {
            const Leitura l = Ler(std::string_view(fluxo).substr(0, n), LinguagemDoModelo(modelo));
            size_t elementos = 0;
            for (const auto& e : l.etiquetas) elementos = std::max(elementos, e.elementos.size());
            EXPECT_LE(elementos, 3u);
            EXPECT_GE(elementos + 1, antes) << NomeEnum(modelo) << " com " << n << " bytes";
            antes = elementos;
        }
        EXPECT_EQ(antes, 3u) << NomeEnum(modelo);
    }
}

}  // namespace
