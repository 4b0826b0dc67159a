// Values between the program and the wire: parameters laid out in the input
// message, rows read from the output message, and the columns as TField gives them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/Win1252.h"
#include "data/fb/FbInterno.h"

namespace fb {

namespace {

std::string Hex(std::string_view bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string r;
    r.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        r += d[c >> 4];
        r += d[c & 15];
    }
    return r;
}

std::string DeHex(std::string_view hex) {
    auto val = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) Erro("Chave de linha inválida: '" + std::string(hex) + "'");
    std::string r;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int a = val(hex[i]), b = val(hex[i + 1]);
        if (a < 0 || b < 0) Erro("Chave de linha inválida: '" + std::string(hex) + "'");
        r += static_cast<char>(a * 16 + b);
    }
    return r;
}

// An exact integer column (SMALLINT/INTEGER/BIGINT, NUMERIC stored in them) of the message buffer.
template <class T>
void LerInteiro(TValorMensagem& v, const unsigned char* p, int escalaFb) {
    T x;
    std::memcpy(&x, p, sizeof x);
    v.tipo = TValorMensagem::Inteiro, v.i = x, v.escala = static_cast<int8_t>(-escalaFb);
}

std::string TextoDeInteiro(int64_t v, int escala) {
    if (escala <= 0) return std::to_string(v);
    return Decimal::DeUnidades(v, escala).ParaTexto();
}

TDateTime DeIscDate(ISC_DATE d) { return static_cast<double>(d - kDiasAte1899); }
TDateTime DeIscTime(ISC_TIME t) { return t / kFracoesPorDia; }

void ParaIsc(TDateTime v, ISC_DATE& data, ISC_TIME& hora) {
    double dias = std::floor(v);
    double frac = v - dias;
    auto fr = static_cast<int64_t>(std::llround(frac * kFracoesPorDia));
    if (fr >= static_cast<int64_t>(kFracoesPorDia)) {
        fr -= static_cast<int64_t>(kFracoesPorDia);
        dias += 1;
    }
    data = static_cast<ISC_DATE>(static_cast<int64_t>(dias) + kDiasAte1899);
    hora = static_cast<ISC_TIME>(fr);
}

}  // namespace

// Bytes for the wire in the connection's character set.
std::string ParaCliente(std::string_view utf8, unsigned cs) {
    if (cs == kCsUtf8 || cs == kCsOctets) return std::string(utf8);
    return Win1252::DeUtf8(utf8);
}
std::string DoCliente(std::string_view bytes, unsigned cs) {
    if (cs == kCsUtf8) return std::string(bytes);
    return Win1252::ParaUtf8(bytes);
}

void TQuery::Impl::MontarEntrada(ThrowStatusWrapper* st) {
    const unsigned n = static_cast<unsigned>(descStmt.size());
    unsigned cs = banco->impl().charset;
    // Each parameter travels in the kind of its value; the server converts it.
    descAtual.resize(n);
    textos.resize(n);
    std::vector<Desc>& ds = descAtual;
    for (unsigned i = 0; i < n; ++i) {
        if (!params[i]) Erro("Parâmetro " + std::to_string(i) + " sem valor.");
        const TValorMensagem& v = *params[i];
        const unsigned orig = descStmt[i].tipo;
        Desc d = descStmt[i];
        switch (v.tipo) {
            case TValorMensagem::Nulo:
                // a NULL fits any layout: keep the last one rather than build another
                if (i < assinatura.size()) d = assinatura[i];
                break;
            case TValorMensagem::Inteiro: d = {SQL_INT64, 8, 0, -v.escala}; break;
            case TValorMensagem::Real: d = {SQL_DOUBLE, 8, 0, 0}; break;
            case TValorMensagem::Logico: d = {SQL_BOOLEAN, 1, 0, 0}; break;
            case TValorMensagem::Data: d = {SQL_TYPE_DATE, sizeof(ISC_DATE), 0, 0}; break;
            case TValorMensagem::Hora:
            case TValorMensagem::DataHora: d = {SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0, 0}; break;
            case TValorMensagem::DbKey:
                d = {SQL_TEXT, static_cast<unsigned>(std::max<size_t>(v.s.size(), 1)), kCsOctets, 0};
                break;
            case TValorMensagem::Texto:
            case TValorMensagem::Binario: {
                if (orig == SQL_BLOB) {
                    d = {SQL_BLOB, sizeof(ISC_QUAD), 0, 0};
                    break;
                }
                textos[i] = v.tipo == TValorMensagem::Binario ? v.s : ParaCliente(v.s, cs);
                unsigned destino = (orig == SQL_TEXT || orig == SQL_VARYING) ? d.tam : 0;
                // a stable length keeps the layout for the next rows
                unsigned tam = std::max<unsigned>(destino, 32);
                while (tam < textos[i].size()) tam *= 2;
                d = {SQL_VARYING, std::min<unsigned>(tam, 32765), v.tipo == TValorMensagem::Binario ? kCsOctets : cs,
                     0};
                if (textos[i].size() > d.tam) Erro("Texto longo demais para o parâmetro " + std::to_string(i) + ".");
                break;
            }
        }
        ds[i] = d;
    }
    if (!entrada || ds != assinatura) {
        if (entrada) entrada->release(), entrada = nullptr;
        IMetadataBuilder* b = entradaStmt->getBuilder(st);
        try {
            for (unsigned i = 0; i < n; ++i) {
                b->setType(st, i, ds[i].tipo | 1u);
                b->setLength(st, i, ds[i].tam);
                b->setCharSet(st, i, ds[i].cs);
                b->setScale(st, i, ds[i].escala);
            }
            entrada = b->getMetadata(st);
        } catch (...) {
            b->release();
            throw;
        }
        b->release();
        assinatura = ds;
        bufEntrada.assign(entrada->getMessageLength(st), 0);
        posEntrada.resize(n);
        for (unsigned i = 0; i < n; ++i) posEntrada[i] = {entrada->getOffset(st, i), entrada->getNullOffset(st, i)};
    }
    unsigned char* buf = bufEntrada.data();
    for (unsigned i = 0; i < n; ++i) {
        const TValorMensagem& v = *params[i];
        auto* nulo = reinterpret_cast<short*>(buf + posEntrada[i].second);
        unsigned char* p = buf + posEntrada[i].first;
        *nulo = v.tipo == TValorMensagem::Nulo ? -1 : 0;
        switch (v.tipo) {
            case TValorMensagem::Nulo: break;
            case TValorMensagem::Inteiro: std::memcpy(p, &v.i, 8); break;
            case TValorMensagem::Real: std::memcpy(p, &v.d, 8); break;
            case TValorMensagem::Logico: *p = v.i ? 1 : 0; break;
            case TValorMensagem::Data: {
                ISC_DATE d;
                ISC_TIME t;
                ParaIsc(v.d, d, t);
                std::memcpy(p, &d, sizeof d);
                break;
            }
            case TValorMensagem::Hora:
            case TValorMensagem::DataHora: {
                ISC_TIMESTAMP ts;
                ParaIsc(v.d, ts.timestamp_date, ts.timestamp_time);
                std::memcpy(p, &ts, sizeof ts);
                break;
            }
            case TValorMensagem::DbKey:
                std::memcpy(p, v.s.data(), v.s.size());  // NOLINT(bugprone-not-null-terminated-result): raw bytes
                break;
            case TValorMensagem::Texto:
            case TValorMensagem::Binario:
                if (ds[i].tipo == SQL_BLOB) {
                    std::string bytes = v.tipo == TValorMensagem::Binario ? v.s : ParaCliente(v.s, cs);
                    ISC_QUAD id;
                    IBlob* blob = banco->impl().att->createBlob(st, transacao->impl().tra, &id, 0, nullptr);
                    try {
                        for (size_t o = 0; o < bytes.size(); o += 32768) {
                            auto parte = static_cast<unsigned>(std::min<size_t>(32768, bytes.size() - o));
                            blob->putSegment(st, parte, bytes.data() + o);
                        }
                        blob->close(st);
                    } catch (...) {
                        blob->release();
                        throw;
                    }
                    std::memcpy(p, &id, sizeof id);
                } else {
                    auto len = static_cast<uint16_t>(textos[i].size());
                    std::memcpy(p, &len, 2);
                    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the length goes before, no terminator
                    std::memcpy(p + 2, textos[i].data(), len);
                }
                break;
        }
    }
}

std::vector<TValorMensagem> TQuery::Impl::LerLinha(ThrowStatusWrapper* st) {
    std::vector<TValorMensagem> r(colunas.size());
    const unsigned char* buf = bufSaida.data();
    unsigned cs = banco->impl().charset;
    for (size_t i = 0; i < colunas.size(); ++i) {
        const Coluna& c = colunas[i];
        TValorMensagem& v = r[i];
        if (*reinterpret_cast<const short*>(buf + c.nulo)) continue;
        const unsigned char* p = buf + c.offset;
        switch (c.tipo) {
            case SQL_SHORT: LerInteiro<int16_t>(v, p, c.escala); break;
            case SQL_LONG: LerInteiro<int32_t>(v, p, c.escala); break;
            case SQL_INT64: LerInteiro<int64_t>(v, p, c.escala); break;
            case SQL_FLOAT: {
                float x;
                std::memcpy(&x, p, 4);
                v.tipo = TValorMensagem::Real, v.d = x;
                break;
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                v.tipo = TValorMensagem::Real;
                std::memcpy(&v.d, p, 8);
                break;
            case SQL_BOOLEAN: v.tipo = TValorMensagem::Logico, v.i = *p ? 1 : 0; break;
            case SQL_TYPE_DATE: {
                ISC_DATE d;
                std::memcpy(&d, p, sizeof d);
                v.tipo = TValorMensagem::Data, v.d = DeIscDate(d);
                break;
            }
            case SQL_TYPE_TIME: {
                ISC_TIME t;
                std::memcpy(&t, p, sizeof t);
                v.tipo = TValorMensagem::Hora, v.d = DeIscTime(t);
                break;
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP ts;
                std::memcpy(&ts, p, sizeof ts);
                v.tipo = TValorMensagem::DataHora, v.d = DeIscDate(ts.timestamp_date) + DeIscTime(ts.timestamp_time);
                break;
            }
            case SQL_TEXT:
            case SQL_VARYING: {
                std::string_view bytes;
                if (c.tipo == SQL_TEXT) {
                    bytes = std::string_view(reinterpret_cast<const char*>(p), c.tam);
                } else {
                    uint16_t len;
                    std::memcpy(&len, p, 2);
                    bytes = std::string_view(reinterpret_cast<const char*>(p + 2), len);
                }
                if (c.cs == kCsOctets) {
                    v.tipo = (c.nome == "DB_KEY" || c.nome == "RDB$DB_KEY") ? TValorMensagem::DbKey
                                                                            : TValorMensagem::Binario;
                    v.s.assign(bytes);
                } else {
                    if (c.tipo == SQL_TEXT)
                        while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
                    v.tipo = TValorMensagem::Texto;
                    v.s = DoCliente(bytes, c.cs == kCsUtf8 ? kCsUtf8 : cs);
                }
                break;
            }
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, p, sizeof id);
                IBlob* blob = banco->impl().att->openBlob(st, transacao->impl().tra, &id, 0, nullptr);
                std::string bytes;
                try {
                    char seg[32768];
                    for (;;) {
                        unsigned lido = 0;
                        int res = blob->getSegment(st, sizeof seg, seg, &lido);
                        if (res == IStatus::RESULT_NO_DATA) break;
                        bytes.append(seg, lido);
                    }
                    blob->close(st);
                } catch (...) {
                    blob->release();
                    throw;
                }
                if (c.sub == 1) {
                    v.tipo = TValorMensagem::Texto;
                    v.textoBlob = true;
                    v.s = DoCliente(bytes, c.cs == kCsUtf8 ? kCsUtf8 : cs);
                } else {
                    v.tipo = TValorMensagem::Binario;
                    v.s = std::move(bytes);
                }
                break;
            }
            default: Erro("Tipo de coluna não suportado (" + std::to_string(c.tipo) + "): " + c.nome);
        }
    }
    return r;
}

namespace {
void Definir(TQuery::Impl& q, TQuery& dono, int i, TValorMensagem v) {
    if (!q.stmt) q.Preparar();
    if (i < 0 || static_cast<size_t>(i) >= q.params.size())
        Erro("Parâmetro " + std::to_string(i) + " não existe (o comando tem " + std::to_string(q.params.size()) + ").");
    q.params[i] = std::move(v);
}
}  // namespace

void TQuery::ParamNulo(int i) { Definir(*impl_, *this, i, TValorMensagem{}); }

void TQuery::ParamInteiro(int i, int64_t v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Inteiro, x.i = v;
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamTexto(int i, std::string_view v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Texto, x.s = std::string(v);
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamDecimal(int i, const Decimal& v) {
    TValorMensagem x;
    x.tipo = TValorMensagem::Inteiro, x.i = v.Unidades(), x.escala = static_cast<int8_t>(v.Escala());
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamData(int i, TDateTime v) {
    TValorMensagem x;
    x.tipo = v == std::floor(v) ? TValorMensagem::Data : TValorMensagem::DataHora;
    x.d = v;
    Definir(*impl_, *this, i, std::move(x));
}

void TQuery::ParamDbKey(int i, std::string_view hex) {
    TValorMensagem x;
    x.tipo = TValorMensagem::DbKey, x.s = DeHex(hex);
    if (x.s.empty()) Erro("Chave de linha vazia.");
    Definir(*impl_, *this, i, std::move(x));
}

// ================================================================ TField

namespace {
const TValorMensagem* ValorDe(const TQuery* q, size_t i) { return q->impl().Valor(i); }
}  // namespace

const std::string& TField::Nome() const { return consulta_->impl().colunas.at(indice_).nome; }

bool TField::IsNull() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    return !v || v->tipo == TValorMensagem::Nulo;
}

int64_t TField::AsInteger() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return v->escala > 0 ? Decimal::DeUnidades(v->i, v->escala).ParteInteira() : v->i;
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return static_cast<int64_t>(v->d);
        default: {
            std::string t = TrimEspacos(v->s);
            if (t.empty()) return 0;
            try {
                size_t usados = 0;
                long long r = std::stoll(t, &usados);
                if (usados == t.size()) return r;
            } catch (...) {}
            throw EConvertError("'" + v->s + "' não é um valor inteiro válido");
        }
    }
}

std::string TField::AsString() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return "";
    switch (v->tipo) {
        case TValorMensagem::Nulo: return "";
        case TValorMensagem::Inteiro: return TextoDeInteiro(v->i, v->escala);
        case TValorMensagem::Real: {
            char b[40];
            (void)std::snprintf(b, sizeof b, "%.15g", v->d);  // 24 characters at most: always fits
            return b;
        }
        case TValorMensagem::Logico: return v->i ? "True" : "False";
        case TValorMensagem::Data: return FormataData("DD/MM/AAAA", v->d);
        case TValorMensagem::Hora: return FormataData("HH:MM:SS", v->d);
        case TValorMensagem::DataHora:
            return v->d == std::floor(v->d) ? FormataData("DD/MM/AAAA", v->d)
                                            : FormataData("DD/MM/AAAA", v->d) + " " + FormataData("HH:MM:SS", v->d);
        case TValorMensagem::DbKey: return Hex(v->s);
        case TValorMensagem::Binario: return consulta_->impl().colunas.at(indice_).tipo == SQL_BLOB ? v->s : Hex(v->s);
        case TValorMensagem::Texto: return v->s;
    }
    return "";
}

Decimal TField::AsDecimal() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return Decimal();
    switch (v->tipo) {
        case TValorMensagem::Nulo: return Decimal();
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return Decimal::DeUnidades(v->i, v->escala);
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return Decimal::DeDouble(v->d, 6);
        default: {
            std::string t = TrimEspacos(v->s);
            return t.empty() ? Decimal() : Decimal::DeTexto(t);
        }
    }
}

double TField::AsFloat() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Inteiro:
        case TValorMensagem::Logico: return Decimal::DeUnidades(v->i, v->escala).ParaDouble();
        case TValorMensagem::Real:
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora: return v->d;
        default: return AsDecimal().ParaDouble();
    }
}

TDateTime TField::AsDate() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v) return 0;
    switch (v->tipo) {
        case TValorMensagem::Nulo: return 0;
        case TValorMensagem::Data:
        case TValorMensagem::Hora:
        case TValorMensagem::DataHora:
        case TValorMensagem::Real: return v->d;
        case TValorMensagem::Texto: {
            std::string t = TrimEspacos(v->s);
            return t.empty() ? 0 : StrToDate(t);
        }
        default: throw EConvertError("'" + AsString() + "' não é uma data válida");
    }
}

bool TField::AsBoolean() const {
    const TValorMensagem* v = ValorDe(consulta_, indice_);
    if (!v || v->tipo == TValorMensagem::Nulo) return false;
    if (v->tipo == TValorMensagem::Texto) {
        std::string t = Minusc(TrimEspacos(v->s));
        return t == "t" || t == "s" || t == "1" || t == "true" || t == "sim";
    }
    return AsInteger() != 0;
}

}  // namespace fb
