#include "goods/EtiquetasDesatualizadas.h"

#include "common/ConfigEtq.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "data/EtiquetaAtual.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"
#include "goods/FiltroMercadorias.h"

namespace {

std::string Condicao(const TConsultaEtiquetas& c) {
    TOpcoesMercadorias o;
    o.chkDesatualizada = c.desatualizadas;
    o.chkNuncaEtiquetada = c.nunca;
    std::string onde = "where (M.COD_RED>0) " + FragmentoSlot(o, kSlotEtiqueta);
    if (c.departamento) onde += " AND (M.DEP_MER = " + std::to_string(*c.departamento) + ")";
    return onde;
}

template <class F>
auto Lendo(F&& f) {
    try {
        return f();
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(MensagemEtiquetasIlegiveis(e));
    }
}

std::string Preco(const fb::TField& f) { return f.IsNull() ? std::string() : FormataValor(f.AsDecimal(), 2); }

}  // namespace

void PrepararEtiquetasAtuais(TdtmAplicativo& dtm) {
    try {
        PrepararEtiquetaAtual(dtm.dtbAplicativo);
    } catch (const fb::EFbConexao&) {
        throw;
    } catch (const fb::EEncerrando&) {
        throw;
    } catch (const std::exception&) {}
}

bool CriterioDeEtiqueta(const TOpcoesMercadorias& o) { return o.chkDesatualizada || o.chkNuncaEtiquetada; }

std::string MensagemEtiquetasIlegiveis(const std::exception& falha) {
    return "Não foi possível ler as etiquetas já impressas: " + MensagemDaFalha(falha);
}

int64_t ContarEtiquetas(fb::TDatabase& banco, fb::TTransaction& tr, const TConsultaEtiquetas& c) {
    if (!c.desatualizadas && !c.nunca) return 0;
    return Lendo([&] {
        fb::TQuery q(banco, tr);
        q.Add("select count(*) from MERCADORIAS M " + Condicao(c));
        q.Open();
        const int64_t n = q.Eof() ? 0 : q.FieldByName(q.NomesDosCampos().at(0)).AsInteger();
        q.Close();
        return n;
    });
}

int64_t ContarDesatualizadasDaLoja() {
    fb::TDatabase banco;
    banco.SetCaminho(LerConfig("PATH MERKOR"));
    banco.SetParametros(ParametrosConexaoConfig());
    if (!LerEsquemaEtiquetaAtual(banco).tabela) return 0;
    fb::TTransaction tr(banco, {"concurrency", "nowait", "read"});
    return ContarEtiquetas(banco, tr, TConsultaEtiquetas{});
}

std::vector<TEtiquetaDesatualizada> ListarEtiquetas(fb::TDatabase& banco, fb::TTransaction& tr,
                                                    const TConsultaEtiquetas& c) {
    std::vector<TEtiquetaDesatualizada> lista;
    if (!c.desatualizadas && !c.nunca) return lista;
    return Lendo([&] {
        fb::TQuery q(banco, tr);
        q.SetUnidirecional(true);
        q.Add(
            "select M.COD_RED, M.COD_BAR, M.NOM_MER, M.VLR_VEN, E.CODIGO as ETIQUETADA, E.VLR_VEN as PRECO_ETQ,"
            " E.NOME as NOME_ETQ, E.BARRAS as BARRAS_ETQ, E.HORA, E.ESTACAO, E.QUANTIDADE"
            " from MERCADORIAS M left join ETIQUETA_ATUAL E on E.CODIGO = M.COD_RED " +
            Condicao(c) + " order by M.COD_RED");
        q.Open();
        for (; !q.Eof(); q.Next()) {
            TEtiquetaDesatualizada e;
            e.codigo = q.FieldByName("COD_RED").AsInteger();
            e.barras = e.barrasAgora = q.FieldByName("COD_BAR").AsString();
            e.nome = e.nomeAgora = q.FieldByName("NOM_MER").AsString();
            e.precoAgora = FormataValor(q.FieldByName("VLR_VEN").AsDecimal(), 2);
            e.etiquetada = !q.FieldByName("ETIQUETADA").IsNull();
            if (e.etiquetada) {
                e.precoEtiqueta = Preco(q.FieldByName("PRECO_ETQ"));
                e.nomeEtiqueta = q.FieldByName("NOME_ETQ").AsString();
                e.barrasEtiqueta = q.FieldByName("BARRAS_ETQ").AsString();
                const TDateTime hora = q.FieldByName("HORA").AsDate();
                e.quando = hora > 0 ? FormataData("DD/MM/AAAA", hora) + " " + FormataData("HH:MM:SS", hora) : "";
                e.onde = q.FieldByName("ESTACAO").AsString();
                e.quantidade = q.FieldByName("QUANTIDADE").AsInteger();
            }
            lista.push_back(std::move(e));
        }
        q.Close();
        return lista;
    });
}

std::string LinhaEtiqueta(const TEtiquetaDesatualizada& e) {
    std::string t;
    for (const std::string* v : {&e.barras, &e.nome, &e.precoEtiqueta, &e.nomeEtiqueta, &e.barrasEtiqueta,
                                 &e.precoAgora, &e.nomeAgora, &e.barrasAgora, &e.quando, &e.onde})
        t += "\t" + *v;
    return std::to_string(e.codigo) + t;
}
