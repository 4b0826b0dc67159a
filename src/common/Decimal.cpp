#include "Decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Excecoes.h"

namespace {

int64_t Pot10(int n) {
    int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// Brings both to the larger scale so they compare and add exactly.
void Alinhar(const Decimal& a, const Decimal& b, int64_t& va, int64_t& vb, int& escala) {
    escala = std::max(a.Escala(), b.Escala());
    va = a.Unidades() * Pot10(escala - a.Escala());
    vb = b.Unidades() * Pot10(escala - b.Escala());
}

}  // namespace

Decimal Decimal::DeTexto(std::string_view t) {
    auto falha = [&] { return EConvertError("'" + std::string(t) + "' não é um valor numérico válido"); };
    size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    size_t fim = t.size();
    while (fim > i && t[fim - 1] == ' ') --fim;
    bool negativo = false;
    if (i < fim && (t[i] == '-' || t[i] == '+')) { negativo = t[i] == '-'; ++i; }
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
    if (!digito) throw falha();
    return DeUnidades(negativo ? -v : v, escala);
}

Decimal Decimal::DeDouble(double v, int escala) {
    double s = v * static_cast<double>(Pot10(escala));
    return DeUnidades(static_cast<int64_t>(std::llround(s)), escala);
}

double Decimal::ParaDouble() const { return static_cast<double>(valor_) / static_cast<double>(Pot10(escala_)); }

int64_t Decimal::ParteInteira() const { return valor_ / Pot10(escala_); }

Decimal Decimal::ComEscala(int escala) const {
    if (escala >= escala_) return DeUnidades(valor_ * Pot10(escala - escala_), escala);
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
    int64_t va, vb; int e;
    Alinhar(a, b, va, vb, e);
    return va == vb;
}
bool operator<(const Decimal& a, const Decimal& b) {
    int64_t va, vb; int e;
    Alinhar(a, b, va, vb, e);
    return va < vb;
}
Decimal operator+(const Decimal& a, const Decimal& b) {
    int64_t va, vb; int e;
    Alinhar(a, b, va, vb, e);
    return Decimal::DeUnidades(va + vb, e);
}
Decimal operator-(const Decimal& a, const Decimal& b) {
    int64_t va, vb; int e;
    Alinhar(a, b, va, vb, e);
    return Decimal::DeUnidades(va - vb, e);
}
