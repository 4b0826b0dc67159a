// The parameter blocks of an attach (user, password, character set, time-out)
// and of a transaction, from the lines the callers give.
#include "data/fb/FbInterno.h"

namespace fb {

IXpbBuilder* TDatabase::Impl::MontarDpb(ThrowStatusWrapper* st, bool criar, int segundos) {
    IXpbBuilder* dpb = Mestre()->getUtilInterface()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
    try {
        std::string ctype = "WIN1252";
        usuario.clear();
        for (const auto& linha : parametros) {
            auto igual = linha.find('=');
            std::string nome = Minusc(TrimEspacos(linha.substr(0, igual)));
            std::string valor = igual == std::string::npos ? "" : linha.substr(igual + 1);
            if (nome.rfind("isc_dpb_", 0) == 0) nome = nome.substr(8);
            if (nome.empty()) continue;
            if (nome == "user_name" || nome == "user") {
                usuario = TrimEspacos(valor);
                dpb->insertString(st, isc_dpb_user_name, usuario.c_str());
            } else if (nome == "password")
                dpb->insertString(st, isc_dpb_password, valor.c_str());
            else if (nome == "lc_ctype")
                ctype = TrimEspacos(valor);
            else if (nome == "sql_role_name")
                dpb->insertString(st, isc_dpb_sql_role_name, TrimEspacos(valor).c_str());
            else if (nome == "force_write")
                dpb->insertInt(st, isc_dpb_force_write, TrimEspacos(valor) == "0" ? 0 : 1);
            else
                Erro("Parâmetro de conexão desconhecido: '" + linha + "'");
        }
        std::string cs = Minusc(ctype);
        if (cs == "win1252")
            charset = kCsWin1252;
        else if (cs == "utf8")
            charset = kCsUtf8;
        else
            Erro("Conjunto de caracteres não suportado: '" + ctype + "' (use WIN1252 ou UTF8)");
        dpb->insertString(st, isc_dpb_lc_ctype, ctype.c_str());
        dpb->insertInt(st, isc_dpb_sql_dialect, 3);
        dpb->insertTag(st, isc_dpb_utf8_filename);
        if (segundos > 0 && !TDatabase::EhCaminhoLocal(caminho)) dpb->insertInt(st, isc_dpb_connect_timeout, segundos);
        if (criar) {
            dpb->insertString(st, isc_dpb_set_db_charset, "WIN1252");
            dpb->insertInt(st, isc_dpb_page_size, 8192);
        }
        return dpb;
    } catch (...) {
        dpb->dispose();
        throw;
    }
}

IXpbBuilder* MontarTpb(ThrowStatusWrapper* st, const std::vector<std::string>& parametros) {
    IXpbBuilder* tpb = Mestre()->getUtilInterface()->getXpbBuilder(st, IXpbBuilder::TPB, nullptr, 0);
    try {
        for (const auto& linha : parametros) {
            std::string p = Minusc(TrimEspacos(linha));
            if (p.rfind("isc_tpb_", 0) == 0) p = p.substr(8);
            if (p.empty()) continue;
            if (p == "read_committed")
                tpb->insertTag(st, isc_tpb_read_committed);
            else if (p == "rec_version")
                tpb->insertTag(st, isc_tpb_rec_version);
            else if (p == "no_rec_version")
                tpb->insertTag(st, isc_tpb_no_rec_version);
            else if (p == "nowait")
                tpb->insertTag(st, isc_tpb_nowait);
            else if (p == "wait")
                tpb->insertTag(st, isc_tpb_wait);
            else if (p == "concurrency")
                tpb->insertTag(st, isc_tpb_concurrency);
            else if (p == "consistency")
                tpb->insertTag(st, isc_tpb_consistency);
            else if (p == "read")
                tpb->insertTag(st, isc_tpb_read);
            else if (p == "write")
                tpb->insertTag(st, isc_tpb_write);
            else if (p.rfind("lock_timeout=", 0) == 0) {
                int s = 0;
                try {
                    s = std::stoi(p.substr(13));
                } catch (...) {
                    Erro("Parâmetro de transação inválido: '" + linha + "'");
                }
                tpb->insertInt(st, isc_tpb_lock_timeout, s);
            } else
                Erro("Parâmetro de transação desconhecido: '" + linha + "'");
        }
        return tpb;
    } catch (...) {
        tpb->dispose();
        throw;
    }
}

}  // namespace fb
