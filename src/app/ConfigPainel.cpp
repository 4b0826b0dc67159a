#include "app/ConfigPainel.h"

#include <algorithm>

#include "app/ModelosEtiqueta.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "labels/TotalFila.h"

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

bool DataVazia(const std::string& texto) { return SoNumeros(texto).empty(); }

void ValidarTextoLoja(const std::string& valor, size_t maximo, const std::string& campo) {
    const std::u32string letras = Utf8::Decodificar(valor);
    if (letras.size() > maximo)
        throw Exception(campo + ": no máximo " + std::to_string(maximo) + " caracteres (tem " +
                        std::to_string(letras.size()) + "). Nada foi gravado.");
    for (char32_t cp : letras)
        if (!Win1252::Representavel(cp) || cp < 0x20)
            throw Exception(campo + ": o caractere \"" + Utf8::Codificar(std::u32string(1, cp)) +
                            "\" não pode ser gravado no configEtq.ini. Nada foi gravado.");
}

}  // namespace

void ValidarConfigPainel(const TConfigPainel& c) {
    ValidarTextoLoja(Trim(c.NomeLoja), kMaxNomeLoja, "Nome da loja");
    ValidarTextoLoja(Trim(c.TextoLoja), kMaxTextoLoja, "Texto da loja");
    // The same rule the print reads the key by.
    if (const std::string erro = ValidarLimiteConfirmacao(c.LimiteConfirmacao); !erro.empty())
        throw Exception(erro + " Nada foi gravado.");
    if (!DataVazia(c.UltimaData)) {
        // DD-MM-AAAA with every digit typed, and a day the calendar has.
        const std::string& d = c.UltimaData;
        bool ok = d.size() == 10 && d[2] == '-' && d[5] == '-' && SoNumeros(d).size() == 8;
        if (ok) {
            const int dia = StrToInt(d.substr(0, 2)), mes = StrToInt(d.substr(3, 2)), ano = StrToInt(d.substr(6, 4));
            static const int dias[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
            ok =
                ano >= 1900 && mes >= 1 && mes <= 12 && dia >= 1 && dia <= (mes == 2 && !bissexto ? 28 : dias[mes - 1]);
        }
        if (!ok)
            throw Exception("Ultima data importada do vitrinex: '" + d +
                            "' não é uma data DD-MM-AAAA; apague-a ou complete-a. Nada foi gravado.");
    }
}

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
    const std::string indice = LerConfig("MODELO PRINT INDEX");
    c.ModeloPrintIndice = IndiceModelo(indice, static_cast<int>(linhasModelo.size()));
    // No index (a file written by hand) or "-1", but the text names a line
    // of the list (today's or an earlier version's): that line.
    if ((indice.empty() || c.ModeloPrintIndice < 0) && !c.ModeloPrint.empty()) {
        const int gravada = IndiceLinhaGravada(c.ModeloPrint);
        if (gravada >= 0 && gravada < static_cast<int>(linhasModelo.size())) c.ModeloPrintIndice = gravada;
    }
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
    c.NomeLoja = LerConfig("NOME LOJA");
    c.TextoLoja = LerConfig("TEXTO LOJA");
    c.LimiteConfirmacao = LerConfig("LIMITE CONFIRMACAO");
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
    v.emplace_back("data_inicio_at", DataVazia(c.UltimaData) ? std::string() : c.UltimaData);
    v.emplace_back("NOME LOJA", Trim(c.NomeLoja));
    v.emplace_back("TEXTO LOJA", Trim(c.TextoLoja));
    v.emplace_back("LIMITE CONFIRMACAO", Trim(c.LimiteConfirmacao));
    return v;
}

void GravarTextosLoja(const std::string& nome, const std::string& texto) {
    ValidarTextoLoja(Trim(nome), kMaxNomeLoja, "Nome da loja");
    ValidarTextoLoja(Trim(texto), kMaxTextoLoja, "Texto da loja");
    std::vector<std::pair<std::string, std::string>> v;
    if (!Trim(nome).empty()) v.emplace_back("NOME LOJA", Trim(nome));
    if (!Trim(texto).empty()) v.emplace_back("TEXTO LOJA", Trim(texto));
    if (!v.empty()) GravarConfig(v);
}

void GravarConfigPainel(const TConfigPainel& c) {
    ValidarConfigPainel(c);
    GravarConfig(ValoresConfigPainel(c));
}

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
