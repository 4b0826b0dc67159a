#include "goods/UltimaSelecao.h"

#include <variant>

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"

namespace {

using O = TOpcoesMercadorias;
using TCampo =
    std::variant<bool O::*, std::string O::*, std::optional<long long> O::*, std::optional<std::string> O::*>;

// Every criterion of the window, by the name it is kept under.
const std::vector<std::pair<const char*, TCampo>>& Campos() {
    static const std::vector<std::pair<const char*, TCampo>> c = {
        {"chkCodRed", &O::chkCodRed},
        {"edtCod1", &O::edtCod1},
        {"edtCod2", &O::edtCod2},
        {"chkBarras", &O::chkBarras},
        {"edtcodbarras", &O::edtcodbarras},
        {"chkDiferente", &O::chkDiferente},
        {"edtDiferente", &O::edtDiferente},
        {"chkNumero", &O::chkNumero},
        {"edtCodBar", &O::edtCodBar},
        {"edtBar2", &O::edtBar2},
        {"chkListaCodBar", &O::chkListaCodBar},
        {"memoLista", &O::memoLista},
        {"chkNome", &O::chkNome},
        {"edtNome", &O::edtNome},
        {"chkDepartamento", &O::chkDepartamento},
        {"edtDepartamento", &O::edtDepartamento},
        {"chkFornecedor", &O::chkFornecedor},
        {"edtFornecedor", &O::edtFornecedor},
        {"chkCodPers", &O::chkCodPers},
        {"edtCodPers1", &O::edtCodPers1},
        {"edtCodPers2", &O::edtCodPers2},
        {"chkDepartComposta", &O::chkDepartComposta},
        {"edtNomeDepart", &O::edtNomeDepart},
        {"chksetor", &O::chksetor},
        {"edtSetor", &O::edtSetor},
        {"chkReferencia", &O::chkReferencia},
        {"edtReferencia", &O::edtReferencia},
        {"chkLocaliz", &O::chkLocaliz},
        {"edtLocaliz", &O::edtLocaliz},
        {"chkDataEmi", &O::chkDataEmi},
        {"edtData1", &O::edtData1},
        {"edtData2", &O::edtData2},
        {"chkEstoque", &O::chkEstoque},
        {"chkEstoqueM0", &O::chkEstoqueM0},
        {"chkEstoque0", &O::chkEstoque0},
        {"chkEstoque2", &O::chkEstoque2},
        {"chkEstoqueM02", &O::chkEstoqueM02},
        {"chkEstoque02", &O::chkEstoque02},
        {"chkMinimo", &O::chkMinimo},
        {"chkEstMax", &O::chkEstMax},
        {"chkCodGer", &O::chkCodGer},
        {"chkProEstoque", &O::chkProEstoque},
        {"rMarcados", &O::rMarcados},
        {"rDesmarcados", &O::rDesmarcados},
        {"chkProAtivos", &O::chkProAtivos},
        {"rbAtivos", &O::rbAtivos},
        {"chkGrade", &O::chkGrade},
        {"rdSim", &O::rdSim},
        {"chkPiscofins", &O::chkPiscofins},
        {"edtPis", &O::edtPis},
        {"chkICms", &O::chkICms},
        {"edtICMS", &O::edtICMS},
        {"chkNNota", &O::chkNNota},
        {"edtNNota", &O::edtNNota},
        {"chkDataCompra", &O::chkDataCompra},
        {"edtDtC1", &O::edtDtC1},
        {"edtDtC2", &O::edtDtC2},
    };
    return c;
}

// Line ends and the escape itself, so the barcode list keeps its lines; the
// ends of a value are marked so the file's trimming keeps its blanks.
std::string Escapar(const std::string& v) {
    std::string r = "\"";
    for (char ch : v) {
        if (ch == '\\')
            r += "\\\\";
        else if (ch == '\n')
            r += "\\n";
        else if (ch == '\r')
            r += "\\r";
        else
            r += ch;
    }
    return r + "\"";
}

std::string Desescapar(std::string v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    std::string r;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char c = v[++i];
            r += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else {
            r += v[i];
        }
    }
    return r;
}

const char* NomeOrdem(TOrdemListagem o) {
    switch (o) {
        case TOrdemListagem::CodigoBar: return "barras";
        case TOrdemListagem::NomeMer: return "nome";
        case TOrdemListagem::CodigoRed: break;
    }
    return "codigo";
}

std::optional<TDateTime> Data(const std::string& texto) {
    try {
        return StrToDate(texto);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A range that ended on the batch's day moves to end today.
void Deslocar(std::string& de, std::string& ate, std::optional<TDateTime> dia, TDateTime hoje) {
    const auto d1 = Data(de), d2 = Data(ate);
    if (!dia || !d1 || !d2 || *d2 != *dia) return;
    const TDateTime passo = hoje - *dia;
    de = FormataData("DD/MM/AAAA", *d1 + passo);
    ate = FormataData("DD/MM/AAAA", *d2 + passo);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ChavesSelecao(const TOpcoesMercadorias& o, const std::string& dia) {
    std::vector<std::pair<std::string, std::string>> v = {{"DIA", dia}, {"Ordem", NomeOrdem(o.Ordem)}};
    for (const auto& [nome, campo] : Campos()) {
        std::string valor;
        std::visit(
            [&](auto membro) {
                const auto& x = o.*membro;
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, bool>)
                    valor = x ? "SIM" : "NAO";
                else if constexpr (std::is_same_v<T, std::string>)
                    valor = Escapar(x);
                else if constexpr (std::is_same_v<T, std::optional<long long>>)
                    valor = x ? std::to_string(*x) : "";
                else
                    valor = x ? Escapar(*x) : "";
            },
            campo);
        v.emplace_back(nome, valor);
    }
    return v;
}

TOpcoesMercadorias SelecaoDasChaves(const std::vector<std::pair<std::string, std::string>>& chaves, TDateTime hoje) {
    TOpcoesMercadorias o;
    auto achar = [&](const std::string& nome) -> const std::string* {
        for (const auto& [k, v] : chaves)
            if (IguaisSemCaixa(k, nome)) return &v;
        return nullptr;
    };
    if (const std::string* ordem = achar("Ordem"))
        o.Ordem = *ordem == "barras" ? TOrdemListagem::CodigoBar
                  : *ordem == "nome" ? TOrdemListagem::NomeMer
                                     : TOrdemListagem::CodigoRed;
    for (const auto& [nome, campo] : Campos()) {
        const std::string* valor = achar(nome);
        if (!valor) continue;
        std::visit(
            [&](auto membro) {
                auto& x = o.*membro;
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, bool>) {
                    x = *valor == "SIM";
                } else if constexpr (std::is_same_v<T, std::string>) {
                    x = Desescapar(*valor);
                } else if constexpr (std::is_same_v<T, std::optional<long long>>) {
                    x = std::nullopt;
                    if (!valor->empty() && SoNumeros(*valor) == *valor && valor->size() < 19) x = std::stoll(*valor);
                } else {
                    x = valor->empty() ? std::nullopt : std::optional<std::string>(Desescapar(*valor));
                }
            },
            campo);
    }
    const std::string* dia = achar("DIA");
    const std::optional<TDateTime> d = dia ? Data(*dia) : std::nullopt;
    Deslocar(o.edtData1, o.edtData2, d, hoje);
    Deslocar(o.edtDtC1, o.edtDtC2, d, hoje);
    return o;
}

void GuardarUltimaSelecao(const TOpcoesMercadorias& o, TDateTime dia) {
    ArquivoConfigEtq().GravarTextos(kSecaoUltimaSelecao, ChavesSelecao(o, FormataData("DD/MM/AAAA", dia)));
}

std::optional<TOpcoesMercadorias> LerUltimaSelecao(TDateTime hoje) {
    const auto chaves = ArquivoConfigEtq().Chaves(kSecaoUltimaSelecao);
    if (chaves.empty()) return std::nullopt;
    return SelecaoDasChaves(chaves, hoje);
}
