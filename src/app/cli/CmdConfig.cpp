// etiquetas-cli config: which configEtq.ini this copy of the program uses and
// what it holds. The first question when a station prints somewhere else.
#include <unistd.h>

#include <iostream>

#include "Comandos.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"

namespace {

int Config(const std::vector<std::string>& argumentos) {
    TOpcoesCli opcoes(argumentos);
    opcoes.VerificarDesconhecidas();
    if (!opcoes.Posicionais().empty()) throw Exception("config não recebe argumentos.");

    const TLocalConfig local = LocalConfigEtq();
    const TArquivoIni ini = ArquivoConfigEtq();
    const bool existe = ::access(local.arquivo.c_str(), F_OK) == 0;
    std::cout << "Arquivo de configuração: " << local.arquivo << "\n";
    if (!existe && !local.padrao.empty() && ::access(local.padrao.c_str(), F_OK) == 0)
        std::cout << "Ainda não gravado; valem os padrões da loja em " << local.padrao
                  << " (copiados para o arquivo acima na primeira gravação).\n";
    else if (!existe)
        std::cout << "Ainda não existe; será criado na primeira gravação.\n";

    const auto chaves = ini.Chaves("CONF");
    std::cout << "\n[CONF]" << (chaves.empty() ? " (nenhuma chave)" : "") << "\n";
    for (const auto& [chave, valor] : chaves)
        std::cout << chave << "=" << (ChaveSecreta(chave) && !valor.empty() ? "********" : valor) << "\n";
    return 0;
}

const TRegistroComando registro({
    "config",
    "",
    "mostra qual configEtq.ini está em uso e as suas chaves (senhas mascaradas)",
    Config,
});

}  // namespace
