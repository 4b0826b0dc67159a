#include "common/PastaExecucao.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
    return pasta;
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
