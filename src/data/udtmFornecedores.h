#pragma once
// Supplier table, on the application module's main connection and transaction.
#include <string>
#include <vector>

#include "data/Tabela.h"

class TdtmAplicativo;

class TdtmFornecedores {
public:
    explicit TdtmFornecedores(TdtmAplicativo& aplicativo);
    ~TdtmFornecedores();  // dtmFornecedoresDestroy
    TdtmFornecedores(const TdtmFornecedores&) = delete;
    TdtmFornecedores& operator=(const TdtmFornecedores&) = delete;

    TTabela tblFornecedores;
    TDataSource dtsFornecedores{&tblFornecedores};

    void dtmFornecedoresOpen(const std::vector<std::string>& nomes);
    void dtmFornecedoresClose(const std::vector<std::string>& nomes);

private:
    TdtmAplicativo& aplicativo_;
};
