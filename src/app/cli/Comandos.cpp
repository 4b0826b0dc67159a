#include "Comandos.h"

#include <algorithm>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"

namespace {
std::vector<TComandoCli>& Registro() {
    static std::vector<TComandoCli> r;
    return r;
}
}  // namespace

void RegistrarComando(TComandoCli comando) {
    auto& r = Registro();
    r.push_back(std::move(comando));
    std::sort(r.begin(), r.end(), [](const auto& a, const auto& b) { return a.nome < b.nome; });
}

const std::vector<TComandoCli>& ComandosRegistrados() { return Registro(); }

void ExigirPathMerkor(const TdtmAplicativo& dtm) {
    if (dtm.dtbAplicativo.Caminho().empty())
        throw Exception("PATH MERKOR não está definido em " + CaminhoConfigEtq() + ".");
}

TOpcoesCli::TOpcoesCli(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            std::string nome = a.substr(2), valor;
            auto igual = nome.find('=');
            if (igual != std::string::npos) {
                valor = nome.substr(igual + 1);
                nome = nome.substr(0, igual);
                opcoes_.emplace_back(nome, valor);
            } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                opcoes_.emplace_back(nome, args[++i]);
                opcoes_.back().second.insert(0, 1, '\x01');  // marks "had a value"
            } else {
                opcoes_.emplace_back(nome, "");
            }
        } else {
            posicionais_.push_back(a);
        }
    }
    usadas_.assign(opcoes_.size(), false);
}

std::string TOpcoesCli::Valor(const std::string& nome, const std::string& padrao) {
    for (size_t i = 0; i < opcoes_.size(); ++i) {
        if (opcoes_[i].first != nome) continue;
        usadas_[i] = true;
        std::string v = opcoes_[i].second;
        if (!v.empty() && v[0] == '\x01') return v.substr(1);
        return v;
    }
    return padrao;
}

bool TOpcoesCli::Tem(const std::string& nome) {
    for (size_t i = 0; i < opcoes_.size(); ++i)
        if (opcoes_[i].first == nome) {
            usadas_[i] = true;
            return true;
        }
    return false;
}

bool TOpcoesCli::Flag(const std::string& nome) {
    for (size_t i = 0; i < opcoes_.size(); ++i) {
        if (opcoes_[i].first != nome) continue;
        usadas_[i] = true;
        // A flag swallowed the next word as its value: give the word back.
        std::string& v = opcoes_[i].second;
        if (!v.empty() && v[0] == '\x01') {
            posicionais_.push_back(v.substr(1));
            v.clear();
        }
        return true;
    }
    return false;
}

void TOpcoesCli::VerificarDesconhecidas() const {
    for (size_t i = 0; i < opcoes_.size(); ++i) {
        if (usadas_[i]) continue;
        // Only the first of a repeated option is read: say so rather than call it unknown.
        for (size_t j = 0; j < opcoes_.size(); ++j)
            if (j != i && usadas_[j] && opcoes_[j].first == opcoes_[i].first)
                throw Exception("Opção repetida: --" + opcoes_[i].first);
        throw Exception("Opção desconhecida: --" + opcoes_[i].first);
    }
}
