#include "common/PastaExecucao.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/ErroSistema.h"

std::string PrepararPastaExecucao() {
    if (const char* atual = std::getenv("XDG_RUNTIME_DIR"); atual && *atual) return atual;
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) return "";
    const uid_t eu = ::getuid();
    std::string pasta = (temp / ("runtime-" + std::to_string(eu))).string();
    if (::mkdir(pasta.c_str(), 0700) != 0 && errno != EEXIST) return "";
    // Not followed: a link planted under the shared temp folder is refused.
    struct stat st {};
    if (::lstat(pasta.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != eu) return "";
    if ((st.st_mode & 07777) != 0700 && ::chmod(pasta.c_str(), 0700) != 0) return "";
    // Both programs call this first thing in main, before any thread; later calls find the variable set.
    ::setenv("XDG_RUNTIME_DIR", pasta.c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    return pasta;
}

std::string PrepararTravasFirebird() {
    for (const char* nome : {"FIREBIRD", "FIREBIRD_LOCK"})
        if (const char* v = std::getenv(nome); v && *v) return "";
    const std::string runtime = PrepararPastaExecucao();
    if (runtime.empty()) return "";
    std::string pasta = runtime + "/etiquetas-firebird";
    if (::mkdir(pasta.c_str(), 0700) != 0 && errno != EEXIST) return "";
    struct stat st {};
    if (::lstat(pasta.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return "";
    ::setenv("FIREBIRD_LOCK", pasta.c_str(), 1);  // NOLINT(concurrency-mt-unsafe): from main, before any thread
    // Classic mode, as the build tree's root: the program and etiquetas-cli
    // can then work on the same local database at once.
    if (const std::string raiz = PrepararRaizFirebird(pasta + "/raiz"); !raiz.empty())
        ::setenv("FIREBIRD", raiz.c_str(), 1);  // NOLINT(concurrency-mt-unsafe): from main, before any thread
    return pasta;
}

std::string PastaMotorFirebird() {
    std::error_code ec;
    for (const char* d :
         {"/usr/lib/x86_64-linux-gnu/firebird/3.0", "/usr/lib/aarch64-linux-gnu/firebird/3.0", "/usr/lib/firebird/3.0"})
        if (std::filesystem::is_directory(std::string(d) + "/plugins", ec)) return d;
    return "";
}

std::string PrepararRaizFirebird(const std::string& raiz, const std::string& motor) {
    namespace fs = std::filesystem;
    const std::string lib = motor.empty() ? PastaMotorFirebird() : motor;
    if (lib.empty()) return "";
    std::error_code ec;
    if (!CriarPastasPrivadas(raiz + "/intl").empty()) return "";
    // The engine finds the character sets through intl/fbintl.conf, relative
    // to its root: a copy here (Debian's is a link into /etc).
    const fs::path intl = fs::path(lib) / "intl";
    for (const auto& e : fs::directory_iterator(intl, ec)) {
        const fs::path destino = fs::path(raiz) / "intl" / e.path().filename();
        if (fs::exists(fs::symlink_status(destino, ec))) continue;
        // Copies (following Debian's links), as scripts/firebird-raiz.sh does:
        // the engine does not take the character-set module through a link.
        fs::copy_file(e.path(), destino, ec);
        if (ec) return "";
    }
    if (!fs::exists(fs::path(raiz) / "intl" / "fbintl.conf", ec)) return "";
    for (const char* item : {"firebird.msg", "plugins", "UDF", "plugins.conf"}) {
        const fs::path destino = fs::path(raiz) / item;
        if (fs::exists(fs::symlink_status(destino, ec))) continue;
        const fs::path origem = fs::path(lib) / item;
        if (!fs::exists(origem, ec)) continue;
        fs::create_symlink(fs::canonical(origem, ec), destino, ec);
        if (ec) return "";
    }
    const std::string conf = raiz + "/firebird.conf";
    if (!fs::exists(conf, ec)) {
        const std::string texto =
            "# Embedded engine in Classic mode, so the program and etiquetas-cli\n"
            "# can work on the same database at the same time.\n"
            "ServerMode = Classic\nUdfAccess = None\nRemoteBindAddress = localhost\n";
        const std::string temp = conf + ".tmp";
        FILE* f = std::fopen(temp.c_str(), "w");
        if (!f) return "";
        const bool ok = std::fwrite(texto.data(), 1, texto.size(), f) == texto.size();
        if (std::fclose(f) != 0 || !ok || std::rename(temp.c_str(), conf.c_str()) != 0) {
            (void)std::remove(temp.c_str());  // nothing more to do when it fails too
            return "";
        }
    }
    return raiz;
}

std::string CriarPastasPrivadas(const std::string& pasta) {
    std::filesystem::path atual;
    for (const auto& parte : std::filesystem::path(pasta)) {
        atual /= parte;
        if (::mkdir(atual.c_str(), 0700) != 0 && errno != EEXIST)
            return "não foi possível criar a pasta " + atual.string() + ": " + MensagemErroSistema(errno);
    }
    return "";
}
