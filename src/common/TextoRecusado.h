#pragma once
// How a refusal names the text it refuses: the first character the shop
// database cannot keep, and a short quotation of a long value.
#include <cstddef>
#include <string>
#include <string_view>

namespace Win1252 {

// Why a UTF-8 text cannot be stored in the shop database as it is, naming the
// first character at fault; "" when it can. "tem um byte que não forma texto
// (byte 0xE7)", "tem um caractere de controle (byte 0x00)" or "tem o caractere
// "…" (U+1F600), que o banco de dados da loja não guarda". `aceitaTab`: a tab
// is not a fault (it separates words in a file line).
std::string ProblemaNoTexto(std::string_view utf8, bool aceitaTab = false);

}  // namespace Win1252

// A text a message quotes, between double quotes: a long one (a whole file
// line, a pasted page) only by its first `quantos` characters, then "…" and
// its length, so a refusal never echoes megabytes.
std::string Citacao(std::string_view texto, size_t quantos = 40);
