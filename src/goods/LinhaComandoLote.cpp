#include "goods/LinhaComandoLote.h"

#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "goods/FiltroMercadorias.h"

namespace {

class TLeitor {
public:
    explicit TLeitor(const std::vector<std::string>& a) : a_(a) {}
    bool Fim() const { return i_ >= a_.size(); }
    const std::string& Proximo() { return a_[i_++]; }
    std::string Valor(const std::string& opcao) {
        if (Fim()) throw Exception("A opção " + opcao + " precisa de um valor.");
        return Proximo();
    }

private:
    const std::vector<std::string>& a_;
    size_t i_ = 0;
};

std::string Escolha(const std::string& opcao, const std::string& valor, std::initializer_list<const char*> validas) {
    for (const char* v : validas)
        if (valor == v) return valor;
    std::string lista;
    for (const char* v : validas) lista += (lista.empty() ? "" : "|") + std::string(v);
    throw Exception("Valor inválido para " + opcao + ": '" + valor + "' (use " + lista + ").");
}

long long Chave(const std::string& opcao, const std::string& valor) {
    if (!EhNumeroInteiro(valor) || valor.size() > 18)
        throw Exception("A opção " + opcao + " espera o código da lista, um número inteiro; '" + valor +
                        "' não serve.");
    return std::stoll(valor);
}

// The list as the window's memo holds it: lines joined with "\n", without
// the byte-order mark an editor on Windows puts before UTF-8.
std::string ListaDoArquivo(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string lista;
    lista.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            lista.push_back(bytes[i]);
            continue;
        }
        lista.push_back('\n');
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    return lista;
}

}  // namespace

const char* UsoLote() {
    return "[--ordem codigo|barras|nome] [--codigo DE ATE] [--barras TEXTO] [--diferente TEXTO]\n"
           "        [--barras-entre DE ATE] [--lista ARQUIVO|-] [--nome TEXTO] [--departamento N] [--fornecedor N]\n"
           "        [--codpers-entre DE ATE] [--departamento-nome TEXTO] [--setor NOME] [--referencia TEXTO]\n"
           "        [--localizacao TEXTO] [--alteracao DD/MM/AAAA DD/MM/AAAA] [--estoque positivo|negativo|zero]...\n"
           "        [--estoque2 positivo|negativo|zero]... [--minimo] [--maximo] [--gerados]\n"
           "        [--produto-estoque marcados|desmarcados|nenhum] [--produtos ativos|inativos|todos]\n"
           "        [--grade sim|nao] [--pis N] [--icms N] [--nota N] [--compra DD/MM/AAAA DD/MM/AAAA]\n"
           "        [--desatualizadas] [--nunca-etiquetadas] [--grades] [--modelo N] [--sql] [--sem-substituir]";
}

TPedidoLote LerPedidoLote(const std::vector<std::string>& argumentos,
                          const std::function<std::string(const std::string&)>& lerLista) {
    TPedidoLote p;
    TOpcoesMercadorias& o = p.Opcoes;
    TLeitor l(argumentos);
    while (!l.Fim()) {
        const std::string op = l.Proximo();
        if (op == "--ordem") {
            const std::string v = Escolha(op, l.Valor(op), {"codigo", "barras", "nome"});
            o.Ordem = v == "codigo"   ? TOrdemListagem::CodigoRed
                      : v == "barras" ? TOrdemListagem::CodigoBar
                                      : TOrdemListagem::NomeMer;
        } else if (op == "--codigo") {
            o.chkCodRed = true;
            o.edtCod1 = l.Valor(op);
            o.edtCod2 = l.Valor(op);
        } else if (op == "--barras") {
            o.chkBarras = true;
            o.edtcodbarras = l.Valor(op);
        } else if (op == "--diferente") {
            o.chkDiferente = true;
            o.edtDiferente = l.Valor(op);
        } else if (op == "--barras-entre") {
            o.chkNumero = true;
            o.edtCodBar = l.Valor(op);
            o.edtBar2 = l.Valor(op);
        } else if (op == "--lista") {
            o.chkListaCodBar = true;
            o.memoLista = ListaDoArquivo(lerLista(l.Valor(op)));
            ValidarListaNumerica(o.memoLista);
        } else if (op == "--nome") {
            o.chkNome = true;
            o.edtNome = l.Valor(op);
        } else if (op == "--departamento") {
            o.chkDepartamento = true;
            o.edtDepartamento = Chave(op, l.Valor(op));
        } else if (op == "--fornecedor") {
            o.chkFornecedor = true;
            o.edtFornecedor = Chave(op, l.Valor(op));
        } else if (op == "--codpers-entre") {
            o.chkCodPers = true;
            o.edtCodPers1 = l.Valor(op);
            o.edtCodPers2 = l.Valor(op);
        } else if (op == "--departamento-nome") {
            o.chkDepartComposta = true;
            o.edtNomeDepart = l.Valor(op);
        } else if (op == "--setor") {
            o.chksetor = true;
            o.edtSetor = l.Valor(op);
        } else if (op == "--referencia") {
            o.chkReferencia = true;
            o.edtReferencia = l.Valor(op);
        } else if (op == "--localizacao") {
            o.chkLocaliz = true;
            o.edtLocaliz = l.Valor(op);
        } else if (op == "--alteracao") {
            o.chkDataEmi = true;
            o.edtData1 = l.Valor(op);
            o.edtData2 = l.Valor(op);
        } else if (op == "--estoque" || op == "--estoque2") {
            const std::string v = Escolha(op, l.Valor(op), {"positivo", "negativo", "zero"});
            const bool dois = op == "--estoque2";
            if (v == "positivo") (dois ? o.chkEstoque2 : o.chkEstoque) = true;
            if (v == "negativo") (dois ? o.chkEstoqueM02 : o.chkEstoqueM0) = true;
            if (v == "zero") (dois ? o.chkEstoque02 : o.chkEstoque0) = true;
        } else if (op == "--minimo") {
            o.chkMinimo = true;
        } else if (op == "--maximo") {
            o.chkEstMax = true;
        } else if (op == "--desatualizadas") {
            o.chkDesatualizada = true;
        } else if (op == "--nunca-etiquetadas") {
            o.chkNuncaEtiquetada = true;
        } else if (op == "--gerados") {
            o.chkCodGer = true;
        } else if (op == "--produto-estoque") {
            const std::string v = Escolha(op, l.Valor(op), {"marcados", "desmarcados", "nenhum"});
            o.chkProEstoque = true;
            o.rMarcados = v == "marcados";
            o.rDesmarcados = v == "desmarcados";
        } else if (op == "--produtos") {
            const std::string v = Escolha(op, l.Valor(op), {"ativos", "inativos", "todos"});
            o.chkProAtivos = v != "todos";
            o.rbAtivos = v != "inativos";
        } else if (op == "--grade") {
            const std::string v = Escolha(op, l.Valor(op), {"sim", "nao"});
            o.chkGrade = true;
            o.rdSim = v == "sim";
        } else if (op == "--pis") {
            o.chkPiscofins = true;
            o.edtPis = Chave(op, l.Valor(op));
        } else if (op == "--icms") {
            o.chkICms = true;
            o.edtICMS = Chave(op, l.Valor(op));
        } else if (op == "--nota") {
            o.chkNNota = true;
            o.edtNNota = l.Valor(op);
        } else if (op == "--compra") {
            o.chkDataCompra = true;
            o.edtDtC1 = l.Valor(op);
            o.edtDtC2 = l.Valor(op);
        } else if (op == "--grades") {
            p.ProcessarGrades = true;
        } else if (op == "--modelo") {
            p.ParamModelo = "0" + SoNumeros(l.Valor(op));
        } else if (op == "--sql") {
            p.SoSQL = true;
        } else if (op == "--sem-substituir") {
            p.SemSubstituir = true;
        } else {
            throw Exception("Opção desconhecida: " + op);
        }
    }
    return p;
}
