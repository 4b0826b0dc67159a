#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "Captura.h"
#include "common/Excecoes.h"
#include "etq/CdbETQClass.h"

TEST(TCdbETQClass, SoPodeSerCriadaPorUmTCdbETQ) {
    EXPECT_EQ(MensagemDe([] { TCdbETQClass c(nullptr); }), "Essa Classe deve ser instanciada por TCdbETQ");
}

TEST(TCdbETQClass, OperacoesSemLinguagemDizemQualFaltaEmQual) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    struct Caso {
        const char* operacao;
        std::function<void()> chamar;
    };
    const Caso casos[] = {
        {"ComandoImprimirTexto", [&] { c.ComandoImprimirTexto(orNormal, "2", 1, 1, 0, 0, "x", 0, false); }},
        {"ComandoImprimirBarras", [&] { c.ComandoImprimirBarras(orNormal, "F", 2, 2, 0, 0, "1", 10, becSIM); }},
        {"ComandoImprimirQRCode", [&] { c.ComandoImprimirQRCode(0, 0, "x", 1, 0, 0); }},
        {"ComandoImprimirLinha", [&] { c.ComandoImprimirLinha(0, 0, 1, 1); }},
        {"ComandoImprimirCaixa", [&] { c.ComandoImprimirCaixa(0, 0, 1, 1, 1, 1, 0); }},
        {"ComandoImprimirImagem", [&] { c.ComandoImprimirImagem(1, 0, 0, "LOGO"); }},
        {"ComandoCarregarImagem", [&] { c.ComandoCarregarImagem("", "LOGO", false, "BMP"); }},
        {"ComandoApagarImagem", [&] { c.ComandoApagarImagem("LOGO"); }},
        {"ComandoGravaRFIDHexaDecimal", [&] { c.ComandoGravaRFIDHexaDecimal("00"); }},
        {"ComandoGravaRFIDASCII", [&] { c.ComandoGravaRFIDASCII("x"); }},
    };
    for (const auto& k : casos)
        EXPECT_EQ(MensagemDe(k.chamar), std::string("Metodo: ") + k.operacao + " não implementada em: Não Definida");
}

TEST(TCdbETQClass, ConverterUnidadeArredondaAoParMaisProximo) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    struct Caso {
        TCdbETQUnidade de, para;
        TCdbETQDPI dpi;
        int valor, esperado;
    };
    const Caso casos[] = {
        {etqDecimoDeMilimetros, etqDots, dpi203, 180, 144},  // 143.86
        {etqDecimoDeMilimetros, etqDots, dpi203, 45, 36},
        {etqDecimoDeMilimetros, etqDots, dpi203, 5, 4},
        {etqDecimoDeMilimetros, etqDots, dpi300, 100, 118},  // 118.11
        {etqDecimoDeMilimetros, etqDots, dpi600, 100, 236},  // 236.22
        {etqMilimetros, etqDots, dpi203, 10, 80},            // 79.92
        {etqPolegadas, etqDots, dpi203, 2, 406},
        {etqPolegadas, etqMilimetros, dpi203, 1, 25},           // 25.4
        {etqDots, etqMilimetros, dpi203, 80, 10},               // 10.01
        {etqDecimoDeMilimetros, etqMilimetros, dpi203, 25, 2},  // 2.5 -> 2
        {etqDecimoDeMilimetros, etqMilimetros, dpi203, 35, 4},  // 3.5 -> 4
        {etqDecimoDeMilimetros, etqMilimetros, dpi203, -25, -2},
        {etqDots, etqDots, dpi203, 12345, 12345},
    };
    for (const auto& k : casos) {
        c.Unidade = k.de;
        c.DPI = k.dpi;
        EXPECT_EQ(c.ConverterUnidade(k.para, k.valor), k.esperado)
            << NomeEnum(k.de) << " -> " << NomeEnum(k.para) << " " << k.valor;
    }
}

TEST(TCdbETQClass, ConversaoQueNaoCabeEm32BitsFalhaEmVezDeDarLixo) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    c.Unidade = etqPolegadas;
    EXPECT_THROW(c.ConverterUnidade(etqDots, INT_MAX), Exception);
}

// Every slot answers its own name, so the block shows the order and the joins.
struct TLinguagemSonda : TCdbETQClass {
    using TCdbETQClass::TCdbETQClass;
    std::string vazio;  // this slot answers nothing
    std::string R(const char* n) { return vazio == n ? std::string() : n; }
    std::string ComandoAbertura() override { return R("Abertura"); }
    std::string ComandoBackFeed() override { return R("BackFeed"); }
    std::string ComandoDeteccaoEtiqueta() override { return R("Deteccao"); }
    std::string ComandoGuilhotina() override { return R("Guilhotina"); }
    std::string ComandoDimensoes() override { return R("Dimensoes"); }
    std::string ComandoUnidade() override { return R("Unidade"); }
    std::string ComandoTemperatura() override { return R("Temperatura"); }
    std::string ComandoPaginaDeCodigo() override { return R("Pagina"); }
    std::string ComandoResolucao() override { return R("Resolucao"); }
    std::string ComandoOrigemCoordenadas() override { return R("Origem"); }
    std::string ComandoVelocidade() override { return R("Velocidade"); }
    std::string ComandoLimparMemoria() override { return R("Limpar"); }
    std::string ComandoCopias(int n) override {
        TCdbETQClass::ComandoCopias(n);
        return "Copias" + std::to_string(n);
    }
    std::string ComandoImprimir() override { return R("Imprimir"); }
    std::string ComandoAvancarEtiqueta(int a) override { return "Avanco" + std::to_string(a); }
};

TEST(TCdbETQClass, BlocoDeInicioSegueAOrdemDosSlotsEPulaOsVazios) {
    TCdbETQ etq;
    TLinguagemSonda s(&etq);
    EXPECT_EQ(s.ComandoIniciarEtiqueta(),
              "BackFeed\r\nAbertura\r\nDeteccao\r\nGuilhotina\r\nDimensoes\r\nUnidade\r\nLimpar\r\nTemperatura\r\n"
              "Resolucao\r\nOrigem\r\nVelocidade");

    s.LimparMemoria = false;
    s.PaginaDeCodigo = pce850;
    s.vazio = "BackFeed";
    EXPECT_EQ(s.ComandoIniciarEtiqueta(),
              "Abertura\r\nDeteccao\r\nGuilhotina\r\nDimensoes\r\nUnidade\r\nTemperatura\r\n"
              "Resolucao\r\nOrigem\r\nVelocidade\r\nPagina");

    TCdbETQClass base(&etq);
    EXPECT_EQ(base.ComandoIniciarEtiqueta(), "");
}

TEST(TCdbETQClass, BlocoDeFimFazCopiaZeroValerUmEAvancoVazioUsarAvanco) {
    TCdbETQ etq;
    TLinguagemSonda s(&etq);
    s.Avanco = 7;
    EXPECT_EQ(s.ComandoFinalizarEtiqueta(0, 0), "Copias1\r\nImprimir\r\nAvanco7");
    EXPECT_EQ(s.ComandoFinalizarEtiqueta(-3, -1), "Copias1\r\nImprimir\r\nAvanco7");
    EXPECT_EQ(s.ComandoFinalizarEtiqueta(4, 12), "Copias4\r\nImprimir\r\nAvanco12");
    s.vazio = "Imprimir";
    EXPECT_EQ(s.ComandoFinalizarEtiqueta(2, 1), "Copias2\r\nAvanco1");
}

TEST(TCdbETQClass, CopiasForaDeUmAMaxCopiasSaoRecusadas) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    EXPECT_EQ(c.ComandoCopias(1), "");
    EXPECT_EQ(c.ComandoCopias(999), "");
    EXPECT_EQ(MensagemDe([&] { c.ComandoCopias(0); }), "NumCopias deve ser de 1 a 999");
    EXPECT_EQ(MensagemDe([&] { c.ComandoCopias(1000); }), "NumCopias deve ser de 1 a 999");
}

TEST(TCdbETQClass, QuebrasDeLinhaViramLFMenosEmFluxoEmBranco) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    EXPECT_EQ(c.AjustarQuebrasDeLinha("A\r\nB\rC\nD\r\r\nE"), "A\nB\nC\nD\n\nE");
    EXPECT_EQ(c.AjustarQuebrasDeLinha(""), "");
    EXPECT_EQ(c.AjustarQuebrasDeLinha("   "), "   ");
}

TEST(TCdbETQClass, SlotsQueNenhumaOperacaoChama) {
    TCdbETQ etq;
    TCdbETQClass c(&etq);
    const char* niveis[] = {"L", "M", "Q", "H", "L", "L"};
    const int valores[] = {0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.ConverterNivelCorrecaoQRCode(valores[i]), niveis[i]) << valores[i];
    EXPECT_EQ(c.ConverterTipoBarras(13), "13");
}

TEST(TCdbETQCmdList, BlocosVaziosNaoEntramETextoTerminaCadaUmComCRLF) {
    TCdbETQCmdList l;
    EXPECT_EQ(l.Add(""), -1);
    EXPECT_EQ(l.Add("B"), 0);
    EXPECT_EQ(l.Add("C\r\nD"), 1);
    l.Insert(0, "");
    l.Insert(0, "A");
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Text(), "A\r\nB\r\nC\r\nD\r\n");
    l.Clear();
    EXPECT_EQ(l.Text(), "");
}
