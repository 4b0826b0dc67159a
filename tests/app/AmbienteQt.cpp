// One application object for the whole test program, as the real entry has.
#include "common/gui/FuncoesGui.h"
#include "suporte/AmbienteAplicacao.h"

namespace {

[[maybe_unused]] ::testing::Environment* const ambiente =
    ::testing::AddGlobalTestEnvironment(new TAmbienteAplicacao<TAplicacao>("testes_app"));

}  // namespace
