#pragma once
// One Qt application object for a whole test program, as the real entry has
// one; offscreen unless the run chose a platform, and with a runtime folder
// of its own when the run has no session.
#include <gtest/gtest.h>

#include <cstdio>

#include <QByteArray>

#include "common/PastaExecucao.h"

template <class App>
class TAmbienteAplicacao : public ::testing::Environment {
public:
    // `nome`: the program name the application sees (at most 31 characters).
    explicit TAmbienteAplicacao(const char* nome) { std::snprintf(nome_, sizeof nome_, "%s", nome); }
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        PrepararPastaExecucao();
        app_ = new App(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char nome_[32] = {};
    char* argv_[2] = {nome_, nullptr};
    App* app_ = nullptr;
};
