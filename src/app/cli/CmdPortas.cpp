// etiquetas-cli portas: what this station can print to, with the port name to
// put in the configuration. A technician's first look when a printer is silent.
#include <iostream>

#include "Comandos.h"
#include "common/Excecoes.h"
#include "device/PortasDisponiveis.h"

namespace {

const char* NomeClasse(int classe) {
    switch (classe) {
        case 0: return "outro dispositivo";
        case 1: return "impressora de cupom, não serve para etiquetas";
        case 2: return "impressora de etiquetas";
        case 3: return "equipamento fiscal, não serve para etiquetas";
        default: return "não identificado";
    }
}

void Linha(const std::string& porta, const std::string& resto) {
    std::cout << "  " << porta;
    if (!resto.empty()) std::cout << std::string(porta.size() < 28 ? 28 - porta.size() : 1, ' ') << resto;
    std::cout << "\n";
}

int Portas(const std::vector<std::string>& argumentos) {
    TOpcoesCli opcoes(argumentos);
    const std::string sys = opcoes.Valor("sys", "/sys");
    const std::string dev = opcoes.Valor("dev", "/dev");
    opcoes.VerificarDesconhecidas();
    if (!opcoes.Posicionais().empty()) throw Exception("portas não recebe argumentos.");

    const TListaPortas lista = PortasDisponiveis(sys, dev);
    auto secao = [&](TPortaDisponivel::TTipo tipo, const char* titulo, const char* vazio) {
        std::cout << titulo << "\n";
        bool alguma = false;
        for (const auto& p : lista.Portas) {
            if (p.Tipo != tipo) continue;
            alguma = true;
            std::string resto;
            switch (tipo) {
                case TPortaDisponivel::tpSpooler:
                    resto = (p.Padrao ? "(padrão; também \"*\") " : "") + p.Descricao;
                    if (!p.Caminho.empty()) resto += (p.Descricao.empty() ? "" : " - ") + p.Caminho;
                    break;
                case TPortaDisponivel::tpUSB:
                    // A serial adapter's port is its tty: then the description tells what it is.
                    resto = (p.Porta == p.Caminho ? p.Descricao : p.Caminho) + " - " + NomeClasse(p.Classe);
                    break;
                default: resto = (p.Porta != p.Caminho ? p.Caminho + " - " : std::string()) + p.Descricao; break;
            }
            Linha(p.Porta, resto);
        }
        if (!alguma) std::cout << "  " << vazio << "\n";
        std::cout << "\n";
    };
    secao(TPortaDisponivel::tpSpooler, "Impressoras do sistema (CUPS):",
          lista.SpoolerResponde ? "nenhuma instalada" : "nenhuma: o serviço de impressão (CUPS) não respondeu");
    secao(TPortaDisponivel::tpUSB, "Impressoras USB:", "nenhuma encontrada");
    secao(TPortaDisponivel::tpSerial, "Portas seriais:", "nenhuma encontrada");
    secao(TPortaDisponivel::tpParalela, "Portas paralelas:", "nenhuma encontrada");
    std::cout << "Também: TCP:endereço[:porta] (porta 9100 quando omitida), um arquivo, ou /dev/usb/lpN.\n";
    return 0;
}

TRegistroComando registro({"portas", "[--sys PASTA] [--dev PASTA]",
                           "lista as impressoras e portas desta estação e o nome de porta de cada uma", Portas});

}  // namespace
