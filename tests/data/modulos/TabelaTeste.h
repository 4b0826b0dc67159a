#pragma once
// The program's data module over a test shop and one table object on it; the
// table goes first, then the module, then the database.
#include <memory>
#include <string>

#include "data/Tabela.h"
#include "data/udtmAplicativo.h"

template <class Banco>
class TabelaTeste : public Banco {
protected:
    // Called from SetUp, once the shop holds what the test needs.
    void AbrirTabela(const char* nome) {
        dtm = std::make_unique<TdtmAplicativo>();
        tbl = std::make_unique<TTabela>(dtm->dtbAplicativo, dtm->ibtAplicativo, nome);
    }
    void TearDown() override {
        tbl.reset();
        dtm.reset();
        Banco::TearDown();
    }
    // A column of the table as it stands, in its current order: "a;b;".
    std::string Coluna(const char* campo) {
        std::string r;
        for (tbl->First(); !tbl->Eof(); tbl->Next()) r += tbl->FieldByName(campo).AsString() + ";";
        return r;
    }

    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TTabela> tbl;
};
