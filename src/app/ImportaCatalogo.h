#pragma once
// Import of the product base from the external catalogue service, through the
// loader program that lies beside this one. What passes between them: the
// request file ConfigImporta.ini, the loader's start, and the answer file
// ConfigImporta.ret, polled once a second for about five minutes.
#include <functional>
#include <string>

#include "common/UFuncoes.h"

struct TPedidoImportacao {
    std::string PathBanco;   // edtBD
    std::string Token;       // edtTokenVitrinex
    std::string RegTrafego;  // edtRegTrafego
    std::string DataInicio;  // edtUltimaData, "DD-MM-AAAA" or the empty mask
};

// The clock, the pause and the start of the loader, replaceable by tests.
struct TAmbienteImportacao {
    std::function<TDateTime()> Hoje = [] { return ::Hoje(); };
    std::function<void(int ms)> Pausa = [](int ms) { ::Pausa(ms); };
    // Starts the program and returns at once; a program that cannot start is ignored.
    std::function<void(const std::string& programa)> IniciarCarregador;
};

inline constexpr const char* kArquivoPedido = "ConfigImporta.ini";
inline constexpr const char* kArquivoRetorno = "ConfigImporta.ret";
inline constexpr const char* kCarregador = "Vitrinex_Load_base.exe";
inline constexpr int kMaxVerificacoes = 300;  // the loop runs while the counter is at most this

// The five request lines, CR LF after each (Windows-1252 bytes).
std::string TextoPedido(const TPedidoImportacao& p);

// Runs one import in `dir` (ending in "/"), showing the waiting window of
// InterfaceUsuario() meanwhile. Returns true when the loader answered.
bool ImportarCatalogo(const std::string& dir, const TPedidoImportacao& pedido, const TAmbienteImportacao& amb);
