#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "PastaTemporaria.h"
#include "data/fb/EsquemaLoja.h"

using namespace fb;

namespace {

// Column -> "TYPE" as Firebird reports it (VARCHAR(30), NUMERIC(18,3), ...).
std::map<std::string, std::string> Colunas(TDatabase& db, const std::string& tabela) {
    TTransaction t(db, {"read_committed", "rec_version", "nowait"});
    TQuery q(db, t);
    q.Add("SELECT TRIM(RF.RDB$FIELD_NAME) AS COLUNA, F.RDB$FIELD_TYPE AS TIPO, F.RDB$FIELD_SUB_TYPE AS SUB,");
    q.Add(" F.RDB$FIELD_PRECISION AS PREC, F.RDB$FIELD_SCALE AS ESCALA, F.RDB$CHARACTER_LENGTH AS TAM");
    q.Add("FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE");
    q.Add("WHERE RF.RDB$RELATION_NAME = ?");
    q.ParamTexto(0, tabela);
    q.Open();
    std::map<std::string, std::string> r;
    for (; !q.Eof(); q.Next()) {
        int tipo = static_cast<int>(q.FieldByName("TIPO").AsInteger());
        int escala = static_cast<int>(-q.FieldByName("ESCALA").AsInteger());
        std::string t;
        if ((tipo == 16 || tipo == 8 || tipo == 7) && q.FieldByName("SUB").AsInteger() > 0)
            t = "NUMERIC(" + q.FieldByName("PREC").AsString() + "," + std::to_string(escala) + ")";
        else if (tipo == 8)
            t = "INTEGER";
        else if (tipo == 37)
            t = "VARCHAR(" + q.FieldByName("TAM").AsString() + ")";
        else if (tipo == 14)
            t = "CHAR(" + q.FieldByName("TAM").AsString() + ")";
        else if (tipo == 12)
            t = "DATE";
        else if (tipo == 261)
            t = "BLOB";
        else
            t = "tipo " + std::to_string(tipo);
        r[q.FieldByName("COLUNA").AsString()] = t;
    }
    return r;
}

// Every column of every user table ("TABELA.COLUNA" in table and position
// order, with its type) and every index with its columns.
std::vector<std::string> Estrutura(TDatabase& db) {
    std::vector<std::string> r;
    TTransaction t(db, {"read_committed", "rec_version", "nowait"});
    std::vector<std::string> tabelas;
    {
        TQuery q(db, t);
        q.Add("SELECT TRIM(RDB$RELATION_NAME) AS NOME FROM RDB$RELATIONS");
        q.Add("WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY RDB$RELATION_NAME");
        for (q.Open(); !q.Eof(); q.Next()) tabelas.push_back(q.FieldByName("NOME").AsString());
    }
    for (const auto& tabela : tabelas) {
        auto tipos = Colunas(db, tabela);
        TQuery q(db, t);
        q.Add("SELECT TRIM(RDB$FIELD_NAME) AS COLUNA FROM RDB$RELATION_FIELDS");
        q.Add("WHERE RDB$RELATION_NAME = ? ORDER BY RDB$FIELD_POSITION");
        q.ParamTexto(0, tabela);
        for (q.Open(); !q.Eof(); q.Next()) {
            std::string coluna = q.FieldByName("COLUNA").AsString();
            r.push_back(tabela + "." + coluna + " " + tipos[coluna]);
        }
    }
    TQuery q(db, t);
    q.Add(
        "SELECT TRIM(I.RDB$INDEX_NAME) AS INDICE, TRIM(I.RDB$RELATION_NAME) AS TABELA, TRIM(S.RDB$FIELD_NAME) AS "
        "COLUNA");
    q.Add("FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME");
    q.Add("WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0 AND I.RDB$INDEX_NAME NOT STARTING WITH 'RDB$'");
    q.Add("ORDER BY I.RDB$INDEX_NAME, S.RDB$FIELD_POSITION");
    for (q.Open(); !q.Eof(); q.Next())
        r.push_back("indice " + q.FieldByName("INDICE").AsString() + " " + q.FieldByName("TABELA").AsString() + "." +
                    q.FieldByName("COLUNA").AsString());
    return r;
}

}  // namespace

class Esquema : public BancoFb {};

TEST_F(Esquema, TemAsColunasQueOProgramaUsaComOsTipos) {
    CriarEsquemaLoja(db);
    struct Caso {
        const char *tabela, *coluna, *tipo;
    };
    const Caso casos[] = {
        {"ETIQUETAREAD", "CODIGO", "INTEGER"},
        {"ETIQUETAREAD", "BARRAS", "VARCHAR(30)"},
        {"ETIQUETAREAD", "NOME", "VARCHAR(70)"},
        {"ETIQUETAREAD", "QUANTIDADE", "NUMERIC(18,3)"},
        {"ETIQUETAREAD", "ESTOQUE", "NUMERIC(18,3)"},
        {"ETIQUETAREAD", "VLR_VEN", "NUMERIC(18,3)"},
        {"ETIQUETAREAD", "NRO_LOTE", "VARCHAR(20)"},
        {"ETIQUETAREAD", "VAL_LOTE", "DATE"},
        {"ETIQUETAREAD", "SO_NOME", "VARCHAR(80)"},
        {"ETIQUETAMRG", "LINHA6", "VARCHAR(70)"},
        {"ETIQUETAMRG", "CT_LIN", "INTEGER"},
        {"ETIQUETAMRG", "MEMO1", "BLOB"},
        {"MERCADORIAS", "COD_RED", "INTEGER"},
        {"MERCADORIAS", "NOM_MER", "VARCHAR(50)"},
        {"MERCADORIAS", "QTD_EST_MAX", "NUMERIC(18,3)"},
        {"MERCADORIAS", "ALIQ_ICMS", "NUMERIC(18,2)"},
        {"MERCADORIAS", "DATA_ALT", "DATE"},
        {"MERCADORIAS", "TEM_GRADE", "CHAR(1)"},
        {"MERCADORIAS", "APLICACAO2", "VARCHAR(60)"},
        {"MERCADORIAS", "CAD_RECEITA", "CHAR(1)"},
        {"GRADES_PRODUTOS_P", "VLR_GRADE", "NUMERIC(18,3)"},
        {"ITENSCOMPRA", "NRO_NOT", "INTEGER"},
        {"COMPRAS", "DATA_EMI", "DATE"},
        {"DEPARTAMENTOS", "NOM_SETOR", "VARCHAR(30)"},
        {"FORNECEDORES", "EMAIL_REP", "VARCHAR(60)"},
        {"FORNECEDORES", "OBS_FOR", "BLOB"},
        {"ALIQUOTAS", "ISS_NFCE", "CHAR(1)"},
        {"TRIBUTOS_ICM", "ICMS_ST", "NUMERIC(18,4)"},
        {"TRIBUTOS_ICM", "ALIQ_FCP", "NUMERIC(18,2)"},
        {"TRIBUTOS_PC", "ALIQ_COFINS_C", "NUMERIC(18,4)"},
        {"FORMATMRG", "AUX_5", "VARCHAR(50)"},
        {"FORMATMRG", "PRINT_CAMPO", "CHAR(1)"},
        {"GERADOR", "CODIGO", "INTEGER"},
        {"LOGESTOQUE", "DATA_ALT", "DATE"},
    };
    std::map<std::string, std::map<std::string, std::string>> cache;
    for (const auto& c : casos) {
        if (!cache.count(c.tabela)) cache[c.tabela] = Colunas(db, c.tabela);
        EXPECT_EQ(cache[c.tabela][c.coluna], c.tipo) << c.tabela << "." << c.coluna;
    }
    // Column counts of the tables listed column by column.
    EXPECT_EQ(cache["ETIQUETAREAD"].size(), 9u);
    // The queue's columns in the order callers that insert without a column list rely on.
    std::vector<std::string> fila;
    for (const auto& c : Estrutura(db))
        if (c.rfind("ETIQUETAREAD.", 0) == 0) fila.push_back(c);
    const std::vector<std::string> ordem{"ETIQUETAREAD.CODIGO INTEGER",        "ETIQUETAREAD.BARRAS VARCHAR(30)",
                                         "ETIQUETAREAD.NOME VARCHAR(70)",      "ETIQUETAREAD.QUANTIDADE NUMERIC(18,3)",
                                         "ETIQUETAREAD.ESTOQUE NUMERIC(18,3)", "ETIQUETAREAD.VLR_VEN NUMERIC(18,3)",
                                         "ETIQUETAREAD.NRO_LOTE VARCHAR(20)",  "ETIQUETAREAD.VAL_LOTE DATE",
                                         "ETIQUETAREAD.SO_NOME VARCHAR(80)"};
    EXPECT_EQ(fila, ordem);
    EXPECT_EQ(Colunas(db, "MERCADORIAS").size(), 51u);
    EXPECT_EQ(Colunas(db, "FORNECEDORES").size(), 32u);
    EXPECT_EQ(Colunas(db, "TRIBUTOS_ICM").size(), 22u);
    EXPECT_EQ(Colunas(db, "TRIBUTOS_PC").size(), 10u);
    EXPECT_EQ(Colunas(db, "FORMATMRG").size(), 11u);
    // Every table the data modules hold exists.
    for (const char* t : {"ESTOQUE_EMPRESA", "PRODUTOS_CLI", "NUMERO_NF", "MERCADORIAS_INVENTARIO", "SERIALNUMBER",
                          "SIMILARES", "TRIBUTOS_ICM_UF"})
        EXPECT_FALSE(Colunas(db, t).empty()) << t;
}

TEST_F(Esquema, VersaoAntigaNaoTemSoNomeEOAjusteFunciona) {
    CriarEsquemaLoja(db, TVersaoEsquema::Antiga);
    auto fila = Colunas(db, "ETIQUETAREAD");
    EXPECT_EQ(fila.size(), 8u);
    EXPECT_EQ(fila.count("SO_NOME"), 0u);
    EXPECT_EQ(Colunas(db, "TRIBUTOS_ICM")["ICMS_ST"], "NUMERIC(15,2)");
    // the program's own adjustments bring it to the current shape
    db.ExecutarImediato("alter table EtiquetaRead add so_nome varChar(80)");
    db.ExecutarImediato("alter table TRIBUTOS_ICM\nalter icms_st type numeric(18,4)");
    EXPECT_EQ(Colunas(db, "ETIQUETAREAD")["SO_NOME"], "VARCHAR(80)");
    EXPECT_EQ(Colunas(db, "TRIBUTOS_ICM")["ICMS_ST"], "NUMERIC(18,4)");
}

TEST(EsquemaScripts, AsDuasVersoesSoDiferemNoQueEAntigo) {
    auto atual = TDatabase::DividirScript(EsquemaLoja(TVersaoEsquema::Atual));
    auto antiga = TDatabase::DividirScript(EsquemaLoja(TVersaoEsquema::Antiga));
    // the current script is the older one followed by the two adjustments
    ASSERT_EQ(atual.size(), antiga.size() + 2);
    EXPECT_TRUE(std::equal(antiga.begin(), antiga.end(), atual.begin()));
    for (size_t i = antiga.size(); i < atual.size(); ++i)
        EXPECT_TRUE(atual[i].find("SO_NOME") != std::string::npos || atual[i].find("ICMS_ST") != std::string::npos)
            << atual[i];
}

// demo-db makes the schema in two steps (tables, load, indexes): the result is
// the same database as the whole script gives, adjustments included.
TEST_F(Esquema, TabelasEIndicesEmSeparadoDaoOMesmoEsquema) {
    CriarEsquemaLoja(db);
    const auto inteiro = Estrutura(db);

    TDatabase outro;
    outro.SetCaminho(pasta.Arquivo("partes.fdb"));
    outro.SetParametros(ParametrosTeste());
    outro.CriarBanco();
    CriarTabelasLoja(outro);
    auto tabelas = Estrutura(outro);
    EXPECT_TRUE(std::none_of(tabelas.begin(), tabelas.end(),
                             [](const std::string& l) { return l.rfind("indice IX_", 0) == 0; }));
    CriarIndicesLoja(outro);
    EXPECT_EQ(Estrutura(outro), inteiro);
    outro.Desconectar();

    EXPECT_NE(std::find(inteiro.begin(), inteiro.end(), "TRIBUTOS_ICM.ICMS_ST NUMERIC(18,4)"), inteiro.end());
    EXPECT_NE(std::find(inteiro.begin(), inteiro.end(), "indice IX_MERCADORIAS_COD_BAR MERCADORIAS.COD_BAR"),
              inteiro.end());
}
