#include "labels/Percurso.h"

#include "common/Regional.h"
#include "common/Win1252.h"
#include "labels/ImpressaoEtiquetas.h"

TElemento Texto(int fonte, int h, int v, TFonte valor, int multH, int multV) {
    TElemento e;
    e.base.tipo = TTipoDesenho::Texto;
    e.base.fonte = fonte;
    e.base.h = h;
    e.base.v = v;
    e.base.multH = multH;
    e.base.multV = multV;
    e.valor = std::move(valor);
    return e;
}

TElemento Barras(int h, int v, TFonte valor, int altura, TCdbETQBarraExibeCodigo exibe, TRegra regra, std::string larga,
                 std::string fina) {
    TElemento e;
    e.base.tipo = TTipoDesenho::Barras;
    e.base.h = h;
    e.base.v = v;
    e.base.altura = altura;
    e.base.exibe = exibe;
    e.base.larga = std::move(larga);
    e.base.fina = std::move(fina);
    e.valor = std::move(valor);
    e.regra = std::move(regra);
    return e;
}

TElemento Linha(int v, int h, int largura, int altura) {
    TElemento e;
    e.base.tipo = TTipoDesenho::Linha;
    e.base.v = v;
    e.base.h = h;
    e.base.largura = largura;
    e.base.altura = altura;
    return e;
}

TElemento Caixa(int v, int h, int largura, int altura, int espV, int espH, int canto) {
    TElemento e;
    e.base.tipo = TTipoDesenho::Caixa;
    e.base.v = v;
    e.base.h = h;
    e.base.largura = largura;
    e.base.altura = altura;
    e.base.espV = espV;
    e.base.espH = espH;
    e.base.canto = canto;
    return e;
}

TElemento Quando(TElemento e, std::function<bool(const TContextoEtiqueta&)> condicao) {
    TRegra anterior = std::move(e.regra);
    e.regra = [condicao = std::move(condicao), anterior = std::move(anterior)](TDesenho& d,
                                                                               const TContextoEtiqueta& c) {
        if (!condicao(c)) return false;
        return anterior ? anterior(d, c) : true;
    };
    return e;
}

TElemento SemDeslocamento(TElemento e) {
    e.base.desloca = false;
    return e;
}

namespace {

// The printers take Windows-1252; what it cannot hold prints as a blank.
std::string ParaImpressora(const std::string& utf8) {
    for (unsigned char c : utf8)
        if (c >= 0x80) return Win1252::DeUtf8(utf8, ' ');
    return utf8;
}

void Desenhar(TCdbETQ& etq, const TDesenho& d, int h) {
    switch (d.tipo) {
        case TTipoDesenho::Texto:
            etq.ImprimirTexto(orNormal, d.fonte, d.multH, d.multV, d.v, h, ParaImpressora(d.valor), 0, false);
            break;
        case TTipoDesenho::Barras:
            etq.ImprimirBarras(orNormal, d.tipoBarras, d.larga, d.fina, d.v, h, ParaImpressora(d.valor), d.altura,
                               d.exibe);
            break;
        case TTipoDesenho::Linha: etq.ImprimirLinha(d.v, h, d.largura, d.altura); break;
        case TTipoDesenho::Caixa: etq.ImprimirCaixa(d.v, h, d.largura, d.altura, d.espV, d.espH, d.canto); break;
    }
}

}  // namespace

void TEscritaModelo::EscreverMemo(std::string texto) const { imp_.memoTm = std::move(texto); }
void TEscritaModelo::ZerarAddColuna() const { imp_.AddColuna = 0; }
void TEscritaModelo::DeixarParametro(std::string aux4) const { imp_.lblParametro = std::move(aux4); }

void PercorrerFila(TImpressaoEtiquetas& imp, const TModeloTermico& modelo) {
    const TEscritaModelo escrita(imp);
    TTabela& fila = imp.tblEtiquetaRead;
    TCdbETQ& etq = imp.CdbETQ;
    imp.IniciarContagem();
    const int dpi = etq.DPI() == dpi600 ? 600 : etq.DPI() == dpi300 ? 300 : 203;

    int coluna = 1;
    int x = 0;
    int naLinha = 0;  // labels drawn into the row not yet sent
    bool composto = false;
    TDesenho d;

    // The filtered queue table, or the rows a model's picture is drawn from.
    const std::vector<TLinhaFila>* memoria = imp.FilaEmMemoria;
    size_t k = 0;
    if (!memoria) fila.First();
    while (memoria ? k < memoria->size() : !fila.Eof()) {
        const TLinhaFila linha = memoria ? (*memoria)[k] : LerLinhaFila(fila);
        bool achou = false;
        if (linha.QUANTIDADE > Decimal(0)) {
            achou = imp.BuscarMercadoria(linha.CODIGO);
            imp.AnotarLinha(linha, achou);
        }
        if (achou) {
            if (modelo.aoAcharMercadoria) modelo.aoAcharMercadoria(escrita, imp.Mercadoria());
            const int64_t contagem = imp.EtiquetasDaLinha(linha);
            for (int64_t i = 0; i < contagem; ++i) {
                if (coluna == 1) {
                    etq.IniciarEtiqueta();
                    x = 0;
                } else {
                    x += modelo.passo;
                }
                const TContextoEtiqueta ctx{imp, linha, imp.Mercadoria(), coluna, escrita};
                for (const TElemento& e : modelo.elementos) {
                    d = e.base;
                    if (e.valor) d.valor = e.valor(ctx);
                    if (e.regra && !e.regra(d, ctx)) continue;
                    const int desloca = modelo.usaAddColuna && d.desloca ? imp.AddColuna : 0;
                    if (modelo.linguagem != etqNenhum) AdaptarLinguagem(d, modelo.linguagem, etq.Modelo());
                    if (modelo.porLinha > 1) EstreitarBarras(d, etq.Modelo(), modelo.passo, dpi);
                    Desenhar(etq, d, x + d.h + desloca);
                }
                // A layout without elements composes nothing worth sending.
                if (!modelo.elementos.empty()) composto = true;
                ++naLinha;
                if (coluna == modelo.porLinha) {
                    coluna = 1;
                    const int n = naLinha;
                    naLinha = 0;
                    if (!imp.EnviarTrabalho(n)) return;
                } else {
                    ++coluna;
                }
            }
        }
        if (memoria)
            ++k;
        else
            fila.Next();
    }
    if (coluna != 1 && composto) imp.EnviarTrabalho(naLinha);
}

namespace fonte {

TFonte Fixo(std::string texto) {
    return [texto = std::move(texto)](const TContextoEtiqueta&) { return texto; };
}
TFonte Nome(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.merc.NOM_MER, a, b); };
}
TFonte NomeFila(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.fila.NOME, a, b); };
}
TFonte SoNome(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.fila.SO_NOME, a, b); };
}
TFonte Codigo() {
    return [](const TContextoEtiqueta& c) { return c.merc.COD_BAR; };
}
TFonte CodigoFila() {
    return [](const TContextoEtiqueta& c) { return c.fila.BARRAS; };
}
TFonte CodigoReduzido() {
    return [](const TContextoEtiqueta& c) { return std::to_string(c.merc.COD_RED); };
}
TFonte Referencia(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.merc.REF_MER, a, b); };
}
TFonte Variante(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.fila.NRO_LOTE, a, b); };
}
TFonte Preco() {
    return [](const TContextoEtiqueta& c) { return "R$ " + FormataValor(c.fila.VLR_VEN); };
}
TFonte PrecoMercadoria() {
    return [](const TContextoEtiqueta& c) { return "R$ " + FormataValor(c.merc.VLR_VEN); };
}
TFonte PrecoSimples() {
    return [](const TContextoEtiqueta& c) { return FormataValor(c.fila.VLR_VEN); };
}
TFonte PrecoMercadoriaSimples() {
    return [](const TContextoEtiqueta& c) { return FormataValor(c.merc.VLR_VEN); };
}
TFonte Prefixo(std::string prefixo, TFonte valor) {
    return [prefixo = std::move(prefixo), valor = std::move(valor)](const TContextoEtiqueta& c) {
        return prefixo + valor(c);
    };
}
TFonte Trecho(TFonte valor, int a, int b) {
    return [valor = std::move(valor), a, b](const TContextoEtiqueta& c) { return ::Trecho(valor(c), a, b); };
}

}  // namespace fonte

bool RegraFE(TDesenho& d, const TContextoEtiqueta&) {
    d.tipoBarras = Comprimento(d.valor) == 13 ? "F" : "E";
    return true;
}

bool RegraE30_1(TDesenho& d, const TContextoEtiqueta&) {
    d.tipoBarras = Comprimento(d.valor) == 13 ? "E30" : "1";
    return true;
}
