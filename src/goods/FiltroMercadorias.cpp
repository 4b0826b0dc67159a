#include "goods/FiltroMercadorias.h"

#include <algorithm>
#include <set>

#include "common/Excecoes.h"
#include "common/TextoRecusado.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"

namespace {

const char* const kFixas[9] = {
    "select m.lucro,m.lucro2,m.lucro3, ",
    "M.COD_RED,M.NOM_MER,M.REF_MER,M.COD_BAR,M.DEP_MER,",
    "M.VLR_VEN,M.VLR_VEN_2,M.VLR_VEN_3,M.QTD_EST, m.aplicacao, ",
    "M.QTD_EST_2,M.QTD_MIN,M.COD_FOR,M.UNI_MER,M.PRO_ATIVO,",
    "M.VLR_CUS,M.VLR_COM,M.VALORLETRAS,M.LOC_MER,",
    "M.ICM_PROG,M.DATA_ULTCOM,DATA_ULTVEN,M.GARANTIA,",
    "M.COD_ANT,M.APE_CUP,M.CLAS_FISC,M.SIT_TRIB,M.DIF_ICM,",
    "M.ALIQ_ICMS, M.COD_NCM, M.ICM_PROG ,M.CUSTO_OPE ",
    "from MERCADORIAS M where( M.COD_RED>0)",
};

// Lengths of the columns the text criteria are compared with: a longer text
// matches nothing (and a very long one is no SQL statement).
constexpr size_t kTamanhoCodBar = 30;    // MERCADORIAS.COD_BAR
constexpr size_t kTamanhoNomMer = 50;    // MERCADORIAS.NOM_MER
constexpr size_t kTamanhoRefMer = 30;    // MERCADORIAS.REF_MER
constexpr size_t kTamanhoLocMer = 10;    // MERCADORIAS.LOC_MER
constexpr size_t kTamanhoNomDep = 40;    // DEPARTAMENTOS.NOM_DEP
constexpr size_t kTamanhoNomSetor = 30;  // DEPARTAMENTOS.NOM_SETOR

// Letters a to z upper-cased, every other character left as it is.
std::string LetrasMaiusculas(std::string_view texto) {
    std::string r(texto);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return r;
}

std::string ChaveOuVazio(const std::optional<long long>& chave) {
    return chave ? std::to_string(*chave) : std::string();
}

std::string DataDaInstrucao(const std::string& data) { return DataAmericana(data); }

bool Branco(unsigned char c) { return c <= ' ' || c == 0x7F; }

std::string SemBrancosNasPontas(std::string_view s) {
    size_t i = 0, f = s.size();
    while (i < f && Branco(static_cast<unsigned char>(s[i]))) ++i;
    while (f > i && Branco(static_cast<unsigned char>(s[f - 1]))) --f;
    return std::string(s.substr(i, f - i));
}

// Codes and invoice numbers are INTEGER columns: a number beyond them finds
// nothing, and one beyond 64 bits is no SQL number at all.
void ExigirInteiro(const std::string& valor, const char* campo) {
    if (!EhNumeroInteiro(valor))
        throw Exception(std::string("O campo \"") + campo + "\" aceita apenas um número inteiro; '" + valor +
                        "' não serve.");
    const bool negativo = valor[0] == '-';
    std::string digitos = valor.substr(negativo ? 1 : 0);
    digitos.erase(0, std::min(digitos.find_first_not_of('0'), digitos.size() - 1));
    const std::string limite = negativo ? "2147483648" : "2147483647";
    if (digitos.size() > limite.size() || (digitos.size() == limite.size() && digitos > limite))
        throw Exception(std::string("O campo \"") + campo + "\" aceita números de -2147483648 a 2147483647; '" + valor +
                        "' está fora da faixa.");
}

// What a text criterion may hold: characters the shop database stores
// (Windows-1252), no control characters, no more than its column's length.
// Otherwise the criterion would match something else or break the statement.
std::string ProblemaNoTexto(std::string_view texto, size_t maximo) {
    std::string problema = Win1252::ProblemaNoTexto(texto);
    if (!problema.empty()) return problema;
    const size_t n = Comprimento(texto);
    if (n > maximo)
        return "tem " + std::to_string(n) + " caracteres; o campo guarda no máximo " + std::to_string(maximo);
    return "";
}

void ExigirTexto(const std::string& valor, const char* campo, size_t maximo) {
    const std::string problema = ProblemaNoTexto(valor, maximo);
    if (!problema.empty()) throw Exception(std::string("O campo \"") + campo + "\" " + problema + ".");
}

void ExigirEscolha(bool escolhido, const char* opcao) {
    if (!escolhido)
        throw Exception(std::string("A opção \"") + opcao + "\" está marcada, mas nada foi escolhido na lista.");
}

void ExigirData(const std::string& valor, const char* opcao) {
    TDateTime data;
    try {
        data = StrToDate(valor);
    } catch (const EConvertError&) {
        throw Exception(std::string("A opção \"") + opcao + "\" está marcada, mas '" + valor +
                        "' não é uma data válida (DD/MM/AAAA).");
    }
    int ano, mes, dia;
    DecodeDate(data, ano, mes, dia);
    if (ano < 1 || ano > 9999)
        throw Exception(std::string("A opção \"") + opcao + "\" está marcada, mas '" + valor +
                        "' está fora das datas que o banco de dados guarda (01/01/0001 a 31/12/9999).");
}

std::string SemZerosAEsquerda(std::string_view digitos) {
    size_t i = 0;
    while (i + 1 < digitos.size() && digitos[i] == '0') ++i;
    return std::string(digitos.substr(i));
}

int CompararNumeros(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

bool EhNumeroInteiro(std::string_view t) {
    size_t i = (!t.empty() && t[0] == '-') ? 1 : 0;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return false;
    return true;
}

std::vector<std::string> SQLMercadoriasInicial() {
    std::vector<std::string> l(kLinhasMercadorias);
    for (size_t i = 0; i < 9; ++i) l[i] = kFixas[i];
    l[kSlotOrdem] = "ORDER BY COD_RED ";
    return l;
}

void ValidarOpcoes(const TOpcoesMercadorias& o) {
    if (o.chkCodRed) {
        ExigirInteiro(o.edtCod1, "Código reduzido (de)");
        ExigirInteiro(o.edtCod2, "Código reduzido (até)");
    }
    if (o.chkNNota) ExigirInteiro(o.edtNNota, "Numero da nota de compra");
    if (o.chkDepartamento) ExigirEscolha(o.edtDepartamento.has_value(), "Departamento ( exato )");
    if (o.chkFornecedor) ExigirEscolha(o.edtFornecedor.has_value(), "Fornecedor");
    if (o.chksetor) ExigirEscolha(o.edtSetor.has_value(), "Setor");
    if (o.chkPiscofins) ExigirEscolha(o.edtPis.has_value(), "Tributação de PIS e COFINS");
    if (o.chkICms) ExigirEscolha(o.edtICMS.has_value(), "Tributação de ICMS");
    if (o.chkDataEmi) {
        ExigirData(o.edtData1, "Data da alteracão de preços");
        ExigirData(o.edtData2, "Data da alteracão de preços");
    }
    if (o.chkDataCompra) {
        ExigirData(o.edtDtC1, "Data de emissão da compra");
        ExigirData(o.edtDtC2, "Data de emissão da compra");
    }
    if (o.chkBarras) ExigirTexto(o.edtcodbarras, "Código de barras igual a", kTamanhoCodBar);
    if (o.chkDiferente) ExigirTexto(o.edtDiferente, "Diferente de", kTamanhoCodBar);
    if (o.chkNome) ExigirTexto(o.edtNome, "Nome do produto", kTamanhoNomMer);
    if (o.chkReferencia) ExigirTexto(o.edtReferencia, "Referência", kTamanhoRefMer);
    if (o.chkLocaliz) ExigirTexto(o.edtLocaliz, "Localização", kTamanhoLocMer);
    if (o.chkDepartComposta) ExigirTexto(o.edtNomeDepart, "Departamento ( composto )", kTamanhoNomDep);
    if (o.chksetor && o.edtSetor) ExigirTexto(*o.edtSetor, "Setor", kTamanhoNomSetor);
    if (o.chkListaCodBar) {
        const std::vector<std::string> codigos = LinhasDaLista(o.memoLista);
        for (size_t i = 0; i < codigos.size(); ++i) {
            const std::string problema = ProblemaNoTexto(codigos[i], kTamanhoCodBar);
            if (!problema.empty())
                throw Exception("A linha " + std::to_string(i + 1) + " da listagem de códigos de barras " + problema +
                                ": confira o arquivo.");
        }
    }
    if (o.chkListaCodBar && ListaCodigosBarras(o.memoLista).empty())
        throw Exception(
            "A opção \"Código de barras ( por listagem )\" está marcada, mas a listagem não tem nenhum código.");
}

void ValidarListaNumerica(std::string_view memo) {
    const std::vector<std::string> linhas = LinhasDaLista(memo);
    for (size_t i = 0; i < linhas.size(); ++i) {
        const std::string& codigo = linhas[i];
        std::string problema = ProblemaNoTexto(codigo, kTamanhoCodBar);
        if (problema.empty() && SoNumeros(codigo) != codigo)
            problema =
                "tem " + Citacao(codigo) + ", que não é um número (um código de barras por linha, só algarismos)";
        if (!problema.empty())
            throw Exception("A linha " + std::to_string(i + 1) + " da listagem de códigos de barras " + problema +
                            ": confira o arquivo.");
    }
}

std::vector<std::string> LinhasDaLista(std::string_view memo) {
    std::vector<std::string> linhas;
    size_t inicio = 0;
    while (inicio <= memo.size()) {
        size_t fim = memo.find('\n', inicio);
        if (fim == std::string_view::npos) fim = memo.size();
        linhas.push_back(SemBrancosNasPontas(memo.substr(inicio, fim - inicio)));
        inicio = fim + 1;
    }
    return linhas;
}

std::vector<std::string> CodigosDaLista(std::string_view memo) {
    std::vector<std::string> codigos;
    std::set<std::string> vistos;
    for (std::string& linha : LinhasDaLista(memo))
        if (!linha.empty() && vistos.insert(linha).second) codigos.push_back(std::move(linha));
    return codigos;
}

std::string ListaCodigosBarras(std::string_view memo) {
    std::string lista;
    for (const std::string& linha : LinhasDaLista(memo))
        if (!linha.empty()) lista += (lista.empty() ? "(cod_bar=" : " or (cod_bar=") + AspasSql(linha) + ")";
    return lista.empty() ? std::string() : "and (" + lista + ")";
}

std::string FragmentoSlot(const TOpcoesMercadorias& o, size_t slot) {
    switch (slot) {
        case 9: return o.chkCodRed ? "AND (M.cod_red>=" + o.edtCod1 + ")" + "AND (M.cod_red<=" + o.edtCod2 + ")" : "";
        case 10: return o.chkBarras ? "AND (M.COD_BAR Like " + AspasSql(o.edtcodbarras + "%") + ")" : "";
        case 11: return o.chkDiferente ? "AND (M.COD_BAR <> " + AspasSql(o.edtDiferente) + ")" : "";
        case 12:
            return o.chkNome ? "AND (upper(M.NOM_MER) Like " + AspasSql(LetrasMaiusculas(o.edtNome) + "%") + ")" : "";
        case 13: return o.chkDepartamento ? "AND (M.Dep_MER =" + ChaveOuVazio(o.edtDepartamento) + " )" : "";
        case 14: return o.chkFornecedor ? "AND (M.COD_FOR =" + ChaveOuVazio(o.edtFornecedor) + " )" : "";
        case 15:
            return o.chkReferencia
                       ? "AND (upper(M.Ref_Mer) Like " + AspasSql(LetrasMaiusculas(o.edtReferencia) + "%") + ")"
                       : "";
        case 16: return o.chkLocaliz ? "And (M.Loc_Mer Like " + AspasSql(o.edtLocaliz + "%") + ")" : "";
        case 17:
            if (!o.chkProEstoque) return "";
            return o.rMarcados ? "AND (M.Pro_Est ='T')" : "AND (M.Pro_Est ='F')";
        case 20: return o.chkEstoqueM0 ? "and (M.Qtd_Est<0)" : "";
        case 21: return o.chkEstoque2 ? "and (M.Qtd_Est_2>0)" : "";
        case 22: return o.chkEstoque02 ? "and (M.Qtd_Est_2=0)" : "";
        case 23: return o.chkEstoqueM02 ? "and (M.Qtd_Est_2<0)" : "";
        case 26: return o.chkEstoque ? "and (M.Qtd_Est>0)" : "";
        case 27: return o.chkEstoque0 ? "and (M.Qtd_Est=0)" : "";
        case 31: return o.chkPiscofins ? "AND (M.COD_TRI_PC=" + ChaveOuVazio(o.edtPis) + " )" : "";
        case 32:
            return o.chkDataEmi ? "AND (M.Data_Alt>='" + DataDaInstrucao(o.edtData1) + "') " +
                                      "AND (M.Data_Alt<=" + "'" + DataDaInstrucao(o.edtData2) + "')"
                                : "";
        case 33: return o.chkMinimo ? "AND (M.qtd_Est <= M.Qtd_Min)" : "";
        case 34:
            if (!o.chkListaCodBar) return "";
            if (CodigosDaLista(o.memoLista).size() > kMaximoCodigosNaInstrucao)
                return std::string("and (cod_bar in (select L.COD_BAR from ") + kTabelaLista + " L))";
            return ListaCodigosBarras(o.memoLista);
        case 35:
            if (!o.chkProAtivos) return "";
            return o.rbAtivos ? "AND (M.Pro_ATIVO ='T')" : "AND (M.Pro_ATIVO ='F')";
        case 36: return o.chkICms ? "AND (M.COD_TRI_ICM=" + ChaveOuVazio(o.edtICMS) + " )" : "";
        case 37:
            if (!o.chkGrade) return "";
            return o.rdSim ? "AND (M.TEM_GRADE ='T')" : "AND (M.TEM_GRADE ='F')";
        case 38: return o.chkEstMax ? "AND (M.qtd_Est >= M.Qtd_Est_max)" : "";
        case kSlotEtiqueta:
            // Only active goods have a shelf label that matters.
            if (o.chkDesatualizada && o.chkNuncaEtiquetada)
                return "AND (M.PRO_ATIVO = 'T' AND (" + CondicaoEtiquetaDesatualizada() + " OR " +
                       CondicaoNuncaEtiquetada() + "))";
            if (o.chkDesatualizada) return "AND (M.PRO_ATIVO = 'T' AND " + CondicaoEtiquetaDesatualizada() + ")";
            if (o.chkNuncaEtiquetada) return "AND (M.PRO_ATIVO = 'T' AND " + CondicaoNuncaEtiquetada() + ")";
            return "";
        default: return "";
    }
}

std::string CondicaoEtiquetaDesatualizada() {
    // A price the model did not print is NULL and cannot be out of date; a
    // NULL amount of the goods prints as 0,00.
    return "EXISTS (select 1 from ETIQUETA_ATUAL E where E.CODIGO = M.COD_RED and ("
           "(E.VLR_VEN is not null and E.VLR_VEN <> cast(coalesce(M.VLR_VEN, 0) as numeric(18,2)))"
           " or (E.VLR_VEN_2 is not null and E.VLR_VEN_2 <> cast(coalesce(M.VLR_VEN_2, 0) as numeric(18,2)))"
           " or coalesce(E.NOME, '') <> coalesce(substring(M.NOM_MER from 1 for 80), '')"
           " or coalesce(E.BARRAS, '') <> coalesce(substring(M.COD_BAR from 1 for 30), '')))";
}

std::string CondicaoNuncaEtiquetada() {
    return "NOT EXISTS (select 1 from ETIQUETA_ATUAL E where E.CODIGO = M.COD_RED)";
}

std::vector<std::string> SQLMercadorias(const TOpcoesMercadorias& o) {
    ValidarOpcoes(o);
    std::vector<std::string> l = SQLMercadoriasInicial();
    for (size_t slot = 9; slot < kLinhasMercadorias; ++slot)
        if (slot != kSlotOrdem) l[slot] = FragmentoSlot(o, slot);
    switch (o.Ordem) {
        case TOrdemListagem::CodigoBar: l[kSlotOrdem] = "Order by M.COD_BAR"; break;
        case TOrdemListagem::CodigoRed: l[kSlotOrdem] = "Order by M.COD_RED"; break;
        case TOrdemListagem::NomeMer: l[kSlotOrdem] = "Order by M.NOM_MER"; break;
    }
    return l;
}

std::string LinhaNomeDepartamento(const TOpcoesMercadorias& o) {
    if (!o.chkDepartComposta) return " ";
    return " and Nom_dep like " + AspasSql(o.edtNomeDepart + "%");
}

std::vector<std::string> SQLDepartamento(const std::string& linhaNome, const std::string& depMer) {
    return {"select cod_dep", "from departamentos", "where cod_dep>0", linhaNome, " and cod_dep=0" + depMer};
}

std::vector<std::string> SQLSetor(const std::string& setor, const std::string& depMer) {
    return {"select cod_dep", "from departamentos", "where cod_dep>0", " and Nom_Setor = " + AspasSql(setor),
            " and cod_dep = 0" + depMer};
}

std::vector<std::string> SQLNotaCompra(const std::string& nota, const std::string& codRed) {
    return {"Select m.cod_red, i.cod_mer, i.nro_not, i.integrador ", "from mercadorias m, itensCompra i ",
            "where m.cod_red = i.cod_mer ", "and   i.nro_not=" + nota, "and   m.cod_red=" + codRed};
}

std::vector<std::string> SQLDataCompra(const std::string& data1, const std::string& data2, const std::string& codRed) {
    return {"Select m.cod_red, i.cod_mer, c.nro_not, c.integrador ",
            "from mercadorias m, itensCompra i, Compras c ",
            "where m.cod_red = i.cod_mer ",
            "and   i.nro_not = c.nro_not ",
            "and   i.integrador = c.integrador ",
            "and   c.data_emi>=" + AspasSql(DataDaInstrucao(data1)),
            "and   c.data_emi<=" + AspasSql(DataDaInstrucao(data2)),
            "and   m.cod_red=" + codRed};
}

bool CodigoGerado(std::string_view codBar) {
    const size_t n = SoNumeros(codBar).size();
    return n >= 1 && n <= 6;
}

bool NaFaixa(std::string_view valor, std::string_view de, std::string_view ate) {
    const std::string v = SemZerosAEsquerda("0" + SoNumeros(valor));
    return CompararNumeros(SemZerosAEsquerda("0" + SoNumeros(de)), v) <= 0 &&
           CompararNumeros(v, SemZerosAEsquerda("0" + SoNumeros(ate))) <= 0;
}
