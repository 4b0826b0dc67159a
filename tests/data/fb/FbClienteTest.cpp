#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <ibase.h>

#include "PastaTemporaria.h"
#include "common/Win1252.h"
#include "suporte/Suporte.h"

using namespace fb;
namespace fs = std::filesystem;

namespace {

bool AlguemEscuta(int porta) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

}  // namespace

class Cliente : public BancoFb {
protected:
    void SetUp() override {
        BancoFb::SetUp();
        Executar(
            "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), TEXTO VARCHAR(300), FIXO CHAR(6),"
            " VALOR NUMERIC(18,3), PRECO NUMERIC(9,2), DATA DATE, MOMENTO TIMESTAMP, REAL_ DOUBLE PRECISION,"
            " NOTA BLOB SUB_TYPE TEXT)");
        tr = std::make_unique<TTransaction>(db, std::vector<std::string>{"read_committed", "rec_version", "nowait"});
        db.SetTransacaoPadrao(tr.get());
    }
    void Inserir(int id, const std::string& nome) {
        TQuery q(db, *tr);
        q.Add("INSERT INTO T (ID, NOME) VALUES (?, ?)");
        q.ParamInteiro(0, id);
        q.ParamTexto(1, nome);
        q.ExecSQL();
    }
    int Contar(TQuery& q, const std::string& sql) {
        q.Clear();
        q.Add(sql);
        q.Open();
        return static_cast<int>(q.FieldByName("N").AsInteger());
    }
    std::unique_ptr<TTransaction> tr;
};

TEST_F(Cliente, ConectaSobDemandaEIniciaATransacaoPadrao) {
    db.Desconectar();
    ASSERT_FALSE(db.Conectado());
    ASSERT_FALSE(tr->Ativa());
    TQuery q(db, *tr);
    q.Add("SELECT COUNT(*) AS N");
    q.Add("FROM T");
    q.Open();
    EXPECT_TRUE(db.Conectado());
    EXPECT_TRUE(tr->Ativa());
    EXPECT_EQ(q.FieldByName("n").AsInteger(), 0);
    EXPECT_EQ(q.UltimoTextoEnviado(), "SELECT COUNT(*) AS N\nFROM T");
}

TEST_F(Cliente, TextoWin1252Dos256BytesIdaEVolta) {
    const std::string bytes = TodosOsBytes();
    const std::string utf8 = Win1252::ParaUtf8(bytes);
    {
        TQuery q(db, *tr);
        q.Add("INSERT INTO T (ID, TEXTO) VALUES (1, ?)");
        q.ParamTexto(0, utf8);
        q.ExecSQL();
    }
    // The same text as a literal in the statement itself (no NUL in SQL text, quote doubled).
    std::string literal;
    for (int i = 1; i < 256; ++i) literal += i == '\'' ? std::string("''") : std::string(1, static_cast<char>(i));
    Executar("INSERT INTO T (ID, TEXTO) VALUES (2, '" + Win1252::ParaUtf8(literal) + "')");
    tr->CommitRetaining();

    TQuery q(db, *tr);
    q.Add("SELECT ID, TEXTO, CHAR_LENGTH(TEXTO) AS N, OCTET_LENGTH(TEXTO) AS B FROM T ORDER BY ID");
    q.Open();
    EXPECT_EQ(q.FieldByName("TEXTO").AsString(), utf8);
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 256);
    EXPECT_EQ(q.FieldByName("B").AsInteger(), 256);  // one byte per character in the database
    q.Next();
    EXPECT_EQ(q.FieldByName("TEXTO").AsString(), Win1252::ParaUtf8(bytes.substr(1)));
}

TEST_F(Cliente, AcentosNoNomeEFiltroPorUpper) {
    Inserir(1, "Calção de banho");
    Inserir(2, "CALÇA JEANS");
    Inserir(3, "Meia");
    TQuery q(db, *tr);
    q.Add("SELECT ID FROM T WHERE UPPER(NOME) LIKE 'CAL%' ORDER BY ID");
    q.Open();
    std::vector<int64_t> ids;
    for (; !q.Eof(); q.Next()) ids.push_back(q.FieldByName("ID").AsInteger());
    EXPECT_EQ(ids, (std::vector<int64_t>{1, 2}));
}

TEST_F(Cliente, NumericExatoSemArredondamentoBinario) {
    struct Caso {
        const char* texto;
        const char* esperado;
    };
    const Caso casos[] = {
        {"0.001", "0.001"},
        {"-0.001", "-0.001"},
        {"0.1", "0.100"},
        {"12.5", "12.500"},
        {"999999999999999.999", "999999999999999.999"},
        {"-999999999999999.999", "-999999999999999.999"},
        {"123456789012345.678", "123456789012345.678"},
        {"0", "0.000"},
    };
    int id = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        TQuery ins(db, *tr);
        ins.Add("INSERT INTO T (ID, VALOR) VALUES (?, ?)");
        ins.ParamInteiro(0, ++id);
        ins.ParamDecimal(1, Decimal::DeTexto(c.texto));
        ins.ExecSQL();
        TQuery q(db, *tr);
        q.Add("SELECT VALOR, VALOR || '' AS COMO_TEXTO FROM T WHERE ID = " + std::to_string(id));
        q.Open();
        Decimal v = q.FieldByName("VALOR").AsDecimal();
        EXPECT_EQ(v.Escala(), 3);
        EXPECT_EQ(v.ParaTexto(), c.esperado);
        EXPECT_EQ(q.FieldByName("VALOR").AsString(), c.esperado);
        EXPECT_EQ(q.FieldByName("COMO_TEXTO").AsString(), c.esperado);  // what the server itself holds
    }
    // Sums stay exact where doubles would not (0.1 + 0.2).
    TQuery q(db, *tr);
    q.Add("SELECT CAST(0.1 AS NUMERIC(18,3)) + CAST(0.2 AS NUMERIC(18,3)) AS S FROM RDB$DATABASE");
    q.Open();
    EXPECT_EQ(q.FieldByName("S").AsDecimal(), Decimal::DeTexto("0.3"));
    // A price of two decimals and a text bound to a numeric column.
    TQuery ins(db, *tr);
    ins.Add("INSERT INTO T (ID, PRECO, VALOR) VALUES (100, ?, ?)");
    ins.ParamDecimal(0, Decimal::DeTexto("19.99"));
    ins.ParamTexto(1, "7.125");
    ins.ExecSQL();
    q.Clear();
    q.Add("SELECT PRECO, VALOR FROM T WHERE ID = 100");
    q.Open();
    EXPECT_EQ(q.FieldByName("PRECO").AsString(), "19.99");
    EXPECT_EQ(q.FieldByName("VALOR").AsDecimal(), Decimal::DeTexto("7.125"));
    EXPECT_EQ(q.FieldByName("VALOR").AsInteger(), 7);
}

TEST_F(Cliente, NulosDeCadaTipo) {
    Executar("INSERT INTO T (ID) VALUES (1)");
    TQuery q(db, *tr);
    q.Add("SELECT * FROM T");
    q.Open();
    for (const char* c : {"NOME", "FIXO", "VALOR", "PRECO", "DATA", "MOMENTO", "REAL_", "NOTA"}) {
        SCOPED_TRACE(c);
        TField f = q.FieldByName(c);
        EXPECT_TRUE(f.IsNull());
        EXPECT_EQ(f.AsString(), "");
        EXPECT_EQ(f.AsInteger(), 0);
        EXPECT_EQ(f.AsDecimal(), Decimal());
        EXPECT_EQ(f.AsDate(), 0.0);
    }
    EXPECT_FALSE(q.FieldByName("ID").IsNull());
    // and NULL written through a parameter
    TQuery up(db, *tr);
    up.Add("UPDATE T SET NOME = ?, VALOR = ? WHERE ID = 1");
    up.ParamTexto(0, "x");
    up.ParamDecimal(1, Decimal(5));
    up.ExecSQL();
    up.ParamNulo(0);
    up.ExecSQL();  // the decimal keeps its value for the next run
    q.Close();
    q.Open();
    EXPECT_TRUE(q.FieldByName("NOME").IsNull());
    EXPECT_EQ(q.FieldByName("VALOR").AsDecimal(), Decimal(5));
}

TEST_F(Cliente, DatasIdaEVolta) {
    struct Caso {
        int a, m, d;
        const char* texto;
    };
    const Caso casos[] = {{1899, 12, 30, "30/12/1899"}, {2000, 1, 1, "01/01/2000"},   {2024, 2, 29, "29/02/2024"},
                          {1858, 11, 17, "17/11/1858"}, {9999, 12, 31, "31/12/9999"}, {1970, 1, 1, "01/01/1970"}};
    int id = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        TDateTime d = EncodeDate(c.a, c.m, c.d);
        TQuery ins(db, *tr);
        ins.Add("INSERT INTO T (ID, DATA) VALUES (?, ?)");
        ins.ParamInteiro(0, ++id);
        ins.ParamData(1, d);
        ins.ExecSQL();
        TQuery q(db, *tr);
        q.Add("SELECT DATA, EXTRACT(YEAR FROM DATA) AS A, EXTRACT(MONTH FROM DATA) AS M, EXTRACT(DAY FROM DATA) AS D");
        q.Add("FROM T WHERE ID = " + std::to_string(id));
        q.Open();
        EXPECT_EQ(q.FieldByName("DATA").AsDate(), d);
        EXPECT_EQ(q.FieldByName("DATA").AsString(), c.texto);
        EXPECT_EQ(q.FieldByName("A").AsInteger(), c.a);  // the server reads the same day
        EXPECT_EQ(q.FieldByName("M").AsInteger(), c.m);
        EXPECT_EQ(q.FieldByName("D").AsInteger(), c.d);
    }
    // The literal form the program's SQL uses ('MM/DD/AAAA') and a timestamp with time.
    Executar("INSERT INTO T (ID, DATA, MOMENTO) VALUES (50, '07/15/2025', '2025-07-15 13:45:30')");
    TQuery q(db, *tr);
    q.Add("SELECT DATA, MOMENTO FROM T WHERE ID = 50");
    q.Open();
    EXPECT_EQ(q.FieldByName("DATA").AsDate(), EncodeDate(2025, 7, 15));
    EXPECT_NEAR(q.FieldByName("MOMENTO").AsDate(), EncodeDateTime(2025, 7, 15, 13, 45, 30), 1e-9);
    EXPECT_EQ(q.FieldByName("MOMENTO").AsString(), "15/07/2025 13:45:30");
}

TEST_F(Cliente, CharSemBrancosAoFimEBlobDeTexto) {
    TQuery ins(db, *tr);
    ins.Add("INSERT INTO T (ID, FIXO, NOTA) VALUES (1, ?, ?)");
    ins.ParamTexto(0, "T");
    std::string longo = "Observação: ";
    for (int i = 0; i < 5000; ++i) longo += "ção ";
    ins.ParamTexto(1, longo);
    ins.ExecSQL();
    TQuery q(db, *tr);
    q.Add("SELECT FIXO, NOTA FROM T");
    q.Open();
    EXPECT_EQ(q.FieldByName("FIXO").AsString(), "T");
    EXPECT_TRUE(q.FieldByName("FIXO").AsBoolean());
    EXPECT_EQ(q.FieldByName("NOTA").AsString(), longo);
}

TEST_F(Cliente, LinhasGuardadasPermitemVoltarAoInicio) {
    for (int i = 1; i <= 5; ++i) Inserir(i, "n" + std::to_string(i));
    TQuery q(db, *tr);
    q.Add("SELECT ID FROM T ORDER BY ID");
    q.Open();
    ASSERT_FALSE(q.Eof());
    std::vector<int64_t> ida, volta;
    for (; !q.Eof(); q.Next()) ida.push_back(q.FieldByName("ID").AsInteger());
    EXPECT_EQ(q.RecNo(), 4u);  // stays on the last row
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 5);
    q.First();
    for (; !q.Eof(); q.Next()) volta.push_back(q.FieldByName("ID").AsInteger());
    EXPECT_EQ(ida, (std::vector<int64_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(ida, volta);
}

TEST_F(Cliente, SoParaFrenteGuardaApenasALinhaAtual) {
    for (int i = 1; i <= 5; ++i) Inserir(i, "n" + std::to_string(i));
    TQuery q(db, *tr);
    q.SetUnidirecional(true);
    q.Add("SELECT ID, NOME FROM T ORDER BY ID");
    q.Open();
    q.First();  // still on the first row: allowed
    std::vector<std::string> lidas;
    std::vector<size_t> posicoes;
    for (; !q.Eof(); q.Next()) {
        lidas.push_back(q.FieldByName("NOME").AsString());
        posicoes.push_back(q.RecNo());
    }
    EXPECT_EQ(lidas, (std::vector<std::string>{"n1", "n2", "n3", "n4", "n5"}));
    EXPECT_EQ(posicoes, (std::vector<size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 5);  // stays on the last row
    EXPECT_THROW(q.First(), EDatabaseError);
    EXPECT_THROW(q.SetUnidirecional(false), EDatabaseError);  // not while open
    // Opened again it starts over.
    q.Open();
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 1);
    EXPECT_EQ(q.RecNo(), 0u);
}

TEST_F(Cliente, ResultadoVazioJaAbreNoFim) {
    TQuery q(db, *tr);
    q.Add("SELECT ID, NOME FROM T WHERE ID < 0");
    q.Open();
    EXPECT_TRUE(q.Active());
    EXPECT_TRUE(q.Eof());
    EXPECT_TRUE(q.FieldByName("NOME").IsNull());
    EXPECT_EQ(q.NomesDosCampos(), (std::vector<std::string>{"ID", "NOME"}));
}

TEST_F(Cliente, ConcurrencyNaoVeLinhasConfirmadasDepoisDoInicio) {
    TTransaction foto(db, {"concurrency", "nowait"});
    TQuery q(db, foto);
    q.Add("SELECT COUNT(*) AS N FROM T");
    q.Open();  // the snapshot starts here
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 0);

    auto outro = OutraConexao();
    TTransaction escrita(*outro, {"read_committed", "rec_version", "nowait"});
    TQuery ins(*outro, escrita);
    ins.Add("INSERT INTO T (ID, NOME) VALUES (1, 'novo')");
    ins.ExecSQL();
    escrita.Commit();

    q.Close();
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 0) << "a concurrency transaction keeps its snapshot";
    TQuery rc(db, *tr);
    EXPECT_EQ(Contar(rc, "SELECT COUNT(*) AS N FROM T"), 1) << "read_committed sees the commit";
    foto.Commit();
    q.Open();
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 1) << "a new snapshot sees it";
}

TEST_F(Cliente, CommitRetainingMantemOCursorUtilizavel) {
    // More rows than one network/engine batch, so the cursor must really fetch after the commit.
    Executar(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 3000) DO BEGIN "
        "INSERT INTO T (ID, NOME) VALUES (:I, 'linha ' || :I); I = I + 1; END END");
    TQuery q(db, *tr);
    q.Add("SELECT ID FROM T ORDER BY ID");
    q.Open();
    int vistos = 0;
    int64_t ultimo = 0;
    for (; !q.Eof() && vistos < 10; q.Next()) ultimo = q.FieldByName("ID").AsInteger(), ++vistos;
    Inserir(5000, "durante a leitura");
    tr->CommitRetaining();
    EXPECT_TRUE(q.Active());
    for (; !q.Eof(); q.Next()) {
        int64_t id = q.FieldByName("ID").AsInteger();
        EXPECT_GT(id, ultimo);
        ultimo = id;
        ++vistos;
    }
    EXPECT_GE(vistos, 3000);
    EXPECT_TRUE(tr->Ativa());
    // A hard commit ends the transaction and closes its cursors.
    q.Close();
    q.Open();
    tr->Commit();
    EXPECT_FALSE(q.Active());
    EXPECT_FALSE(tr->Ativa());
}

TEST_F(Cliente, RollbackRetainingDesfazEContinuaAtiva) {
    Inserir(1, "desfeito");
    tr->RollbackRetaining();
    EXPECT_TRUE(tr->Ativa());
    TQuery q(db, *tr);
    EXPECT_EQ(Contar(q, "SELECT COUNT(*) AS N FROM T"), 0);
    Inserir(2, "fica");
    tr->CommitRetaining();
    tr->Rollback();
    EXPECT_FALSE(tr->Ativa());
    EXPECT_EQ(Contar(q, "SELECT COUNT(*) AS N FROM T"), 1);  // restarted on demand
}

TEST_F(Cliente, NowaitFalhaNaHoraEmConflitoDeBloqueio) {
    Inserir(1, "original");
    tr->CommitRetaining();
    TQuery a(db, *tr);
    a.Add("UPDATE T SET NOME = 'A' WHERE ID = 1");
    a.ExecSQL();  // holds the row, uncommitted

    auto outro = OutraConexao();
    TTransaction b(*outro, {"read_committed", "rec_version", "nowait"});
    TQuery qb(*outro, b);
    qb.Add("UPDATE T SET NOME = 'B' WHERE ID = 1");
    try {
        qb.ExecSQL();
        FAIL() << "the update should have failed";
    } catch (const EFbErro& e) {
        EXPECT_TRUE(e.ConflitoDeBloqueio()) << e.what();
        EXPECT_NE(std::string(e.what()).find("conflito de atualização"), std::string::npos) << e.what();
    }
    // The failed statement left both sides usable.
    b.Rollback();
    tr->CommitRetaining();
    qb.ExecSQL();
    b.Commit();
}

TEST_F(Cliente, DbKeyEncontraALinhaCertaEmTabelaSemChave) {
    Executar("CREATE TABLE FILA (CODIGO INTEGER, QUANTIDADE NUMERIC(18,3))");
    for (int i = 0; i < 3; ++i) Executar("INSERT INTO FILA VALUES (7, 0)");  // identical rows
    TQuery q(db, *tr);
    q.Add("SELECT RDB$DB_KEY AS CHAVE, F.* FROM FILA F");
    q.Open();
    q.Next();
    std::string chave = q.FieldByName("CHAVE").AsString();
    EXPECT_EQ(chave.size(), 16u);
    EXPECT_EQ(chave.find_first_not_of("0123456789ABCDEF"), std::string::npos) << chave;
    TQuery up(db, *tr);
    up.Add("UPDATE FILA SET QUANTIDADE = ? WHERE RDB$DB_KEY = ?");
    up.ParamDecimal(0, Decimal(4));
    up.ParamDbKey(1, chave);
    up.ExecSQL();
    EXPECT_EQ(up.LinhasAfetadas(), 1u);
    TQuery c(db, *tr);
    c.Add("SELECT RDB$DB_KEY AS CHAVE, QUANTIDADE FROM FILA");
    c.Open();
    int mudadas = 0;
    for (; !c.Eof(); c.Next())
        if (c.FieldByName("QUANTIDADE").AsDecimal() == Decimal(4)) {
            ++mudadas;
            EXPECT_EQ(c.FieldByName("CHAVE").AsString(), chave);
        }
    EXPECT_EQ(mudadas, 1);
    EXPECT_THROW(up.ParamDbKey(1, "XYZ"), EDatabaseError);
}

TEST_F(Cliente, ComandoInvalidoTrazAMensagemDoServidor) {
    TQuery q(db, *tr);
    q.Add("SELEC * FROM T");
    std::string m = MensagemDe<EDatabaseError>([&] { q.Open(); });
    // The codes on the first line, the engine's English on the second, for support.
    EXPECT_EQ(m.rfind("Erro do banco de dados (código SQL -104, GDS " + std::to_string(isc_dsql_error) + ").\n", 0), 0u)
        << m;
    EXPECT_NE(m.find("Token unknown"), std::string::npos) << m;
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.UltimoTextoEnviado(), "SELEC * FROM T");

    TQuery t(db, *tr);
    t.Add("SELECT NADA FROM TABELA_QUE_NAO_EXISTE");
    m = MensagemDe<EDatabaseError>([&] { t.Open(); });
    EXPECT_NE(m.find("TABELA_QUE_NAO_EXISTE"), std::string::npos) << m;

    // Too long for the column: refused, nothing stored, transaction still usable.
    TQuery ins(db, *tr);
    ins.Add("INSERT INTO T (ID, NOME) VALUES (1, ?)");
    ins.ParamTexto(0, std::string(41, 'x'));
    m = MensagemDe<EDatabaseError>([&] { ins.ExecSQL(); });
    EXPECT_NE(m.find("Texto maior do que a coluna do banco de dados comporta"), std::string::npos) << m;
    EXPECT_TRUE(tr->Ativa());
    TQuery c(db, *tr);
    EXPECT_EQ(Contar(c, "SELECT COUNT(*) AS N FROM T"), 0);

    q.Clear();
    q.Add("SELECT COUNT(*) AS N FROM T");
    q.Open();  // the same object works again after the failure
    EXPECT_EQ(q.FieldByName("N").AsInteger(), 0);
}

// A statement the server prepared but this layer refuses (an ARRAY column)
// leaves nothing half built: every later call refuses it again instead of
// reading columns it never laid out.
TEST_F(Cliente, ComandoRecusadoDepoisDePreparadoNaoFicaMeioPronto) {
    Executar("CREATE TABLE COM_ARRAY (ID INTEGER, V INTEGER[3])");
    Executar("INSERT INTO COM_ARRAY (ID) VALUES (7)");
    struct Chamada {
        const char* nome;
        std::function<void(TQuery&)> f;
    };
    const std::vector<Chamada> chamadas{
        {"Open", [](TQuery& q) { q.Open(); }},
        {"Prepare", [](TQuery& q) { q.Prepare(); }},
        {"ParamCount", [](TQuery& q) { q.ParamCount(); }},
        {"ExecSQL", [](TQuery& q) { q.ExecSQL(); }},
    };
    TQuery q(db, *tr);
    q.Add("SELECT ID, V FROM COM_ARRAY");
    for (int vez = 0; vez < 2; ++vez)
        for (const auto& c : chamadas) {
            SCOPED_TRACE(std::string(c.nome) + ", vez " + std::to_string(vez));
            std::string m = MensagemDe<EDatabaseError>([&] { c.f(q); });
            EXPECT_NE(m.find("Coluna de tipo ARRAY não suportada: V"), std::string::npos) << m;
            EXPECT_FALSE(q.Preparado());
            EXPECT_FALSE(q.Active());
            EXPECT_FALSE(q.FindField("ID").has_value());
        }
    q.Clear();
    q.Add("SELECT ID FROM COM_ARRAY");
    q.Open();
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 7);
}

TEST_F(Cliente, ErrosDeUsoTemMensagemClara) {
    TQuery q(db, *tr);
    q.Add("INSERT INTO T (ID, NOME) VALUES (?, ?)");
    q.ParamInteiro(0, 1);
    EXPECT_NE(MensagemDe<EDatabaseError>([&] { q.ExecSQL(); }).find("Parâmetro 1 sem valor"), std::string::npos);
    EXPECT_THROW(q.ParamTexto(2, "x"), EDatabaseError);
    TQuery v(db, *tr);
    EXPECT_THROW(v.Open(), EDatabaseError);  // no SQL
    TQuery s(db, *tr);
    s.Add("SELECT ID FROM T");
    s.Open();
    EXPECT_NE(MensagemDe<EDatabaseError>([&] { s.FieldByName("NAO_EXISTE"); }).find("NAO_EXISTE"), std::string::npos);
    EXPECT_FALSE(s.FindField("NAO_EXISTE").has_value());
    TQuery u(db, *tr);
    u.Add("DELETE FROM T");
    EXPECT_THROW(u.Open(), EDatabaseError);  // returns no rows
}

TEST_F(Cliente, ParametrosDesconhecidosSaoRecusados) {
    TTransaction t(db, {"read_committed", "sem_sentido"});
    EXPECT_NE(MensagemDe<EDatabaseError>([&] { t.Start(); }).find("sem_sentido"), std::string::npos);
    EXPECT_FALSE(t.Ativa());
    TDatabase outro;
    outro.SetCaminho(caminho);
    outro.SetParametros({"user_name=SYSDBA", "lc_ctype=KOI8R"});
    EXPECT_NE(MensagemDe<EDatabaseError>([&] { outro.Conectar(); }).find("KOI8R"), std::string::npos);
    EXPECT_FALSE(outro.Conectado());
}

TEST_F(Cliente, DesconectarFechaTudoEAReconexaoPreparaDeNovo) {
    Inserir(1, "um");
    tr->CommitRetaining();
    TQuery q(db, *tr);
    q.Add("SELECT NOME FROM T WHERE ID = ?");
    q.ParamInteiro(0, 1);
    q.Open();
    ASSERT_TRUE(q.Preparado());
    db.Desconectar();
    EXPECT_FALSE(q.Active());
    EXPECT_FALSE(q.Preparado());
    EXPECT_FALSE(tr->Ativa());
    q.Open();  // reconnects, restarts the transaction, prepares again, keeps the parameter
    EXPECT_EQ(q.FieldByName("NOME").AsString(), "um");
}

TEST_F(Cliente, DestruirOBancoAntesDasConsultasNaoQuebra) {
    auto banco = OutraConexao();
    auto t = std::make_unique<TTransaction>(*banco, std::vector<std::string>{"concurrency"});
    auto q = std::make_unique<TQuery>(*banco, *t);
    q->Add("SELECT ID FROM T");
    q->Open();
    banco.reset();  // releases the cursor, the statement and the transaction
    EXPECT_FALSE(q->Active());
    EXPECT_FALSE(t->Ativa());
    EXPECT_THROW(q->Open(), EDatabaseError);
    q.reset();
    t.reset();
}

TEST_F(Cliente, DestruirATransacaoAntesDaConsultaNaoQuebra) {
    auto t = std::make_unique<TTransaction>(db, std::vector<std::string>{"concurrency"});
    auto q = std::make_unique<TQuery>(db, *t);
    q->Add("SELECT ID FROM T");
    q->Open();
    db.SetTransacaoPadrao(t.get());
    t.reset();  // rolls back and closes the query's cursor
    EXPECT_EQ(db.TransacaoPadrao(), nullptr);
    EXPECT_FALSE(q->Active());
    EXPECT_EQ(MensagemDe<EDatabaseError>([&] { q->Open(); }), "A consulta não tem mais transação.");
    EXPECT_EQ(MensagemDe<EDatabaseError>([&] { q->Transacao(); }), "A consulta não tem mais transação.");
    EXPECT_EQ(&q->Banco(), &db);
    q.reset();
    // the database's own statements and transactions go on
    db.SetTransacaoPadrao(tr.get());
    Inserir(1, "um");
    TQuery c(db, *tr);
    EXPECT_EQ(Contar(c, "SELECT COUNT(*) AS N FROM T"), 1);
}

TEST_F(Cliente, ScriptComComentariosEAspas) {
    db.ExecutarScript(
        "-- comentário; com ponto e vírgula\n"
        "INSERT INTO T (ID, NOME) VALUES (1, 'a;b');\n"
        "/* bloco; */ INSERT INTO T (ID, NOME) VALUES (2, 'it''s');\n"
        "INSERT INTO T (ID, NOME) VALUES (3, 'fim')");
    TQuery q(db, *tr);
    q.Add("SELECT NOME FROM T ORDER BY ID");
    q.Open();
    std::vector<std::string> nomes;
    for (; !q.Eof(); q.Next()) nomes.push_back(q.FieldByName("NOME").AsString());
    EXPECT_EQ(nomes, (std::vector<std::string>{"a;b", "it's", "fim"}));
}

TEST(CaminhoLocal, DistingueArquivoDeServidor) {
    struct Caso {
        const char* caminho;
        bool local;
    };
    for (const Caso& c : {Caso{"/var/loja/loja.fdb", true}, Caso{"loja.fdb", true}, Caso{"./dados/loja.fdb", true},
                          Caso{"C:\\Merkor\\LOJA.FDB", true}, Caso{"/tmp/a:b.fdb", true},
                          Caso{"127.0.0.1:/x.fdb", false}, Caso{"servidor:C:\\Merkor\\LOJA.FDB", false},
                          Caso{"servidor/3051:/dados/loja.fdb", false}, Caso{"inet://servidor/loja", false}}) {
        EXPECT_EQ(TDatabase::EhCaminhoLocal(c.caminho), c.local) << c.caminho;
    }
}

TEST(Conexao, ArquivoInexistenteFalhaSemCriarNada) {
    PastaTemporaria pasta;
    TDatabase db;
    db.SetCaminho(pasta.Arquivo("nao_existe.fdb"));
    db.SetParametros(ParametrosTeste());
    std::string m = MensagemDe<EDatabaseError>([&] { db.Conectar(); });
    EXPECT_NE(m.find("nao_existe.fdb"), std::string::npos) << m;
    EXPECT_NE(m.find("Não foi possível conectar"), std::string::npos) << m;
    // The reason, in Portuguese rather than the client library's English.
    EXPECT_NE(m.find("Não foi possível abrir o arquivo do banco de dados \"" + pasta.Arquivo("nao_existe.fdb") +
                     "\": Arquivo ou dispositivo não encontrado"),
              std::string::npos)
        << m;
    EXPECT_EQ(m.find("I/O error"), std::string::npos) << m;
    EXPECT_FALSE(db.Conectado());
    EXPECT_TRUE(pasta.Conteudo().empty());
}

TEST(Conexao, ArquivoQueNaoEBancoOuEPastaDizIssoEmPortugues) {
    PastaTemporaria pasta;
    const std::string texto = pasta.Arquivo("notas.txt");
    std::ofstream(texto) << std::string(8192, 'x');
    struct Caso {
        std::string caminho, motivo;
    };
    const Caso casos[] = {
        {texto, "O arquivo \"" + texto + "\" não é um banco de dados Firebird válido"},
        {pasta.Caminho(),
         "Não foi possível abrir o arquivo do banco de dados \"" + pasta.Caminho() + "\": O caminho é uma pasta"},
    };
    for (const auto& c : casos) {
        TDatabase db;
        db.SetCaminho(c.caminho);
        db.SetParametros(ParametrosTeste());
        std::string m = MensagemDe<EDatabaseError>([&] { db.Conectar(); });
        EXPECT_NE(m.find(c.motivo), std::string::npos) << m;
    }
}

TEST(Conexao, CaminhoVazioFalhaComMensagem) {
    TDatabase db;
    db.SetParametros(ParametrosTeste());
    EXPECT_NE(MensagemDe<EDatabaseError>([&] { db.Conectar(); }).find("não informado"), std::string::npos);
}

TEST(Conexao, ServidorQueNaoRespondeFalhaLogo) {
    std::vector<std::string> caminhos{"127.0.0.1/" + std::to_string(PortaLivre()) + ":/x.fdb"};
    if (!AlguemEscuta(3050)) caminhos.push_back("127.0.0.1:/x.fdb");
    for (const auto& c : caminhos) {
        SCOPED_TRACE(c);
        TDatabase db;
        db.SetCaminho(c);
        db.SetParametros(ParametrosTeste());
        std::string m = MensagemDe<EDatabaseError>([&] { db.Conectar(); });
        EXPECT_NE(m.find("Não foi possível conectar ao banco de dados \"" + c + "\""), std::string::npos) << m;
        EXPECT_NE(m.find("127.0.0.1"), std::string::npos) << m;
        EXPECT_NE(m.find("Não foi possível conectar ao servidor de banco de dados 127.0.0.1"), std::string::npos) << m;
        EXPECT_EQ(m.find("Unable to complete"), std::string::npos) << m;
        EXPECT_FALSE(db.Conectado());
    }
}

// The client library takes SIGTERM over at the first attach of a process; a
// SIGTERM that comes while a slow first attach waits must reach the program's
// own handler only, and leave the library working. The check runs in a fresh process (a re-run of this
// test binary), so its attach is the first one.
TEST(Conexao, SigtermDuranteConexaoLentaChegaAoPrograma) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static std::atomic<int> recebido{0};
            std::signal(SIGTERM, [](int s) { recebido = s; });
            int porta = 0;
            const int escuta = Vincular(0, porta);
            ::listen(escuta, 4);  // connects, never answers the handshake
            std::thread([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1000));
                ::kill(::getpid(), SIGTERM);
            }).detach();
            TDatabase db;
            db.SetCaminho("127.0.0.1/" + std::to_string(porta) + ":/x.fdb");
            db.SetParametros(ParametrosTeste());
            db.SetTempoLimiteConexao(3);
            try {
                db.Conectar();
            } catch (const EDatabaseError&) {  // the silent server: expected
            }
            if (recebido.load() != SIGTERM) std::_Exit(1);
            // The client library still works: the program can roll back and
            // detach in order (its own handler shuts every connection down).
            PastaTemporaria pasta;
            TDatabase local;
            local.SetCaminho(pasta.Arquivo("depois.fdb"));
            local.SetParametros(ParametrosTeste());
            try {
                local.CriarBanco();
            } catch (const EDatabaseError& e) {
                std::fprintf(stderr, "%s\n", e.what());
                std::_Exit(2);
            }
            std::_Exit(local.Conectado() ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Conexao, CriarNaoSobrescreveArquivoExistente) {
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("loja.fdb");
    {
        std::ofstream f(arq);
        f << "dados do cliente";
    }
    TDatabase db;
    db.SetCaminho(arq);
    db.SetParametros(ParametrosTeste());
    EXPECT_THROW(db.CriarBanco(), EFbErro);
    std::ifstream f(arq);
    std::string s;
    std::getline(f, s);
    EXPECT_EQ(s, "dados do cliente");
}
