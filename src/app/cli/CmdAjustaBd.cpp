// etiquetas-cli ajusta-bd: the schema adjustment of the "Etiquetas" action,
// on the database named by PATH MERKOR in the configEtq.ini beside the program.
// The adjustment itself is silent, so the command looks again afterwards and
// says what it found; a connection failure surfaces there with its message.
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "data/AjustesBanco.h"
#include "data/udtmAplicativo.h"

namespace {

int AjustaBd(const std::vector<std::string>& argumentos) {
    TOpcoesCli opcoes(argumentos);
    opcoes.VerificarDesconhecidas();
    if (!opcoes.Posicionais().empty()) throw Exception("ajusta-bd não recebe argumentos.");

    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    const std::string& banco = dtm.dtbAplicativo.Caminho();
    // Looked up first out of the silent routine, so a dead connection is told.
    if (TemColunaSoNome(dtm)) {
        std::cout << "ETIQUETAREAD já tem a coluna SO_NOME (" << banco << ").\n";
        return 0;
    }
    Ajusta_BD(dtm);
    if (!TemColunaSoNome(dtm)) {
        std::cerr << "A coluna SO_NOME não pôde ser criada em ETIQUETAREAD (" << banco << ").\n";
        return 1;
    }
    std::cout << "Coluna SO_NOME acrescentada a ETIQUETAREAD (" << banco << ").\n";
    return 0;
}

TRegistroComando registro({"ajusta-bd", "", "acrescenta ETIQUETAREAD.SO_NOME ao banco do PATH MERKOR, quando falta",
                           AjustaBd});

}  // namespace
