#pragma once
// Inserts rows into one table several at a time: an EXECUTE BLOCK holding K
// inserts costs the engine far less than K single statements. Values are set
// per column of the current row, as on a TQuery, and sent when the block is full.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Decimal.h"
#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"

namespace demo {

class TInsercaoEmBloco {
public:
    TInsercaoEmBloco(fb::TDatabase& banco, fb::TTransaction& tr, std::string tabela, std::vector<std::string> colunas,
                     int porBloco);

    void ParamInteiro(int i, int64_t v) { Valor(i) = {TValorBloco::Inteiro, Decimal(v), {}, 0}; }
    void ParamDecimal(int i, const Decimal& v) { Valor(i) = {TValorBloco::Numero, v, {}, 0}; }
    void ParamTexto(int i, std::string_view v) { Valor(i) = {TValorBloco::Texto, {}, std::string(v), 0}; }
    void ParamData(int i, TDateTime v) { Valor(i) = {TValorBloco::Data, {}, {}, v}; }
    void ParamNulo(int i) { Valor(i) = {TValorBloco::Nulo, {}, {}, 0}; }

    // Ends the current row; a full block is sent.
    void FimDaLinha();
    // Sends the rows of an unfinished block.
    void Descarregar();

private:
    // One column value of a row waiting in the block.
    struct TValorBloco {
        enum Tipo { Nulo, Inteiro, Numero, Texto, Data } tipo = Nulo;
        Decimal numero;
        std::string texto;
        TDateTime data = 0;
    };
    TValorBloco& Valor(int i) {
        return valores_[static_cast<size_t>(linha_) * colunas_.size() + static_cast<size_t>(i)];
    }
    void Enviar(fb::TQuery& q, int linhas);
    void Montar(fb::TQuery& q, int linhas) const;

    fb::TDatabase& banco_;
    fb::TTransaction& tr_;
    std::string tabela_;
    std::vector<std::string> colunas_;
    int porBloco_;
    int linha_ = 0;
    std::vector<TValorBloco> valores_;
    std::unique_ptr<fb::TQuery> cheio_;  // the statement of a full block, prepared once
};

}  // namespace demo
