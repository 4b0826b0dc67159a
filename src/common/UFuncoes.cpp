#include "UFuncoes.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <thread>

#include "Excecoes.h"
#include "TextoRecusado.h"
#include "Win1252.h"

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
int64_t DiasDesde1970(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilDeDias(int64_t z, int& ano, int& mes, int& dia) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    dia = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    ano = static_cast<int>(y + (mes <= 2));
}

constexpr int64_t kDias1899a1970 = 25569;  // 30/12/1899 .. 01/01/1970

int DiasNoMes(int ano, int mes) {
    static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    return mes == 2 && bissexto ? 29 : dias[mes - 1];
}

std::string g_diretorio;

}  // namespace

TDateTime EncodeDate(int ano, int mes, int dia) {
    return static_cast<double>(DiasDesde1970(ano, mes, dia) + kDias1899a1970);
}

TDateTime EncodeDateTime(int ano, int mes, int dia, int hora, int minuto, int segundo, int ms) {
    return EncodeDate(ano, mes, dia) + (((hora * 60.0 + minuto) * 60.0 + segundo) * 1000.0 + ms) / 86400000.0;
}

void DecodeDate(TDateTime d, int& ano, int& mes, int& dia) {
    CivilDeDias(static_cast<int64_t>(std::floor(d)) - kDias1899a1970, ano, mes, dia);
}

void DecodeTime(TDateTime d, int& hora, int& minuto, int& segundo, int& ms) {
    // Round to the millisecond first, so 0.5 days is 12:00:00.000 and not 11:59:59.999.
    int64_t total = std::llround((d - std::floor(d)) * 86400000.0);
    if (total >= 86400000) total = 86399999;
    ms = static_cast<int>(total % 1000);
    total /= 1000;
    segundo = static_cast<int>(total % 60);
    total /= 60;
    minuto = static_cast<int>(total % 60);
    hora = static_cast<int>(total / 60);
}

TDateTime Agora() {
    using namespace std::chrono;
    auto agora = system_clock::now();
    std::time_t t = system_clock::to_time_t(agora);
    std::tm local{};
    localtime_r(&t, &local);
    int ms = static_cast<int>(duration_cast<milliseconds>(agora.time_since_epoch()).count() % 1000);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec, ms);
}

TDateTime Hoje() { return std::floor(Agora()); }

int ParteData(std::string_view parte, TDateTime data) {
    int ano, mes, dia;
    DecodeDate(data, ano, mes, dia);
    std::string p = Maiusculas(parte);
    if (p == "MES") return mes;
    if (p == "ANO") return ano;
    return dia;
}

std::string ZerosEsquerda(int64_t numero, int largura) {
    if (largura <= 0) return "";
    std::string s(static_cast<size_t>(largura), '0');
    s += std::to_string(numero);
    return s.substr(s.size() - static_cast<size_t>(largura));
}

std::string FormataData(std::string_view padrao, TDateTime data) {
    const std::string p = Maiusculas(padrao);
    const std::string dd = ZerosEsquerda(ParteData("Dia", data), 2);
    const std::string mm = ZerosEsquerda(ParteData("Mes", data), 2);
    std::string aaaa = ZerosEsquerda(ParteData("Ano", data), 4);
    const std::string aa = aaaa.substr(2, 2);
    int h, mi, s, ms;
    DecodeTime(data, h, mi, s, ms);
    const std::string hh = ZerosEsquerda(h, 2), nn = ZerosEsquerda(mi, 2), ss = ZerosEsquerda(s, 2);

    if (p == "HHMMSS") return hh + nn + ss;
    if (p == "HH:MM:SS") return hh + ":" + nn + ":" + ss;
    if (p == "HH:MM") return hh + ":" + nn;
    if (p == "HHMM") return hh + nn;
    if (p == "MM:SS") return nn + ":" + ss;
    if (p == "AAAAMMDD") return aaaa + mm + dd;
    if (p == "DDMMAAAA") return dd + mm + aaaa;
    if (p == "DDMM") return dd + mm;
    if (p == "AAMM") return aa + mm;
    if (p == "AAAAMM") return aaaa + mm;
    if (p == "AAAA") return aaaa;
    if (p == "MMDD") return mm + dd;
    if (p == "DDMMAA") return dd + mm + aa;
    if (p == "MMAAAA") return mm + aaaa;
    if (p == "DD/MM/AAAA") return dd + "/" + mm + "/" + aaaa;
    if (p == "DD-MM-AAAA") return dd + "-" + mm + "-" + aaaa;
    if (p == "DD/MM/AA") return dd + "/" + mm + "/" + aa;
    if (p == "MM/DD/AAAA") return mm + "/" + dd + "/" + aaaa;
    if (p == "AAAA-MM-DD") return aaaa + "-" + mm + "-" + dd;
    if (p == "AAAA-DD-MM") return aaaa + "-" + dd + "-" + mm;
    return "";
}

TDateTime StrToDate(std::string_view texto) {
    const std::string t = Trim(texto);
    auto falha = [&] { return EConvertError("'" + std::string(texto) + "' não é uma data válida"); };
    int partes[3] = {0, 0, 0};
    int digitos[3] = {0, 0, 0};
    int k = 0;
    for (char c : t) {
        if (c == '/') {
            if (++k > 2) throw falha();
        } else if (c >= '0' && c <= '9') {
            if (++digitos[k] > 4) throw falha();
            partes[k] = partes[k] * 10 + (c - '0');
        } else {
            throw falha();
        }
    }
    if (k != 2 || digitos[0] == 0 || digitos[1] == 0 || digitos[2] == 0 || digitos[0] > 2 || digitos[1] > 2)
        throw falha();
    int dia = partes[0], mes = partes[1], ano = partes[2];
    if (digitos[2] <= 2) ano += ano < 50 ? 2000 : 1900;
    if (mes < 1 || mes > 12 || dia < 1 || dia > DiasNoMes(ano, mes)) throw falha();
    return EncodeDate(ano, mes, dia);
}

std::string DataAmericana(std::string_view texto) { return FormataData("MM/DD/AAAA", StrToDate(texto)); }

int64_t ParteInteira(double x) {
    if (!std::isfinite(x) || std::fabs(x) >= 9.2e18)
        throw EConvertError("Valor fora da faixa de um inteiro: " + NumeroSQL(std::isfinite(x) ? x : 0));
    return static_cast<int64_t>(std::trunc(x));
}

double ArredondaDecimais(int casas, double x) {
    for (int i = 0; i < casas; ++i) x *= 10;
    x = std::nearbyint(x);  // default rounding mode: halves to even
    for (int i = 0; i < casas; ++i) x /= 10;
    return x;
}

double DivideSeguro(double a, double b) {
    if (a == 0 || b == 0) return 0;
    double r = a / b;
    return std::isfinite(r) ? r : 0;
}

TRespostaLista ConstaNaLista(const std::vector<std::string>& lista, std::string_view nome, std::string_view tipo) {
    const std::string alvo = Maiusculas(nome);
    int indice = -1;
    for (size_t i = 0; i < lista.size(); ++i) {
        std::string e = Maiusculas(lista[i]);
        if (e == alvo || e == "ALL") {
            indice = static_cast<int>(i);
            break;
        }
    }
    if (tipo == "Boolean") return indice >= 0;
    if (tipo == "Integer") return indice;
    return std::monostate{};
}

bool ConstaNaLista(const std::vector<std::string>& lista, std::string_view nome) {
    return std::get<bool>(ConstaNaLista(lista, nome, "Boolean"));
}

int IndiceNaLista(const std::vector<std::string>& lista, std::string_view nome) {
    return std::get<int>(ConstaNaLista(lista, nome, "Integer"));
}

std::string BarraFinal(std::string_view caminho) {
    std::string s(caminho);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string DiretorioSistema() {
    if (!g_diretorio.empty()) return g_diretorio;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return BarraFinal(std::filesystem::current_path().string());
    return BarraFinal(exe.parent_path().string());
}

void DefinirDiretorioSistema(const std::string& caminho) { g_diretorio = caminho.empty() ? "" : BarraFinal(caminho); }

bool EhComboBox(std::string_view nome) {
    std::string n = Maiusculas(nome);
    return n == "TDBLOOKUPCOMBOBOX" || n == "TDBCOMBOBOX" || n == "TCOMBOBOX";
}

bool EhMemo(std::string_view nome) {
    std::string n = Maiusculas(nome);
    return n == "TDBMEMO" || n == "TMEMO";
}

std::string TrocaCaractere(std::string_view texto, std::string_view achar, std::string_view troca) {
    const std::u32string a = Utf8::Decodificar(achar);
    if (a.size() != 1) return std::string(texto);  // only a single character can ever match
    std::string out;
    out.reserve(texto.size());
    size_t i = 0;
    while (i < texto.size()) {
        size_t ini = i;
        char32_t cp;
        if (!Utf8::Proximo(texto, i, cp)) {
            cp = static_cast<unsigned char>(texto[i]);
            ++i;
        }
        if (cp == a[0])
            out.append(troca);
        else
            out.append(texto.substr(ini, i - ini));
    }
    return out;
}

std::string SoNumeros(std::string_view texto) {
    std::string out;
    for (char c : texto)
        if (c >= '0' && c <= '9') out.push_back(c);
    return out;
}

std::string NumeroSQL(double x) {
    if (!std::isfinite(x)) throw EConvertError("Valor numérico inválido para SQL");
    char buf[400];
    // Shortest text that reads back as the same double, never in exponent form.
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

std::string AspasSql(std::string_view texto) {
    std::string r;
    r.reserve(texto.size() + 2);
    r += '\'';
    for (char c : texto) {
        r += c;
        if (c == '\'') r += c;
    }
    r += '\'';
    return r;
}

std::string Esquerda(std::string_view texto, size_t quantos) {
    size_t i = 0;
    for (size_t n = 0; n < quantos && i < texto.size(); ++n) {
        char32_t cp;
        // A malformed byte counts as one character, as Decodificar reads it.
        if (!Utf8::Proximo(texto, i, cp)) ++i;
    }
    return std::string(texto.substr(0, i));
}

size_t Comprimento(std::string_view texto) {
    size_t i = 0, n = 0;
    while (i < texto.size()) {
        char32_t cp;
        if (!Utf8::Proximo(texto, i, cp)) ++i;
        ++n;
    }
    return n;
}

std::string Citacao(std::string_view texto, size_t quantos) {
    const std::string inicio = Esquerda(texto, quantos);
    if (inicio.size() == texto.size()) return "\"" + inicio + "\"";
    return "\"" + inicio + "…\" (" + std::to_string(Comprimento(texto)) + " caracteres)";
}

std::string InverteTexto(std::string_view texto) {
    std::u32string t = Utf8::Decodificar(texto);
    return Utf8::Codificar(std::u32string(t.rbegin(), t.rend()));
}

std::string NomeComputador() {
    char buf[256] = {0};
    if (gethostname(buf, sizeof buf - 1) != 0) return "";
    // The name is read into a buffer of 16 characters: 15 and the terminator.
    std::string nome(buf);
    return nome.substr(0, 15);
}

void Pausa(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int StrToIntCampo(std::string_view texto, std::string_view campo) {
    try {
        return StrToInt(texto);
    } catch (const EConvertError& e) {
        throw EConvertError(std::string(campo) + ": " + e.Message());
    }
}

int StrToInt(std::string_view texto) {
    auto falha = [&] { return EConvertError("'" + std::string(texto) + "' não é um valor inteiro válido"); };
    size_t i = 0;
    while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == '-' || texto[i] == '+')) {
        negativo = texto[i] == '-';
        ++i;
    }
    if (i >= texto.size()) throw falha();
    int64_t v = 0;
    for (; i < texto.size(); ++i) {
        char c = texto[i];
        if (c < '0' || c > '9') throw falha();
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) throw falha();
    }
    if (negativo) v = -v;
    if (v > 2147483647LL) throw falha();
    return static_cast<int>(v);
}

std::string Trim(std::string_view t) {
    size_t a = 0, b = t.size();
    while (a < b && static_cast<unsigned char>(t[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(t[b - 1]) <= ' ') --b;
    return std::string(t.substr(a, b - a));
}

std::string Maiusculas(std::string_view t) {
    for (char c : t)
        if (static_cast<unsigned char>(c) >= 0x80) return Utf8::Maiusculas(t);
    std::string s(t);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c -= 32;
    return s;
}

std::string Minusculas(std::string_view t) {
    for (char c : t)
        if (static_cast<unsigned char>(c) >= 0x80) return Utf8::Minusculas(t);
    std::string s(t);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c += 32;
    return s;
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) { return Maiusculas(a) == Maiusculas(b); }

bool ComecaCom(std::string_view texto, std::string_view prefixo) {
    return texto.size() >= prefixo.size() && texto.substr(0, prefixo.size()) == prefixo;
}

bool ComecaComSemCaixa(std::string_view texto, std::string_view prefixo) {
    return texto.size() >= prefixo.size() && IguaisSemCaixa(texto.substr(0, prefixo.size()), prefixo);
}
