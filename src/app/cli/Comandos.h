#pragma once
// Subcommands of etiquetas-cli. Each Cmd*.cpp registers its own with a static
// TRegistroComando, so adding a command touches no other file.
#include <string>
#include <vector>

struct TComandoCli {
    std::string nome;
    std::string uso;     // one line: arguments and options
    std::string resumo;  // one line: what it does
    int (*executar)(const std::vector<std::string>& argumentos);
};

void RegistrarComando(TComandoCli comando);
const std::vector<TComandoCli>& ComandosRegistrados();

struct TRegistroComando {
    explicit TRegistroComando(TComandoCli comando) { RegistrarComando(std::move(comando)); }
};

class TdtmAplicativo;

// The commands that work on the shop's database: raises when configEtq.ini
// names none (PATH MERKOR empty or missing).
void ExigirPathMerkor(const TdtmAplicativo& dtm);

// Small option reader shared by the commands: "--nome valor" and "--flag".
class TOpcoesCli {
public:
    explicit TOpcoesCli(const std::vector<std::string>& argumentos);
    // Value of --nome, or the default; throws when the option has no value.
    std::string Valor(const std::string& nome, const std::string& padrao = "");
    bool Tem(const std::string& nome);
    bool Flag(const std::string& nome);  // present without value
    const std::vector<std::string>& Posicionais() const { return posicionais_; }
    // Raises when an option was given that no call asked for.
    void VerificarDesconhecidas() const;

private:
    std::vector<std::pair<std::string, std::string>> opcoes_;  // value empty for flags
    std::vector<bool> usadas_;
    std::vector<std::string> posicionais_;
};
