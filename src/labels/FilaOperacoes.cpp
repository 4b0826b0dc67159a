#include "labels/FilaOperacoes.h"

#include <algorithm>
#include <unordered_set>

#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/Tabela.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"

const char* const kMercadoriaNaoLocalizada = "Mercadoria não localizada";

const char* ColunaDaOrdem(TOrdemFila ordem) {
    switch (ordem) {
        case TOrdemFila::Codigo: return "CODIGO";
        case TOrdemFila::Barras: return "BARRAS";
        case TOrdemFila::Nome: return "NOME";
    }
    return "NOME";
}

namespace {

// A NUMERIC column as SQL wants it: point as separator, exact.
std::string NumeroDoCampo(const fb::TField& campo) { return campo.AsDecimal().ParaTexto(); }

}  // namespace

TFilaOperacoes::TFilaOperacoes(TdtmAplicativo& dtm, TTabela& tblEtiquetaRead) : dtm_(dtm), tbl_(tblEtiquetaRead) {}

void TFilaOperacoes::IncluirMercadoriaAtual() {
    const fb::TQuery& q = dtm_.qrySelect2;
    const std::string nome = q.FieldByName("Nom_Mer").AsString();
    const std::string codigo = q.FieldByName("Cod_Red").AsString();
    Incluir(codigo, {"CODIGO", codigo, "BARRAS", q.FieldByName("Cod_Bar").AsString(), "NOME", nome, "So_NOME",
                     Esquerda(nome, 80), "Estoque", NumeroDoCampo(q.FieldByName("Qtd_Est")), "VLR_VEN",
                     NumeroDoCampo(q.FieldByName("VLR_VEN")), "QUANTIDADE", "1"});
}

std::vector<std::string> TFilaOperacoes::ChavesDoCodigo(const std::string& codigo) {
    std::vector<std::string> chaves;
    const std::string digitos = SoNumeros(codigo);
    if (digitos.empty() || digitos != Trim(codigo)) return chaves;
    fb::TQuery q(dtm_.dtbAplicativo, dtm_.ibtAplicativo);
    q.Add("select uuid_to_char(rdb$db_key || x'0000000000000000') from ETIQUETAREAD where CODIGO = " + digitos);
    q.Open();
    const std::string coluna = q.NomesDosCampos().at(0);
    for (; !q.Eof(); q.Next()) chaves.push_back(q.FieldByName(coluna).AsString());
    q.Close();
    return chaves;
}

void TFilaOperacoes::Incluir(const std::string& codigo, const std::vector<std::string>& pares) {
    // Queue rows have no key of their own: the new one is the row of the code
    // that was not there before (the same code scanned twice is two rows).
    const std::vector<std::string> antes = ChavesDoCodigo(codigo);
    dtm_.INSERTFILE("EtiquetaRead", pares);
    ultimaIncluida_.clear();
    for (const std::string& chave : ChavesDoCodigo(codigo))
        if (std::find(antes.begin(), antes.end(), chave) == antes.end()) ultimaIncluida_ = chave;
}

void TFilaOperacoes::PostarPendente() {
    // The table is closed and read again after an add, which would drop a
    // count typed in the grid and not yet posted.
    if (tbl_.Active()) tbl_.Post();
}

TResultadoAdicao TFilaOperacoes::Gravar() {
    const bool gravou = dtm_.dtmCommit();
    if (!gravou) ultimaIncluida_.clear();  // rolled back
    if (tbl_.Active()) {
        tbl_.Close();
        tbl_.Open();
    }
    return gravou ? TResultadoAdicao::Incluida : TResultadoAdicao::NaoGravada;
}

TResultadoAdicao TFilaOperacoes::AdicionarPorBarras(const std::string& texto) {
    PostarPendente();
    ultimaIncluida_.clear();
    if (dtm_.SelectFile("2", "Mercadorias", "cod_bar=" + AspasSql(texto))) {
        // A code that is also a variant's barcode adds the goods.
        IncluirMercadoriaAtual();
        return Gravar();
    }
    if (!ProcessarGrades || !dtm_.SelectFile("2", "GRADES_PRODUTOS_P", "COD_BAR=" + AspasSql(texto)))
        return TResultadoAdicao::NaoLocalizada;

    // Read the variant before slot 2 is reused for its goods row.
    const fb::TQuery& q = dtm_.qrySelect2;
    const std::string nomeGrade = q.FieldByName("NOME_GRA").AsString();
    const std::string codMer = q.FieldByName("cod_mer").AsString();
    const std::string estoque = NumeroDoCampo(q.FieldByName("QTD_GRA"));
    const Decimal valorGrade = q.FieldByName("vlr_grade").AsDecimal();
    std::string preco = valorGrade > Decimal(0) ? valorGrade.ParaTexto() : "0";

    if (!dtm_.SelectFile("2", "Mercadorias", "cod_red=" + codMer))
        throw EDatabaseError("A grade de código de barras " + texto + " pertence à mercadoria " + codMer +
                             ", que não existe mais no cadastro.");
    const std::string nome = q.FieldByName("Nom_Mer").AsString();
    if (preco == "0") preco = NumeroDoCampo(q.FieldByName("vlr_ven"));
    const std::string codigo = q.FieldByName("Cod_Red").AsString();
    Incluir(codigo, {"CODIGO", codigo, "BARRAS", texto, "NOME", Esquerda(nome + " - " + nomeGrade, 70), "So_NOME",
                     Esquerda(nome, 80), "Estoque", estoque, "VLR_VEN", preco, "nro_lote", Esquerda(nomeGrade, 20),
                     "QUANTIDADE", "1"});
    return Gravar();
}

TResultadoAdicao TFilaOperacoes::AdicionarPorReferencia(const std::string& texto) {
    PostarPendente();
    ultimaIncluida_.clear();
    if (!dtm_.SelectFile("2", "Mercadorias", "ref_mer=" + AspasSql(texto))) return TResultadoAdicao::NaoLocalizada;
    IncluirMercadoriaAtual();
    return Gravar();
}

TImportacaoEstoque TFilaOperacoes::ImportarQuantidadeEstoque() {
    if (!tbl_.Active()) tbl_.Open();
    TImportacaoEstoque r;
    // One goods item's (or variant's) stock is its labels once, however many
    // times it was scanned into the queue.
    std::unordered_set<std::string> vistas;
    for (tbl_.First(); !tbl_.Eof(); tbl_.Next()) {
        tbl_.Edit();
        const Decimal estoque = tbl_.FieldByName("ESTOQUE").AsDecimal();
        if (estoque > Decimal(0)) {
            const std::string chave = tbl_.FieldByName("CODIGO").AsString() + '\x1f' +
                                      tbl_.FieldByName("BARRAS").AsString() + '\x1f' +
                                      tbl_.FieldByName("NRO_LOTE").AsString();
            if (vistas.insert(chave).second) {
                tbl_.SetCampo("QUANTIDADE", TValor::Dec(estoque));
                ++r.linhas;
            } else {
                tbl_.SetCampo("QUANTIDADE", TValor::Dec(Decimal(0)));
                ++r.repetidas;
            }
        }
        tbl_.Post();
    }
    return r;
}

std::string TextoImportacaoEstoque(const TImportacaoEstoque& i) {
    std::string texto = "Quantidade do estoque importada em " + std::to_string(i.linhas) + " linha(s).";
    if (i.repetidas > 0)
        texto += " " + std::to_string(i.repetidas) + " linha(s) repetida(s) da mesma mercadoria ficaram com 0.";
    return texto;
}

size_t TFilaOperacoes::DefinirQuantidade(int64_t codigo, const Decimal& quantidade) {
    if (!tbl_.Active()) tbl_.Open();
    size_t linhas = 0;
    for (tbl_.First(); !tbl_.Eof(); tbl_.Next()) {
        const TValor& c = tbl_.FieldByName("CODIGO");
        if (c.IsNull() || c.AsInteger() != codigo) continue;
        tbl_.SetCampo("QUANTIDADE", TValor::Dec(quantidade));
        tbl_.Post();
        ++linhas;
    }
    return linhas;
}

void TFilaOperacoes::Ordenar(TOrdemFila ordem) { tbl_.SetOrdenacao(ColunaDaOrdem(ordem)); }

bool TFilaOperacoes::Procurar(TOrdemFila coluna, const std::string& texto) {
    if (!tbl_.Active()) return false;
    return tbl_.Locate(ColunaDaOrdem(coluna), texto, /*semCaixa=*/true, /*parcial=*/true);
}
