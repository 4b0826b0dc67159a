#include "data/demo/InsercaoEmBloco.h"

namespace demo {

TInsercaoEmBloco::TInsercaoEmBloco(fb::TDatabase& banco, fb::TTransaction& tr, std::string tabela,
                                   std::vector<std::string> colunas, int porBloco)
    : banco_(banco),
      tr_(tr),
      tabela_(std::move(tabela)),
      colunas_(std::move(colunas)),
      porBloco_(porBloco),
      valores_(static_cast<size_t>(porBloco) * colunas_.size()) {}

void TInsercaoEmBloco::FimDaLinha() {
    if (++linha_ < porBloco_) return;
    if (!cheio_) {
        cheio_ = std::make_unique<fb::TQuery>(banco_, tr_);
        Montar(*cheio_, porBloco_);
    }
    Enviar(*cheio_, porBloco_);
}

void TInsercaoEmBloco::Descarregar() {
    if (linha_ == 0) return;
    fb::TQuery resto(banco_, tr_);
    Montar(resto, linha_);
    Enviar(resto, linha_);
}

void TInsercaoEmBloco::Enviar(fb::TQuery& q, int linhas) {
    const int n = linhas * static_cast<int>(colunas_.size());
    for (int k = 0; k < n; ++k) {
        const auto& v = valores_[static_cast<size_t>(k)];
        switch (v.tipo) {
            case TValorBloco::Nulo: q.ParamNulo(k); break;
            case TValorBloco::Inteiro:
            case TValorBloco::Numero: q.ParamDecimal(k, v.numero); break;
            case TValorBloco::Texto: q.ParamTexto(k, v.texto); break;
            case TValorBloco::Data: q.ParamData(k, v.data); break;
        }
    }
    q.ExecSQL();
    linha_ = 0;
}

void TInsercaoEmBloco::Montar(fb::TQuery& q, int linhas) const {
    const size_t n = colunas_.size();
    std::string decl = "EXECUTE BLOCK (";
    for (size_t k = 0; k < static_cast<size_t>(linhas) * n; ++k)
        decl += (k ? ", P" : "P") + std::to_string(k) + " TYPE OF COLUMN " + tabela_ + "." + colunas_[k % n] + " = ?";
    q.Add(decl + ")");
    q.Add("AS BEGIN");
    std::string cols;
    for (size_t c = 0; c < n; ++c) cols += (c ? ", " : "") + colunas_[c];
    const std::string insercao = "  INSERT INTO " + tabela_ + " (" + cols + ") VALUES (";
    for (int l = 0; l < linhas; ++l) {
        std::string v = insercao;
        for (size_t c = 0; c < n; ++c) v += (c ? ", :P" : ":P") + std::to_string(static_cast<size_t>(l) * n + c);
        v += ");";
        q.Add(v);
    }
    q.Add("END");
}

}  // namespace demo
