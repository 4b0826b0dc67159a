// A model used with another printer language than the one its table was
// written for. Sent as written, a PPLA "F" would reach a ZPL printer as
// MicroPDF417 and an EPL2 "1" would stop a PPLA print; the same symbology in
// the configured language's code prints the label the shop expects.
#include <algorithm>
#include <string>

#include "labels/Percurso.h"

namespace {

enum class TFamilia { Ppla, Epl, Zpl, Outra };

TFamilia FamiliaDe(TCdbETQModelo m) {
    switch (m) {
        case etqPpla: return TFamilia::Ppla;
        case etqPplb:
        case etqEpl2: return TFamilia::Epl;
        case etqZPLII:
        case etqEscLabel: return TFamilia::Zpl;
        default: return TFamilia::Outra;
    }
}

struct TSimbologia {
    const char* ppla;
    const char* epl;
    const char* zpl;
};

// The symbologies the tables use.
const TSimbologia kSimbologias[] = {
    {"F", "E30", "E"},  // EAN-13
    {"E", "1", "C"},    // Code 128
    {"O", "9", "A"},    // Code 93
};

const char* Codigo(const TSimbologia& s, TFamilia f) {
    return f == TFamilia::Ppla ? s.ppla : f == TFamilia::Epl ? s.epl : s.zpl;
}

int Largura(const std::string& s) { return s.size() == 1 && s[0] >= '0' && s[0] <= '9' ? s[0] - '0' : 2; }

}  // namespace

TModeloTermico EscritoPara(TCdbETQModelo linguagem, TModeloTermico modelo) {
    modelo.linguagem = linguagem;
    return modelo;
}

void AdaptarLinguagem(TDesenho& d, TCdbETQModelo escritoPara, TCdbETQModelo destino) {
    TFamilia origem = FamiliaDe(escritoPara);
    const TFamilia alvo = FamiliaDe(destino);
    // The ZPL model's table passes EPL2 codes, which a ZPL printer takes for
    // other symbologies ("1" is Code 11, which holds no letters): they are
    // passed in ZPL's own codes on a ZPL printer too.
    if (origem == TFamilia::Zpl) origem = TFamilia::Epl;
    if (origem == alvo || origem == TFamilia::Outra || alvo == TFamilia::Outra) return;

    if (d.tipo == TTipoDesenho::Texto) {
        if (alvo == TFamilia::Epl && d.fonte > 5) d.fonte = 5;
        return;
    }
    if (d.tipo != TTipoDesenho::Barras) return;
    for (const TSimbologia& s : kSimbologias) {
        if (d.tipoBarras != Codigo(s, origem)) continue;
        d.tipoBarras = Codigo(s, alvo);
        break;
    }
    if (alvo == TFamilia::Epl) {
        // EPL2: EAN-13 takes a narrow bar of 2 to 4 dots; the wide bar is at
        // least 2 and never narrower than the narrow one.
        int fina = std::clamp(Largura(d.fina), 1, 10);
        if (d.tipoBarras == "E30") fina = std::clamp(fina, 2, 4);
        const int larga = std::clamp(std::max({Largura(d.larga), fina, 2}), 2, 30);
        d.fina = std::to_string(fina);
        d.larga = std::to_string(larga);
    }
}

namespace {

bool SoDigitos(const std::string& s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos; }

// Modules of a Code 128 symbol (start, data, check, stop), with digit pairs
// where the printer packs them: runs of four digits or more in subset C when
// it switches by itself, all of a field that opens with ">;" (ZPL), none
// when it stays in subset B.
int ModulosCode128(const std::string& valor, bool automatico) {
    int simbolos = 0;
    if (valor.rfind(">;", 0) == 0) {
        simbolos = static_cast<int>(valor.size() - 2 + 1) / 2;
    } else if (!automatico) {
        simbolos = static_cast<int>(valor.size());
    } else {
        // A rough copy of a printer's own choice: runs of four digits or more
        // (or a whole field of digits) go in pairs, the rest one by one.
        const size_t n = valor.size();
        bool primeiro = true, emC = false;
        for (size_t i = 0; i < n;) {
            size_t fim = i;
            while (fim < n && valor[fim] >= '0' && valor[fim] <= '9') ++fim;
            const size_t l = fim - i;
            if (l >= 4 || (l >= 2 && i == 0 && fim == n)) {
                if (l % 2) {  // the odd digit is sent one by one before the pairs
                    if (emC) ++simbolos;
                    ++simbolos;
                    emC = false;
                    primeiro = false;
                }
                if (!primeiro && !emC) ++simbolos;  // switch to subset C
                simbolos += static_cast<int>(l / 2);
                emC = true;
                primeiro = false;
                i = fim;
            } else {
                const size_t k = l == 0 ? 1 : l;
                if (emC) ++simbolos;  // back to subset B
                emC = false;
                primeiro = false;
                simbolos += static_cast<int>(k);
                i += k;
            }
        }
    }
    return (simbolos + 2) * 11 + 13;
}

// Width in modules of the symbol a barcode call prints; 0 when unknown.
int ModulosBarras(const TDesenho& d, TFamilia f) {
    const std::string& t = d.tipoBarras;
    const bool code128 =
        (f == TFamilia::Ppla && t == "E") || (f == TFamilia::Epl && t == "1") || (f == TFamilia::Zpl && t == "C");
    // ZPL's ^BC stays in subset B unless the data says otherwise; the others switch.
    if (code128) return ModulosCode128(d.valor, f != TFamilia::Zpl);
    const bool ean13 =
        (f == TFamilia::Ppla && t == "F") || (f == TFamilia::Epl && t == "E30") || (f == TFamilia::Zpl && t == "E");
    if (ean13) return 95;
    return 0;
}

}  // namespace

void EstreitarBarras(TDesenho& d, TCdbETQModelo linguagem, int passo, int dpi) {
    const TFamilia f = FamiliaDe(linguagem);
    if (d.tipo != TTipoDesenho::Barras || passo <= 0 || f == TFamilia::Outra) return;
    auto dots = [dpi](int decimos) { return static_cast<int>((static_cast<long>(decimos) * dpi + 127) / 254); };
    auto cabe = [&] {
        const int modulos = ModulosBarras(d, f);
        return modulos == 0 || dots(d.h) + modulos * Largura(d.fina) <= dots(passo);
    };
    if (cabe()) return;
    // ZPL packs digit pairs only when told: the field opens in subset C.
    if (f == TFamilia::Zpl && d.tipoBarras == "C" && SoDigitos(d.valor) && d.valor.size() % 2 == 0) {
        d.valor.insert(0, ">;");
        if (cabe()) return;
    }
    // Otherwise the narrowest bar the language accepts (EPL2 draws EAN-13 from 2 dots).
    const int minimo = f == TFamilia::Epl && d.tipoBarras == "E30" ? 2 : 1;
    if (Largura(d.fina) > minimo) d.fina = std::to_string(minimo);
}
