#pragma once
// The label queue window offscreen, over the queue test shop, printing model
// 11 in PPLA to a file port. Failures that reach the handler are collected.
#include <locale.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FilaBanco.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "data/udtmAplicativo.h"
#include "labels/gui/MrgEtiquetas.h"

class JanelaFilaTeste : public FilaBanco {
protected:
    // `pausaMs`: the pause after each print job, when not the window's own.
    explicit JanelaFilaTeste(std::optional<int> pausaMs = std::nullopt) : pausaMs_(pausaMs) {}

    void SetUp() override {
        setenv("LC_ALL", "C", 1);  // the Brazilian forms: "," and "."
        FilaBanco::SetUp();
        saida = pasta_ + "/saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida}, {"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas"}});
        DefinirTratadorFalhas([this](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    }
    void TearDown() override {
        janela.reset();
        dtm.reset();
        DefinirTratadorFalhas(nullptr);
        FilaBanco::TearDown();
        unsetenv("LC_ALL");
    }
    // Created and shown as the goods window does; the first activation opens the queue.
    void Abrir() {
        dtm = std::make_unique<TdtmAplicativo>();
        janela = std::make_unique<TmrgEtiquetas>(*dtm);
        if (pausaMs_) janela->Impressao().PausaMs = *pausaMs_;
        // The file stands for a printer here: paced as one, so a print can be cancelled midway.
        janela->Impressao().PausarEmArquivoComum = true;
        janela->show();
    }

    std::string saida;
    std::vector<std::string> falhas;
    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TmrgEtiquetas> janela;

private:
    std::optional<int> pausaMs_;
};
