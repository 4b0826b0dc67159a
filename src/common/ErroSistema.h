#pragma once
// Portuguese texts for the system errors (errno, name look-up) that reach the
// operator. Every message built from a system error takes its text from here,
// so no English text of the C library shows up in a box.
#include <string>

std::string MensagemErroSistema(int erro);
// A getaddrinfo() result code.
std::string MensagemErroEndereco(int erroGai);
// errno as the 8 hexadecimal digits the USB messages carry.
std::string CodigoErroHex(int erro);
