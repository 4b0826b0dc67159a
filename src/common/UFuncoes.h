#pragma once
// Small stateless helpers shared by every subsystem: dates by token patterns,
// zero padding, digit filtering, SQL literals, the program folder.
// Texts are UTF-8; "character" means a Unicode code point.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Days since 30/12/1899 (whole part) plus the fraction of the day, as the
// shop's Windows programs count dates.
using TDateTime = double;

TDateTime EncodeDate(int ano, int mes, int dia);
TDateTime EncodeDateTime(int ano, int mes, int dia, int hora, int minuto, int segundo, int ms = 0);
void DecodeDate(TDateTime d, int& ano, int& mes, int& dia);
void DecodeTime(TDateTime d, int& hora, int& minuto, int& segundo, int& ms);
TDateTime Agora();  // local time
TDateTime Hoje();   // local date, no time

int ParteData(std::string_view parte, TDateTime data);
std::string ZerosEsquerda(int64_t numero, int largura);
std::string FormataData(std::string_view padrao, TDateTime data);
// Local short date (DD/MM/AAAA) to 'MM/DD/AAAA'; EConvertError when not a date.
std::string DataAmericana(std::string_view texto);
// Local short date (DD/MM/AAAA) to a date; EConvertError when not a date.
TDateTime StrToDate(std::string_view texto);

int64_t ParteInteira(double x);
double ArredondaDecimais(int casas, double x);
double DivideSeguro(double dividendo, double divisor);

// Answer of ConstaNaLista: bool for "Boolean", int for "Integer", nothing for other kinds.
using TRespostaLista = std::variant<std::monostate, bool, int>;
TRespostaLista ConstaNaLista(const std::vector<std::string>& lista, std::string_view nome, std::string_view tipo);
// The two common uses of ConstaNaLista, typed.
bool ConstaNaLista(const std::vector<std::string>& lista, std::string_view nome);
int IndiceNaLista(const std::vector<std::string>& lista, std::string_view nome);

std::string BarraFinal(std::string_view caminho);
// Folder of the running program, ending in "/".
std::string DiretorioSistema();
// Tests and tools point the program folder elsewhere; empty restores the real one.
void DefinirDiretorioSistema(const std::string& caminho);

bool EhComboBox(std::string_view nomeClasse);
bool EhMemo(std::string_view nomeClasse);
std::string TrocaCaractere(std::string_view texto, std::string_view achar, std::string_view troca);
std::string SoNumeros(std::string_view texto);
std::string NumeroSQL(double x);
// An SQL text literal: between single quotes, inner quotes doubled (O'NEIL gives 'O''NEIL').
std::string AspasSql(std::string_view texto);
// The first `quantos` characters (code points, not bytes) of a UTF-8 text.
std::string Esquerda(std::string_view texto, size_t quantos);
// Length in characters (code points) of a UTF-8 text; a malformed byte counts as one.
size_t Comprimento(std::string_view texto);
std::string InverteTexto(std::string_view texto);
std::string NomeComputador();
void Pausa(int ms);

// Integer of a text, as the panels read their fields: leading blanks and a
// sign are allowed, anything else raises EConvertError("'texto' não é um valor inteiro válido").
int StrToInt(std::string_view texto);
// The same for a value the operator knows by a name: the failure says which,
// "campo: 'texto' não é um valor inteiro válido".
int StrToIntCampo(std::string_view texto, std::string_view campo);
std::string Trim(std::string_view texto);
std::string Maiusculas(std::string_view texto);
std::string Minusculas(std::string_view texto);
bool IguaisSemCaixa(std::string_view a, std::string_view b);
bool ComecaCom(std::string_view texto, std::string_view prefixo);
bool ComecaComSemCaixa(std::string_view texto, std::string_view prefixo);
