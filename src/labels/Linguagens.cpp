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
