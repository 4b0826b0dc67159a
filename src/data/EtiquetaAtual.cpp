#include "data/EtiquetaAtual.h"

#include <set>
#include <string>
#include <utility>

#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"

namespace {

const char* const kCriarTabela =
    "CREATE TABLE ETIQUETA_ATUAL ("
    " CODIGO INTEGER NOT NULL PRIMARY KEY,"
    " BARRAS VARCHAR(30),"
    " NOME VARCHAR(80),"
    " VLR_VEN NUMERIC(18,2),"
    " VLR_VEN_2 NUMERIC(18,2),"
    " QUANTIDADE INTEGER,"
    " MODELO SMALLINT,"
    " ESTACAO VARCHAR(63),"
    " HORA TIMESTAMP,"
    " DIARIO INTEGER)";

// The journal row's columns, in the order they are added.
const std::pair<const char*, const char*> kColunas[] = {
    {"ETQ_MODELO", "SMALLINT"},    {"ETQ_VLR_VEN", "NUMERIC(18,2)"}, {"ETQ_VLR_VEN_2", "NUMERIC(18,2)"},
    {"ETQ_BARRAS", "VARCHAR(30)"}, {"ETQ_NOME", "VARCHAR(80)"},      {"ETQ_HORA", "TIMESTAMP"},
};

// The server's part of a journal row: what the goods said as the row was
// written (a variant's row keeps the queue's barcode and name) and when. A
// goods look-up that fails leaves them empty rather than losing the journal row.
const char* const kGatilhoAntes =
    "CREATE TRIGGER DIARIO_ITEM_ETIQUETA FOR DIARIO_IMPRESSAO_ITEM ACTIVE BEFORE INSERT OR UPDATE POSITION 20 AS\n"
    "DECLARE C INTEGER;\n"
    "DECLARE B VARCHAR(30);\n"
    "DECLARE N VARCHAR(80);\n"
    "BEGIN\n"
    "  IF (NEW.ETQ_MODELO IS NOT NULL AND NEW.ETQ_HORA IS NULL) THEN\n"
    "  BEGIN\n"
    "    NEW.ETQ_HORA = CURRENT_TIMESTAMP;\n"
    "    IF (COALESCE(NEW.NRO_LOTE, '') <> '') THEN\n"
    "    BEGIN\n"
    "      NEW.ETQ_BARRAS = NEW.BARRAS;\n"
    "      NEW.ETQ_NOME = NEW.NOME;\n"
    "    END\n"
    "    ELSE IF (NEW.CODIGO SIMILAR TO '[0-9]{1,9}') THEN\n"
    "    BEGIN\n"
    "      C = CAST(NEW.CODIGO AS INTEGER);\n"
    "      SELECT SUBSTRING(COD_BAR FROM 1 FOR 30), SUBSTRING(NOM_MER FROM 1 FOR 80) FROM MERCADORIAS\n"
    "        WHERE COD_RED = :C INTO :B, :N;\n"
    "      NEW.ETQ_BARRAS = B;\n"
    "      NEW.ETQ_NOME = N;\n"
    "      WHEN ANY DO BEGIN END\n"
    "    END\n"
    "  END\n"
    "END";

// The newest delivered label of each goods item. Two workstations writing
// the same goods at the same moment: the one that cannot lock the row leaves
// the other's, which is as new, and its journal row is kept all the same.
const char* const kGatilhoDepois =
    "CREATE TRIGGER DIARIO_ITEM_ETIQUETA_ATUAL FOR DIARIO_IMPRESSAO_ITEM ACTIVE AFTER INSERT OR UPDATE POSITION 20 AS\n"
    "DECLARE C INTEGER;\n"
    "DECLARE E VARCHAR(63);\n"
    "BEGIN\n"
    "  IF (NEW.ETQ_HORA IS NOT NULL AND NEW.ENTREGUES > 0 AND COALESCE(NEW.NRO_LOTE, '') = ''\n"
    "      AND NEW.ETQ_NOME IS NOT NULL AND NEW.CODIGO SIMILAR TO '[0-9]{1,9}') THEN\n"
    "  BEGIN\n"
    "    C = CAST(NEW.CODIGO AS INTEGER);\n"
    "    SELECT ESTACAO FROM DIARIO_IMPRESSAO WHERE ID = NEW.DIARIO INTO :E;\n"
    "    UPDATE OR INSERT INTO ETIQUETA_ATUAL (CODIGO, BARRAS, NOME, VLR_VEN, VLR_VEN_2, QUANTIDADE, MODELO,\n"
    "        ESTACAO, HORA, DIARIO)\n"
    "      VALUES (:C, NEW.ETQ_BARRAS, NEW.ETQ_NOME, NEW.ETQ_VLR_VEN, NEW.ETQ_VLR_VEN_2, NEW.ENTREGUES,\n"
    "        NEW.ETQ_MODELO, :E, NEW.ETQ_HORA, NEW.DIARIO) MATCHING (CODIGO);\n"
    "    WHEN ANY DO BEGIN END\n"
    "  END\n"
    "END";

void Executar(fb::TDatabase& banco, const std::string& sql) {
    fb::TTransaction tr(banco, {"read_committed", "rec_version", "nowait"});
    fb::TQuery q(banco, tr);
    q.Add(sql);
    q.ExecSQL();
    tr.Commit();
}

}  // namespace

TEsquemaEtiquetaAtual LerEsquemaEtiquetaAtual(fb::TDatabase& banco) {
    fb::TTransaction tr(banco, {"read_committed", "rec_version", "nowait", "read"});
    fb::TQuery q(banco, tr);
    q.Add(
        "select 'T' || trim(r.rdb$relation_name) from rdb$relations r where r.rdb$relation_name in "
        "('ETIQUETA_ATUAL', 'DIARIO_IMPRESSAO_ITEM')"
        " union all select 'C' || trim(f.rdb$field_name) from rdb$relation_fields f"
        " where f.rdb$relation_name = 'DIARIO_IMPRESSAO_ITEM' and f.rdb$field_name starting with 'ETQ_'"
        " union all select 'G' || trim(g.rdb$trigger_name) from rdb$triggers g where g.rdb$trigger_name in "
        "('DIARIO_ITEM_ETIQUETA', 'DIARIO_ITEM_ETIQUETA_ATUAL')");
    q.Open();
    std::set<std::string> existe;
    for (; !q.Eof(); q.Next()) existe.insert(q.FieldByName(q.NomesDosCampos().at(0)).AsString());
    q.Close();
    tr.Commit();
    TEsquemaEtiquetaAtual e;
    e.tabela = existe.count("TETIQUETA_ATUAL") > 0;
    e.diario = existe.count("TDIARIO_IMPRESSAO_ITEM") > 0;
    e.colunas = true;
    for (const auto& [nome, tipo] : kColunas) e.colunas = e.colunas && existe.count(std::string("C") + nome) > 0;
    e.gatilhoAntes = existe.count("GDIARIO_ITEM_ETIQUETA") > 0;
    e.gatilhoDepois = existe.count("GDIARIO_ITEM_ETIQUETA_ATUAL") > 0;
    return e;
}

namespace {
TEsquemaEtiquetaAtual Preparar(fb::TDatabase& banco);
}  // namespace

TEsquemaEtiquetaAtual PrepararEtiquetaAtual(fb::TDatabase& banco) {
    try {
        return Preparar(banco);
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const std::exception&) {
        // Another workstation's first print may be making the same objects
        // at this moment: what it made serves as well.
        const TEsquemaEtiquetaAtual e = LerEsquemaEtiquetaAtual(banco);
        if (e.tabela && (!e.diario || e.Completo())) return e;
        throw;
    }
}

namespace {
TEsquemaEtiquetaAtual Preparar(fb::TDatabase& banco) {
    TEsquemaEtiquetaAtual e = LerEsquemaEtiquetaAtual(banco);
    if (e.Completo()) return e;
    if (!e.tabela) {
        Executar(banco, kCriarTabela);
        Executar(banco, "GRANT ALL ON ETIQUETA_ATUAL TO PUBLIC");
    }
    if (!e.diario) return LerEsquemaEtiquetaAtual(banco);
    if (!e.colunas) {
        // Each column on its own: a journal that has some of them gets the rest.
        fb::TTransaction tr(banco, {"read_committed", "rec_version", "nowait", "read"});
        fb::TQuery q(banco, tr);
        q.Add(
            "select trim(rdb$field_name) from rdb$relation_fields where rdb$relation_name = "
            "'DIARIO_IMPRESSAO_ITEM' and rdb$field_name starting with 'ETQ_'");
        q.Open();
        std::set<std::string> tem;
        for (; !q.Eof(); q.Next()) tem.insert(q.FieldByName(q.NomesDosCampos().at(0)).AsString());
        q.Close();
        tr.Commit();
        for (const auto& [nome, tipo] : kColunas)
            if (!tem.count(nome))
                Executar(banco, std::string("ALTER TABLE DIARIO_IMPRESSAO_ITEM ADD ") + nome + " " + tipo);
    }
    if (!e.gatilhoAntes) Executar(banco, kGatilhoAntes);
    if (!e.gatilhoDepois) Executar(banco, kGatilhoDepois);
    return LerEsquemaEtiquetaAtual(banco);
}
}  // namespace

std::unordered_map<int64_t, TEtiquetaAtual> EtiquetasAtuaisDaFila(fb::TDatabase& banco, fb::TTransaction& tr) {
    std::unordered_map<int64_t, TEtiquetaAtual> mapa;
    fb::TQuery q(banco, tr);
    q.SetUnidirecional(true);
    q.Add(
        "select E.CODIGO, E.BARRAS, E.NOME, E.VLR_VEN, E.VLR_VEN_2, E.QUANTIDADE, E.MODELO, E.ESTACAO, E.HORA"
        " from ETIQUETA_ATUAL E where E.CODIGO in (select R.CODIGO from ETIQUETAREAD R)");
    q.Open();
    for (; !q.Eof(); q.Next()) {
        TEtiquetaAtual e;
        if (!q.FieldByName("VLR_VEN").IsNull()) e.VLR_VEN = q.FieldByName("VLR_VEN").AsDecimal();
        if (!q.FieldByName("VLR_VEN_2").IsNull()) e.VLR_VEN_2 = q.FieldByName("VLR_VEN_2").AsDecimal();
        e.BARRAS = q.FieldByName("BARRAS").AsString();
        e.NOME = q.FieldByName("NOME").AsString();
        e.ESTACAO = q.FieldByName("ESTACAO").AsString();
        e.QUANTIDADE = q.FieldByName("QUANTIDADE").AsInteger();
        e.MODELO = static_cast<int>(q.FieldByName("MODELO").AsInteger());
        e.HORA = q.FieldByName("HORA").AsDate();
        mapa.emplace(q.FieldByName("CODIGO").AsInteger(), std::move(e));
    }
    q.Close();
    return mapa;
}

std::string TextoEtiquetaAnterior(const TEtiquetaAtual& e, const Decimal& precoAgora) {
    std::string t = "Etiqueta anterior: ";
    t += e.VLR_VEN ? "R$ " + FormataValor(*e.VLR_VEN, 2) : std::string("sem preço");
    std::string onde;
    if (e.HORA > 0) onde = FormataData("DD/MM/AAAA", e.HORA) + " " + FormataData("HH:MM", e.HORA);
    if (!e.ESTACAO.empty()) onde += (onde.empty() ? "" : ", ") + e.ESTACAO;
    if (!onde.empty()) t += " (" + onde + ")";
    return t + "; agora: R$ " + FormataValor(precoAgora, 2);
}
