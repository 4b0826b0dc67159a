#pragma once
// What the model 09 label editor does to a design, without the window: the
// design as read and as edited, the field rows kept in print order (AUX_2,
// equal verticals in their order), the selected row following its row
// through every change, cell texts checked before they reach the design, and
// moves by whole millimetres. The window shows this and redraws its picture
// after each change that answers true / "".
#include <string>
#include <vector>

#include "labels/Leiaute09.h"

// The table's columns.
enum class TColuna09 { Imprime, Texto, Fonte, Vertical, Horizontal, Tamanho, Variante };

class TEditorLeiaute09 {
public:
    // What the "Imprime" choice offers: the vocabulary, then the barcode and a free text.
    static std::vector<std::string> Escolhas();

    // A design as read from the table: the edit starts over from it.
    void Carregar(const TLeiaute09& lido);
    const TLeiaute09& Lido() const { return lido_; }
    const TLeiaute09& Atual() const { return atual_; }
    bool Alterado() const { return atual_ != lido_; }

    int Selecionado() const { return selecionado_; }  // -1: none
    void Selecionar(int campo);

    // Header cells and field cells as typed: "" when taken, else why not
    // (the design stays as it was).
    std::string DefinirPorLinha(const std::string& texto);
    std::string DefinirPasso(const std::string& texto);
    std::string DefinirCelula(int campo, TColuna09 coluna, const std::string& texto);
    // The text a cell shows.
    std::string TextoCelula(int campo, TColuna09 coluna) const;

    // A new row printing `nome` below the others, selected; its index.
    int Adicionar(const std::string& nome);
    void Remover(int campo);
    // Print order is AUX_2 order: only rows at the same vertical trade places.
    std::string Subir(int campo);
    std::string Descer(int campo);
    // Moves a row by whole millimetres; "" when moved, else why not.
    std::string Mover(int campo, int dv, int dh);
    // Puts a row at a place (dragging); negative values stop at 0.
    void Posicionar(int campo, int vertical, int horizontal);

private:
    void Ordenar();  // stable by AUX_2, the selection follows its row
    std::string Trocar(int campo, int outro);

    TLeiaute09 lido_, atual_;
    std::vector<int> ids_;  // one per row of atual_, to follow rows through the sort
    int proximoId_ = 0;
    int selecionado_ = -1;
};
