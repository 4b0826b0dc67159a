// The runtime folder the programs make for Qt when there is no login session.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/PastaExecucao.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

// TMPDIR points at a private folder and XDG_RUNTIME_DIR is as the case wants;
// both are put back afterwards.
class PastaExecucao : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& [nome, valor] : guardadas_)
            if (const char* v = std::getenv(nome)) valor = v;
        ::setenv("TMPDIR", temp_.caminho.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("FIREBIRD");
        ::unsetenv("FIREBIRD_LOCK");
    }
    void TearDown() override {
        for (auto& [nome, valor] : guardadas_) {
            if (valor)
                ::setenv(nome, valor->c_str(), 1);
            else
                ::unsetenv(nome);
        }
    }
    std::string Esperada() const { return temp_ / ("runtime-" + std::to_string(::getuid())); }
    static std::string Variavel() {
        const char* v = std::getenv("XDG_RUNTIME_DIR");
        return v ? v : "(sem valor)";
    }

    TPastaTemp temp_{"etiq-runtime"};
    std::pair<const char*, std::optional<std::string>> guardadas_[4] = {
        {"TMPDIR", {}}, {"XDG_RUNTIME_DIR", {}}, {"FIREBIRD", {}}, {"FIREBIRD_LOCK", {}}};
};

TEST_F(PastaExecucao, SemSessaoCriaAPastaPrivadaEApontaAVariavel) {
    struct Caso {
        const char* nome;
        std::function<void(const std::string& pasta)> preparar;
    };
    const Caso casos[] = {
        {"variável ausente", [](const std::string&) {}},
        {"variável vazia", [](const std::string&) { ::setenv("XDG_RUNTIME_DIR", "", 1); }},
        {"pasta nossa, aberta demais",
         [](const std::string& p) {
             fs::create_directory(p);
             ::chmod(p.c_str(), 0755);
         }},
        {"pasta nossa, já privada",
         [](const std::string& p) {
             fs::create_directory(p);
             ::chmod(p.c_str(), 0700);
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        fs::remove_all(Esperada());
        ::unsetenv("XDG_RUNTIME_DIR");
        c.preparar(Esperada());
        EXPECT_EQ(PrepararPastaExecucao(), Esperada());
        EXPECT_EQ(Variavel(), Esperada());
        struct stat st {};
        ASSERT_EQ(::lstat(Esperada().c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(st.st_uid, ::getuid());
    }
}

TEST_F(PastaExecucao, VariavelDaSessaoFicaComoEsta) {
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(PrepararPastaExecucao(), "/run/user/4242");
    EXPECT_EQ(Variavel(), "/run/user/4242");
    EXPECT_FALSE(fs::exists(Esperada()));
}

// A name already taken under the shared temp folder is never used: the
// variable stays unset and Qt says what is wrong.
TEST_F(PastaExecucao, NomeTomadoPorOutraCoisaNaoEUsado) {
    const std::string alvo = temp_ / "alvo";
    fs::create_directory(alvo);
    ::chmod(alvo.c_str(), 0755);
    struct Caso {
        const char* nome;
        std::function<bool(const std::string& pasta)> preparar;  // false: not possible here
    };
    const Caso casos[] = {
        {"ligação para uma pasta", [&](const std::string& p) { return ::symlink(alvo.c_str(), p.c_str()) == 0; }},
        {"arquivo",
         [](const std::string& p) {
             Gravar(p, "x");
             return true;
         }},
        {"pasta de outro usuário",
         [](const std::string& p) {
             return ::getuid() == 0 && fs::create_directory(p) && ::chown(p.c_str(), 65534, 65534) == 0;
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        fs::remove_all(Esperada());
        ::unsetenv("XDG_RUNTIME_DIR");
        if (!c.preparar(Esperada())) continue;
        EXPECT_EQ(PrepararPastaExecucao(), "");
        EXPECT_EQ(Variavel(), "(sem valor)");
        EXPECT_EQ(fs::status(alvo).permissions(), fs::perms(0755));  // nothing done through the link
    }
}

TEST_F(PastaExecucao, TravasDoFirebirdPorUsuarioSoSemRaizNemPastaDefinidas) {
    struct Caso {
        const char* nome;
        const char* firebird;
        const char* trava;
        bool nossa;  // FIREBIRD_LOCK gets the user's folder
    };
    const Caso casos[] = {
        {"nenhuma definida", nullptr, nullptr, true},
        {"FIREBIRD vazia", "", nullptr, true},
        {"raiz do Firebird definida", "/opt/fb", nullptr, false},
        {"pasta de travas definida", nullptr, "/var/fb-travas", false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ::unsetenv("FIREBIRD");
        ::unsetenv("FIREBIRD_LOCK");
        ::setenv("XDG_RUNTIME_DIR", temp_.caminho.c_str(), 1);
        if (c.firebird) ::setenv("FIREBIRD", c.firebird, 1);
        if (c.trava) ::setenv("FIREBIRD_LOCK", c.trava, 1);
        const std::string nossa = temp_ / "etiquetas-firebird";
        EXPECT_EQ(PrepararTravasFirebird(), c.nossa ? nossa : "");
        const char* v = std::getenv("FIREBIRD_LOCK");
        EXPECT_EQ(v ? std::string(v) : "", c.nossa ? nossa : (c.trava ? c.trava : ""));
        if (c.nossa) {
            EXPECT_EQ(fs::status(nossa).permissions(), fs::perms::owner_all);
            // The engine's root in Classic mode beside the locks, when the system has the engine.
            const char* raiz = std::getenv("FIREBIRD");
            if (!PastaMotorFirebird().empty()) {
                EXPECT_EQ(raiz ? std::string(raiz) : "", nossa + "/raiz");
            }
        } else {
            const char* raiz = std::getenv("FIREBIRD");
            EXPECT_EQ(raiz ? std::string(raiz) : "", c.firebird ? c.firebird : "");
        }
    }
}

// The root the embedded engine runs from: the build tree's kind
// (scripts/firebird-raiz.sh) made by the program itself.
TEST_F(PastaExecucao, RaizDoFirebirdEmModoClassic) {
    const std::string motor = PastaMotorFirebird();
    if (motor.empty()) GTEST_SKIP() << "Firebird 3 não instalado";
    const std::string raiz = temp_ / "fb/raiz";
    ASSERT_EQ(PrepararRaizFirebird(raiz), raiz);
    EXPECT_NE(LerTudo(raiz + "/firebird.conf").find("ServerMode = Classic"), std::string::npos);
    // The character sets' configuration is a file of the root (the engine reads it relative to itself).
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(raiz + "/intl/fbintl.conf")));
    EXPECT_EQ(LerTudo(raiz + "/intl/fbintl.conf"), LerTudo(motor + "/intl/fbintl.conf"));
    // The module too: through a link the engine does not find WIN1252.
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(raiz + "/intl/libfbintl.so")));
    for (const char* item : {"plugins", "firebird.msg"}) {
        EXPECT_TRUE(fs::is_symlink(raiz + "/" + item)) << item;
        EXPECT_TRUE(fs::exists(raiz + "/" + item)) << item;
    }
    // A second time keeps what is there (a setting changed by hand included) and adds what is missing.
    Gravar(raiz + "/firebird.conf", "ServerMode = Classic\nTempCacheLimit = 8M\n");
    fs::remove(raiz + "/plugins");
    ASSERT_EQ(PrepararRaizFirebird(raiz), raiz);
    EXPECT_EQ(LerTudo(raiz + "/firebird.conf"), "ServerMode = Classic\nTempCacheLimit = 8M\n");
    EXPECT_TRUE(fs::exists(raiz + "/plugins"));
}

TEST_F(PastaExecucao, RaizDoFirebirdImpossivelFicaSemRaiz) {
    // No engine there, or a file where the root's folder should be: nothing set.
    EXPECT_EQ(PrepararRaizFirebird(temp_ / "a/raiz", temp_ / "sem-motor"), "");
    if (PastaMotorFirebird().empty()) return;
    Gravar(temp_ / "arquivo", "x");
    EXPECT_EQ(PrepararRaizFirebird(temp_ / "arquivo/raiz"), "");
    // A read-only folder, for a user the system holds to it.
    if (::getuid() != 0) {
        fs::create_directory(temp_ / "trancada");
        fs::permissions(temp_ / "trancada", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(PrepararRaizFirebird(temp_ / "trancada/raiz"), "");
    }
}

}  // namespace
