#include "data/fb/MensagensFb.h"

#include <ibase.h>

#include <algorithm>
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

std::string Traduzir(const TStatusLido& s, size_t i);

}  // namespace

std::string TraduzirStatusFb(const intptr_t* status, const std::string& original) {
    const TStatusLido s = Ler(status);
    // The first code known here speaks for the failure: an SQL error wraps the
    // real reason (a value too long, a conflict) in codes of its own.
    for (size_t i = 0; i < s.itens.size(); ++i) {
        std::string texto = Traduzir(s, i);
        if (!texto.empty()) return texto;
    }
    // Unknown here: the codes in Portuguese words, then the server's own text.
    const intptr_t gds = s.itens.empty() ? 0 : s.itens.front().codigo;
    const long sqlcode = status ? isc_sqlcode(status) : 0;
    return "Erro do banco de dados (código SQL " + std::to_string(sqlcode) + ", GDS " + std::to_string(gds) + ")" +
           (original.empty() ? std::string() : ": " + original);
}

namespace {

std::string Traduzir(const TStatusLido& s, size_t i) {
    auto argumento = [&](size_t n) {
        return n < s.itens[i].argumentos.size() ? s.itens[i].argumentos[n] : std::string();
    };
    const std::string sistema = s.erroSistema ? ": " + MensagemErroSistema(s.erroSistema) : std::string();
    switch (s.itens[i].codigo) {
        case isc_io_error: {
            const bool criar = argumento(0).find("O_CREAT") != std::string::npos || s.Tem(isc_io_create_err);
            return std::string(criar ? "Não foi possível criar" : "Não foi possível abrir") +
                   " o arquivo do banco de dados \"" + argumento(1) + "\"" + sistema;
        }
        case isc_network_error:
            return "Não foi possível conectar ao servidor de banco de dados " + argumento(0) +
                   (!sistema.empty() ? sistema
                    : s.Tem(isc_net_connect_err)
                        ? ": o servidor não aceitou a conexão (desligado, porta errada ou bloqueada)"
                        : std::string());
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_conn_lost:
        case isc_lost_db_connection:
        case isc_att_shutdown: return "A conexão com o servidor de banco de dados foi encerrada";
        case isc_login: return "Usuário ou senha do banco de dados não conferem";
        case isc_bad_db_format: return "O arquivo \"" + argumento(0) + "\" não é um banco de dados Firebird válido";
        case isc_unavailable: return "Servidor de banco de dados indisponível";
        case isc_shutdown:
        case isc_shutinprog: return "O banco de dados está fechado para manutenção";
        case isc_lock_conflict:
        case isc_deadlock:
        case isc_update_conflict:
            return "O registro está sendo alterado em outra estação (conflito de atualização); tente novamente";
        case isc_no_priv: return "O usuário do banco de dados não tem permissão para esta operação";
        case isc_unique_key_violation:
        case isc_no_dup: return "Registro duplicado: já existe um registro com esta chave";
        case isc_foreign_key: return "O registro está ligado a outros registros e não pode ser alterado ou excluído";
        case isc_not_valid: return "Valor não aceito pela coluna " + argumento(0);
        case isc_arith_except:
        case isc_string_truncation:
            return s.Tem(isc_string_truncation) ? "Texto maior do que a coluna do banco de dados comporta"
                                                : "Valor numérico fora da faixa da coluna do banco de dados";
        case isc_cancelled: return "Operação no banco de dados cancelada";
        case isc_db_corrupt: return "O banco de dados está danificado";
        case isc_sys_request: return "Erro do sistema ao acessar o banco de dados" + sistema;
        default: return "";
    }
}

}  // namespace

}  // namespace fb
