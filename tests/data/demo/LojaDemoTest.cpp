#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include <unistd.h>

#include "common/Win1252.h"
#include "data/demo/LojaDemo.h"
#include "data/fb/PastaTemporaria.h"
#include "suporte/Suporte.h"

using namespace demo;
using namespace fb;
namespace fs = std::filesystem;

namespace {

// Every row of every table the demo fills, as text, in a fixed order.
std::string Despejo(const std::string& caminho) {
    TDatabase db;
    db.SetCaminho(caminho);
    db.SetParametros(ParametrosTeste());
    TTransaction t(db, {"concurrency"});
    std::string r;
    for (const char* sql :
         {"SELECT * FROM DEPARTAMENTOS ORDER BY COD_DEP", "SELECT * FROM FORNECEDORES ORDER BY CODIGO",
          "SELECT * FROM MERCADORIAS ORDER BY COD_RED", "SELECT * FROM GRADES_PRODUTOS_P ORDER BY COD_MER, NOME_GRA",
          "SELECT * FROM COMPRAS ORDER BY NRO_NOT, INTEGRADOR",
          "SELECT * FROM ITENSCOMPRA ORDER BY NRO_NOT, INTEGRADOR, ITEM",
          "SELECT * FROM FORMATMRG ORDER BY COD_MRG, AUX_2, NOM_CAMPO", "SELECT * FROM ALIQUOTAS ORDER BY COD_PROG",
          "SELECT * FROM TRIBUTOS_ICM ORDER BY COD_TRIB", "SELECT * FROM TRIBUTOS_PC ORDER BY COD_TRIB"}) {
        TQuery q(db, t);
        q.Add(sql);
        q.Open();
        for (; !q.Eof(); q.Next()) {
            for (const auto& n : q.NomesDosCampos()) r += q.FieldByName(n).AsString() + "|";
            r += "\n";
        }
    }
    return r;
}

}  // namespace

class LojaDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pasta_ = new PastaTemporaria;
        TOpcoesLojaDemo o;
        o.caminho = pasta_->Arquivo("loja.fdb");
        o.mercadorias = 400;
        o.semente = 7;
        resumo_ = CriarLojaDemo(o);
    }
    static void TearDownTestSuite() {
        delete pasta_;
        pasta_ = nullptr;
    }
    void SetUp() override {
        db.SetCaminho(pasta_->Arquivo("loja.fdb"));
        db.SetParametros(ParametrosTeste());
        tr = std::make_unique<TTransaction>(db, std::vector<std::string>{"concurrency"});
    }
    std::vector<std::vector<std::string>> Linhas(const std::string& sql) {
        TQuery q(db, *tr);
        q.Add(sql);
        q.Open();
        std::vector<std::vector<std::string>> r;
        for (; !q.Eof(); q.Next()) {
            r.emplace_back();
            for (const auto& n : q.NomesDosCampos()) r.back().push_back(q.FieldByName(n).AsString());
        }
        return r;
    }
    int64_t Numero(const std::string& sql) {
        TQuery q(db, *tr);
        q.Add(sql);
        q.Open();
        return q.FieldByName("N").AsInteger();
    }

    static PastaTemporaria* pasta_;
    static TResumoLojaDemo resumo_;
    TDatabase db;
    std::unique_ptr<TTransaction> tr;
};

PastaTemporaria* LojaDemo::pasta_ = nullptr;
TResumoLojaDemo LojaDemo::resumo_;

TEST_F(LojaDemo, ResumoBateComAsTabelas) {
    EXPECT_EQ(resumo_.mercadorias, 400);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS"), 400);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P"), resumo_.grades);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM COMPRAS"), resumo_.compras);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ITENSCOMPRA"), resumo_.itensCompra);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM GERADOR"), 0);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ETIQUETAREAD"), 0);
    EXPECT_GE(Numero("SELECT COUNT(*) AS N FROM DEPARTAMENTOS WHERE NOM_SETOR IS NOT NULL"), 10);
    EXPECT_GE(Numero("SELECT COUNT(DISTINCT NOM_SETOR) AS N FROM DEPARTAMENTOS"), 4);
    EXPECT_GE(Numero("SELECT COUNT(*) AS N FROM FORNECEDORES"), 10);
    EXPECT_GE(Numero("SELECT COUNT(*) AS N FROM TRIBUTOS_ICM"), 3);
    EXPECT_GE(Numero("SELECT COUNT(*) AS N FROM TRIBUTOS_PC"), 3);
    // every goods row points at a department, supplier and tax groups that exist
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS M WHERE NOT EXISTS"
                     " (SELECT 1 FROM DEPARTAMENTOS D WHERE D.COD_DEP = M.DEP_MER)"
                     " OR NOT EXISTS (SELECT 1 FROM FORNECEDORES F WHERE F.CODIGO = M.COD_FOR)"
                     " OR NOT EXISTS (SELECT 1 FROM TRIBUTOS_ICM T WHERE T.COD_TRIB = M.COD_TRI_ICM)"
                     " OR NOT EXISTS (SELECT 1 FROM TRIBUTOS_PC P WHERE P.COD_TRIB = M.COD_TRI_PC)"),
              0);
}

TEST_F(LojaDemo, CodigosDeBarrasDeTodosOsTipos) {
    int ean13 = 0, ean8 = 0, curtos = 0, letras = 0, vazios = 0;
    std::set<std::string> vistos;
    for (const auto& l : Linhas("SELECT COD_BAR FROM MERCADORIAS")) {
        const std::string& c = l[0];
        if (c.empty()) {
            ++vazios;
            continue;
        }
        EXPECT_TRUE(vistos.insert(c).second) << "repetido: " << c;
        bool digitos = c.find_first_not_of("0123456789") == std::string::npos;
        if (!digitos) {
            ++letras;
        } else if (c.size() <= 6) {
            ++curtos;
        } else {
            EXPECT_TRUE(EanValido(c)) << c;
            (c.size() == 13 ? ean13 : ean8)++;
        }
    }
    EXPECT_GT(ean13, 250);
    EXPECT_GT(ean8, 0);
    EXPECT_GT(curtos, 0);
    EXPECT_GT(letras, 0);
    EXPECT_GT(vazios, 0);
}

TEST_F(LojaDemo, NomesRealistas) {
    int longos = 0, aspas = 0, virgulas = 0, acentos = 0, minusculas = 0;
    for (const auto& l : Linhas("SELECT NOM_MER, CHAR_LENGTH(NOM_MER) AS N FROM MERCADORIAS")) {
        const std::string& n = l[0];
        int tam = std::stoi(l[1]);
        EXPECT_LE(tam, 50);
        EXPECT_GT(tam, 3);
        if (tam >= 40) ++longos;
        if (n.find('\'') != std::string::npos || n.find('"') != std::string::npos) ++aspas;
        if (n.find(',') != std::string::npos) ++virgulas;
        if (Win1252::DeUtf8(n) != n) ++acentos;
        if (n != Utf8::Maiusculas(n)) ++minusculas;
    }
    EXPECT_GT(longos, 40);
    EXPECT_GT(aspas, 0);
    EXPECT_GT(virgulas, 0);
    EXPECT_GT(acentos, 100);
    EXPECT_GT(minusculas, 0);
}

TEST_F(LojaDemo, PrecosEstoquesFlagsEDatas) {
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE MOD(CAST(VLR_VEN * 1000 AS BIGINT), 10) <> 0"), 0)
        << "some prices use the third decimal";
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE VLR_VEN <= 0"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE QTD_EST < 0"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE QTD_EST = 0"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE QTD_EST > 0"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE QTD_EST <= QTD_MIN"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE QTD_EST >= QTD_EST_MAX"), 0);
    for (const char* flag : {"PRO_EST", "PRO_ATIVO", "TEM_GRADE"}) {
        SCOPED_TRACE(flag);
        std::string f(flag);
        EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE " + f + " = 'T'"), 0);
        EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE " + f + " = 'F'"), 0);
        EXPECT_EQ(
            Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE " + f + " NOT IN ('T', 'F') OR " + f + " IS NULL"), 0);
    }
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE DATA_ALT < '07/01/2024' OR DATA_ALT > '06/30/2025'"
                     " OR DATA_ALT IS NULL"),
              0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE DATA_ALT < '01/01/2025'"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE DATA_ALT >= '01/01/2025'"), 0);
}

TEST_F(LojaDemo, GradesParaCercaDeUmDecimoDasMercadorias) {
    int64_t comGrade = Numero("SELECT COUNT(DISTINCT COD_MER) AS N FROM GRADES_PRODUTOS_P");
    EXPECT_GE(comGrade, 20);
    EXPECT_LE(comGrade, 80);
    EXPECT_EQ(comGrade, Numero("SELECT COUNT(*) AS N FROM MERCADORIAS WHERE TEM_GRADE = 'T'"));
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P WHERE COD_BAR = ''"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P WHERE COD_BAR <> ''"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P WHERE VLR_GRADE > 0"), 0);
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P WHERE VLR_GRADE = 0"), 0);
    for (const auto& l : Linhas("SELECT COD_BAR FROM GRADES_PRODUTOS_P WHERE COD_BAR <> ''"))
        EXPECT_TRUE(EanValido(l[0])) << l[0];
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM GRADES_PRODUTOS_P G WHERE NOT EXISTS"
                     " (SELECT 1 FROM MERCADORIAS M WHERE M.COD_RED = G.COD_MER)"),
              0);
}

TEST_F(LojaDemo, ComprasLigamNotasItensEMercadorias) {
    EXPECT_GT(resumo_.compras, 3);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ITENSCOMPRA I WHERE NOT EXISTS (SELECT 1 FROM COMPRAS C"
                     " WHERE C.NRO_NOT = I.NRO_NOT AND C.INTEGRADOR = I.INTEGRADOR)"
                     " OR NOT EXISTS (SELECT 1 FROM MERCADORIAS M WHERE M.COD_RED = I.COD_MER)"),
              0);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM COMPRAS C WHERE NOT EXISTS (SELECT 1 FROM ITENSCOMPRA I"
                     " WHERE C.NRO_NOT = I.NRO_NOT AND C.INTEGRADOR = I.INTEGRADOR)"),
              0);
    // the same number from two issuers, told apart by INTEGRADOR
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM (SELECT NRO_NOT FROM COMPRAS GROUP BY NRO_NOT HAVING COUNT(*) > 1)"),
              0);
}

TEST_F(LojaDemo, FormatoDoModeloDefinidoPeloUsuario) {
    auto cab = Linhas("Select * from FormatMrg where cod_mrg=0113");
    ASSERT_EQ(cab.size(), 1u);
    TQuery q(db, *tr);
    q.Add("Select * from FormatMrg where cod_mrg=0113");
    q.Open();
    EXPECT_GT(q.FieldByName("ORD_IMP").AsInteger(), 0);
    EXPECT_GT(q.FieldByName("TAM_IMP").AsInteger(), 0);
    auto campos = Linhas("Select NOM_CAMPO from FormatMrg\nwhere cod_mrg=13 and Print_campo='T'\norder by Aux_2");
    std::set<std::string> nomes;
    for (const auto& l : campos) nomes.insert(l[0]);
    EXPECT_TRUE(nomes.count("NOME"));
    EXPECT_TRUE(nomes.count("CODIGO DE BARRAS"));
    EXPECT_TRUE(nomes.count("VALOR DE VENDA"));
    EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM FORMATMRG WHERE COD_MRG = 13 AND PRINT_CAMPO = 'F'"), 0);
}

TEST(LojaDemoCriacao, MesmaSementeMesmoBancoOutraSementeOutro) {
    PastaTemporaria pasta;
    auto criar = [&](const std::string& nome, uint64_t semente) {
        TOpcoesLojaDemo o;
        o.caminho = pasta.Arquivo(nome);
        o.mercadorias = 150;
        o.semente = semente;
        CriarLojaDemo(o);
        return Despejo(o.caminho);
    };
    std::string a = criar("a.fdb", 42), b = criar("b.fdb", 42), c = criar("c.fdb", 43);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_GT(a.size(), 10000u);
}

TEST(LojaDemoCriacao, DestinoExistenteSoESubstituidoQuandoPedido) {
    PastaTemporaria pasta;
    TOpcoesLojaDemo o;
    o.caminho = pasta.Arquivo("loja.fdb");
    o.mercadorias = 20;
    CriarLojaDemo(o);
    auto antes = fs::file_size(o.caminho);
    o.mercadorias = 60;
    try {
        CriarLojaDemo(o);
        FAIL() << "should refuse";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("--substituir"), std::string::npos) << e.what();
    }
    EXPECT_EQ(fs::file_size(o.caminho), antes);
    EXPECT_EQ(pasta.Conteudo(), std::vector<std::string>{"loja.fdb"});
    o.substituir = true;
    EXPECT_EQ(CriarLojaDemo(o).mercadorias, 60);
    EXPECT_EQ(pasta.Conteudo(), std::vector<std::string>{"loja.fdb"});
    TDatabase db;
    db.SetCaminho(o.caminho);
    db.SetParametros(ParametrosTeste());
    TTransaction t(db, {"concurrency"});
    TQuery q(db, t);
    q.Add("SELECT COUNT(*) AS N FROM MERCADORIAS");
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 60);
}

TEST(LojaDemoCriacao, EntradaRuimNaoDeixaNadaParaTras) {
    PastaTemporaria pasta;
    struct Caso {
        std::string caminho;
        int mercadorias;
        const char* trecho;
    };
    const Caso casos[] = {
        {pasta.Arquivo("nao/existe/loja.fdb"), 10, "não existe"},
        {pasta.Arquivo("loja.fdb"), 0, "mercadorias"},
        {"", 10, "caminho"},
        {pasta.Caminho(), 10, "pasta"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caminho);
        TOpcoesLojaDemo o;
        o.caminho = c.caminho;
        o.mercadorias = c.mercadorias;
        o.substituir = true;
        try {
            CriarLojaDemo(o);
            ADD_FAILURE() << "should fail";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.trecho), std::string::npos) << e.what();
        }
        EXPECT_TRUE(pasta.Conteudo().empty());
    }
}

TEST(LojaDemoCriacao, PastaNoLugarDoArquivoEDitaPastaMesmoSemSubstituir) {
    PastaTemporaria pasta;
    TOpcoesLojaDemo o;
    o.caminho = pasta.Caminho();
    o.mercadorias = 10;
    EXPECT_EQ(MensagemDe<Exception>([&] { CriarLojaDemo(o); }),
              "\"" + o.caminho + "\" é uma pasta, não um arquivo de banco de dados.");
}

TEST(LojaDemoCriacao, FalhaNaCriacaoFalaDoDestinoNaoDoArquivoTemporario) {
    PastaTemporaria pasta;
    TOpcoesLojaDemo o;
    o.caminho = pasta.Arquivo("loja.fdb");
    o.mercadorias = 10;
    // Something that cannot be removed where the temporary file goes.
    const fs::path temporario = o.caminho + ".criando-" + std::to_string(::getpid());
    fs::create_directory(temporario);
    Gravar((temporario / "ocupado").string(), "x");
    const std::string m = MensagemDe<Exception>([&] { CriarLojaDemo(o); });
    EXPECT_EQ(m.rfind("Não foi possível criar o banco de dados \"" + o.caminho + "\": ", 0), 0u) << m;
    EXPECT_EQ(m.find(".criando-"), std::string::npos) << m;
    EXPECT_FALSE(fs::exists(o.caminho));
}

TEST(LojaDemoCriacao, ServidorQueNaoRespondeNaoCriaNada) {
    TOpcoesLojaDemo o;
    o.caminho = "127.0.0.1/1:/tmp/nao-vai.fdb";
    o.mercadorias = 10;
    try {
        CriarLojaDemo(o);
        FAIL() << "should fail";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("127.0.0.1"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists("/tmp/nao-vai.fdb"));
}

TEST(Ean, DigitoVerificador) {
    struct Caso {
        const char* codigo;
        bool valido;
    };
    for (const Caso& c : {Caso{"7891000315507", true}, Caso{"7891000315508", false}, Caso{"96385074", true},
                          Caso{"96385075", false}, Caso{"789100031550", false}, Caso{"78910003155A7", false}}) {
        EXPECT_EQ(EanValido(c.codigo), c.valido) << c.codigo;
    }
}
