#include "labels/EditorLeiaute09.h"

#include <algorithm>
#include <numeric>

#include "common/TextoRecusado.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "labels/Mercadoria.h"

namespace {

constexpr size_t kTextoCurto = 30;  // NOM_CAMPO, TIT_CAMPO
constexpr size_t kTextoLongo = 50;  // AUX_4

bool EBarras(const std::string& nome) { return Utf8::Maiusculas(nome) == "CODIGO DE BARRAS"; }

int* ColunaInteira(TCampo09& c, TColuna09 coluna) {
    switch (coluna) {
        case TColuna09::Fonte: return &c.fonte;
        case TColuna09::Vertical: return &c.vertical;
        case TColuna09::Horizontal: return &c.horizontal;
        case TColuna09::Tamanho: return &c.tamanho;
        default: return nullptr;
    }
}

}  // namespace

std::vector<std::string> TEditorLeiaute09::Escolhas() {
    std::vector<std::string> r = VocabularioCampos09();
    r.push_back("CODIGO DE BARRAS");
    r.push_back("TEXTO LIVRE");
    return r;
}

void TEditorLeiaute09::Carregar(const TLeiaute09& lido) {
    lido_ = lido;
    atual_ = lido;
    ids_.resize(atual_.campos.size());
    std::iota(ids_.begin(), ids_.end(), 0);
    proximoId_ = static_cast<int>(ids_.size());
    selecionado_ = atual_.campos.empty() ? -1 : 0;
}

void TEditorLeiaute09::Selecionar(int campo) {
    selecionado_ = campo >= 0 && campo < static_cast<int>(atual_.campos.size()) ? campo : -1;
}

std::string TEditorLeiaute09::DefinirPorLinha(const std::string& texto) {
    std::string erro;
    if (const auto v = InteiroLeiaute09(texto, erro)) atual_.porLinha = *v;
    return erro;
}

std::string TEditorLeiaute09::DefinirPasso(const std::string& texto) {
    std::string erro;
    if (const auto v = InteiroLeiaute09(texto, erro)) atual_.passo = *v;
    return erro;
}

std::string TEditorLeiaute09::DefinirCelula(int campo, TColuna09 coluna, const std::string& texto) {
    if (campo < 0 || campo >= static_cast<int>(atual_.campos.size())) return "Nenhum campo escolhido.";
    TCampo09& c = atual_.campos[static_cast<size_t>(campo)];
    if (int* alvo = ColunaInteira(c, coluna)) {
        std::string erro;
        const auto v = InteiroLeiaute09(texto, erro);
        if (!v) return erro;
        *alvo = *v;
        if (coluna == TColuna09::Vertical) {
            Selecionar(campo);
            Ordenar();
        }
        return "";
    }
    switch (coluna) {
        case TColuna09::Imprime: {
            const std::string nome = Trim(texto);
            if (nome.empty()) return "Escolha o que o campo imprime.";
            if (const std::string p = Win1252::ProblemaNoTexto(nome); !p.empty()) return "O nome do campo " + p + ".";
            if (Comprimento(nome) > kTextoCurto)
                return "O nome do campo tem no máximo " + std::to_string(kTextoCurto) + " caracteres.";
            const bool eraBarras = EBarras(c.nome);
            c.nome = nome;
            // A row that becomes the barcode gets a bar height and the variant
            // that shows the digits; one that stops being it, a text's size.
            if (EBarras(nome) && !eraBarras) {
                if (c.variante.empty()) c.variante = "A";
            } else if (!EBarras(nome) && eraBarras) {
                c.variante.clear();
            }
            if (Utf8::Maiusculas(Trecho(nome, 1, 11)) == "TEXTO LIVRE" && c.titulo.empty()) c.titulo = "TEXTO";
            return "";
        }
        case TColuna09::Texto:
            if (const std::string p = Win1252::ProblemaNoTexto(texto); !p.empty()) return "O texto livre " + p + ".";
            if (Comprimento(texto) > kTextoCurto)
                return "O texto livre tem no máximo " + std::to_string(kTextoCurto) + " caracteres.";
            c.titulo = texto;
            return "";
        case TColuna09::Variante:
            if (const std::string p = Win1252::ProblemaNoTexto(Trim(texto)); !p.empty()) return "A variante " + p + ".";
            if (Comprimento(Trim(texto)) > kTextoLongo)
                return "A variante tem no máximo " + std::to_string(kTextoLongo) + " caracteres.";
            c.variante = Trim(texto);
            return "";
        default: return "";
    }
}

std::string TEditorLeiaute09::TextoCelula(int campo, TColuna09 coluna) const {
    const TCampo09& c = atual_.campos.at(static_cast<size_t>(campo));
    switch (coluna) {
        case TColuna09::Imprime: return c.nome;
        case TColuna09::Texto: return c.titulo;
        case TColuna09::Fonte: return std::to_string(c.fonte);
        case TColuna09::Vertical: return std::to_string(c.vertical);
        case TColuna09::Horizontal: return std::to_string(c.horizontal);
        case TColuna09::Tamanho: return std::to_string(c.tamanho);
        case TColuna09::Variante: return c.variante;
    }
    return "";
}

int TEditorLeiaute09::Adicionar(const std::string& nome) {
    const bool barras = EBarras(nome);
    int embaixo = 0;
    for (const TCampo09& o : atual_.campos) embaixo = std::max(embaixo, o.vertical + 4);
    const bool livre = Utf8::Maiusculas(Trecho(nome, 1, 11)) == "TEXTO LIVRE";
    TCampo09 c = CampoLeiaute09(nome, barras ? 10 : 20, barras ? 0 : 2,
                                atual_.campos.empty() ? 2 : std::min(embaixo, kMaximoLeiaute09), 1, barras ? "A" : "",
                                livre ? "TEXTO" : "");
    atual_.campos.push_back(c);
    ids_.push_back(proximoId_++);
    selecionado_ = static_cast<int>(atual_.campos.size()) - 1;
    Ordenar();
    return selecionado_;
}

void TEditorLeiaute09::Remover(int campo) {
    if (campo < 0 || campo >= static_cast<int>(atual_.campos.size())) return;
    atual_.campos.erase(atual_.campos.begin() + campo);
    ids_.erase(ids_.begin() + campo);
    selecionado_ = std::min(campo, static_cast<int>(atual_.campos.size()) - 1);
}

std::string TEditorLeiaute09::Trocar(int campo, int outro) {
    const int n = static_cast<int>(atual_.campos.size());
    if (campo < 0 || campo >= n || outro < 0 || outro >= n) return "";
    auto& cs = atual_.campos;
    if (cs[static_cast<size_t>(campo)].vertical != cs[static_cast<size_t>(outro)].vertical)
        return "A ordem de impressão segue a posição vertical: só campos na mesma vertical trocam de lugar. Mude a "
               "vertical para mudar a ordem.";
    std::swap(cs[static_cast<size_t>(campo)], cs[static_cast<size_t>(outro)]);
    std::swap(ids_[static_cast<size_t>(campo)], ids_[static_cast<size_t>(outro)]);
    selecionado_ = outro;
    return "";
}

std::string TEditorLeiaute09::Subir(int campo) { return Trocar(campo, campo - 1); }
std::string TEditorLeiaute09::Descer(int campo) { return Trocar(campo, campo + 1); }

std::string TEditorLeiaute09::Mover(int campo, int dv, int dh) {
    if (campo < 0 || campo >= static_cast<int>(atual_.campos.size())) return "Escolha um campo para mover.";
    const TCampo09& c = atual_.campos[static_cast<size_t>(campo)];
    const long long v = static_cast<long long>(c.vertical) + dv, h = static_cast<long long>(c.horizontal) + dh;
    if (v < 0 || h < 0) return "As posições começam em 0 mm: o campo já está na borda.";
    if (v > kMaximoLeiaute09 || h > kMaximoLeiaute09) return "Passa do que a coluna guarda.";
    Posicionar(campo, static_cast<int>(v), static_cast<int>(h));
    return "";
}

void TEditorLeiaute09::Posicionar(int campo, int vertical, int horizontal) {
    if (campo < 0 || campo >= static_cast<int>(atual_.campos.size())) return;
    TCampo09& c = atual_.campos[static_cast<size_t>(campo)];
    c.vertical = std::clamp(vertical, 0, kMaximoLeiaute09);
    c.horizontal = std::clamp(horizontal, 0, kMaximoLeiaute09);
    selecionado_ = campo;
    Ordenar();
}

void TEditorLeiaute09::Ordenar() {
    const int escolhido = selecionado_ >= 0 ? ids_[static_cast<size_t>(selecionado_)] : -1;
    std::vector<size_t> ordem(atual_.campos.size());
    std::iota(ordem.begin(), ordem.end(), size_t{0});
    std::stable_sort(ordem.begin(), ordem.end(),
                     [&](size_t a, size_t b) { return atual_.campos[a].vertical < atual_.campos[b].vertical; });
    std::vector<TCampo09> campos;
    std::vector<int> ids;
    for (size_t i : ordem) {
        campos.push_back(std::move(atual_.campos[i]));
        ids.push_back(ids_[i]);
    }
    atual_.campos = std::move(campos);
    ids_ = std::move(ids);
    selecionado_ = -1;
    for (size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == escolhido) selecionado_ = static_cast<int>(i);
}
