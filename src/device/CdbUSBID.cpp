// Identifier table of USB devices: the built-in copy and its reader.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "device/CdbDeviceWinUSB.h"

namespace {

// Used when no CdbUSBID.ini is found (CarregarPadrao). Classes: 0 misc,
// 1 receipt printer, 2 label printer, 3 fiscal. Label printers carry protocol
// 0 so the table never changes the configured language.
const char* const kTabela =
#include "CdbUSBIDTabela.inc"
    ;

bool Hexa(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string Id(const std::string& tipo, const std::string& valor) {
    std::string v = Trim(valor);
    if (!Hexa(v)) throw Exception(tipo + " inválido [" + valor + "]");
    v = Minusculas(v);
    while (v.size() < 4) v.insert(0, 1, '0');
    return v;
}

int InteiroOuZero(const std::string& s) {
    try {
        return StrToInt(s);
    } catch (...) {
        return 0;
    }
}

bool Utf8Valido(const std::string& s) {
    size_t i = 0;
    char32_t cp;
    while (i < s.size())
        if (!Utf8::Proximo(s, i, cp)) return false;
    return true;
}

}  // namespace

const std::string& TBancoUSBID::TextoEmbutido() {
    static const std::string texto = kTabela;
    return texto;
}

void TBancoUSBID::Carregar(const std::string& texto) {
    fabricantes_.clear();
    produtos_.clear();
    // Files written on Windows come in Windows-1252.
    const std::string utf8 = Utf8Valido(texto) ? texto : Win1252::ParaUtf8(texto);
    std::istringstream in(utf8);
    std::string linha, secao;
    while (std::getline(in, linha)) {
        std::string l = Trim(linha);
        if (l.empty() || l[0] == ';') continue;
        if (l.front() == '[' && l.back() == ']') {
            secao = Minusculas(Trim(l.substr(1, l.size() - 2)));
            continue;
        }
        auto igual = l.find('=');
        if (igual == std::string::npos || secao.empty()) continue;
        std::string chave = Minusculas(Trim(l.substr(0, igual)));
        std::string valor = Trim(l.substr(igual + 1));
        if (!Hexa(chave)) continue;  // not an ID: a stray line of the file
        while (chave.size() < 4) chave.insert(0, 1, '0');
        if (secao == "vendors")
            fabricantes_.emplace(chave, valor);
        else if (Hexa(secao))
            produtos_[secao.size() < 4 ? std::string(4 - secao.size(), '0') + secao : secao].emplace(chave, valor);
    }
}

void TBancoUSBID::CarregarPadrao() {
    // The shop's own table beside its configEtq.ini, then the one installed
    // with the program, then the built-in copy.
    std::vector<std::string> arquivos{LocalConfigEtq().Pasta() + "CdbUSBID.ini"};
    if (const std::string dados = PastaDadosInstalacao(); !dados.empty()) arquivos.push_back(dados + "CdbUSBID.ini");
    for (const auto& arquivo : arquivos) {
        struct stat st {};
        if (::stat(arquivo.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        std::ifstream f(arquivo, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        if (f.good() || f.eof()) {
            Carregar(s.str());
            return;
        }
    }
    Carregar(TextoEmbutido());
}

size_t TBancoUSBID::NumProdutos() const {
    size_t n = 0;
    for (const auto& [v, p] : produtos_) n += p.size();
    return n;
}

std::string TBancoUSBID::Fabricante(const std::string& vendorId) const {
    auto it = fabricantes_.find(Id("VendorID", vendorId));
    return it == fabricantes_.end() ? std::string() : it->second;
}

bool TBancoUSBID::Produto(const std::string& vendorId, const std::string& productId, std::string& descricao,
                          int& classe, int& protocolo) const {
    const std::string v = Id("VendorID", vendorId);
    const std::string p = Id("ProductID", productId);
    descricao.clear();
    classe = protocolo = 0;
    auto sv = produtos_.find(v);
    if (sv == produtos_.end()) return false;
    auto sp = sv->second.find(p);
    if (sp == sv->second.end()) return false;
    std::vector<std::string> campos;
    std::string campo;
    std::istringstream in(sp->second);
    while (std::getline(in, campo, ';')) campos.push_back(Trim(campo));
    if (!campos.empty()) descricao = campos[0];
    if (campos.size() > 1) classe = InteiroOuZero(campos[1]);
    if (campos.size() > 2) protocolo = InteiroOuZero(campos[2]);
    return true;
}
