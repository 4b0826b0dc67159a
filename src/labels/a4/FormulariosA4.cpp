#include "labels/a4/FormulariosA4.h"

#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"

namespace {

TElementoA4 Texto(int linha, double esquerda, double topo, int px) {
    TElementoA4 e;
    e.nome = "Texto" + std::to_string(linha);
    e.tipo = TTipoElemento::Texto;
    e.linha = linha;
    e.esquerda = esquerda;
    e.topo = topo;
    e.fontePx = px;
    return e;
}

TElementoA4 TextoDireita(int linha, double esquerda, double topo, double largura, double altura, int px) {
    TElementoA4 e = Texto(linha, esquerda, topo, px);
    e.direita = true;
    e.largura = largura;
    e.altura = altura;
    return e;
}

TElementoA4 TextoCortado(int linha, double esquerda, double topo, double largura, int px) {
    TElementoA4 e = Texto(linha, esquerda, topo, px);
    e.corta = true;
    e.largura = largura;
    return e;
}

TElementoA4 Barras(int linha, double esquerda, double topo, double largura, double altura, double modulo,
                   TTipoBarras tipo) {
    TElementoA4 e;
    e.nome = "Barcode";
    e.tipo = TTipoElemento::Barras;
    e.linha = linha;
    e.esquerda = esquerda;
    e.topo = topo;
    e.largura = largura;
    e.altura = altura;
    e.barras = TBarrasA4{tipo, modulo, 1};
    return e;
}

TElementoA4 Rotulo(const std::string& nome, const std::string& texto, double esquerda, double topo, int px) {
    TElementoA4 e = Texto(0, esquerda, topo, px);
    e.nome = nome;
    e.tipo = TTipoElemento::Rotulo;
    e.texto = texto;
    return e;
}

TElementoA4 Imagem(const std::string& nome, const std::string& arquivo, double esquerda, double topo, double largura,
                   double altura) {
    TElementoA4 e;
    e.nome = nome;
    e.tipo = TTipoElemento::Imagem;
    e.arquivo = arquivo;
    e.esquerda = esquerda;
    e.topo = topo;
    e.largura = largura;
    e.altura = altura;
    return e;
}

// An empty cell ("." in LINHA1) shows neither the logo nor the telephones.
void AntesCelula20(const TLinhasCelula& linhas, std::vector<TElementoA4>& elementos) {
    const bool logo = Comprimento(linhas[0]) >= 2;
    for (auto& e : elementos)
        if (e.nome == "rlImg" || e.nome == "fone1" || e.nome == "fone2") e.visivel = logo;
}

// EAN-13 for 13 characters, Codabar for up to 8; other lengths keep the
// settings of the cell before.
void AntesCelula35(const TLinhasCelula& linhas, std::vector<TElementoA4>& elementos) {
    const size_t n = Comprimento(linhas[1]);
    for (auto& e : elementos) {
        if (e.tipo != TTipoElemento::Barras) continue;
        if (n == 13)
            e.barras = TBarrasA4{TTipoBarras::EAN13, 1, 2.25};
        else if (n <= 8)
            e.barras = TBarrasA4{TTipoBarras::Codabar, 1, 2.25};
    }
}

// The kind each barcode form falls back to; forms 20 and 55 have no barcode.
bool TipoProprio(int modelo, TTipoBarras& tipo) {
    switch (modelo) {
        case 26:
        case 32:
        case 35:
        case 42: tipo = TTipoBarras::Codabar; return true;
        case 28:
        case 33:
        case 34:
        case 39: tipo = TTipoBarras::Intercalado2de5; return true;
        default: return false;
    }
}

TFormularioA4 Formulario(const std::string& nome, TFolhaA4 folha, TGradeA4 grade, std::vector<TElementoA4> elementos) {
    TFormularioA4 f;
    f.nome = nome;
    f.folha = folha;
    f.grade = grade;
    f.elementos = std::move(elementos);
    return f;
}

}  // namespace

TDadosLoja LerDadosLoja() {
    TDadosLoja d;
    d.nome = LerConfig("NOME LOJA");
    d.telefone1 = LerConfig("TELEFONE1 LOJA");
    d.telefone2 = LerConfig("TELEFONE2 LOJA");
    d.logo = LerConfig("LOGO LOJA");
    if (!d.logo.empty() && d.logo.front() != '/') d.logo = DiretorioSistema() + d.logo;
    return d;
}

TFormularioA4 CriaFormularioA4(int modelo, const TDadosLoja& loja) {
    using T = TTipoBarras;
    TFormularioA4 f;
    switch (modelo) {
        case 20:
            f = Formulario(
                "TfrmEtiquetaA4_20", {5, 16, 4, 10}, {2, 4, 760, 144},
                {Texto(1, 14, 89, 16), Texto(2, 14, 118, 16), Imagem("rlImg", loja.logo, 45, 24, 164, 53),
                 Rotulo("fone1", loja.telefone1, 224, 29, 16), Rotulo("fone2", loja.telefone2, 224, 53, 16)});
            f.DetailGrid1BeforePrint = AntesCelula20;
            break;
        case 26:
            f = Formulario("TfrmEtiqueta26", {8, 12, 1, 10}, {3, 1, 760, 96},
                           {Barras(2, 16, 27, 93, 28, 2, T::Codabar), Texto(1, 15, 71, 11), Texto(3, 63, 9, 13),
                            Texto(2, 15, 57, 8)});
            break;
        case 28:
            f = Formulario("TfrmEtiquetaA4_28", {5, 12, 5, 1}, {5, 2, 756, 80},
                           {Barras(2, 4, 30, 109, 24, 2, T::Intercalado2de5), Texto(1, 4, 6, 8), Texto(4, 4, 18, 8),
                            TextoDireita(3, 64, 60, 58, 16, 13), Texto(2, 4, 55, 8)});
            break;
        case 32:
            f = Formulario("TfrmEtiquetaGondola", {8, 12, 1, 10}, {2, 1, 760, 100},
                           {Barras(2, 24, 43, 93, 34, 2, T::Codabar), Texto(1, 15, 15, 16),
                            TextoDireita(3, 257, 41, 102, 32, 27), Texto(2, 23, 81, 11)});
            break;
        case 33:
            f = Formulario("TfrmEtiquetaA4_33", {4, 13, 6, 1.2, 7, 5}, {4, 2, 711, 48},
                           {Barras(2, 4, 2, 109, 18, 2, T::Intercalado2de5), Texto(1, 4, 36, 8),
                            TextoDireita(3, 118, 20, 45, 13, 12), Texto(2, 10, 21, 8)});
            break;
        case 34:
            f = Formulario(
                "TfrmEtiquetaA4_34", {1, 11, 1, 1.2, 7, 5}, {6, 2, 741, 64},
                {Barras(2, 3, 33, 109, 18, 2, T::Intercalado2de5), Texto(3, 20, 17, 11), Texto(2, 28, 52, 8)});
            break;
        case 35:
            f = Formulario("TfrmEtiquetaA4_35", {5, 11, 5, 1}, {5, 2, 756, 80},
                           {Barras(2, 2, 30, 51, 24, 1, T::Codabar), Texto(1, 4, 6, 8), Texto(4, 4, 18, 8),
                            TextoDireita(3, 64, 60, 58, 16, 13), Texto(2, 4, 55, 8)});
            f.DetailGrid1BeforePrint = AntesCelula35;
            break;
        case 39:
            f = Formulario("TfrmEtiquetaA4_39", {5, 14, 6, 1}, {7, 2, 752, 57},
                           {Texto(1, 4, 6, 8), Texto(2, 4, 19, 8), Barras(3, 8, 31, 84, 22, 2, T::Intercalado2de5)});
            break;
        case 42:
            f = Formulario("TfrmEtiquetaA4_42", {8, 12, 1, 10}, {3, 1, 760, 96},
                           {Barras(2, 15, 54, 93, 28, 2, T::Codabar), TextoCortado(1, 16, 35, 230, 11),
                            TextoDireita(3, 184, 12, 55, 16, 13), Texto(2, 15, 84, 8), Texto(4, 15, 12, 13)});
            break;
        case 55:
            f = Formulario("TfrmEtiquetaA4_55", {6, 12, 3, 1}, {5, 2, 760, 80},
                           {Texto(1, 4, 6, 11), Texto(4, 4, 18, 11), Texto(5, 31, 35, 16), Texto(3, 31, 56, 13)});
            break;
        default: throw Exception("Modelo " + ZerosEsquerda(modelo, 2) + " não é um modelo de folha A4");
    }
    return f;
}

TTipoBarras TipoBarrasA4(int TipoBarraA4, TTipoBarras proprio) {
    switch (TipoBarraA4) {
        case 0: return TTipoBarras::Codabar;
        case 1: return TTipoBarras::Code39;
        case 2: return TTipoBarras::Intercalado2de5;
        case 3: return TTipoBarras::Matrix2de5;
        case 4: return TTipoBarras::Code93;
        default: return proprio;
    }
}

void AtivaModeloBarras(TFormularioA4& formulario, int modelo, int TipoBarraA4) {
    TTipoBarras proprio;
    if (!TipoProprio(modelo, proprio)) return;
    for (auto& e : formulario.elementos)
        if (e.tipo == TTipoElemento::Barras) e.barras.tipo = TipoBarrasA4(TipoBarraA4, proprio);
}

void ConfiguraBarrasA4(TFormularioA4& formulario, int modelo, int IndiceRatio, int TipoBarraA4) {
    for (auto& e : formulario.elementos)
        if (e.tipo == TTipoElemento::Barras) e.barras.razao = IndiceRatio;
    // Form 35 keeps Codabar until its per-cell hook picks a kind.
    if (modelo != 35) AtivaModeloBarras(formulario, modelo, TipoBarraA4);
}
