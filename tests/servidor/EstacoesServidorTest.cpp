// Workstations on one Firebird server, as etiquetas-cli processes: the road
// from a batch to a print, two workstations on the shared queue, and a
// server killed in the middle of a batch.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "ServidorFb.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "suporte/Caminhos.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

// A workstation: its own folder with etiquetas-cli and a configEtq.ini
// pointing at the shop on the server and printing to a file.
class TEstacao {
public:
    // `outras`: more keys of configEtq.ini (the database user).
    TEstacao(const std::string& caminhoBanco, const std::string& nome,
             const std::vector<std::pair<std::string, std::string>>& outras = {})
        : pasta_("etiq-" + nome) {
        programa_ = pasta_ / "etiquetas-cli";
        std::error_code ec;
        fs::create_hard_link(kProgramaCli, programa_, ec);
        if (ec) fs::copy_file(kProgramaCli, programa_);
        DefinirDiretorioSistema(pasta_.caminho.string());
        GravarConfig({{"PATH MERKOR", caminhoBanco},
                      {"PATH REDE", "FILE:" + Saida()},
                      {"MODELO", "ZPL"},
                      {"TEMPERATURA", "10"}});
        for (const auto& [chave, valor] : outras) GravarConfig(chave, valor);
        DefinirDiretorioSistema("");
    }
    std::string Saida() const { return pasta_ / "saida.prn"; }
    void Configurar(const std::string& chave, const std::string& valor) {
        DefinirDiretorioSistema(pasta_.caminho.string());
        GravarConfig(chave, valor);
        DefinirDiretorioSistema("");
    }
    const std::string& Pasta() const { return pasta_.caminho.native(); }
    std::unique_ptr<TProcesso> Iniciar(std::vector<std::string> argumentos,
                                       const std::vector<std::string>& ambiente = {}) {
        argumentos.insert(argumentos.begin(), programa_);
        return std::make_unique<TProcesso>(argumentos, Pasta(), ambiente);
    }
    // Runs a command to its end (at most `segundos`).
    std::pair<int, std::string> Rodar(const std::vector<std::string>& argumentos, double segundos = 60) {
        auto p = Iniciar(argumentos);
        if (!p->Esperar(segundos)) return {-1, "não terminou em " + std::to_string(segundos) + " s\n" + p->Saida()};
        return {p->Status(), p->Saida()};
    }

private:
    TPastaTemp pasta_;
    std::string programa_;
};

// One demo shop per test on the shared server.
class Estacoes : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        static int n = 0;
        arquivo_ = Servidor().Pasta() + "/estacoes" + std::to_string(++n) + ".fdb";
        caminho_ = Servidor().Caminho(arquivo_);
    }
    void CriarLoja(int mercadorias) {
        TProcesso demo(
            {kProgramaCli, "demo-db", caminho_, "--mercadorias", std::to_string(mercadorias), "--semente", "1"},
            Servidor().Pasta());
        ASSERT_TRUE(demo.Esperar(300)) << demo.Saida();
        ASSERT_EQ(demo.Status(), 0) << demo.Saida();
    }
    TConexao& Banco() {
        if (!banco_) banco_ = std::make_unique<TConexao>(caminho_);
        return *banco_;
    }
    // Until the batch of `cli` has inserted `linhas` queue rows (its
    // transaction then holds them), or it ended.
    void EsperarInsercoes(TProcesso& cli, int64_t linhas) {
        const std::string inseridas =
            "select coalesce(sum(r.mon$record_inserts), 0) from mon$attachments a "
            "join mon$record_stats r on r.mon$stat_id = a.mon$stat_id where a.mon$remote_pid = " +
            std::to_string(cli.Pid());
        for (int i = 0; i < 3000 && !cli.Esperar(0) && std::stoll(Banco().Texto(inseridas)) < linhas; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::string arquivo_, caminho_;
    std::unique_ptr<TConexao> banco_;
};

TEST_F(Estacoes, LoteAdicaoPorBarrasEImpressaoPeloServidor) {
    CriarLoja(300);
    TEstacao caixa(caminho_, "caixa");
    auto [rc, saida] = caixa.Rodar({"lote", "--codigo", "1", "20"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Trim(saida), Banco().Texto("select count(*) from etiquetaread") + " linhas na fila, 0 etiquetas");
    EXPECT_EQ(Banco().Texto("select count(*) from etiquetaread where quantidade <> 0"), "0");

    const std::string barras = Banco().Texto("select first 1 cod_bar from mercadorias where cod_red = 250");
    ASSERT_FALSE(barras.empty());
    std::tie(rc, saida) = caixa.Rodar({"fila", "--barras", barras});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Banco().Texto("select quantidade from etiquetaread where barras = '" + barras + "'"), "1.000");

    std::tie(rc, saida) = caixa.Rodar({"imprimir", "--modelo", "11", "--sem-pausa"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_NE(saida.find("etiquetas enviadas (modelo 11)"), std::string::npos) << saida;
    const std::string zpl = LerTudo(caixa.Saida());
    EXPECT_NE(zpl.find("^XA"), std::string::npos) << zpl.substr(0, 200);
    EXPECT_NE(zpl.find(barras), std::string::npos) << "o código adicionado não foi impresso";
}

// Part of the shared queue's contract: a batch empties the whole queue, the
// other workstation's rows included, and neither workstation fails.
TEST_F(Estacoes, LoteNumaEstacaoEnquantoAOutraAdicionaPorBarras) {
    CriarLoja(3000);
    TEstacao escritorio(caminho_, "escritorio");
    TEstacao balcao(caminho_, "balcao");
    const std::string antes = Banco().Texto("select first 1 cod_bar from mercadorias where cod_red = 2999");
    auto [rc, saida] = balcao.Rodar({"fila", "--barras", antes});
    ASSERT_EQ(rc, 0) << saida;

    auto lote = escritorio.Iniciar({"lote"});
    // The counter adds while the batch runs, each add committed on its own.
    int adicoes = 0;
    for (int cod = 1; cod <= 40 && !lote->Esperar(0); ++cod, ++adicoes) {
        const std::string b = Banco().Texto("select cod_bar from mercadorias where cod_red = " + std::to_string(cod));
        std::tie(rc, saida) = balcao.Rodar({"fila", "--barras", b});
        ASSERT_EQ(rc, 0) << "a adição por barras falhou durante o lote\n" << saida;
    }
    ASSERT_TRUE(lote->Esperar(120)) << lote->Saida();
    ASSERT_EQ(lote->Status(), 0) << lote->Saida();
    EXPECT_GT(adicoes, 0) << "o lote terminou antes de a outra estação adicionar";

    // The row added before the batch is gone; the batch's rows are all there.
    EXPECT_EQ(Banco().Texto("select count(*) from etiquetaread where barras = '" + antes + "' and quantidade = 1"),
              "0");
    // lote says the queue as it left it: its own rows and what the counter had
    // added after them by then (the counter may add one more after that).
    const long linhasDoLote = std::stol(lote->Saida());
    EXPECT_NE(lote->Saida().find(" linhas na fila, "), std::string::npos) << lote->Saida();
    EXPECT_GE(linhasDoLote, std::stol(Banco().Texto("select count(*) from etiquetaread where quantidade = 0")));
    EXPECT_LE(linhasDoLote, std::stol(Banco().Texto("select count(*) from etiquetaread")));
}

// A list of tens of thousands of barcodes used to crash the server's engine
// (every workstation lost the shop). It selects what the short list of the
// existing codes selects, the server keeps answering, and two workstations
// with long lists at once each get their own.
TEST_F(Estacoes, ListaLongaDeCodigosNaoDerrubaOServidor) {
    CriarLoja(300);
    TEstacao escritorio(caminho_, "escritorio");
    TEstacao balcao(caminho_, "balcao");
    const std::string existentes = Banco().Texto(
        "select list(cod_bar, ascii_char(10)) from (select cod_bar from mercadorias where cod_red <= 20 order by "
        "cod_red)");
    std::string longa;
    for (long i = 0; i < 50000; ++i) longa += std::to_string(2000000000000L + i) + "\n";
    Gravar(escritorio.Pasta() + "/curta.lst", existentes + "\n");
    Gravar(escritorio.Pasta() + "/longa.lst", longa + existentes + "\n");
    Gravar(balcao.Pasta() + "/longa.lst", existentes + "\n" + longa);

    auto [rc, saida] = escritorio.Rodar({"lote", "--ordem", "nome", "--lista", escritorio.Pasta() + "/curta.lst"});
    ASSERT_EQ(rc, 0) << saida;
    const std::string porNome = "select list(codigo, ',') from (select codigo from etiquetaread order by nome, codigo)";
    const std::string curta = Banco().Texto(porNome);
    EXPECT_EQ(Trim(saida), Banco().Texto("select count(*) from etiquetaread") + " linhas na fila, 0 etiquetas");

    auto um = escritorio.Iniciar({"lote", "--ordem", "nome", "--lista", escritorio.Pasta() + "/longa.lst"});
    auto outro = balcao.Iniciar({"lote", "--ordem", "nome", "--lista", balcao.Pasta() + "/longa.lst"});
    ASSERT_TRUE(um->Esperar(120)) << um->Saida();
    ASSERT_TRUE(outro->Esperar(120)) << outro->Saida();
    // Both batches empty the shared queue: the one that commits last wins,
    // the other may be refused by the conflict, never half-written.
    EXPECT_TRUE(um->Status() == 0 || outro->Status() == 0) << um->Saida() << outro->Saida();
    for (TProcesso* p : {um.get(), outro.get()}) {
        if (p->Status() == 0) {
            EXPECT_EQ(Trim(p->Saida()), Trim(saida));
        }
    }
    EXPECT_EQ(Banco().Texto(porNome), curta);
    EXPECT_EQ(Banco().Texto("select count(*) from mercadorias"), "300");
}

// A shop whose workstations log in as a user of their own, with grants on
// every shop table: the tables the program creates (the long list, the
// journal) are usable by that user too, whoever created them. One made by an
// older version without the grant names itself, and gets the grant the next
// time the program runs as SYSDBA.
TEST_F(Estacoes, OutroUsuarioDoBancoUsaAListaLongaEODiario) {
    CriarLoja(300);
    Banco().Executar("create or alter user ETIQUETAS password 'Loja#2026' using plugin Srp");
    Banco().Executar(
        "execute block as declare t varchar(63); begin for select trim(rdb$relation_name) from rdb$relations "
        "where rdb$system_flag = 0 into :t do execute statement 'grant all on ' || t || ' to ETIQUETAS'; end");
    // As an older version left it: made by SYSDBA, no grant.
    Banco().Executar("create global temporary table ETIQUETALISTA (COD_BAR VARCHAR(30)) on commit delete rows");

    TEstacao administrador(caminho_, "administrador");
    TEstacao balcao(caminho_, "balcao-usuario", {{"USUARIO BD", "ETIQUETAS"}, {"SENHA BD", "Loja#2026"}});
    const std::string existentes = Banco().Texto(
        "select list(cod_bar, ascii_char(10)) from (select cod_bar from mercadorias where cod_red <= 20 order by "
        "cod_red)");
    std::string lista = existentes + "\n";
    for (long i = 0; i < 981; ++i) lista += std::to_string(2000000000000L + i) + "\n";
    ASSERT_EQ(std::count(lista.begin(), lista.end(), '\n'), 1001);
    Gravar(balcao.Pasta() + "/lista.lst", lista);
    Gravar(administrador.Pasta() + "/lista.lst", lista);

    auto [rc, saida] = balcao.Rodar({"lote", "--lista", balcao.Pasta() + "/lista.lst"});
    EXPECT_EQ(rc, 1) << saida;
    // The first line says it in Portuguese and names the table; the server's text follows for support.
    const std::string linha = saida.substr(0, saida.find('\n'));
    EXPECT_EQ(linha.rfind("O usuário do banco de dados não tem permissão de ", 0), 0u) << saida;
    EXPECT_NE(linha.find(" na tabela ETIQUETALISTA"), std::string::npos) << saida;
    EXPECT_EQ(linha.find("permission"), std::string::npos) << saida;

    // The program, as SYSDBA, gives the old table its grant.
    std::tie(rc, saida) = administrador.Rodar({"lote", "--lista", administrador.Pasta() + "/lista.lst"});
    ASSERT_EQ(rc, 0) << saida;
    const std::string linhas = Trim(saida);
    std::tie(rc, saida) = balcao.Rodar({"lote", "--lista", balcao.Pasta() + "/lista.lst"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Trim(saida), linhas);
    EXPECT_EQ(Banco().Texto("select count(*) from etiquetaread") + " linhas na fila, 0 etiquetas", linhas);
    EXPECT_EQ(Banco().Texto("select count(*) from rdb$user_privileges where rdb$user = 'PUBLIC' and "
                            "rdb$relation_name = 'ETIQUETALISTA' and rdb$privilege in ('S', 'I', 'U', 'D')"),
              "4");

    // The journal: made by the administrator's print, the user's print goes into it as well.
    Banco().Executar(
        "update etiquetaread set quantidade = 1 where codigo in (select first 3 codigo from etiquetaread order by "
        "codigo)");
    for (TEstacao* e : {&administrador, &balcao}) {
        std::tie(rc, saida) = e->Rodar({"imprimir", "--modelo", "11", "--sem-pausa"});
        ASSERT_EQ(rc, 0) << saida;
        EXPECT_EQ(saida.find("Diário de impressões desligado"), std::string::npos) << saida;
    }
    EXPECT_EQ(Banco().Texto("select list(situacao || ' ' || entregues, ',') from (select situacao, entregues from "
                            "diario_impressao order by id)"),
              "INTEIRA 3,INTEIRA 3");
    EXPECT_EQ(Banco().Texto("select list(s, ',') from (select sum(entregues) s from diario_impressao_item group by "
                            "diario order by diario)"),
              "3,3");
    EXPECT_EQ(Banco().Texto("select trim(rdb$owner_name) from rdb$relations where rdb$relation_name = "
                            "'DIARIO_IMPRESSAO'"),
              "SYSDBA");
}

TEST_F(Estacoes, ServidorMortoNoMeioDoLoteNadaFicaPelaMetade) {
    CriarLoja(20000);
    TEstacao estacao(caminho_, "estacao");
    auto [rc, saida] = estacao.Rodar({"lote", "--codigo", "1", "5"});
    ASSERT_EQ(rc, 0) << saida;
    const std::string filaAntes =
        Banco().Texto("select list(codigo, ',') from (select codigo from etiquetaread order by codigo)");

    auto lote = estacao.Iniciar({"lote"});
    // Killed once the batch is writing: its transaction then holds new queue rows.
    EsperarInsercoes(*lote, 1000);
    ASSERT_FALSE(lote->Esperar(0)) << "o lote terminou antes da queda\n" << lote->Saida();
    banco_.reset();
    Servidor().Matar();
    const auto inicio = std::chrono::steady_clock::now();
    ASSERT_TRUE(lote->Esperar(15)) << "etiquetas-cli ficou esperando o servidor morto\n" << lote->Saida();
    EXPECT_LT(Segundos(inicio), 10.0);
    EXPECT_NE(lote->Status(), 0);
    EXPECT_NE(lote->Saida().find("\"" + caminho_ + "\""), std::string::npos) << lote->Saida();
    EXPECT_NE(lote->Saida().find("as alterações não gravadas foram perdidas"), std::string::npos) << lote->Saida();

    Servidor().Iniciar();
    ASSERT_TRUE(Servidor().Disponivel()) << Servidor().Motivo();
    EXPECT_EQ(Banco().Texto("select list(codigo, ',') from (select codigo from etiquetaread order by codigo)"),
              filaAntes);

    std::tie(rc, saida) = estacao.Rodar({"lote", "--codigo", "10", "12"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Banco().Texto("select list(codigo, ',') from (select codigo from etiquetaread order by codigo)"),
              "10,11,12");
}

// Where the server stops answering: in the middle of a batch's inserts, or
// in the middle of a print (after its first label row reached the printer).
struct CasoCalado {
    const char* nome;
    bool imprimir;
};

class ServidorCaladoNoMeio : public Estacoes, public ::testing::WithParamInterface<CasoCalado> {};

TEST_P(ServidorCaladoNoMeio, AbandonaNoLimiteDizPorQueENadaMudaNaFila) {
    constexpr int kLimite = 3;  // seconds of silence, instead of 30
    // The print reads its goods 200 queue rows at a time: a long queue keeps
    // it asking the server while it prints.
    CriarLoja(20000);
    TEstacao estacao(caminho_, "estacao");
    auto [rc, saida] = estacao.Rodar({"lote", "--codigo", "1", GetParam().imprimir ? "20000" : "20"});
    ASSERT_EQ(rc, 0) << saida;
    Banco().Executar("update etiquetaread set quantidade = 1");
    const std::string fila =
        "select list(codigo || ':' || quantidade, ',') from (select codigo, quantidade from etiquetaread order by "
        "codigo)";
    const std::string filaAntes = Banco().Texto(fila);

    const std::vector<std::string> ambiente = {"ETIQ_SEGUNDOS_SEM_RESPOSTA=" + std::to_string(kLimite)};
    auto cli = GetParam().imprimir ? estacao.Iniciar({"imprimir", "--modelo", "11", "--sem-pausa"}, ambiente)
                                   : estacao.Iniciar({"lote"}, ambiente);
    if (GetParam().imprimir) {
        // The first label rows are on paper; a later one waits for its goods.
        for (int i = 0;
             i < 3000 && !cli->Esperar(0) && !(fs::exists(estacao.Saida()) && fs::file_size(estacao.Saida()) > 0); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } else {
        EsperarInsercoes(*cli, 1000);
    }
    ASSERT_FALSE(cli->Esperar(0)) << "terminou antes de o servidor parar\n" << cli->Saida();
    Servidor().Congelar();
    const auto inicio = std::chrono::steady_clock::now();
    const bool terminou = cli->Esperar(kLimite + 12);
    const double s = Segundos(inicio);
    Servidor().Descongelar();
    ASSERT_TRUE(terminou) << "etiquetas-cli ficou esperando o servidor parado\n" << cli->Saida();
    EXPECT_LT(s, kLimite + 2.0) << cli->Saida();
    EXPECT_EQ(cli->Status(), 1) << cli->Saida();
    const std::string servidor = "O servidor 127.0.0.1 (porta " + std::to_string(Servidor().Porta()) + ")";
    // Said while waiting, then when abandoning.
    EXPECT_NE(cli->Saida().find(servidor + " não responde há "), std::string::npos) << cli->Saida();
    const bool abandonada = cli->Saida().find(servidor + " do banco de dados \"" + caminho_ + "\" não responde há " +
                                              std::to_string(kLimite) +
                                              " s; a operação foi abandonada e nada foi gravado.") != std::string::npos;
    // A print has two connections reading at once: the one that was not waiting
    // when the server fell silent may be the first to report the cut link.
    const bool perdida = GetParam().imprimir && cli->Saida().find("A conexão com o banco de dados \"" + caminho_ +
                                                                  "\" foi perdida.") != std::string::npos;
    EXPECT_TRUE(abandonada || perdida) << cli->Saida();
    if (GetParam().imprimir) {
        EXPECT_NE(
            cli->Saida().find(" de " + Banco().Texto("select cast(sum(quantidade) as integer) from etiquetaread") +
                              " etiquetas já tinham sido enviadas à impressora."),
            std::string::npos)
            << cli->Saida();
    }

    // Awake again, the server dropped the abandoned work: the queue is as it was.
    EXPECT_EQ(Banco().Texto(fila), filaAntes);
}

INSTANTIATE_TEST_SUITE_P(Casos, ServidorCaladoNoMeio,
                         ::testing::Values(CasoCalado{"Lote", false}, CasoCalado{"Imprimir", true}),
                         [](const auto& i) { return std::string(i.param.nome); });

// A print cut by the silent server's limit leaves its run "EM CURSO" with the
// last progress it committed; awake again, `imprimir --continuar` takes it up:
// the labels of both streams, counted in whole print jobs, cover the queue,
// and only what the printer took after that progress is printed twice.
TEST_F(Estacoes, ImpressaoCortadaPeloServidorCaladoContinuaSemPerderEtiqueta) {
    constexpr int kLimite = 3;
    constexpr int kLinhas = 60;  // 30 s at the pace of a job each 0.5 s
    CriarLojaNoServidor(caminho_);
    // One label a row, every job the same length: jobs are counted by bytes.
    Banco().Executar("execute block as declare i integer = 100; begin while (i < " + std::to_string(100 + kLinhas) +
                     ") do begin insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN) values (:i, "
                     "'7890000000' || :i, 'ITEM ' || :i, 'R' || :i, 1.5); insert into ETIQUETAREAD (CODIGO, BARRAS, "
                     "NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) values (:i, '7890000000' || :i, 'ITEM ' "
                     "|| :i, 'ITEM', 1, 0, 1.5, ''); i = i + 1; end end");
    TEstacao estacao(caminho_, "calado", {{"MODELO", "PPLA"}, {"MODELO PRINT", "06 - PPLA 1 coluna"}});
    auto [rc, saida] = estacao.Rodar({"imprimir", "--sem-pausa"});
    ASSERT_EQ(rc, 0) << saida;
    const std::string inteiro = LerTudo(estacao.Saida());
    ASSERT_EQ(inteiro.size() % kLinhas, 0u);
    const size_t trabalho = inteiro.size() / kLinhas;
    // The reference print is not what is continued.
    Banco().Executar("delete from DIARIO_IMPRESSAO_ITEM");
    Banco().Executar("delete from DIARIO_IMPRESSAO");

    TImpressoraTeste primeira;
    ASSERT_TRUE(primeira.Ok());
    estacao.Configurar("PATH REDE", primeira.Endereco());
    auto cli = estacao.Iniciar({"imprimir"}, {"ETIQ_SEGUNDOS_SEM_RESPOSTA=" + std::to_string(kLimite)});
    auto primeiro = std::chrono::steady_clock::now();
    for (int i = 0; i < 3000 && !cli->Esperar(0) && primeira.Recebido().size() < 6 * trabalho; ++i) {
        if (primeira.Recebido().empty()) primeiro = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(cli->Esperar(0)) << "terminou antes de o servidor parar\n" << cli->Saida();
    const double segundos = Segundos(primeiro);
    Servidor().Congelar();
    const bool terminou = cli->Esperar(kLimite + 12);
    Servidor().Descongelar();
    primeira.Parar();
    ASSERT_TRUE(terminou) << "etiquetas-cli ficou esperando o servidor parado\n" << cli->Saida();
    EXPECT_EQ(cli->Status(), 1) << cli->Saida();
    const std::string recebido = primeira.Recebido();
    const size_t r1 = recebido.size() / trabalho;
    EXPECT_EQ(recebido.substr(0, r1 * trabalho), inteiro.substr(0, r1 * trabalho));

    // The run stays as the cut left it, its process gone.
    std::tie(rc, saida) = estacao.Rodar({"historico", "--ultimos", "1"});
    ASSERT_EQ(rc, 0) << saida;
    std::vector<std::string> campos;
    for (size_t i = 0, j = 0; j != std::string::npos; i = j + 1) {
        j = saida.find_first_of("\t\n", i);
        campos.push_back(saida.substr(i, j == std::string::npos ? j : j - i));
        if (j != std::string::npos && saida[j] == '\n') break;
    }
    ASSERT_GE(campos.size(), 10u) << saida;
    EXPECT_EQ(campos[9], "EM CURSO") << saida;
    const int64_t e = std::stoll(campos[8]);
    EXPECT_EQ(campos[8], std::to_string(e) + " de " + std::to_string(kLinhas));

    TImpressoraTeste boa;
    ASSERT_TRUE(boa.Ok());
    estacao.Configurar("PATH REDE", boa.Endereco());
    std::tie(rc, saida) = estacao.Rodar({"imprimir", "--sem-pausa", "--continuar"});
    boa.Parar();
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(saida, std::to_string(kLinhas - e) + " etiquetas enviadas (modelo 06)\n");
    EXPECT_EQ(boa.Recebido(), inteiro.substr(static_cast<size_t>(e) * trabalho));
    // Not one label lost; twice only what went after the last progress (about a second).
    EXPECT_GE(static_cast<int64_t>(r1), e);
    const double porSegundo = static_cast<double>(r1) / std::max(segundos, 0.001);
    EXPECT_LE(static_cast<double>(r1) - static_cast<double>(e), std::ceil(porSegundo * 1.5) + 3)
        << r1 << " jobs taken, " << e << " in the journal, " << porSegundo << " a second";
}

}  // namespace

// What each label said is kept in the shop database: one workstation prints,
// the other finds the stale labels, batches and prints them; two printing the
// same goods at once both keep their journal whole.
TEST_F(Estacoes, EtiquetasDesatualizadasEntreDuasEstacoes) {
    CriarLoja(100);
    TEstacao caixa(caminho_, "caixa");
    TEstacao balcao(caminho_, "balcao");
    const std::string ativas = "select count(*) from mercadorias where cod_red between 1 and 20 and pro_ativo = 'T'";
    auto [rc, saida] = caixa.Rodar({"lote", "--codigo", "1", "20"});
    ASSERT_EQ(rc, 0) << saida;
    Banco().Executar("update etiquetaread set quantidade = 2");
    // Both at once over the same queue: neither journal is switched off.
    auto um = caixa.Iniciar({"imprimir", "--modelo", "11", "--sem-pausa"});
    auto outro = balcao.Iniciar({"imprimir", "--modelo", "11", "--sem-pausa"});
    ASSERT_TRUE(um->Esperar(120)) << um->Saida();
    ASSERT_TRUE(outro->Esperar(120)) << outro->Saida();
    for (TProcesso* p : {um.get(), outro.get()}) {
        EXPECT_EQ(p->Status(), 0) << p->Saida();
        EXPECT_EQ(p->Saida().find("Diário de impressões"), std::string::npos) << p->Saida();
    }
    EXPECT_EQ(Banco().Texto("select count(*) from etiqueta_atual"), Banco().Texto(ativas));
    std::tie(rc, saida) = balcao.Rodar({"desatualizadas", "--contar"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Trim(saida), "0");

    const std::string codigo =
        Banco().Texto("select first 1 cod_red from mercadorias where cod_red <= 20 and pro_ativo = 'T'");
    Banco().Executar("update mercadorias set vlr_ven = coalesce(vlr_ven, 0) + 1 where cod_red = " + codigo);
    std::tie(rc, saida) = balcao.Rodar({"desatualizadas"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(saida.rfind(codigo + "\t", 0), 0U) << saida;
    EXPECT_EQ(std::count(saida.begin(), saida.end(), '\n'), 1) << saida;
    std::tie(rc, saida) = balcao.Rodar({"lote", "--desatualizadas"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Trim(saida), "1 linha na fila, 2 etiquetas");
    EXPECT_EQ(Banco().Texto("select codigo || '=' || cast(quantidade as integer) from etiquetaread"), codigo + "=2");
    std::tie(rc, saida) = balcao.Rodar({"imprimir", "--modelo", "11", "--sem-pausa"});
    ASSERT_EQ(rc, 0) << saida;
    std::tie(rc, saida) = caixa.Rodar({"desatualizadas", "--contar"});
    ASSERT_EQ(rc, 0) << saida;
    EXPECT_EQ(Trim(saida), "0");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-estacoes");
}
