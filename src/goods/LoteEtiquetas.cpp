#include "goods/LoteEtiquetas.h"

#include <algorithm>
#include <unordered_map>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"
#include "goods/EtiquetasDesatualizadas.h"
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
    std::string codigos = "?";
    for (size_t i = 1; i < kMercadoriasPorGrades; ++i) codigos += ",?";
    qryGrades.Add("Select * From GRADES_PRODUTOS_P Where ( COD_MER in (" + codigos + ") )");
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
    try {
        tblMercadorias.Open();
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (const std::exception& e) {
        if (!CriterioDeEtiqueta(Opcoes)) throw;
        throw Exception(MensagemEtiquetasIlegiveis(e));
    }
}

void TSelecaoMercadorias::EncherTabelaLista(const std::vector<std::string>& codigos) {
    const std::string tabela = kTabelaLista;
    // Looked up and created on the first connection, whose reads see what is
    // committed now; the goods connection reads one snapshot.
    const bool existia = dtm_.SelectFile("1", "rdb$relations", "RDB$RELATION_NAME=" + AspasSql(tabela));
    // Created once per shop database; rows live only in the transaction that
    // wrote them, so workstations never see each other's lists. Every
    // database user may use it (one made before that gets its grant here).
    try {
        CriarTabelasDoPrograma(
            dtm_.dtbAplicativo,
            {{tabela,
              {"CREATE GLOBAL TEMPORARY TABLE " + tabela + " (COD_BAR VARCHAR(30)) ON COMMIT DELETE ROWS",
               "CREATE INDEX IX_" + tabela + " ON " + tabela + " (COD_BAR)"}}});
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const EDatabaseError&) {
        // Another workstation created it a moment ago: the inserts below tell otherwise.
    }
    if (!existia) {
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
            q.Add("insert into " + tabela + " (COD_BAR) values (" + AspasSql(codigos[j]) + ");");
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
    // A print cut short lives on in the queue: it is not thrown away unasked.
    if (AntesDeSubstituir && !AntesDeSubstituir()) return 0;
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
        // With variants the goods wait, a block at a time, for one look-up of their variants.
        std::vector<TMercadoriaDoLote> espera;
        for (tblMercadorias.First(); !tblMercadorias.Eof(); tblMercadorias.Next()) {
            if (Progresso) Progresso(++lidas, total);
            if (!TestaFiltro()) continue;
            if (ProcessarGrades) {
                espera.push_back(LerMercadoria());
                if (espera.size() == kMercadoriasPorGrades) {
                    escritas += InserirComGrades(modelo, espera, fila, porBlocos);
                    espera.clear();
                }
                continue;
            }
            InserirSimples(modelo, LerMercadoria(), fila);
            ++escritas;
            if (!porBlocos) fila.Enviar();
        }
        escritas += InserirComGrades(modelo, espera, fila, porBlocos);
        fila.Enviar();
        if (CriterioDeEtiqueta(Opcoes)) {
            // The shelf had as many labels as the last print delivered; a
            // goods item never labelled gets one.
            fb::TQuery q(dtm_.dtbAplicativo, dtm_.ibtAplicativo);
            q.Add(
                "update ETIQUETAREAD R set R.QUANTIDADE = coalesce((select E.QUANTIDADE from ETIQUETA_ATUAL E"
                " where E.CODIGO = R.CODIGO), 1)");
            q.ExecSQL();
        }
    } catch (const fb::EFbConexao& e) {
        // The goods connection may be the first to find its link gone, and its
        // message knows nothing of the queue's connection, whose unsaved rows
        // are rolled back here (or went with the server): that is said too.
        // A rollback on a broken link returns quietly, so the rows are known
        // before it; a watched server given up on has said it already.
        const bool filaPorGravar = dtm_.ibtAplicativo.TemAlteracoes();
        try {
            dtm_.ibtAplicativo.RollbackRetaining();
        } catch (const fb::EFbConexao&) {
            throw;
        } catch (...) {}
        if (filaPorGravar && e.Perdida() && !e.Abandonada())
            throw fb::EFbConexao(fb::MensagemConexaoPerdida(dtm_.dtbAplicativo.Caminho(), true), e.CodigoGds(), true);
        throw;
    } catch (...) {
        // Nothing half-written stays behind: the queue goes back to what it held.
        try {
            dtm_.ibtAplicativo.RollbackRetaining();
        } catch (...) {}
        if (CriterioDeEtiqueta(Opcoes)) {
            try {
                throw;
            } catch (const fb::EEncerrando&) {
                throw;
            } catch (const EDatabaseError& e) {
                // A label price the journal cannot read as a number: nothing is selected.
                throw Exception(MensagemEtiquetasIlegiveis(e));
            }
        }
        throw;
    }
    LoteGravado = dtm_.dtmCommit();
    return LoteGravado ? escritas : 0;
}

TSelecaoMercadorias::TMercadoriaDoLote TSelecaoMercadorias::LerMercadoria() const {
    const fb::TQuery& m = tblMercadorias;
    TMercadoriaDoLote r;
    r.codigo = m.FieldByName("COD_RED").AsInteger();
    r.codigoTexto = m.FieldByName("COD_RED").AsString();
    r.nome = m.FieldByName("NOM_MER").AsString();
    r.barras = m.FieldByName("COD_BAR").AsString();
    r.aplicacao = m.FieldByName("APLICACAO").AsString();
    r.estoque = m.FieldByName("QTD_EST").AsDecimal().ParaTextoCurto();
    r.preco = m.FieldByName("VLR_VEN").AsDecimal();
    return r;
}

void TSelecaoMercadorias::InserirSimples(int modelo, const TMercadoriaDoLote& m, TInsercaoEmBlocos& fila) {
    const std::string barras = modelo == kModeloAplicacao ? Esquerda(m.aplicacao, 30) : m.barras;
    // One column and its value a line.
    // clang-format off
    fila.INSERTFILE({"CODIGO", m.codigoTexto,
                     "BARRAS", barras,
                     "NOME", m.nome,
                     "So_NOME", Esquerda(m.nome, 80),
                     "Estoque", m.estoque,
                     "VLR_VEN", m.preco.ParaTextoCurto(),
                     "QUANTIDADE", "0"});
    // clang-format on
}

size_t TSelecaoMercadorias::InserirComGrades(int modelo, const std::vector<TMercadoriaDoLote>& mercadorias,
                                             TInsercaoEmBlocos& fila, bool porBlocos) {
    if (mercadorias.empty()) return 0;
    struct Grade {
        std::string codigo, barras, nome, estoque;
        Decimal preco;
    };
    // Each goods item's variants in the order the database gives them.
    std::unordered_map<int64_t, std::vector<Grade>> grades;
    fb::TQuery& g = qryGrades;
    // Unused places repeat the last code.
    for (size_t i = 0; i < kMercadoriasPorGrades; ++i)
        g.ParamInteiro(static_cast<int>(i), mercadorias[std::min(i, mercadorias.size() - 1)].codigo);
    g.Open();
    for (; !g.Eof(); g.Next()) {
        Grade r;
        r.codigo = g.FieldByName("COD_MER").AsString();
        r.barras = g.FieldByName("COD_BAR").AsString();
        r.nome = g.FieldByName("NOME_GRA").AsString();
        r.estoque = g.FieldByName("QTD_GRA").AsDecimal().ParaTextoCurto();
        r.preco = g.FieldByName("VLR_GRADE").AsDecimal();
        grades[g.FieldByName("COD_MER").AsInteger()].push_back(std::move(r));
    }
    g.Close();
    size_t n = 0;
    for (const TMercadoriaDoLote& m : mercadorias) {
        const auto achou = grades.find(m.codigo);
        if (achou == grades.end()) {
            InserirSimples(modelo, m, fila);
            ++n;
        } else {
            for (const Grade& grade : achou->second) {
                const Decimal preco = grade.preco > Decimal(0) ? grade.preco : m.preco;
                // One column and its value a line.
                // clang-format off
                fila.INSERTFILE({"CODIGO", grade.codigo,
                                 "BARRAS", grade.barras.empty() ? m.barras : grade.barras,
                                 "NOME", Esquerda(m.nome + " - " + grade.nome, 70),
                                 "So_NOME", Esquerda(m.nome, 80),
                                 "Estoque", grade.estoque,
                                 "VLR_VEN", preco.ParaTextoCurto(),
                                 "nro_lote", Esquerda(grade.nome, 20),
                                 "QUANTIDADE", "0"});
                // clang-format on
                ++n;
            }
        }
        if (!porBlocos) fila.Enviar();
    }
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
    if (o.chksetor && !pesquisaSetor(m.FieldByName("DEP_MER").AsString(), o.edtSetor.value_or(""))) return false;
    if (o.chkNNota && !HaLinhas(qrySelect, SQLNotaCompra(o.edtNNota, m.FieldByName("COD_RED").AsString())))
        return false;
    if (o.chkDataCompra &&
        !HaLinhas(qrySelect, SQLDataCompra(o.edtDtC1, o.edtDtC2, m.FieldByName("COD_RED").AsString())))
        return false;
    return true;
}
