// Linked into every test program: under CI (SobCi) a test that skips fails
// instead, with the reason it gave for skipping (the missing tool, the busy
// port). CI installs every tool the tests need, so a skip there is a check
// that silently did not run.
#include <string>

#include <gtest/gtest.h>

#include "suporte/Suporte.h"

namespace {

class TPuloFalha : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& teste) override {
        const ::testing::TestResult& r = *teste.result();
        if (!r.Skipped()) return;
        std::string motivo;
        for (int i = 0; i < r.total_part_count(); ++i)
            if (r.GetTestPartResult(i).skipped()) motivo += r.GetTestPartResult(i).message();
        ADD_FAILURE() << "Sob CI um teste pulado é uma falha (CI instala todas as ferramentas dos testes): "
                      << (motivo.empty() ? "pulado sem motivo" : motivo);
    }
};

// Test-end events go to the listeners in reverse order: appended last, this
// one hears first, so the printer then reports the test as failed, never as
// skipped (ctest would count a "[  SKIPPED ]" line as a skip whatever the
// status).
class TAmbientePuloNoCi : public ::testing::Environment {
    void SetUp() override {
        if (SobCi()) ::testing::UnitTest::GetInstance()->listeners().Append(new TPuloFalha);
    }
};

[[maybe_unused]] ::testing::Environment* const kAmbiente = ::testing::AddGlobalTestEnvironment(new TAmbientePuloNoCi);

}  // namespace
