#include "data/udtmAplicativo.h"

#include <algorithm>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/Aguarde.h"

namespace {
// The program's own login, for a server configEtq.ini says nothing about.
const char* const kUsuarioPadrao = "Sysdba";
const char* const kSenhaPadrao = "pinewoods";
}  // namespace

std::vector<std::string> ParametrosConexao() { return ParametrosConexao(kUsuarioPadrao, kSenhaPadrao); }

std::vector<std::string> ParametrosConexao(const std::string& usuario, const std::string& senha) {
    return {"user_name=" + usuario, "password=" + senha, "lc_ctype=WIN1252"};
}

std::vector<std::string> ParametrosConexaoConfig() {
    // A shop whose server has its own administrator password sets it here.
    std::string usuario = LerConfig(kChaveUsuarioBd);
    std::string senha = LerConfig(kChaveSenhaBd);
    return ParametrosConexao(usuario.empty() ? kUsuarioPadrao : usuario, senha.empty() ? kSenhaPadrao : senha);
}
std::vector<std::string> ParametrosTransacao() { return {"read_committed", "rec_version", "nowait"}; }
std::vector<std::string> ParametrosTransacaoMrg() { return {"concurrency", "nowait"}; }

namespace {

const char* const kMensagemCommit = "Transação não efetuada, será revertida, favor tentar novamente.";

// Value of a pairs list as INSERTFILE writes it: decimal commas become points,
// quotes become blanks, so the text can sit between single quotes. A NUL (a
// goods name can hold one) would end the statement text early: a blank too,
// as the printer side blanks control bytes.
void AcrescentarValorLimpo(std::string& destino, const std::string& valor) {
    for (char c : valor) {
        if (c == ',')
            c = '.';
        else if (c == '\'' || c == '"' || c == '\0')
            c = ' ';
        destino += c;
    }
}

}  // namespace

TdtmAplicativo::TdtmAplicativo()
    : ibtAplicativo(dtbAplicativo, ParametrosTransacao()),
      ibtAplicativoMrg(dtbAplicativoMrg, ParametrosTransacaoMrg()),
      qryprocesso(dtbAplicativo, ibtAplicativo),
      qrySelect1(dtbAplicativo, ibtAplicativo),
      qrySelect2(dtbAplicativo, ibtAplicativo),
      qrySelect3(dtbAplicativo, ibtAplicativo),
      qrySelect4(dtbAplicativo, ibtAplicativo),
      qrySelectMrg(dtbAplicativoMrg, ibtAplicativoMrg),
      qryConfigGeral(dtbAplicativo, ibtAplicativo),
      qryBloqueio(dtbAplicativo, ibtAplicativo),
      tblFormat(dtbAplicativo, ibtAplicativo, "FORMATMRG"),
      tblNumeroNF(dtbAplicativo, ibtAplicativo, "NUMERO_NF"),
      tblMercadorias(dtbAplicativo, ibtAplicativo, "MERCADORIAS"),
      tblLogEstoque(dtbAplicativo, ibtAplicativo, "LOGESTOQUE"),
      tblEstoqueEmpresa(dtbAplicativo, ibtAplicativo, "ESTOQUE_EMPRESA"),
      tblGrades_Produtos_P(dtbAplicativo, ibtAplicativo, "GRADES_PRODUTOS_P"),
      tblProdutos_cli(dtbAplicativo, ibtAplicativo, "PRODUTOS_CLI") {
    // dtmReceberCreate
    std::string caminho = LerConfig("PATH MERKOR");
    const std::vector<std::string> parametros = ParametrosConexaoConfig();
    for (fb::TDatabase* banco : {&dtbAplicativo, &dtbAplicativoMrg}) {
        banco->SetParametros(parametros);
        banco->FecharDataSets();
        banco->Desconectar();
        banco->SetCaminho(caminho);
    }
    dtbAplicativo.SetTransacaoPadrao(&ibtAplicativo);
    dtbAplicativoMrg.SetTransacaoPadrao(&ibtAplicativoMrg);

    tblMercadorias.BeforeInsert = [this](TTabela& t) { tblMercadoriasBeforeInsert(t); };
    tblMercadorias.AfterCancel = [this](TTabela& t) { tblMercadoriasAfterCancel(t); };
    tblNumeroNF.AfterInsert = [this](TTabela& t) { tblNumeroNFAfterInsert(t); };

    dtmConectBanco(false);
    dtmConectBancoMrg(false);
    AtivaConfiguracaoTEF();
    CancelaNumeroNF = 0;
}

TdtmAplicativo::~TdtmAplicativo() {
    // dtmReceberDestroy: each step on its own, so one failure does not leave
    // the other connection open.
    try {
        if (ibtAplicativo.Ativa()) ibtAplicativo.Rollback();
    } catch (...) {}
    for (TTabela* t : {&tblFormat, &tblNumeroNF, &tblMercadorias, &tblLogEstoque, &tblEstoqueEmpresa,
                       &tblGrades_Produtos_P, &tblProdutos_cli})
        t->Close();
    try {
        dtbAplicativo.FecharDataSets();
    } catch (...) {}
    try {
        dtbAplicativo.Desconectar();
    } catch (...) {}
    try {
        dtmConectBancoMrg(false);
    } catch (...) {}
}

void TdtmAplicativo::AtivaConfiguracaoTEF() {
    for (auto& f : ConfigTEF) f = 0;
    ConfigTEFInteiro = 1;
}

void TdtmAplicativo::dtmConectBanco(bool conectar) {
    if (!conectar) return;
    if (!dtbAplicativo.Conectado()) dtbAplicativo.Conectar();
    if (!ibtAplicativo.Ativa()) ibtAplicativo.Start();
    if (!dtbAplicativo.Conectado()) return;
    qryprocesso.Clear();
    qryprocesso.Add("Select CODIGO FROM GERADOR");
    qryprocesso.Open();
    if (qryprocesso.Eof()) {
        qryprocesso.Clear();
        qryprocesso.Add("INSERT INTO GERADOR ( CODIGO ) VALUES ( 1 )");
        qryprocesso.Prepare();
        qryprocesso.ExecSQL();
        ibtAplicativo.CommitRetaining();
    }
    qryprocesso.Close();
}

void TdtmAplicativo::dtmConectBancoMrg(bool conectar) {
    if (conectar) {
        if (!dtbAplicativoMrg.Conectado()) dtbAplicativoMrg.Conectar();
        if (!ibtAplicativoMrg.Ativa()) ibtAplicativoMrg.Start();
        return;
    }
    // Ending the snapshot here is what lets the next goods run see fresh data.
    if (ibtAplicativoMrg.Ativa()) ibtAplicativoMrg.Rollback();
    dtbAplicativoMrg.FecharDataSets();
    dtbAplicativoMrg.Desconectar();
}

void TdtmAplicativo::dtmAplicativoOpen(const std::vector<std::string>& nomes) {
    TAguarde aguarde;
    auto abre = [&](TTabela& t, const char* nome) {
        if (t.Active() || !ConstaNaLista(nomes, nome)) return false;
        t.Open();
        return true;
    };
    abre(tblFormat, "FormatMrg");
    abre(tblNumeroNF, "NumeroNF");
    abre(tblMercadorias, "Mercadorias");
    if (abre(tblLogEstoque, "LogEstoque")) tblLogEstoque.SetOrdenacao("COD_MER;DATA_ALT");
    abre(tblEstoqueEmpresa, "EstoqueEmpresa");
    if (abre(tblGrades_Produtos_P, "Grades_Produtos_P")) {
        tblGrades_Produtos_P.SetOrdenacao("COD_MER");
        tblGrades_Produtos_P.SetOrdenacao("COD_BAR");
        tblGrades_Produtos_P.SetOrdenacao("REF_MER");
    }
    abre(tblProdutos_cli, "Produtos_Cli");
}

void TdtmAplicativo::dtmAplicativoclose(const std::vector<std::string>& nomes) {
    // LogEstoque is left as it was: no caller closes it by name.
    if (ConstaNaLista(nomes, "FormatMrg")) tblFormat.Close();
    if (ConstaNaLista(nomes, "NumeroNF")) tblNumeroNF.Close();
    if (ConstaNaLista(nomes, "Mercadorias")) tblMercadorias.Close();
    if (ConstaNaLista(nomes, "EstoqueEmpresa")) tblEstoqueEmpresa.Close();
    if (ConstaNaLista(nomes, "Grades_Produtos_P")) tblGrades_Produtos_P.Close();
    if (ConstaNaLista(nomes, "Produtos_Cli")) tblProdutos_cli.Close();
}

bool TdtmAplicativo::dtmCommit(TTabela* tabela) {
    try {
        if (tabela) {
            if (&tabela->Banco() != &dtbAplicativo || &tabela->Transacao() != &ibtAplicativo)
                throw EDatabaseError("A tabela " + tabela->NomeTabela() + " não pertence à conexão principal.");
            tabela->Post();
        }
        ibtAplicativo.CommitRetaining();
        return true;
    } catch (const fb::EFbConexao& e) {
        // The server is gone with the transaction: nothing left to roll back.
        InterfaceUsuario().Mensagem(e.what());
        return false;
    } catch (const std::exception&) {
        try {
            ibtAplicativo.RollbackRetaining();
        } catch (...) {}
        // The table must not go on showing what was just undone.
        if (tabela && tabela->Active() && &tabela->Transacao() == &ibtAplicativo) {
            try {
                tabela->Cancel();
                tabela->Refresh();
            } catch (...) {}
        }
        InterfaceUsuario().Mensagem(kMensagemCommit);
        return false;
    }
}

void TdtmAplicativo::dtmRollback() { ibtAplicativo.RollbackRetaining(); }

void TdtmAplicativo::tblMercadoriasBeforeInsert(TTabela&) {
    ContadorMercadorias1 = 0;
    ContadorMercadorias2 = 0;
}

void TdtmAplicativo::tblMercadoriasAfterCancel(TTabela& tabela) {
    std::string codigo = tabela.IsEmpty() ? "" : tabela.FieldByName("COD_RED").AsString();
    dtmRollback();
    tabela.Refresh();
    if (!codigo.empty()) tabela.Locate("COD_RED", codigo);
}

void TdtmAplicativo::tblNumeroNFAfterInsert(TTabela& tabela) {
    if (CancelaNumeroNF == 1) tabela.Cancel();
}

// ---------------------------------------------------------------- builders

fb::TQuery* TdtmAplicativo::Slot(const std::string& nome) {
    if (nome == "1") return &qrySelect1;
    if (nome == "2") return &qrySelect2;
    if (nome == "3") return &qrySelect3;
    if (nome == "4") return &qrySelect4;
    if (nome == "MRG") return &qrySelectMrg;
    return nullptr;
}

bool TdtmAplicativo::AbrirSelect(fb::TQuery& qry, const std::string& linha1, const std::string* linha2) {
    qry.Clear();
    qry.Add(linha1);
    if (linha2) qry.Add(*linha2);
    try {
        qry.Open();
    } catch (...) {
        qry.Close();
        throw;
    }
    return !qry.Eof();
}

bool TdtmAplicativo::SelectFile(const std::string& slot, const std::string& tabela, const std::string& condicao) {
    if (fb::TQuery* q = Slot(slot))
        return AbrirSelect(*q, "Select * From " + tabela + " Where ( " + condicao + " )", nullptr);
    if (Maiusculas(slot) == "CLOSE")
        for (fb::TQuery* q : {&qrySelect1, &qrySelect2, &qrySelect3, &qrySelect4, &qrySelectMrg}) q->Close();
    return false;
}

bool TdtmAplicativo::SelectFileQry(fb::TQuery& qry, const std::string& tabela, const std::string& condicao) {
    return AbrirSelect(qry, "Select * From " + tabela + " Where ( " + condicao + " )", nullptr);
}

bool TdtmAplicativo::SelectFileOrdemCampo(const std::string& slot, const std::string& tabela,
                                          const std::string& condicao, const std::string& ordem,
                                          const std::string& campos) {
    if (fb::TQuery* q = Slot(slot)) {
        std::string linha1 = "Select " + (campos.empty() ? std::string("*") : campos) + " From " + tabela +
                             " Where ( " + condicao + " )";
        std::string linha2 = "Order By " + ordem;
        return AbrirSelect(*q, linha1, ordem.empty() ? nullptr : &linha2);
    }
    // qrySelect4 stays open here, unlike SelectFile's CLOSE.
    if (Maiusculas(slot) == "CLOSE")
        for (fb::TQuery* q : {&qrySelect1, &qrySelect2, &qrySelect3, &qrySelectMrg}) q->Close();
    return false;
}

std::vector<std::string> TdtmAplicativo::LinhasInsert(const std::string& tabela, const std::vector<std::string>& pares,
                                                      bool trocar) {
    const size_t n = pares.size() / 2;
    std::string colunas, valores;
    size_t tamanho = 0;
    for (size_t i = 0; i < 2 * n; ++i) tamanho += pares[i].size() + 3;
    colunas.reserve(tamanho + 8);
    valores.reserve(tamanho + 16);
    colunas = "( ";
    valores = " Values ( ";
    for (size_t i = 0; i < n; ++i) {
        colunas += pares[2 * i];
        colunas += ',';
        valores += '\'';
        if (trocar)
            AcrescentarValorLimpo(valores, pares[2 * i + 1]);
        else
            valores += pares[2 * i + 1];
        valores += "',";
    }
    if (n > 0) {
        colunas.pop_back();
        valores.pop_back();
    }
    colunas += " )  ";
    valores += " )  ";
    return {"Insert into " + tabela, std::move(colunas), std::move(valores)};
}

void TdtmAplicativo::ExecutarInsert(const std::string& tabela, const std::vector<std::string>& pares, bool trocar) {
    qryprocesso.Clear();
    for (const std::string& l : LinhasInsert(tabela, pares, trocar)) qryprocesso.Add(l);
    qryprocesso.Prepare();
    qryprocesso.ExecSQL();
}

void TdtmAplicativo::INSERTFILE(const std::string& tabela, const std::vector<std::string>& pares) {
    ExecutarInsert(tabela, pares, true);
}

void TdtmAplicativo::INSERTFILE_LOG(const std::string& tabela, const std::vector<std::string>& pares) {
    ExecutarInsert(tabela, pares, false);
}

void TdtmAplicativo::UPDATEFILE(const std::string& tabela, const std::string& atribuicoes,
                                const std::string& condicao) {
    qryprocesso.Clear();
    qryprocesso.Add("UPDATE " + tabela + " SET");
    qryprocesso.Add(atribuicoes);
    qryprocesso.Add("WHERE");
    qryprocesso.Add("( " + condicao + " )");
    qryprocesso.Prepare();
    qryprocesso.ExecSQL();
}

void TdtmAplicativo::UPDATEFILE_Matriz(const std::string& tabela, const std::string& condicao,
                                       const std::vector<std::string>& pares) {
    std::string atribuicoes;
    for (size_t i = 0; i < pares.size() / 2; ++i) {
        const std::string& valor = pares[2 * i + 1];
        atribuicoes += pares[2 * i];
        atribuicoes += '=';
        if (valor.empty()) {
            atribuicoes += "''";
        } else {
            atribuicoes += '\'';
            AcrescentarValorLimpo(atribuicoes, valor);
            atribuicoes += '\'';
        }
        atribuicoes += ',';
    }
    if (!atribuicoes.empty()) atribuicoes.pop_back();
    if (!atribuicoes.empty()) UPDATEFILE(tabela, atribuicoes, condicao);
}

void TdtmAplicativo::DeleteRegistro(const std::string& tabela, const std::string& condicao) {
    qryprocesso.Clear();
    qryprocesso.Add("DELETE FROM " + tabela);
    qryprocesso.Add("WHERE");
    qryprocesso.Add("( " + condicao + " )");
    qryprocesso.Prepare();
    qryprocesso.ExecSQL();
}

int64_t TdtmAplicativo::BuscaGerador(const std::string& gerador) {
    qryprocesso.Clear();
    qryprocesso.Add("Select gen_id(" + gerador + ",1) codigo from gerador");
    qryprocesso.Open();
    if (qryprocesso.Eof()) {
        // Without GERADOR's row the generator was not even advanced: no value to give.
        qryprocesso.Close();
        throw EDatabaseError("A tabela GERADOR está vazia; o gerador " + gerador + " não pôde ser lido.");
    }
    int64_t r = qryprocesso.FieldByName("codigo").AsInteger();
    qryprocesso.Close();
    return r;
}

int64_t TdtmAplicativo::BuscaUltimo(const std::string& tabela, const std::string& coluna) {
    qryprocesso.Clear();
    qryprocesso.Add("Select max(" + coluna + ") codigo from " + tabela);
    qryprocesso.Open();
    int64_t r = qryprocesso.FieldByName("codigo").AsInteger() + 1;
    qryprocesso.Close();
    return r;
}

namespace {

// The longest text a parameter takes (the client's limit for one VARCHAR).
constexpr size_t kMaiorParametro = 32765;

// Length a text parameter is declared with: a power of two from 32, so a
// batch settles on a few lengths and one prepared block.
size_t TamanhoParametro(size_t bytes) {
    size_t t = 32;
    while (t < bytes) t *= 2;
    return std::min(t, kMaiorParametro);
}

// Places of a block whose parameters stay within kBytesPorBloco: per place
// the list number (a SMALLINT) and one VARCHAR per column, each with its
// length word, null flag and alignment.
size_t LugaresPorBloco(const std::vector<size_t>& tamanhos) {
    size_t porLugar = 8;
    for (size_t t : tamanhos) porLugar += t + 8;
    return std::clamp<size_t>(TInsercaoEmBlocos::kBytesPorBloco / porLugar, 1, TInsercaoEmBlocos::kLinhasPorBloco);
}

}  // namespace

TInsercaoEmBlocos::TInsercaoEmBlocos(TdtmAplicativo& dtm, std::string tabela) : dtm_(dtm), tabela_(std::move(tabela)) {}

TInsercaoEmBlocos::~TInsercaoEmBlocos() = default;

size_t TInsercaoEmBlocos::Lugares() const { return LugaresPorBloco(tamanhos_); }

void TInsercaoEmBlocos::INSERTFILE(const std::vector<std::string>& pares) {
    const size_t n = pares.size() / 2;
    std::vector<std::string> forma, valores;
    std::vector<size_t> bytes;
    forma.reserve(n);
    valores.reserve(n);
    bool cabe = n > 0;
    for (size_t i = 0; i < n; ++i) {
        forma.push_back(pares[2 * i]);
        std::string v;
        AcrescentarValorLimpo(v, pares[2 * i + 1]);
        bytes.push_back(Win1252::DeUtf8(v).size());
        if (bytes.back() > kMaiorParametro) cabe = false;
        valores.push_back(std::move(v));
    }
    for (size_t i = 0; cabe && i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (forma[i] == forma[j]) cabe = false;
    if (!cabe) {
        // What no parameter holds (or the server refuses whole) goes as INSERTFILE sends it.
        Enviar();
        dtm_.INSERTFILE(tabela_, pares);
        return;
    }

    // The lists and lengths with this row.
    size_t f = std::find(formas_.begin(), formas_.end(), forma) - formas_.begin();
    if (f == formas_.size() && formas_.size() == kFormasPorBloco) {
        Enviar();
        formas_.clear();
        colunas_.clear();
        tamanhos_.clear();
        f = 0;
    }
    std::vector<size_t> tamanhos = tamanhos_;
    std::vector<size_t> indice(n);
    size_t novas = 0;
    for (size_t i = 0; i < n; ++i) {
        size_t c = std::find(colunas_.begin(), colunas_.end(), forma[i]) - colunas_.begin();
        if (c == colunas_.size()) {
            c = colunas_.size() + novas++;
            tamanhos.push_back(32);
        }
        indice[i] = c;
        tamanhos[c] = std::max(tamanhos[c], TamanhoParametro(bytes[i]));
    }
    // Longer parameters mean fewer places: the rows waiting go first when they would not fit.
    if (!pendentes_.empty() && tamanhos != tamanhos_ && pendentes_.size() + 1 > LugaresPorBloco(tamanhos)) {
        Enviar();
    }
    for (size_t i = 0; i < n; ++i)
        if (indice[i] >= colunas_.size()) colunas_.push_back(forma[i]);
    tamanhos_ = std::move(tamanhos);
    if (f == formas_.size()) formas_.push_back(forma);

    Pendente p;
    p.forma = f;
    p.valores.resize(colunas_.size());
    for (size_t i = 0; i < n; ++i) p.valores[indice[i]] = std::move(valores[i]);
    pendentes_.push_back(std::move(p));
    if (pendentes_.size() >= Lugares()) Enviar();
}

std::vector<std::string> TInsercaoEmBlocos::TextoBloco(const std::vector<std::vector<std::string>>& linhasInsert) {
    if (linhasInsert.size() == 1) return linhasInsert.front();
    std::vector<std::string> r{"EXECUTE BLOCK AS", "BEGIN"};
    for (const auto& insert : linhasInsert) {
        r.insert(r.end(), insert.begin(), insert.end());
        r.back() += ";";
    }
    r.push_back("END");
    return r;
}

std::vector<std::string> TInsercaoEmBlocos::TextoBlocoPreparado(const std::string& tabela,
                                                                const std::vector<std::vector<std::string>>& formas,
                                                                const std::vector<std::string>& colunas,
                                                                const std::vector<size_t>& tamanhos, size_t lugares) {
    // The values arrive as the texts INSERTFILE would quote, in the
    // connection's character set, as its literals do.
    std::vector<std::string> r{"EXECUTE BLOCK ("};
    for (size_t l = 0; l < lugares; ++l) {
        const std::string n = std::to_string(l);
        std::string d = "K" + n + " SMALLINT = ?";
        for (size_t c = 0; c < colunas.size(); ++c)
            d += ", V" + n + "_" + std::to_string(c) + " VARCHAR(" + std::to_string(tamanhos[c]) +
                 ") CHARACTER SET WIN1252 = ?";
        r.push_back(d + (l + 1 < lugares ? "," : ""));
    }
    r.push_back(") AS");
    r.push_back("BEGIN");
    for (size_t l = 0; l < lugares; ++l) {
        const std::string n = std::to_string(l);
        for (size_t f = 0; f < formas.size(); ++f) {
            std::string nomes, valores;
            for (const std::string& nome : formas[f]) {
                const size_t c = std::find(colunas.begin(), colunas.end(), nome) - colunas.begin();
                nomes += (nomes.empty() ? "" : ",") + nome;
                valores += (valores.empty() ? ":V" : ",:V") + n + "_" + std::to_string(c);
            }
            // NOLINTBEGIN(performance-inefficient-string-concatenation): a statement's text, prepared once
            r.push_back(std::string(f ? "ELSE " : "") + "IF (:K" + n + " = " + std::to_string(f + 1) +
                        ") THEN Insert into " + tabela + " ( " + nomes + " ) Values ( " + valores + " );");
            // NOLINTEND(performance-inefficient-string-concatenation)
        }
    }
    r.push_back("END");
    return r;
}

void TInsercaoEmBlocos::Enviar() {
    if (pendentes_.empty()) return;
    if (pendentes_.size() == 1) {
        // A row alone is INSERTFILE's own statement (the embedded engine's
        // batch goes row by row, where a request costs nothing).
        const Pendente linha = std::move(pendentes_.front());
        pendentes_.clear();
        std::vector<std::string> pares;
        for (const std::string& nome : formas_[linha.forma]) {
            pares.push_back(nome);
            pares.push_back(linha.valores[static_cast<size_t>(std::find(colunas_.begin(), colunas_.end(), nome) -
                                                              colunas_.begin())]);
        }
        dtm_.INSERTFILE(tabela_, pares);
        return;
    }
    const size_t lugares = Lugares();
    const std::vector<std::string> linhas = TextoBlocoPreparado(tabela_, formas_, colunas_, tamanhos_, lugares);
    std::string texto;
    for (const std::string& l : linhas) texto += l + "\n";
    auto p = std::find_if(preparados_.begin(), preparados_.end(), [&](const auto& e) { return e.first == texto; });
    if (p == preparados_.end()) {
        if (preparados_.size() >= 4) preparados_.clear();
        auto q = std::make_unique<fb::TQuery>(dtm_.dtbAplicativo, dtm_.ibtAplicativo);
        for (const std::string& l : linhas) q->Add(l);
        preparados_.emplace_back(texto, std::move(q));
        p = preparados_.end() - 1;
    }
    fb::TQuery& q = *p->second;
    std::vector<Pendente> enviar;
    enviar.swap(pendentes_);
    int i = 0;
    for (size_t l = 0; l < lugares; ++l) {
        const Pendente* linha = l < enviar.size() ? &enviar[l] : nullptr;
        q.ParamInteiro(i++, linha ? static_cast<int64_t>(linha->forma) + 1 : 0);
        for (size_t c = 0; c < colunas_.size(); ++c) {
            const bool tem = linha && std::find(formas_[linha->forma].begin(), formas_[linha->forma].end(),
                                                colunas_[c]) != formas_[linha->forma].end();
            if (tem)
                q.ParamTexto(i++, linha->valores[c]);
            else
                q.ParamNulo(i++);
        }
    }
    q.ExecSQL();
}
