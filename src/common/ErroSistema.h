#pragma once
// Portuguese texts for the system errors (errno, name look-up) that reach the
// operator. Every message built from a system error takes its text from here,
// so no English text of the C library shows up in a box.
#include <exception>
#include <string>

std::string MensagemErroSistema(int erro);
// A getaddrinfo() result code.
std::string MensagemErroEndereco(int erroGai);
// The text to show for any failure: our own exceptions as they are, the
// standard library's ones (memory, files) in Portuguese.
std::string MensagemDaFalha(const std::exception& falha);
// errno as the 8 hexadecimal digits the USB messages carry.
std::string CodigoErroHex(int erro);
