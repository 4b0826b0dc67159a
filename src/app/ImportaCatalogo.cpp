#include "app/ImportaCatalogo.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/ConfigEtq.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/InterfaceUsuario.h"
#include "common/Win1252.h"

namespace fs = std::filesystem;

namespace {

bool Utf8Valido(std::string_view s) {
    size_t i = 0;
    char32_t cp;
    while (i < s.size())
        if (!Utf8::Proximo(s, i, cp)) return false;
    return true;
}

void Apagar(const std::string& caminho) {
    std::error_code ec;
    fs::remove(caminho, ec);
    if (ec) throw EOSError("Não foi possível apagar o arquivo " + caminho + ": " + MensagemErroSistema(ec.value()));
}

void GravarArquivo(const std::string& caminho, const std::string& bytes) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    if (f) f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (f) f.close();
    if (!f) throw EOSError("Não foi possível gravar o arquivo " + caminho);
}

std::string LerArquivo(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    if (!f) throw EOSError("Não foi possível ler o arquivo " + caminho);
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (f.bad()) throw EOSError("Não foi possível ler o arquivo " + caminho);
    // The loader is a Windows program and writes Windows-1252; a UTF-8 answer is kept as it is.
    return Utf8Valido(bytes) ? bytes : Win1252::ParaUtf8(bytes);
}

// Hides the waiting window also when a step fails, so it does not stay behind.
struct TAguarde {
    TAguarde() { InterfaceUsuario().MostraAguarde(); }
    ~TAguarde() { InterfaceUsuario().EscondeAguarde(); }
};

}  // namespace

std::string TextoPedido(const TPedidoImportacao& p) {
    const std::string texto =
        "[conf]\r\n"
        "pathBancoDados=" +
        p.PathBanco +
        "\r\n"
        "token_vitrinex=" +
        p.Token +
        "\r\n"
        "Reg_por_trafego=" +
        p.RegTrafego +
        "\r\n"
        "Data_inicio=" +
        p.DataInicio + "\r\n";
    return Win1252::DeUtf8(texto);
}

bool ImportarCatalogo(const std::string& dir, const TPedidoImportacao& pedido, const TAmbienteImportacao& amb) {
    const std::string retorno = dir + kArquivoRetorno;
    // A left-over answer would be taken for the new one.
    if (fs::exists(retorno)) Apagar(retorno);
    GravarArquivo(dir + kArquivoPedido, TextoPedido(pedido));
    if (amb.IniciarCarregador) amb.IniciarCarregador(dir + kCarregador);

    int n = 0;
    {
        TAguarde aguarde;
        do {
            if (fs::exists(retorno)) {
                const std::string texto = LerArquivo(retorno);
                InterfaceUsuario().Mensagem(texto);
                Apagar(retorno);
                GravarConfig("data_inicio_at", FormataData("DD-MM-AAAA", amb.Hoje()));
                n = 1000;
            }
            InterfaceUsuario().RepintaAguarde();
            amb.Pausa(1000);
            ++n;
        } while (n <= kMaxVerificacoes);
    }
    if (n < 1000) {
        InterfaceUsuario().Mensagem("Retorno da importação não localizado");
        return false;
    }
    return true;
}
