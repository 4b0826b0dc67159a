// What the operator reads when the shop database refuses a statement: a
// Portuguese sentence naming the table and the column, and the engine's
// English text only on a second line, for support.
#include <functional>
#include <memory>

#include "BancoTeste.h"
#include "common/ConfigEtq.h"
#include "data/fb/MensagensFb.h"
#include "data/udtmAplicativo.h"
#include "suporte/Suporte.h"

namespace {

// Words of the engine's own texts: none may reach the first line.
const char* const kIngles[] = {"Dynamic SQL",   "SQL error",  "unknown", "Unknown", "conversion", "permission",
                               "lock conflict", "truncation", "At line", "column ", "string",     "access to"};

std::string PrimeiraLinha(const std::string& m) { return m.substr(0, m.find('\n')); }

class MensagensDoBanco : public BancoTeste {
protected:
    void TearDown() override {
        dtm.reset();
        BancoTeste::TearDown();
    }
    TdtmAplicativo& Dtm() {
        if (!dtm) dtm = std::make_unique<TdtmAplicativo>();
        return *dtm;
    }
    std::unique_ptr<TdtmAplicativo> dtm;
};

struct Caso {
    const char* nome;
    const char* preparar;  // run first in another connection ("": nothing)
    std::function<void(TdtmAplicativo&)> falhar;
    const char* primeira;  // the first line, exactly
    const char* suporte;   // part of the engine's text on the second line
};

TEST_F(MensagensDoBanco, CadaRecusaComumEmPortuguesNomeandoTabelaEColuna) {
    const Caso casos[] = {
        {"coluna que falta na tabela de mercadorias", "alter table mercadorias drop valorletras",
         [](TdtmAplicativo& d) {
             d.qrySelect1.Clear();
             for (const char* l :
                  {"select m.lucro, ", "M.COD_RED,M.NOM_MER,", "M.VLR_CUS,M.VLR_COM,M.VALORLETRAS,M.LOC_MER",
                   "from MERCADORIAS M where( M.COD_RED>0)"})
                 d.qrySelect1.Add(l);
             d.qrySelect1.Open();
         },
         "A coluna VALORLETRAS não existe na tabela MERCADORIAS do banco de dados", "VALORLETRAS"},
        {"coluna que falta num insert", "alter table etiquetaread drop so_nome",
         [](TdtmAplicativo& d) {
             d.INSERTFILE("EtiquetaRead", {"CODIGO", "1", "So_NOME", "CAFE"});
         },
         "A coluna SO_NOME não existe na tabela ETIQUETAREAD do banco de dados", "SO_NOME"},
        {"tabela que falta", "", [](TdtmAplicativo& d) { d.SelectFile("2", "DIARIO_IMPRESSAO_ITEM", "DIARIO=1"); },
         "A tabela DIARIO_IMPRESSAO_ITEM não existe no banco de dados", "DIARIO_IMPRESSAO_ITEM"},
        {"valor que não converte", "",
         [](TdtmAplicativo& d) {
             d.INSERTFILE("EtiquetaRead", {"CODIGO", "12a", "NOME", "CAFE"});
         },
         "O valor \"12a\" não pôde ser convertido para o tipo da coluna do banco de dados", "12a"},
        {"texto longo demais", "",
         [](TdtmAplicativo& d) {
             d.INSERTFILE("EtiquetaRead", {"CODIGO", "1", "BARRAS", std::string(31, '7')});
         },
         "Texto maior do que a coluna do banco de dados comporta (cabem 30 caracteres, o texto tem 31)", "truncation"},
        {"comando mal escrito", "", [](TdtmAplicativo& d) { d.DeleteRegistro("EtiquetaRead", "1=1 and"); },
         "Erro do banco de dados (código SQL -104, GDS 335544569).", "Token unknown"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        if (*c.preparar) Executar(c.preparar);
        const std::string m = MensagemDe<fb::EFbErro>([&] { c.falhar(Dtm()); });
        EXPECT_EQ(PrimeiraLinha(m), c.primeira) << m;
        for (const char* palavra : kIngles) EXPECT_EQ(PrimeiraLinha(m).find(palavra), std::string::npos) << m;
        ASSERT_NE(m.find('\n'), std::string::npos) << m;
        EXPECT_NE(m.substr(m.find('\n')).find(c.suporte), std::string::npos) << m;
        dtm.reset();
    }
}

TEST_F(MensagensDoBanco, ConflitoDeBloqueioEmPortugues) {
    Executar("insert into etiquetaread (codigo, nome, quantidade) values (1, 'CAFE', 0)");
    // The other workstation holds the row.
    fb::TQuery q(Outro(), *Outro().TransacaoPadrao());
    q.Add("update etiquetaread set quantidade = 5 where codigo = 1");
    q.ExecSQL();
    const std::string m =
        MensagemDe<fb::EFbErro>([&] { Dtm().UPDATEFILE("EtiquetaRead", "QUANTIDADE = 7", "CODIGO = 1"); });
    EXPECT_EQ(PrimeiraLinha(m),
              "O registro está sendo alterado em outra estação (conflito de atualização); tente novamente")
        << m;
    EXPECT_NE(m.find("concurrent"), std::string::npos) << m;
}

// Another database user, with no grant on the table it reads.
TEST_F(MensagensDoBanco, SemPermissaoNomeiaATabela) {
    GravarConfig("USUARIO BD", "BALCAO");
    GravarConfig("SENHA BD", "balcao");
    const std::string m = MensagemDe<fb::EFbErro>([&] { Dtm().SelectFile("1", "Mercadorias", "COD_RED=1"); });
    EXPECT_EQ(PrimeiraLinha(m),
              "O usuário do banco de dados não tem permissão de SELECT na tabela MERCADORIAS: peça ao "
              "administrador do banco de dados que a conceda")
        << m;
    EXPECT_NE(m.find("no permission"), std::string::npos) << m;
}

TEST(TabelaDaColuna, PeloApelidoOuPelaUnicaTabela) {
    struct C {
        const char* sql;
        const char* coluna;
        const char* tabela;
    };
    const C casos[] = {
        {"select M.X from MERCADORIAS M where( M.COD_RED>0)", "M.X", "MERCADORIAS"},
        {"select m.x from Mercadorias as m join departamentos d on d.cod_dep = m.dep_mer", "D.NOM", "DEPARTAMENTOS"},
        {"select x from mercadorias m join departamentos d on d.cod_dep = m.dep_mer", "X", ""},
        {"Insert into EtiquetaRead\n( CODIGO,So_NOME )", "SO_NOME", "ETIQUETAREAD"},
        {"UPDATE EtiquetaRead SET\nQUANTIDADE = 7", "QUANTIDADE", "ETIQUETAREAD"},
        {"select 'from X' , y from \"Tabela\"", "Y", "Tabela"},
        {"select x from rdb$relations", "X", ""},
    };
    for (const C& c : casos) EXPECT_EQ(fb::TabelaDaColuna(c.sql, c.coluna), c.tabela) << c.sql;
}

}  // namespace
