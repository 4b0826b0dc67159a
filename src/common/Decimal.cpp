#include "Decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Excecoes.h"

namespace {

// NUMERIC(18,s): more places than this do not fit in 64 bits.
constexpr int kEscalaMaxima = 18;

int64_t Pot10(int n) {
    int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// v * 10^n, false when it does not fit.
bool Escalar(int64_t v, int n, int64_t& r) {
    r = v;
    while (n-- > 0)
        if (__builtin_mul_overflow(r, 10, &r)) return false;
    return true;
}

EConvertError ForaDoLimite(const Decimal& d) {
    return EConvertError("'" + d.ParaTexto() + "' está fora do limite dos valores numéricos");
}

// Brings both to the larger scale so they compare and add exactly. False when
// the one brought up no longer fits: its magnitude is then beyond the other's.
bool Alinhar(const Decimal& a, const Decimal& b, int64_t& va, int64_t& vb, int& escala) {
    escala = std::max(a.Escala(), b.Escala());
    return Escalar(a.Unidades(), escala - a.Escala(), va) && Escalar(b.Unidades(), escala - b.Escala(), vb);
}

Decimal Somar(const Decimal& a, const Decimal& b, bool subtrair) {
    int64_t va, vb, r;
    int e;
    if (!Alinhar(a, b, va, vb, e)) throw ForaDoLimite(a.Escala() < b.Escala() ? a : b);
    if (subtrair ? __builtin_sub_overflow(va, vb, &r) : __builtin_add_overflow(va, vb, &r)) throw ForaDoLimite(a);
    return Decimal::DeUnidades(r, e);
}

}  // namespace

Decimal Decimal::DeTexto(std::string_view t) {
    auto falha = [&] { return EConvertError("'" + std::string(t) + "' não é um valor numérico válido"); };
    size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    size_t fim = t.size();
    while (fim > i && t[fim - 1] == ' ') --fim;
    bool negativo = false;
    if (i < fim && (t[i] == '-' || t[i] == '+')) {
        negativo = t[i] == '-';
        ++i;
    }
    int64_t v = 0;
    int escala = 0;
    bool ponto = false, digito = false;
    for (; i < fim; ++i) {
        char c = t[i];
        if (c >= '0' && c <= '9') {
            if (v > (INT64_MAX - 9) / 10) throw falha();
            v = v * 10 + (c - '0');
            digito = true;
            if (ponto) ++escala;
        } else if ((c == '.' || c == ',') && !ponto) {
            ponto = true;
        } else {
            throw falha();
        }
    }
    if (!digito || escala > kEscalaMaxima) throw falha();
    return DeUnidades(negativo ? -v : v, escala);
}

Decimal Decimal::DeDouble(double v, int escala) {
    double s = v * static_cast<double>(Pot10(escala));
    return DeUnidades(static_cast<int64_t>(std::llround(s)), escala);
}

double Decimal::ParaDouble() const { return static_cast<double>(valor_) / static_cast<double>(Pot10(escala_)); }

int64_t Decimal::ParteInteira() const { return valor_ / Pot10(escala_); }

Decimal Decimal::ComEscala(int escala) const {
    if (escala >= escala_) {
        int64_t v;
        if (!Escalar(valor_, escala - escala_, v)) throw ForaDoLimite(*this);
        return DeUnidades(v, escala);
    }
    int64_t p = Pot10(escala_ - escala);
    int64_t q = valor_ / p, r = valor_ % p;
    if (std::llabs(r) * 2 >= p) q += valor_ < 0 ? -1 : 1;
    return DeUnidades(q, escala);
}

std::string Decimal::ParaTexto() const {
    std::string dig = std::to_string(std::llabs(valor_));
    if (escala_ > 0) {
        if (static_cast<int>(dig.size()) <= escala_) dig.insert(0, escala_ - dig.size() + 1, '0');
        dig.insert(dig.size() - escala_, 1, '.');
    }
    return valor_ < 0 ? "-" + dig : dig;
}

std::string Decimal::ParaTextoCurto() const {
    std::string t = ParaTexto();
    if (t.find('.') != std::string::npos) {
        while (t.back() == '0') t.pop_back();
        if (t.back() == '.') t.pop_back();
    }
    return t;
}

std::string Decimal::Formatar(int casas, char separador) const {
    std::string s = ComEscala(casas).ParaTexto();
    if (casas > 0) s[s.size() - casas - 1] = separador;
    return s;
}

bool operator==(const Decimal& a, const Decimal& b) {
    int64_t va, vb;
    int e;
    return Alinhar(a, b, va, vb, e) && va == vb;
}
bool operator<(const Decimal& a, const Decimal& b) {
    int64_t va, vb;
    int e;
    if (!Alinhar(a, b, va, vb, e)) return a.Escala() < b.Escala() ? a.Unidades() < 0 : b.Unidades() > 0;
    return va < vb;
}
Decimal operator+(const Decimal& a, const Decimal& b) { return Somar(a, b, false); }
Decimal operator-(const Decimal& a, const Decimal& b) { return Somar(a, b, true); }
