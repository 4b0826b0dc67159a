// etiquetas-cli run as a script runs it: a copy of the program beside the
// configEtq.ini of the test shop, with no display, one command per fixture.
#pragma once

#include <string>
#include <utility>

#include "FilaTeste.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"

// The set-up connection is closed before each run, so the program, another
// process, can open the shop too.
class CliNaFila : public FilaTeste {
protected:
    explicit CliNaFila(std::string comando) : comando_(std::move(comando)) {}
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        cli_.semVariaveis = kSemTela;
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar(comando_ + " " + argumentos);
    }
    TProgramaCli cli_;

private:
    std::string comando_;
};
