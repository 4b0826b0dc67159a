#include "goods/LoteEtiquetas.h"

#include <algorithm>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "goods/FiltroMercadorias.h"

namespace {

constexpr int kModeloAplicacao = 55;  // prints APLICACAO as the barcode

}  // namespace

int64_t InteiroDeDigitos(const std::string& texto) {
    try {
        return std::stoll("0" + SoNumeros(texto));
    } catch (const std::exception&) {
        return 0;
    }
}

int ModeloDoLote(const std::string& modeloPrint, const std::string& paramModelo) {
    const int64_t param = InteiroDeDigitos(paramModelo);
    if (param > 0) return static_cast<int>(param);
    return static_cast<int>(InteiroDeDigitos(Esquerda(modeloPrint, 4)));
}

TSelecaoMercadorias::TSelecaoMercadorias(TdtmAplicativo& dtm)
    : tblMercadorias(dtm.dtbAplicativoMrg, dtm.ibtAplicativoMrg),
      tblDepartPesquisa(dtm.dtbAplicativoMrg, dtm.ibtAplicativoMrg),
      qrySelect(dtm.dtbAplicativoMrg, dtm.ibtAplicativoMrg),
      qryGrades(dtm.dtbAplicativo, dtm.ibtAplicativo),
      dtm_(dtm) {
    qryGrades.Add("Select * From GRADES_PRODUTOS_P Where ( COD_MER=? )");
    // The batch reads the goods once, front to back.
    tblMercadorias.SetUnidirecional(true);
    for (const std::string& l : SQLMercadoriasInicial()) tblMercadorias.Add(l);
    for (const char* l : {"select cod_dep", "from departamentos", "where cod_dep>0"}) tblDepartPesquisa.Add(l);
}

size_t TSelecaoMercadorias::MontarLote() {
    AbrirMercadorias();
    try {
        size_t n = ModeloEtiqueta();
        FecharMercadorias();
        return n;
    } catch (...) {
        FecharMercadorias();
        throw;
    }
}

void TSelecaoMercadorias::AbrirMercadorias() {
    // Everything is built before the statement changes: refused options leave
    // it, and the queue, as they were.
    const std::vector<std::string> linhas = SQLMercadorias(Opcoes);
    const std::string linhaNome = LinhaNomeDepartamento(Opcoes);
    tblMercadorias.Clear();
    for (const std::string& l : linhas) tblMercadorias.Add(l);
    linhaNomeDepartamento_ = linhaNome;
    if (Opcoes.chkListaCodBar) {
        const std::vector<std::string> codigos = CodigosDaLista(Opcoes.memoLista);
        if (codigos.size() > kMaximoCodigosNaInstrucao) EncherTabelaLista(codigos);
    }
    tblMercadorias.Open();
}

void TSelecaoMercadorias::EncherTabelaLista(const std::vector<std::string>& codigos) {
    const std::string tabela = kTabelaLista;
    // Looked up and created on the first connection, whose reads see what is
    // committed now; the goods connection reads one snapshot.
    if (!dtm_.SelectFile("1", "rdb$relations", "RDB$RELATION_NAME=" + Q(tabela))) {
        // Created once per shop database; rows live only in the transaction
        // that wrote them, so workstations never see each other's lists.
        try {
            dtm_.dtbAplicativo.ExecutarImediato("CREATE GLOBAL TEMPORARY TABLE " + tabela +
                                                " (COD_BAR VARCHAR(30)) ON COMMIT DELETE ROWS");
            dtm_.dtbAplicativo.ExecutarImediato("CREATE INDEX IX_" + tabela + " ON " + tabela + " (COD_BAR)");
        } catch (const fb::EEncerrando&) {
            throw;
        } catch (const fb::EFbConexao&) {
            throw;
        } catch (const EDatabaseError&) {
            // Another workstation created it a moment ago: the inserts below tell otherwise.
        }
        // A snapshot older than the table does not know it: this run has read
        // nothing yet, so it takes a new one.
        if (dtm_.ibtAplicativoMrg.Ativa()) {
            dtm_.ibtAplicativoMrg.Rollback();
            dtm_.ibtAplicativoMrg.Start();
        }
    }
    fb::TQuery q(dtm_.dtbAplicativoMrg, dtm_.ibtAplicativoMrg);
    q.Clear();
    q.Add("delete from " + tabela);
    q.ExecSQL();
    // A few hundred codes per round trip: tens of thousands, one by one, would
    // keep a workstation on a server waiting.
    constexpr size_t kPorBloco = 200;
    for (size_t i = 0; i < codigos.size(); i += kPorBloco) {
        q.Clear();
        q.Add("execute block as begin");
        for (size_t j = i; j < std::min(codigos.size(), i + kPorBloco); ++j)
            q.Add("insert into " + tabela + " (COD_BAR) values (" + Q(codigos[j]) + ");");
        q.Add("end");
        q.ExecSQL();
    }
}

void TSelecaoMercadorias::FecharMercadorias() {
    tblMercadorias.Close();
    tblDepartPesquisa.Close();
    qrySelect.Close();
    qryGrades.Close();
}

size_t TSelecaoMercadorias::ContarMercadorias() {
    // The same where clause on the same snapshot, so the count matches the rows.
    fb::TQuery q(dtm_.dtbAplicativoMrg, dtm_.ibtAplicativoMrg);
    q.Add("select count(*) from MERCADORIAS M where( M.COD_RED>0)");
    const std::vector<std::string>& sql = tblMercadorias.SQL();
    for (size_t i = 9; i < sql.size(); ++i)
        if (i != kSlotOrdem) q.Add(sql[i]);
    q.Open();
    size_t n = q.Eof() ? 0 : static_cast<size_t>(q.FieldByName(q.NomesDosCampos().at(0)).AsInteger());
    q.Close();
    return n;
}

size_t TSelecaoMercadorias::ModeloEtiqueta() {
    const int modelo = ModeloDoLote(LerConfig("MODELO PRINT"), ParamModelo);
    LoteGravado = false;
    const size_t total = Progresso ? ContarMercadorias() : 0;
    size_t escritas = 0, lidas = 0;
    try {
        dtm_.DeleteRegistro("EtiquetaRead", "1=1");
        dtm_.DeleteRegistro("EtiquetaMrg", "1=1");
        // INSERTFILE's rows, in their order: a block at a time to a server,
        // where every request is a round trip; one by one to the embedded
        // engine, where a request costs nothing and the plain insert is quicker.
        const bool porBlocos = !fb::TDatabase::EhCaminhoLocal(dtm_.dtbAplicativo.Caminho());
        TInsercaoEmBlocos fila(dtm_, "EtiquetaRead");
        for (tblMercadorias.First(); !tblMercadorias.Eof(); tblMercadorias.Next()) {
            if (Progresso) Progresso(++lidas, total);
            if (!TestaFiltro()) continue;
            if (ProcessarGrades) {
                const size_t n = InserirGrades(fila);
                escritas += n;
                if (!porBlocos) fila.Enviar();
                if (n > 0) continue;
            }
            InserirSimples(modelo, fila);
            ++escritas;
            if (!porBlocos) fila.Enviar();
        }
        fila.Enviar();
    } catch (...) {
        // Nothing half-written stays behind: the queue goes back to what it held.
        try {
            dtm_.ibtAplicativo.RollbackRetaining();
        } catch (...) {
        }
        throw;
    }
    LoteGravado = dtm_.dtmCommit();
    return LoteGravado ? escritas : 0;
}

void TSelecaoMercadorias::InserirSimples(int modelo, TInsercaoEmBlocos& fila) {
    const fb::TQuery& m = tblMercadorias;
    const std::string nome = m.FieldByName("NOM_MER").AsString();
    const std::string barras = modelo == kModeloAplicacao ? Esquerda(m.FieldByName("APLICACAO").AsString(), 30)
                                                          : m.FieldByName("COD_BAR").AsString();
    fila.INSERTFILE({"CODIGO", m.FieldByName("COD_RED").AsString(),
                                     "BARRAS", barras,
                                     "NOME", nome,
                                     "So_NOME", Esquerda(nome, 80),
                                     "Estoque", m.FieldByName("QTD_EST").AsDecimal().ParaTextoCurto(),
                                     "VLR_VEN", m.FieldByName("VLR_VEN").AsDecimal().ParaTextoCurto(),
                                     "QUANTIDADE", "0"});
}

size_t TSelecaoMercadorias::InserirGrades(TInsercaoEmBlocos& fila) {
    const fb::TQuery& m = tblMercadorias;
    fb::TQuery& g = qryGrades;
    g.ParamInteiro(0, m.FieldByName("COD_RED").AsInteger());
    g.Open();
    if (g.Eof()) {
        g.Close();
        return 0;
    }
    const std::string nome = m.FieldByName("NOM_MER").AsString();
    const std::string barrasMercadoria = m.FieldByName("COD_BAR").AsString();
    const Decimal precoMercadoria = m.FieldByName("VLR_VEN").AsDecimal();
    size_t n = 0;
    for (; !g.Eof(); g.Next()) {
        const std::string grade = g.FieldByName("NOME_GRA").AsString();
        std::string barras = g.FieldByName("COD_BAR").AsString();
        if (barras.empty()) barras = barrasMercadoria;
        const Decimal precoGrade = g.FieldByName("VLR_GRADE").AsDecimal();
        const Decimal preco = precoGrade > Decimal(0) ? precoGrade : precoMercadoria;
        fila.INSERTFILE({"CODIGO", g.FieldByName("COD_MER").AsString(),
                                         "BARRAS", barras,
                                         "NOME", Esquerda(nome + " - " + grade, 70),
                                         "So_NOME", Esquerda(nome, 80),
                                         "Estoque", g.FieldByName("QTD_GRA").AsDecimal().ParaTextoCurto(),
                                         "VLR_VEN", preco.ParaTextoCurto(),
                                         "nro_lote", Esquerda(grade, 20),
                                         "QUANTIDADE", "0"});
        ++n;
    }
    g.Close();
    return n;
}

bool TSelecaoMercadorias::HaLinhas(fb::TQuery& q, const std::vector<std::string>& linhas) {
    q.Clear();
    for (const std::string& l : linhas) q.Add(l);
    q.Open();
    const bool ha = !q.Eof();
    q.Close();
    return ha;
}

bool TSelecaoMercadorias::pesquisaSetor(const std::string& departamento, const std::string& setor) {
    return HaLinhas(tblDepartPesquisa, SQLSetor(setor, departamento));
}

bool TSelecaoMercadorias::TestaFiltro() {
    const TOpcoesMercadorias& o = Opcoes;
    const fb::TQuery& m = tblMercadorias;
    if (o.chkCodGer && !CodigoGerado(m.FieldByName("COD_BAR").AsString())) return false;
    if (o.chkNumero && !NaFaixa(m.FieldByName("COD_BAR").AsString(), o.edtCodBar, o.edtBar2)) return false;
    if (o.chkCodPers && !NaFaixa(m.FieldByName("APLICACAO").AsString(), o.edtCodPers1, o.edtCodPers2)) return false;
    if (o.chkDepartComposta &&
        !HaLinhas(tblDepartPesquisa, SQLDepartamento(linhaNomeDepartamento_, m.FieldByName("DEP_MER").AsString())))
        return false;
    if (o.chksetor && !pesquisaSetor(m.FieldByName("DEP_MER").AsString(), o.edtSetor.value_or("")))
        return false;
    if (o.chkNNota && !HaLinhas(qrySelect, SQLNotaCompra(o.edtNNota, m.FieldByName("COD_RED").AsString())))
        return false;
    if (o.chkDataCompra &&
        !HaLinhas(qrySelect, SQLDataCompra(o.edtDtC1, o.edtDtC2, m.FieldByName("COD_RED").AsString())))
        return false;
    return true;
}
