#include "data/fb/EsquemaLoja.h"

#include "data/fb/FbCliente.h"

namespace fb {

void CriarEsquemaLoja(TDatabase& banco, TVersaoEsquema versao) { banco.ExecutarScript(EsquemaLoja(versao)); }

}  // namespace fb
