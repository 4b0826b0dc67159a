#pragma once
// A shop database with goods and a label queue, a configEtq.ini whose printer
// port is a file, and the print object over them. Streams land in the file.
#include <memory>
#include <string>

#include "BancoTeste.h"
#include "common/ConfigEtq.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "suporte/Suporte.h"

class FilaTeste : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        saida_ = pasta_ + "/saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida_}, {"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas"}});
        dtm = std::make_unique<TdtmAplicativo>();
        imp = std::make_unique<TImpressaoEtiquetas>(*dtm);
        imp->PausaMs = 0;
    }
    void TearDown() override {
        imp.reset();
        dtm.reset();
        BancoTeste::TearDown();
    }

    void Mercadoria(int cod, const std::string& barras, const std::string& nome, const std::string& ref,
                    const std::string& preco) {
        Executar("insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN) values (" +
                 std::to_string(cod) + ", '" + barras + "', '" + nome + "', '" + ref + "', " + preco + ")");
    }
    // A queue row as the batch builder makes it (quantity and price as SQL numbers).
    void Fila(int cod, const std::string& barras, const std::string& nome, const std::string& quantidade,
              const std::string& preco, const std::string& lote = "") {
        Executar(
            "insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) "
            "values (" +
            std::to_string(cod) + ", '" + barras + "', '" + nome + "', '" + nome + "', " + quantidade + ", 0, " +
            preco + ", '" + lote + "')");
    }
    // Opens the queue as the window does at its first activation and prints.
    void Imprimir() {
        if (!imp->tblEtiquetaRead.Active()) imp->tblEtiquetaRead.Open();
        imp->ImprimeEtiquetasPreConfigurada();
    }
    std::string Saida() const { return LerTudo(saida_); }

    std::string saida_;
    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TImpressaoEtiquetas> imp;
};
