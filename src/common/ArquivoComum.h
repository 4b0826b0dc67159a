#pragma once
// Reading a whole file that the operator names (a design, a list of codes, the
// configuration). Only a plain file is read: a pipe without a writer would
// block the program, a device such as /dev/zero never ends, a folder is a
// mistake. A file larger than its kind ever is, or one that grows past that
// while it is read, is refused instead of filling the memory.
#include <string>
#include <string_view>
#include <utility>

#include "common/Excecoes.h"

class EArquivoComum : public Exception {
public:
    enum class TMotivo { NaoExiste, Pasta, NaoComum, GrandeDemais, Sistema };
    EArquivoComum(TMotivo motivo, std::string texto) : Exception(std::move(texto)), motivo_(motivo) {}
    const char* ClassName() const override { return "EArquivoComum"; }
    TMotivo Motivo() const { return motivo_; }

private:
    TMotivo motivo_;
};

// The bytes of `caminho` (a symbolic link is followed to what it names).
// Raises EArquivoComum whose message is the reason alone, without the path
// (the caller says which file): "o caminho é uma pasta, não um arquivo",
// "não é um arquivo comum (é um dispositivo, um pipe ou um soquete)",
// "arquivo grande demais para " + `tipo` + " (N bytes)", or the system's.
std::string LerArquivoComum(const std::string& caminho, size_t maximo, std::string_view tipo);

// At most `maximo` bytes of a stream that is not a file (standard input):
// raises EArquivoComum (GrandeDemais) past that.
std::string LerEntradaLimitada(int fd, size_t maximo, std::string_view tipo);
