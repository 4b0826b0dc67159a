#include "app/PrimeiroUso.h"

#include <cstdlib>
#include <filesystem>

#include "app/ModelosEtiqueta.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/PastaExecucao.h"
#include "common/UFuncoes.h"
#include "data/demo/LojaDemo.h"

namespace {
constexpr int kModeloDemo = 11;  // PPLA, three columns: the demo's printer speaks PPLA
}

bool PrecisaDePrimeiroUso() { return LocalConfigEtq().doUsuario && Trim(LerConfig("PATH MERKOR")).empty(); }

std::string PastaDemoUsuario() {
    std::string base;
    if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v == '/')
        base = v;
    else
        base = BarraFinal(std::getenv("HOME") ? std::getenv("HOME") : "/") + ".local/share";
    return BarraFinal(base) + "etiquetas/demo/";
}

TLojaDemoUsuario CriarLojaDemoUsuario(int mercadorias) {
    TLojaDemoUsuario r;
    const std::string pasta = PastaDemoUsuario();
    if (const std::string erro = CriarPastasPrivadas(pasta); !erro.empty())
        throw Exception("Loja de demonstração: " + erro);
    r.banco = pasta + "loja.fdb";
    r.saida = pasta + "saida.prn";
    std::error_code ec;
    if (!std::filesystem::exists(r.banco, ec)) {
        demo::TOpcoesLojaDemo o;
        o.caminho = r.banco;
        o.mercadorias = mercadorias;
        demo::CriarLojaDemo(o);
        r.criada = true;
        r.mercadorias = mercadorias;
    }
    GravarConfig({{"PATH MERKOR", r.banco},
                  {"PATH REDE", "FILE:" + r.saida},
                  {"MODELO", "PPLA"},
                  {"TEMPERATURA", "10"},
                  {"MODELO PRINT", LinhasModelo()[kModeloDemo - 1]},
                  {"MODELO PRINT INDEX", std::to_string(kModeloDemo - 1)}});
    r.config = CaminhoConfigEtq();
    return r;
}

std::string TextoLojaDemoCriada(const TLojaDemoUsuario& loja) {
    std::string t = loja.criada ? "Loja de demonstração criada com " + std::to_string(loja.mercadorias) +
                                      " mercadorias em " + loja.banco + "."
                                : "A loja de demonstração que já existia em " + loja.banco + " foi mantida.";
    return t + "\r\nAs etiquetas vão para o arquivo " + loja.saida + " (modelo " +
           LinhasModelo()[kModeloDemo - 1].substr(0, 2) + ", PPLA), sem impressora." + "\r\nConfiguração gravada em " +
           loja.config + ".";
}
