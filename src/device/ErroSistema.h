#pragma once
// Portuguese texts for the errno values a port meets; anything else keeps the
// system's own text with its number.
#include <string>

std::string MensagemErroSistema(int erro);
// errno as the 8 hexadecimal digits the USB messages carry.
std::string CodigoErroHex(int erro);
