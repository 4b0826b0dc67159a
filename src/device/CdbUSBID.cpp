// Identifier table of USB devices: the built-in copy and its reader.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "device/CdbDeviceWinUSB.h"

namespace {

// Used when no CdbUSBID.ini lies beside the program. Classes: 0 misc,
// 1 receipt printer, 2 label printer, 3 fiscal. Label printers carry protocol
// 0 so the table never changes the configured language.
const char* const kTabela = R"(; CdbUSBID - USB devices the label program recognises
; [Vendors]: VendorID=name; [VendorID]: ProductID=description;class;protocol

[Vendors]
0a5f=Zebra
154f=Shandong New
20d1=Dascom
2d84=Zhuhai J-Speed
0b0b=Datamax-O'Neil
04b8=Seiko Epson
1504=Bixolon
0519=Star Micronics
0dd4=Custom Engineering
0404=NCR
067b=Prolific Technology
0403=Future Technology Devices International
1a86=QinHeng Electronics
10c4=Silicon Labs

; label printers
[0a5f]
00d3=GC420t;2;0
00d1=GC420d;2;0
0080=GK420d;2;0
0081=GK420t;2;0
011c=ZD410;2;0
0009=LP2844;2;0

[154f]
1000=Elgin, L42;2;0

[20d1]
0700=Elgin, L42 PRO;2;0

[2d84]
7589=Elgin, L42DT;2;0
71a9=Tanca, TLP-300;2;0
b806=DT-108B;2;0

[0b0b]
106e=E-4304;2;0

; receipt printers
[04b8]
0202=UB-U05 (TM-T70 / TM-T88IV);1;0
0e03=TM-T20;1;0
0e31=TM-L100;1;0

[1504]
001f=SRP-350II;1;0

[0519]
0003=TSP100ECO / TSP100II;1;0

[0dd4]
0237=K80;1;0

[0404]
0311=7167 Receipt/Slip;1;0
0312=7197 Receipt;1;0

; USB serial converters
[067b]
2303=PL2303 Serial;0;0

[0403]
6001=FT232 Serial (UART);0;0

[1a86]
7523=CH340 Serial;0;0

[10c4]
ea60=CP210x UART Bridge;0;0
)";

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
        if (secao == "vendors") fabricantes_.emplace(chave, valor);
        else if (Hexa(secao)) produtos_[secao.size() < 4 ? std::string(4 - secao.size(), '0') + secao : secao].emplace(chave, valor);
    }
}

void TBancoUSBID::CarregarPadrao() {
    const std::string arquivo = DiretorioSistema() + "CdbUSBID.ini";
    struct stat st{};
    if (::stat(arquivo.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
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
