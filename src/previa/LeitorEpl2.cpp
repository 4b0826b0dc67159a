// EPL2 (also what PPLB printers take): one command per line, parameters
// separated by commas, the last one of a text or barcode in double quotes.
// Coordinates are dots from the top-left corner of the image; "N" clears the
// image buffer and "P" prints it, leaving it in place.
#include <zint.h>

#include <string>

#include "previa/Fluxo.h"
#include "previa/LeitorComum.h"

namespace previa {

using namespace leitor;

namespace {

struct TipoEpl2 {
    const char* codigo;
    int simbologia;
};
constexpr TipoEpl2 kTipos[] = {
    {"0", BARCODE_CODE128},   {"1", BARCODE_CODE128},     {"1A", BARCODE_CODE128}, {"1B", BARCODE_CODE128B},
    {"1C", BARCODE_CODE128},  {"1E", BARCODE_CODE128},    {"2", BARCODE_C25INTER}, {"2C", BARCODE_C25INTER},
    {"2D", BARCODE_C25INTER}, {"2U", BARCODE_C25INTER},   {"2G", BARCODE_DPLEIT},  {"3", BARCODE_CODE39},
    {"3C", BARCODE_CODE39},   {"9", BARCODE_CODE93},      {"K", BARCODE_CODABAR},  {"E80", BARCODE_EANX},
    {"E82", BARCODE_EANX},    {"E85", BARCODE_EANX},      {"E30", BARCODE_EANX},   {"E32", BARCODE_EANX},
    {"E35", BARCODE_EANX},    {"UA0", BARCODE_UPCA},      {"UA2", BARCODE_UPCA},   {"UA5", BARCODE_UPCA},
    {"UE0", BARCODE_UPCE},    {"UE2", BARCODE_UPCE},      {"UE5", BARCODE_UPCE},   {"P", BARCODE_POSTNET},
    {"L", BARCODE_PLESSEY},   {"M", BARCODE_MSI_PLESSEY},
};

int Rotacao(std::string_view s) {
    if (s == "1") return 90;
    if (s == "2") return 180;
    if (s == "3") return 270;
    return 0;
}

// The quoted last parameter: \" and \\ stand for themselves.
bool Aspas(std::string_view s, std::string& dados) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (s.empty() || s.front() != '"') return false;
    dados.clear();
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            dados.push_back(s[++i]);
        } else if (c == '"') {
            return true;
        } else {
            dados.push_back(c);
        }
    }
    return true;  // an unclosed quote keeps what came
}

class LeitorEpl2 {
public:
    explicit LeitorEpl2(int dpi) {
        l_.linguagem = Linguagem::Epl2;
        l_.dpi = dpi;
    }

    Leitura Ler(std::string_view fluxo) {
        size_t i = 0;
        while (i < fluxo.size()) {
            size_t fim = fluxo.find('\n', i);
            if (fim == std::string_view::npos) fim = fluxo.size();
            std::string_view linha = fluxo.substr(i, fim - i);
            i = fim + 1;
            while (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
            if (!linha.empty()) Linha(linha);
        }
        if (!atual_.elementos.empty() && !impressa_) SemImpressao(l_, std::move(atual_), "P");
        return std::move(l_);
    }

private:
    void Linha(std::string_view linha) {
        const char c = linha[0];
        if (linha == "N") {
            atual_.elementos.clear();
            impressa_ = false;
        } else if (c == 'P' && linha.size() > 1 && linha[1] >= '0' && linha[1] <= '9') {
            auto p = Separar(linha.substr(1), ',');
            long long n = 0;
            if (!Inteiro(p[0], n)) {
                Ignorar(l_, linha, "Quantidade ilegível");
                return;
            }
            Etiqueta e = atual_;
            e.copias = Limitar(n, 1, kMaxCopias);
            e.impressa = true;
            l_.etiquetas.push_back(std::move(e));
            impressa_ = true;
        } else if (c == 'A' && linha.size() > 1 && (linha[1] == ' ' || (linha[1] >= '0' && linha[1] <= '9'))) {
            Texto(linha);
        } else if (c == 'B' && linha.size() > 1 && linha[1] >= '0' && linha[1] <= '9') {
            Barras(linha);
        } else if (linha.starts_with("LO") || linha.starts_with("LE") || linha.starts_with("LW")) {
            Traco(linha);
        } else if (c == 'X' && linha.size() > 1 && linha[1] >= '0' && linha[1] <= '9') {
            Caixa(linha);
        } else if (c == 'R' && linha.size() > 1 && linha[1] >= '0' && linha[1] <= '9') {
            auto p = Separar(linha.substr(1), ',');
            refX_ = InteiroOu(p[0], 0, 0, kMaxDots);
            refY_ = p.size() > 1 ? InteiroOu(p[1], 0, 0, kMaxDots) : 0;
        } else if (c == 'q' && linha.size() > 1) {
            atual_.larguraDots = InteiroOu(linha.substr(1), 0, 0, kMaxDots);
        } else if (c == 'Q' && linha.size() > 1) {
            atual_.alturaDots = InteiroOu(Separar(linha.substr(1), ',')[0], 0, 0, kMaxDots);
        } else if (linha == "ZT" || linha == "ZB") {
            atual_.girar180 = linha == "ZT";
        } else if (linha == "JF" || linha == "JB" || linha == "O" || linha.starts_with("OC") ||
                   (c == 'D' && linha.size() <= 3) || (c == 'S' && linha.size() <= 2) || linha.starts_with("I8,")) {
            // back-feed, options, density, speed, code page: nothing to draw
        } else {
            Ignorar(l_, linha, "Comando EPL2 desconhecido ignorado");
        }
    }

    // The leading parameters as numbers (with their defaults) and the quoted data.
    bool Campos(std::string_view linha, size_t inicio, size_t n, std::vector<std::string_view>& p, std::string& dados) {
        auto todos = Separar(linha.substr(inicio), ',');
        if (todos.size() < n + 1) return false;
        p.assign(todos.begin(), todos.begin() + static_cast<long>(n));
        // The data may hold commas: it is everything after the n-th comma.
        size_t pos = inicio;
        for (size_t k = 0; k < n; ++k) pos = linha.find(',', pos) + 1;
        return Aspas(linha.substr(pos), dados);
    }

    void Texto(std::string_view linha) {
        std::vector<std::string_view> p;
        Elemento e;
        if (!Campos(linha, 1, 7, p, e.dados)) {
            Ignorar(l_, linha, "Texto EPL2 ilegível");
            return;
        }
        Celula c;
        const char fonte = p[3].size() == 1 ? p[3][0] : '?';
        if (!CelulaEpl2(fonte, l_.dpi, c)) {
            Ignorar(l_, linha, "Fonte EPL2 desconhecida");
            return;
        }
        e.tipo = TipoElemento::Texto;
        e.comando = std::string(linha.substr(0, 80));
        e.x = InteiroOu(p[0], 0, 0, kMaxDots) + refX_;
        e.y = InteiroOu(p[1], 0, 0, kMaxDots) + refY_;
        e.rotacao = Rotacao(p[2]);
        e.fonte = std::string(1, fonte);
        e.celulaL = c.largura * InteiroOu(p[4], 1, 1, 24);
        e.celulaA = c.altura * InteiroOu(p[5], 1, 1, 24);
        e.pintura = p[6] == "R" ? Pintura::Inverso : Pintura::Preto;
        atual_.elementos.push_back(std::move(e));
    }

    void Barras(std::string_view linha) {
        std::vector<std::string_view> p;
        Elemento e;
        if (!Campos(linha, 1, 8, p, e.dados)) {
            Ignorar(l_, linha, "Código de barras EPL2 ilegível");
            return;
        }
        for (const auto& t : kTipos)
            if (p[3] == t.codigo) e.simbologia = t.simbologia;
        if (!e.simbologia) {
            Ignorar(l_, linha, "Tipo de código de barras EPL2 desconhecido ignorado");
            return;
        }
        e.tipo = TipoElemento::Barras;
        e.comando = std::string(linha.substr(0, 80));
        e.tipoBarras = std::string(p[3]);
        e.x = InteiroOu(p[0], 0, 0, kMaxDots) + refX_;
        e.y = InteiroOu(p[1], 0, 0, kMaxDots) + refY_;
        e.rotacao = Rotacao(p[2]);
        e.barraFina = InteiroOu(p[4], 2, 1, 40);
        e.barraLarga = InteiroOu(p[5], e.barraFina * 2, 1, 120);
        e.altura = InteiroOu(p[6], 50, 0, kMaxDots);
        e.legivel = p[7] == "B";
        // Types ending in 2 or 5 carry a two- or five-digit add-on after the main code.
        if (e.tipoBarras.size() == 3 && (e.tipoBarras[2] == '2' || e.tipoBarras[2] == '5')) {
            const size_t principal =
                e.tipoBarras[0] == 'E' ? (e.tipoBarras[1] == '8' ? 7 : 12) : (e.tipoBarras[1] == 'A' ? 11 : 6);
            if (e.dados.size() > principal + 1) e.dados.insert(e.dados.size() - (e.tipoBarras[2] - '0'), "+");
        }
        atual_.elementos.push_back(std::move(e));
    }

    void Traco(std::string_view linha) {
        auto p = Separar(linha.substr(2), ',');
        if (p.size() < 4) {
            Ignorar(l_, linha, "Linha EPL2 ilegível");
            return;
        }
        Elemento e;
        e.tipo = TipoElemento::Retangulo;
        e.comando = std::string(linha.substr(0, 80));
        e.x = InteiroOu(p[0], 0, 0, kMaxDots) + refX_;
        e.y = InteiroOu(p[1], 0, 0, kMaxDots) + refY_;
        e.largura = InteiroOu(p[2], 0, 0, kMaxDots);
        e.alturaRet = InteiroOu(p[3], 0, 0, kMaxDots);
        e.pintura = linha[1] == 'E' ? Pintura::Xor : linha[1] == 'W' ? Pintura::Branco : Pintura::Preto;
        atual_.elementos.push_back(std::move(e));
    }

    void Caixa(std::string_view linha) {
        auto p = Separar(linha.substr(1), ',');
        if (p.size() < 5) {
            Ignorar(l_, linha, "Caixa EPL2 ilegível");
            return;
        }
        Elemento e;
        e.tipo = TipoElemento::Retangulo;
        e.comando = std::string(linha.substr(0, 80));
        const int x1 = InteiroOu(p[0], 0, 0, kMaxDots), y1 = InteiroOu(p[1], 0, 0, kMaxDots);
        const int x2 = InteiroOu(p[3], x1, 0, kMaxDots), y2 = InteiroOu(p[4], y1, 0, kMaxDots);
        e.x = std::min(x1, x2) + refX_;
        e.y = std::min(y1, y2) + refY_;
        e.largura = std::abs(x2 - x1);
        e.alturaRet = std::abs(y2 - y1);
        e.espessuraH = e.espessuraV = InteiroOu(p[2], 1, 1, kMaxDots);
        atual_.elementos.push_back(std::move(e));
    }

    Leitura l_;
    Etiqueta atual_;
    bool impressa_ = false;
    int refX_ = 0, refY_ = 0;
};

}  // namespace

Leitura LerEpl2(std::string_view fluxo, int dpi) { return LeitorEpl2(dpi).Ler(fluxo); }

}  // namespace previa
