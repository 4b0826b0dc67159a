// A print cut by anything (a power cut played by SIGKILL, SIGTERM) is taken
// up by `imprimir --continuar`: the labels of both streams, counted in whole
// print jobs, cover the queue, and only what the printer took after the
// journal's last progress (about a second) is printed twice.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "FilaTeste.h"
#include "suporte/Caminhos.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/ProgramaCli.h"

extern char** environ;

namespace {

constexpr int kLinhas = 150;

class CmdRetomada : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        // One label a row, every print job the same length: jobs are counted by bytes.
        GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
        Executar("execute block as declare i integer = 100; begin while (i < " + std::to_string(100 + kLinhas) +
                 ") do begin insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN) values (:i, "
                 "'7890000000' || :i, 'ITEM ' || :i, 'R' || :i, 1.5); insert into ETIQUETAREAD (CODIGO, BARRAS, "
                 "NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) values (:i, '7890000000' || :i, 'ITEM ' || "
                 ":i, 'ITEM', 1, 0, 1.5, ''); i = i + 1; end end");
        FecharOutro();
        ASSERT_EQ(cli_.Rodar("imprimir --sem-pausa").codigo, 0);
        inteiro_ = Saida();
        ASSERT_EQ(inteiro_.size() % kLinhas, 0u);
        trabalho_ = inteiro_.size() / kLinhas;
        // The reference print is not what the tests continue.
        Executar("delete from DIARIO_IMPRESSAO_ITEM");
        Executar("delete from DIARIO_IMPRESSAO");
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar(argumentos);
    }
    // etiquetas-cli started without waiting for it, its output in files.
    pid_t Lancar(const std::vector<std::string>& argumentos) {
        FecharOutro();
        posix_spawn_file_actions_t acoes;
        posix_spawn_file_actions_init(&acoes);
        posix_spawn_file_actions_addopen(&acoes, 1, (pasta_ + "/lancado.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&acoes, 2, (pasta_ + "/lancado.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<char*> argv{const_cast<char*>(cli_.programa.c_str())};
        for (const auto& a : argumentos) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawn(&pid, cli_.programa.c_str(), &acoes, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&acoes);
        return pid;
    }
    // The last run of historico: its fields.
    std::vector<std::string> UltimaExecucao() {
        const TResultadoCli r = Rodar("historico --ultimos 1");
        EXPECT_EQ(r.codigo, 0) << r.erro;
        const auto linhas = LinhasDoTexto(r.saida);
        return linhas.empty() ? std::vector<std::string>{} : CamposTabulados(linhas.front());
    }
    static int64_t Entregues(const std::string& campo) { return std::stoll(campo.substr(0, campo.find(' '))); }

    // Cuts a print with `sinal` once `cortar` says so, then continues it to a
    // good printer and checks both streams against the whole one.
    struct TCorte {
        const char* nome;
        int sinal;
        bool semPausa;
        std::function<bool(size_t trabalhos, size_t bytes)> cortar;
    };
    void CortarEContinuar(const TCorte& c) {
        SCOPED_TRACE(c.nome);
        Executar("delete from DIARIO_IMPRESSAO_ITEM");
        Executar("delete from DIARIO_IMPRESSAO");
        Executar("delete from ETIQUETA_ATUAL");
        // A printer that takes a job every 10 ms: the cut falls where the test wants it.
        TImpressoraTeste lenta(
            {.lerPorVez = static_cast<int>(trabalho_), .pausaLeituraMs = 10, .bufferRecepcao = 4096});
        ASSERT_TRUE(lenta.Ok());
        GravarConfig("PATH REDE", lenta.Endereco());
        std::vector<std::string> args{"imprimir"};
        if (c.semPausa) args.push_back("--sem-pausa");
        const pid_t pid = Lancar(args);
        ASSERT_GT(pid, 0);
        const auto inicio = std::chrono::steady_clock::now();
        auto primeiro = inicio;
        bool cortou = false;
        int estado = 0;
        while (waitpid(pid, &estado, WNOHANG) == 0) {
            const size_t bytes = lenta.Recebido().size();
            const size_t trabalhos = bytes / trabalho_;
            if (trabalhos == 0) primeiro = std::chrono::steady_clock::now();
            if (c.cortar(trabalhos, bytes)) {
                ::kill(pid, c.sinal);
                cortou = true;
                waitpid(pid, &estado, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - primeiro).count();
        lenta.Parar();
        ASSERT_TRUE(cortou) << "the print ended before the cut: " << LerTudo(pasta_ + "/lancado.err");
        const std::string primeira = lenta.Recebido();
        const size_t r1 = primeira.size() / trabalho_;
        EXPECT_EQ(primeira.substr(0, r1 * trabalho_), inteiro_.substr(0, r1 * trabalho_));

        const auto run = UltimaExecucao();
        ASSERT_GE(run.size(), 10u) << "no run in the journal";
        EXPECT_TRUE(run[9] == "EM CURSO" || run[9] == "CANCELADA") << run[9];
        const int64_t e = Entregues(run[8]);
        EXPECT_EQ(run[8], std::to_string(e) + " de " + std::to_string(kLinhas));
        // Labelled are at most the goods the journal says were delivered: one label a row.
        EXPECT_LE(Contar("ETIQUETA_ATUAL"), e);

        TImpressoraTeste boa;
        ASSERT_TRUE(boa.Ok());
        GravarConfig("PATH REDE", boa.Endereco());
        const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
        boa.Parar();
        ASSERT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, std::to_string(kLinhas - e) + " etiquetas enviadas (modelo 06)\n");
        // The continuation is the whole stream from the first label the journal did not count.
        EXPECT_EQ(boa.Recebido(), inteiro_.substr(static_cast<size_t>(e) * trabalho_));
        // Not one label lost; printed twice only what went after the last progress.
        EXPECT_GE(static_cast<int64_t>(r1), e);
        const double porSegundo = static_cast<double>(r1) / std::max(segundos, 0.001);
        EXPECT_LE(static_cast<double>(r1) - static_cast<double>(e), std::ceil(porSegundo * 1.5) + 3)
            << r1 << " jobs taken, " << e << " in the journal, " << porSegundo << " a second";
        // The continuation ended the chain: nothing more to continue.
        EXPECT_NE(Rodar("imprimir --sem-pausa --continuar").erro.find("terminou inteira: nada a continuar"),
                  std::string::npos);
    }

    TProgramaCli cli_;
    std::string inteiro_;
    size_t trabalho_ = 0;
};

TEST_F(CmdRetomada, CortadaPorSigkillOuSigtermContinuaSemPerderEtiqueta) {
    const TCorte casos[] = {
        // At the first byte of the first job: the run was written before it, no progress yet.
        {"SIGKILL no primeiro trabalho", SIGKILL, false, [](size_t, size_t bytes) { return bytes > 0; }},
        {"SIGKILL após 3 trabalhos", SIGKILL, false, [](size_t t, size_t) { return t >= 3; }},
        // Past the first block of journal rows, which the next progress commits.
        {"SIGKILL no primeiro bloco do diário", SIGKILL, true, [](size_t t, size_t) { return t >= 105; }},
        {"SIGKILL no meio", SIGKILL, true, [](size_t t, size_t) { return t >= kLinhas / 2; }},
        {"SIGTERM no meio", SIGTERM, true, [](size_t t, size_t) { return t >= kLinhas / 2; }},
    };
    for (const auto& c : casos) CortarEContinuar(c);
}

}  // namespace
