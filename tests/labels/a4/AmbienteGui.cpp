// One QGuiApplication for the whole test program: fonts and PDF painting need it.
#include <QGuiApplication>

#include "suporte/AmbienteAplicacao.h"

namespace {

[[maybe_unused]] ::testing::Environment* const ambiente =
    ::testing::AddGlobalTestEnvironment(new TAmbienteAplicacao<QGuiApplication>("testes_a4"));

}  // namespace
