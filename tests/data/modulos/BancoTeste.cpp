#include "BancoTeste.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "suporte/ConsultaFb.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

std::vector<std::string> TInterfaceGravada::Mensagens() const {
    std::vector<std::string> r;
    for (const auto& e : eventos)
        if (e.rfind("Mensagem:", 0) == 0) r.push_back(e.substr(9));
    return r;
}

namespace {

// An empty shop database per schema, made once and copied for every test:
// creating one costs seconds of synchronous writes, copying it milliseconds.
// Named by the schema's text, so a changed schema makes a new one.
std::string ModeloDoBanco(fb::TVersaoEsquema esquema) {
    const std::string_view ddl = fb::EsquemaLoja(esquema);
    char nome[64];
    std::snprintf(nome, sizeof nome, "etiq-esquema-%016zx.fdb", std::hash<std::string_view>{}(ddl));
    const fs::path modelo = fs::temp_directory_path() / nome;
    if (fs::exists(modelo)) return modelo.string();
    // Built aside and renamed: tests running at once never copy a half-made file.
    const std::string pasta = CriarPastaTemp("etiq-esquema");
    const std::string feito = pasta + "/loja.fdb";
    {
        fb::TDatabase db;
        db.SetCaminho(feito);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db, esquema);
    }
    std::error_code ec;
    fs::rename(feito, modelo, ec);
    fs::remove_all(pasta, ec);
    return modelo.string();
}

}  // namespace

void BancoTeste::SetUp() {
    pasta_ = CriarPastaTemp("etiq-dados");
    banco_ = pasta_ + "/loja.fdb";
    fs::copy_file(ModeloDoBanco(esquema_), banco_);
    DefinirDiretorioSistema(pasta_);
    GravarPathMerkor(banco_);
    DefinirInterfaceUsuario(&iu_);
}

void BancoTeste::TearDown() {
    outroTr_.reset();
    outro_.reset();
    DefinirInterfaceUsuario(nullptr);
    DefinirDiretorioSistema("");
    std::error_code ec;
    fs::remove_all(pasta_, ec);
}

void BancoTeste::GravarPathMerkor(const std::string& valor) { GravarConfig("PATH MERKOR", valor); }

fb::TDatabase& BancoTeste::Outro() {
    if (!outro_) {
        outro_ = std::make_unique<fb::TDatabase>();
        outro_->SetCaminho(banco_);
        outro_->SetParametros(ParametrosConexao());
        outroTr_ = std::make_unique<fb::TTransaction>(*outro_, ParametrosTransacao());
        outro_->SetTransacaoPadrao(outroTr_.get());
    }
    return *outro_;
}

void BancoTeste::FecharOutro() {
    outroTr_.reset();
    outro_.reset();
}

void BancoTeste::Executar(const std::string& sql) {
    fb::TDatabase& db = Outro();
    fb::TQuery q(db, *outroTr_);
    q.Add(sql);
    q.ExecSQL();
    outroTr_->CommitRetaining();
}

int64_t BancoTeste::Contar(const std::string& tabela, const std::string& condicao) {
    return std::stoll(Texto("select count(*) from " + tabela + " where " + condicao));
}

std::string BancoTeste::Texto(const std::string& sql) {
    fb::TDatabase& db = Outro();
    // A fresh look each time: commit what the read-committed reader holds.
    if (outroTr_->Ativa()) outroTr_->CommitRetaining();
    return PrimeiroValor(db, *outroTr_, sql);
}
