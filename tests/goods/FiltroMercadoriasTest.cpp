// The goods statement and the row-check statements, built from options alone.
#include <gtest/gtest.h>

#include <functional>

#include "common/Excecoes.h"
#include "goods/FiltroMercadorias.h"
#include "suporte/Suporte.h"

namespace {

std::vector<std::string> Esperado(std::initializer_list<std::pair<size_t, const char*>> slots) {
    std::vector<std::string> l = SQLMercadoriasInicial();
    l[kSlotOrdem] = "";
    for (auto [slot, texto] : slots) l[slot] = texto;
    return l;
}

const char* const kOrdemCodigo = "Order by M.COD_RED";

}  // namespace

TEST(SQLMercadorias, PadraoSelecionaOsAtivosPorCodigo) {
    const std::vector<std::string> l = SQLMercadorias(TOpcoesMercadorias{});
    ASSERT_EQ(l.size(), 58u);
    EXPECT_EQ(l[0], "select m.lucro,m.lucro2,m.lucro3, ");
    EXPECT_EQ(l[7], "M.ALIQ_ICMS, M.COD_NCM, M.ICM_PROG ,M.CUSTO_OPE ");
    EXPECT_EQ(l[8], "from MERCADORIAS M where( M.COD_RED>0)");
    EXPECT_EQ(l, Esperado({{35, "AND (M.Pro_ATIVO ='T')"}, {42, kOrdemCodigo}}));
}

TEST(SQLMercadorias, ProdutosDesmarcadoNaoOlhaProAtivo) {
    TOpcoesMercadorias o;
    o.chkProAtivos = false;
    EXPECT_EQ(SQLMercadorias(o), Esperado({{42, kOrdemCodigo}}));
}

TEST(SQLMercadorias, ExemploComTresOpcoes) {
    TOpcoesMercadorias o;
    o.chkCodRed = true;
    o.edtCod1 = "1";
    o.edtCod2 = "50";
    o.chkNome = true;
    o.edtNome = "cal";
    EXPECT_EQ(SQLMercadorias(o), Esperado({{9, "AND (M.cod_red>=1)AND (M.cod_red<=50)"},
                                           {12, "AND (upper(M.NOM_MER) Like 'CAL%')"},
                                           {35, "AND (M.Pro_ATIVO ='T')"},
                                           {42, kOrdemCodigo}}));
}

TEST(SQLMercadorias, SegundaRodadaTrocaAOrdemESemRastroDoQueSaiu) {
    TOpcoesMercadorias o;
    o.chkNome = true;
    o.edtNome = "x";
    o.chkEstoque = true;
    SQLMercadorias(o);
    o.chkNome = false;
    o.chkEstoque = false;
    o.Ordem = TOrdemListagem::NomeMer;
    EXPECT_EQ(SQLMercadorias(o), Esperado({{35, "AND (M.Pro_ATIVO ='T')"}, {42, "Order by M.NOM_MER"}}));
    o.Ordem = TOrdemListagem::CodigoBar;
    EXPECT_EQ(SQLMercadorias(o)[42], "Order by M.COD_BAR");
}

TEST(SQLMercadorias, FragmentoDeCadaOpcao) {
    struct Caso {
        size_t slot;
        std::function<void(TOpcoesMercadorias&)> marcar;
        const char* fragmento;
    };
    const Caso casos[] = {
        {10,
         [](auto& o) {
             o.chkBarras = true;
             o.edtcodbarras = "789";
         },
         "AND (M.COD_BAR Like '789%')"},
        {11,
         [](auto& o) {
             o.chkDiferente = true;
             o.edtDiferente = "0";
         },
         "AND (M.COD_BAR <> '0')"},
        {12,
         [](auto& o) {
             o.chkNome = true;
             o.edtNome = "D'AGUA";
         },
         "AND (upper(M.NOM_MER) Like 'D''AGUA%')"},
        {12,
         [](auto& o) {
             o.chkNome = true;
             o.edtNome = "calção";
         },
         "AND (upper(M.NOM_MER) Like 'CALçãO%')"},
        {13,
         [](auto& o) {
             o.chkDepartamento = true;
             o.edtDepartamento = 5;
         },
         "AND (M.Dep_MER =5 )"},
        {14,
         [](auto& o) {
             o.chkFornecedor = true;
             o.edtFornecedor = 12;
         },
         "AND (M.COD_FOR =12 )"},
        {15,
         [](auto& o) {
             o.chkReferencia = true;
             o.edtReferencia = "ab-1";
         },
         "AND (upper(M.Ref_Mer) Like 'AB-1%')"},
        {16,
         [](auto& o) {
             o.chkLocaliz = true;
             o.edtLocaliz = "A1";
         },
         "And (M.Loc_Mer Like 'A1%')"},
        {17,
         [](auto& o) {
             o.chkProEstoque = true;
             o.rMarcados = true;
         },
         "AND (M.Pro_Est ='T')"},
        {17,
         [](auto& o) {
             o.chkProEstoque = true;
             o.rDesmarcados = true;
         },
         "AND (M.Pro_Est ='F')"},
        {17, [](auto& o) { o.chkProEstoque = true; }, "AND (M.Pro_Est ='F')"},
        {20, [](auto& o) { o.chkEstoqueM0 = true; }, "and (M.Qtd_Est<0)"},
        {21, [](auto& o) { o.chkEstoque2 = true; }, "and (M.Qtd_Est_2>0)"},
        {22, [](auto& o) { o.chkEstoque02 = true; }, "and (M.Qtd_Est_2=0)"},
        {23, [](auto& o) { o.chkEstoqueM02 = true; }, "and (M.Qtd_Est_2<0)"},
        {26, [](auto& o) { o.chkEstoque = true; }, "and (M.Qtd_Est>0)"},
        {27, [](auto& o) { o.chkEstoque0 = true; }, "and (M.Qtd_Est=0)"},
        {31,
         [](auto& o) {
             o.chkPiscofins = true;
             o.edtPis = 3;
         },
         "AND (M.COD_TRI_PC=3 )"},
        {32,
         [](auto& o) {
             o.chkDataEmi = true;
             o.edtData1 = "05/03/2025";
             o.edtData2 = "31/12/2025";
         },
         "AND (M.Data_Alt>='03/05/2025') AND (M.Data_Alt<='12/31/2025')"},
        {33, [](auto& o) { o.chkMinimo = true; }, "AND (M.qtd_Est <= M.Qtd_Min)"},
        {34,
         [](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista = "789\n\n  123 \t\r\n";
         },
         "and ((cod_bar='789') or (cod_bar='123'))"},
        {35, [](auto& o) { o.rbAtivos = false; }, "AND (M.Pro_ATIVO ='F')"},
        {36,
         [](auto& o) {
             o.chkICms = true;
             o.edtICMS = 7;
         },
         "AND (M.COD_TRI_ICM=7 )"},
        {37, [](auto& o) { o.chkGrade = true; }, "AND (M.TEM_GRADE ='T')"},
        {37,
         [](auto& o) {
             o.chkGrade = true;
             o.rdSim = false;
         },
         "AND (M.TEM_GRADE ='F')"},
        {38, [](auto& o) { o.chkEstMax = true; }, "AND (M.qtd_Est >= M.Qtd_Est_max)"},
    };
    for (const auto& c : casos) {
        TOpcoesMercadorias o;
        c.marcar(o);
        const std::vector<std::string> l = SQLMercadorias(o);
        EXPECT_EQ(l[c.slot], c.fragmento) << "slot " << c.slot;
        // Nothing else moves.
        std::vector<std::string> resto = l, padrao = SQLMercadorias(TOpcoesMercadorias{});
        resto[c.slot] = padrao[c.slot] = "";
        EXPECT_EQ(resto, padrao) << "slot " << c.slot;
    }
}

TEST(SQLMercadorias, AspasDigitadasFicamDentroDoTexto) {
    TOpcoesMercadorias o;
    o.chkBarras = true;
    o.edtcodbarras = "7');delete from etiquetaread--";  // as long as the column
    o.chkDiferente = true;
    o.edtDiferente = "a'b";
    o.chkLocaliz = true;
    o.edtLocaliz = "'";
    o.chkListaCodBar = true;
    o.memoLista = "1' or '1'='1";
    const std::vector<std::string> l = SQLMercadorias(o);
    EXPECT_EQ(l[10], "AND (M.COD_BAR Like '7'');delete from etiquetaread--%')");
    EXPECT_EQ(l[11], "AND (M.COD_BAR <> 'a''b')");
    EXPECT_EQ(l[16], "And (M.Loc_Mer Like '''%')");
    EXPECT_EQ(l[34], "and ((cod_bar='1'' or ''1''=''1'))");
}

TEST(ValidarOpcoes, RecusaComMensagemQueNomeiaOCampo) {
    struct Caso {
        std::function<void(TOpcoesMercadorias&)> marcar;
        const char* trecho;
    };
    const Caso casos[] = {
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod1 = "1 or 1=1";
         },
         "\"Código reduzido (de)\""},
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod2 = "";
         },
         "\"Código reduzido (até)\""},
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod2 = "-";
         },
         "\"Código reduzido (até)\""},
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod1 = " 5";
         },
         "\"Código reduzido (de)\""},
        {[](auto& o) {
             o.chkNNota = true;
             o.edtNNota = "12;";
         },
         "\"Numero da nota de compra\""},
        {[](auto& o) { o.chkDepartamento = true; }, "\"Departamento ( exato )\""},
        {[](auto& o) { o.chkFornecedor = true; }, "\"Fornecedor\""},
        {[](auto& o) { o.chksetor = true; }, "\"Setor\""},
        {[](auto& o) { o.chkPiscofins = true; }, "\"Tributação de PIS e COFINS\""},
        {[](auto& o) { o.chkICms = true; }, "\"Tributação de ICMS\""},
        {[](auto& o) {
             o.chkDataEmi = true;
             o.edtData1 = "01/01/2025";
             o.edtData2 = "31/02/2025";
         },
         "\"Data da alteracão de preços\""},
        {[](auto& o) {
             o.chkDataCompra = true;
             o.edtDtC1 = "";
             o.edtDtC2 = "01/01/2025";
         },
         "\"Data de emissão da compra\""},
        {[](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista = " \n\t\n";
         },
         "listagem não tem nenhum código"},
    };
    for (const auto& c : casos) {
        TOpcoesMercadorias o;
        c.marcar(o);
        const std::string m = MensagemDe<Exception>([&] { SQLMercadorias(o); });
        EXPECT_NE(m.find(c.trecho), std::string::npos) << m;
    }
}

// What the database would refuse in English, or match as something else, is
// refused in Portuguese before anything is sent, naming the field.
TEST(ValidarOpcoes, ForaDaFaixaDaColunaOuDoCodigoDeCaracteres) {
    const std::string cemMil(100000, 'A');
    struct Caso {
        std::function<void(TOpcoesMercadorias&)> marcar;
        std::string mensagem;
    };
    const Caso casos[] = {
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod1 = "1";
             o.edtCod2 = "99999999999999999999999999";
         },
         "O campo \"Código reduzido (até)\" aceita números de -2147483648 a 2147483647; "
         "'99999999999999999999999999' está fora da faixa."},
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod1 = "-9223372036854775809";
             o.edtCod2 = "1";
         },
         "O campo \"Código reduzido (de)\" aceita números de -2147483648 a 2147483647; "
         "'-9223372036854775809' está fora da faixa."},
        {[](auto& o) {
             o.chkCodRed = true;
             o.edtCod1 = "2147483648";
         },
         "O campo \"Código reduzido (de)\" aceita números de -2147483648 a 2147483647; '2147483648' está fora da "
         "faixa."},
        {[](auto& o) {
             o.chkNNota = true;
             o.edtNNota = "99999999999999999999999999";
         },
         "O campo \"Numero da nota de compra\" aceita números de -2147483648 a 2147483647; "
         "'99999999999999999999999999' está fora da faixa."},
        {[](auto& o) {
             o.chkDataEmi = true;
             o.edtData1 = "01/01/0000";
             o.edtData2 = "01/03/2026";
         },
         "A opção \"Data da alteracão de preços\" está marcada, mas '01/01/0000' está fora das datas que o banco de "
         "dados guarda (01/01/0001 a 31/12/9999)."},
        {[](auto& o) {
             o.chkDataCompra = true;
             o.edtDtC1 = "01/01/2026";
             o.edtDtC2 = "31/12/0000";
         },
         "A opção \"Data de emissão da compra\" está marcada, mas '31/12/0000' está fora das datas que o banco de "
         "dados guarda (01/01/0001 a 31/12/9999)."},
        {[&](auto& o) {
             o.chkNome = true;
             o.edtNome = cemMil;
         },
         "O campo \"Nome do produto\" tem 100000 caracteres; o campo guarda no máximo 50."},
        {[&](auto& o) {
             o.chkLocaliz = true;
             o.edtLocaliz = cemMil;
         },
         "O campo \"Localização\" tem 100000 caracteres; o campo guarda no máximo 10."},
        {[&](auto& o) {
             o.chkBarras = true;
             o.edtcodbarras = cemMil;
         },
         "O campo \"Código de barras igual a\" tem 100000 caracteres; o campo guarda no máximo 30."},
        {[](auto& o) {
             o.chkNome = true;
             o.edtNome =
                 "\xF0\x9F\x98\x80"
                 "ABC";
         },
         "O campo \"Nome do produto\" tem o caractere \"\xF0\x9F\x98\x80\" (U+1F600), que o banco de dados da loja "
         "não guarda."},
        {[](auto& o) {
             o.chkReferencia = true;
             o.edtReferencia =
                 "REF\xE2\x86\x92"
                 "1";
         },
         "O campo \"Referência\" tem o caractere \"\xE2\x86\x92\" (U+2192), que o banco de dados da loja não guarda."},
        {[](auto& o) {
             o.chkBarras = true;
             o.edtcodbarras = "78\xFF";
         },
         "O campo \"Código de barras igual a\" tem um byte que não forma texto (byte 0xFF)."},
        {[](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista = "789\n\n12" + std::string(1, '\0') + "3\n";
         },
         "A linha 3 da listagem de códigos de barras tem um caractere de controle (byte 0x00): confira o arquivo."},
        {[](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista =
                 "789\n7\x1B"
                 "8\n";
         },
         "A linha 2 da listagem de códigos de barras tem um caractere de controle (byte 0x1B): confira o arquivo."},
        {[](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista = "789\n7\xF0\x9F\x98\x80\n";
         },
         "A linha 2 da listagem de códigos de barras tem o caractere \"\xF0\x9F\x98\x80\" (U+1F600), que o banco de "
         "dados da loja não guarda: confira o arquivo."},
        {[](auto& o) {
             o.chkListaCodBar = true;
             o.memoLista = std::string(31, '7');
         },
         "A linha 1 da listagem de códigos de barras tem 31 caracteres; o campo guarda no máximo 30: confira o "
         "arquivo."},
    };
    for (const auto& c : casos) {
        TOpcoesMercadorias o;
        c.marcar(o);
        EXPECT_EQ(MensagemDe<Exception>([&] { SQLMercadorias(o); }), c.mensagem);
    }
}

// The edges of what is accepted: the column's own length and range, accented
// letters of the code page, control characters only at the ends of a list line.
TEST(ValidarOpcoes, NoLimiteAindaPassa) {
    TOpcoesMercadorias o;
    o.chkCodRed = true;
    o.edtCod1 = "-2147483648";
    o.edtCod2 = "0002147483647";
    o.chkNome = true;
    o.edtNome = "CALÇÃO " + std::string(43, 'X');  // 50 characters
    o.chkDataEmi = true;
    o.edtData1 = "01/01/0001";
    o.edtData2 = "31/12/9999";
    o.chkListaCodBar = true;
    o.memoLista = std::string(1, '\0') + "\t789\r\n" + std::string(30, '1');
    EXPECT_NO_THROW(ValidarOpcoes(o));
    EXPECT_EQ(SQLMercadorias(o)[34], "and ((cod_bar='789') or (cod_bar='" + std::string(30, '1') + "'))");
}

// Up to the bound the list stays in the statement, character for character;
// above it (counting each code once) the statement reads the temporary table.
TEST(SQLMercadorias, ListaAteOLimiteNaInstrucaoAcimaNaTabela) {
    auto lista = [](size_t n, size_t repetidas) {
        std::string memo;
        for (size_t i = 0; i < n; ++i) memo += std::to_string(7890000000000L + i) + "\n";
        for (size_t i = 0; i < repetidas; ++i) memo += " 7890000000000 \n";
        return memo;
    };
    const std::string tabela = "and (cod_bar in (select L.COD_BAR from ETIQUETALISTA L))";
    struct Caso {
        size_t codigos, repetidas;
        bool naTabela;
    };
    for (const Caso& c :
         {Caso{1, 0, false}, Caso{kMaximoCodigosNaInstrucao, 0, false}, Caso{kMaximoCodigosNaInstrucao, 50, false},
          Caso{kMaximoCodigosNaInstrucao + 1, 0, true}, Caso{40000, 0, true}}) {
        SCOPED_TRACE(c.codigos);
        TOpcoesMercadorias o;
        o.chkListaCodBar = true;
        o.memoLista = lista(c.codigos, c.repetidas);
        EXPECT_EQ(SQLMercadorias(o)[34], c.naTabela ? tabela : ListaCodigosBarras(o.memoLista));
        EXPECT_EQ(CodigosDaLista(o.memoLista).size(), c.codigos);
    }
}

TEST(ValidarOpcoes, NumerosInteirosComSinalPassam) {
    TOpcoesMercadorias o;
    o.chkCodRed = true;
    o.edtCod1 = "-5";
    o.edtCod2 = "0012";
    o.chkNNota = true;
    o.edtNNota = "987654";
    EXPECT_NO_THROW(ValidarOpcoes(o));
    EXPECT_EQ(SQLMercadorias(o)[9], "AND (M.cod_red>=-5)AND (M.cod_red<=0012)");
}

TEST(SQLVerificacoes, TextosDeCadaVerificacaoDeLinha) {
    TOpcoesMercadorias o;
    EXPECT_EQ(LinhaNomeDepartamento(o), " ");
    o.chkDepartComposta = true;
    o.edtNomeDepart = "CAL";
    EXPECT_EQ(SQLDepartamento(LinhaNomeDepartamento(o), "12"),
              (std::vector<std::string>{"select cod_dep", "from departamentos", "where cod_dep>0",
                                        " and Nom_dep like 'CAL%'", " and cod_dep=012"}));
    o.edtNomeDepart = "O'BRIEN";
    EXPECT_EQ(LinhaNomeDepartamento(o), " and Nom_dep like 'O''BRIEN%'");
    EXPECT_EQ(SQLDepartamento(" ", "").back(), " and cod_dep=0");
    EXPECT_EQ(SQLSetor("LOJA'S", "5"),
              (std::vector<std::string>{"select cod_dep", "from departamentos", "where cod_dep>0",
                                        " and Nom_Setor = 'LOJA''S'", " and cod_dep = 05"}));
    EXPECT_EQ(SQLNotaCompra("123", "7"),
              (std::vector<std::string>{"Select m.cod_red, i.cod_mer, i.nro_not, i.integrador ",
                                        "from mercadorias m, itensCompra i ", "where m.cod_red = i.cod_mer ",
                                        "and   i.nro_not=123", "and   m.cod_red=7"}));
    EXPECT_EQ(
        SQLDataCompra("05/03/2025", "06/03/2025", "7"),
        (std::vector<std::string>{
            "Select m.cod_red, i.cod_mer, c.nro_not, c.integrador ", "from mercadorias m, itensCompra i, Compras c ",
            "where m.cod_red = i.cod_mer ", "and   i.nro_not = c.nro_not ", "and   i.integrador = c.integrador ",
            "and   c.data_emi>='03/05/2025'", "and   c.data_emi<='03/06/2025'", "and   m.cod_red=7"}));
}

TEST(VerificacoesDeDigitos, CodigosGeradosEFaixas) {
    EXPECT_TRUE(CodigoGerado("000123"));
    EXPECT_TRUE(CodigoGerado("A1"));
    EXPECT_FALSE(CodigoGerado("1234567"));
    EXPECT_FALSE(CodigoGerado(""));
    EXPECT_FALSE(CodigoGerado("ABC"));

    struct Caso {
        const char* valor;
        const char* de;
        const char* ate;
        bool dentro;
    };
    const Caso casos[] = {
        {"7891234567890", "7890000000000", "7899999999999", true},
        {"789123456789", "7890000000000", "7899999999999", false},
        {"ABC123", "100", "200", true},
        {"ABC123", "", "122", false},
        {"", "", "", true},
        {"0", "", "0", true},
        {"99999999999999999999", "1", "99999999999999999998", false},  // beyond 19 digits, still exact
        {"18446744073709551616", "18446744073709551615", "18446744073709551617", true},
        {"0007", "7", "7", true},
    };
    for (const auto& c : casos) EXPECT_EQ(NaFaixa(c.valor, c.de, c.ate), c.dentro) << c.valor;
}

// The label criteria take one slot that every other statement leaves empty;
// together they select the goods of either.
TEST(SQLMercadorias, CriteriosDeEtiquetaNumaLinhaSo) {
    const std::string desatualizada = CondicaoEtiquetaDesatualizada();
    const std::string nunca = CondicaoNuncaEtiquetada();
    struct Caso {
        bool desatualizada, nunca;
        std::string linha;
    };
    const Caso casos[] = {
        {false, false, ""},
        {true, false, "AND (M.PRO_ATIVO = 'T' AND " + desatualizada + ")"},
        {false, true, "AND (M.PRO_ATIVO = 'T' AND " + nunca + ")"},
        {true, true, "AND (M.PRO_ATIVO = 'T' AND (" + desatualizada + " OR " + nunca + "))"},
    };
    for (const Caso& c : casos) {
        TOpcoesMercadorias o;
        o.chkDesatualizada = c.desatualizada;
        o.chkNuncaEtiquetada = c.nunca;
        const std::vector<std::string> l = SQLMercadorias(o);
        ASSERT_EQ(l.size(), 58u);
        EXPECT_EQ(l[kSlotEtiqueta], c.linha);
        std::vector<std::string> resto = l;
        resto[kSlotEtiqueta].clear();
        EXPECT_EQ(resto, SQLMercadorias(TOpcoesMercadorias{}));
    }
    // Prices as the labels show them, two decimals; a model that printed none is no difference.
    EXPECT_NE(desatualizada.find("E.VLR_VEN <> cast(coalesce(M.VLR_VEN, 0) as numeric(18,2))"), std::string::npos);
    EXPECT_NE(desatualizada.find("E.VLR_VEN is not null"), std::string::npos);
}
