// etiquetas-cli teste: the configuration panel's printer test, without the window.
#include <iostream>
#include <optional>

#include "Comandos.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "etq/TesteImpressora.h"

namespace {

std::optional<TCdbETQModelo> ModeloDoTexto(const std::string& texto) {
    if (texto == "PPLA") return etqPpla;
    if (texto == "PPLB") return etqPplb;
    if (texto == "ZPL") return etqZPLII;
    if (texto == "EPL2") return etqEpl2;
    return std::nullopt;
}

int Executar(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    TParametrosTeste p;

    p.Porta = op.Tem("porta") ? op.Valor("porta") : LerConfig("PATH REDE");
    if (op.Tem("linguagem")) {
        const std::string l = op.Valor("linguagem");
        p.Modelo = ModeloDoTexto(Maiusculas(Trim(l)));
        if (!p.Modelo) throw Exception("Linguagem inválida: " + l + " (use PPLA, PPLB, ZPL ou EPL2)");
    } else {
        // As the panel loads it: an unknown value leaves pplA, checked at design.
        p.Modelo = ModeloDoTexto(LerConfig("MODELO")).value_or(etqPpla);
    }
    if (op.Tem("temperatura")) {
        p.Temperatura = op.Valor("temperatura");
    } else {
        // An unset heat prints at 10, as the label print does with the same file.
        p.Temperatura = LerConfig("TEMPERATURA");
        if (Trim(p.Temperatura).empty()) p.Temperatura = "10";
    }
    p.Linha = op.Valor("linha", p.Linha);
    p.Coluna = op.Valor("coluna", p.Coluna);
    p.Altura = op.Valor("altura", p.Altura);
    p.QtdColunas = op.Valor("colunas", p.QtdColunas);
    p.EntreColunas = op.Valor("entre-colunas", p.EntreColunas);
    p.Codigo = op.Valor("codigo", p.Codigo);
    p.TipoBarras = op.Valor("tipo", p.TipoBarras);
    if (op.Flag("barras")) p.ImprimirComoTexto = false;
    if (op.Flag("sem-digitos")) p.ImprimirNumeroBarras = false;
    op.VerificarDesconhecidas();
    if (!op.Posicionais().empty()) throw Exception("Argumento inesperado: " + op.Posicionais().front());

    TCdbETQ etq;
    ImprimirTeste(etq, p);
    std::cout << "Etiqueta de teste enviada para " << etq.Porta() << " (" << etq.ModeloStr() << ")\n";
    return 0;
}

const TRegistroComando registro({
    "teste",
    "[--porta P] [--linguagem PPLA|PPLB|ZPL|EPL2] [--temperatura N] [--linha N] [--coluna N] [--altura N] "
    "[--colunas N] [--entre-colunas N] [--codigo TEXTO] [--tipo L] [--barras] [--sem-digitos]",
    "imprime a etiqueta de teste da impressora (porta, linguagem e temperatura padrão do configEtq.ini)",
    Executar,
});

}  // namespace
