#include "InterfaceUsuario.h"

#include <iostream>

namespace {

class TInterfaceTexto final : public TInterfaceUsuario {
public:
    void Mensagem(const std::string& texto) override { std::cerr << texto << "\n"; }
    bool Confirma(const std::string& pergunta) override {
        std::cerr << pergunta << " (não)\n";
        return false;
    }
    void MostraAguarde() override {}
    void RepintaAguarde() override {}
    void EscondeAguarde() override {}
};

TInterfaceTexto g_texto;
TInterfaceUsuario* g_atual = &g_texto;

}  // namespace

TInterfaceUsuario& InterfaceUsuario() { return *g_atual; }
void DefinirInterfaceUsuario(TInterfaceUsuario* iu) { g_atual = iu ? iu : &g_texto; }
