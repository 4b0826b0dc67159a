// bench_diario_etiqueta [LINHAS] [REPETICOES]: what keeping what each label
// said costs a print. A queue of LINHAS rows (one label each) printed with
// model 11 to a FILE: port without pauses, on two embedded shop databases
// alike but for the journal: on one the journal keeps the label columns and
// its triggers fill ETIQUETA_ATUAL; on the other a DDL trigger refuses the
// columns, so the journal writes its rows as before them. Median of the runs.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/EtiquetaAtual.h"
#include "data/fb/EsquemaLoja.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

void Executar(TdtmAplicativo& dtm, const std::string& sql) {
    dtm.qryprocesso.Clear();
    dtm.qryprocesso.Add(sql);
    dtm.qryprocesso.ExecSQL();
    dtm.dtmCommit();
}

void Preencher(TdtmAplicativo& dtm, int n) {
    Executar(dtm, "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(n) +
                      ") DO BEGIN"
                      " INSERT INTO MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN, QTD_EST, PRO_ATIVO)"
                      " VALUES (:I, '789' || LPAD(:I, 10, '0'), 'CAMISA POLO MANGA CURTA AZUL ' || :I, 'REF-' || :I,"
                      " 19.90 + :I / 100.0, 5, 'T');"
                      " INSERT INTO ETIQUETAREAD (CODIGO, BARRAS, NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN)"
                      " VALUES (:I, '789' || LPAD(:I, 10, '0'), 'CAMISA POLO MANGA CURTA AZUL ' || :I,"
                      " 'CAMISA POLO MANGA CURTA AZUL ' || :I, 1, 5, 19.90 + :I / 100.0);"
                      " I = I + 1; END END");
}

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Medida {
    double ms = 0;
    bool colunas = false;
    int64_t etiquetasAtuais = 0;
};

Medida Medir(const std::string& pasta, const std::string& nome, bool semColunas, int n, int repeticoes) {
    const std::string banco = pasta + "/" + nome + ".fdb";
    GravarConfig({{"PATH MERKOR", banco}, {"PATH REDE", "FILE:" + pasta + "/" + nome + ".prn"}});
    {
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db);
    }
    Medida m;
    std::vector<double> tempos;
    TdtmAplicativo dtm;
    Preencher(dtm, n);
    if (semColunas) {
        Executar(dtm, "CREATE EXCEPTION E_SEM_COLUNAS_ETIQUETA 'sem colunas de etiqueta'");
        Executar(dtm,
                 "CREATE TRIGGER SEM_COLUNAS_ETIQUETA ACTIVE BEFORE ALTER TABLE AS BEGIN"
                 " IF (RDB$GET_CONTEXT('DDL_TRIGGER', 'OBJECT_NAME') = 'DIARIO_IMPRESSAO_ITEM') THEN"
                 " EXCEPTION E_SEM_COLUNAS_ETIQUETA; END");
    }
    TImpressaoEtiquetas imp(dtm);
    imp.PausaMs = 0;
    imp.tblEtiquetaRead.Open();
    for (int r = 0; r <= repeticoes; ++r) {
        const auto t0 = Relogio::now();
        imp.ImprimeEtiquetasPreConfigurada();
        // The first print makes the journal's tables: not counted.
        if (r > 0) tempos.push_back(std::chrono::duration<double, std::milli>(Relogio::now() - t0).count());
        if (!imp.AvisoDiario().empty()) std::printf("  (%s: %s)\n", nome.c_str(), imp.AvisoDiario().c_str());
    }
    m.ms = Mediana(tempos);
    m.colunas = LerEsquemaEtiquetaAtual(dtm.dtbAplicativo).colunas;
    fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
    q.Add(m.colunas ? "select count(*) from ETIQUETA_ATUAL" : "select 0 from rdb$database");
    q.Open();
    m.etiquetasAtuais = q.FieldByName(q.NomesDosCampos().at(0)).AsInteger();
    q.Close();
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 2000;
    const int repeticoes = argc > 2 ? std::stoi(argv[2]) : 5;
    std::string molde = (fs::temp_directory_path() / "etiq-bench-diario-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    DefinirDiretorioSistema(pasta);
    GravarConfig({{"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});
    const Medida sem = Medir(pasta, "sem", true, n, repeticoes);
    const Medida com = Medir(pasta, "com", false, n, repeticoes);
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);
    std::printf("fila de %d linhas, modelo 11, sem pausa, porta FILE:, diário ligado, mediana de %d\n", n, repeticoes);
    std::printf("  diário sem as colunas da etiqueta: %8.1f ms (colunas: %s)\n", sem.ms, sem.colunas ? "sim" : "não");
    std::printf("  diário com as colunas da etiqueta: %8.1f ms (colunas: %s; %lld em ETIQUETA_ATUAL)\n", com.ms,
                com.colunas ? "sim" : "não", static_cast<long long>(com.etiquetasAtuais));
    std::printf("  acréscimo: %+.1f %%\n", (com.ms / sem.ms - 1) * 100);
    return 0;
}
