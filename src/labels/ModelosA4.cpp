// The layout routines of the A4 sheet models: the printable queue rows become
// cells of the sheet table ETIQUETAMRG (texts of the goods row, never of the
// queue row), which the model's form then composes for the preview or a PDF.
#include <array>
#include <string>

#include "common/Excecoes.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"
#include "labels/a4/FormulariosA4.h"

namespace {

using TTextosCelula = std::array<std::string, 5>;  // LINHA1 to LINHA5
using TTextosModelo = TTextosCelula (*)(const TMercadoria& m, const std::string& loja);

std::string Preco(const TMercadoria& m) { return "R$ " + FormataValor(m.VLR_VEN); }
std::string TrechoDoNome(const TMercadoria& m, int a, int b) { return Trecho(m.NOM_MER, a, b); }

TTextosCelula Textos20(const TMercadoria& m, const std::string& loja) {
    return {TrechoDoNome(m, 1, 35), TrechoDoNome(m, 36, 70), Preco(m), loja, ""};
}
TTextosCelula Textos26(const TMercadoria& m, const std::string&) { return {m.NOM_MER, m.COD_BAR, Preco(m), "", ""}; }
TTextosCelula Textos28(const TMercadoria& m, const std::string&) {
    return {TrechoDoNome(m, 1, 25), m.COD_BAR, Preco(m), TrechoDoNome(m, 26, 50), ""};
}
TTextosCelula Textos33(const TMercadoria& m, const std::string&) {
    return {TrechoDoNome(m, 1, 35), m.COD_BAR, Preco(m), TrechoDoNome(m, 26, 50), ""};
}
TTextosCelula Textos39(const TMercadoria& m, const std::string&) {
    return {TrechoDoNome(m, 1, 18), TrechoDoNome(m, 19, 36), m.COD_BAR, Preco(m), TrechoDoNome(m, 26, 50)};
}
TTextosCelula Textos42(const TMercadoria& m, const std::string& loja) {
    return {m.NOM_MER, m.COD_BAR, Preco(m), loja, ""};
}
TTextosCelula Textos55(const TMercadoria& m, const std::string&) {
    return {TrechoDoNome(m, 1, 22), m.COD_BAR, Preco(m), TrechoDoNome(m, 23, 44), m.APLICACAO};
}

TTextosModelo TextosDoModelo(int modelo) {
    switch (modelo) {
        case 20: return Textos20;
        case 26:
        case 32: return Textos26;
        case 28:
        case 35: return Textos28;
        case 33:
        case 34: return Textos33;
        case 39: return Textos39;
        case 42: return Textos42;
        case 55: return Textos55;
        default: throw Exception("O modelo " + std::to_string(modelo) + " não é de folha A4.");
    }
}

// The sheet query qryetiqueta: every cell in CT_LIN order, read as the
// composer asks for them.
class TCelulasEtiquetaMrg : public TFonteCelulas {
public:
    explicit TCelulasEtiquetaMrg(TdtmAplicativo& dtm) : qry_(dtm.dtbAplicativo, dtm.ibtAplicativo) {
        for (const char* l : {"select * from ETIQUETAMRG", "", "", "order by ct_lin"}) qry_.Add(l);
    }
    void Abrir() override {
        qry_.Close();
        qry_.Open();
        campos_.clear();
        for (int i = 1; i <= 6; ++i) campos_.push_back(qry_.FieldByName("LINHA" + std::to_string(i)));
    }
    bool Proxima(TLinhasCelula& linhas) override {
        if (!qry_.Active() || qry_.Eof()) return false;
        for (size_t i = 0; i < campos_.size(); ++i) linhas[i] = campos_[i].AsString();
        qry_.Next();
        return true;
    }

private:
    fb::TQuery qry_;
    std::vector<fb::TField> campos_;
};

void ImprimeFolhasA4(TImpressaoEtiquetas& imp, int modelo, TTextosModelo textos) {
    const TDadosLoja loja = LerDadosLoja();
    TFormularioA4 formulario = CriaFormularioA4(modelo, loja);
    // Blank cells only skip used cells of the first sheet: more than a sheet
    // holds would fill the sheet table with nothing.
    const int celulas = formulario.CelulasPorPagina();
    if (imp.edtBranco > celulas)
        throw Exception("Etiquetas brancas: " + std::to_string(imp.edtBranco) + " passa das " +
                        std::to_string(celulas) + " etiquetas de uma folha do modelo " + ZerosEsquerda(modelo, 2) +
                        "; informe de 0 a " + std::to_string(celulas) + ". Nada foi impresso.");
    TTabela& fila = imp.tblEtiquetaRead;
    imp.IniciarContagem();
    fila.First();
    imp.dtm.DeleteRegistro("EtiquetaMrg", "1=1");
    for (int i = 1; i <= imp.edtBranco; ++i) imp.InsertEtiquetaMrg(".", "", "", "", "");
    const std::string nomeLoja = Trecho(loja.nome, 1, 70);  // fits LINHA4
    int64_t feitas = 0;
    for (; !fila.Eof(); fila.Next()) {
        const TLinhaFila linha = LerLinhaFila(fila);
        if (linha.QUANTIDADE <= Decimal(0)) continue;
        const bool achou = imp.BuscarMercadoria(linha.CODIGO);
        imp.AnotarLinha(linha, achou);
        if (!achou) continue;
        const TTextosCelula t = textos(imp.Mercadoria(), nomeLoja);
        for (int64_t copias = imp.EtiquetasDaLinha(linha); copias > 0; --copias) {
            imp.InsertEtiquetaMrg(t[0], t[1], t[2], t[3], t[4]);
            // Asked now and then: a count in the millions is stopped as the thermal walk is.
            if (++feitas % 100 == 0 && !imp.Prosseguir(feitas)) {
                imp.dtm.dtmRollback();
                return;
            }
        }
    }
    // A failed commit has told the operator; the preview shows what the query still sees.
    imp.Commit();

    ConfiguraBarrasA4(formulario, modelo, imp.IndiceRatio, imp.TipoBarraA4);
    TCelulasEtiquetaMrg qryetiqueta(imp.dtm);
    TDocumentoA4 documento(std::move(formulario), qryetiqueta);
    // Journalled when the sheets go to a PDF or a printer, not when only looked at.
    documento.AoEntregar = [&imp](const std::string& destino) { imp.DiarioDasFolhas(destino); };
    if (!imp.ArquivoPdf.empty())
        documento.ExportarPdf(imp.ArquivoPdf);
    else if (imp.MostrarPrevia)
        imp.MostrarPrevia(documento.Formulario(), qryetiqueta);
    else
        MostraPreviaA4(documento);
}

}  // namespace

TLinhasCelula TextosCelulaA4(int modelo, const TMercadoria& mercadoria, const std::string& loja) {
    const TTextosCelula t = TextosDoModelo(modelo)(mercadoria, loja);
    return {t[0], t[1], t[2], t[3], t[4], ""};
}

void Etiq_Modelo_20(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 20, TextosDoModelo(20)); }
void Etiq_Modelo_26(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 26, TextosDoModelo(26)); }
void Etiq_Modelo_28(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 28, TextosDoModelo(28)); }
void Etiq_Modelo_32(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 32, TextosDoModelo(32)); }
void Etiq_Modelo_33(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 33, TextosDoModelo(33)); }
void Etiq_Modelo_34(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 34, TextosDoModelo(34)); }
void Etiq_Modelo_35(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 35, TextosDoModelo(35)); }
void Etiq_Modelo_39(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 39, TextosDoModelo(39)); }
void Etiq_Modelo_42(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 42, TextosDoModelo(42)); }
void Etiq_Modelo_55(TImpressaoEtiquetas& imp) { ImprimeFolhasA4(imp, 55, TextosDoModelo(55)); }
