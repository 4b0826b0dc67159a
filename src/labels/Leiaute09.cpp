// The model 09 design in FORMATMRG, and as a text file.
#include "labels/Leiaute09.h"

#include <map>
#include <sstream>
#include <utility>

#include "common/Excecoes.h"
#include "common/TextoRecusado.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/fb/FbCliente.h"
#include "labels/Mercadoria.h"

namespace {

constexpr int kMaximo = kMaximoLeiaute09;
constexpr size_t kTextoCurto = 30;  // NOM_CAMPO, TIT_CAMPO
constexpr size_t kTextoLongo = 50;  // AUX_4

std::string ProblemaInteiro(const std::string& coluna, int64_t valor) {
    if (valor < 0 || valor > kMaximo)
        return coluna + " fora do intervalo de 0 a " + std::to_string(kMaximo) + ": " + std::to_string(valor);
    return "";
}

std::string ProblemaTexto(const std::string& coluna, const std::string& valor, size_t maximo) {
    const std::string caractere = Win1252::ProblemaNoTexto(valor);
    if (!caractere.empty()) return coluna + " " + caractere;
    if (Comprimento(valor) > maximo)
        return coluna + " passa de " + std::to_string(maximo) + " caracteres: " + Citacao(valor);
    return "";
}

std::string ProblemaNome(const std::string& nome) { return ProblemaTexto("NOM_CAMPO", nome, kTextoCurto); }

bool Utf8Valido(std::string_view texto) {
    size_t i = 0;
    char32_t cp;
    while (i < texto.size())
        if (!Utf8::Proximo(texto, i, cp)) return false;
    return true;
}

bool EBarras(const TCampo09& c) { return Utf8::Maiusculas(c.nome) == "CODIGO DE BARRAS"; }

std::string ProblemaCampo(const TCampo09& c) {
    for (const std::string& p : {ProblemaNome(c.nome), ProblemaTexto("TIT_CAMPO", c.titulo, kTextoCurto),
                                 ProblemaInteiro("TAM_IMP", c.tamanho), ProblemaInteiro("AUX_1", c.fonte),
                                 ProblemaInteiro("AUX_2", c.vertical), ProblemaInteiro("AUX_3", c.horizontal),
                                 ProblemaTexto("AUX_4", c.variante, kTextoLongo)})
        if (!p.empty()) return p;
    return "";
}

int Inteiro(const fb::TQuery& q, const char* coluna) { return static_cast<int>(q.FieldByName(coluna).AsInteger()); }

TLeiaute09 Ler(fb::TQuery& q, std::string* chaveCabecalho) {
    TLeiaute09 l;
    q.Clear();
    q.Add("select rdb$db_key as CHAVE, ORD_IMP, TAM_IMP from FormatMrg where cod_mrg=113");
    q.Open();
    if (!q.Eof()) {
        l.temCabecalho = true;
        l.porLinha = Inteiro(q, "ORD_IMP");
        l.passo = Inteiro(q, "TAM_IMP");
        if (chaveCabecalho) *chaveCabecalho = q.FieldByName("CHAVE").AsString();
    }
    q.Clear();
    q.Add("select * from FormatMrg where cod_mrg=13 and Print_campo='T' order by Aux_2");
    q.Open();
    for (; !q.Eof(); q.Next()) {
        TCampo09 c;
        c.nome = q.FieldByName("NOM_CAMPO").AsString();
        c.titulo = q.FieldByName("TIT_CAMPO").AsString();
        c.tamanho = Inteiro(q, "TAM_IMP");
        c.fonte = Inteiro(q, "AUX_1");
        c.vertical = Inteiro(q, "AUX_2");
        c.horizontal = Inteiro(q, "AUX_3");
        c.variante = q.FieldByName("AUX_4").AsString();
        if (!q.FieldByName("ORD_IMP").IsNull()) c.ordImp = q.FieldByName("ORD_IMP").AsInteger();
        if (!q.FieldByName("AUX_5").IsNull()) c.aux5 = q.FieldByName("AUX_5").AsString();
        l.campos.push_back(std::move(c));
    }
    q.Close();
    return l;
}

void ParamTextoOuNulo(fb::TQuery& q, int i, const std::string& v) {
    if (v.empty())
        q.ParamNulo(i);
    else
        q.ParamTexto(i, v);
}

const char* NomeLinguagem09(TCdbETQModelo l) {
    switch (l) {
        case etqPpla: return "PPLA";
        case etqPplb: return "PPLB";
        case etqZPLII: return "ZPL";
        case etqEpl2: return "EPL2";
        default: return "nenhuma linguagem";
    }
}

// The PPLA barcode types by their letter.
std::string NomeTipoPpla09(const std::string& tipo) {
    static const char* const nomes[] = {"Code 39",
                                        "UPC-A",
                                        "UPC-E",
                                        "2 de 5 intercalado",
                                        "Code 128",
                                        "EAN-13",
                                        "EAN-8",
                                        "HIBC",
                                        "Codabar",
                                        "2 de 5 intercalado com dígito",
                                        "Plessey",
                                        "2 de 5 intercalado com barras de apoio",
                                        "extensão UPC de 2 dígitos",
                                        "extensão UPC de 5 dígitos",
                                        "Code 93",
                                        "Postnet",
                                        "UCC/EAN-128",
                                        "UCC/EAN-128 K-Mart",
                                        "UCC/EAN-128 peso variável",
                                        "Telepen"};
    if (tipo.size() == 1 && tipo[0] >= 'A' && tipo[0] <= 'T') return nomes[tipo[0] - 'A'];
    return tipo.empty() ? "vazio: a impressora não sabe que código fazer" : "que a impressora não conhece";
}

// The warning of the rows `juntos` (indices, in print order) at one place.
std::string MesmoLugar(const TLeiaute09& l, const std::vector<int>& juntos) {
    const TCampo09& c = l.campos[static_cast<size_t>(juntos[0])];
    const std::string lugar =
        "(vertical " + std::to_string(c.vertical) + " mm, horizontal " + std::to_string(c.horizontal) + " mm)";
    if (juntos.size() == 2)
        return NomeDoCampo09(l, juntos[0]) + " e " + NomeDoCampo09(l, juntos[1]) + " estão no mesmo lugar " + lugar +
               ".";
    constexpr size_t kNomeados = 5;
    const size_t outros = juntos.size() - 1;
    std::string nomes;
    for (size_t k = 1; k < juntos.size() && k <= kNomeados; ++k) {
        const bool ultimo = k == juntos.size() - 1;
        nomes += (k == 1 ? "" : ultimo ? " e " : ", ") + NomeDoCampo09(l, juntos[k]);
    }
    if (outros > kNomeados) nomes += " e mais " + std::to_string(outros - kNomeados);
    return std::to_string(outros) + " campos no mesmo lugar que o " + NomeDoCampo09(l, juntos[0]) + " " + lugar + ": " +
           nomes + ".";
}

}  // namespace

TCampo09 CampoLeiaute09(std::string nome, int tamanho, int fonte, int vertical, int horizontal, std::string variante,
                        std::string titulo) {
    TCampo09 c;
    c.nome = std::move(nome);
    c.titulo = std::move(titulo);
    c.tamanho = tamanho;
    c.fonte = fonte;
    c.vertical = vertical;
    c.horizontal = horizontal;
    c.variante = std::move(variante);
    return c;
}

const std::vector<std::string>& VocabularioCampos09() {
    static const std::vector<std::string> nomes{
        "CODIGO REDUZIDO",
        "CODIGO DE BARRAS TEXTO",
        "NOME",
        "APELIDO CUPOM",
        "APLICACAO",
        "REFERENCIA",
        "LOCALIZACAO",
        "UNIDADE",
        "VALOR DE COMPRA",
        "VALOR DE VENDA",
        "VALOR DE VENDA2",
        "VALOR DE VENDA3",
        "VALOR DE CUSTO",
        "COMPRA+ENCARGO",
        "ESTOQUE",
        "VALOR LETRAS",
        "GARANTIA",
        "TEXTO PARAMETRO",
    };
    return nomes;
}

bool NomeCampo09Valido(const std::string& nome) {
    if (Utf8::Maiusculas(nome) == "CODIGO DE BARRAS") return true;
    if (Utf8::Maiusculas(Trecho(nome, 1, 11)) == "TEXTO LIVRE") return true;
    for (const std::string& v : VocabularioCampos09())
        if (v == nome) return true;
    return false;
}

std::string ProblemaLeiaute09(const TLeiaute09& l) {
    if (l.campos.size() > kMaximoCamposLeiaute09)
        return "O desenho tem " + std::to_string(l.campos.size()) + " campos; o modelo 09 leva no máximo " +
               std::to_string(kMaximoCamposLeiaute09) + ".";
    for (const std::string& p : {ProblemaInteiro("ORD_IMP", l.porLinha), ProblemaInteiro("TAM_IMP", l.passo)})
        if (!p.empty()) return "Cabeçalho: " + p;
    for (size_t i = 0; i < l.campos.size(); ++i) {
        const std::string p = ProblemaCampo(l.campos[i]);
        if (!p.empty()) return "Campo " + std::to_string(i + 1) + ": " + p;
    }
    return "";
}

std::optional<int> InteiroLeiaute09(const std::string& texto, std::string& erro) {
    const std::string t = Trim(texto);
    erro.clear();
    if (t.empty())
        erro = "Escreva um número inteiro de 0 a " + std::to_string(kMaximo) + ".";
    else if (t[0] == '-' && t.size() > 1 && SoNumeros(t.substr(1)) == t.substr(1))
        erro = "Não pode ser negativo: \"" + t + "\".";
    else if (SoNumeros(t) != t)
        erro = "Só números inteiros, sem vírgula nem ponto: \"" + t +
               "\" não serve (posições são em milímetros inteiros).";
    else if (t.size() > 10 || std::stoll(t) > kMaximo)
        erro = "Passa do que a coluna guarda (até " + std::to_string(kMaximo) + "): \"" + t + "\".";
    if (!erro.empty()) return std::nullopt;
    return static_cast<int>(std::stoll(t));
}

TCdbETQModelo LinguagemDoTexto09(const std::string& modelo) {
    if (modelo == "PPLB") return etqPplb;
    if (modelo == "ZPL") return etqZPLII;
    if (modelo == "EPL2") return etqEpl2;
    return etqPpla;
}

std::string NomeDoCampo09(const TLeiaute09& l, int campo) {
    if (campo < 0 || campo >= static_cast<int>(l.campos.size())) return "Etiqueta";
    const std::string& nome = l.campos[static_cast<size_t>(campo)].nome;
    return "Campo " + std::to_string(campo + 1) + " (" + (nome.empty() ? std::string("sem nome") : nome) + ")";
}

std::vector<TAviso09> AvisosLeiaute09(const TLeiaute09& l, TCdbETQModelo linguagem) {
    std::vector<TAviso09> r;
    if (!l.campos.empty() && l.porLinha == 0)
        r.push_back({-1,
                     "Etiquetas por linha 0: nenhuma linha se completa, todas as etiquetas da impressão saem "
                     "umas sobre as outras numa só imagem no fim."});
    else if (l.porLinha > 1 && l.passo == 0)
        r.push_back({-1, "Passo 0 mm com " + std::to_string(l.porLinha) +
                             " etiquetas por linha: as etiquetas de uma linha saem umas sobre as outras."});
    const bool imprimeBarras = linguagem == etqPpla || linguagem == etqPplb;
    // Rows at one place make one warning, on the second of them: a design of
    // many rows at one place is named once, not once per pair.
    std::map<std::pair<int, int>, std::vector<int>> lugares;
    for (size_t i = 0; i < l.campos.size(); ++i)
        lugares[{l.campos[i].vertical, l.campos[i].horizontal}].push_back(static_cast<int>(i));
    for (size_t i = 0; i < l.campos.size(); ++i) {
        const TCampo09& c = l.campos[i];
        const int n = static_cast<int>(i);
        const std::string quem = NomeDoCampo09(l, n) + ": ";
        if (!NomeCampo09Valido(c.nome))
            r.push_back({n, quem + "o modelo 09 não conhece este nome e imprime um texto vazio no lugar. Escolha um "
                                   "campo da lista, CODIGO DE BARRAS ou TEXTO LIVRE."});
        else if (EBarras(c) && !imprimeBarras)
            r.push_back({n, quem + "a impressora está configurada em " + std::string(NomeLinguagem09(linguagem)) +
                                ", e nessa linguagem o modelo 09 não imprime código de barras (só em PPLA e "
                                "PPLB)."});
        else if (c.tamanho == 0)
            r.push_back({n, quem + (EBarras(c) ? "altura 0: as barras não aparecem." : "tamanho 0: nada é impresso.")});
        const std::vector<int>& juntos = lugares[{c.vertical, c.horizontal}];
        if (juntos.size() > 1 && juntos[1] == n) r.push_back({n, MesmoLugar(l, juntos)});
    }
    return r;
}

std::string DescricaoVariante09(const std::string& variante, TCdbETQModelo linguagem, const std::string& impressora) {
    const bool mostra = variante == "A" || variante == "D";
    const std::string numeros = mostra ? "com os números" : "sem os números";
    switch (linguagem) {
        case etqPpla: {
            std::string outros;
            if (impressora != "ELGIN")
                outros = "em Code 128 " + std::string(mostra || variante == "T" ? "com os números" : "sem os números") +
                         " (impressora Argox: a letra só decide os números)";
            else {
                const std::string tipo = mostra || variante == "T" ? variante : Utf8::Maiusculas(variante);
                outros = "no tipo PPLA \"" + tipo + "\" (" + NomeTipoPpla09(tipo) + ") " +
                         (mostra || variante == "T" ? "com os números" : "sem os números") +
                         " (impressora Elgin: a letra escolhe o tipo)";
            }
            return "Códigos de 13 dígitos saem em EAN-13 " + numeros + "; os demais " + outros + ".";
        }
        case etqPplb:
            return "Códigos de 13 dígitos saem em EAN-13, os demais em Code 128, " + numeros +
                   " (só A e D mostram os números).";
        default:
            return "Em " + std::string(NomeLinguagem09(linguagem)) +
                   " o modelo 09 não imprime código de barras: a letra não muda nada.";
    }
}

TLeiaute09 LerLeiaute09(fb::TDatabase& banco) {
    fb::TTransaction t(banco, {"read_committed", "rec_version", "nowait", "read"});
    fb::TQuery q(banco, t);
    TLeiaute09 l = Ler(q, nullptr);
    t.Commit();
    return l;
}

void GravarLeiaute09(fb::TDatabase& banco, const TLeiaute09& leiaute, const TLeiaute09& lido) {
    const std::string problema = ProblemaLeiaute09(leiaute);
    if (!problema.empty()) throw Exception("Desenho do modelo 09 não gravado. " + problema);

    // Snapshot and no wait: a row another workstation is changing fails the
    // save instead of blocking it. The destructor rolls back on any failure.
    fb::TTransaction t(banco, {"concurrency", "nowait"});
    fb::TQuery q(banco, t);
    std::string chave;
    if (Ler(q, &chave) != lido)
        throw EDesenhoAlterado09(
            "O desenho do modelo 09 foi alterado por outra estação depois de lido. "
            "Leia-o de novo antes de gravar.");

    q.Clear();
    if (lido.temCabecalho) {
        q.Add("update FormatMrg set ORD_IMP=?, TAM_IMP=? where rdb$db_key=?");
        q.ParamDbKey(2, chave);
    } else {
        q.Add("insert into FormatMrg (COD_MRG, ORD_IMP, TAM_IMP) values (113, ?, ?)");
    }
    q.ParamInteiro(0, leiaute.porLinha);
    q.ParamInteiro(1, leiaute.passo);
    q.ExecSQL();

    q.Clear();
    q.Add("delete from FormatMrg where cod_mrg=13 and Print_campo='T'");
    q.ExecSQL();
    q.Clear();
    q.Add(
        "insert into FormatMrg (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, "
        "AUX_4, AUX_5) values (13, ?, ?, ?, ?, 'T', ?, ?, ?, ?, ?)");
    for (const TCampo09& c : leiaute.campos) {
        q.ParamTexto(0, c.nome);
        ParamTextoOuNulo(q, 1, c.titulo);
        if (c.ordImp)
            q.ParamInteiro(2, *c.ordImp);
        else
            q.ParamNulo(2);
        q.ParamInteiro(3, c.tamanho);
        q.ParamInteiro(4, c.fonte);
        q.ParamInteiro(5, c.vertical);
        q.ParamInteiro(6, c.horizontal);
        ParamTextoOuNulo(q, 7, c.variante);
        if (c.aux5)
            q.ParamTexto(8, *c.aux5);
        else
            q.ParamNulo(8);
        q.ExecSQL();
    }
    t.Commit();
}

// The file: "[etiqueta]" with por_linha and passo_mm, then one "[campo]" per
// field row in print order; "chave = valor" lines, "#" comments.
std::string TextoLeiaute09(const TLeiaute09& l) {
    std::ostringstream s;
    s << "# Desenho da etiqueta do modelo 09\n";
    if (l.temCabecalho) s << "\n[etiqueta]\npor_linha = " << l.porLinha << "\npasso_mm = " << l.passo << "\n";
    for (const TCampo09& c : l.campos) {
        s << "\n[campo]\nimprime = " << c.nome << "\n";
        if (!c.titulo.empty()) s << "texto = " << c.titulo << "\n";
        s << "tamanho = " << c.tamanho << "\nfonte = " << c.fonte << "\nvertical_mm = " << c.vertical
          << "\nhorizontal_mm = " << c.horizontal << "\n";
        if (!c.variante.empty()) s << "variante = " << c.variante << "\n";
    }
    return s.str();
}

TLeiaute09 LerTextoLeiaute09(std::string_view texto, std::string_view arquivo) {
    TLeiaute09 l;
    std::string_view resto = texto;
    // Editors on Windows begin a UTF-8 file with a byte-order mark.
    if (resto.substr(0, 3) == "\xEF\xBB\xBF") resto.remove_prefix(3);
    int numero = 0;
    enum { Nenhuma, Etiqueta, Campo } secao = Nenhuma;
    int linhaSecao = 0;
    bool temImprime = false;
    std::map<std::string, int> chavesDaSecao;  // key -> its line
    const std::string prefixo = arquivo.empty() ? std::string() : std::string(arquivo) + ", ";
    auto falha = [&](int n, const std::string& motivo) {
        return Exception(prefixo + "Linha " + std::to_string(n) + ": " + motivo + ". Nada foi gravado.");
    };
    auto fecharCampo = [&]() {
        if (secao == Campo && !temImprime) throw falha(linhaSecao, "[campo] sem \"imprime\"");
    };
    while (!resto.empty()) {
        const size_t fim = resto.find('\n');
        std::string_view linha = resto.substr(0, fim);
        resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
        ++numero;
        if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
        // Every character reaches the database as it is, or the file is
        // refused: no text is changed without a word.
        if (const std::string p = Win1252::ProblemaNoTexto(linha, true); !p.empty())
            throw falha(numero, p + (Utf8Valido(linha) ? "" : ": o arquivo precisa estar em UTF-8"));
        const std::string t = Trim(linha);
        if (t.empty() || t[0] == '#' || t[0] == ';') continue;
        if (t == "[etiqueta]" || t == "[campo]") {
            fecharCampo();
            if (t == "[etiqueta]") {
                if (l.temCabecalho) throw falha(numero, "[etiqueta] repetida");
                l.temCabecalho = true;
                secao = Etiqueta;
            } else {
                if (l.campos.size() >= kMaximoCamposLeiaute09)
                    throw falha(numero, "mais de " + std::to_string(kMaximoCamposLeiaute09) +
                                            " campos; uma etiqueta do modelo 09 leva no máximo " +
                                            std::to_string(kMaximoCamposLeiaute09));
                l.campos.emplace_back();
                secao = Campo;
                temImprime = false;
            }
            linhaSecao = numero;
            chavesDaSecao.clear();
            continue;
        }
        const size_t igual = t.find('=');
        if (t[0] == '[' || igual == std::string::npos) throw falha(numero, "linha não entendida: " + Citacao(t));
        const std::string chave = Trim(t.substr(0, igual));
        const std::string valor = Trim(t.substr(igual + 1));
        auto inteiro = [&]() {
            const bool numeral = !valor.empty() && valor.size() <= 10 && SoNumeros(valor) == valor;
            if (!numeral)
                // NOLINTNEXTLINE(performance-inefficient-string-concatenation): a failure's message, built once
                throw falha(numero, chave + " pede um número inteiro de 0 a " + std::to_string(kMaximo) + ", não " +
                                        Citacao(valor));
            const std::string p = ProblemaInteiro(chave, std::stoll(valor));
            if (!p.empty()) throw falha(numero, p);
            return static_cast<int>(std::stoll(valor));
        };
        auto textoDe = [&](const std::string& p) -> const std::string& {
            if (!p.empty()) throw falha(numero, p);
            return valor;
        };
        const bool conhecida =
            (secao == Etiqueta && (chave == "por_linha" || chave == "passo_mm")) ||
            (secao == Campo && (chave == "imprime" || chave == "texto" || chave == "tamanho" || chave == "fonte" ||
                                chave == "vertical_mm" || chave == "horizontal_mm" || chave == "variante"));
        if (!conhecida)
            throw falha(numero, secao == Nenhuma ? "chave fora de [etiqueta] ou [campo]: " + Citacao(chave)
                                : secao == Campo ? "chave desconhecida em [campo]: " + Citacao(chave)
                                                 : "chave desconhecida em [etiqueta]: " + Citacao(chave));
        // A key given twice would silently take the last value.
        if (const auto [onde, nova] = chavesDaSecao.emplace(chave, numero); !nova)
            throw falha(numero, chave + " repetida nesta seção (já na linha " + std::to_string(onde->second) + ")");
        if (chave == "por_linha")
            l.porLinha = inteiro();
        else if (chave == "passo_mm")
            l.passo = inteiro();
        else {
            TCampo09& c = l.campos.back();
            if (chave == "imprime") {
                c.nome = textoDe(valor.empty() ? "imprime vazio" : ProblemaTexto(chave, valor, kTextoCurto));
                temImprime = true;
            } else if (chave == "texto")
                c.titulo = textoDe(ProblemaTexto(chave, valor, kTextoCurto));
            else if (chave == "tamanho")
                c.tamanho = inteiro();
            else if (chave == "fonte")
                c.fonte = inteiro();
            else if (chave == "vertical_mm")
                c.vertical = inteiro();
            else if (chave == "horizontal_mm")
                c.horizontal = inteiro();
            else
                c.variante = textoDe(ProblemaTexto(chave, valor, kTextoLongo));
        }
    }
    fecharCampo();
    // An empty file, or one of comments only, would wipe the shop's design.
    const std::string quem = arquivo.empty() ? std::string("O desenho") : "O arquivo " + std::string(arquivo);
    if (l.campos.empty()) throw Exception(quem + " não tem nenhum campo: nada foi gravado.");
    if (!l.temCabecalho)
        throw Exception(quem + " não tem a seção [etiqueta] (por_linha e passo_mm): nada foi gravado.");
    return l;
}
