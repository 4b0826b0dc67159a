// bench_goods_lote [mercadorias]: a demo shop of N goods (100,000 by default),
// then a label batch with the goods window's default options, and again with
// variants on; after each, the same queue rows written by INSERTFILE alone
// (one commit), so the batch's own cost per goods row shows.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/demo/LojaDemo.h"
#include "data/udtmAplicativo.h"
#include "goods/LoteEtiquetas.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

// The queue as the batch left it, as INSERTFILE pairs.
std::vector<std::vector<std::string>> LinhasDaFila(TdtmAplicativo& dtm) {
    std::vector<std::vector<std::string>> r;
    fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
    q.Add("select codigo, barras, nome, so_nome, estoque, vlr_ven, nro_lote from etiquetaread");
    q.Open();
    for (; !q.Eof(); q.Next()) {
        std::vector<std::string> p = {
            "CODIGO",  q.FieldByName("CODIGO").AsString(),  "BARRAS",  q.FieldByName("BARRAS").AsString(),
            "NOME",    q.FieldByName("NOME").AsString(),    "So_NOME", q.FieldByName("SO_NOME").AsString(),
            "Estoque", q.FieldByName("ESTOQUE").AsString(), "VLR_VEN", q.FieldByName("VLR_VEN").AsString()};
        if (!q.FieldByName("NRO_LOTE").IsNull()) {
            p.push_back("nro_lote");
            p.push_back(q.FieldByName("NRO_LOTE").AsString());
        }
        p.push_back("QUANTIDADE");
        p.push_back("0");
        r.push_back(std::move(p));
    }
    q.Close();
    return r;
}

struct Medida {
    size_t linhas = 0;
    double lote = 0, inserts = 0;
};

Medida Medir(TdtmAplicativo& dtm, bool grades) {
    Medida m;
    dtm.dtmConectBancoMrg(false);  // a fresh snapshot, as each "Etiquetas" action has
    TSelecaoMercadorias sel(dtm);
    sel.ProcessarGrades = grades;
    auto t0 = Relogio::now();
    m.linhas = sel.MontarLote();
    m.lote = Segundos(t0);

    const auto linhas = LinhasDaFila(dtm);
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    dtm.dtmCommit();
    t0 = Relogio::now();
    for (const auto& p : linhas) dtm.INSERTFILE("EtiquetaRead", p);
    dtm.dtmCommit();
    m.inserts = Segundos(t0);
    return m;
}

void Mostrar(const char* nome, const Medida& m) {
    std::printf("%-22s: %zu linhas; lote %.3f s (%.0f linhas/s); INSERTFILE sozinho %.3f s; razao %.2f\n", nome,
                m.linhas, m.lote, m.linhas / m.lote, m.inserts, m.lote / m.inserts);
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 100000;
    std::string molde = (fs::temp_directory_path() / "etiq-bench-lote-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    const std::string banco = pasta + "/loja.fdb";
    DefinirDiretorioSistema(pasta);
    GravarConfig({{"PATH MERKOR", banco}, {"MODELO PRINT", "01 - Argox 1 coluna"}});

    demo::TOpcoesLojaDemo demo;
    demo.caminho = banco;
    demo.mercadorias = n;
    auto t0 = Relogio::now();
    const demo::TResumoLojaDemo r = demo::CriarLojaDemo(demo);
    std::printf("loja demo             : %d mercadorias, %d grades em %.1f s\n", r.mercadorias, r.grades, Segundos(t0));

    {
        TdtmAplicativo dtm;
        dtm.SelectFile("1", "Gerador", "1=1");  // connect outside the timing
        Mostrar("opcoes padrao", Medir(dtm, false));
        Mostrar("com grades", Medir(dtm, true));
    }
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);
    return 0;
}
