// etiquetas-cli fila: the label queue of the database named by PATH MERKOR,
// listed or changed as the queue window changes it.
#include <iostream>

#include "Comandos.h"
#include "common/CampoTabulado.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"
#include "data/Tabela.h"
#include "data/udtmAplicativo.h"
#include "labels/FilaOperacoes.h"

namespace {

void Listar(TTabela& fila) {
    fila.SetOrdenacao("NOME");
    fila.SetColacao("NOME", "WIN_PTBR");  // as the queue window and the print order it
    fila.Open();
    for (fila.First(); !fila.Eof(); fila.Next()) {
        const char* separador = "";
        for (const char* coluna : {"CODIGO", "BARRAS", "NOME", "VLR_VEN", "ESTOQUE", "QUANTIDADE"}) {
            std::cout << separador << CampoTabulado(fila.FieldByName(coluna).AsString());
            separador = "\t";
        }
        std::cout << "\n";
    }
}

int Adicionar(TResultadoAdicao r, const std::string& texto) {
    switch (r) {
        case TResultadoAdicao::Incluida: std::cout << "Incluída na fila com 1 etiqueta: " << texto << "\n"; return 0;
        case TResultadoAdicao::NaoLocalizada: throw Exception(std::string(kMercadoriaNaoLocalizada) + ": " + texto);
        case TResultadoAdicao::NaoGravada: return 1;  // dtmCommit has said why
    }
    return 1;
}

// The counts reach the database only with a commit; a failed one has been told.
int Confirmar(TdtmAplicativo& dtm) { return dtm.dtmCommit() ? 0 : 1; }

int Fila(const std::vector<std::string>& argumentos) {
    TOpcoesCli op(argumentos);
    const bool barras = op.Tem("barras"), referencia = op.Tem("referencia"), quantidade = op.Tem("quantidade");
    const bool estoque = op.Flag("estoque"), grades = op.Flag("grades");
    const std::string texto = barras ? op.Valor("barras") : referencia ? op.Valor("referencia") : "";
    const std::string codigo = quantidade ? op.Valor("quantidade") : "";
    op.VerificarDesconhecidas();

    std::vector<std::string> resto = op.Posicionais();
    if (barras + referencia + estoque + quantidade > 1)
        throw Exception("Use só uma de --barras, --referencia, --estoque e --quantidade.");
    if (grades && !barras) throw Exception("--grades só vale com --barras.");
    if ((barras || referencia) && Trim(texto).empty())
        throw Exception(barras ? "Informe o código de barras: --barras CODIGO"
                               : "Informe a referência: --referencia REF");
    if (quantidade && (codigo.empty() || resto.size() != 1))
        throw Exception("Uso: etiquetas-cli fila --quantidade CODIGO N");
    if (!quantidade && !resto.empty()) throw Exception("Argumento inesperado: " + resto.front());

    TdtmAplicativo dtm;
    ExigirPathMerkor(dtm);
    // As the "Etiquetas" action does first: the adds write SO_NOME.
    Ajusta_BD(dtm);
    TTabela fila(dtm.dtbAplicativo, dtm.ibtAplicativo, "EtiquetaRead");
    TFilaOperacoes operacoes(dtm, fila);

    if (barras) {
        operacoes.ProcessarGrades = grades;
        return Adicionar(operacoes.AdicionarPorBarras(texto), texto);
    }
    if (referencia) return Adicionar(operacoes.AdicionarPorReferencia(texto), texto);
    if (estoque) {
        const TImportacaoEstoque importacao = operacoes.ImportarQuantidadeEstoque();
        int r = Confirmar(dtm);
        if (r == 0) std::cout << TextoImportacaoEstoque(importacao) << "\n";
        return r;
    }
    if (quantidade) {
        const int64_t cod = StrToInt(codigo);
        const Decimal n = Decimal::DeTexto(Trim(resto.front()));
        if (n < Decimal(0)) throw Exception("A quantidade de etiquetas não pode ser negativa: " + resto.front());
        size_t linhas = operacoes.DefinirQuantidade(cod, n);
        if (linhas == 0) throw Exception("O código " + codigo + " não está na fila de etiquetas.");
        int r = Confirmar(dtm);
        if (r == 0)
            std::cout << "Quantidade " << n.ParaTexto() << " em " << linhas << " linha(s) do código " << cod << ".\n";
        return r;
    }
    Listar(fila);
    return 0;
}

const TRegistroComando registro({
    "fila",
    "[--barras CODIGO [--grades] | --referencia REF | --estoque | --quantidade CODIGO N]",
    "lista a fila de etiquetas (CODIGO, BARRAS, NOME, VLR_VEN, ESTOQUE, QUANTIDADE, por NOME) ou a altera como a "
    "janela",
    Fila,
});

}  // namespace
