// Model 09: the label design of the format table, its rows per label row and
// pitch, free texts, vocabulary fields and the barcode type table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>

#include "FilaTeste.h"
#include "FormatoTeste.h"
#include "Ouro.h"
#include "common/UFuncoes.h"
#include "labels/Leiaute09.h"

namespace {

class Modelo09 : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        GravarConfig("MODELO PRINT", "09 - Modelo Pre Configurado dentro do Merkor ( PPLA )");
        Mercadoria(1, "7891234567895", "CAMISETA BASICA ALGODAO MANGA CURTA", "CB-01", "29.9");
        Mercadoria(2, "12345678", "MEIA", "M2", "5.5");
    }
    void Cabecalho(int porLinha, int passoMm) {
        Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, " + std::to_string(porLinha) + ", " +
                 std::to_string(passoMm) + ")");
    }
    void Campo(const std::string& nome, const std::string& titulo, int tamanho, int fonte, int v, int h,
               const std::string& aux4 = "") {
        Executar(
            "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, "
            "AUX_4) values (13, '" +
            nome + "', '" + titulo + "', " + std::to_string(tamanho) + ", 'T', " + std::to_string(fonte) + ", " +
            std::to_string(v) + ", " + std::to_string(h) + ", '" + aux4 + "')");
    }
    // The PPLA text record: font 2, multipliers 1, at (v, h).
    static std::string TextoPpla(int v, int h, const std::string& texto, int fonte = 2) {
        return "1" + std::to_string(fonte) + "11000" + ZerosEsquerda(v, 4) + ZerosEsquerda(h, 4) + texto + "\r";
    }
    std::vector<std::string> Saida09() { return Registros(Saida()); }
    static bool Tem(const std::vector<std::string>& r, const std::string& registro) {
        return std::find(r.begin(), r.end(), registro) != r.end();
    }
    static size_t Trabalhos(const std::vector<std::string>& r) { return std::count(r.begin(), r.end(), "E\r"); }
};

TEST_F(Modelo09, TresPorLinhaNoPassoDoCabecalhoMaisAddColuna) {
    GravarConfig("ADDCOLUNA", "5");
    Cabecalho(3, 36);
    Campo("NOME", "", 20, 2, 2, 1);
    Fila(1, "7891234567895", "A", "3", "29.9");
    Imprimir();
    const auto r = Saida09();
    for (int h : {15, 375, 735}) EXPECT_TRUE(Tem(r, TextoPpla(20, h, "CAMISETA BASICA ALGO"))) << h;
    EXPECT_EQ(Trabalhos(r), 1u);
}

TEST_F(Modelo09, TextosLivresCamposDoVocabularioEForaDele) {
    Cabecalho(1, 0);
    Campo("TEXTO LIVRE 1", "PROMOCAO", 30, 3, 1, 1);
    Campo("texto livre 2", "so hoje", 4, 1, 2, 1);  // upper-cased for the test, title cut to 4
    Campo("VALOR DE VENDA", "", 10, 4, 3, 1);
    Campo("nome", "", 10, 2, 4, 1);       // outside the vocabulary: empty
    Campo("REFERENCIA", "", 0, 2, 5, 1);  // size 0: empty
    Campo("TEXTO PARAMETRO", "", 30, 2, 6, 1);
    imp->edtParametro = "OFERTA";
    Fila(2, "12345678", "A", "1", "5.5");
    Imprimir();
    const auto r = Saida09();
    EXPECT_TRUE(Tem(r, TextoPpla(10, 10, "PROMOCAO", 3)));
    EXPECT_TRUE(Tem(r, TextoPpla(20, 10, "so h", 1)));
    EXPECT_TRUE(Tem(r, TextoPpla(30, 10, "5,50", 4)));
    EXPECT_TRUE(Tem(r, TextoPpla(40, 10, "")));
    EXPECT_TRUE(Tem(r, TextoPpla(50, 10, "")));
    EXPECT_TRUE(Tem(r, TextoPpla(60, 10, "OFERTA")));
    EXPECT_EQ(Trabalhos(r), 1u);
}

TEST_F(Modelo09, LinhasDeCampoLidasUmaVezNaOrdemDoAux2) {
    Cabecalho(1, 0);
    Campo("TEXTO LIVRE B", "EMBAIXO", 10, 2, 9, 1);
    Campo("TEXTO LIVRE A", "EM CIMA", 10, 2, 3, 1);
    Fila(2, "12345678", "A", "2", "5.5");
    Imprimir();
    const auto r = Saida09();
    const auto cima = std::find(r.begin(), r.end(), TextoPpla(30, 10, "EM CIMA"));
    const auto baixo = std::find(r.begin(), r.end(), TextoPpla(90, 10, "EMBAIXO"));
    ASSERT_NE(cima, r.end());
    ASSERT_NE(baixo, r.end());
    EXPECT_LT(cima, baixo);
    EXPECT_EQ(Trabalhos(r), 2u);
    EXPECT_EQ(imp->qryFormat.Texto(), "Select * from FormatMrg\nwhere cod_mrg=13 and Print_campo='T'\norder by Aux_2");
}

TEST_F(Modelo09, SemCabecalhoTudoNumaImagemEnviadaAoFim) {
    Campo("NOME", "", 4, 2, 2, 1);
    Fila(1, "7891234567895", "A", "2", "29.9");
    Fila(2, "12345678", "B", "1", "5.5");
    Imprimir();
    const auto r = Saida09();
    EXPECT_EQ(Trabalhos(r), 1u);
    EXPECT_EQ(std::count(r.begin(), r.end(), TextoPpla(20, 10, "CAMI")), 2);
    EXPECT_TRUE(Tem(r, TextoPpla(20, 10, "MEIA")));
}

TEST_F(Modelo09, SemLinhasDeCampoSoAsLinhasCompletasSaem) {
    Cabecalho(2, 40);
    Fila(1, "7891234567895", "A", "3", "29.9");
    Imprimir();
    EXPECT_EQ(Trabalhos(Saida09()), 1u);
    EXPECT_EQ(imp->EtiquetasEnviadas(), 2);
}

struct CasoBarras {
    const char* linguagem;
    const char* impressora;
    int codigo;  // 1: 13 digits, 2: 8 digits
    const char* aux4;
    const char* registro;  // start of the barcode record; "" when none is drawn
};

void PrintTo(const CasoBarras& c, std::ostream* os) {
    *os << c.linguagem << " " << c.impressora << " " << (c.codigo == 1 ? "13" : "8") << " digitos, AUX_4 " << c.aux4;
}

class Modelo09Barras : public Modelo09, public ::testing::WithParamInterface<CasoBarras> {};

TEST_P(Modelo09Barras, TipoEDigitosPelaTabela) {
    const CasoBarras& c = GetParam();
    GravarConfig({{"MODELO", c.linguagem}, {"MODELO IMPRESSORA", c.impressora}});
    Cabecalho(1, 0);
    Campo("NOME", "", 4, 2, 2, 1);
    Campo("CODIGO DE BARRAS", "", 10, 0, 5, 2, c.aux4);
    Fila(c.codigo, "", "A", "1", "1");
    Imprimir();
    const std::string s = Saida();
    const std::string codigo = c.codigo == 1 ? "7891234567895" : "12345678";
    if (std::string(c.registro).empty()) {
        EXPECT_EQ(s.find(codigo), std::string::npos) << Legivel(s);
        EXPECT_NE(s.find("CAMI"), std::string::npos);
    } else {
        EXPECT_NE(s.find(c.registro + codigo), std::string::npos) << Legivel(s);
    }
    EXPECT_EQ(imp->lblParametro, c.aux4);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Modelo09Barras,
    ::testing::Values(
        // PPLA: bars 2/2, height 10 × 4, at vertical 50, horizontal 20.
        CasoBarras{"PPLA", "ARGOX", 1, "A", "1F2204000500020"}, CasoBarras{"PPLA", "ARGOX", 1, "D", "1F2204000500020"},
        CasoBarras{"PPLA", "ELGIN", 1, "X", "1f2204000500020"}, CasoBarras{"PPLA", "ELGIN", 2, "A", "1A2204000500020"},
        CasoBarras{"PPLA", "ARGOX", 2, "A", "1E2204000500020"}, CasoBarras{"PPLA", "ELGIN", 2, "T", "1T2204000500020"},
        CasoBarras{"PPLA", "ARGOX", 2, "T", "1E2204000500020"}, CasoBarras{"PPLA", "ELGIN", 2, "c", "1c2204000500020"},
        CasoBarras{"PPLA", "ARGOX", 2, "c", "1e2204000500020"},
        // PPLB goes out as EPL2: EAN-13 "E30" or Code 128 "1", digits by AUX_4.
        CasoBarras{"PPLB", "ARGOX", 1, "A", ",0,E30,2,2,32,B,\""},
        CasoBarras{"PPLB", "ARGOX", 2, "X", ",0,1,2,2,32,N,\""},
        // ZPL prints the texts and no barcode.
        CasoBarras{"ZPL", "ELGIN", 1, "A", ""}),
    [](const ::testing::TestParamInfo<CasoBarras>& i) {
        const CasoBarras& c = i.param;
        return std::string(c.linguagem) + "_" + c.impressora + "_" + (c.codigo == 1 ? "13" : "8") + "_" +
               (std::isupper(static_cast<unsigned char>(c.aux4[0])) ? "" : "min") + c.aux4;
    });

// The design written through TLeiaute09 and read back by the model.
class Leiaute09 : public Modelo09 {
protected:
    std::vector<std::string> Tabela(const std::string& condicao = "1=1") { return LinhasFormatMrg(Outro(), condicao); }
    std::string ImprimirDoZero() {
        std::remove(saida_.c_str());
        Imprimir();
        return Saida();
    }
    static TCampo09 Campo09(const std::string& nome, const std::string& titulo, int tamanho, int fonte, int v, int h,
                            const std::string& variante = "") {
        return CampoLeiaute09(nome, tamanho, fonte, v, h, variante, titulo);
    }
    // Three per row at 36 mm: the name, the price and an EAN-13 with digits.
    static TLeiaute09 Gondola() {
        TLeiaute09 l;
        l.porLinha = 3;
        l.passo = 36;
        l.campos = {Campo09("NOME", "", 20, 2, 2, 1), Campo09("VALOR DE VENDA", "", 10, 4, 6, 1),
                    Campo09("CODIGO DE BARRAS", "", 10, 0, 10, 2, "A")};
        return l;
    }
};

TEST_F(Leiaute09, DesenhoFeitoDoZeroImprimeComoAsMesmasLinhasEscritasDireto) {
    const TLeiaute09 vazio = LerLeiaute09(Outro());
    EXPECT_TRUE(vazio.Vazio());
    Fila(1, "7891234567895", "A", "4", "29.9");

    GravarLeiaute09(Outro(), Gondola(), vazio);
    TLeiaute09 esperado = Gondola();
    esperado.temCabecalho = true;
    EXPECT_EQ(LerLeiaute09(Outro()), esperado);
    const std::string doDesenho = ImprimirDoZero();

    Executar("delete from FormatMrg");
    Cabecalho(3, 36);
    Campo("NOME", "", 20, 2, 2, 1);
    Campo("VALOR DE VENDA", "", 10, 4, 6, 1);
    Campo("CODIGO DE BARRAS", "", 10, 0, 10, 2, "A");
    const std::string direto = ImprimirDoZero();

    EXPECT_EQ(doDesenho, direto) << Legivel(doDesenho) << "\n---\n" << Legivel(direto);
    // Three labels on the first row, one on the second; EAN-13 with digits.
    const auto r = Registros(doDesenho);
    for (int h : {10, 370, 730}) EXPECT_TRUE(Tem(r, TextoPpla(20, h, "CAMISETA BASICA ALGO"))) << h;
    EXPECT_TRUE(Tem(r, TextoPpla(60, 10, "29,90", 4)));
    EXPECT_NE(doDesenho.find("1F2204001000020"
                             "7891234567895"),
              std::string::npos)
        << Legivel(doDesenho);
    EXPECT_EQ(Trabalhos(r), 2u);
}

TEST_F(Leiaute09, LinhasEColunasAlheiasSobrevivemAoSalvar) {
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_4, AUX_5) "
        "values (113, 'CAB', 'TITULO', 2, 40, 'S', 7, 'x', 'y')");
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 9, 99)");  // not the first: unread
    Executar("insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_2) values (13, 'NOME', 5, 'F', 1)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, PRINT_CAMPO, AUX_5) "
        "values (7, 'CLIENTE', 'X', 3, 'T', 'z')");
    Executar("insert into FORMATMRG (COD_MRG, NOM_CAMPO, TAM_IMP, PRINT_CAMPO, AUX_2) values (13, 'NOME', 5, NULL, 1)");
    Executar(
        "insert into FORMATMRG (COD_MRG, NOM_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, AUX_5) "
        "values (13, 'REFERENCIA', 4, 8, 'T', 1, 3, 2, 'do varejo')");
    const std::string alheias = "not (cod_mrg=13 and coalesce(Print_campo, '')='T') and (cod_mrg<>113 or ord_imp=9)";
    const auto antes = Tabela(alheias);
    ASSERT_EQ(antes.size(), 4u);

    TLeiaute09 lido = LerLeiaute09(Outro());
    ASSERT_TRUE(lido.temCabecalho);
    EXPECT_EQ(lido.porLinha, 2);
    ASSERT_EQ(lido.campos.size(), 1u);
    TLeiaute09 novo = lido;
    novo.porLinha = 3;
    novo.campos[0].horizontal = 5;
    novo.campos.push_back(Campo09("TEXTO LIVRE 1", "OFERTA", 10, 2, 9, 1));
    GravarLeiaute09(Outro(), novo, lido);

    EXPECT_EQ(Tabela(alheias), antes);
    // The header keeps its other columns; the field row its ORD_IMP and AUX_5.
    EXPECT_EQ(Tabela("cod_mrg=113 and ord_imp<>9"),
              std::vector<std::string>{"COD_MRG=113;NOM_CAMPO=CAB;TIT_CAMPO=TITULO;ORD_IMP=3;TAM_IMP=40;"
                                       "PRINT_CAMPO=S;AUX_1=7;AUX_2=<null>;AUX_3=<null>;AUX_4=x;AUX_5=y;"});
    EXPECT_EQ(Tabela("cod_mrg=13 and Print_campo='T'"),
              (std::vector<std::string>{
                  "COD_MRG=13;NOM_CAMPO=REFERENCIA;TIT_CAMPO=<null>;ORD_IMP=4;TAM_IMP=8;PRINT_CAMPO=T;AUX_1=1;AUX_2=3;"
                  "AUX_3=5;AUX_4=<null>;AUX_5=do varejo;",
                  "COD_MRG=13;NOM_CAMPO=TEXTO LIVRE 1;TIT_CAMPO=OFERTA;ORD_IMP=<null>;TAM_IMP=10;PRINT_CAMPO=T;AUX_1=2;"
                  "AUX_2=9;AUX_3=1;AUX_4=<null>;AUX_5=<null>;"}));
}

TEST_F(Leiaute09, NadaGravadoComValorRuimOuDesenhoMudadoPorOutraEstacao) {
    Cabecalho(2, 40);
    Campo("NOME", "", 20, 2, 2, 1);
    const auto antes = Tabela();
    const TLeiaute09 lido = LerLeiaute09(Outro());

    struct Caso {
        const char* descricao;
        std::function<void(TLeiaute09&)> muda;
    };
    const std::vector<Caso> ruins{
        {"posição negativa", [](TLeiaute09& l) { l.campos[0].vertical = -1; }},
        {"posição que estoura ao virar décimos", [](TLeiaute09& l) { l.campos[0].horizontal = 214748365; }},
        {"texto além de 30 caracteres",
         [](TLeiaute09& l) { l.campos.push_back(Campo09("TEXTO LIVRE", std::string(31, 'x'), 5, 1, 1, 1)); }},
        {"variante além de 50 caracteres", [](TLeiaute09& l) { l.campos[0].variante = std::string(51, 'A'); }},
        {"passo negativo", [](TLeiaute09& l) { l.passo = -36; }},
        // What the table would keep changed: a NUL, an emoji Windows-1252 lacks.
        {"NUL no texto",
         [](TLeiaute09& l) { l.campos.push_back(Campo09("TEXTO LIVRE", std::string("A\0B", 3), 5, 1, 1, 1)); }},
        {"emoji no nome", [](TLeiaute09& l) { l.campos[0].nome = "NOME \xF0\x9F\x98\x80"; }},
        {"mais campos do que uma etiqueta leva",
         [](TLeiaute09& l) { l.campos.resize(kMaximoCamposLeiaute09 + 1, l.campos[0]); }},
    };
    for (const Caso& c : ruins) {
        TLeiaute09 novo = Gondola();
        novo.campos[0].ordImp = 1;
        c.muda(novo);
        EXPECT_THROW(GravarLeiaute09(Outro(), novo, lido), Exception) << c.descricao;
        EXPECT_EQ(Tabela(), antes) << c.descricao;
    }

    Executar("update FormatMrg set AUX_3=4 where cod_mrg=13");  // another workstation
    const auto mudada = Tabela();
    try {
        GravarLeiaute09(Outro(), Gondola(), lido);
        ADD_FAILURE() << "gravou sobre o desenho de outra estação";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("alterado por outra estação"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Tabela(), mudada);
}

TEST_F(Leiaute09, ArquivoIdaEVolta) {
    TLeiaute09 l = Gondola();
    l.temCabecalho = true;
    l.campos.push_back(Campo09("TEXTO LIVRE 2", "Só hoje!", 12, 3, 14, 0));
    const std::string arquivo = TextoLeiaute09(l);
    EXPECT_EQ(LerTextoLeiaute09(arquivo), l) << arquivo;
    // As Windows editors save it: a byte-order mark and CR LF line ends.
    std::string windows = "\xEF\xBB\xBF";
    for (char c : arquivo) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(LerTextoLeiaute09(windows), l);

    GravarLeiaute09(Outro(), LerTextoLeiaute09(arquivo), LerLeiaute09(Outro()));
    EXPECT_EQ(TextoLeiaute09(LerLeiaute09(Outro())), arquivo);
}

TEST_F(Leiaute09, ArquivoRuimRecusadoNomeandoALinha) {
    struct Caso {
        const char* texto;
        int linha;
    };
    const std::string bom = "[campo]\nimprime = NOME\ntamanho = 20\n";
    const Caso casos[]{
        {"[etiqueta]\npor_linha = 3,5\n", 2},
        {"[etiqueta]\npasso_mm = -1\n", 2},
        {"# comentario\n[campo]\nimprime = NOME\ntamanho = 99999999999\n", 4},
        {"[campo]\nimprime = NOME\nvertical_mm = 214748365\n", 3},
        {"[campo]\nimprime =\n", 2},
        {"[campo]\nimprime = NOME\nfonte =\n", 3},
        {"[campo]\nimprime = TEXTO LIVRE\ntexto = 1234567890123456789012345678901\n", 3},
        {"[campo]\ntamanho = 3\n\n[campo]\nimprime = NOME\n", 1},
        {"[campo]\nimprime = NOME\ncor = azul\n", 3},
        {"por_linha = 3\n", 1},
        {"[etiqueta]\n[etiqueta]\n", 2},
        {"[etiquetas]\n", 1},
        {"[campo]\nimprime NOME\n", 2},
    };
    for (const Caso& c : casos) {
        try {
            LerTextoLeiaute09(bom + "\n" + c.texto);
            ADD_FAILURE() << "aceito: " << c.texto;
        } catch (const Exception& e) {
            const int linha = c.linha + 4;  // after the good part and the blank line
            EXPECT_EQ(std::string(e.what()).rfind("Linha " + std::to_string(linha) + ": ", 0), 0u)
                << c.texto << " -> " << e.what();
        }
    }
}

// No text reaches the table changed without a word: what the file holds is
// stored as it is, or the file is refused naming the line and the character.
// Messages name the file's keys, and quote a long value by its beginning.
TEST(ArquivoLeiaute09, TextoRecusadoNomeiaLinhaECaractere) {
    const std::string inicio = "[etiqueta]\npor_linha = 1\n[campo]\nimprime = TEXTO LIVRE\n";  // lines 1 to 4
    struct Caso {
        const char* descricao;
        std::string resto;  // from line 5
        std::string erro;
    };
    const Caso casos[] = {
        {"Windows-1252", "texto = Pre\xE7o\n",
         "Linha 5: tem um byte que não forma texto (byte 0xE7): o arquivo precisa estar em UTF-8. Nada foi gravado."},
        {"emoji", "texto = OFERTA \xF0\x9F\x98\x80\n",
         "Linha 5: tem o caractere \"\xF0\x9F\x98\x80\" (U+1F600), que o banco de dados da loja não guarda. Nada "
         "foi gravado."},
        {"NUL", std::string("texto = A\0B\n", 12),
         "Linha 5: tem um caractere de controle (byte 0x00). Nada foi gravado."},
        {"NUL no fim do valor", std::string("texto = AB\0\n", 12),
         "Linha 5: tem um caractere de controle (byte 0x00). Nada foi gravado."},
        {"tab dentro do texto", "texto = A\tB\n",
         "Linha 5: texto tem um caractere de controle (byte 0x09). Nada foi gravado."},
        {"CR sozinho no meio", "texto = A\rtamanho = 3\n",
         "Linha 5: tem um caractere de controle (byte 0x0D). Nada foi gravado."},
        {"UTF-8 cortado no fim do arquivo", "texto = Pre\xC3",
         "Linha 5: tem um byte que não forma texto (byte 0xC3): o arquivo precisa estar em UTF-8. Nada foi gravado."},
        {"marca de ordem fora do começo",
         "texto = \xEF\xBB\xBF"
         "A\n",
         "Linha 5: tem o caractere \"\xEF\xBB\xBF\" (U+FEFF), que o banco de dados da loja não guarda. Nada foi "
         "gravado."},
        {"chave repetida", "texto = A\ntamanho = 3\ntexto = B\n",
         "Linha 7: texto repetida nesta seção (já na linha 5). Nada foi gravado."},
        {"vertical repetida", "vertical_mm = 1\nvertical_mm = 2\n",
         "Linha 6: vertical_mm repetida nesta seção (já na linha 5). Nada foi gravado."},
        {"chave do arquivo, não a coluna", "vertical_mm = 214748365\n",
         "Linha 5: vertical_mm fora do intervalo de 0 a 214748364: 214748365. Nada foi gravado."},
        {"texto longo citado pelo começo", "texto = " + std::string(1000000, 'x') + "\n",
         "Linha 5: texto passa de 30 caracteres: \"" + std::string(40, 'x') +
             "…\" (1000000 caracteres). Nada foi gravado."},
        {"linha enorme sem fim de linha", std::string(10000000, 'y'),
         "Linha 5: linha não entendida: \"" + std::string(40, 'y') + "…\" (10000000 caracteres). Nada foi gravado."},
        {"número enorme", "tamanho = " + std::string(5000, '9') + "\n",
         "Linha 5: tamanho pede um número inteiro de 0 a 214748364, não \"" + std::string(40, '9') +
             "…\" (5000 caracteres). Nada foi gravado."},
    };
    for (const Caso& c : casos) {
        try {
            LerTextoLeiaute09(inicio + c.resto);
            ADD_FAILURE() << "aceito: " << c.descricao;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.erro) << c.descricao;
        }
    }
    // The same line in the words of a Portuguese label, in UTF-8, is kept as it is.
    const TLeiaute09 l = LerTextoLeiaute09(inicio + "texto = Preço ½ € Descrição\n");
    EXPECT_EQ(l.campos.at(0).titulo, "Preço ½ € Descrição");
}

// A file that holds no design would wipe the shop's: refused, naming the file.
TEST(ArquivoLeiaute09, SemCampoOuSemEtiquetaRecusado) {
    struct Caso {
        std::string texto, erro;
    };
    const Caso casos[] = {
        {"", "O arquivo vazio.ini não tem nenhum campo: nada foi gravado."},
        {"\xEF\xBB\xBF", "O arquivo vazio.ini não tem nenhum campo: nada foi gravado."},
        {"# só comentários\r\n\r\n; e linhas em branco\r\n",
         "O arquivo vazio.ini não tem nenhum campo: nada foi gravado."},
        {"[etiqueta]\npor_linha = 3\npasso_mm = 36\n", "O arquivo vazio.ini não tem nenhum campo: nada foi gravado."},
        {"[campo]\nimprime = NOME\n",
         "O arquivo vazio.ini não tem a seção [etiqueta] (por_linha e passo_mm): nada foi gravado."},
        {"[etiqueta]\n[campo]\nimprime = NOME\nvertical_mm = 2.5\n",
         "vazio.ini, Linha 4: vertical_mm pede um número inteiro de 0 a 214748364, não \"2.5\". Nada foi gravado."},
    };
    for (const Caso& c : casos) {
        try {
            LerTextoLeiaute09(c.texto, "vazio.ini");
            ADD_FAILURE() << "aceito: " << c.texto;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.erro) << c.texto;
        }
    }
}

// The number of fields is bounded as the file is read: a file of 100,000
// fields stops at the first one past the bound.
TEST(ArquivoLeiaute09, CamposAlemDoQueAEtiquetaLevaRecusados) {
    std::string texto = "[etiqueta]\npor_linha = 1\npasso_mm = 40\n";
    for (size_t i = 0; i < kMaximoCamposLeiaute09; ++i) texto += "[campo]\nimprime = NOME\n";
    EXPECT_EQ(LerTextoLeiaute09(texto).campos.size(), kMaximoCamposLeiaute09);
    std::string muitos = texto;
    for (int i = 0; i < 100000; ++i) muitos += "[campo]\nimprime = NOME\n";
    try {
        LerTextoLeiaute09(muitos);
        ADD_FAILURE() << "aceito";
    } catch (const Exception& e) {
        const int linha = 4 + 2 * static_cast<int>(kMaximoCamposLeiaute09);
        EXPECT_EQ(e.Message(), "Linha " + std::to_string(linha) +
                                   ": mais de 200 campos; uma etiqueta do modelo 09 leva no máximo 200. Nada foi "
                                   "gravado.");
    }
}

// A name model 09 does not know is the shop's business: saved and read as it
// is, printed as an empty text, and named by a warning instead of refused.
TEST_F(Leiaute09, NomeForaDoVocabularioGravadoComAviso) {
    TLeiaute09 l = Gondola();
    l.campos[0].nome = "nome";
    GravarLeiaute09(Outro(), l, LerLeiaute09(Outro()));
    EXPECT_EQ(LerLeiaute09(Outro()).campos.at(0).nome, "nome");
    const auto avisos = AvisosLeiaute09(l, etqPpla);
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].campo, 0);
    EXPECT_EQ(avisos[0].texto.rfind("Campo 1 (nome): o modelo 09 não conhece este nome", 0), 0u) << avisos[0].texto;
    const TLeiaute09 arquivo = LerTextoLeiaute09("[etiqueta]\n[campo]\nimprime = NOME DO PRODUTO\n");
    EXPECT_EQ(arquivo.campos.at(0).nome, "NOME DO PRODUTO");
}

TEST(Avisos09, CadaCasoUmAvisoNoCampoCerto) {
    struct Caso {
        const char* descricao;
        std::function<void(TLeiaute09&)> muda;
        TCdbETQModelo linguagem;
        std::vector<TAviso09> esperados;
    };
    auto campo = [](const char* nome, int v, int h, int tamanho = 10, const char* variante = "") {
        return CampoLeiaute09(nome, tamanho, 0, v, h, variante);
    };
    TLeiaute09 base;
    base.porLinha = 3;
    base.passo = 36;
    base.campos = {campo("NOME", 2, 1), campo("VALOR DE VENDA", 6, 1), campo("CODIGO DE BARRAS", 10, 2, 10, "A")};
    const std::vector<Caso> casos{
        {"nada a dizer", [](TLeiaute09&) {}, etqPpla, {}},
        {"PPLB imprime barras", [](TLeiaute09&) {}, etqPplb, {}},
        {"barras em ZPL",
         [](TLeiaute09&) {},
         etqZPLII,
         {{2,
           "Campo 3 (CODIGO DE BARRAS): a impressora está configurada em ZPL, e nessa linguagem o modelo 09 não "
           "imprime código de barras (só em PPLA e PPLB)."}}},
        {"barras em EPL2",
         [](TLeiaute09&) {},
         etqEpl2,
         {{2,
           "Campo 3 (CODIGO DE BARRAS): a impressora está configurada em EPL2, e nessa linguagem o modelo 09 não "
           "imprime código de barras (só em PPLA e PPLB)."}}},
        {"tamanho 0",
         [](TLeiaute09& l) { l.campos[1].tamanho = 0; },
         etqPpla,
         {{1, "Campo 2 (VALOR DE VENDA): tamanho 0: nada é impresso."}}},
        {"mesmo lugar",
         [&](TLeiaute09& l) { l.campos.push_back(campo("TEXTO LIVRE", 6, 1)); },
         etqPpla,
         {{3,
           "Campo 2 (VALOR DE VENDA) e Campo 4 (TEXTO LIVRE) estão no mesmo lugar (vertical 6 mm, horizontal "
           "1 mm)."}}},
        {"três no mesmo lugar: um aviso só",
         [&](TLeiaute09& l) {
             l.campos.push_back(campo("TEXTO LIVRE", 6, 1));
             l.campos.push_back(campo("NOME", 6, 1));
         },
         etqPpla,
         {{3,
           "2 campos no mesmo lugar que o Campo 2 (VALOR DE VENDA) (vertical 6 mm, horizontal 1 mm): Campo 4 "
           "(TEXTO LIVRE) e Campo 5 (NOME)."}}},
        {"duzentos no mesmo lugar: os cinco primeiros nomeados",
         [&](TLeiaute09& l) {
             for (int i = 0; i < 197; ++i) l.campos.push_back(campo("NOME", 2, 1));
         },
         etqPpla,
         {{3,
           "197 campos no mesmo lugar que o Campo 1 (NOME) (vertical 2 mm, horizontal 1 mm): Campo 4 (NOME), "
           "Campo 5 (NOME), Campo 6 (NOME), Campo 7 (NOME), Campo 8 (NOME) e mais 192."}}},
        {"zero por linha",
         [](TLeiaute09& l) { l.porLinha = 0; },
         etqPpla,
         {{-1,
           "Etiquetas por linha 0: nenhuma linha se completa, todas as etiquetas da impressão saem umas sobre "
           "as outras numa só imagem no fim."}}},
        {"passo 0",
         [](TLeiaute09& l) { l.passo = 0; },
         etqPpla,
         {{-1, "Passo 0 mm com 3 etiquetas por linha: as etiquetas de uma linha saem umas sobre as outras."}}},
    };
    for (const Caso& c : casos) {
        TLeiaute09 l = base;
        c.muda(l);
        EXPECT_EQ(AvisosLeiaute09(l, c.linguagem), c.esperados) << c.descricao;
    }
}

TEST(Avisos09, CelulaSoAceitaInteiroQueACabeGuarda) {
    struct Caso {
        const char* texto;
        std::optional<int> valor;
        const char* erro;  // start of the message
    };
    const Caso casos[]{
        {"12", 12, ""},
        {" 7 ", 7, ""},
        {"0", 0, ""},
        {"214748364", 214748364, ""},
        {"214748365", std::nullopt, "Passa do que a coluna guarda (até 214748364)"},
        {"99999999999", std::nullopt, "Passa do que a coluna guarda"},
        {"3,5", std::nullopt, "Só números inteiros, sem vírgula nem ponto: \"3,5\""},
        {"3.5", std::nullopt, "Só números inteiros"},
        {"-1", std::nullopt, "Não pode ser negativo: \"-1\"."},
        {"", std::nullopt, "Escreva um número inteiro de 0 a 214748364."},
        {"abc", std::nullopt, "Só números inteiros"},
    };
    for (const Caso& c : casos) {
        std::string erro;
        EXPECT_EQ(InteiroLeiaute09(c.texto, erro), c.valor) << c.texto;
        EXPECT_EQ(erro.rfind(c.erro, 0), 0u) << c.texto << " -> " << erro;
    }
}

TEST(Avisos09, VarianteDescritaParaAImpressoraConfigurada) {
    struct Caso {
        const char* variante;
        TCdbETQModelo linguagem;
        const char* impressora;
        const char* descricao;
    };
    const Caso casos[]{
        {"A", etqPpla, "ARGOX",
         "Códigos de 13 dígitos saem em EAN-13 com os números; os demais em Code 128 com os números (impressora "
         "Argox: a letra só decide os números)."},
        {"X", etqPpla, "ARGOX",
         "Códigos de 13 dígitos saem em EAN-13 sem os números; os demais em Code 128 sem os números (impressora "
         "Argox: a letra só decide os números)."},
        {"A", etqPpla, "ELGIN",
         "Códigos de 13 dígitos saem em EAN-13 com os números; os demais no tipo PPLA \"A\" (Code 39) com os números "
         "(impressora Elgin: a letra escolhe o tipo)."},
        {"t", etqPpla, "ELGIN",
         "Códigos de 13 dígitos saem em EAN-13 sem os números; os demais no tipo PPLA \"T\" (Telepen) sem os "
         "números (impressora Elgin: a letra escolhe o tipo)."},
        {"D", etqPplb, "ELGIN",
         "Códigos de 13 dígitos saem em EAN-13, os demais em Code 128, com os números (só A e D mostram os "
         "números)."},
        {"A", etqZPLII, "ARGOX", "Em ZPL o modelo 09 não imprime código de barras: a letra não muda nada."},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(DescricaoVariante09(c.variante, c.linguagem, c.impressora), c.descricao) << c.variante;
}

}  // namespace
