#pragma once
// Windows-1252 is the code page of the shop database, of configEtq.ini and of
// the label printers. The program itself holds UTF-8; these convert at the edges.
//
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 code points of the same value, as Windows does, so every one of
// the 256 byte values survives a round trip.
#include <string>
#include <string_view>

namespace Win1252 {

// Windows-1252 bytes to UTF-8. Never fails.
std::string ParaUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. A code point the code page cannot hold, or a
// malformed UTF-8 sequence, becomes `substituto`.
std::string DeUtf8(std::string_view utf8, char substituto = '?');

// True when the code page holds the code point (DeUtf8 keeps it).
bool Representavel(char32_t cp);

// The Unicode code point of one Windows-1252 byte.
char32_t CodePoint(unsigned char byte);

}  // namespace Win1252

namespace Utf8 {

// Code points of a UTF-8 text; a malformed byte stands for itself (as Latin-1).
std::u32string Decodificar(std::string_view utf8);
std::string Codificar(std::u32string_view texto);
void Anexar(std::string& destino, char32_t cp);

// Reads one code point at i and moves i past it; false (i unchanged) on a malformed sequence.
bool Proximo(std::string_view utf8, size_t& i, char32_t& cp);

// Upper and lower case of the letters Portuguese uses (ASCII and Latin-1).
std::string Maiusculas(std::string_view utf8);
std::string Minusculas(std::string_view utf8);

}  // namespace Utf8
