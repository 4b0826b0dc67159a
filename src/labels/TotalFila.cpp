#include "labels/TotalFila.h"

#include "common/ConfigEtq.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "labels/Mercadoria.h"

const char* const kChaveLimiteConfirmacao = "LIMITE CONFIRMACAO";

namespace {

// Labels per sheet the limit takes for A4 prints (500 labels, 20 sheets).
constexpr int64_t kEtiquetasPorFolhaDoLimite = 25;

bool InteiroNaoNegativo(const std::string& texto, int64_t& valor) {
    const std::string t = Trim(texto);
    // Nine digits: the panel's field, and far beyond any print.
    if (t.empty() || t.size() > 9) return false;
    valor = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        valor = valor * 10 + (c - '0');
    }
    return true;
}

std::string Plural(int64_t n, const char* singular, const char* plural) {
    return NumeroAgrupado(n) + " " + (n == 1 ? singular : plural);
}

}  // namespace

TTotalFila ContarFila(TdtmAplicativo& dtm) {
    fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
    q.Add("select count(*), coalesce(sum(case when quantidade > 0 then " + SqlEtiquetasDaQuantidade("quantidade") +
          " else 0 end), 0) from ETIQUETAREAD");
    q.Open();
    TTotalFila t;
    const auto nomes = q.NomesDosCampos();
    t.linhas = q.FieldByName(nomes.at(0)).AsInteger();
    t.etiquetas = q.FieldByName(nomes.at(1)).AsInteger();
    q.Close();
    return t;
}

int64_t FolhasA4(int64_t etiquetas, int brancas, int celulasPorFolha) {
    if (etiquetas <= 0 || celulasPorFolha <= 0) return 0;
    return (etiquetas + (brancas > 0 ? brancas : 0) + celulasPorFolha - 1) / celulasPorFolha;
}

std::string NumeroAgrupado(int64_t n) {
    const char grupo = SeparadorDecimal() == ',' ? '.' : ',';
    const std::string d = std::to_string(n < 0 ? -n : n);
    std::string r = n < 0 ? "-" : "";
    for (size_t i = 0; i < d.size(); ++i) {
        if (i > 0 && (d.size() - i) % 3 == 0) r += grupo;
        r += d[i];
    }
    return r;
}

std::string TextoTotalFila(const TTotalFila& total, int64_t folhas) {
    std::string texto =
        Plural(total.linhas, "linha", "linhas") + ", " + Plural(total.etiquetas, "etiqueta", "etiquetas");
    if (folhas >= 0) texto += ", " + Plural(folhas, "folha", "folhas");
    return texto;
}

TLimiteConfirmacao LimiteConfirmacaoDe(const std::string& valor) {
    int64_t n = 0;
    if (!InteiroNaoNegativo(valor, n)) return {};
    return {n, (n + kEtiquetasPorFolhaDoLimite - 1) / kEtiquetasPorFolhaDoLimite};
}

TLimiteConfirmacao LerLimiteConfirmacao() { return LimiteConfirmacaoDe(LerConfig(kChaveLimiteConfirmacao)); }

std::string ValidarLimiteConfirmacao(const std::string& valor) {
    int64_t n = 0;
    if (Trim(valor).empty() || InteiroNaoNegativo(valor, n)) return "";
    return "Limite para confirmar a impressão: '" + Trim(valor) +
           "' não é um número inteiro de 0 a 999999999 (0: nunca perguntar).";
}

std::string PerguntaImpressaoGrande(const TTotalFila& total, int modelo, const std::string& porta, int64_t folhas,
                                    const TLimiteConfirmacao& limite) {
    if (limite.etiquetas <= 0) return "";
    const bool a4 = folhas >= 0;
    if (a4 ? folhas <= limite.folhas : total.etiquetas <= limite.etiquetas) return "";
    std::string texto =
        "Imprimir " + Plural(total.etiquetas, "etiqueta", "etiquetas") + " (modelo " + ZerosEsquerda(modelo, 2) + ")";
    if (a4)
        texto += " em " + Plural(folhas, "folha", "folhas");
    else if (!Trim(porta).empty())
        texto += " em " + porta;
    return texto + "?";
}
