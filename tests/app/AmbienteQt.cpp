// One application object for the whole test program, as the real entry has.
#include <gtest/gtest.h>

#include <QByteArray>

#include "common/gui/FuncoesGui.h"

namespace {

class TAmbienteQt : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new TAplicacao(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char nome_[16] = "testes_app";
    char* argv_[2] = {nome_, nullptr};
    TAplicacao* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const ambiente = ::testing::AddGlobalTestEnvironment(new TAmbienteQt);

}  // namespace
