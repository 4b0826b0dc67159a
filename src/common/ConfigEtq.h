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
    const std::string& Caminho() const { return caminho_; }

    std::string LerTexto(std::string_view secao, std::string_view chave, std::string_view padrao = "") const;
    // Writes several keys at once through a temporary file and a rename: the
    // old file stays whole when the write fails. Other lines are kept as they are.
    void GravarTextos(std::string_view secao, const std::vector<std::pair<std::string, std::string>>& valores);
    void GravarTexto(std::string_view secao, std::string_view chave, std::string_view valor);

private:
    std::string caminho_;
};

// DiretorioSistema() + "configEtq.ini"
std::string CaminhoConfigEtq();
// Section [CONF] of configEtq.ini.
std::string LerConfig(std::string_view chave);
void GravarConfig(std::string_view chave, std::string_view valor);
void GravarConfig(const std::vector<std::pair<std::string, std::string>>& valores);

// Shop texts some labels print: NOME LOJA (the shop's name) and TEXTO LOJA (a
// short second line). Without the keys, the demo shop's.
std::string NomeLoja();
std::string TextoLoja();
