// Model 09: the label design the shop system keeps in FORMATMRG. Header row
// 113: labels per row (ORD_IMP) and column pitch in millimetres (TAM_IMP);
// field rows 13 with PRINT_CAMPO 'T', in AUX_2 order: what to print (NOM_CAMPO),
// where (AUX_2 vertical, AUX_3 horizontal, in millimetres), the font (AUX_1),
// the size (TAM_IMP) and, for the barcode, the variant letter AUX_4.
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Leiaute09.h"
#include "labels/Modelos.h"
#include "labels/Percurso.h"

namespace {

bool MostraDigitos(const std::string& aux4) { return aux4 == "A" || aux4 == "D"; }

// Type and digits by language, code length, AUX_4 and the printer brand.
// Languages other than PPLA and PPLB get no barcode.
TRegra RegraBarras09(std::string aux4) {
    return [aux4 = std::move(aux4)](TDesenho& d, const TContextoEtiqueta& c) {
        c.escrita.DeixarParametro(aux4);
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
            default: return false;
        }
    };
}

TElemento ElementoDoCampo(const TCampo09& c) {
    const int v = c.vertical * 10;
    const int h = c.horizontal * 10;
    if (Utf8::Maiusculas(c.nome) == "CODIGO DE BARRAS")
        return Barras(h, v, fonte::Codigo(), c.tamanho * 4, becNAO, RegraBarras09(c.variante));

    TFonte valor;
    if (Utf8::Maiusculas(Trecho(c.nome, 1, 11)) == "TEXTO LIVRE")
        valor = fonte::Fixo(c.titulo);
    else
        valor = [nome = c.nome](const TContextoEtiqueta& ctx) { return ctx.imp.Load_Valor_do_campo(nome); };
    return Texto(c.fonte, h, v, fonte::Trecho(std::move(valor), 1, c.tamanho));
}

TCampo09 CampoDaLinha(const fb::TQuery& q) {
    TCampo09 c;
    c.nome = q.FieldByName("NOM_CAMPO").AsString();
    c.titulo = q.FieldByName("TIT_CAMPO").AsString();
    c.tamanho = static_cast<int>(q.FieldByName("TAM_IMP").AsInteger());
    c.fonte = static_cast<int>(q.FieldByName("AUX_1").AsInteger());
    c.vertical = static_cast<int>(q.FieldByName("AUX_2").AsInteger());
    c.horizontal = static_cast<int>(q.FieldByName("AUX_3").AsInteger());
    c.variante = q.FieldByName("AUX_4").AsString();
    return c;
}

}  // namespace

void ImprimirLeiaute09(TImpressaoEtiquetas& imp, const TLeiaute09& leiaute,
                       const std::function<void(int, int)>& aoDesenhar) {
    TModeloTermico modelo;
    modelo.usaAddColuna = true;
    modelo.passo = leiaute.passo * 10;
    modelo.porLinha = leiaute.porLinha;
    for (size_t i = 0; i < leiaute.campos.size(); ++i) {
        TElemento e = ElementoDoCampo(leiaute.campos[i]);
        if (aoDesenhar) {
            // Told after the rule: a barcode the language leaves out is not drawn.
            e.regra = [regra = std::move(e.regra), aoDesenhar, i](TDesenho& d, const TContextoEtiqueta& c) {
                if (regra && !regra(d, c)) return false;
                aoDesenhar(static_cast<int>(i), c.coluna);
                return true;
            };
        }
        modelo.elementos.push_back(std::move(e));
    }
    PercorrerFila(imp, modelo);
}

void Etiq_Modelo_09(TImpressaoEtiquetas& imp) {
    fb::TQuery& q = imp.qryFormat;
    TLeiaute09 leiaute;
    leiaute.passo = imp.Relatorio_format("TAMANHO", 113);
    // Without a header row both are 0: no row is ever complete, every label
    // lands in one image sent at the end.
    leiaute.porLinha = q.Eof() ? 0 : static_cast<int>(q.FieldByName("ORD_IMP").AsInteger());

    q.Clear();
    q.Add("Select * from FormatMrg");
    q.Add("where cod_mrg=13 and Print_campo='T'");
    q.Add("order by Aux_2");
    q.Open();
    for (; !q.Eof(); q.Next()) leiaute.campos.push_back(CampoDaLinha(q));

    ImprimirLeiaute09(imp, leiaute);
}
