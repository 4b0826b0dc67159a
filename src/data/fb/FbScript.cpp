// Scripts: statements split at ";" (quotes and comments respected) and run
// one by one or all in one transaction.
#include "data/fb/FbInterno.h"

namespace fb {

void TDatabase::Impl::ExecutarJuntos(const std::vector<std::string>& comandos) {
    Anexar(false);
    TStatus st;
    ITransaction* tra = ChamarNo(this, [&] { return att->startTransaction(st.w(), 0, nullptr); });
    try {
        for (const auto& cmd : comandos) {
            std::string texto = ParaCliente(cmd, charset);
            Chamar([&] {
                att->execute(st.w(), tra, 0, texto.c_str(), SQL_DIALECT_V6, nullptr, nullptr, nullptr, nullptr);
            });
        }
        Chamar([&] { tra->commit(st.w()); });
    } catch (const EFbErro& e) {
        Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* s) { t->rollback(s); });
        if (e.ConexaoPerdida()) Perdida(e);
        throw;
    } catch (...) {
        Encerrar(tra, [](ITransaction* t, ThrowStatusWrapper* s) { t->rollback(s); });
        throw;
    }
}

void TDatabase::ExecutarImediato(std::string_view sql) { impl_->ExecutarJuntos({std::string(sql)}); }

std::vector<std::string> TDatabase::DividirScript(std::string_view s) {
    std::vector<std::string> r;
    std::string atual;
    size_t i = 0;
    auto fechar = [&] {
        std::string t = TrimEspacos(atual);
        if (!t.empty()) r.push_back(t);
        atual.clear();
    };
    while (i < s.size()) {
        char c = s[i];
        if (c == '\'' || c == '"') {
            size_t fim = i + 1;
            while (fim < s.size()) {
                if (s[fim] == c) {
                    if (fim + 1 < s.size() && s[fim + 1] == c) {
                        fim += 2;
                        continue;
                    }
                    break;
                }
                ++fim;
            }
            atual.append(s.substr(i, fim + 1 - i));
            i = fim + 1;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            auto fim = s.find("*/", i + 2);
            i = fim == std::string_view::npos ? s.size() : fim + 2;
            atual += ' ';
        } else if (c == ';') {
            fechar();
            ++i;
        } else {
            atual += c;
            ++i;
        }
    }
    fechar();
    return r;
}

void TDatabase::ExecutarScript(std::string_view script, bool umaTransacao) {
    const auto comandos = DividirScript(script);
    if (umaTransacao) {
        impl_->ExecutarJuntos(comandos);
        return;
    }
    for (const auto& cmd : comandos) ExecutarImediato(cmd);
}

}  // namespace fb
