// The handles: a database's attachment, its transactions and its statements.
// Each transaction and statement holds a link to what it leans on (Ligacoes.h),
// so closing or destroying the database reaches every one of them.
#include <algorithm>
#include <chrono>

#include "data/fb/FbInterno.h"

namespace fb {

namespace {

bool IguaisAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

// ================================================================ TDatabase

TDatabase::TDatabase() : impl_(std::make_unique<Impl>()) {}

TDatabase::~TDatabase() {
    impl_->FecharTudo();
    impl_->Soltar();
    // Whatever outlives the database finds its link cut (the registries go with impl_).
}

void TDatabase::SetCaminho(std::string caminho) { impl_->caminho = std::move(caminho); }
const std::string& TDatabase::Caminho() const { return impl_->caminho; }
void TDatabase::SetParametros(std::vector<std::string> linhas) { impl_->parametros = std::move(linhas); }
const std::vector<std::string>& TDatabase::Parametros() const { return impl_->parametros; }
void TDatabase::SetTransacaoPadrao(TTransaction* t) { impl_->padrao = t; }
TTransaction* TDatabase::TransacaoPadrao() const { return impl_->padrao; }
void TDatabase::SetTempoLimiteConexao(int segundos) { impl_->tempoLimite = segundos; }
void TDatabase::SetTempoSemResposta(int segundos) {
    impl_->semResposta = segundos > 0 ? segundos : SegundosSemRespostaPadrao();
}
bool TDatabase::Conectado() const { return impl_->att != nullptr; }

void TDatabase::Impl::Anexar(bool criar) {
    if (att) return;
    RecusarSeInterrompido();
    RecusarDuranteEspera();
    if (TrimEspacos(caminho).empty()) Erro("Caminho do banco de dados não informado.");
    std::string prefixo =
        (criar ? "Não foi possível criar o banco de dados \"" : "Não foi possível conectar ao banco de dados \"") +
        caminho + "\".";
    const auto inicio = std::chrono::steady_clock::now();
    const auto limite = inicio + std::chrono::seconds(tempoLimite > 0 ? tempoLimite : 3600);
    auto naoRespondeu = [&](const std::string& host, const std::string& porta) {
        return EFbConexao(prefixo + "\nO servidor " + host + (porta.empty() ? "" : " (porta " + porta + ")") +
                              " não respondeu em " + std::to_string(tempoLimite) + " s.",
                          isc_network_error, false);
    };
    int segundos = tempoLimite;
    std::optional<TEndereco> endereco = EnderecoDoServidor(caminho);
    if (endereco && tempoLimite > 0) {
        // The client's own connect waits out the system's TCP retries (over two
        // minutes) when a handshake goes unanswered, whatever its time-out says:
        // try the handshake first, bounded by the deadline.
        if (SondarServidor(endereco->host, endereco->porta, limite, false) == TSondagem::Calado)
            throw naoRespondeu(endereco->host, endereco->porta);
        // What is left of the time-out goes to the client's own wait for the answer.
        auto resta =
            std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now()).count();
        segundos = static_cast<int>(std::max<long long>(1, (resta + 999) / 1000));
    }
    TStatus st;
    IXpbBuilder* dpb = Chamar([&] { return MontarDpb(st.w(), criar, segundos); }, prefixo);
    TGuardaXpb guarda{dpb};
    IProvider* prov = Mestre()->getDispatcher();
    struct SoltarProv {
        IProvider* p;
        ~SoltarProv() { p->release(); }
    } guardaProv{prov};
    // The attachment's socket is the one to the server that the attach adds.
    const std::vector<TIdSoquete> antes =
        endereco ? SoquetesParaPorta(std::stoi(endereco->porta)) : std::vector<TIdSoquete>{};
    TomarSinaisDoCliente(prov);
    try {
        TGuardaSinais sinais;
        Chamar(
            [&] {
                unsigned len = dpb->getBufferLength(st.w());
                const unsigned char* buf = dpb->getBuffer(st.w());
                att = criar ? prov->createDatabase(st.w(), caminho.c_str(), len, buf)
                            : prov->attachDatabase(st.w(), caminho.c_str(), len, buf);
            },
            prefixo);
    } catch (const EFbErro& e) {
        if (e.CodigoGds() == isc_login)
            throw EFbConexao(prefixo + "\nO servidor recusou o usuário e a senha (usuário \"" + usuario +
                                 "\"). Confira as chaves USUARIO BD e SENHA BD de configEtq.ini.",
                             e.CodigoGds(), false);
        if (endereco && tempoLimite > 0 && std::chrono::steady_clock::now() + std::chrono::milliseconds(500) >= limite)
            throw naoRespondeu(endereco->host, endereco->porta);
        if (endereco) throw EFbConexao(e.what(), e.CodigoGds(), false);
        throw;
    }
    vigia.reset();
    if (endereco) {
        std::vector<TIdSoquete> novos;
        const std::vector<TIdSoquete> depois = SoquetesParaPorta(std::stoi(endereco->porta));
        std::set_difference(depois.begin(), depois.end(), antes.begin(), antes.end(), std::back_inserter(novos));
        vigia = std::make_shared<const TVigia>(endereco->host, endereco->porta, std::move(novos));
    }
    ++geracao;
}

[[noreturn]] void TDatabase::Impl::Perdida(const EFbErro& e, const TVigilancia* vigilancia, bool gravando) {
    bool alteracoes = false;
    transacoes.ParaCada([&](TTransaction::Impl& t) { alteracoes = alteracoes || (t.tra && t.alterou); });
    const std::shared_ptr<const TVigia> servidor = vigia;
    FecharTudo();
    Soltar();
    if (vigilancia && servidor && vigilancia->Abandono() != TAbandono::Nenhum)
        throw EFbConexao(
            MensagemAbandono(*servidor, caminho, vigilancia->SegundosAbandono(), vigilancia->Abandono(), gravando),
            e.CodigoGds(), true, true);
    throw EFbConexao(MensagemConexaoPerdida(caminho, alteracoes), e.CodigoGds(), true);
}

std::string MensagemConexaoPerdida(const std::string& caminho, bool alteracoesPerdidas) {
    return "A conexão com o banco de dados \"" + caminho + "\" foi perdida" +
           (alteracoesPerdidas ? "; as alterações não gravadas foram perdidas." : ".") +
           " A próxima operação conecta de novo.";
}

void TDatabase::Impl::FecharTudo() {
    consultas.ParaCada([](TQuery::Impl& q) { q.Liberar(); });
    transacoes.ParaCada([](TTransaction::Impl& t) { t.Descartar(); });
}

void TDatabase::Impl::Soltar() {
    {
        TVigilancia vigilancia = Vigiar(this);
        Encerrar(att, [](IAttachment* a, ThrowStatusWrapper* st) { a->detach(st); });
    }
    vigia.reset();
}

void TDatabase::Conectar() {
    impl_->Anexar(false);
    if (impl_->padrao && !impl_->padrao->Ativa()) impl_->padrao->Start();
}

void TDatabase::Desconectar() {
    impl_->FecharTudo();
    impl_->Soltar();
}

void TDatabase::FecharDataSets() {
    impl_->consultas.ParaCada([](TQuery::Impl& q) { q.dono->Close(); });
}

void TDatabase::CriarBanco() {
    if (impl_->att) Erro("O banco de dados já está conectado: \"" + impl_->caminho + "\".");
    impl_->Anexar(true);
}

void TDatabase::ApagarBanco() {
    // Attached already: no new transaction for a database about to go (also
    // while the program is ending and refuses new work).
    if (!impl_->att) Conectar();
    impl_->FecharTudo();
    TStatus st;
    Chamar([&] { impl_->att->dropDatabase(st.w()); },
           "Não foi possível apagar o banco de dados \"" + impl_->caminho + "\".");
    impl_->att = nullptr;  // released by the drop
}

// ================================================================ TTransaction

namespace {
TDatabase::Impl* BancoDe(TTransaction::Impl& t) { return t.banco ? &t.banco->impl() : nullptr; }
}  // namespace

TTransaction::TTransaction(TDatabase& banco, std::vector<std::string> parametros) : impl_(std::make_unique<Impl>()) {
    impl_->banco.Ligar(banco, banco.impl().transacoes);
    impl_->parametros = std::move(parametros);
}

TTransaction::~TTransaction() {
    impl_->Descartar();
    if (impl_->banco && impl_->banco->TransacaoPadrao() == this) impl_->banco->SetTransacaoPadrao(nullptr);
    // the links of its statements are cut and its own leaves the database's registry with impl_
}

TDatabase& TTransaction::Banco() const {
    if (!impl_->banco) Erro("A transação não tem mais banco de dados.");
    return *impl_->banco.get();
}

bool TTransaction::Ativa() const { return impl_->tra != nullptr; }

bool TTransaction::TemAlteracoes() const { return impl_->tra != nullptr && impl_->alterou; }

void TTransaction::Impl::FecharCursores() {
    consultas.ParaCada([](TQuery::Impl& q) { q.FecharCursor(); });
}

void TTransaction::Impl::Descartar() {
    if (!tra) return;
    FecharCursores();
    TVigilancia vigilancia = Vigiar(banco ? &banco->impl() : nullptr);
    Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* st) { t->rollback(st); });
}

void TTransaction::Start() {
    if (impl_->tra) Erro("A transação já está ativa.");
    RecusarSeInterrompido();
    RecusarDuranteEspera();
    TDatabase& banco = Banco();
    banco.impl().Anexar(false);
    TStatus st;
    IXpbBuilder* tpb = Chamar([&] { return MontarTpb(st.w(), impl_->parametros); });
    TGuardaXpb guarda{tpb};
    impl_->tra = ChamarNo(&banco.impl(), [&] {
        return banco.impl().att->startTransaction(st.w(), tpb->getBufferLength(st.w()), tpb->getBuffer(st.w()));
    });
    impl_->alterou = false;
}

void TTransaction::Commit() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    impl_->FecharCursores();
    TStatus st;
    // A commit that returned has freed the handle: forgotten at once, before a
    // cut the watchdog decided meanwhile drops the connection's transactions.
    ChamarNo(
        BancoDe(*impl_),
        [&] {
            impl_->tra->commit(st.w());
            impl_->tra = nullptr;
        },
        true);
    impl_->tra = nullptr;
    impl_->alterou = false;
}

void TTransaction::CommitRetaining() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    TStatus st;
    ChamarNo(
        BancoDe(*impl_), [&] { impl_->tra->commitRetaining(st.w()); }, true);
    impl_->alterou = false;
}

// A rollback on a broken link has what it asked for: the server has dropped
// the work. The attachment is dropped too and the call returns.
void TTransaction::Rollback() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    impl_->FecharCursores();
    TStatus st;
    try {
        // As in Commit: the handle is freed by a rollback that returned.
        ChamarNo(BancoDe(*impl_), [&] {
            impl_->tra->rollback(st.w());
            impl_->tra = nullptr;
        });
    } catch (const EFbConexao& e) {
        if (!e.Perdida()) throw;
    } catch (...) {
        // the work is lost either way; the handle must not outlive the call
        if (impl_->tra) impl_->tra->release();
        impl_->tra = nullptr;
        throw;
    }
    impl_->tra = nullptr;
    impl_->alterou = false;
}

void TTransaction::RollbackRetaining() {
    if (!impl_->tra) Erro("A transação não está ativa.");
    TStatus st;
    try {
        ChamarNo(BancoDe(*impl_), [&] { impl_->tra->rollbackRetaining(st.w()); });
    } catch (const EFbConexao& e) {
        if (!e.Perdida()) throw;
    }
    impl_->alterou = false;
}

// ================================================================ TQuery

TQuery::TQuery(TDatabase& banco, TTransaction& transacao) : impl_(std::make_unique<Impl>()) {
    impl_->dono = this;
    impl_->banco.Ligar(banco, banco.impl().consultas);
    impl_->transacao.Ligar(transacao, transacao.impl().consultas);
}

TQuery::~TQuery() {
    impl_->Liberar();  // its links leave the registries with impl_
}

TDatabase& TQuery::Banco() const {
    if (!impl_->banco) Erro("A consulta não tem mais banco de dados.");
    return *impl_->banco.get();
}
TTransaction& TQuery::Transacao() const {
    if (!impl_->transacao) Erro("A consulta não tem mais transação.");
    return *impl_->transacao.get();
}

void TQuery::Impl::FecharCursor() {
    TVigilancia vigilancia = Vigiar(cursor && banco ? &banco->impl() : nullptr);
    Encerrar(cursor, [](IResultSet* c, ThrowStatusWrapper* st) { c->close(st); });
    ativo = false;
    eof = true;
    linhas.clear();
    pos = 0;
    passadas = 0;
}

void TQuery::Impl::Liberar() {
    FecharCursor();
    contarAfetadas = false;
    if (entrada) entrada->release(), entrada = nullptr;
    assinatura.clear();
    descStmt.clear();
    if (entradaStmt) entradaStmt->release(), entradaStmt = nullptr;
    if (saida) saida->release(), saida = nullptr;
    colunas.clear();
    campos.clear();
    TVigilancia vigilancia = Vigiar(stmt && banco ? &banco->impl() : nullptr);
    Encerrar(stmt, [](IStatement* s, ThrowStatusWrapper* st) { s->free(st); });
}

void TQuery::Clear() {
    impl_->Liberar();
    impl_->sql.clear();
    impl_->params.clear();
}

void TQuery::Add(std::string_view linha) {
    impl_->Liberar();
    impl_->params.clear();
    impl_->sql.emplace_back(linha);
}

const std::vector<std::string>& TQuery::SQL() const { return impl_->sql; }

std::string TQuery::Texto() const {
    std::string r;
    for (size_t i = 0; i < impl_->sql.size(); ++i) {
        if (i) r += '\n';
        r += impl_->sql[i];
    }
    return r;
}

const std::string& TQuery::UltimoTextoEnviado() const { return impl_->ultimo; }

void TQuery::Impl::GarantirConexao() {
    if (!banco) Erro("A consulta não tem mais banco de dados.");
    if (!transacao) Erro("A consulta não tem mais transação.");
    if (&transacao->Banco() != banco.get()) Erro("A transação da consulta pertence a outro banco de dados.");
    RecusarSeInterrompido();
    RecusarDuranteEspera();
    banco->impl().Anexar(false);
    if (stmt && geracao != banco->impl().geracao) Liberar();  // prepared on a connection that is gone
    if (!transacao->Ativa()) transacao->Start();
}

void TQuery::Impl::Preparar() {
    GarantirConexao();
    std::string texto = dono->Texto();
    ultimo = texto;
    if (stmt) return;
    if (TrimEspacos(texto).empty()) Erro("O comando SQL está vazio.");
    auto& db = banco->impl();
    std::string enviado = ParaCliente(texto, db.charset);
    TStatus st;
    // A refusal after the server prepared the statement (an ARRAY column)
    // frees it: a later call must not find it half laid out.
    struct TDesfazer {
        Impl* q;
        bool pronto = false;
        ~TDesfazer() {
            if (!pronto) q->Liberar();
        }
    } desfazer{this};
    ChamarNo(&db, [&] {
        try {
            stmt = db.att->prepare(st.w(), transacao->impl().tra, 0, enviado.c_str(), SQL_DIALECT_V6,
                                   IStatement::PREPARE_PREFETCH_METADATA);
        } catch (const FbException& e) {
            Lancar(e.getStatus(), {}, texto);  // a missing column is told with its table
        }
        geracao = db.geracao;
        tipo = stmt->getType(st.w());
        entradaStmt = stmt->getInputMetadata(st.w());
        saida = stmt->getOutputMetadata(st.w());
        unsigned n = saida->getCount(st.w());
        colunas.clear();
        campos.clear();
        for (unsigned i = 0; i < n; ++i) {
            Coluna c;
            const char* alias = saida->getAlias(st.w(), i);
            const char* campo = saida->getField(st.w(), i);
            c.nome = DoCliente(alias && *alias ? alias : (campo ? campo : ""), db.charset);
            c.tipo = saida->getType(st.w(), i) & ~1u;
            c.sub = static_cast<unsigned>(saida->getSubType(st.w(), i));
            c.cs = saida->getCharSet(st.w(), i);
            c.escala = saida->getScale(st.w(), i);
            c.offset = saida->getOffset(st.w(), i);
            c.nulo = saida->getNullOffset(st.w(), i);
            c.tam = saida->getLength(st.w(), i);
            if (c.tipo == SQL_ARRAY) Erro("Coluna de tipo ARRAY não suportada: " + c.nome);
            colunas.push_back(std::move(c));
        }
        bufSaida.assign(saida->getMessageLength(st.w()), 0);
        unsigned np = entradaStmt->getCount(st.w());
        params.resize(np);
        descStmt.clear();
        for (unsigned i = 0; i < np; ++i)
            descStmt.push_back({entradaStmt->getType(st.w(), i) & ~1u, entradaStmt->getLength(st.w(), i),
                                entradaStmt->getCharSet(st.w(), i), entradaStmt->getScale(st.w(), i)});
    });
    for (size_t i = 0; i < colunas.size(); ++i) campos.emplace_back(*dono, i);
    desfazer.pronto = true;
}

void TQuery::Prepare() { impl_->Preparar(); }
bool TQuery::Preparado() const { return impl_->stmt != nullptr; }
bool TQuery::Active() const { return impl_->ativo; }
uint64_t TQuery::LinhasAfetadas() const {
    auto& q = *impl_;
    if (q.contarAfetadas && q.stmt) {
        TStatus st;
        q.afetadas = ChamarNo(&q.banco->impl(), [&] { return q.stmt->getAffectedRecords(st.w()); });
    }
    q.contarAfetadas = false;
    return q.afetadas;
}

int TQuery::ParamCount() {
    impl_->Preparar();
    return static_cast<int>(impl_->params.size());
}

bool TQuery::Impl::BuscarProxima() {
    if (!cursor) return false;
    TStatus st;
    return ChamarNo(&banco->impl(), [&] {
        int res = cursor->fetchNext(st.w(), bufSaida.data());
        if (res != IStatus::RESULT_OK) {
            // the cursor is spent; release it now rather than at Close
            cursor->close(st.w());
            cursor = nullptr;
            return false;
        }
        if (unidirecional && !linhas.empty()) {
            linhas.back() = LerLinha(st.w());
            ++passadas;
        } else {
            linhas.push_back(LerLinha(st.w()));
        }
        return true;
    });
}

void TQuery::Open() {
    auto& q = *impl_;
    if (q.ativo) Close();
    q.Preparar();
    auto& tra = q.transacao->impl();
    TStatus st;
    q.afetadas = 0;
    q.contarAfetadas = false;
    bool cursorSelect = q.tipo == isc_info_sql_stmt_select || q.tipo == isc_info_sql_stmt_select_for_upd;
    if (!cursorSelect && q.colunas.empty()) Erro("O comando não devolve linhas: use ExecSQL.");
    if (!cursorSelect) tra.alterou = true;  // a procedure or RETURNING may change rows
    ChamarNo(&q.banco->impl(), [&] {
        q.MontarEntrada(st.w());
        if (cursorSelect) {
            q.cursor = q.stmt->openCursor(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, 0);
        } else {
            q.stmt->execute(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, q.bufSaida.data());
            q.linhas.push_back(q.LerLinha(st.w()));
        }
    });
    q.ativo = true;
    q.pos = 0;
    try {
        if (cursorSelect) q.BuscarProxima();
    } catch (...) {
        q.FecharCursor();
        throw;
    }
    q.eof = q.linhas.empty();
}

void TQuery::ExecSQL() {
    auto& q = *impl_;
    if (q.ativo) Close();
    q.Preparar();
    auto& tra = q.transacao->impl();
    TStatus st;
    if (q.tipo != isc_info_sql_stmt_select) tra.alterou = true;
    ChamarNo(&q.banco->impl(), [&] {
        q.MontarEntrada(st.w());
        if (q.tipo == isc_info_sql_stmt_select || q.tipo == isc_info_sql_stmt_select_for_upd) {
            IResultSet* rs = q.stmt->openCursor(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.saida, 0);
            try {
                rs->close(st.w());
            } catch (...) {
                rs->release();
                throw;
            }
            q.afetadas = 0;
            q.contarAfetadas = false;
        } else {
            q.stmt->execute(st.w(), tra.tra, q.entrada, q.bufEntrada.data(), q.colunas.empty() ? nullptr : q.saida,
                            q.colunas.empty() ? nullptr : q.bufSaida.data());
            q.afetadas = 0;
            q.contarAfetadas = true;
        }
    });
}

void TQuery::Close() { impl_->FecharCursor(); }

bool TQuery::Eof() const { return impl_->eof; }

void TQuery::SetUnidirecional(bool unidirecional) {
    if (impl_->ativo) Erro("A consulta está aberta: feche-a antes de mudar a forma de leitura.");
    impl_->unidirecional = unidirecional;
}

bool TQuery::Unidirecional() const { return impl_->unidirecional; }

void TQuery::First() {
    auto& q = *impl_;
    if (!q.ativo) Erro("A consulta não está aberta.");
    if (q.passadas > 0) Erro("A consulta só lê para frente: a primeira linha já passou.");
    q.pos = 0;
    q.eof = q.linhas.empty();
}

void TQuery::Next() {
    auto& q = *impl_;
    if (!q.ativo) Erro("A consulta não está aberta.");
    if (q.eof) return;
    if (q.pos + 1 < q.linhas.size())
        ++q.pos;
    else if (q.BuscarProxima())
        q.pos = q.linhas.size() - 1;  // forward-only: the new row took the old one's place
    else
        q.eof = true;  // stays on the last row, as the grid expects
}

size_t TQuery::RecNo() const { return impl_->passadas + impl_->pos; }

std::optional<TField> TQuery::FindField(std::string_view nome) const {
    const auto& q = *impl_;
    for (size_t i = 0; i < q.colunas.size(); ++i)
        if (IguaisAscii(q.colunas[i].nome, nome)) return q.campos[i];
    return std::nullopt;
}

TField TQuery::FieldByName(std::string_view nome) const {
    if (auto f = FindField(nome)) return *f;
    if (!impl_->stmt) Erro("Campo '" + std::string(nome) + "' não encontrado: a consulta não está aberta.");
    Erro("Campo '" + std::string(nome) + "' não encontrado.");
}

std::vector<std::string> TQuery::NomesDosCampos() const {
    std::vector<std::string> r;
    for (const auto& c : impl_->colunas) r.push_back(c.nome);
    return r;
}

}  // namespace fb
