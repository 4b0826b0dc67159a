#pragma once
// etiquetas-cli run as a script runs it: through the shell, its standard
// output and error captured in files of its folder, with its exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "suporte/Suporte.h"

struct TResultadoCli {
    int codigo;  // exit status; -1 when ended by a signal
    std::string saida, erro;
};

// What would give a painting command a screen.
inline const std::vector<std::string> kSemTela = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

struct TProgramaCli {
    std::string programa;
    std::string pasta;                                                // stdin, stdout and stderr of each run land here
    std::vector<std::string> semVariaveis{};                          // taken out of the environment of each run
    std::vector<std::pair<std::string, std::string>> comVariaveis{};  // set for each run

    // A copy of the built program in `pasta`: it reads the configEtq.ini of its own folder.
    static TProgramaCli CopiaEm(const std::string& pasta, const std::string& original) {
        const std::string copia = (std::filesystem::path(pasta) / "etiquetas-cli").string();
        std::filesystem::copy_file(original, copia);
        return {copia, pasta};
    }

    // Standard input is the test's own.
    TResultadoCli Rodar(const std::string& argumentos) const { return Executar(argumentos, ""); }
    // Standard input is `entrada`.
    TResultadoCli Rodar(const std::string& argumentos, const std::string& entrada) const {
        Gravar(Arquivo("stdin"), entrada);
        return Executar(argumentos, " <'" + Arquivo("stdin") + "'");
    }

    // As a service, cron or CI runs it: no login session, so no XDG_RUNTIME_DIR;
    // `temp` is its temporary folder.
    void SemSessao(const std::string& temp) {
        semVariaveis.push_back("XDG_RUNTIME_DIR");
        comVariaveis.emplace_back("TMPDIR", temp);
    }

private:
    std::string Arquivo(const char* nome) const { return (std::filesystem::path(pasta) / nome).string(); }
    TResultadoCli Executar(const std::string& argumentos, const std::string& entrada) const {
        std::string cmd;
        if (!semVariaveis.empty() || !comVariaveis.empty()) {
            cmd = "env";
            for (const std::string& v : semVariaveis) cmd += " -u " + v;
            for (const auto& [nome, valor] : comVariaveis) cmd += " " + nome + "='" + valor + "'";
            cmd += " ";
        }
        cmd += "'" + programa + "' " + argumentos + entrada + " >'" + Arquivo("stdout") + "' 2>'" + Arquivo("stderr") +
               "'";
        const int r = std::system(cmd.c_str());
        return {WIFEXITED(r) ? WEXITSTATUS(r) : -1, LerTudo(Arquivo("stdout")), LerTudo(Arquivo("stderr"))};
    }
};
