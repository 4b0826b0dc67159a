#include "PastaTemporaria.h"

#include <algorithm>
#include <filesystem>

#include "suporte/Suporte.h"

namespace fs = std::filesystem;

PastaTemporaria::PastaTemporaria() : pasta_(CriarPastaTemp("etiq-fb")) {}

PastaTemporaria::~PastaTemporaria() {
    std::error_code ec;
    fs::remove_all(pasta_, ec);
}

std::vector<std::string> PastaTemporaria::Conteudo() const {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(pasta_)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

std::vector<std::string> ParametrosTeste() { return {"user_name=SYSDBA", "password=pinewoods", "lc_ctype=WIN1252"}; }

void BancoFb::SetUp() {
    caminho = pasta.Arquivo("teste.fdb");
    db.SetCaminho(caminho);
    auto p = ParametrosTeste();
    p.push_back("force_write=0");  // test files need no fsync per commit
    db.SetParametros(p);
    db.CriarBanco();
}

void BancoFb::TearDown() { db.Desconectar(); }

std::unique_ptr<fb::TDatabase> BancoFb::OutraConexao() const {
    auto o = std::make_unique<fb::TDatabase>();
    o->SetCaminho(caminho);
    o->SetParametros(ParametrosTeste());
    return o;
}
