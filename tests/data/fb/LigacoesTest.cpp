#include "data/fb/Ligacoes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace fb;

namespace {

struct TDonoTeste;

struct TMembroTeste {
    std::string nome;
    TLigacao<TDonoTeste, TMembroTeste> dono{*this};
    explicit TMembroTeste(std::string n) : nome(std::move(n)) {}
};

struct TDonoTeste {
    TRegistro<TDonoTeste, TMembroTeste> membros;
    std::vector<std::string> Nomes() const {
        std::vector<std::string> r;
        membros.ParaCada([&](TMembroTeste& m) { r.push_back(m.nome); });
        return r;
    }
};

}  // namespace

TEST(Ligacoes, MembroQueSaiDeixaORegistroNaOrdemDeEntrada) {
    TDonoTeste dono;
    auto a = std::make_unique<TMembroTeste>("a");
    auto b = std::make_unique<TMembroTeste>("b");
    auto c = std::make_unique<TMembroTeste>("c");
    for (auto* m : {a.get(), b.get(), c.get()}) m->dono.Ligar(dono, dono.membros);
    EXPECT_EQ(dono.Nomes(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(a->dono.get(), &dono);
    b.reset();
    EXPECT_EQ(dono.Nomes(), (std::vector<std::string>{"a", "c"}));
    c->dono.Soltar();
    EXPECT_FALSE(c->dono);
    EXPECT_EQ(dono.Nomes(), (std::vector<std::string>{"a"}));
}

TEST(Ligacoes, DonoQueSaiPrimeiroCortaAsLigacoes) {
    auto dono = std::make_unique<TDonoTeste>();
    TMembroTeste m("m");
    m.dono.Ligar(*dono, dono->membros);
    EXPECT_TRUE(m.dono);
    dono.reset();
    EXPECT_FALSE(m.dono);
    EXPECT_EQ(m.dono.get(), nullptr);
    // the member's own end finds nothing to leave
    m.dono.Soltar();
    EXPECT_FALSE(m.dono);
}

TEST(Ligacoes, LigarDeNovoTrocaDeDono) {
    TDonoTeste um, outro;
    TMembroTeste m("m");
    m.dono.Ligar(um, um.membros);
    m.dono.Ligar(outro, outro.membros);
    EXPECT_EQ(um.membros.Quantos(), 0u);
    EXPECT_EQ(outro.Nomes(), std::vector<std::string>{"m"});
    EXPECT_EQ(m.dono.get(), &outro);
}
