#include "data/demo/LojaDemo.h"

#include <ibase.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "common/Decimal.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/demo/InsercaoEmBloco.h"
#include "data/demo/TabelasLojaDemo.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"

namespace fs = std::filesystem;

namespace demo {

using fb::EFbErro;
using fb::TDatabase;
using fb::TQuery;
using fb::TTransaction;

int DigitoEan(const std::string& s) {
    int soma = 0;
    // weights 3,1,3,... from the rightmost digit
    for (size_t i = 0; i < s.size(); ++i) {
        int d = s[s.size() - 1 - i] - '0';
        soma += (i % 2 == 0) ? d * 3 : d;
    }
    return (10 - soma % 10) % 10;
}

bool EanValido(const std::string& c) {
    if (c.size() != 8 && c.size() != 13) return false;
    if (!std::all_of(c.begin(), c.end(), [](char x) { return x >= '0' && x <= '9'; })) return false;
    return DigitoEan(c.substr(0, c.size() - 1)) == c.back() - '0';
}

namespace {

// splitmix64: small, fast and the same on every platform and library.
class TSorteio {
public:
    explicit TSorteio(uint64_t semente) : s_(semente * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    uint64_t Proximo() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Entre(int a, int b) { return a + static_cast<int>(Proximo() % static_cast<uint64_t>(b - a + 1)); }
    bool Chance(int porCento) { return static_cast<int>(Proximo() % 1000) < porCento * 10; }
    bool ChanceMil(int porMil) { return static_cast<int>(Proximo() % 1000) < porMil; }
    template <class C>
    const auto& De(const C& c) {
        return c[Proximo() % std::size(c)];
    }

private:
    uint64_t s_;
};

// Prices and quantities travel as thousandths, so nothing is rounded in binary.
Decimal Mil(int64_t milesimos) { return Decimal::DeUnidades(milesimos, 3); }
Decimal Cent(int64_t centesimos) { return Decimal::DeUnidades(centesimos, 2); }

std::string Ean13(const std::string& doze) { return doze + static_cast<char>('0' + DigitoEan(doze)); }

std::string Zeros(uint64_t v, int largura) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < largura) s.insert(0, largura - s.size(), '0');
    return s;
}

std::string Cnpj(TSorteio& r) {
    std::array<int, 14> d{};
    for (int i = 0; i < 8; ++i) d[i] = r.Entre(0, 9);
    d[8] = 0, d[9] = 0, d[10] = 0, d[11] = 1;
    auto dv = [&](int n) {
        static const int p1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        static const int p2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int s = 0;
        for (int i = 0; i < n; ++i) s += d[i] * (n == 12 ? p1[i] : p2[i]);
        int m = s % 11;
        return m < 2 ? 0 : 11 - m;
    };
    d[12] = dv(12);
    d[13] = dv(13);
    std::string s;
    for (int i = 0; i < 14; ++i) {
        if (i == 2 || i == 5) s += '.';
        if (i == 8) s += '/';
        if (i == 12) s += '-';
        s += static_cast<char>('0' + d[i]);
    }
    return s;
}

// Letters of the price code: one letter per digit, as shops write costs on tags.
std::string ValorEmLetras(int64_t milesimos) {
    std::string digitos = std::to_string(milesimos / 10);  // cents
    std::string r;
    for (char c : digitos) r += kChaveValorEmLetras[(c - '0' + 9) % 10];
    return r.substr(0, 12);
}

// First `max` characters of a UTF-8 text, cut at a blank when possible.
std::string Cortar(const std::string& s, size_t max) {
    std::u32string u = Utf8::Decodificar(s);
    if (u.size() <= max) return s;
    u.resize(max);
    auto espaco = u.find_last_of(U' ');
    if (espaco != std::u32string::npos && espaco > max / 2) u.resize(espaco);
    return Utf8::Codificar(u);
}

std::string Capitalizado(const std::string& s) {
    std::string m = Utf8::Minusculas(s);
    std::u32string u = Utf8::Decodificar(m);
    bool inicio = true;
    for (auto& c : u) {
        if (inicio && c != U' ') {
            std::string up = Utf8::Maiusculas(Utf8::Codificar(std::u32string(1, c)));
            c = Utf8::Decodificar(up)[0];
        }
        inicio = (c == U' ');
    }
    return Utf8::Codificar(u);
}

class TGerador {
public:
    TGerador(TDatabase& banco, const TOpcoesLojaDemo& o) : banco_(banco), o_(o), r_(o.semente) {}
    TResumoLojaDemo Executar();

private:
    void Departamentos_();
    void Fornecedores_();
    void Impostos();
    void Mercadorias();
    void Grades(int codRed, const TDepartamentoDemo& dep, const std::string& ref, int64_t preco);
    void Compras();
    void Formato();
    void Confirmar(bool fim = false);

    TDatabase& banco_;
    const TOpcoesLojaDemo& o_;
    TSorteio r_;
    TResumoLojaDemo resumo_;
    std::unique_ptr<TTransaction> tr_;
    std::unique_ptr<TInsercaoEmBloco> grades_;
    static constexpr int kPorLote = 4;
    std::vector<std::vector<int>> porFornecedor_;
    uint64_t gradeSeq_ = 0;
    int ean8Seq_ = 0;
    int pendentes_ = 0;
    const TDateTime inicio_ = EncodeDate(2024, 7, 1);
    const TDateTime fim_ = EncodeDate(2025, 6, 30);
};

void TGerador::Confirmar(bool fim) {
    // Large loads commit in steps so the undo log of one transaction stays small.
    if (fim || ++pendentes_ >= 20000) {
        tr_->CommitRetaining();
        pendentes_ = 0;
    }
}

void TGerador::Departamentos_() {
    TQuery q(banco_, *tr_);
    q.Add("INSERT INTO DEPARTAMENTOS (COD_DEP, NOM_DEP, TIPO_ITEM, COM_DEP, NOM_SETOR) VALUES (?, ?, ?, ?, ?)");
    for (const auto& d : kDepartamentosDemo) {
        q.ParamInteiro(0, d.codigo);
        q.ParamTexto(1, d.nome);
        q.ParamTexto(2, d.tipo);
        q.ParamDecimal(3, Cent(static_cast<int64_t>(r_.Entre(0, 8)) * 50));
        q.ParamTexto(4, d.setor);
        q.ExecSQL();
        ++resumo_.departamentos;
    }
}

void TGerador::Fornecedores_() {
    TQuery q(banco_, *tr_);
    q.Add("INSERT INTO FORNECEDORES (CODIGO, NOME, FAN_FOR, ENDERECO, BAIRRO, CIDADE, NOM_CIDADE, UF_CIDADE, CEP,");
    q.Add(" FONE1, FAX, CONTATO, CNPJ, IE, EMAIEL, SITE_FOR, REPRESENTANTE, FONEREP1, ATIVO, TIPO, OBS_FOR)");
    q.Add("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int codigo = 0;
    for (const auto& f : kFornecedoresDemo) {
        ++codigo;
        int ddd = r_.Entre(11, 99);
        std::string fone =
            "(" + std::to_string(ddd) + ") " + Zeros(r_.Entre(2000, 3999), 4) + "-" + Zeros(r_.Entre(0, 9999), 4);
        std::string dominio;
        for (char c : Win1252::DeUtf8(f.fantasia)) {
            unsigned char u = static_cast<unsigned char>(c);
            if (std::isalnum(u) && u < 128) dominio += static_cast<char>(std::tolower(u));
        }
        int i = 0;
        q.ParamInteiro(i++, codigo);
        q.ParamTexto(i++, f.nome);
        q.ParamTexto(i++, f.fantasia);
        q.ParamTexto(i++, std::string(r_.De(kRuasDemo)) + ", " + std::to_string(r_.Entre(10, 4999)));
        q.ParamTexto(i++, f.bairro);
        q.ParamInteiro(i++, r_.Entre(1000000, 5399999));
        q.ParamTexto(i++, f.cidade);
        q.ParamTexto(i++, f.uf);
        q.ParamTexto(i++, Zeros(r_.Entre(1000, 99999), 5) + "-" + Zeros(r_.Entre(0, 999), 3));
        q.ParamTexto(i++, fone);
        if (r_.Chance(40))
            q.ParamTexto(i++, "(" + std::to_string(ddd) + ") " + Zeros(r_.Entre(2000, 3999), 4) + "-" +
                                  Zeros(r_.Entre(0, 9999), 4));
        else
            q.ParamNulo(i++);
        q.ParamTexto(i++, r_.De(kContatosDemo));
        q.ParamTexto(i++, Cnpj(r_));
        q.ParamTexto(i++, Zeros(r_.Proximo() % 1000000000000ull, 12));
        q.ParamTexto(i++, "vendas@" + dominio + ".com.br");
        q.ParamTexto(i++, "www." + dominio + ".com.br");
        q.ParamTexto(i++, std::string(r_.De(kContatosDemo)));
        q.ParamTexto(i++, "(" + std::to_string(ddd) + ") 9" + Zeros(r_.Entre(8000, 9999), 4) + "-" +
                              Zeros(r_.Entre(0, 9999), 4));
        q.ParamTexto(i++, codigo % 9 == 0 ? "F" : "T");
        q.ParamTexto(i++, "J");
        q.ParamTexto(i++, codigo % 4 == 0 ? "Entrega às terças e sextas.\nPedido mínimo de R$ 500,00." : "");
        q.ExecSQL();
        ++resumo_.fornecedores;
    }
    porFornecedor_.assign(codigo + 1, {});
}

void TGerador::Impostos() {
    TQuery a(banco_, *tr_);
    a.Add(
        "INSERT INTO ALIQUOTAS (COD_PROG, NOM_ALI, ALIQUOTA, ALIQUOTA_FE, CFOP_NFCE, ISS_NFCE) VALUES (?, ?, ?, ?, ?, "
        "?)");
    for (const auto& x : kAliquotasDemo) {
        a.ParamTexto(0, x.codigo);
        a.ParamTexto(1, x.nome);
        a.ParamDecimal(2, Cent(x.aliquota));
        a.ParamDecimal(3, Cent(x.aliquota));
        a.ParamTexto(4, x.cfop);
        a.ParamTexto(5, x.iss);
        a.ExecSQL();
    }
    TQuery t(banco_, *tr_);
    t.Add("INSERT INTO TRIBUTOS_ICM (COD_TRIB, DESC_TRIB, CST, BASE_ICMS, ICMS_V, MVA, ICMS_ST, IPI, CST_IPI,");
    t.Add(" ST_PAUTA, ISSQN, TIPO_IMP, CBENEF, ALIQ_FCP) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& x : kTributosIcmsDemo) {
        int i = 0;
        t.ParamInteiro(i++, x.codigo);
        t.ParamTexto(i++, x.descricao);
        t.ParamTexto(i++, x.cst);
        t.ParamDecimal(i++, Cent(x.base));
        t.ParamDecimal(i++, Cent(x.icms));
        t.ParamDecimal(i++, Cent(x.mva));
        t.ParamDecimal(i++, Decimal::DeUnidades(x.icmsSt, 4));
        t.ParamDecimal(i++, Cent(0));
        t.ParamTexto(i++, "53");
        t.ParamTexto(i++, "N");
        t.ParamTexto(i++, "N");
        t.ParamTexto(i++, "ICMS");
        t.ParamTexto(i++, x.cbenef);
        t.ParamDecimal(i++, Cent(x.fcp));
        t.ExecSQL();
    }
    TQuery p(banco_, *tr_);
    p.Add("INSERT INTO TRIBUTOS_PC (COD_TRIB, DESC_TRIB, PC_ECF, CFOP_ECF, PC_COMPRA, ALIQ_PIS_V, ALIQ_PIS_C,");
    p.Add(" ALIQ_COFINS_V, ALIQ_COFINS_C, COD_PC_ECF) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& x : kTributosPisCofinsDemo) {
        int i = 0;
        p.ParamInteiro(i++, x.codigo);
        p.ParamTexto(i++, x.descricao);
        p.ParamTexto(i++, x.cst);
        p.ParamTexto(i++, "5102");
        p.ParamTexto(i++, "50");
        p.ParamDecimal(i++, Decimal::DeUnidades(x.pis / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.pis / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.cofins / 10, 4));
        p.ParamDecimal(i++, Decimal::DeUnidades(x.cofins / 10, 4));
        p.ParamInteiro(i++, x.codigo);
        p.ExecSQL();
    }
}

void TGerador::Mercadorias() {
    TInsercaoEmBloco q(
        banco_, *tr_, "MERCADORIAS",
        {"COD_RED",     "COD_BAR",     "NOM_MER",    "APE_CUP",   "REF_MER",     "DEP_MER",     "COD_FOR",
         "UNI_MER",     "LOC_MER",     "QTD_EST",    "QTD_EST_2", "QTD_MIN",     "QTD_EST_MAX", "VLR_VEN",
         "VLR_VEN_2",   "VLR_VEN_3",   "VLR_COM",    "VLR_CUS",   "CUSTO_OPE",   "LUCRO",       "LUCRO2",
         "LUCRO3",      "VALORLETRAS", "ICM_PROG",   "SIT_TRIB",  "CLAS_FISC",   "ALIQ_ICMS",   "DIF_ICM",
         "COD_NCM",     "COD_TRI_ICM", "COD_TRI_PC", "COD_ANT",   "GARANTIA",    "APLICACAO",   "APLICACAO2",
         "DATA_ULTCOM", "DATA_ULTVEN", "DATA_CAD",   "DATA_ALT",  "PRO_EST",     "PRO_ATIVO",   "TEM_GRADE",
         "IPI_MER",     "PERC_FRE",    "ALIQ_MVA",   "VLR_VEN_M", "QTD_INI_INV", "COMISSAO",    "UNI_BAL",
         "CAD_RECEITA"},
        kPorLote);
    grades_ = std::make_unique<TInsercaoEmBloco>(
        banco_, *tr_, "GRADES_PRODUTOS_P",
        std::vector<std::string>{"COD_MER", "NOME_GRA", "QTD_GRA", "COD_BAR", "REF_MER", "VLR_GRADE"}, kPorLote);

    const auto& deps = kDepartamentosDemo;
    int pesoTotal = 0;
    for (const auto& d : deps) pesoTotal += d.peso;
    const int n = o_.mercadorias;
    const auto& dificil = kNomesDificeis;
    int dificeis = 0;

    for (int cod = 1; cod <= n; ++cod) {
        // department by weight
        int sorte = r_.Entre(1, pesoTotal), di = 0;
        while (sorte > deps[di].peso) sorte -= deps[di++].peso;
        const TDepartamentoDemo& dep = deps[di];
        bool pesavel = dep.classe == TClasseDepartamento::Pesavel;
        bool vestuario = dep.classe == TClasseDepartamento::Roupa || dep.classe == TClasseDepartamento::Calcado;

        // name: item, details and brand, some long enough to reach the 40-50 range
        std::string nome = std::string(r_.De(dep.itens));
        std::string marca = std::string(r_.De(dep.marcas));
        std::string tamanho = std::string(r_.De(dep.tamanhos));
        int alvo = r_.Chance(35) ? r_.Entre(40, 50) : r_.Entre(14, 38);
        nome += " " + std::string(r_.De(dep.detalhes));
        if (!marca.empty()) nome += " " + marca;
        if (!tamanho.empty()) nome += " " + tamanho;
        for (int tent = 0; tent < 4 && static_cast<int>(Comprimento(nome)) < alvo; ++tent) {
            std::string extra = " " + std::string(r_.De(dep.detalhes));
            if (nome.find(extra.substr(1)) == std::string::npos) nome += extra;
        }
        if ((cod % 97 == 13 || (n < 2000 && cod % 29 == 7)) && dificeis < static_cast<int>(dificil.size()) * 50)
            nome = std::string(dificil[dificeis++ % dificil.size()]);
        nome = Cortar(nome, 50);
        if (r_.Chance(12)) nome = Capitalizado(nome);

        // barcode
        std::string barras;
        int tipoCodigo = r_.Entre(1, 1000);
        if (pesavel && tipoCodigo <= 800 && cod < 1000000) {
            barras = Zeros(cod, r_.Entre(static_cast<int>(std::to_string(cod).size()), 6));
        } else if (tipoCodigo <= 15 && cod < 1000000) {
            barras = std::string(r_.De(kPrefixosCodigoInterno)) + std::to_string(cod);
        } else if (tipoCodigo <= 22) {
            barras = "";
        } else if (tipoCodigo <= 80 && ean8Seq_ < 10000) {
            uint64_t x = (static_cast<uint64_t>(ean8Seq_++) * 7919ull + 4321ull) % 10000ull;
            std::string sete = "789" + Zeros(x, 4);
            barras = sete + static_cast<char>('0' + DigitoEan(sete));
        } else {
            uint64_t x = (static_cast<uint64_t>(cod) * 387420489ull + 123456789ull) % 1000000000ull;
            barras = Ean13("789" + Zeros(x, 9));
        }

        // prices in thousandths
        int64_t preco;
        if (pesavel)
            preco = static_cast<int64_t>(r_.Entre(dep.precoMin * 100, dep.precoMax * 100)) * 10 + r_.Entre(0, 9);
        else {
            preco = static_cast<int64_t>(r_.Entre(dep.precoMin, dep.precoMax)) * 1000;
            preco += r_.De(kFinaisDePreco);
        }
        int64_t compra = preco * r_.Entre(450, 750) / 1000;
        int64_t custo = compra * r_.Entre(1030, 1150) / 1000;
        int64_t custoOpe = custo + custo * r_.Entre(0, 80) / 1000;
        int64_t lucro = custo > 0 ? (preco - custo) * 100000 / custo : 0;  // % with 3 decimals
        int64_t preco2 = r_.Chance(30) ? preco * 95 / 100 : 0;
        int64_t preco3 = r_.Chance(15) ? preco * 90 / 100 : 0;

        // stock: below, at and above zero; weighed goods with fractions
        int64_t estoque;
        int faixa = r_.Entre(1, 100);
        if (faixa <= 8)
            estoque = -static_cast<int64_t>(r_.Entre(1, 20)) * 1000;
        else if (faixa <= 22)
            estoque = 0;
        else
            estoque = static_cast<int64_t>(r_.Entre(1, 400)) * 1000;
        if (pesavel && estoque != 0) estoque += (estoque > 0 ? int64_t{1} : int64_t{-1}) * r_.Entre(0, 999);
        int64_t minimo = static_cast<int64_t>(r_.Entre(0, 25)) * 1000;
        int64_t maximo = minimo + static_cast<int64_t>(r_.Entre(20, 450)) * 1000;
        int64_t estoque2 = r_.Chance(20) ? static_cast<int64_t>(r_.Entre(-5, 40)) * 1000 : 0;

        int fornecedor = r_.Entre(1, static_cast<int>(porFornecedor_.size()) - 1);
        porFornecedor_[fornecedor].push_back(cod);
        bool temGrade = vestuario && r_.Chance(50);
        std::string ref;
        if (vestuario || r_.Chance(50)) {
            std::string p(r_.De(kPrefixosReferencia));
            ref = (p.empty() ? "" : p + "-") + std::to_string(r_.Entre(100, 99999)) +
                  (r_.Chance(30) ? "-" + std::string(1, static_cast<char>('A' + r_.Entre(0, 5))) : "");
        }

        TDateTime alt = inicio_ + r_.Entre(0, static_cast<int>(fim_ - inicio_));
        TDateTime cad = alt - r_.Entre(0, 2000);
        const auto& trib = kTributacoesDemo;
        int ti = dep.codigo == 3 ? 5 : dep.codigo == 2 ? 2 : dep.codigo == 9 || dep.codigo == 10 ? 3 : r_.Entre(0, 6);

        int i = 0;
        q.ParamInteiro(i++, cod);
        q.ParamTexto(i++, barras);
        q.ParamTexto(i++, nome);
        q.ParamTexto(i++, Cortar(nome, 30));
        if (ref.empty())
            q.ParamNulo(i++);
        else
            q.ParamTexto(i++, ref);
        q.ParamInteiro(i++, dep.codigo);
        q.ParamInteiro(i++, fornecedor);
        q.ParamTexto(i++, r_.De(dep.unidades));
        q.ParamTexto(i++, std::string(r_.De(kLocaisEstoque)) + Zeros(r_.Entre(1, 40), 2) + "-P" +
                              std::to_string(r_.Entre(1, 6)));
        q.ParamDecimal(i++, Mil(estoque));
        q.ParamDecimal(i++, Mil(estoque2));
        q.ParamDecimal(i++, Mil(minimo));
        q.ParamDecimal(i++, Mil(maximo));
        q.ParamDecimal(i++, Mil(preco));
        q.ParamDecimal(i++, Mil(preco2));
        q.ParamDecimal(i++, Mil(preco3));
        q.ParamDecimal(i++, Mil(compra));
        q.ParamDecimal(i++, Mil(custo));
        q.ParamDecimal(i++, Mil(custoOpe));
        q.ParamDecimal(i++, Mil(lucro));
        q.ParamDecimal(i++, Mil(preco2 && custo ? (preco2 - custo) * 100000 / custo : 0));
        q.ParamDecimal(i++, Mil(preco3 && custo ? (preco3 - custo) * 100000 / custo : 0));
        q.ParamTexto(i++, ValorEmLetras(custo));
        q.ParamTexto(i++, trib[ti].icmProg);
        q.ParamTexto(i++, trib[ti].situacao);
        q.ParamTexto(i++, std::to_string(r_.Entre(10, 99)) + std::string(1, static_cast<char>('A' + r_.Entre(0, 3))));
        q.ParamDecimal(i++, Cent(trib[ti].aliquota));
        q.ParamDecimal(i++, Cent(0));
        q.ParamInteiro(i++, r_.Entre(10000000, 96000000));
        q.ParamInteiro(i++, trib[ti].tributoIcms);
        q.ParamInteiro(i++, trib[ti].tributoPisCofins);
        if (r_.Chance(20))
            q.ParamTexto(i++, Zeros(r_.Entre(1, 999999), 6));
        else
            q.ParamNulo(i++);
        q.ParamInteiro(i++, dep.codigo == 12 || dep.codigo == 11 ? r_.De(kGarantiasMeses) : 0);
        // custom code (digits) for some, a usage note for others
        if (r_.Chance(25))
            q.ParamTexto(i++, Zeros(r_.Entre(1, 999999), 6));
        else if (r_.Chance(20))
            q.ParamTexto(i++,
                         std::string("Uso ") + (vestuario ? "adulto, lavar à mão" : "doméstico, manter em local seco"));
        else
            q.ParamNulo(i++);
        q.ParamNulo(i++);
        q.ParamData(i++, alt - r_.Entre(0, 60));
        if (r_.Chance(85))
            q.ParamData(i++, alt + r_.Entre(0, 30));
        else
            q.ParamNulo(i++);
        q.ParamData(i++, cad);
        q.ParamData(i++, alt);
        q.ParamTexto(i++, r_.Chance(85) ? "T" : "F");
        q.ParamTexto(i++, r_.Chance(92) ? "T" : "F");
        q.ParamTexto(i++, temGrade ? "T" : "F");
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Cent(0));
        q.ParamDecimal(i++, Mil(0));
        q.ParamDecimal(i++, Mil(0));
        q.ParamDecimal(i++, Mil(vestuario ? 3000 : 0));
        q.ParamTexto(i++, pesavel ? "T" : "F");
        q.ParamTexto(i++, "F");
        q.FimDaLinha();
        ++resumo_.mercadorias;
        if (temGrade) Grades(cod, dep, ref, preco);
        Confirmar();
        if (o_.progresso && (cod % 5000 == 0 || cod == n)) o_.progresso(cod, n);
    }
    q.Descarregar();
    grades_->Descarregar();
    grades_.reset();
}

void TGerador::Grades(int codRed, const TDepartamentoDemo& dep, const std::string& ref, int64_t preco) {
    std::vector<std::string> nomes;
    const ListaNomes* tam;
    bool comCor = r_.Chance(45);
    if (dep.classe == TClasseDepartamento::Calcado)
        tam = &kNumerosCalcado;
    else if (dep.codigo == 8)
        tam = &kTamanhosInfantil;
    else
        tam = r_.Chance(30) ? &kTamanhosJeans : &kTamanhosRoupa;
    int quantos = std::min<int>(r_.Entre(3, 6), static_cast<int>(tam->size()));
    int ini = r_.Entre(0, static_cast<int>(tam->size()) - quantos);
    std::string cor(r_.De(kCores));
    const std::string prefixo = comCor ? cor + " " : "";
    nomes.reserve(static_cast<size_t>(quantos) + 2);  // a second colour adds two at most
    for (int k = 0; k < quantos; ++k) nomes.push_back(prefixo + std::string((*tam)[ini + k]));
    if (comCor && r_.Chance(50)) {  // a second colour in a couple of sizes
        std::string cor2(r_.De(kCores));
        if (cor2 != cor)
            for (int k = 0; k < 2 && k < quantos; ++k) nomes.push_back(cor2 + " " + std::string((*tam)[ini + k]));
    }
    bool barrasProprias = r_.Chance(60);
    bool precoProprio = r_.Chance(35);
    for (size_t k = 0; k < nomes.size(); ++k) {
        auto& g = *grades_;
        g.ParamInteiro(0, codRed);
        g.ParamTexto(1, nomes[k]);
        int64_t qtd =
            r_.Chance(8) ? -static_cast<int64_t>(r_.Entre(1, 3)) * 1000 : static_cast<int64_t>(r_.Entre(0, 15)) * 1000;
        g.ParamDecimal(2, Mil(qtd));
        if (barrasProprias) {
            // in-store EAN-13 (prefix 2), distinct from the goods' own
            uint64_t x = (++gradeSeq_ * 7368787ull + 1000003ull) % 100000000000ull;
            g.ParamTexto(3, Ean13("2" + Zeros(x, 11)));
        } else {
            g.ParamTexto(3, "");
        }
        if (ref.empty())
            g.ParamNulo(4);
        else
            g.ParamTexto(4, Cortar(ref + "-" + std::to_string(k + 1), 30));
        // the larger sizes cost a little more; 0 means the good's price
        g.ParamDecimal(5, Mil(precoProprio && k >= nomes.size() / 2 ? preco + preco / 10 : 0));
        g.FimDaLinha();
        ++resumo_.grades;
    }
    ++resumo_.mercadoriasComGrade;
}

void TGerador::Compras() {
    TQuery c(banco_, *tr_);
    c.Add("INSERT INTO COMPRAS (NRO_NOT, INTEGRADOR, COD_FOR, DATA_EMI, DATA_ENT, VLR_TOT) VALUES (?, ?, ?, ?, ?, ?)");
    TInsercaoEmBloco it(banco_, *tr_, "ITENSCOMPRA", {"NRO_NOT", "INTEGRADOR", "ITEM", "COD_MER", "QTD_COM", "VLR_UNI"},
                        kPorLote);
    int total = std::max(12, o_.mercadorias / 60);
    size_t nf = porFornecedor_.size() - 1;
    std::vector<int> proximaNota(nf + 1);
    for (size_t f = 1; f <= nf; ++f) proximaNota[f] = r_.Entre(1000, 250000);
    // two suppliers share an invoice number, as happens: INTEGRADOR tells them apart
    if (nf >= 2) proximaNota[2] = proximaNota[1];
    for (int k = 0; k < total; ++k) {
        int f = static_cast<int>(k < 2 ? k + 1 : r_.Entre(1, static_cast<int>(nf)));
        const auto& goods = porFornecedor_[f];
        if (goods.empty()) continue;
        int nota = proximaNota[f]++;
        TDateTime emi = inicio_ + r_.Entre(0, static_cast<int>(fim_ - inicio_));
        int itens = std::min<int>(r_.Entre(3, 20), static_cast<int>(goods.size()));
        size_t base = r_.Proximo() % goods.size();
        int64_t totalNota = 0;
        for (int j = 0; j < itens; ++j) {
            int cod = goods[(base + static_cast<size_t>(j) * 7) % goods.size()];
            if (j > 0 && cod == goods[base]) break;
            int64_t qtd = static_cast<int64_t>(r_.Entre(1, 48)) * 1000;
            int64_t unit = r_.Entre(500, 150000);
            it.ParamInteiro(0, nota);
            it.ParamInteiro(1, f);
            it.ParamInteiro(2, j + 1);
            it.ParamInteiro(3, cod);
            it.ParamDecimal(4, Mil(qtd));
            it.ParamDecimal(5, Mil(unit));
            it.FimDaLinha();
            totalNota += qtd / 1000 * unit / 10;
            ++resumo_.itensCompra;
        }
        c.ParamInteiro(0, nota);
        c.ParamInteiro(1, f);
        c.ParamInteiro(2, f);
        c.ParamData(3, emi);
        c.ParamData(4, emi + r_.Entre(0, 6));
        c.ParamDecimal(5, Cent(totalNota));
        c.ExecSQL();
        ++resumo_.compras;
    }
    it.Descarregar();
}

void TGerador::Formato() {
    TQuery q(banco_, *tr_);
    q.Add(
        "INSERT INTO FORMATMRG (COD_MRG, NOM_CAMPO, TIT_CAMPO, ORD_IMP, TAM_IMP, PRINT_CAMPO, AUX_1, AUX_2, AUX_3, "
        "AUX_4, AUX_5)");
    q.Add("VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& l : kFormatoDemo) {
        int i = 0;
        q.ParamInteiro(i++, l.codigo);
        q.ParamTexto(i++, l.campo);
        q.ParamTexto(i++, l.titulo);
        q.ParamInteiro(i++, l.ordem);
        q.ParamInteiro(i++, l.tamanho);
        q.ParamTexto(i++, l.imprime);
        q.ParamInteiro(i++, l.aux1);
        q.ParamInteiro(i++, l.aux2);
        q.ParamInteiro(i++, l.aux3);
        q.ParamTexto(i++, l.aux4);
        q.ParamNulo(i++);
        q.ExecSQL();
        ++resumo_.linhasFormato;
    }
}

TResumoLojaDemo TGerador::Executar() {
    // secondary indexes are built once the rows are in: far faster than row by row
    CriarTabelasLoja(banco_);
    tr_ = std::make_unique<TTransaction>(banco_, std::vector<std::string>{"concurrency", "nowait"});
    Departamentos_();
    Fornecedores_();
    Impostos();
    Formato();
    Mercadorias();
    Compras();
    tr_->Commit();
    CriarIndicesLoja(banco_);
    tr_.reset();
    return resumo_;
}

}  // namespace

TResumoLojaDemo CriarLojaDemo(const TOpcoesLojaDemo& o) {
    if (o.mercadorias < 1 || o.mercadorias > 10000000)
        throw Exception("Número de mercadorias inválido: " + std::to_string(o.mercadorias) + " (de 1 a 10000000).");
    if (Trim(o.caminho).empty()) throw Exception("Informe o caminho do banco de dados a criar.");

    const bool local = TDatabase::EhCaminhoLocal(o.caminho);
    TDatabase banco;
    // Loaded without a disk flush per commit; synchronous writes, as a shop has
    // them, are switched on again once the data is in.
    auto carga = o.parametros;
    carga.push_back("force_write=0");
    banco.SetParametros(carga);
    auto sincrono = [&](const std::string& caminho) {
        TDatabase d;
        auto p = o.parametros;
        p.push_back("force_write=1");
        d.SetParametros(p);
        d.SetCaminho(caminho);
        d.Conectar();
        d.Desconectar();
    };

    if (!local) {
        if (o.substituir) {
            TDatabase antigo;
            antigo.SetParametros(o.parametros);
            antigo.SetCaminho(o.caminho);
            bool existe = true;
            try {
                antigo.Conectar();
            } catch (const EFbErro& e) {
                if (e.CodigoGds() != isc_io_error) throw;
                existe = false;  // nothing there to replace
            }
            if (existe) antigo.ApagarBanco();
        }
        banco.SetCaminho(o.caminho);
        banco.CriarBanco();
        try {
            TGerador g(banco, o);
            auto r = g.Executar();
            banco.Desconectar();
            sincrono(o.caminho);
            return r;
        } catch (...) {
            try {
                banco.ApagarBanco();
            } catch (...) {}
            throw;
        }
    }

    fs::path destino(o.caminho);
    std::error_code ec;
    fs::path pasta = destino.has_parent_path() ? destino.parent_path() : fs::path(".");
    if (!fs::is_directory(pasta, ec))
        throw Exception("A pasta \"" + pasta.string() + "\" não existe: o banco de dados não foi criado.");
    // A folder is said to be one: --substituir would not help there.
    if (fs::is_directory(destino, ec))
        throw Exception("\"" + o.caminho + "\" é uma pasta, não um arquivo de banco de dados.");
    if (fs::exists(destino, ec) && !o.substituir)
        throw Exception("O banco de dados \"" + o.caminho + "\" já existe. Use --substituir para recriá-lo.");

    // Built under a temporary name and moved into place only when whole.
    fs::path temporario = destino;
    temporario += ".criando-" + std::to_string(::getpid());
    fs::remove(temporario, ec);
    banco.SetCaminho(temporario.string());
    TResumoLojaDemo resumo;
    try {
        banco.CriarBanco();
        TGerador g(banco, o);
        resumo = g.Executar();
        banco.Desconectar();
        sincrono(temporario.string());
        fs::rename(temporario, destino);
    } catch (const fs::filesystem_error& e) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        throw EOSError("Não foi possível gravar \"" + o.caminho + "\": " + MensagemErroSistema(e.code().value()));
    } catch (const Exception& e) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        // The operator named the target; the temporary name means nothing to him.
        std::string msg = e.what();
        const std::string temp = temporario.string();
        for (size_t i = msg.find(temp); i != std::string::npos; i = msg.find(temp, i + o.caminho.size()))
            msg.replace(i, temp.size(), o.caminho);
        msg = "Não foi possível criar o banco de dados \"" + o.caminho + "\": " + msg;
        if (dynamic_cast<const EDatabaseError*>(&e)) throw EDatabaseError(msg);
        throw Exception(msg);
    } catch (...) {
        banco.Desconectar();
        fs::remove(temporario, ec);
        throw;
    }
    return resumo;
}

}  // namespace demo
