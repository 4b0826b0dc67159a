#include "labels/Mercadoria.h"

#include "common/Win1252.h"
#include "data/Tabela.h"
#include "data/fb/FbCliente.h"

std::vector<std::string> LinhasSelectMercadorias() {
    std::vector<std::string> l(19);
    l[0] = "Select vlr_ven_3, custo_ope, aplicacao2, similares, ";
    l[1] = "COD_RED, COD_BAR, NOM_MER, ICM_PROG, QTD_EST, UNI_MER,";
    l[2] = "VLR_VEN, REF_MER, LOC_MER, VLR_COM, VLR_CUS, APLICACAO,";
    l[3] = "GARANTIA, VALORLETRAS, APE_CUP, DATA_CAD, VLR_VEN_2";
    l[4] = " from Mercadorias";
    return l;
}

bool TBuscaMercadoriasMemoria::Buscar(const std::string& codigo, TMercadoria& destino) {
    const auto i = linhas.find(codigo);
    if (i == linhas.end()) return false;
    destino = i->second;
    return true;
}

namespace {

// The goods row the query stands on.
void LerMercadoria(const fb::TQuery& qry_, TMercadoria& m) {
    auto t = [&](const char* c) { return qry_.FieldByName(c).AsString(); };
    auto d = [&](const char* c) { return qry_.FieldByName(c).AsDecimal(); };
    m.COD_RED = qry_.FieldByName("COD_RED").AsInteger();
    m.COD_BAR = t("COD_BAR");
    m.NOM_MER = t("NOM_MER");
    m.APE_CUP = t("APE_CUP");
    m.REF_MER = t("REF_MER");
    m.LOC_MER = t("LOC_MER");
    m.UNI_MER = t("UNI_MER");
    m.ICM_PROG = t("ICM_PROG");
    m.APLICACAO = t("APLICACAO");
    m.APLICACAO2 = t("APLICACAO2");
    m.SIMILARES = t("SIMILARES");
    m.VALORLETRAS = t("VALORLETRAS");
    m.VLR_VEN = d("VLR_VEN");
    m.VLR_VEN_2 = d("VLR_VEN_2");
    m.VLR_VEN_3 = d("VLR_VEN_3");
    m.VLR_COM = d("VLR_COM");
    m.VLR_CUS = d("VLR_CUS");
    m.CUSTO_OPE = d("CUSTO_OPE");
    m.QTD_EST = d("QTD_EST");
    m.GARANTIA = qry_.FieldByName("GARANTIA").AsInteger();
    const fb::TField cad = qry_.FieldByName("DATA_CAD");
    m.DATA_CAD = cad.IsNull() ? std::nullopt : std::optional<TDateTime>(cad.AsDate());
}

// The value "cod_red=0" + code selects, when the code is a plain integer
// text (the queue's CODIGO is an INTEGER column: digits, a minus sign, or
// empty for NULL). Anything else goes by the goods statement itself.
std::optional<int64_t> ValorDoCodigo(const std::string& codigo) {
    if (codigo.empty()) return 0;
    size_t i = codigo[0] == '-' ? 1 : 0;
    if (i == codigo.size() || codigo.size() - i > 18) return std::nullopt;
    for (size_t k = i; k < codigo.size(); ++k)
        if (codigo[k] < '0' || codigo[k] > '9') return std::nullopt;
    return std::stoll(codigo);  // "0-5" is 0 - 5
}

}  // namespace

TBuscaMercadoriasBanco::TBuscaMercadoriasBanco(fb::TQuery& tblMercadorias) : qry_(tblMercadorias) {}
TBuscaMercadoriasBanco::~TBuscaMercadoriasBanco() = default;

bool TBuscaMercadoriasBanco::Buscar(const std::string& codigo, TMercadoria& m) {
    // The goods statement names the row looked up (line 10), as the layouts know it.
    std::vector<std::string> linhas = LinhasSelectMercadorias();
    linhas[10] = "where cod_red=0" + codigo;
    qry_.Clear();
    for (const auto& l : linhas) qry_.Add(l);
    const auto a = antecipadas_.find(codigo);
    if (a != antecipadas_.end()) {
        // Read already with its block: nothing to ask the server.
        if (!a->second) return false;
        m = *a->second;
        return true;
    }
    qry_.Open();
    if (qry_.Eof()) return false;
    LerMercadoria(qry_, m);
    return true;
}

void TBuscaMercadoriasBanco::Antecipar(const std::vector<std::string>& codigos) {
    antecipadas_.clear();
    std::vector<std::pair<std::string, int64_t>> valores;
    for (const std::string& c : codigos) {
        if (valores.size() == kCodigosPorConsulta) break;
        if (antecipadas_.count(c)) continue;
        if (const auto v = ValorDoCodigo(c)) {
            antecipadas_[c] = std::nullopt;
            valores.emplace_back(c, *v);
        }
    }
    if (valores.empty()) return;
    if (!lote_) {
        // The goods statement's columns, one parameter per code; the same
        // prepared statement serves every block of the print.
        lote_ = std::make_unique<fb::TQuery>(qry_.Banco(), qry_.Transacao());
        lote_->SetUnidirecional(true);
        std::vector<std::string> linhas = LinhasSelectMercadorias();
        std::string lista = "where cod_red in (?";
        for (size_t i = 1; i < kCodigosPorConsulta; ++i) lista += ",?";
        linhas[10] = lista + ")";
        for (const auto& l : linhas) lote_->Add(l);
    }
    // Unused places repeat the last code.
    for (size_t i = 0; i < kCodigosPorConsulta; ++i)
        lote_->ParamInteiro(static_cast<int>(i), valores[std::min(i, valores.size() - 1)].second);
    std::unordered_map<int64_t, TMercadoria> achadas;
    lote_->Open();
    for (; !lote_->Eof(); lote_->Next()) {
        TMercadoria m;
        LerMercadoria(*lote_, m);
        achadas.emplace(m.COD_RED, std::move(m));
    }
    lote_->Close();
    for (const auto& [codigo, valor] : valores) {
        const auto i = achadas.find(valor);
        if (i != achadas.end()) antecipadas_[codigo] = i->second;
    }
}

TLinhaFila LerLinhaFila(const TTabela& fila) {
    TLinhaFila r;
    r.CODIGO = fila.FieldByName("CODIGO").AsString();
    r.BARRAS = fila.FieldByName("BARRAS").AsString();
    r.NOME = fila.FieldByName("NOME").AsString();
    if (fila.IndiceCampo("SO_NOME") >= 0) r.SO_NOME = fila.FieldByName("SO_NOME").AsString();
    r.NRO_LOTE = fila.FieldByName("NRO_LOTE").AsString();
    r.VLR_VEN = fila.FieldByName("VLR_VEN").AsDecimal();
    r.QUANTIDADE = fila.FieldByName("QUANTIDADE").AsDecimal();
    r.ESTOQUE = fila.FieldByName("ESTOQUE").AsDecimal();
    return r;
}

int64_t ContagemEtiquetas(const Decimal& q) {
    const int64_t inteiro = q.ParteInteira();
    Decimal resto = q - Decimal(inteiro);  // same sign as q, |resto| < 1
    const Decimal meio = Decimal::DeUnidades(q.Unidades() < 0 ? -5 : 5, 1);
    if (q.Unidades() >= 0) {
        if (resto > meio || (resto == meio && inteiro % 2 != 0)) return inteiro + 1;
    } else {
        if (resto < meio || (resto == meio && inteiro % 2 != 0)) return inteiro - 1;
    }
    return inteiro;
}

std::string SqlEtiquetasDaQuantidade(const std::string& q) {
    const std::string inteiro = "floor(" + q + ")";
    const std::string resto = "(" + q + " - " + inteiro + ")";
    return inteiro + " + case when " + resto + " > 0.5 then 1 when " + resto + " = 0.5 and mod(" + inteiro +
           ", 2) = 1 then 1 else 0 end";
}

std::string Trecho(std::string_view texto, int a, int b) {
    if (a < 1) a = 1;
    if (b < a) return "";
    std::string r;
    size_t i = 0;
    int n = 0;
    while (i < texto.size()) {
        size_t ini = i;
        char32_t cp;
        if (!Utf8::Proximo(texto, i, cp)) ++i;
        ++n;
        if (n > b) break;
        if (n >= a) r.append(texto.substr(ini, i - ini));
    }
    return r;
}
