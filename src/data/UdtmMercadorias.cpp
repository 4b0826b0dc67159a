#include "data/UdtmMercadorias.h"

#include "common/UFuncoes.h"
#include "data/Aguarde.h"
#include "data/udtmAplicativo.h"

TDtmMercadorias::TDtmMercadorias(TdtmAplicativo& a)
    : tblAliquotasIB(a.dtbAplicativo, a.ibtAplicativo, "ALIQUOTAS"),
      tblDepartamentosIB(a.dtbAplicativo, a.ibtAplicativo, "DEPARTAMENTOS"),
      tblTributosIcm(a.dtbAplicativo, a.ibtAplicativo, "TRIBUTOS_ICM"),
      tblTributosIcmUf(a.dtbAplicativo, a.ibtAplicativo, "TRIBUTOS_ICM_UF"),
      tblTributosPC(a.dtbAplicativo, a.ibtAplicativo, "TRIBUTOS_PC"),
      tblMercadoriasInventario(a.dtbAplicativo, a.ibtAplicativo, "MERCADORIAS_INVENTARIO"),
      tblSerialNumberIB(a.dtbAplicativo, a.ibtAplicativo, "SERIALNUMBER"),
      tblSimilares(a.dtbAplicativo, a.ibtAplicativo, "SIMILARES") {}

TDtmMercadorias::~TDtmMercadorias() = default;

void TDtmMercadorias::dtmMercadoriasOpen(const std::vector<std::string>& nomes) {
    TAguarde aguarde;
    auto abre = [&](TTabela& t, const char* nome) {
        if (t.Active() || !ConstaNaLista(nomes, nome)) return false;
        t.Open();
        return true;
    };
    // The nested runs end because the second visit finds the table open.
    if (ConstaNaLista(nomes, "Aliquotas")) dtmMercadoriasOpen({"AliquotasIB"});
    if (ConstaNaLista(nomes, "Departamentos")) dtmMercadoriasOpen({"DepartamentosIB"});
    abre(tblMercadoriasInventario, "MercadoriasInventario");
    abre(tblSerialNumberIB, "SerialNumberIB");
    abre(tblTributosIcmUf, "TributosIcmUf");
    abre(tblTributosIcm, "TributosIcm");
    abre(tblTributosPC, "TributosPC");
    if (abre(tblDepartamentosIB, "DepartamentosIB")) dtmMercadoriasOpen({"Departamentos"});
    if (abre(tblAliquotasIB, "AliquotasIB")) dtmMercadoriasOpen({"Aliquotas"});
    abre(tblSimilares, "Similares");
}

void TDtmMercadorias::dtmMercadoriasClose(const std::vector<std::string>& nomes) {
    if (ConstaNaLista(nomes, "SerialNumberIB")) tblSerialNumberIB.Close();
    if (ConstaNaLista(nomes, "Aliquotas")) dtmMercadoriasClose({"AliquotasIB"});
    if (ConstaNaLista(nomes, "Departamentos")) dtmMercadoriasClose({"DepartamentosIB"});
    if (ConstaNaLista(nomes, "TributosIcm")) tblTributosIcm.Close();
    if (ConstaNaLista(nomes, "TributosIcmUf")) tblTributosIcmUf.Close();
    if (ConstaNaLista(nomes, "TributosPC")) tblTributosPC.Close();
    if (ConstaNaLista(nomes, "DepartamentosIB")) tblDepartamentosIB.Close();
    if (ConstaNaLista(nomes, "AliquotasIB")) tblAliquotasIB.Close();
    if (ConstaNaLista(nomes, "MercadoriasInventario")) tblMercadoriasInventario.Close();
    if (ConstaNaLista(nomes, "Similares")) tblSimilares.Close();
}
