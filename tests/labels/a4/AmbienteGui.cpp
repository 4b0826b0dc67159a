// One QGuiApplication for the whole test program: fonts and PDF painting need it.
#include <gtest/gtest.h>

#include <QGuiApplication>

namespace {

class TAmbienteGui : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QGuiApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char nome_[16] = "testes_a4";
    char* argv_[2] = {nome_, nullptr};
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const ambiente = ::testing::AddGlobalTestEnvironment(new TAmbienteGui);

}  // namespace
