#pragma once
// A fresh shop database per test, made from the built-in schema, and a
// configEtq.ini pointing PATH MERKOR at it. The person at the screen is a
// recorder, so tests see every message and waiting-window call.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/InterfaceUsuario.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"

class TInterfaceGravada : public TInterfaceUsuario {
public:
    void Mensagem(const std::string& texto) override { eventos.push_back("Mensagem:" + texto); }
    bool Confirma(const std::string& pergunta) override {
        eventos.push_back("Confirma:" + pergunta);
        return resposta;
    }
    void MostraAguarde() override { eventos.push_back("Mostra"); }
    void RepintaAguarde() override { eventos.push_back("Repinta"); }
    void EscondeAguarde() override { eventos.push_back("Esconde"); }
    std::vector<std::string> Mensagens() const;
    std::vector<std::string> eventos;
    bool resposta = false;  // the answer to every question
};

class BancoTeste : public ::testing::Test {
protected:
    explicit BancoTeste(fb::TVersaoEsquema esquema = fb::TVersaoEsquema::Atual) : esquema_(esquema) {}
    void SetUp() override;
    void TearDown() override;

    // A connection of its own ("another workstation"), for setting up and checking.
    fb::TDatabase& Outro();
    // Closes that connection (it opens again on demand), so that another
    // process, such as etiquetas-cli, can open the file.
    void FecharOutro();
    void Executar(const std::string& sql);  // in Outro(), committed
    int64_t Contar(const std::string& tabela, const std::string& condicao = "1=1");
    std::string Texto(const std::string& sql);  // first column of the first row, via Outro()
    void GravarPathMerkor(const std::string& valor);

    std::string pasta_;
    std::string banco_;
    TInterfaceGravada iu_;

private:
    fb::TVersaoEsquema esquema_;
    std::unique_ptr<fb::TDatabase> outro_;
    std::unique_ptr<fb::TTransaction> outroTr_;
};
