// The model 09 editor without its window: rows kept in print order with the
// selection following its row, reordering only where the order is free,
// moves by whole millimetres that stop at the edge, cells checked.
#include <gtest/gtest.h>

#include "labels/EditorLeiaute09.h"

namespace {

std::vector<std::string> Nomes(const TEditorLeiaute09& e) {
    std::vector<std::string> r;
    for (const TCampo09& c : e.Atual().campos) r.push_back(c.nome);
    return r;
}

TEST(EditorLeiaute09, LinhasNaOrdemDoAux2ComASelecaoAcompanhando) {
    TEditorLeiaute09 e;
    e.Carregar({});
    EXPECT_EQ(e.Selecionado(), -1);
    EXPECT_FALSE(e.Alterado());
    EXPECT_EQ(e.Adicionar("NOME"), 0);
    EXPECT_EQ(e.Adicionar("CODIGO DE BARRAS"), 1);
    EXPECT_EQ(e.Adicionar("TEXTO LIVRE"), 2);
    EXPECT_TRUE(e.Alterado());
    const TCampo09& barras = e.Atual().campos[1];
    EXPECT_EQ(barras.vertical, 6);
    EXPECT_EQ(barras.variante, "A");
    EXPECT_EQ(barras.tamanho, 10);
    EXPECT_EQ(e.Atual().campos[2].titulo, "TEXTO");

    // The free text moved to the top takes the first place, still selected.
    EXPECT_EQ(e.DefinirCelula(2, TColuna09::Vertical, "0"), "");
    EXPECT_EQ(Nomes(e), (std::vector<std::string>{"TEXTO LIVRE", "NOME", "CODIGO DE BARRAS"}));
    EXPECT_EQ(e.Selecionado(), 0);
    // Only rows at one vertical trade places.
    EXPECT_NE(e.Descer(0).find("só campos na mesma vertical trocam de lugar"), std::string::npos);
    EXPECT_EQ(e.DefinirCelula(1, TColuna09::Vertical, "0"), "");
    EXPECT_EQ(Nomes(e), (std::vector<std::string>{"TEXTO LIVRE", "NOME", "CODIGO DE BARRAS"}));
    EXPECT_EQ(e.Subir(1), "");
    EXPECT_EQ(Nomes(e), (std::vector<std::string>{"NOME", "TEXTO LIVRE", "CODIGO DE BARRAS"}));
    EXPECT_EQ(e.Selecionado(), 0);

    // Moves stop at 0; dragging clamps there.
    EXPECT_EQ(e.Mover(2, 0, 1), "");
    EXPECT_EQ(e.Atual().campos[2].horizontal, 2);
    EXPECT_EQ(e.Mover(0, -1, 0), "As posições começam em 0 mm: o campo já está na borda.");
    e.Posicionar(2, -5, 30);
    EXPECT_EQ(e.Atual().campos[0].nome, "NOME");  // equal verticals keep their order
    EXPECT_EQ(Nomes(e)[e.Selecionado()], "CODIGO DE BARRAS");
    EXPECT_EQ(e.Atual().campos[static_cast<size_t>(e.Selecionado())].horizontal, 30);

    e.Remover(e.Selecionado());
    EXPECT_EQ(Nomes(e), (std::vector<std::string>{"NOME", "TEXTO LIVRE"}));
    EXPECT_EQ(e.Selecionado(), 1);
}

TEST(EditorLeiaute09, CelulasRuinsNaoMudamODesenho) {
    TLeiaute09 l;
    l.temCabecalho = true;
    l.porLinha = 2;
    l.passo = 40;
    TCampo09 c;
    c.nome = "NOME";
    c.tamanho = 20;
    l.campos = {c};
    TEditorLeiaute09 e;
    e.Carregar(l);
    struct Caso {
        TColuna09 coluna;
        std::string texto;
        std::string erro;
    };
    const Caso casos[]{
        {TColuna09::Tamanho, "2.5", "Só números inteiros"},
        {TColuna09::Fonte, "-1", "Não pode ser negativo"},
        {TColuna09::Vertical, "214748365", "Passa do que a coluna guarda"},
        {TColuna09::Imprime, "  ", "Escolha o que o campo imprime."},
        {TColuna09::Imprime, std::string(31, 'N'), "O nome do campo tem no máximo 30 caracteres."},
        {TColuna09::Texto, std::string(31, 'x'), "O texto livre tem no máximo 30 caracteres."},
        {TColuna09::Variante, std::string(51, 'A'), "A variante tem no máximo 50 caracteres."},
        // The same characters the design file refuses: the table would keep them changed.
        {TColuna09::Texto, "OFERTA \xF0\x9F\x98\x80",
         "O texto livre tem o caractere \"\xF0\x9F\x98\x80\" (U+1F600), que o banco de dados da loja não guarda."},
        {TColuna09::Texto, std::string("A\0B", 3), "O texto livre tem um caractere de controle (byte 0x00)."},
        {TColuna09::Texto, "LINHA 1\nLINHA 2", "O texto livre tem um caractere de controle (byte 0x0A)."},
        {TColuna09::Imprime, "TEXTO LIVRE \xE2\x9C\x93",
         "O nome do campo tem o caractere \"\xE2\x9C\x93\" (U+2713), que o banco de dados da loja não guarda."},
        {TColuna09::Variante,
         "A\x01"
         "B",
         "A variante tem um caractere de controle (byte 0x01)."},
    };
    for (const Caso& k : casos) {
        EXPECT_EQ(e.DefinirCelula(0, k.coluna, k.texto).rfind(k.erro, 0), 0u) << k.texto;
        EXPECT_FALSE(e.Alterado()) << k.texto;
    }
    EXPECT_EQ(e.DefinirPorLinha("3,0").rfind("Só números inteiros", 0), 0u);
    EXPECT_EQ(e.DefinirPasso("36"), "");
    EXPECT_EQ(e.Atual().passo, 36);
    // A name outside the vocabulary is taken (it is only a warning).
    EXPECT_EQ(e.DefinirCelula(0, TColuna09::Imprime, "PRECO"), "");
    EXPECT_EQ(e.TextoCelula(0, TColuna09::Imprime), "PRECO");
    EXPECT_TRUE(e.Alterado());
}

}  // namespace
