#include "common/Regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <mutex>

namespace {

std::string Ambiente(const char* nome) {
    const char* v = std::getenv(nome);
    return v ? v : "";
}

// The locale name the C library takes for one category.
std::string NomeLocale(const char* categoria) {
    for (const std::string& v : {Ambiente("LC_ALL"), Ambiente(categoria), Ambiente("LANG")})
        if (!v.empty()) return v;
    return "C";
}

bool SemEscolhaRegional(const std::string& nome) { return nome == "C" || nome == "POSIX" || nome.rfind("C.", 0) == 0; }

// "%d/%m/%Y" to "DD/MM/AAAA"; empty when the form holds something else.
std::string PadraoDeFormatoC(const std::string& f) {
    std::string r;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') {
            r += f[i];
            continue;
        }
        if (++i >= f.size()) return "";
        switch (f[i]) {
            case 'd':
            case 'e': r += "DD"; break;
            case 'm': r += "MM"; break;
            case 'Y': r += "AAAA"; break;
            case 'y': r += "AA"; break;
            case 'D': r += "MM/DD/AA"; break;
            case 'F': r += "AAAA-MM-DD"; break;
            default: return "";
        }
    }
    return r;
}

struct TRegional {
    std::string chave;  // the environment it was resolved from
    char separador = ',';
    std::string data = "DD/MM/AAAA";
};

TRegional Resolver(const std::string& numerico, const std::string& tempo) {
    TRegional r;
    if (!SemEscolhaRegional(numerico)) {
        if (locale_t l = newlocale(LC_NUMERIC_MASK, numerico.c_str(), static_cast<locale_t>(nullptr))) {
            const char* radix = nl_langinfo_l(RADIXCHAR, l);
            if (radix && radix[0] && !radix[1]) r.separador = radix[0];
            freelocale(l);
        }
    }
    if (!SemEscolhaRegional(tempo)) {
        if (locale_t l = newlocale(LC_TIME_MASK, tempo.c_str(), static_cast<locale_t>(nullptr))) {
            const char* f = nl_langinfo_l(D_FMT, l);
            std::string p = f ? PadraoDeFormatoC(f) : "";
            if (!p.empty()) r.data = p;
            freelocale(l);
        }
    }
    return r;
}

// Resolved again only when the environment changed (tests change it).
TRegional Atual() {
    static std::mutex m;
    static TRegional cache{"\x01", ',', ""};
    const std::string numerico = NomeLocale("LC_NUMERIC"), tempo = NomeLocale("LC_TIME");
    const std::string chave = numerico + '\n' + tempo;
    std::lock_guard<std::mutex> g(m);
    if (cache.chave != chave) {
        cache = Resolver(numerico, tempo);
        cache.chave = chave;
    }
    return cache;
}

}  // namespace

char SeparadorDecimal() { return Atual().separador; }

std::string PadraoDataCurta() { return Atual().data; }

std::string FormataValor(const Decimal& valor, int casas) { return valor.Formatar(casas, SeparadorDecimal()); }

std::string FormataNumero(const Decimal& valor) {
    std::string t = valor.ParaTextoCurto();
    for (char& c : t)
        if (c == '.') c = SeparadorDecimal();
    return t;
}

std::string DataCurta(TDateTime data) { return FormataData(PadraoDataCurta(), data); }
