#pragma once
// configEtq.ini and its kind: INI text in Windows-1252 with CR LF, as shops
// have it from Windows. Keys match without regard to case; values are read
// trimmed; a missing file or key reads as empty. Every call opens the file
// afresh, so readers always see what was last saved.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TArquivoIni {
public:
    explicit TArquivoIni(std::string caminho);
    // `padrao`: a file read in place of `caminho` while that one does not
    // exist; the first write starts from its lines. `criarPasta`: the write
    // makes the missing folders of `caminho` (mode 0700).
    TArquivoIni(std::string caminho, std::string padrao, bool criarPasta);
    const std::string& Caminho() const { return caminho_; }

    std::string LerTexto(std::string_view secao, std::string_view chave, std::string_view padrao = "") const;
    // Writes several keys at once through a temporary file and a rename: the
    // old file stays whole when the write fails. Other lines are kept as they are.
    void GravarTextos(std::string_view secao, const std::vector<std::pair<std::string, std::string>>& valores);
    void GravarTexto(std::string_view secao, std::string_view chave, std::string_view valor);
    // The key=value lines of a section, in file order, keys and values trimmed.
    std::vector<std::pair<std::string, std::string>> Chaves(std::string_view secao) const;

private:
    std::vector<std::string> Linhas() const;

    std::string caminho_;
    std::string padrao_;
    bool criarPasta_ = false;
};

// Where configEtq.ini lives. A copy run from a folder (the build tree, a
// shop's own folder) keeps it beside itself: when the file is there or the
// folder is writable. An installed program (a share/etiquetas folder beside
// its bin folder, even if root could write there) or one in a read-only
// folder uses the user's XDG configuration folder, and reads the shop-wide
// default of /etc/etiquetas until the user saves for the first time.
struct TAmbienteConfig {
    std::string pastaPrograma;  // with a trailing slash
    bool arquivoAoLado = false;
    bool pastaGravavel = false;
    bool instalado = false;
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME (ignored unless absolute)
    std::string home;           // $HOME
    std::string pastaLoja;      // shop-wide folder, with a trailing slash
};
struct TLocalConfig {
    std::string arquivo;        // the configEtq.ini read and written
    std::string padrao;         // read while `arquivo` does not exist ("" = none)
    bool doUsuario = false;     // in the user's XDG folder
    std::string Pasta() const;  // folder of `arquivo`, with a trailing slash
};
TLocalConfig EscolherLocalConfig(const TAmbienteConfig& ambiente);
// The running program's: DiretorioSistema(), the environment, the disk.
TAmbienteConfig AmbienteConfigAtual();
TLocalConfig LocalConfigEtq();
// For tests: the shop-wide folder ("" = /etc/etiquetas/).
void DefinirPastaConfigLoja(std::string pasta);
// The folder of share/etiquetas when the program is installed, "" otherwise.
std::string PastaDadosInstalacao();

// The configEtq.ini in use (LocalConfigEtq().arquivo).
std::string CaminhoConfigEtq();
// The same file as an INI object, with the shop-wide default behind it.
TArquivoIni ArquivoConfigEtq();
// Section [CONF] of configEtq.ini.
std::string LerConfig(std::string_view chave);
void GravarConfig(std::string_view chave, std::string_view valor);
void GravarConfig(const std::vector<std::pair<std::string, std::string>>& valores);

// Keys whose value is a secret (SENHA BD, the catalogue token): shown masked.
bool ChaveSecreta(std::string_view chave);

// Shop texts some labels print: NOME LOJA (the shop's name) and TEXTO LOJA (a
// short second line). Without the keys, the demo shop's.
std::string NomeLoja();
std::string TextoLoja();
