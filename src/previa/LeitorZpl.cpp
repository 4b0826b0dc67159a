// ZPL II: caret and tilde commands, two characters each (^A takes the font
// as a third), parameters separated by commas up to the next caret or tilde.
// Line breaks between commands mean nothing. A field is the commands up to
// ^FS; a format is what lies between ^XA and ^XZ.
#include <zint.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "previa/Fluxo.h"
#include "previa/LeitorComum.h"

namespace previa {

using namespace leitor;

namespace {

int Rotacao(char o) {
    switch (o) {
        case 'R': return 90;
        case 'I': return 180;
        case 'B': return 270;
        default: return 0;
    }
}

struct TipoZpl {
    char letra;
    int simbologia;
    // Position of the height, readable line and "above" flag among the
    // parameters after the orientation (the types differ there).
    int altura, legivel, acima;
};
constexpr TipoZpl kTipos[] = {
    {'E', BARCODE_EANX, 0, 1, 2},        {'8', BARCODE_EANX, 0, 1, 2},        {'U', BARCODE_UPCA, 0, 1, 2},
    {'9', BARCODE_UPCE, 0, 1, 2},        {'C', BARCODE_CODE128, 0, 1, 2},     {'3', BARCODE_CODE39, 1, 2, 3},
    {'A', BARCODE_CODE93, 0, 1, 2},      {'2', BARCODE_C25INTER, 0, 1, 2},    {'K', BARCODE_CODABAR, 1, 2, 3},
    {'1', BARCODE_CODE11, 1, 2, 3},      {'M', BARCODE_MSI_PLESSEY, 1, 2, 3}, {'P', BARCODE_PLESSEY, 1, 2, 3},
    {'J', BARCODE_C25STANDARD, 0, 1, 2}, {'I', BARCODE_C25IND, 0, 1, 2},      {'L', BARCODE_LOGMARS, 1, 2, 3},
    {'Z', BARCODE_POSTNET, 0, 1, 2},
};

struct Campo {
    std::optional<int> x, y;
    bool reverso = false;
    bool hex = false;
    char indicador = '_';
    std::optional<std::string> dados;
    std::optional<Elemento> barras;
    std::optional<Elemento> caixa;
    std::optional<Elemento> fonte;  // ^A of this field
    bool descartar = false;         // a barcode type the printer lacks: the field prints nothing
    std::string comandos;
};

class LeitorZpl {
public:
    explicit LeitorZpl(int dpi) {
        l_.linguagem = Linguagem::Zpl;
        l_.dpi = dpi;
    }

    Leitura Ler(std::string_view fluxo) {
        size_t i = 0;
        const size_t n = fluxo.size();
        while (i < n) {
            const char c = fluxo[i];
            if (c != '^' && c != '~') {
                if (c != '\r' && c != '\n' && c != ' ' && c != '\t') {
                    // Stray bytes outside any command: skip them up to the next one.
                    size_t fim = fluxo.find_first_of("^~", i);
                    if (fim == std::string_view::npos) fim = n;
                    Ignorar(l_, fluxo.substr(i, fim - i), "Texto fora de comando ZPL ignorado");
                    i = fim;
                    continue;
                }
                ++i;
                continue;
            }
            size_t fim = fluxo.find_first_of("^~", i + 1);
            if (fim == std::string_view::npos) fim = n;
            Comando(c, fluxo.substr(i + 1, fim - i - 1));
            i = fim;
        }
        FecharCampo();
        if (formato_ && !formato_->elementos.empty()) SemImpressao(l_, std::move(*formato_), "^XZ");
        return std::move(l_);
    }

private:
    Etiqueta& Formato() {
        if (!formato_) formato_ = Etiqueta{};
        return *formato_;
    }

    static std::string_view SemQuebras(std::string_view s) {
        while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.remove_suffix(1);
        return s;
    }

    void Comando(char prefixo, std::string_view corpo) {
        if (corpo.size() < 2) {
            Ignorar(l_, std::string(1, prefixo) + std::string(corpo), "Comando ZPL incompleto ignorado");
            return;
        }
        const std::string nome(corpo.substr(0, 2));
        std::string_view p = corpo.substr(2);
        if (nome != "FD") p = SemQuebras(p);
        campo_.comandos += prefixo;
        campo_.comandos += corpo.substr(0, std::min<size_t>(corpo.size(), 40));

        if (prefixo == '^' && corpo[0] == 'A' && nome != "A@") {
            Fonte(corpo[1], corpo.substr(2));
        } else if (nome == "XA") {
            FecharCampo();
            Formato();
        } else if (nome == "XZ") {
            FecharCampo();
            Etiqueta e = formato_ ? std::move(*formato_) : Etiqueta{};
            formato_.reset();
            e.copias = copias_;
            e.girar180 = invertido_;
            e.larguraDots = largura_;
            e.alturaDots = comprimento_;
            l_.etiquetas.push_back(std::move(e));
            copias_ = 1;
        } else if (nome == "FO" || nome == "FT") {
            auto v = Separar(p, ',');
            campo_.x = InteiroOu(v[0], 0, 0, kMaxDots) + homeX_;
            campo_.y = (v.size() > 1 ? InteiroOu(v[1], 0, 0, kMaxDots) : 0) + homeY_;
            if (nome == "FT") Ignorar(l_, corpo, "^FT tomado como ^FO");
        } else if (nome == "FD") {
            campo_.dados = std::string(p);
        } else if (nome == "FH") {
            campo_.hex = true;
            campo_.indicador = p.empty() ? '_' : p[0];
        } else if (nome == "FR") {
            campo_.reverso = true;
        } else if (nome == "FS") {
            FecharCampo();
        } else if (nome == "BY") {
            auto v = Separar(p, ',');
            modulo_ = InteiroOu(v[0], modulo_, 1, 10);
            if (v.size() > 1 && !v[1].empty()) {
                double r = std::atof(std::string(v[1]).c_str());
                if (r >= 2.0 && r <= 3.0) razao_ = r;
            }
            if (v.size() > 2) alturaBy_ = InteiroOu(v[2], alturaBy_, 1, kMaxDots);
        } else if (prefixo == '^' && corpo[0] == 'B') {
            Barras(corpo[1], p, corpo);
        } else if (nome == "GB") {
            Caixa(p);
        } else if (nome == "PQ") {
            copias_ = InteiroOu(Separar(p, ',')[0], 1, 1, kMaxCopias);
        } else if (nome == "PO") {
            invertido_ = !p.empty() && p[0] == 'I';
        } else if (nome == "PW") {
            largura_ = InteiroOu(p, 0, 0, kMaxDots);
        } else if (nome == "LL") {
            comprimento_ = InteiroOu(Separar(p, ',')[0], 0, 0, kMaxDots);
        } else if (nome == "LH") {
            auto v = Separar(p, ',');
            homeX_ = InteiroOu(v[0], 0, 0, kMaxDots);
            homeY_ = v.size() > 1 ? InteiroOu(v[1], 0, 0, kMaxDots) : 0;
        } else if (nome == "CF") {
            auto v = Separar(p, ',');
            if (!v[0].empty()) fontePadrao_ = v[0][0];
            if (v.size() > 1) alturaPadrao_ = InteiroOu(v[1], 0, 0, kMaxDots);
            if (v.size() > 2) larguraPadrao_ = InteiroOu(v[2], 0, 0, kMaxDots);
        } else if (nome == "FW") {
            orientacaoPadrao_ = p.empty() ? 'N' : p[0];
        } else if (nome == "MM" || nome == "MC" || nome == "SD" || nome == "PR" || nome == "CI" || nome == "JS" ||
                   nome == "PH" || nome == "MN" || nome == "MT" || nome == "MD" || nome == "PM") {
            // media, darkness, speed, code page, feed: nothing to draw
        } else {
            Ignorar(l_, std::string(1, prefixo) + std::string(corpo), "Comando ZPL desconhecido ignorado");
        }
    }

    // The orientation letter that may open ^A and ^B parameters (^FW's when absent), taken off `p`.
    char Orientacao(std::string_view& p) const {
        if (p.empty() || p[0] == ',') return orientacaoPadrao_;
        const char o = p[0];
        p.remove_prefix(1);
        return o;
    }

    void Fonte(char fonte, std::string_view p) {
        Elemento e;
        e.tipo = TipoElemento::Texto;
        const char orientacao = Orientacao(p);
        auto v = Separar(p, ',');  // v[0] is what stood before the first comma
        const int h = v.size() > 1 ? InteiroOu(v[1], 0, 0, kMaxDots) : 0;
        const int w = v.size() > 2 ? InteiroOu(v[2], 0, 0, kMaxDots) : 0;
        DefinirFonte(e, fonte, orientacao, h, w);
        campo_.fonte = std::move(e);
    }

    // Bitmap fonts grow by whole multiples of their matrix; font 0 takes the
    // sizes as given. A font the printer lacks falls back to font A.
    void DefinirFonte(Elemento& e, char fonte, char orientacao, int h, int w) const {
        Celula c;
        if (!CelulaZpl(fonte, l_.dpi, c)) {
            fonte = 'A';
            CelulaZpl('A', l_.dpi, c);
        }
        e.fonte = std::string(1, fonte);
        e.rotacao = Rotacao(orientacao);
        if (fonte == '0') {
            const int altura = h > 0 ? h : (w > 0 ? w : c.altura);
            // Font 0 is proportional and condensed: its letters average about
            // three fifths of the width asked for.
            e.celulaA = std::min(altura, 3000);
            e.celulaL = std::max(std::min((w > 0 ? w : altura) * 3 / 5, 3000), 1);
        } else {
            const int my = h > 0 ? std::clamp(h / c.altura, 1, 10) : 1;
            const int mx = w > 0 ? std::clamp(w / std::max(c.largura - 1, 1), 1, 10) : my;
            e.celulaA = c.altura * my;
            e.celulaL = c.largura * mx;
        }
    }

    void Barras(char tipo, std::string_view p, std::string_view corpo) {
        Elemento e;
        e.tipo = TipoElemento::Barras;
        e.tipoBarras = std::string(1, tipo);
        for (const auto& t : kTipos) {
            if (t.letra != tipo) continue;
            e.simbologia = t.simbologia;
            const char orientacao = Orientacao(p);
            auto v = Separar(p, ',');
            auto param = [&](int k) -> std::string_view {
                const size_t i = static_cast<size_t>(k) + 1;
                return i < v.size() ? v[i] : std::string_view{};
            };
            e.rotacao = Rotacao(orientacao);
            e.altura = InteiroOu(param(t.altura), alturaBy_, 1, kMaxDots);
            const std::string_view legivel = param(t.legivel);
            e.legivel = legivel.empty() ? true : legivel[0] == 'Y';
            e.legivelAcima = param(t.acima) == "Y";
            if (t.simbologia == BARCODE_EANX || t.simbologia == BARCODE_UPCA || t.simbologia == BARCODE_UPCE) {
                e.legivelAcima = false;
            }
            // ^BC packs digit pairs (subset C) only in mode A; in mode N, the
            // default, the printer stays in subset B unless the data switches.
            if (tipo == 'C' && param(4) != "A") e.simbologia = BARCODE_CODE128B;
            e.barraFina = modulo_;
            e.barraLarga = std::max(modulo_ + 1, static_cast<int>(std::lround(modulo_ * razao_)));
            campo_.barras = std::move(e);
            return;
        }
        campo_.descartar = true;
        Ignorar(l_, std::string("^") + std::string(corpo), "Tipo de código de barras ZPL desconhecido ignorado");
    }

    void Caixa(std::string_view p) {
        auto v = Separar(p, ',');
        auto num = [&](size_t k, int padrao) { return k < v.size() ? InteiroOu(v[k], padrao, 0, kMaxDots) : padrao; };
        Elemento e;
        e.tipo = TipoElemento::Retangulo;
        const int t = std::max(num(2, 1), 1);
        e.largura = std::max(num(0, 1), t);
        e.alturaRet = std::max(num(1, 1), t);
        e.espessuraH = e.espessuraV = t;
        e.canto = std::clamp(num(4, 0), 0, 8);
        if (v.size() > 3 && v[3] == "W") e.pintura = Pintura::Branco;
        campo_.caixa = std::move(e);
    }

    static std::string Decodificar(const Campo& campo, const std::string& dados) {
        if (!campo.hex) return dados;
        std::string r;
        auto valor = [](char c) {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            return -1;
        };
        for (size_t i = 0; i < dados.size(); ++i) {
            if (dados[i] == campo.indicador && i + 2 < dados.size() && valor(dados[i + 1]) >= 0 &&
                valor(dados[i + 2]) >= 0) {
                r.push_back(static_cast<char>(valor(dados[i + 1]) * 16 + valor(dados[i + 2])));
                i += 2;
            } else {
                r.push_back(dados[i]);
            }
        }
        return r;
    }

    void FecharCampo() {
        Campo c = std::move(campo_);
        campo_ = Campo{};
        std::optional<Elemento> e;
        if (c.descartar) return;
        if (c.barras) {
            e = std::move(c.barras);
            e->dados = Decodificar(c, c.dados.value_or(""));
            // ">;" opens a Code 128 field in subset C: digit pairs, whatever the mode.
            if (e->tipoBarras == "C" && e->dados.rfind(">;", 0) == 0) {
                e->dados.erase(0, 2);
                e->simbologia = BARCODE_CODE128;
            }
        } else if (c.caixa) {
            e = std::move(c.caixa);
        } else if (c.dados) {
            if (c.fonte) {
                e = std::move(c.fonte);
            } else {
                e = Elemento{};
                e->tipo = TipoElemento::Texto;
                DefinirFonte(*e, fontePadrao_, orientacaoPadrao_, alturaPadrao_, larguraPadrao_);
            }
            e->dados = Decodificar(c, *c.dados);
        }
        if (!e) return;
        if (!c.x && !c.y) Avisar(l_, "Campo ZPL sem ^FO desenhado na origem: " + Mostrar(c.comandos));
        e->x = c.x.value_or(homeX_);
        e->y = c.y.value_or(homeY_);
        e->ancora = Ancora::CaixaGirada;
        if (c.reverso) e->pintura = Pintura::Xor;
        e->comando = c.comandos.substr(0, 120);
        Formato().elementos.push_back(std::move(*e));
    }

    Leitura l_;
    std::optional<Etiqueta> formato_;
    Campo campo_;
    int copias_ = 1;
    bool invertido_ = false;
    int largura_ = 0, comprimento_ = 0;
    int homeX_ = 0, homeY_ = 0;
    int modulo_ = 2;
    double razao_ = 3.0;
    int alturaBy_ = 10;
    char fontePadrao_ = 'A';
    int alturaPadrao_ = 0, larguraPadrao_ = 0;
    char orientacaoPadrao_ = 'N';
};

}  // namespace

Leitura LerZpl(std::string_view fluxo, int dpi) { return LeitorZpl(dpi).Ler(fluxo); }

}  // namespace previa
