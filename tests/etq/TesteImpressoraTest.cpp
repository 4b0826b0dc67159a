#include <gtest/gtest.h>

#include <functional>

#include "Captura.h"
#include "common/Excecoes.h"
#include "etq/TesteImpressora.h"
#include "suporte/Suporte.h"

namespace {
TParametrosTeste Parametros(TCdbETQModelo modelo) {
    TParametrosTeste p;
    p.Porta = "DLL";
    p.Temperatura = "10";
    p.Modelo = modelo;
    return p;
}

struct TesteImpressora : testing::Test {
    TCdbETQ etq;
    std::vector<std::string> enviados;
    TesteImpressora() {
        etq.SetPorta("DLL");
        etq.Device().HookEnviaString = [this](const std::string& d) { enviados.push_back(d); };
    }
};

const std::string kInicioPpla = Linhas({STX + "L", STX + "V0", STX + "m", STX + "Q", "H10", "D11"}, "\r");
const std::string kFimPpla = Linhas({"Q0001", "E", STX + "f220", STX + "Q"}, "\r");
}  // namespace

TEST_F(TesteImpressora, ComOsValoresDoPainelImprimeOCodigoComoTextoA3mm) {
    ImprimirTeste(etq, Parametros(etqPpla));
    ASSERT_EQ(enviados.size(), 1u);
    EXPECT_EQ(enviados[0], kInicioPpla +
                               "121100000300030"
                               "7893156253569\r" +
                               kFimPpla);
    EXPECT_FALSE(etq.Ativo());
    EXPECT_TRUE(etq.LimparMemoria());
    EXPECT_EQ(etq.Avanco(), 0);
}

TEST_F(TesteImpressora, ColunasAvancamPelaDistanciaEntreElas) {
    TParametrosTeste p = Parametros(etqPpla);
    p.QtdColunas = "3";
    ImprimirTeste(etq, p);
    const std::string codigo = "7893156253569\r";
    EXPECT_EQ(enviados.at(0), kInicioPpla + "121100000300030" + codigo + "121100000300330" + codigo +
                                  "121100000300630" + codigo + kFimPpla);
}

TEST_F(TesteImpressora, ColunasAlemDoQueUmaEtiquetaComportaSaoRecusadasAntesDeEnviar) {
    for (const char* qtd : {"100", "10000000", "2147483647"}) {
        TParametrosTeste p = Parametros(etqZPLII);
        p.QtdColunas = qtd;
        p.EntreColunas = "0";
        EXPECT_EQ(MensagemDe<Exception>([&] { ImprimirTeste(etq, p); }),
                  "qtd Colunas: " + std::string(qtd) + " colunas não cabem numa etiqueta (use no máximo 99)");
        EXPECT_TRUE(enviados.empty());
        EXPECT_FALSE(etq.Ativo());
    }
    TParametrosTeste p = Parametros(etqZPLII);
    p.QtdColunas = "99";
    ImprimirTeste(etq, p);
    ASSERT_EQ(enviados.size(), 1u);
    size_t itens = 0;
    for (size_t i = enviados[0].find("^FD"); i != std::string::npos; i = enviados[0].find("^FD", i + 1)) ++itens;
    EXPECT_EQ(itens, 99u);
}

TEST_F(TesteImpressora, BarrasComESemDigitos) {
    struct Caso {
        bool digitos;
        std::string registro;
    };
    const Caso casos[] = {
        {true,
         "1F22080"
         "00300030"
         "7893156253569"},  // height 20 x 4 = 80, digits shown
        {false,
         "1f22320"
         "00300030"
         "7893156253569"},  // x 16 = 320, lower-case: no digits
    };
    for (const auto& k : casos) {
        enviados.clear();
        TParametrosTeste p = Parametros(etqPpla);
        p.ImprimirComoTexto = false;
        p.ImprimirNumeroBarras = k.digitos;
        ImprimirTeste(etq, p);
        EXPECT_EQ(enviados.at(0), kInicioPpla + k.registro + "\r" + kFimPpla);
    }
}

TEST_F(TesteImpressora, MesmoTesteEmZplEEpl2) {
    ImprimirTeste(etq, Parametros(etqZPLII));
    ImprimirTeste(etq, Parametros(etqEpl2));
    TParametrosTeste p = Parametros(etqEpl2);
    p.ImprimirComoTexto = false;
    p.TipoBarras = "E30";
    ImprimirTeste(etq, p);
    ASSERT_EQ(enviados.size(), 3u);
    EXPECT_EQ(enviados[0], Linhas({"^XA", "^MMT", "^MCY", "~SD10", "^PON", "^FO24,24^A2N,1,1^FD7893156253569^FS",
                                   "^PQ1", "^XZ", "^MCY"},
                                  "\r\n"));
    EXPECT_EQ(enviados[1],
              Linhas({"R0,0", "O", "N", "D10", "ZB", "A24,24,0,2,1,1,N,\"7893156253569\"", "P1", "N"}, "\n"));
    EXPECT_EQ(enviados[2],
              Linhas({"R0,0", "O", "N", "D10", "ZB", "B24,24,0,E30,2,2,64,B,\"7893156253569\"", "P1", "N"}, "\n"));
}

TEST_F(TesteImpressora, CampoQueNaoEInteiroParaAntesDeTocarNoComponente) {
    struct Caso {
        std::function<void(TParametrosTeste&)> estragar;
        const char* mensagem;
    };
    const Caso casos[] = {
        {[](TParametrosTeste& p) { p.Temperatura = ""; }, "Temperatura: '' não é um valor inteiro válido"},
        {[](TParametrosTeste& p) { p.QtdColunas = "um"; }, "qtd Colunas: 'um' não é um valor inteiro válido"},
        {[](TParametrosTeste& p) { p.Linha = "3,5"; }, "Linha: '3,5' não é um valor inteiro válido"},
        {[](TParametrosTeste& p) { p.Coluna = "x"; }, "Coluna: 'x' não é um valor inteiro válido"},
        {[](TParametrosTeste& p) { p.Altura = "2O"; }, "Altura: '2O' não é um valor inteiro válido"},
        {[](TParametrosTeste& p) { p.EntreColunas = "-"; }, "entre colunas: '-' não é um valor inteiro válido"},
    };
    for (const auto& k : casos) {
        TParametrosTeste p = Parametros(etqZPLII);
        p.Porta = "NULL";
        k.estragar(p);
        try {
            ImprimirTeste(etq, p);
            ADD_FAILURE() << "sem falha: " << k.mensagem;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), k.mensagem);
        }
        EXPECT_TRUE(enviados.empty());
        EXPECT_EQ(etq.Porta(), "DLL");
        EXPECT_EQ(etq.Modelo(), etqNenhum);
        EXPECT_FALSE(etq.Ativo());
    }
}

TEST_F(TesteImpressora, SemPortaNadaEImpressoEODizendo) {
    TParametrosTeste p = Parametros(etqPpla);
    p.Porta = "  ";
    EXPECT_EQ(MensagemDe([&] { ImprimirTeste(etq, p); }), "Porta não definida");
}

TEST_F(TesteImpressora, FalhaDepoisDeAtivarNaoPrendeOComponente) {
    TParametrosTeste p = Parametros(etqPpla);
    p.Temperatura = "25";
    EXPECT_EQ(MensagemDe([&] { ImprimirTeste(etq, p); }), "Temperatura deve ser de 0 a 20");
    EXPECT_FALSE(etq.Ativo());
    EXPECT_EQ(etq.ListaCmd().Count(), 0);
    // The operator corrects the heat and tries another language at once.
    ImprimirTeste(etq, Parametros(etqZPLII));
    ASSERT_EQ(enviados.size(), 1u);
    EXPECT_EQ(enviados[0].substr(0, 5), "^XA\r\n");
}

TEST_F(TesteImpressora, SemLinguagemEscolhidaFicaADoComponente) {
    etq.SetModelo(etqEpl2);
    TParametrosTeste p = Parametros(etqPpla);
    p.Modelo.reset();
    ImprimirTeste(etq, p);
    EXPECT_EQ(etq.Modelo(), etqEpl2);
    EXPECT_EQ(enviados.at(0).substr(0, 5), "R0,0\n");
}

TEST_F(TesteImpressora, CodigoEmUtf8ChegaSemAcentos) {
    TParametrosTeste p = Parametros(etqPpla);
    p.Codigo = "Pão “fresco” →";
    ImprimirTeste(etq, p);
    EXPECT_NE(enviados.at(0).find("121100000300030Pao  fresco   \r"), std::string::npos) << enviados[0];
}
