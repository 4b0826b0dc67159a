#pragma once
// Tax, department and related look-up tables, on the application module's
// main connection and transaction.
#include <string>
#include <vector>

#include "data/Tabela.h"

class TdtmAplicativo;

class TDtmMercadorias {
public:
    explicit TDtmMercadorias(TdtmAplicativo& aplicativo);
    ~TDtmMercadorias();
    TDtmMercadorias(const TDtmMercadorias&) = delete;
    TDtmMercadorias& operator=(const TDtmMercadorias&) = delete;

    TTabela tblAliquotasIB;
    TTabela tblDepartamentosIB;
    TTabela tblTributosIcm;
    TTabela tblTributosIcmUf;
    TTabela tblTributosPC;
    TTabela tblMercadoriasInventario;
    TTabela tblSerialNumberIB;
    TTabela tblSimilares;

    TDataSource dtsAliquotas{&tblAliquotasIB};
    TDataSource dtsDepartamentosIB{&tblDepartamentosIB};
    TDataSource dtsSerialNumber{&tblSerialNumberIB};

    // "Aliquotas" and "AliquotasIB" name the same table, as do
    // "Departamentos" and "DepartamentosIB"; "ALL" names every table.
    void dtmMercadoriasOpen(const std::vector<std::string>& nomes);
    void dtmMercadoriasClose(const std::vector<std::string>& nomes);
};
