// PPLA: STX system commands, then label-format lines ended by CR (LF and CR LF
// are taken as well). Rows count up from row 0 (the drawing hangs the format
// from its highest field); every field is placed by its lower-left corner.
// Units are tenths of a millimetre after STX m and hundredths of an inch after
// STX n.
#include <zint.h>

#include <cmath>
#include <optional>
#include <string>

#include "previa/Fluxo.h"
#include "previa/LeitorComum.h"

namespace previa {

using namespace leitor;

namespace {

constexpr char STX = '\x02';

int Multiplicador(char c) {
    int v = 1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'A' && c <= 'O')
        v = c - 55;
    return std::max(v, 1);
}

bool Digitos(std::string_view s, int& valor) {
    long long v = 0;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    if (!Inteiro(s, v)) return false;
    valor = static_cast<int>(v);
    return true;
}

struct TipoPpla {
    char letra;
    int simbologia;
};
// Upper case prints the readable line, lower case hides it.
constexpr TipoPpla kTipos[] = {
    {'A', BARCODE_CODE39},  {'B', BARCODE_UPCA},     {'C', BARCODE_UPCE},    {'D', BARCODE_C25INTER},
    {'E', BARCODE_CODE128}, {'F', BARCODE_EANX},     {'G', BARCODE_EANX},    {'H', BARCODE_HIBC_39},
    {'I', BARCODE_CODABAR}, {'J', BARCODE_C25INTER}, {'K', BARCODE_PLESSEY}, {'L', BARCODE_C25INTER},
    {'M', BARCODE_EANX},    {'N', BARCODE_EANX},     {'O', BARCODE_CODE93},  {'P', BARCODE_POSTNET},
    {'Q', BARCODE_CODE128}, {'R', BARCODE_CODE128},  {'S', BARCODE_CODE128}, {'T', BARCODE_TELEPEN},
};

class LeitorPpla {
public:
    explicit LeitorPpla(int dpi) {
        l_.linguagem = Linguagem::Ppla;
        l_.dpi = dpi;
    }

    Leitura Ler(std::string_view fluxo) {
        size_t i = 0;
        while (i < fluxo.size()) {
            size_t fim = fluxo.find_first_of("\r\n", i);
            if (fim == std::string_view::npos) fim = fluxo.size();
            std::string_view linha = fluxo.substr(i, fim - i);
            i = fim + 1;
            if (!linha.empty()) Linha(linha);
        }
        if (atual_ && !atual_->elementos.empty()) SemImpressao(l_, std::move(*atual_), "E");
        return std::move(l_);
    }

private:
    Etiqueta& Atual() {
        if (!atual_) atual_ = Etiqueta{};
        return *atual_;
    }

    int Dots(int unidades) const {
        const double porUnidade = metrico_ ? l_.dpi / 254.0 : l_.dpi / 100.0;
        return Limitar(std::llround(unidades * porUnidade), 0, kMaxDots);
    }

    void Linha(std::string_view linha) {
        if (linha[0] == STX) {
            Sistema(linha);
            return;
        }
        const char c = linha[0];
        if (c >= '1' && c <= '4' && linha.size() >= 15) {
            Registro(linha);
        } else if (linha == "E") {
            Etiqueta& e = Atual();
            e.copias = copias_;
            l_.etiquetas.push_back(std::move(e));
            atual_.reset();
            copias_ = 1;
        } else if (c == 'Q' && linha.size() == 5) {
            int n = 0;
            if (Digitos(linha.substr(1), n))
                copias_ = std::clamp(n, 1, kMaxCopias);
            else
                Ignorar(l_, linha, "Quantidade ilegível");
        } else if (linha == "A1" || linha == "A2" || linha == "A3") {
            reverso_ = false;
        } else if (linha == "A5") {
            reverso_ = true;
        } else if (c == 'D' && linha.size() == 3 && linha[1] >= '1' && linha[1] <= '3' && linha[2] >= '1' &&
                   linha[2] <= '3') {
            pontoL_ = linha[1] - '0';
            pontoA_ = linha[2] - '0';
        } else if ((c == 'H' && linha.size() == 3) || (c == 'P' && linha.size() == 2) || linha == "m" || linha == "n") {
            if (linha == "m") metrico_ = true;
            if (linha == "n") metrico_ = false;
        } else {
            Ignorar(l_, linha, "Comando PPLA desconhecido ignorado");
        }
    }

    void Sistema(std::string_view linha) {
        if (linha.size() < 2) {
            Ignorar(l_, linha, "Comando PPLA incompleto ignorado");
            return;
        }
        switch (linha[1]) {
            case 'L': Atual(); break;
            case 'm': metrico_ = true; break;
            case 'n': metrico_ = false; break;
            case 'V':  // cutter
            case 'Q':  // clear memory
            case 'f':  // stop position
            case 'K':  // character set
                break;
            default: Ignorar(l_, linha, "Comando PPLA desconhecido ignorado");
        }
    }

    void Registro(std::string_view r) {
        Elemento e;
        e.comando = std::string(r.substr(0, 80));
        e.ancora = Ancora::InferiorEsquerdo;
        switch (r[0]) {
            case '2': e.rotacao = 270; break;  // turned a quarter to the left
            case '3': e.rotacao = 180; break;
            case '4': e.rotacao = 90; break;
            default: e.rotacao = 0;
        }
        int linha = 0, coluna = 0, tres = 0;
        if (!Digitos(r.substr(4, 3), tres) || !Digitos(r.substr(7, 4), linha) || !Digitos(r.substr(11, 4), coluna)) {
            Ignorar(l_, r, "Registro PPLA com campo numérico ilegível");
            return;
        }
        e.x = Dots(coluna);
        e.y = Dots(linha);
        const char tipo = r[1];
        std::string_view dados = r.substr(15);

        if (tipo >= '0' && tipo <= '9') {
            Celula c;
            CelulaPpla(tipo, tres, l_.dpi, c);
            e.tipo = TipoElemento::Texto;
            e.fonte = std::string(1, tipo);
            e.celulaL = c.largura * Multiplicador(r[2]) * pontoL_;
            e.celulaA = c.altura * Multiplicador(r[3]) * pontoA_;
            e.pintura = reverso_ ? Pintura::Inverso : Pintura::Preto;
            e.dados = std::string(dados);
        } else if (tipo == 'X' || tipo == 'x') {
            if (!Grafico(e, dados)) return;
        } else {
            const char maiuscula = (tipo >= 'a' && tipo <= 'z') ? static_cast<char>(tipo - 32) : tipo;
            int simbologia = 0;
            for (const auto& t : kTipos)
                if (t.letra == maiuscula) simbologia = t.simbologia;
            if (!simbologia) {
                Ignorar(l_, r, "Tipo de código de barras PPLA desconhecido ignorado");
                return;
            }
            e.tipo = TipoElemento::Barras;
            e.simbologia = simbologia;
            e.tipoBarras = std::string(1, tipo);
            e.legivel = tipo >= 'A' && tipo <= 'Z';
            e.barraLarga = Multiplicador(r[2]) * pontoL_;
            e.barraFina = Multiplicador(r[3]) * pontoL_;
            e.altura = tres > 0 ? Dots(tres) : Dots(metrico_ ? 100 : 40);
            e.dados = std::string(dados);
        }
        Atual().elementos.push_back(std::move(e));
    }

    // "L" width height, or "B" width height top/bottom sides, three digits each.
    bool Grafico(Elemento& e, std::string_view d) {
        int w = 0, h = 0, t = 0, s = 0;
        bool ok = !d.empty() && (d[0] == 'L' || d[0] == 'B') && d.size() >= 7 && Digitos(d.substr(1, 3), w) &&
                  Digitos(d.substr(4, 3), h);
        if (ok && d[0] == 'B') ok = d.size() >= 13 && Digitos(d.substr(7, 3), t) && Digitos(d.substr(10, 3), s);
        if (!ok) {
            Ignorar(l_, e.comando, "Linha ou caixa PPLA ilegível");
            return false;
        }
        e.tipo = TipoElemento::Retangulo;
        e.largura = Dots(w);
        e.alturaRet = Dots(h);
        if (d[0] == 'B') {
            e.espessuraH = std::max(Dots(t), 1);
            e.espessuraV = std::max(Dots(s), 1);
        }
        return true;
    }

    Leitura l_;
    std::optional<Etiqueta> atual_;
    bool metrico_ = true;
    bool reverso_ = false;
    int copias_ = 1;
    int pontoL_ = 1, pontoA_ = 1;
};

}  // namespace

Leitura LerPpla(std::string_view fluxo, int dpi) { return LeitorPpla(dpi).Ler(fluxo); }

}  // namespace previa
