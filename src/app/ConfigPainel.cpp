#include "app/ConfigPainel.h"

#include <algorithm>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"

namespace {

int Limita(int item, int itens) { return std::clamp(item, -1, itens - 1); }

// The index is written as "-1" when the operator typed a text that matches no
// line; that reads back as "no line chosen", keeping the typed text.
int IndiceModelo(const std::string& valor, int linhas) {
    if (valor.size() > 1 && valor[0] == '-' && SoNumeros(valor.substr(1)) == valor.substr(1)) return -1;
    int i = 0;
    try {
        i = StrToInt("0" + valor);
    } catch (const EConvertError&) {
        throw EConvertError("configEtq.ini, chave MODELO PRINT INDEX: '" + valor + "' não é um valor inteiro válido");
    }
    return i < linhas ? i : -1;
}

}  // namespace

TConfigPainel LerConfigPainel(const TConfigPainel& atual, const std::vector<std::string>& linhasModelo) {
    TConfigPainel c = atual;
    c.BD = LerConfig("PATH MERKOR");
    c.Rede = LerConfig("PATH REDE");
    const std::string modelo = LerConfig("MODELO");
    if (modelo == "PPLA" || modelo == "PPLB" || modelo == "ZPL" || modelo == "EPL2") c.Modelo = modelo;
    const std::string impressora = LerConfig("MODELO IMPRESSORA");
    c.Impressora = 0;
    if (impressora == "ELGIN") c.Impressora = 1;
    if (impressora == "ARGOX") c.Impressora = 0;
    c.ModeloPrint = LerConfig("MODELO PRINT");
    c.Temperatura = LerConfig("TEMPERATURA");
    c.Colunas = LerConfig("ADDCOLUNA");
    c.ModeloPrintIndice = IndiceModelo(LerConfig("MODELO PRINT INDEX"), static_cast<int>(linhasModelo.size()));
    if (c.ModeloPrintIndice >= 0) c.ModeloPrint = linhasModelo[c.ModeloPrintIndice];
    std::string ratio = LerConfig("edtRatio");
    if (ratio.empty()) ratio = "2";
    c.Ratio = Limita(StrToIntCampo(ratio, "configEtq.ini, chave edtRatio") - 1, kItensRatio);
    std::string tipo = LerConfig("edttipobar");
    if (tipo.empty()) tipo = "0";
    c.TipoBarra = Limita(StrToIntCampo(tipo, "configEtq.ini, chave edttipobar"), kItensTipoBarra);
    c.TokenVitrinex = LerConfig("TokenVitrinex");
    c.RegTrafego = LerConfig("RegTrafego");
    c.ImportVitrinex = LerConfig("ImportVitrinex") == "SIM";
    c.Grade = LerConfig("chkGrade") == "SIM";
    c.UltimaData = TextoMascaraData(LerConfig("data_inicio_at"));
    return c;
}

std::vector<std::pair<std::string, std::string>> ValoresConfigPainel(const TConfigPainel& c) {
    std::vector<std::pair<std::string, std::string>> v = {
        {"PATH MERKOR", c.BD},
        {"PATH REDE", c.Rede},
        {"TEMPERATURA", c.Temperatura},
        {"ADDCOLUNA", c.Colunas},
        {"MODELO PRINT", c.ModeloPrint},
        {"MODELO PRINT INDEX", std::to_string(c.ModeloPrintIndice)},
        {"TokenVitrinex", c.TokenVitrinex},
        {"RegTrafego", c.RegTrafego},
        {"edtRatio", std::to_string(c.Ratio + 1)},
        {"edttipobar", std::to_string(c.TipoBarra)},
        {"ImportVitrinex", c.ImportVitrinex ? "SIM" : "NAO"},
        {"chkGrade", c.Grade ? "SIM" : "NAO"},
    };
    if (c.Impressora == 0) v.emplace_back("MODELO IMPRESSORA", "ARGOX");
    if (c.Impressora == 1) v.emplace_back("MODELO IMPRESSORA", "ELGIN");
    if (!c.Modelo.empty()) v.emplace_back("MODELO", c.Modelo);
    v.emplace_back("data_inicio_at", c.UltimaData);
    return v;
}

void GravarConfigPainel(const TConfigPainel& c) { GravarConfig(ValoresConfigPainel(c)); }

std::string TextoMascaraData(const std::string& valor) {
    if (valor.empty()) return "  -  -    ";
    std::vector<std::string> partes(1);
    for (char ch : valor) {
        if (ch == '-')
            partes.emplace_back();
        else
            partes.back() += ch;
    }
    if (partes.size() != 3 || partes[0].size() > 2 || partes[1].size() > 2 || partes[2].size() > 4) return valor;
    // Reading trims the blanks before the day and after the year.
    return std::string(2 - partes[0].size(), ' ') + partes[0] + "-" + std::string(2 - partes[1].size(), ' ') +
           partes[1] + "-" + partes[2] + std::string(4 - partes[2].size(), ' ');
}
