#include "data/Tabela.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/Excecoes.h"

// ---------------------------------------------------------------- TValor

TValor TValor::Texto(std::string v) {
    TValor r;
    r.nulo_ = false;
    r.tipo_ = TTipoCampo::Texto;
    r.texto_ = std::move(v);
    return r;
}

TValor TValor::Inteiro(int64_t v) {
    TValor r;
    r.nulo_ = false;
    r.tipo_ = TTipoCampo::Inteiro;
    r.inteiro_ = v;
    return r;
}

TValor TValor::Dec(const Decimal& v) {
    TValor r;
    r.nulo_ = false;
    r.tipo_ = TTipoCampo::Decimal;
    r.decimal_ = v;
    return r;
}

TValor TValor::Real(double v) {
    TValor r;
    r.nulo_ = false;
    r.tipo_ = TTipoCampo::Real;
    r.real_ = v;
    return r;
}

TValor TValor::Data(TDateTime v) {
    TValor r;
    r.nulo_ = false;
    r.tipo_ = TTipoCampo::Data;
    r.real_ = v;
    return r;
}

std::string TValor::AsString() const {
    if (nulo_) return "";
    switch (tipo_) {
        case TTipoCampo::Texto: return texto_;
        case TTipoCampo::Inteiro: return std::to_string(inteiro_);
        case TTipoCampo::Decimal: return decimal_.ParaTexto();
        case TTipoCampo::Real: return NumeroSQL(real_);
        case TTipoCampo::Data: {
            double frac = real_ - std::floor(real_);
            std::string dia = FormataData("DD/MM/AAAA", real_);
            return frac > 0 ? dia + " " + FormataData("HH:MM:SS", real_) : dia;
        }
    }
    return "";
}

int64_t TValor::AsInteger() const {
    if (nulo_) return 0;
    switch (tipo_) {
        case TTipoCampo::Texto: return StrToInt(texto_);
        case TTipoCampo::Inteiro: return inteiro_;
        case TTipoCampo::Decimal: return decimal_.ParteInteira();
        case TTipoCampo::Real:
        case TTipoCampo::Data: return static_cast<int64_t>(std::trunc(real_));
    }
    return 0;
}

Decimal TValor::AsDecimal() const {
    if (nulo_) return Decimal();
    switch (tipo_) {
        case TTipoCampo::Texto: return Decimal::DeTexto(Trim(texto_));
        case TTipoCampo::Inteiro: return Decimal(inteiro_);
        case TTipoCampo::Decimal: return decimal_;
        case TTipoCampo::Real:
        case TTipoCampo::Data: return Decimal::DeDouble(real_, 9);
    }
    return Decimal();
}

double TValor::AsFloat() const {
    if (nulo_) return 0;
    switch (tipo_) {
        case TTipoCampo::Texto: return Decimal::DeTexto(Trim(texto_)).ParaDouble();
        case TTipoCampo::Inteiro: return static_cast<double>(inteiro_);
        case TTipoCampo::Decimal: return decimal_.ParaDouble();
        case TTipoCampo::Real:
        case TTipoCampo::Data: return real_;
    }
    return 0;
}

TDateTime TValor::AsDate() const {
    if (nulo_) return 0;
    switch (tipo_) {
        case TTipoCampo::Texto: return StrToDate(Trim(texto_));
        case TTipoCampo::Inteiro: return static_cast<double>(inteiro_);
        case TTipoCampo::Decimal: return decimal_.ParaDouble();
        case TTipoCampo::Real:
        case TTipoCampo::Data: return real_;
    }
    return 0;
}

TValor TValor::ConvertidoPara(TTipoCampo tipo, int escala) const {
    if (nulo_) return TValor();
    // An empty text in a number or date column means "no value", as in a grid cell left blank.
    if (tipo_ == TTipoCampo::Texto && tipo != TTipoCampo::Texto && Trim(texto_).empty()) return TValor();
    switch (tipo) {
        case TTipoCampo::Texto: return Texto(AsString());
        case TTipoCampo::Inteiro: return Inteiro(AsInteger());
        case TTipoCampo::Decimal: return Dec(AsDecimal().ComEscala(escala));
        case TTipoCampo::Real: return Real(AsFloat());
        case TTipoCampo::Data: return Data(AsDate());
    }
    return TValor();
}

bool operator==(const TValor& a, const TValor& b) {
    if (a.nulo_ || b.nulo_) return a.nulo_ == b.nulo_;
    if (a.tipo_ != b.tipo_) return a.AsString() == b.AsString();
    switch (a.tipo_) {
        case TTipoCampo::Texto: return a.texto_ == b.texto_;
        case TTipoCampo::Inteiro: return a.inteiro_ == b.inteiro_;
        case TTipoCampo::Decimal: return a.decimal_ == b.decimal_;
        case TTipoCampo::Real:
        case TTipoCampo::Data: return a.real_ == b.real_;
    }
    return false;
}

// ---------------------------------------------------------------- TTabela

namespace {

const char* const kColunaChave = "ETIQ$CHAVE";
// RDB$CHARACTER_SET_ID of WIN1252.
constexpr int64_t kWin1252 = 53;

std::string Aspas(std::string_view texto, char aspa) {
    std::string r(1, aspa);
    for (char c : texto) {
        r += c;
        if (c == aspa) r += c;
    }
    r += aspa;
    return r;
}

// RDB$DB_KEY as 16 hex digits, from the uuid_to_char text the selects ask for.
std::string ChaveDoTexto(const std::string& texto) {
    std::string chave;
    for (char c : texto)
        if (c != '-' && chave.size() < 16) chave += c;
    return chave;
}

uint64_t ChaveNumerica(const std::string& chave) {
    uint64_t n = 0;
    std::from_chars(chave.data(), chave.data() + chave.size(), n, 16);
    return n;
}

// As uuid_to_char writes it: 16 upper-case hex digits.
std::string ChaveEmTexto(uint64_t n) {
    char t[17];
    std::snprintf(t, sizeof t, "%016llX", static_cast<unsigned long long>(n));
    return t;
}

// Rows read by key in one request.
constexpr size_t kBlocoPorChave = 64;

std::string SemBrancosFinais(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

TTipoCampo TipoDoBanco(int64_t tipo, int64_t escala) {
    switch (tipo) {
        case 7:
        case 8:
        case 16:  // smallint, integer, bigint (numeric when scaled)
            return escala < 0 ? TTipoCampo::Decimal : TTipoCampo::Inteiro;
        case 10:
        case 27:  // float, double
            return TTipoCampo::Real;
        case 12:
        case 35:  // date, timestamp
            return TTipoCampo::Data;
        default: return TTipoCampo::Texto;
    }
}

TValor LerValor(const fb::TField& f, const TCampoTabela& c) {
    if (f.IsNull()) return TValor();
    switch (c.tipo) {
        case TTipoCampo::Texto: return TValor::Texto(f.AsString());
        case TTipoCampo::Inteiro: return TValor::Inteiro(f.AsInteger());
        case TTipoCampo::Decimal: return TValor::Dec(f.AsDecimal().ComEscala(c.escala));
        case TTipoCampo::Real: return TValor::Real(f.AsFloat());
        case TTipoCampo::Data: return TValor::Data(f.AsDate());
    }
    return TValor();
}

void PassarParametro(fb::TQuery& q, int i, const TValor& v) {
    if (v.IsNull()) {
        q.ParamNulo(i);
        return;
    }
    switch (v.Tipo()) {
        case TTipoCampo::Texto: q.ParamTexto(i, v.AsString()); break;
        case TTipoCampo::Inteiro: q.ParamInteiro(i, v.AsInteger()); break;
        case TTipoCampo::Decimal: q.ParamDecimal(i, v.AsDecimal()); break;
        case TTipoCampo::Real: q.ParamDecimal(i, Decimal::DeDouble(v.AsFloat(), 9)); break;
        case TTipoCampo::Data: q.ParamData(i, v.AsDate()); break;
    }
}

}  // namespace

TTabela::TTabela(fb::TDatabase& banco, fb::TTransaction& transacao, std::string nomeTabela)
    : banco_(banco), transacao_(transacao), nomeTabela_(std::move(nomeTabela)) {}

TTabela::~TTabela() = default;

bool TTabela::Active() const { return ativa_; }

TEstadoTabela TTabela::Estado() const { return estado_; }

void TTabela::Avisar() {
    if (AoMudar) AoMudar(*this);
}

void TTabela::ExigirAtiva() const {
    if (!ativa_) throw EDatabaseError("A tabela " + nomeTabela_ + " não está aberta.");
}

void TTabela::ExigirLinha() const {
    ExigirAtiva();
    Garantir();
    if (Vazia()) throw EDatabaseError("A tabela " + nomeTabela_ + " não tem registros.");
}

void TTabela::LerEstrutura() {
    if (!alteracao_) alteracao_ = std::make_unique<fb::TQuery>(banco_, transacao_);
    fb::TQuery& q = *alteracao_;
    q.Clear();
    q.Add("Select rf.rdb$field_name, f.rdb$field_type, f.rdb$field_scale, f.rdb$character_set_id");
    q.Add("From rdb$relation_fields rf join rdb$fields f on f.rdb$field_name = rf.rdb$field_source");
    q.Add("Where rf.rdb$relation_name = " + Aspas(Maiusculas(nomeTabela_), '\''));
    q.Add("Order By rf.rdb$field_position");
    q.Open();
    std::vector<TCampoTabela> campos;
    for (; !q.Eof(); q.Next()) {
        TCampoTabela c;
        c.nome = SemBrancosFinais(q.FieldByName("RDB$FIELD_NAME").AsString());
        int64_t escala = q.FieldByName("RDB$FIELD_SCALE").AsInteger();
        c.tipo = TipoDoBanco(q.FieldByName("RDB$FIELD_TYPE").AsInteger(), escala);
        c.escala = c.tipo == TTipoCampo::Decimal ? static_cast<int>(-escala) : 0;
        c.win1252 = c.tipo == TTipoCampo::Texto && q.FieldByName("RDB$CHARACTER_SET_ID").AsInteger() == kWin1252;
        campos.push_back(std::move(c));
    }
    q.Close();
    if (campos.empty()) {
        // Let the server say what is wrong with the name (missing table, no rights).
        q.Clear();
        q.Add("Select * From " + nomeTabela_);
        q.Prepare();
        q.Close();
        throw EDatabaseError("A tabela " + nomeTabela_ + " não tem colunas.");
    }
    campos_ = std::move(campos);
    indices_.clear();
    for (size_t i = 0; i < campos_.size(); ++i) indices_[campos_[i].nome] = static_cast<int>(i);
}

std::string TTabela::TextoSelect() const {
    std::string s = "Select uuid_to_char(rdb$db_key || x'0000000000000000') as ";
    s += kColunaChave;
    for (const auto& c : campos_) {
        s += ", ";
        s += Aspas(c.nome, '"');
    }
    s += " From " + nomeTabela_;
    if (filtrado_ && !Trim(filtro_).empty()) s += " Where ( " + filtro_ + " )";
    if (!Trim(ordenacao_).empty()) {
        std::string ordem;
        size_t ini = 0;
        while (ini <= ordenacao_.size()) {
            size_t fim = ordenacao_.find(';', ini);
            if (fim == std::string::npos) fim = ordenacao_.size();
            std::string nome = Trim(std::string_view(ordenacao_).substr(ini, fim - ini));
            if (!nome.empty()) {
                if (!ordem.empty()) ordem += ", ";
                const TCampoTabela& campo = campos_[IndiceExigido(nome)];
                ordem += Aspas(campo.nome, '"');
                const auto colacao = colacoes_.find(campo.nome);
                // Names the collation holds equal ("CAFE", "Café") keep one order: the plain one.
                if (campo.win1252 && colacao != colacoes_.end())
                    ordem += " Collate " + colacao->second + ", " + Aspas(campo.nome, '"');
            }
            ini = fim + 1;
        }
        if (!ordem.empty()) s += " Order By " + ordem;
    }
    return s;
}

void TTabela::Executar() const {
    std::string texto = TextoSelect();
    if (!cursor_) {
        cursor_ = std::make_unique<fb::TQuery>(banco_, transacao_);
        cursor_->SetUnidirecional(true);  // the table keeps the rows it needs itself
    }
    linhas_.clear();
    base_ = 0;
    lidaToda_ = false;
    posDescartada_ = SIZE_MAX;
    chaveDescartada_.clear();
    cursor_->Clear();
    cursor_->Add(texto);
    cursor_->Open();
    if (cursor_->Eof()) {
        lidaToda_ = true;
        total_ = 0;
        cursor_->Close();
        return;
    }
    // the first row is the cursor's current one
    GuardarLinhaDoCursor();
}

void TTabela::GuardarLinhaDoCursor() const {
    Linha l;
    l.chave = ChaveDoTexto(cursor_->FieldByName(kColunaChave).AsString());
    l.valores.reserve(campos_.size());
    for (const auto& c : campos_) l.valores.push_back(LerValor(cursor_->FieldByName(c.nome), c));
    // A row read again after Recomecar has its key kept already.
    if (guardarChaves_ && Lidas() == chaves_.size()) chaves_.push_back(ChaveNumerica(l.chave));
    linhas_.push_back(std::move(l));
    if (linhas_.size() > kJanela) {
        if (base_ == pos_) {
            posDescartada_ = pos_;
            chaveDescartada_ = linhas_.front().chave;
        }
        linhas_.pop_front();
        ++base_;
    }
}

void TTabela::Recomecar() const {
    // The current row keeps its key until it is read again.
    const std::string chave = ChaveAtual();
    const size_t pos = pos_;
    Executar();
    if (!chave.empty()) {
        posDescartada_ = pos;
        chaveDescartada_ = chave;
    }
}

void TTabela::EsquecerChaves() const {
    chaves_.clear();
    avulsas_.clear();
}

void TTabela::SetGuardarChaves(bool guardar) {
    guardarChaves_ = guardar;
    // Keys are kept from the next read from the start, so they cover every row.
    EsquecerChaves();
    if (guardar && ativa_) reler_ = true;
}

TTabela::Linha& TTabela::PorChave(size_t linha) const {
    auto achada = avulsas_.find(linha);
    if (achada != avulsas_.end()) return achada->second;
    if (avulsas_.size() >= kJanela) avulsas_.clear();
    const size_t inicio = linha - linha % kBlocoPorChave;
    const size_t fim = std::min(inicio + kBlocoPorChave, std::min(base_, chaves_.size()));
    std::string s = "Select uuid_to_char(rdb$db_key || x'0000000000000000') as ";
    s += kColunaChave;
    for (const auto& c : campos_) s += ", " + Aspas(c.nome, '"');
    s += " From " + nomeTabela_ + " Where rdb$db_key in (";
    for (size_t i = inicio; i < fim; ++i) s += (i > inicio ? ", x'" : "x'") + ChaveEmTexto(chaves_[i]) + "'";
    s += ")";
    if (!porChave_) porChave_ = std::make_unique<fb::TQuery>(banco_, transacao_);
    fb::TQuery& q = *porChave_;
    q.Clear();
    q.Add(s);
    q.Open();
    std::unordered_map<uint64_t, Linha> lidas;
    for (; !q.Eof(); q.Next()) {
        Linha l;
        l.chave = ChaveDoTexto(q.FieldByName(kColunaChave).AsString());
        l.valores.reserve(campos_.size());
        for (const auto& c : campos_) l.valores.push_back(LerValor(q.FieldByName(c.nome), c));
        lidas.emplace(ChaveNumerica(l.chave), std::move(l));
    }
    q.Close();
    for (size_t i = inicio; i < fim; ++i) {
        auto l = lidas.find(chaves_[i]);
        if (l != lidas.end()) {
            avulsas_[i] = std::move(l->second);
        } else {
            // Deleted by another workstation: an empty row, which an edit finds gone.
            Linha vazia;
            vazia.chave = ChaveEmTexto(chaves_[i]);
            vazia.valores.assign(campos_.size(), TValor());
            avulsas_[i] = std::move(vazia);
        }
    }
    return avulsas_.at(linha);
}

bool TTabela::LerAte(size_t linha) const {
    if (linha < base_) {
        if (linha < chaves_.size()) return true;  // read by its key when asked
        // Behind the window: the rows are read again from the first.
        Recomecar();
    }
    while (Lidas() <= linha && !lidaToda_) {
        if (!cursor_ || !cursor_->Active())
            throw EDatabaseError("A leitura da tabela " + nomeTabela_ +
                                 " foi interrompida: a conexão fechou os seus dados.");
        cursor_->Next();
        if (cursor_->Eof()) {
            lidaToda_ = true;
            total_ = Lidas();
            cursor_->Close();
            break;
        }
        GuardarLinhaDoCursor();
    }
    return linha < Lidas();
}

void TTabela::LerTudo() const {
    while (!lidaToda_) LerAte(Lidas());
}

TTabela::Linha& TTabela::Em(size_t linha) const {
    if (!LerAte(linha)) throw EDatabaseError("Posição fora da tabela " + nomeTabela_ + ".");
    if (linha < base_) return PorChave(linha);
    return linhas_[linha - base_];
}

void TTabela::Reler(const std::string& chave, size_t posAlternativa) {
    reler_ = false;
    total_.reset();
    EsquecerChaves();
    Executar();
    pos_ = 0;
    bool achou = false;
    if (!chave.empty()) {
        for (size_t i = 0; LerAte(i); ++i)
            if (Em(i).chave == chave) {
                pos_ = i;
                achou = true;
                break;
            }
    }
    if (!achou && posAlternativa > 0) {
        LerAte(posAlternativa);
        pos_ = Vazia() ? 0 : std::min(posAlternativa, Lidas() - 1);
    }
    eof_ = Vazia();
    bof_ = Vazia() || pos_ == 0;
}

std::string TTabela::ChaveAtual() const {
    if (pos_ >= base_ && pos_ < Lidas()) return linhas_[pos_ - base_].chave;
    if (pos_ < base_ && pos_ < chaves_.size()) return ChaveEmTexto(chaves_[pos_]);
    // Read past it: the key it had (the rows are about to be read in another order).
    return pos_ == posDescartada_ ? chaveDescartada_ : "";
}

void TTabela::Garantir() const {
    if (!reler_) return;
    // The order or filter changed: read again, keeping the row the caller was on.
    auto* eu = const_cast<TTabela*>(this);
    eu->Reler(ChaveAtual(), 0);
}

void TTabela::Open() {
    if (ativa_) return;
    LerEstrutura();
    total_.reset();
    EsquecerChaves();
    Executar();
    ativa_ = true;
    reler_ = false;
    estado_ = TEstadoTabela::Navegacao;
    pos_ = 0;
    eof_ = Vazia();
    bof_ = true;
    Avisar();
}

void TTabela::Close() {
    if (!ativa_) return;
    // Unposted edits are dropped, as closing a window's table always did.
    estado_ = TEstadoTabela::Inativa;
    ativa_ = false;
    reler_ = false;
    if (cursor_) cursor_->Close();
    linhas_.clear();
    EsquecerChaves();
    base_ = 0;
    total_.reset();
    lidaToda_ = false;
    pos_ = 0;
    eof_ = bof_ = true;
    Avisar();
}

void TTabela::SetOrdenacao(std::string colunas) {
    if (ativa_) Post();
    ordenacao_ = std::move(colunas);
    if (ativa_) reler_ = true;
}

void TTabela::SetColacao(const std::string& coluna, std::string colacao) {
    if (ativa_) Post();
    const std::string nome = Maiusculas(coluna);
    if (colacao.empty())
        colacoes_.erase(nome);
    else
        colacoes_[nome] = std::move(colacao);
    if (ativa_) reler_ = true;
}

void TTabela::SetFiltro(std::string condicao) {
    if (ativa_) Post();
    filtro_ = std::move(condicao);
    if (ativa_ && filtrado_) reler_ = true;
}

void TTabela::SetFiltrado(bool filtrado) {
    if (filtrado == filtrado_) return;
    if (ativa_) Post();
    filtrado_ = filtrado;
    if (ativa_) reler_ = true;
}

void TTabela::Refresh() {
    ExigirAtiva();
    Post();
    Reler(ChaveAtual(), pos_);
    Avisar();
}

void TTabela::First() {
    ExigirAtiva();
    Post();
    Garantir();
    pos_ = 0;
    bof_ = true;
    eof_ = Vazia();
    Avisar();
}

void TTabela::Next() {
    ExigirAtiva();
    Post();
    Garantir();
    if (!Vazia() && LerAte(pos_ + 1)) {
        ++pos_;
        bof_ = false;
        eof_ = false;
    } else {
        eof_ = true;
    }
    Avisar();
}

void TTabela::Prior() {
    ExigirAtiva();
    Post();
    Garantir();
    if (pos_ > 0) {
        --pos_;
        eof_ = false;
        bof_ = false;
    } else {
        bof_ = true;
    }
    Avisar();
}

void TTabela::Last() {
    ExigirAtiva();
    Post();
    Garantir();
    LerTudo();
    pos_ = Vazia() ? 0 : Lidas() - 1;
    eof_ = true;
    bof_ = Vazia();
    Avisar();
}

bool TTabela::Eof() const {
    if (!ativa_) return true;
    Garantir();
    return eof_;
}

bool TTabela::Bof() const {
    if (!ativa_) return true;
    Garantir();
    return bof_;
}

bool TTabela::IsEmpty() const {
    if (!ativa_) return true;
    Garantir();
    return Vazia();
}

size_t TTabela::RecNo() const {
    if (!ativa_) return 0;
    Garantir();
    return Vazia() ? 0 : pos_ + 1;
}

void TTabela::SetRecNo(size_t recno) {
    ExigirAtiva();
    Post();
    Garantir();
    if (recno == 0 || !LerAte(recno - 1))
        throw EDatabaseError("A tabela " + nomeTabela_ + " não tem o registro " + std::to_string(recno) + ".");
    pos_ = recno - 1;
    eof_ = bof_ = false;
    Avisar();
}

bool TTabela::IrParaChave(std::string_view chaveUuid) {
    ExigirAtiva();
    Post();
    Garantir();
    const std::string chave = ChaveDoTexto(std::string(chaveUuid));
    if (chave.empty()) return false;
    if (base_ > 0) Recomecar();
    for (size_t i = 0; LerAte(i); ++i)
        if (Em(i).chave == chave) {
            pos_ = i;
            eof_ = false;
            bof_ = i == 0;
            Avisar();
            return true;
        }
    return false;
}

size_t TTabela::RecordCount() const {
    if (!ativa_) return 0;
    Garantir();
    if (!total_) LerTudo();
    return *total_;
}

bool TTabela::Locate(std::string_view coluna, std::string_view valor, bool semCaixa, bool parcial) {
    ExigirAtiva();
    Post();
    Garantir();
    const size_t c = IndiceExigido(coluna);
    const TCampoTabela& campo = campos_[c];
    bool numerico =
        campo.tipo == TTipoCampo::Inteiro || campo.tipo == TTipoCampo::Decimal || campo.tipo == TTipoCampo::Real;
    Decimal procurado;
    bool procuradoNumero = false;
    if (numerico && !parcial) {
        try {
            procurado = Decimal::DeTexto(Trim(valor));
            procuradoNumero = true;
        } catch (const EConvertError&) {
            return false;  // a word never equals a number
        }
    }
    std::string alvo = semCaixa ? Maiusculas(valor) : std::string(valor);
    if (base_ > 0) Recomecar();  // one pass from the start beats reading by keys
    for (size_t i = 0; LerAte(i); ++i) {
        const TValor& v = Em(i).valores[c];
        if (v.IsNull()) continue;
        bool igual;
        if (procuradoNumero) {
            igual = v.AsDecimal() == procurado;
        } else {
            std::string texto = campo.tipo == TTipoCampo::Texto ? SemBrancosFinais(v.AsString()) : v.AsString();
            if (semCaixa) texto = Maiusculas(texto);
            igual = parcial ? texto.compare(0, alvo.size(), alvo) == 0 : texto == alvo;
        }
        if (igual) {
            pos_ = i;
            eof_ = bof_ = false;
            Avisar();
            return true;
        }
    }
    return false;
}

const std::vector<TCampoTabela>& TTabela::Campos() const { return campos_; }

int TTabela::IndiceCampo(std::string_view nome) const {
    auto it = indices_.find(Maiusculas(nome));
    return it == indices_.end() ? -1 : it->second;
}

size_t TTabela::IndiceExigido(std::string_view nome) const {
    int c = IndiceCampo(nome);
    if (c < 0) throw EDatabaseError("Campo '" + std::string(nome) + "' não encontrado na tabela " + nomeTabela_ + ".");
    return static_cast<size_t>(c);
}

const TValor& TTabela::FieldByName(std::string_view nome) const {
    ExigirAtiva();
    const size_t c = IndiceExigido(nome);
    if (estado_ == TEstadoTabela::Edicao || estado_ == TEstadoTabela::Insercao) return buffer_.valores[c];
    ExigirLinha();
    return Em(pos_).valores[c];
}

bool TTabela::HaLinha(size_t linha) const {
    ExigirAtiva();
    Garantir();
    return LerAte(linha);
}

const TValor& TTabela::Valor(size_t linha, int campo) const {
    ExigirAtiva();
    Garantir();
    if (campo < 0 || static_cast<size_t>(campo) >= campos_.size() || !LerAte(linha))
        throw EDatabaseError("Posição fora da tabela " + nomeTabela_ + ".");
    if (estado_ == TEstadoTabela::Edicao && linha == pos_) return buffer_.valores[static_cast<size_t>(campo)];
    return Em(linha).valores[static_cast<size_t>(campo)];
}

void TTabela::Edit() {
    ExigirAtiva();
    if (estado_ == TEstadoTabela::Edicao || estado_ == TEstadoTabela::Insercao) return;
    ExigirLinha();
    buffer_ = Em(pos_);
    original_ = buffer_;
    alterados_.assign(campos_.size(), false);
    estado_ = TEstadoTabela::Edicao;
}

void TTabela::Insert() {
    ExigirAtiva();
    Post();
    Garantir();
    if (BeforeInsert) BeforeInsert(*this);
    buffer_ = Linha{};
    buffer_.valores.assign(campos_.size(), TValor());
    alterados_.assign(campos_.size(), false);
    estado_ = TEstadoTabela::Insercao;
    Avisar();
    if (AfterInsert) AfterInsert(*this);
}

void TTabela::SetCampo(std::string_view nome, const TValor& valor) {
    ExigirAtiva();
    const size_t c = IndiceExigido(nome);
    if (estado_ == TEstadoTabela::Navegacao) Edit();
    const TCampoTabela& campo = campos_[c];
    TValor v = valor.ConvertidoPara(campo.tipo, campo.escala);
    if (v != buffer_.valores[c] || estado_ == TEstadoTabela::Insercao) {
        buffer_.valores[c] = std::move(v);
        alterados_[c] = true;
    }
}

std::string TTabela::ChaveSql(const std::string& chave) const {
    if (chave.size() != 16)
        throw EDatabaseError("O registro da tabela " + nomeTabela_ + " não pode ser localizado no banco.");
    for (char c : chave)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            throw EDatabaseError("O registro da tabela " + nomeTabela_ + " não pode ser localizado no banco.");
    return "rdb$db_key = x'" + chave + "'";
}

void TTabela::ConferirLinha(const Linha& original) {
    // The key may point elsewhere once another workstation emptied and refilled
    // the table: write only over the row this table read.
    fb::TQuery& q = *alteracao_;
    q.Clear();
    std::string s = "Select ";
    for (size_t i = 0; i < campos_.size(); ++i) {
        if (i) s += ", ";
        s += Aspas(campos_[i].nome, '"');
    }
    q.Add(s + " From " + nomeTabela_ + " Where " + ChaveSql(original.chave));
    q.Open();
    if (q.Eof()) {
        q.Close();
        throw EDatabaseError("O registro foi excluído da tabela " + nomeTabela_ +
                             " por outro usuário. Atualize os dados.");
    }
    for (size_t i = 0; i < campos_.size(); ++i) {
        if (LerValor(q.FieldByName(campos_[i].nome), campos_[i]) != original.valores[i]) {
            q.Close();
            throw EDatabaseError("O registro da tabela " + nomeTabela_ +
                                 " foi alterado por outro usuário. Atualize os dados.");
        }
    }
    q.Close();
}

void TTabela::Post() {
    if (estado_ == TEstadoTabela::Edicao) {
        std::vector<size_t> mudados;
        for (size_t i = 0; i < alterados_.size(); ++i)
            if (alterados_[i]) mudados.push_back(i);
        if (!mudados.empty()) {
            ConferirLinha(original_);
            std::string s = "Update " + nomeTabela_ + " Set ";
            for (size_t k = 0; k < mudados.size(); ++k) {
                if (k) s += ", ";
                s += Aspas(campos_[mudados[k]].nome, '"') + " = ?";
            }
            s += " Where " + ChaveSql(buffer_.chave);
            // The row as the server stored it (a trigger may set other columns):
            // the next edit compares against that, not against what was typed.
            s += " Returning uuid_to_char(rdb$db_key || x'0000000000000000') as ";
            s += kColunaChave;
            for (const auto& c : campos_) s += ", " + Aspas(c.nome, '"');
            fb::TQuery& q = *alteracao_;
            q.Clear();
            q.Add(s);
            q.Prepare();
            for (size_t k = 0; k < mudados.size(); ++k)
                PassarParametro(q, static_cast<int>(k), buffer_.valores[mudados[k]]);
            q.Open();
            if (q.Eof() || q.FieldByName(kColunaChave).IsNull()) {
                q.Close();
                throw EDatabaseError("O registro foi excluído da tabela " + nomeTabela_ +
                                     " por outro usuário. Atualize os dados.");
            }
            for (size_t i = 0; i < campos_.size(); ++i)
                buffer_.valores[i] = LerValor(q.FieldByName(campos_[i].nome), campos_[i]);
            q.Close();
            if (pos_ >= base_ && pos_ < Lidas())
                linhas_[pos_ - base_] = buffer_;
            else if (auto avulsa = avulsas_.find(pos_); avulsa != avulsas_.end())
                avulsa->second = buffer_;
        }
        estado_ = TEstadoTabela::Navegacao;
        Avisar();
    } else if (estado_ == TEstadoTabela::Insercao) {
        std::vector<size_t> cols;
        for (size_t i = 0; i < campos_.size(); ++i)
            if (alterados_[i]) cols.push_back(i);
        std::string s = "Insert Into " + nomeTabela_;
        if (cols.empty()) {
            s += " Default Values";
        } else {
            std::string nomes, marcas;
            for (size_t k = 0; k < cols.size(); ++k) {
                if (k) {
                    nomes += ", ";
                    marcas += ", ";
                }
                nomes += Aspas(campos_[cols[k]].nome, '"');
                marcas += "?";
            }
            s += " ( " + nomes + " ) Values ( " + marcas + " )";
        }
        // The server tells the new row's key: triggers and defaults may change
        // its values, so they cannot be used to find it again.
        s += " Returning uuid_to_char(rdb$db_key || x'0000000000000000') as ";
        s += kColunaChave;
        if (!alteracao_) alteracao_ = std::make_unique<fb::TQuery>(banco_, transacao_);
        fb::TQuery& q = *alteracao_;
        q.Clear();
        q.Add(s);
        q.Prepare();
        for (size_t k = 0; k < cols.size(); ++k) PassarParametro(q, static_cast<int>(k), buffer_.valores[cols[k]]);
        q.Open();
        const std::string chave = ChaveDoTexto(q.FieldByName(kColunaChave).AsString());
        q.Close();
        estado_ = TEstadoTabela::Navegacao;
        Reler(chave, 0);
        Avisar();
    }
}

void TTabela::Cancel() {
    if (estado_ != TEstadoTabela::Edicao && estado_ != TEstadoTabela::Insercao) return;
    estado_ = TEstadoTabela::Navegacao;
    buffer_ = Linha{};
    Avisar();
    if (AfterCancel) AfterCancel(*this);
}

void TTabela::Delete() {
    ExigirAtiva();
    if (estado_ == TEstadoTabela::Insercao) {
        Cancel();
        return;
    }
    if (estado_ == TEstadoTabela::Edicao) {
        estado_ = TEstadoTabela::Navegacao;
        buffer_ = Linha{};
    }
    ExigirLinha();
    const Linha& linha = Em(pos_);
    ConferirLinha(linha);
    fb::TQuery& q = *alteracao_;
    q.Clear();
    q.Add("Delete From " + nomeTabela_ + " Where " + ChaveSql(linha.chave));
    q.Prepare();
    q.ExecSQL();
    if (pos_ < base_)
        --base_;  // a row before the window: the window's rows move up one
    else
        linhas_.erase(linhas_.begin() + static_cast<std::ptrdiff_t>(pos_ - base_));
    if (pos_ < chaves_.size()) chaves_.erase(chaves_.begin() + static_cast<std::ptrdiff_t>(pos_));
    avulsas_.clear();  // their numbers moved
    if (total_ && *total_ > 0) --*total_;
    if (!LerAte(pos_)) pos_ = Vazia() ? 0 : Lidas() - 1;
    eof_ = Vazia();
    bof_ = Vazia() || pos_ == 0;
    Avisar();
}
