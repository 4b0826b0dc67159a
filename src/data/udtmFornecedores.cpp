#include "data/udtmFornecedores.h"

#include "common/UFuncoes.h"
#include "data/Aguarde.h"
#include "data/udtmAplicativo.h"

TdtmFornecedores::TdtmFornecedores(TdtmAplicativo& a)
    : tblFornecedores(a.dtbAplicativo, a.ibtAplicativo, "FORNECEDORES"), aplicativo_(a) {}

TdtmFornecedores::~TdtmFornecedores() { tblFornecedores.Close(); }

void TdtmFornecedores::dtmFornecedoresOpen(const std::vector<std::string>& nomes) {
    TAguarde aguarde;
    if (tblFornecedores.Active() || !ConstaNaLista(nomes, "Fornecedores")) return;
    aplicativo_.dtmConectBanco(true);
    tblFornecedores.Open();
    for (const char* ordem : {"CODIGO", "FAN_FOR", "NOME", "CNPJ"}) tblFornecedores.SetOrdenacao(ordem);
}

void TdtmFornecedores::dtmFornecedoresClose(const std::vector<std::string>& nomes) {
    if (ConstaNaLista(nomes, "Fornecedores")) tblFornecedores.Close();
}
