// Model 09: the label design the shop system keeps in FORMATMRG. Header row
// 113: labels per row (ORD_IMP) and column pitch in millimetres (TAM_IMP);
// field rows 13 with PRINT_CAMPO 'T', in AUX_2 order: what to print (NOM_CAMPO),
// where (AUX_2 vertical, AUX_3 horizontal, in millimetres), the font (AUX_1),
// the size (TAM_IMP) and, for the barcode, the variant letter AUX_4.
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"

namespace {

bool MostraDigitos(const std::string& aux4) { return aux4 == "A" || aux4 == "D"; }

// Type and digits by language, code length, AUX_4 and the printer brand.
// Languages other than PPLA and PPLB get no barcode.
TRegra RegraBarras09(std::string aux4) {
    return [aux4 = std::move(aux4)](TDesenho& d, const TContextoEtiqueta& c) {
        c.imp.lblParametro = aux4;
        const bool treze = Comprimento(d.valor) == 13;
        const bool elgin = c.imp.ModeloImpressora == "ELGIN";
        switch (c.imp.CdbETQ.Modelo()) {
            case etqPpla:
                if (treze) {
                    d.tipoBarras = "F";
                    d.exibe = MostraDigitos(aux4) ? becSIM : becNAO;
                } else if (MostraDigitos(aux4) || aux4 == "T") {
                    d.tipoBarras = elgin ? aux4 : "E";
                    d.exibe = becSIM;
                } else {
                    d.tipoBarras = elgin ? Utf8::Maiusculas(aux4) : "E";
                    d.exibe = becNAO;
                }
                return true;
            case etqPplb:
                d.tipoBarras = treze ? "E30" : "1";
                d.exibe = MostraDigitos(aux4) ? becSIM : becNAO;
                return true;
            default:
                return false;
        }
    };
}

TElemento ElementoDoCampo(const fb::TQuery& q) {
    const std::string nome = q.FieldByName("NOM_CAMPO").AsString();
    const int tamanho = static_cast<int>(q.FieldByName("TAM_IMP").AsInteger());
    const int v = static_cast<int>(q.FieldByName("AUX_2").AsInteger()) * 10;
    const int h = static_cast<int>(q.FieldByName("AUX_3").AsInteger()) * 10;
    if (Utf8::Maiusculas(nome) == "CODIGO DE BARRAS")
        return Barras(h, v, fonte::Codigo(), tamanho * 4, becNAO, RegraBarras09(q.FieldByName("AUX_4").AsString()));

    TFonte valor;
    if (Utf8::Maiusculas(Trecho(nome, 1, 11)) == "TEXTO LIVRE")
        valor = fonte::Fixo(q.FieldByName("TIT_CAMPO").AsString());
    else
        valor = [nome](const TContextoEtiqueta& c) { return c.imp.Load_Valor_do_campo(nome); };
    return Texto(static_cast<int>(q.FieldByName("AUX_1").AsInteger()), h, v, fonte::Trecho(std::move(valor), 1, tamanho));
}

}  // namespace

void Etiq_Modelo_09(TImpressaoEtiquetas& imp) {
    fb::TQuery& q = imp.qryFormat;
    TModeloTermico modelo;
    modelo.usaAddColuna = true;
    modelo.passo = imp.Relatorio_format("TAMANHO", 113) * 10;
    // Without a header row both are 0: no row is ever complete, every label
    // lands in one image sent at the end.
    modelo.porLinha = q.Eof() ? 0 : static_cast<int>(q.FieldByName("ORD_IMP").AsInteger());

    q.Clear();
    q.Add("Select * from FormatMrg");
    q.Add("where cod_mrg=13 and Print_campo='T'");
    q.Add("order by Aux_2");
    q.Open();
    for (; !q.Eof(); q.Next()) modelo.elementos.push_back(ElementoDoCampo(q));

    PercorrerFila(imp, modelo);
}
