#include "data/fb/MensagensFb.h"

#include <ibase.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <vector>

#include "common/ErroSistema.h"

namespace fb {

namespace {

struct TItem {
    intptr_t codigo;
    std::vector<std::string> argumentos;
};

struct TStatusLido {
    std::vector<TItem> itens;
    int erroSistema = 0;
    bool Tem(intptr_t codigo) const {
        return std::any_of(itens.begin(), itens.end(), [&](const TItem& i) { return i.codigo == codigo; });
    }
};

TStatusLido Ler(const intptr_t* v) {
    TStatusLido r;
    for (size_t i = 0; v && v[i] != isc_arg_end;) {
        switch (v[i]) {
            case isc_arg_gds:
                r.itens.push_back({v[i + 1], {}});
                i += 2;
                break;
            // NOLINTBEGIN(performance-no-int-to-ptr): the status vector carries its texts as intptr_t
            case isc_arg_string:
                if (!r.itens.empty() && v[i + 1])
                    r.itens.back().argumentos.emplace_back(reinterpret_cast<const char*>(v[i + 1]));
                i += 2;
                break;
            case isc_arg_cstring:
                if (!r.itens.empty() && v[i + 2])
                    r.itens.back().argumentos.emplace_back(reinterpret_cast<const char*>(v[i + 2]),
                                                           static_cast<size_t>(v[i + 1]));
                i += 3;
                break;
            // NOLINTEND(performance-no-int-to-ptr)
            case isc_arg_number:
                if (!r.itens.empty()) r.itens.back().argumentos.push_back(std::to_string(v[i + 1]));
                i += 2;
                break;
            case isc_arg_unix:
                if (!r.erroSistema) r.erroSistema = static_cast<int>(v[i + 1]);
                i += 2;
                break;
            default: i += 2; break;  // interpreted texts, SQLSTATE, Windows codes
        }
    }
    return r;
}

// With `suporte`, the sentence is followed by the library's text on a line of its own.
std::string Traduzir(const TStatusLido& s, size_t i, std::string_view sql, bool& suporte);

}  // namespace

std::string TraduzirStatusFb(const intptr_t* status, const std::string& original, std::string_view sql) {
    const TStatusLido s = Ler(status);
    auto comSuporte = [&](std::string texto) { return original.empty() ? texto : texto + "\n" + original; };
    // The first code known here speaks for the failure: an SQL error wraps the
    // real reason (a value too long, a conflict) in codes of its own.
    for (size_t i = 0; i < s.itens.size(); ++i) {
        bool suporte = true;
        std::string texto = Traduzir(s, i, sql, suporte);
        if (!texto.empty()) return suporte ? comSuporte(std::move(texto)) : texto;
    }
    // Unknown here: the codes in Portuguese words, then the server's own text.
    const intptr_t gds = s.itens.empty() ? 0 : s.itens.front().codigo;
    const long sqlcode = status ? isc_sqlcode(status) : 0;
    return comSuporte("Erro do banco de dados (código SQL " + std::to_string(sqlcode) + ", GDS " + std::to_string(gds) +
                      ").");
}

namespace {

std::string Maiusculo(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool Identificador(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// The words of a statement, upper-cased; quoted texts and punctuation apart.
std::vector<std::string> Palavras(std::string_view sql) {
    std::vector<std::string> r;
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'') {
            const size_t fim = sql.find('\'', i + 1);
            i = fim == std::string_view::npos ? sql.size() : fim + 1;
            r.emplace_back("'");
        } else if (c == '"') {
            const size_t fim = sql.find('"', i + 1);
            r.emplace_back(sql.substr(i + 1, (fim == std::string_view::npos ? sql.size() : fim) - i - 1));
            i = fim == std::string_view::npos ? sql.size() : fim + 1;
        } else if (Identificador(c)) {
            size_t fim = i;
            while (fim < sql.size() && Identificador(sql[fim])) ++fim;
            r.push_back(Maiusculo(sql.substr(i, fim - i)));
            i = fim;
        } else {
            if (!std::isspace(static_cast<unsigned char>(c))) r.emplace_back(1, c);
            ++i;
        }
    }
    return r;
}

}  // namespace

std::string TabelaDaColuna(std::string_view sql, std::string_view coluna) {
    const std::string nome = Maiusculo(coluna);
    const size_t ponto = nome.find('.');
    const std::string apelido = ponto == std::string::npos ? std::string() : nome.substr(0, ponto);
    static const char* const kAntes[] = {"FROM", "JOIN", "INTO", "UPDATE", "TABLE"};
    static const char* const kNaoApelido[] = {"WHERE", "SET",   "VALUES", "ORDER", "GROUP", "JOIN",   "LEFT",
                                              "RIGHT", "INNER", "ON",     "UNION", "AS",    "FULL",   "HAVING",
                                              "ROWS",  "PLAN",  "ADD",    "ALTER", "DROP",  "NATURAL"};
    const std::vector<std::string> p = Palavras(sql);
    std::vector<std::string> tabelas;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        if (std::find(std::begin(kAntes), std::end(kAntes), p[i]) == std::end(kAntes)) continue;
        const std::string& tabela = p[i + 1];
        if (tabela.empty() || !Identificador(tabela[0]) || tabela.rfind("RDB$", 0) == 0) continue;
        size_t j = i + 2;
        if (j < p.size() && p[j] == "AS") ++j;
        const bool temApelido =
            j < p.size() && !p[j].empty() && Identificador(p[j][0]) &&
            std::find(std::begin(kNaoApelido), std::end(kNaoApelido), p[j]) == std::end(kNaoApelido);
        if (!apelido.empty() && (apelido == tabela || (temApelido && apelido == p[j]))) return tabela;
        if (std::find(tabelas.begin(), tabelas.end(), tabela) == tabelas.end()) tabelas.push_back(tabela);
    }
    return apelido.empty() && tabelas.size() == 1 ? tabelas.front() : std::string();
}

namespace {

// "TABLE" and the other kinds of object the engine names, in Portuguese.
std::string TipoDeObjeto(const std::string& tipo) {
    const std::string t = Maiusculo(tipo);
    if (t == "TABLE") return "a tabela";
    if (t == "VIEW") return "a visão";
    if (t == "PROCEDURE") return "o procedimento";
    if (t == "GENERATOR" || t == "SEQUENCE") return "o gerador";
    if (t == "COLUMN") return "a coluna";
    if (t == "DATABASE") return "o banco de dados";
    return "o objeto";
}

std::string Traduzir(const TStatusLido& s, size_t i, std::string_view sql, bool& suporte) {
    auto argumento = [&](size_t n) {
        return n < s.itens[i].argumentos.size() ? s.itens[i].argumentos[n] : std::string();
    };
    // The argument of the item that follows (the engine names the object there).
    auto seguinte = [&](size_t n) {
        return i + 1 < s.itens.size() && n < s.itens[i + 1].argumentos.size() ? s.itens[i + 1].argumentos[n]
                                                                              : std::string();
    };
    const std::string sistema = s.erroSistema ? ": " + MensagemErroSistema(s.erroSistema) : std::string();
    switch (s.itens[i].codigo) {
        case isc_dsql_field_err: {
            const std::string coluna = seguinte(0);
            if (coluna.empty()) return "Uma coluna do comando não existe no banco de dados";
            const size_t ponto = coluna.find('.');
            const std::string nome = ponto == std::string::npos ? coluna : coluna.substr(ponto + 1);
            const std::string tabela = TabelaDaColuna(sql, coluna);
            return "A coluna " + nome +
                   (tabela.empty() ? " não existe no banco de dados"
                                   : " não existe na tabela " + tabela + " do banco de dados");
        }
        case isc_dsql_relation_err: {
            const std::string tabela = seguinte(0);
            return tabela.empty() ? std::string("Uma tabela do comando não existe no banco de dados")
                                  : "A tabela " + tabela + " não existe no banco de dados";
        }
        case isc_dsql_procedure_err: {
            const std::string nome = seguinte(0);
            return "O procedimento " + nome + " não existe no banco de dados";
        }
        case isc_convert_error:
            return "O valor \"" + argumento(0) + "\" não pôde ser convertido para o tipo da coluna do banco de dados";
        case isc_no_priv: {
            // "no permission for INSERT access to TABLE ETIQUETALISTA"
            const std::string acesso = argumento(0), objeto = argumento(2);
            if (objeto.empty()) return "O usuário do banco de dados não tem permissão para esta operação";
            return "O usuário do banco de dados não tem permissão" + (acesso.empty() ? "" : " de " + acesso) + " n" +
                   TipoDeObjeto(argumento(1)) + " " + objeto +
                   ": peça ao administrador do banco de dados que a conceda";
        }
        case isc_io_error: {
            suporte = false;
            const bool criar = argumento(0).find("O_CREAT") != std::string::npos || s.Tem(isc_io_create_err);
            return std::string(criar ? "Não foi possível criar" : "Não foi possível abrir") +
                   " o arquivo do banco de dados \"" + argumento(1) + "\"" + sistema;
        }
        case isc_network_error:
            suporte = false;
            return "Não foi possível conectar ao servidor de banco de dados " + argumento(0) +
                   (!sistema.empty() ? sistema
                    : s.Tem(isc_net_connect_err)
                        ? ": o servidor não aceitou a conexão (desligado, porta errada ou bloqueada)"
                        : std::string());
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_conn_lost:
        case isc_lost_db_connection:
        case isc_att_shutdown: suporte = false; return "A conexão com o servidor de banco de dados foi encerrada";
        case isc_login: suporte = false; return "Usuário ou senha do banco de dados não conferem";
        case isc_bad_db_format:
            suporte = false;
            return "O arquivo \"" + argumento(0) + "\" não é um banco de dados Firebird válido";
        case isc_unavailable: suporte = false; return "Servidor de banco de dados indisponível";
        case isc_shutdown:
        case isc_shutinprog: suporte = false; return "O banco de dados está fechado para manutenção";
        case isc_lock_conflict:
        case isc_deadlock:
        case isc_update_conflict:
            return "O registro está sendo alterado em outra estação (conflito de atualização); tente novamente";
        case isc_unique_key_violation:
        case isc_no_dup: return "Registro duplicado: já existe um registro com esta chave";
        case isc_foreign_key: return "O registro está ligado a outros registros e não pode ser alterado ou excluído";
        case isc_not_valid: return "Valor não aceito pela coluna " + argumento(0);
        case isc_arith_except:
        case isc_string_truncation: {
            if (!s.Tem(isc_string_truncation)) return "Valor numérico fora da faixa da coluna do banco de dados";
            std::string texto = "Texto maior do que a coluna do banco de dados comporta";
            // "expected length 30, actual 31"
            for (const TItem& item : s.itens)
                if (item.codigo == isc_trunc_limits && item.argumentos.size() == 2)
                    texto += " (cabem " + item.argumentos[0] + " caracteres, o texto tem " + item.argumentos[1] + ")";
            return texto;
        }
        case isc_cancelled: return "Operação no banco de dados cancelada";
        case isc_db_corrupt: return "O banco de dados está danificado";
        case isc_sys_request: return "Erro do sistema ao acessar o banco de dados" + sistema;
        default: return "";
    }
}

}  // namespace

}  // namespace fb
