#include "etq/CdbETQClass.h"

#include <cmath>
#include <limits>

#include "common/Excecoes.h"

namespace etq {

void AnexarNumero(std::string& destino, long long valor) {
    char buf[24];
    char* fim = buf + sizeof buf;
    char* p = fim;
    unsigned long long u =
        valor < 0 ? 0ULL - static_cast<unsigned long long>(valor) : static_cast<unsigned long long>(valor);
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (valor < 0) *--p = '-';
    destino.append(p, static_cast<size_t>(fim - p));
}

void AnexarZeros(std::string& destino, long long valor, int largura) {
    // The ranges are checked before padding, so the value is never negative here;
    // a negative one keeps its sign in front of the zeros all the same.
    if (valor < 0) {
        destino.push_back('-');
        valor = -valor;
        --largura;
    }
    size_t antes = destino.size();
    AnexarNumero(destino, valor);
    size_t digitos = destino.size() - antes;
    if (static_cast<int>(digitos) < largura) destino.insert(antes, static_cast<size_t>(largura) - digitos, '0');
}

std::string Zeros(long long valor, int largura) {
    std::string s;
    AnexarZeros(s, valor, largura);
    return s;
}

}  // namespace etq

TCdbETQClass::TCdbETQClass(TCdbETQ* dono) : dono_(dono) {
    if (!dono) throw Exception("Essa Classe deve ser instanciada por TCdbETQ");
}

int TCdbETQClass::DotsPorPolegada() const {
    switch (DPI) {
        case dpi300: return 300;
        case dpi600: return 600;
        default: return 203;
    }
}

double TCdbETQClass::DotsPorMilimetro() const { return DotsPorPolegada() / 25.4; }

int TCdbETQClass::ConverterUnidade(TCdbETQUnidade UnidadeSaida, int Valor) {
    if (UnidadeSaida == Unidade) return Valor;
    const double dpi = DotsPorPolegada();
    const double dpmm = DotsPorMilimetro();
    const double v = Valor;
    double r = v;
    // The operation order follows the printed formulas, so halves fall the same way.
    switch (Unidade) {
        case etqMilimetros:
            r = UnidadeSaida == etqDots ? v * dpmm : UnidadeSaida == etqPolegadas ? v / 25.4 : v * 10.0;
            break;
        case etqPolegadas:
            r = UnidadeSaida == etqDots ? v * dpi : UnidadeSaida == etqMilimetros ? v * 25.4 : v * 254.0;
            break;
        case etqDots:
            r = UnidadeSaida == etqMilimetros ? v / dpmm : UnidadeSaida == etqPolegadas ? v / dpi : v / dpmm * 10.0;
            break;
        case etqDecimoDeMilimetros:
            r = UnidadeSaida == etqDots ? v / 10.0 * dpmm : UnidadeSaida == etqMilimetros ? v / 10.0 : v / 254.0;
            break;
    }
    r = std::nearbyint(r);  // default rounding mode: halves to the even neighbour
    if (r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min())
        throw Exception("Valor " + std::to_string(Valor) + " fora da faixa para conversão de unidade");
    return static_cast<int>(r);
}

std::string TCdbETQClass::ComandoAbertura() { return {}; }
std::string TCdbETQClass::ComandoBackFeed() { return {}; }
std::string TCdbETQClass::ComandoDeteccaoEtiqueta() { return {}; }
std::string TCdbETQClass::ComandoGuilhotina() { return {}; }
std::string TCdbETQClass::ComandoDimensoes() { return {}; }
std::string TCdbETQClass::ComandoUnidade() { return {}; }
std::string TCdbETQClass::ComandoTemperatura() { return {}; }
std::string TCdbETQClass::ComandoPaginaDeCodigo() { return {}; }
std::string TCdbETQClass::ComandoResolucao() { return {}; }
std::string TCdbETQClass::ComandoOrigemCoordenadas() { return {}; }
std::string TCdbETQClass::ComandoVelocidade() { return {}; }

std::string TCdbETQClass::ConverterNivelCorrecaoQRCode(int Nivel) {
    switch (Nivel) {
        case 1: return "M";
        case 2: return "Q";
        case 3: return "H";
        default: return "L";
    }
}

std::string TCdbETQClass::TrocarQuebrasDeLinha(const std::string& fluxo, std::string_view terminador) {
    if (fluxo.find_first_not_of(' ') == std::string::npos) return fluxo;
    std::string r;
    r.reserve(fluxo.size() + fluxo.size() / 8);
    const size_t n = fluxo.size();
    for (size_t i = 0; i < n; ++i) {
        char c = fluxo[i];
        if (c == '\r') {
            if (i + 1 < n && fluxo[i + 1] == '\n') ++i;
            r.append(terminador);
        } else if (c == '\n') {
            r.append(terminador);
        } else {
            r.push_back(c);
        }
    }
    return r;
}

std::string TCdbETQClass::AjustarQuebrasDeLinha(const std::string& fluxo) { return TrocarQuebrasDeLinha(fluxo, "\n"); }

std::string TCdbETQClass::ComandoLimparMemoria() { return {}; }

std::string TCdbETQClass::ComandoCopias(int NumCopias) {
    if (NumCopias < 1 || NumCopias > MaxCopias)
        throw Exception("NumCopias deve ser de 1 a " + std::to_string(MaxCopias));
    return {};
}

std::string TCdbETQClass::ComandoImprimir() { return {}; }
std::string TCdbETQClass::ComandoAvancarEtiqueta(int) { return {}; }

void TCdbETQClass::AnexarLinha(std::string& bloco, const std::string& linha) {
    if (linha.empty()) return;
    if (!bloco.empty()) bloco.append("\r\n");
    bloco.append(linha);
}

std::string TCdbETQClass::ComandoIniciarEtiqueta() {
    std::string b;
    b.reserve(64);
    AnexarLinha(b, ComandoBackFeed());
    AnexarLinha(b, ComandoAbertura());
    AnexarLinha(b, ComandoDeteccaoEtiqueta());
    AnexarLinha(b, ComandoGuilhotina());
    AnexarLinha(b, ComandoDimensoes());
    AnexarLinha(b, ComandoUnidade());
    if (LimparMemoria) AnexarLinha(b, ComandoLimparMemoria());
    AnexarLinha(b, ComandoTemperatura());
    AnexarLinha(b, ComandoResolucao());
    AnexarLinha(b, ComandoOrigemCoordenadas());
    AnexarLinha(b, ComandoVelocidade());
    if (PaginaDeCodigo != pceNone) AnexarLinha(b, ComandoPaginaDeCodigo());
    return b;
}

std::string TCdbETQClass::ComandoFinalizarEtiqueta(int NumCopias, int AvancoEtiqueta) {
    if (NumCopias <= 0) NumCopias = 1;
    if (AvancoEtiqueta <= 0) AvancoEtiqueta = Avanco;
    std::string b;
    AnexarLinha(b, ComandoCopias(NumCopias));
    AnexarLinha(b, ComandoImprimir());
    AnexarLinha(b, ComandoAvancarEtiqueta(AvancoEtiqueta));
    return b;
}

void TCdbETQClass::ErroNaoImplementado(const char* operacao) const {
    throw Exception(std::string("Metodo: ") + operacao + " não implementada em: " + ModeloStr);
}

std::string TCdbETQClass::ComandoImprimirTexto(TCdbETQOrientacao, const std::string&, int, int, int, int,
                                               const std::string&, int, bool) {
    ErroNaoImplementado("ComandoImprimirTexto");
}

std::string TCdbETQClass::ConverterTipoBarras(int TipoBarras) { return std::to_string(TipoBarras); }

std::string TCdbETQClass::ComandoImprimirBarras(TCdbETQOrientacao, const std::string&, int, int, int, int,
                                                const std::string&, int, TCdbETQBarraExibeCodigo) {
    ErroNaoImplementado("ComandoImprimirBarras");
}

std::string TCdbETQClass::ComandoImprimirQRCode(int, int, const std::string&, int, int, int) {
    ErroNaoImplementado("ComandoImprimirQRCode");
}

std::string TCdbETQClass::ComandoImprimirLinha(int, int, int, int) { ErroNaoImplementado("ComandoImprimirLinha"); }

std::string TCdbETQClass::ComandoImprimirCaixa(int, int, int, int, int, int, int) {
    ErroNaoImplementado("ComandoImprimirCaixa");
}

std::string TCdbETQClass::ComandoImprimirImagem(int, int, int, const std::string&) {
    ErroNaoImplementado("ComandoImprimirImagem");
}

std::string TCdbETQClass::ComandoCarregarImagem(const std::string&, const std::string&, bool, const std::string&) {
    ErroNaoImplementado("ComandoCarregarImagem");
}

std::string TCdbETQClass::ComandoApagarImagem(const std::string&) { ErroNaoImplementado("ComandoApagarImagem"); }

std::string TCdbETQClass::ComandoGravaRFIDHexaDecimal(const std::string&) {
    ErroNaoImplementado("ComandoGravaRFIDHexaDecimal");
}

std::string TCdbETQClass::ComandoGravaRFIDASCII(const std::string&) { ErroNaoImplementado("ComandoGravaRFIDASCII"); }
