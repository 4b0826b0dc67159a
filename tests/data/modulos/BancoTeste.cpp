#include "BancoTeste.h"

#include <filesystem>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

std::vector<std::string> TInterfaceGravada::Mensagens() const {
    std::vector<std::string> r;
    for (const auto& e : eventos)
        if (e.rfind("Mensagem:", 0) == 0) r.push_back(e.substr(9));
    return r;
}

void BancoTeste::SetUp() {
    pasta_ = CriarPastaTemp("etiq-dados");
    banco_ = pasta_ + "/loja.fdb";
    {
        fb::TDatabase db;
        db.SetCaminho(banco_);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db, esquema_);
    }
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
    fb::TQuery q(db, *outroTr_);
    q.Add(sql);
    q.Open();
    std::string r = q.Eof() ? "" : q.FieldByName(q.NomesDosCampos().at(0)).AsString();
    q.Close();
    return r;
}
