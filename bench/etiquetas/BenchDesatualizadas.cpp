// bench_desatualizadas MERCADORIAS LINHAS [PORTA] [ATRASO_MS] [PASTA]: a demo shop of
// MERCADORIAS goods whose print journal holds LINHAS delivered label rows
// (written by the server, through the journal's triggers, as prints would),
// then 1 % of the prices changed. Measures the count of the main window's line
// and the batches "Somente com etiqueta desatualizada" and by department.
// Embedded by default; with PORTA, on the private server listening on
// 127.0.0.1:PORTA (bench/etiquetas/bench_desatualizadas.sh starts one), each
// measure also through the delaying relay at ATRASO_MS (20) a round trip
// (PORTA 0: embedded). With PASTA the shop is kept there (PASTA/loja.fdb) and
// a later run over the same PASTA measures it without building it again.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Retransmissor.h"
#include "common/ConfigEtq.h"
#include "data/EtiquetaAtual.h"
#include "data/demo/LojaDemo.h"
#include "data/udtmAplicativo.h"
#include "goods/EtiquetasDesatualizadas.h"
#include "goods/LoteEtiquetas.h"
#include "labels/DiarioImpressao.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

void Executar(TdtmAplicativo& dtm, const std::string& sql) {
    dtm.qryprocesso.Clear();
    dtm.qryprocesso.Add(sql);
    dtm.qryprocesso.ExecSQL();
    dtm.dtmCommit();
}

int64_t Numero(TdtmAplicativo& dtm, const std::string& sql) {
    fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
    q.Add(sql);
    q.Open();
    const int64_t n = q.FieldByName(q.NomesDosCampos().at(0)).AsInteger();
    q.Close();
    return n;
}

// The best of three: the machine is shared.
template <class F>
double Melhor(F&& f) {
    double melhor = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = Relogio::now();
        f();
        melhor = std::min(melhor, Segundos(t0));
    }
    return melhor;
}

struct Medida {
    std::string onde;
    int64_t contagem = 0;
    double contar = 0;
    size_t linhasDesatualizadas = 0, linhasDepartamento = 0, linhasAmbos = 0;
    double loteDesatualizadas = 0, loteDepartamento = 0, loteAmbos = 0;
};

Medida Medir(const std::string& caminho, const std::string& onde, long long departamento) {
    Medida m;
    m.onde = onde;
    GravarConfig("PATH MERKOR", caminho);
    TdtmAplicativo dtm;
    fb::TTransaction tr(dtm.dtbAplicativo, {"concurrency", "nowait", "read"});
    m.contar = Melhor([&] {
        // A fresh connection, as the main window's count makes.
        m.contagem = ContarDesatualizadasDaLoja();
    });
    auto lote = [&](bool desatualizadas, bool porDepartamento, size_t& linhas) {
        return Melhor([&] {
            TSelecaoMercadorias sel(dtm);
            sel.Opcoes.chkDesatualizada = desatualizadas;
            sel.Opcoes.chkDepartamento = porDepartamento;
            sel.Opcoes.edtDepartamento = departamento;
            linhas = sel.MontarLote();
        });
    };
    m.loteDepartamento = lote(false, true, m.linhasDepartamento);
    m.loteDesatualizadas = lote(true, false, m.linhasDesatualizadas);
    m.loteAmbos = lote(true, true, m.linhasAmbos);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "uso: bench_desatualizadas MERCADORIAS LINHAS [PORTA] [ATRASO_MS] [PASTA]\n");
        return 2;
    }
    const int mercadorias = std::stoi(argv[1]);
    const int64_t linhas = std::stoll(argv[2]);
    const int porta = argc > 3 ? std::stoi(argv[3]) : 0;
    const int atraso = argc > 4 ? std::stoi(argv[4]) : 20;
    const bool guardar = argc > 5;
    std::string pasta;
    if (guardar) {
        pasta = argv[5];
        fs::create_directories(pasta);
    } else {
        std::string molde = (fs::temp_directory_path() / "etiq-bench-desatualizadas-XXXXXX").string();
        if (!mkdtemp(molde.data())) return 1;
        pasta = molde;
    }
    const std::string arquivo = pasta + "/loja.fdb";
    fs::permissions(pasta, fs::perms::all);  // a server process writes the database here
    const std::string direto = porta ? "127.0.0.1/" + std::to_string(porta) + ":" + arquivo : arquivo;
    const std::string config = pasta + "/config";
    fs::create_directories(config);
    DefinirDiretorioSistema(config);
    GravarConfig({{"PATH MERKOR", direto}, {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});

    auto t0 = Relogio::now();
    if (!(guardar && fs::exists(pasta + "/loja"))) {
        demo::TOpcoesLojaDemo o;
        o.caminho = direto;
        o.mercadorias = mercadorias;
        demo::CriarLojaDemo(o);
        std::printf("loja de %d mercadorias em %.1f s\n", mercadorias, Segundos(t0));
        std::fflush(stdout);
        if (guardar) std::ofstream(pasta + "/loja") << mercadorias << "\n";
    }
    if (!(guardar && fs::exists(pasta + "/pronta"))) {
        TdtmAplicativo dtm;
        // The journal's tables, columns and triggers, as the first print makes them.
        TDiarioImpressao diario(dtm);
        if (!diario.Preparar()) {
            std::fprintf(stderr, "diário: %s\n", diario.Motivo().c_str());
            return 1;
        }
        t0 = Relogio::now();
        // Runs of 1,000 rows, the goods in a scattered order, each row with the
        // price its label showed; the server's triggers keep ETIQUETA_ATUAL.
        const int64_t porRun = 1000;
        for (int64_t feitas = 0; feitas < linhas; feitas += porRun * 50) {
            const int64_t ate = std::min(linhas, feitas + porRun * 50);
            Executar(dtm,
                     "EXECUTE BLOCK AS DECLARE I BIGINT = " + std::to_string(feitas) +
                         "; DECLARE D INTEGER; DECLARE C INTEGER; DECLARE V NUMERIC(18,3); BEGIN"
                         " WHILE (I < " +
                         std::to_string(ate) +
                         ") DO BEGIN"
                         "  IF (MOD(I, " +
                         std::to_string(porRun) +
                         ") = 0) THEN INSERT INTO DIARIO_IMPRESSAO (INICIO, FIM, ESTACAO, USUARIO, MODELO, LINGUAGEM,"
                         "   PORTA, A_ENVIAR, ENTREGUES, SITUACAO) VALUES (CURRENT_TIMESTAMP, CURRENT_TIMESTAMP,"
                         "   'CAIXA' || MOD(:I, 3), 'bench', 11, 'PPLA', 'NULL', 1000, 1000, 'INTEIRA') RETURNING ID "
                         "INTO :D;"
                         "  C = 1 + MOD(I * 7919, " +
                         std::to_string(mercadorias) +
                         ");"
                         "  SELECT VLR_VEN FROM MERCADORIAS WHERE COD_RED = :C INTO :V;"
                         "  INSERT INTO DIARIO_IMPRESSAO_ITEM (DIARIO, ORDEM, CODIGO, BARRAS, NRO_LOTE, NOME, QTD_FILA,"
                         "   QUANTIDADE, ENTREGUES, ETQ_MODELO, ETQ_VLR_VEN) VALUES (:D, MOD(:I, " +
                         std::to_string(porRun) +
                         ") + 1, :C, '', '', '', 1, 1, 1, 11, CAST(COALESCE(:V, 0) AS NUMERIC(18,2)));"
                         "  I = I + 1;"
                         " END END");
            std::fprintf(stderr, "\rdiário: %lld/%lld", static_cast<long long>(ate), static_cast<long long>(linhas));
        }
        std::fprintf(stderr, "\n");
        std::printf("diário de %lld linhas em %.1f s; %lld mercadorias com etiqueta\n", static_cast<long long>(linhas),
                    Segundos(t0), static_cast<long long>(Numero(dtm, "select count(*) from ETIQUETA_ATUAL")));
        // 1 % of the prices change after the labels went out.
        Executar(dtm, "update MERCADORIAS set VLR_VEN = coalesce(VLR_VEN, 0) + 1 where mod(COD_RED, 100) = 7");
        Executar(dtm, "SET STATISTICS INDEX PK_MERCADORIAS");
        std::fflush(stdout);
        if (guardar) std::ofstream(pasta + "/pronta") << mercadorias << " " << linhas << "\n";
    }
    long long departamento = 0;
    {
        TdtmAplicativo dtm;
        // The department with the most goods.
        departamento = Numero(dtm,
                              "select first 1 DEP_MER from MERCADORIAS where DEP_MER is not null group by DEP_MER "
                              "order by count(*) desc");
        std::printf("%lld mercadorias, %lld linhas no diário, %lld com etiqueta\n",
                    static_cast<long long>(Numero(dtm, "select count(*) from MERCADORIAS")),
                    static_cast<long long>(Numero(dtm, "select count(*) from DIARIO_IMPRESSAO_ITEM")),
                    static_cast<long long>(Numero(dtm, "select count(*) from ETIQUETA_ATUAL")));
        std::fflush(stdout);
    }

    std::vector<Medida> medidas;
    medidas.push_back(Medir(direto, porta ? "servidor, 0 ms" : "embutido", departamento));
    std::unique_ptr<TRetransmissor> rede;
    if (porta) {
        rede = std::make_unique<TRetransmissor>(porta, std::chrono::microseconds(atraso * 500));
        medidas.push_back(Medir("127.0.0.1/" + std::to_string(rede->Porta()) + ":" + arquivo,
                                "servidor, " + std::to_string(atraso) + " ms", departamento));
    }
    DefinirDiretorioSistema("");
    if (!guardar) fs::remove_all(pasta);

    std::printf(
        "\n| onde | contagem (%s) | lote \"desatualizada\" | lote por departamento | departamento + desatualizada |\n"
        "|---|---|---|---|---|\n",
        "mercadorias");
    for (const Medida& m : medidas)
        std::printf("| %s | %.3f s (%lld) | %.2f s (%zu linhas) | %.2f s (%zu linhas) | %.2f s (%zu linhas) |\n",
                    m.onde.c_str(), m.contar, static_cast<long long>(m.contagem), m.loteDesatualizadas,
                    m.linhasDesatualizadas, m.loteDepartamento, m.linhasDepartamento, m.loteAmbos, m.linhasAmbos);
    return 0;
}
