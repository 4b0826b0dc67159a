#include "labels/termicos/Auxiliares.h"

#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Mercadoria.h"

namespace {

TDateTime DataDeHoje(const TContextoEtiqueta& c) { return c.imp.Hoje ? c.imp.Hoje() : Hoje(); }

}  // namespace

namespace fonte {

TFonte Aplicacao(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.merc.APLICACAO, a, b); };
}
TFonte Aplicacao2(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.merc.APLICACAO2, a, b); };
}
TFonte Apelido(int a, int b) {
    return [a, b](const TContextoEtiqueta& c) { return ::Trecho(c.merc.APE_CUP, a, b); };
}
TFonte PrecoMercadoria2Simples() {
    return [](const TContextoEtiqueta& c) { return FormataValor(c.merc.VLR_VEN_2); };
}
TFonte DataCadastro() {
    return [](const TContextoEtiqueta& c) { return c.merc.DATA_CAD ? DataCurta(*c.merc.DATA_CAD) : std::string(); };
}
TFonte DataDoDia(const std::string& padrao) {
    return [padrao](const TContextoEtiqueta& c) {
        return padrao.empty() ? DataCurta(DataDeHoje(c)) : FormataData(padrao, DataDeHoje(c));
    };
}
TFonte DataDoDiaMaisGarantia() {
    return [](const TContextoEtiqueta& c) { return DataCurta(DataDeHoje(c) + static_cast<double>(c.merc.GARANTIA)); };
}
TFonte Unidade() {
    return [](const TContextoEtiqueta& c) { return TImpressaoEtiquetas::troca_Unidade(c.merc.UNI_MER); };
}
TFonte UltimosCaracteres(TFonte valor, int n) {
    // Reversed, cut, reversed back: the last n characters, the whole text when shorter.
    return [valor = std::move(valor), n](const TContextoEtiqueta& c) {
        return InverteTexto(::Trecho(InverteTexto(valor(c)), 1, n));
    };
}

}  // namespace fonte

std::string Ajustado(const std::string& texto, int largura) {
    std::string r = Trecho(texto, 1, largura);
    for (size_t n = Comprimento(r); n < static_cast<size_t>(largura); ++n) r += ' ';
    return r;
}

TCondicao ComprimentoEntre(TFonte valor, int de, int ate) {
    return [valor = std::move(valor), de, ate](const TContextoEtiqueta& c) {
        const size_t n = Comprimento(valor(c));
        return n >= static_cast<size_t>(de) && n <= static_cast<size_t>(ate);
    };
}

TCondicao ComprimentoDiferente(TFonte valor, int n) {
    return [valor = std::move(valor), n](const TContextoEtiqueta& c) {
        return Comprimento(valor(c)) != static_cast<size_t>(n);
    };
}

TCondicao NomeMaiorQue(int n) {
    return [n](const TContextoEtiqueta& c) { return Comprimento(c.merc.NOM_MER) > static_cast<size_t>(n); };
}

TRegra PorComprimento(std::vector<TCasoBarras> casos) {
    return [casos = std::move(casos)](TDesenho& d, const TContextoEtiqueta&) {
        const size_t n = Comprimento(d.valor);
        for (const TCasoBarras& k : casos) {
            if (n < static_cast<size_t>(k.de) || n > static_cast<size_t>(k.ate)) continue;
            d.tipoBarras = k.tipo;
            d.h = k.h;
            d.v = k.v;
            d.altura = k.altura;
            d.exibe = k.exibe;
            if (!k.larga.empty()) d.larga = k.larga;
            if (!k.fina.empty()) d.fina = k.fina;
            d.valor = k.prefixo + d.valor;
            return true;
        }
        return false;
    };
}

TRegra PosicaoPorComprimento(TFonte valor, std::vector<TCasoPosicao> casos) {
    return [valor = std::move(valor), casos = std::move(casos)](TDesenho& d, const TContextoEtiqueta& c) {
        const size_t n = Comprimento(valor(c));
        for (const TCasoPosicao& k : casos) {
            if (n < static_cast<size_t>(k.de) || n > static_cast<size_t>(k.ate)) continue;
            d.h = k.h;
            return true;
        }
        return false;
    };
}

TElemento ComRegra(TElemento e, TRegra regra) {
    e.regra = std::move(regra);
    return e;
}

void SemAddColuna(const TEscritaModelo& escrita, const TMercadoria&) { escrita.ZerarAddColuna(); }

TElemento Barras10() {
    return Barras(50, 60, fonte::Codigo(), 70, becNAO,
                  PorComprimento({
                      {13, 13, "F", 50, 30, 70, becSIM},
                      {0, kSemLimite, "E", 50, 60, 70, becNAO},
                  }));
}

TElemento TextoCodigo10() {
    return Quando(Texto(2, 80, 15, fonte::Codigo()), ComprimentoDiferente(fonte::Codigo(), 13));
}

TElemento BarrasGondola() {
    return Barras(120, 60, fonte::Codigo(), 90, becNAO,
                  PorComprimento({
                      {13, 13, "F", 120, 60, 90, becSIM},
                      {9, kSemLimite, "E", 50, 60, 90, becNAO},
                      {4, 8, "E", 120, 60, 90, becNAO},
                      {0, 3, "E", 120, 60, 90, becNAO, "", "", "0"},
                  }));
}

TElemento TextoCodigoGondola() {
    return Quando(Texto(2, 150, 5, fonte::Codigo(), 1, 2), ComprimentoDiferente(fonte::Codigo(), 13));
}
