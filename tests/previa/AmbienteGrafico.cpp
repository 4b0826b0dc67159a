// One QGuiApplication for the whole test program: the drawing needs its fonts.
#include <QGuiApplication>

#include "suporte/AmbienteAplicacao.h"

namespace {

[[maybe_unused]] ::testing::Environment* const ambiente =
    ::testing::AddGlobalTestEnvironment(new TAmbienteAplicacao<QGuiApplication>("testes_previa"));

}  // namespace
