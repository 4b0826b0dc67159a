#include "previa/FiguraLeiaute09.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <memory>
#include <set>
#include <utility>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "device/CdbDevice.h"
#include "labels/ImpressaoEtiquetas.h"
#include "previa/Desenho.h"

namespace previa {

namespace {

// "12,5": a length in dots as millimetres, one decimal.
std::string TextoMm(int dots, int dpi) {
    const long decimos = std::lround(dots * 254.0 / dpi);
    return std::to_string(decimos / 10) + "," + std::to_string(std::labs(decimos % 10));
}

bool EBarras(const TCampo09& c) { return Utf8::Maiusculas(c.nome) == "CODIGO DE BARRAS"; }
bool ELivre(const TCampo09& c) { return Utf8::Maiusculas(Trecho(c.nome, 1, 11)) == "TEXTO LIVRE"; }

// A text longer than its size, for the goods shown: once per field row.
void AvisarCortes(const TLeiaute09& l, TImpressaoEtiquetas& imp, const std::vector<TLinhaFila>& fila,
                  std::vector<TAviso09>& avisos) {
    for (size_t i = 0; i < l.campos.size(); ++i) {
        const TCampo09& c = l.campos[i];
        if (EBarras(c) || c.tamanho <= 0) continue;
        for (const TLinhaFila& linha : fila) {
            std::string inteiro = c.titulo;
            if (!ELivre(c)) {
                if (!imp.BuscarMercadoria(linha.CODIGO)) continue;
                inteiro = imp.Load_Valor_do_campo(c.nome);
            }
            if (Comprimento(inteiro) <= static_cast<size_t>(c.tamanho)) continue;
            avisos.push_back({static_cast<int>(i), NomeDoCampo09(l, static_cast<int>(i)) + ": o tamanho " +
                                                       std::to_string(c.tamanho) + " corta \"" + inteiro + "\" em \"" +
                                                       Trecho(inteiro, 1, c.tamanho) + "\"."});
            break;
        }
    }
}

// An element past an edge of its label: once per field row and edge.
void AvisarBordas(const TLeiaute09& l, const TAmbiente09& a, const TFigura09& f, std::vector<TAviso09>& avisos) {
    std::set<std::pair<int, int>> ditos;
    auto dizer = [&](int campo, int lado, const std::string& texto) {
        if (ditos.insert({campo, lado}).second) avisos.push_back({campo, NomeDoCampo09(l, campo) + texto});
    };
    for (const TElementoFigura09& e : f.elementos) {
        if (e.caixa.isEmpty()) continue;
        const QRect& etq = f.etiquetas.at(static_cast<size_t>(e.etiqueta));
        if (l.passo > 0 && e.caixa.right() > etq.right())
            dizer(e.campo, 0,
                  ": sai da etiqueta pela direita (vai até " + TextoMm(e.caixa.right() + 1 - etq.left(), f.dpi) +
                      " mm do começo da etiqueta; o passo é " + std::to_string(l.passo) + " mm).");
        if (e.caixa.left() < etq.left())
            dizer(e.campo, 1,
                  ": sai da etiqueta pela esquerda (começa " + TextoMm(etq.left() - e.caixa.left(), f.dpi) +
                      " mm antes dela; veja o adicional de colunas).");
        if (a.alturaMm > 0 && e.caixa.bottom() > etq.bottom())
            dizer(e.campo, 2,
                  ": sai da etiqueta por baixo (vai até " + TextoMm(e.caixa.bottom() + 1 - etq.top(), f.dpi) +
                      " mm; a etiqueta tem " + std::to_string(a.alturaMm) + " mm de altura).");
    }
}

}  // namespace

int DotsDeDecimos(int decimos, int dpi) { return static_cast<int>(std::nearbyint(decimos / 10.0 * dpi / 25.4)); }

TAmbiente09 AmbienteConfigurado09() {
    TAmbiente09 a;
    a.linguagem = LerConfig("MODELO");
    a.impressora = LerConfig("MODELO IMPRESSORA");
    const std::string add = LerConfig("ADDCOLUNA");
    a.addColuna = 0;
    try {
        a.addColuna = add.empty() ? 0 : StrToInt(add);
    } catch (const std::exception&) {
        // The print refuses such a value with its own message; the picture goes without the shift.
    }
    return a;
}

TAmostra AmostraDaFila09(TdtmAplicativo& dtm, size_t quantas) {
    TAmostra r;
    TImpressaoEtiquetas imp(dtm);
    TTabela& fila = imp.tblEtiquetaRead;
    fila.Open();
    for (fila.First(); !fila.Eof() && r.fila.size() < quantas; fila.Next()) {
        TLinhaFila linha = LerLinhaFila(fila);
        if (!(linha.QUANTIDADE > Decimal(0)) || !imp.BuscarMercadoria(linha.CODIGO)) continue;
        r.mercadorias.push_back(imp.Mercadoria());
        r.fila.push_back(std::move(linha));
    }
    fila.Close();
    return r;
}

TFigura09 DesenharLeiaute09(const TLeiaute09& l, const TAmbiente09& a, TdtmAplicativo& dtm) {
    TFigura09 f;
    const TAmostra& amostra = a.amostra.fila.empty() ? AmostraGaleria() : a.amostra;
    // One row of labels, as the print's first row: each queue row's labels
    // (at least one) until the row is full, the rows again when they run
    // out. The stream is then one print job.
    // A very wide row is shown by its first labels: the picture stays quick.
    constexpr int kMaxEtiquetas = 12;
    const size_t n = static_cast<size_t>(std::clamp(l.porLinha, 1, kMaxEtiquetas));
    std::vector<TLinhaFila> fila;
    for (int64_t falta = static_cast<int64_t>(n), i = 0; falta > 0; ++i) {
        fila.push_back(amostra.fila[static_cast<size_t>(i) % amostra.fila.size()]);
        const int64_t quantas = std::min(std::max<int64_t>(ContagemEtiquetas(fila.back().QUANTIDADE), 1), falta);
        fila.back().QUANTIDADE = Decimal(quantas);
        falta -= quantas;
    }

    TImpressaoEtiquetas imp(dtm);
    imp.PausaMs = 0;
    auto busca = std::make_unique<TBuscaMercadoriasMemoria>();
    for (const TLinhaFila& linha : amostra.fila)
        for (const TMercadoria& m : amostra.mercadorias)
            if (std::to_string(m.COD_RED) == linha.CODIGO) busca->linhas[linha.CODIGO] = m;
    imp.BuscaMercadorias = std::move(busca);
    imp.FilaEmMemoria = &fila;
    imp.ModeloImpressora = a.impressora;
    imp.AddColuna = a.addColuna;
    imp.edtParametro = a.textoParametro;

    const TCdbETQModelo modelo = LinguagemDoTexto09(a.linguagem);
    std::vector<std::pair<int, int>> desenhados;  // (field row, column) in stream order
    bool enviado = false;
    TCdbETQ& etq = imp.CdbETQ;
    etq.SetModelo(modelo);
    etq.SetPorta("DLL");
    etq.Device().HookEnviaString = [&](const std::string& fluxo) {
        if (!enviado) f.fluxo = fluxo;
        enviado = true;
    };
    try {
        etq.Ativar();
        ImprimirLeiaute09(imp, l, [&](int campo, int coluna) { desenhados.emplace_back(campo, coluna - 1); });
        etq.Desativar();
    } catch (const std::exception& e) {
        f.erro = e.what();
    }
    etq.Device().HookEnviaString = nullptr;
    if (f.erro.empty() && f.fluxo.empty()) f.erro = "o desenho não compôs nenhuma etiqueta";
    if (!f.erro.empty()) {
        f.erro = "Não foi possível desenhar a etiqueta: " + f.erro;
        f.avisos = AvisosLeiaute09(l, modelo);
        return f;
    }

    const Leitura leitura = Ler(f.fluxo, LinguagemDoModelo(modelo), f.dpi);
    Etiqueta etiqueta;
    if (!leitura.etiquetas.empty()) etiqueta = leitura.etiquetas.front();
    etiqueta.copias = 1;
    // The row of labels as the stock has it: pitch wide each (from the shift
    // that puts the print on the stock), as tall as given; wider or taller
    // when the drawing goes past it, so what leaves the label shows.
    const Geometria solta = Medir(etiqueta, f.dpi);
    const int passo = DotsDeDecimos(l.passo * 10, f.dpi);
    const int inicio = DotsDeDecimos(a.addColuna, f.dpi);
    const int altura = DotsDeDecimos(a.alturaMm * 10, f.dpi);
    Opcoes opcoes;
    opcoes.larguraDots = std::max(solta.largura, std::max(inicio, 0) + passo * static_cast<int>(n) + opcoes.margem);
    opcoes.alturaDots = std::max(solta.altura, altura + opcoes.margem);
    Geometria g;
    f.imagem = Desenhar(etiqueta, f.dpi, opcoes, &g);
    for (size_t k = 0; k < n; ++k) {
        const int x = DotsDeDecimos(a.addColuna + l.passo * 10 * static_cast<int>(k), f.dpi);
        f.etiquetas.emplace_back(x, 0, l.passo > 0 ? passo : f.imagem.width() - x,
                                 altura > 0 ? altura : f.imagem.height());
    }
    // Each drawing call reads back as one element, in order.
    if (g.posicoes.size() == desenhados.size()) {
        for (size_t i = 0; i < g.posicoes.size(); ++i) {
            const Posicao& p = g.posicoes[i];
            const QRect caixa = p.tipo == TipoElemento::Texto ? p.tinta : p.caixa;
            f.elementos.push_back(
                {desenhados[i].first, std::min(desenhados[i].second, static_cast<int>(n) - 1), caixa});
            if (p.tipo == TipoElemento::Barras) f.codigos.push_back(p.dados);
        }
    }
    f.avisos = AvisosLeiaute09(l, modelo);
    if (l.porLinha > kMaxEtiquetas)
        f.avisos.push_back({-1, "A linha tem " + std::to_string(l.porLinha) + " etiquetas; a figura mostra as " +
                                    std::to_string(kMaxEtiquetas) + " primeiras."});
    AvisarBordas(l, a, f, f.avisos);
    AvisarCortes(l, imp, fila, f.avisos);
    return f;
}

int CampoNoPonto(const TFigura09& f, QPoint ponto) {
    int melhor = -1;
    long long menor = 0;
    for (const TElementoFigura09& e : f.elementos) {
        // A thin text is hard to hit: a few dots around it count.
        const QRect alvo = e.caixa.adjusted(-3, -3, 3, 3);
        if (e.caixa.isEmpty() || !alvo.contains(ponto)) continue;
        const long long area = static_cast<long long>(e.caixa.width()) * e.caixa.height();
        if (melhor < 0 || area < menor) {
            melhor = e.campo;
            menor = area;
        }
    }
    return melhor;
}

}  // namespace previa
