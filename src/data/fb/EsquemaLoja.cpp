#include "data/fb/EsquemaLoja.h"

#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"

namespace fb {

void CriarEsquemaLoja(TDatabase& banco, TVersaoEsquema versao) { banco.ExecutarScript(EsquemaLoja(versao), true); }

namespace {
void Parte(TDatabase& banco, TVersaoEsquema versao, bool indices) {
    std::string script;
    for (const auto& cmd : TDatabase::DividirScript(EsquemaLoja(versao)))
        if (ComecaComSemCaixa(cmd, "CREATE INDEX") == indices) script += cmd + ";\n";
    banco.ExecutarScript(script, true);
}
}  // namespace

void CriarTabelasLoja(TDatabase& banco, TVersaoEsquema versao) { Parte(banco, versao, false); }
void CriarIndicesLoja(TDatabase& banco, TVersaoEsquema versao) { Parte(banco, versao, true); }

}  // namespace fb
