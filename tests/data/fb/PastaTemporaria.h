#pragma once
// Each Firebird test works in its own folder: ctest runs test processes in
// parallel and the embedded engine lets one process hold a file at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/fb/FbCliente.h"

class PastaTemporaria {
public:
    PastaTemporaria();
    ~PastaTemporaria();
    const std::string& Caminho() const { return pasta_; }
    std::string Arquivo(const std::string& nome) const { return pasta_ + "/" + nome; }
    std::vector<std::string> Conteudo() const;  // file names in the folder

private:
    std::string pasta_;
};

std::vector<std::string> ParametrosTeste();

// A fresh database with a scratch table, in its own folder.
class BancoFb : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs DDL/DML outside the test's transactions.
    void Executar(const std::string& sql) { db.ExecutarImediato(sql); }
    // A second connection to the same file (for isolation and lock tests).
    std::unique_ptr<fb::TDatabase> OutraConexao() const;

    PastaTemporaria pasta;
    std::string caminho;
    fb::TDatabase db;
};
