// The last batch's criteria as configEtq.ini keeps them: every option back as
// it was, texts with line ends, blanks, quotes and backslashes whole, and a
// date range that ended on the batch's day moved to end today.
#include <gtest/gtest.h>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "goods/UltimaSelecao.h"
#include "suporte/Suporte.h"

namespace {

std::string Data(int a, int m, int d) { return FormataData("DD/MM/AAAA", EncodeDate(a, m, d)); }

TOpcoesMercadorias Cheias() {
    TOpcoesMercadorias o;
    o.Ordem = TOrdemListagem::CodigoBar;
    o.chkCodRed = true;
    o.edtCod1 = "10";
    o.edtCod2 = "  20 ";  // blanks kept: the statement gets what was typed
    o.chkBarras = true;
    o.edtcodbarras = "789\"x'";
    o.chkListaCodBar = true;
    o.memoLista = "7891\r\n\n  7892  \n\\n literal\n";
    o.chkNome = true;
    o.edtNome = "CAFÉ = ; [CONF]";
    o.chkDepartamento = true;
    o.edtDepartamento = 12;
    o.edtFornecedor = std::nullopt;
    o.chksetor = true;
    o.edtSetor = std::string("LOJA 2");
    o.chkDataEmi = true;
    o.edtData1 = "01/03/2026";
    o.edtData2 = "07/03/2026";
    o.chkEstoque = true;
    o.chkProEstoque = true;
    o.rDesmarcados = true;
    o.chkProAtivos = false;
    o.rbAtivos = false;
    o.rdSim = false;
    o.edtPis = 3;
    o.chkNNota = true;
    o.edtNNota = "";
    o.chkDataCompra = true;
    o.edtDtC1 = "01/02/2026";
    o.edtDtC2 = "15/02/2026";
    return o;
}

bool Iguais(const TOpcoesMercadorias& a, const TOpcoesMercadorias& b) {
    // Compared through what is kept: every key and value the same.
    return ChavesSelecao(a, "") == ChavesSelecao(b, "");
}

TEST(UltimaSelecao, TodaOpcaoVoltaComoEra) {
    const TOpcoesMercadorias o = Cheias();
    // Another day, but no range ended on the batch's day: nothing moves.
    const TOpcoesMercadorias lida = SelecaoDasChaves(ChavesSelecao(o, "10/03/2026"), EncodeDate(2026, 3, 16));
    EXPECT_TRUE(Iguais(lida, o));
    EXPECT_EQ(lida.Ordem, TOrdemListagem::CodigoBar);
    EXPECT_EQ(lida.memoLista, o.memoLista);
    EXPECT_EQ(lida.edtCod2, "  20 ");
    EXPECT_EQ(lida.edtcodbarras, "789\"x'");
    EXPECT_EQ(lida.edtDepartamento, std::optional<long long>(12));
    EXPECT_EQ(lida.edtFornecedor, std::nullopt);
    EXPECT_EQ(lida.edtSetor, std::optional<std::string>("LOJA 2"));
    EXPECT_EQ(lida.edtData1, "01/03/2026");
    EXPECT_FALSE(lida.chkProAtivos);
    // The start values come back too.
    EXPECT_TRUE(Iguais(SelecaoDasChaves(ChavesSelecao({}, "10/03/2026"), EncodeDate(2026, 3, 16)), {}));
}

TEST(UltimaSelecao, PeriodoAteODiaDoLoteAndaComHoje) {
    struct Caso {
        const char* nome;
        std::string de, ate, dia;
        std::string deHoje, ateHoje;
    };
    const Caso casos[] = {
        {"esta semana", Data(2026, 3, 2), Data(2026, 3, 9), Data(2026, 3, 9), Data(2026, 3, 9), Data(2026, 3, 16)},
        {"só hoje", Data(2026, 3, 9), Data(2026, 3, 9), Data(2026, 3, 9), Data(2026, 3, 16), Data(2026, 3, 16)},
        {"virada de mês", Data(2026, 2, 23), Data(2026, 2, 28), Data(2026, 2, 28), Data(2026, 3, 3), Data(2026, 3, 8)},
        {"período passado fica", Data(2026, 2, 1), Data(2026, 2, 15), Data(2026, 3, 9), Data(2026, 2, 1),
         Data(2026, 2, 15)},
        {"dia do lote ilegível", Data(2026, 3, 2), Data(2026, 3, 9), "amanhã", Data(2026, 3, 2), Data(2026, 3, 9)},
    };
    const TDateTime hoje = EncodeDate(2026, 3, 16);
    const TDateTime hojeVirada = EncodeDate(2026, 3, 8);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        TOpcoesMercadorias o;
        o.edtData1 = o.edtDtC1 = c.de;
        o.edtData2 = o.edtDtC2 = c.ate;
        const TOpcoesMercadorias lida =
            SelecaoDasChaves(ChavesSelecao(o, c.dia), std::string(c.nome) == "virada de mês" ? hojeVirada : hoje);
        EXPECT_EQ(lida.edtData1, c.deHoje);
        EXPECT_EQ(lida.edtData2, c.ateHoje);
        EXPECT_EQ(lida.edtDtC1, c.deHoje);
        EXPECT_EQ(lida.edtDtC2, c.ateHoje);
    }
}

TEST(UltimaSelecao, ValoresEstragadosNoArquivoDaoOsIniciais) {
    const TOpcoesMercadorias lida = SelecaoDasChaves({{"chkNome", "sim"},
                                                      {"edtDepartamento", "12; drop"},
                                                      {"edtPis", "99999999999999999999"},
                                                      {"Ordem", "x"},
                                                      {"edtNome", "\"sem fim"}},
                                                     EncodeDate(2026, 3, 16));
    EXPECT_FALSE(lida.chkNome);  // only SIM is on
    EXPECT_EQ(lida.edtDepartamento, std::nullopt);
    EXPECT_EQ(lida.edtPis, std::nullopt);
    EXPECT_EQ(lida.Ordem, TOrdemListagem::CodigoRed);
    EXPECT_EQ(lida.edtNome, "\"sem fim");
}

TEST(UltimaSelecao, GuardadaNoConfigEtqDestaEstacaoSemMexerNoResto) {
    TPastaTemp pasta{"ultima-selecao"};
    DefinirDiretorioSistema(pasta / "");
    Gravar(pasta / "configEtq.ini", "[CONF]\r\nPATH MERKOR=loja.fdb\r\n");
    EXPECT_EQ(LerUltimaSelecao(EncodeDate(2026, 3, 16)), std::nullopt);
    GuardarUltimaSelecao(Cheias(), EncodeDate(2026, 3, 10));
    const std::optional<TOpcoesMercadorias> lida = LerUltimaSelecao(EncodeDate(2026, 3, 16));
    ASSERT_TRUE(lida.has_value());
    EXPECT_TRUE(Iguais(*lida, Cheias()));
    EXPECT_EQ(LerConfig("PATH MERKOR"), "loja.fdb");
    // One line per key: the list's line ends do not break the file.
    const std::string texto = LerTudo(pasta / "configEtq.ini");
    EXPECT_NE(texto.find("[ULTIMA SELECAO]\r\nDIA=10/03/2026\r\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find("memoLista=\"7891\\r\\n\\n  7892  \\n\\\\n literal\\n\"\r\n"), std::string::npos) << texto;
    DefinirDiretorioSistema("");
}

}  // namespace
