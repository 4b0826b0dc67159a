// etiquetas-cli demo-db: creates a demo shop database to try the program on.
// The same seed always gives the same database; an existing file is replaced
// only with --substituir.
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/demo/LojaDemo.h"

namespace {

int64_t Inteiro(const std::string& nome, const std::string& texto) {
    try {
        size_t usados = 0;
        long long v = std::stoll(texto, &usados);
        if (usados == texto.size()) return v;
    } catch (...) {}
    throw EConvertError("--" + nome + ": '" + texto + "' não é um valor inteiro válido");
}

int DemoDb(const std::vector<std::string>& argumentos) {
    TOpcoesCli opcoes(argumentos);
    demo::TOpcoesLojaDemo o;
    o.substituir = opcoes.Flag("substituir");
    if (opcoes.Tem("mercadorias")) {
        int64_t n = Inteiro("mercadorias", opcoes.Valor("mercadorias"));
        if (n < 1 || n > 10000000) throw Exception("--mercadorias: use um número de 1 a 10000000.");
        o.mercadorias = static_cast<int>(n);
    }
    if (opcoes.Tem("semente")) {
        int64_t s = Inteiro("semente", opcoes.Valor("semente"));
        if (s < 0) throw Exception("--semente: use um número inteiro não negativo.");
        o.semente = static_cast<uint64_t>(s);
    }
    opcoes.VerificarDesconhecidas();
    if (opcoes.Posicionais().size() != 1)
        throw Exception("Uso: etiquetas-cli demo-db CAMINHO [--mercadorias N] [--semente S] [--substituir]");
    o.caminho = opcoes.Posicionais()[0];
    if (o.mercadorias >= 20000)
        o.progresso = [](int feitas, int total) {
            std::cerr << "\rMercadorias: " << feitas << "/" << total << std::flush;
        };

    auto r = demo::CriarLojaDemo(o);
    if (o.progresso) std::cerr << "\n";
    std::cout << "Banco de demonstração criado: " << o.caminho << "\n"
              << "  mercadorias: " << r.mercadorias << " (" << r.mercadoriasComGrade << " com grade, " << r.grades
              << " itens de grade)\n"
              << "  departamentos: " << r.departamentos << ", fornecedores: " << r.fornecedores << "\n"
              << "  compras: " << r.compras << " notas, " << r.itensCompra << " itens\n"
              << "  FORMATMRG: " << r.linhasFormato << " linhas (cabeçalho 113, campos 13)\n"
              << "  datas de alteração de preços: " << demo::kPeriodoAlteracoesDemo << "\n";
    return 0;
}

TRegistroComando registro({"demo-db", "CAMINHO [--mercadorias N] [--semente S] [--substituir]",
                           "cria um banco de loja de demonstração (300 mercadorias e semente 1 por padrão)", DemoDb});

}  // namespace
