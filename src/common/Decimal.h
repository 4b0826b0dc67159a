#pragma once
// Exact fixed-point number for the NUMERIC(18,s) columns (prices, stock,
// label counts): an integer count of 10^-escala units, never a binary fraction.
#include <cstdint>
#include <string>
#include <string_view>

class Decimal {
public:
    Decimal() = default;
    Decimal(int64_t inteiro) : valor_(inteiro), escala_(0) {}  // NOLINT: integers convert freely
    static Decimal DeUnidades(int64_t unidades, int escala) {
        Decimal d;
        d.valor_ = unidades;
        d.escala_ = escala;
        return d;
    }

    // "12.5", "-0,125", "7": point or comma as separator. EConvertError otherwise.
    static Decimal DeTexto(std::string_view texto);
    // Rounded to `escala` places, halves away from zero (as the database does).
    static Decimal DeDouble(double v, int escala);

    int64_t Unidades() const { return valor_; }
    int Escala() const { return escala_; }

    double ParaDouble() const;
    // Whole part, cut toward zero.
    int64_t ParteInteira() const;
    // Same value at another scale (rounded half away from zero when reducing).
    Decimal ComEscala(int escala) const;
    // "12.500" at its own scale, point as separator.
    std::string ParaTexto() const;
    // "12.5", "7": only the decimals the value needs, point as separator.
    std::string ParaTextoCurto() const;
    // With exactly `casas` decimals and the given separator: "#0.00" is Formatar(2, ',').
    std::string Formatar(int casas, char separador = ',') const;

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend bool operator<(const Decimal& a, const Decimal& b);
    friend bool operator!=(const Decimal& a, const Decimal& b) { return !(a == b); }
    friend bool operator>(const Decimal& a, const Decimal& b) { return b < a; }
    friend bool operator<=(const Decimal& a, const Decimal& b) { return !(b < a); }
    friend bool operator>=(const Decimal& a, const Decimal& b) { return !(a < b); }
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);

private:
    int64_t valor_ = 0;
    int escala_ = 0;
};
