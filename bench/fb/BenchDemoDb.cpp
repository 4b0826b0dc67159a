// demo-db throughput beside the raw rate of prepared single-row inserts into
// MERCADORIAS of the same kind of embedded database, measured in the same run.
//   bench_fb_demo [mercadorias=100000] [pasta=/tmp]
// BENCH_SO_DEMO=1 skips the raw measure (for profiling the generator alone).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "data/demo/LojaDemo.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Segundos(Relogio::time_point a) { return std::chrono::duration<double>(Relogio::now() - a).count(); }

const std::vector<std::string> kParametros{"user_name=SYSDBA", "password=pinewoods", "lc_ctype=WIN1252"};

// Rows per second of plain prepared inserts of full goods rows, one transaction.
double TaxaBruta(const std::string& caminho, int n) {
    fb::TDatabase db;
    auto p = kParametros;
    p.push_back("force_write=0");  // as demo-db loads
    db.SetParametros(p);
    db.SetCaminho(caminho);
    db.CriarBanco();
    fb::CriarEsquemaLoja(db);
    fb::TTransaction t(db, {"concurrency", "nowait"});
    fb::TQuery q(db, t);
    q.Add(
        "INSERT INTO MERCADORIAS (COD_RED, COD_BAR, NOM_MER, APE_CUP, REF_MER, DEP_MER, COD_FOR, UNI_MER, LOC_MER,"
        " QTD_EST, QTD_EST_2, QTD_MIN, QTD_EST_MAX, VLR_VEN, VLR_VEN_2, VLR_VEN_3, VLR_COM, VLR_CUS, CUSTO_OPE,"
        " LUCRO, LUCRO2, LUCRO3, VALORLETRAS, ICM_PROG, SIT_TRIB, CLAS_FISC, ALIQ_ICMS, DIF_ICM, COD_NCM,"
        " COD_TRI_ICM, COD_TRI_PC, COD_ANT, GARANTIA, APLICACAO, APLICACAO2, DATA_ULTCOM, DATA_ULTVEN, DATA_CAD,"
        " DATA_ALT, PRO_EST, PRO_ATIVO, TEM_GRADE, IPI_MER, PERC_FRE, ALIQ_MVA, VLR_VEN_M, QTD_INI_INV, COMISSAO,"
        " UNI_BAL, CAD_RECEITA)");
    std::string v = "VALUES (?";
    for (int i = 1; i < 50; ++i) v += ", ?";
    q.Add(v + ")");
    q.Prepare();
    const TDateTime dia = EncodeDate(2025, 1, 15);
    auto t0 = Relogio::now();
    for (int cod = 1; cod <= n; ++cod) {
        int i = 0;
        q.ParamInteiro(i++, cod);
        q.ParamTexto(i++, "789" + std::to_string(1000000000 + cod));
        q.ParamTexto(i++, "CAFÉ TORRADO E MOÍDO TRADICIONAL PILÃO 500G " + std::to_string(cod % 1000));
        q.ParamTexto(i++, "CAFÉ TORRADO PILÃO 500G");
        q.ParamTexto(i++, "REF-" + std::to_string(cod));
        q.ParamInteiro(i++, 1 + cod % 16);
        q.ParamInteiro(i++, 1 + cod % 22);
        q.ParamTexto(i++, "UN");
        q.ParamTexto(i++, "A01-P3");
        for (int k = 0; k < 13; ++k) q.ParamDecimal(i++, Decimal::DeUnidades(12990 + k + cod % 100, 3));
        q.ParamTexto(i++, "PRNAMB");
        q.ParamTexto(i++, "01");
        q.ParamTexto(i++, "000");
        q.ParamTexto(i++, "21A");
        q.ParamDecimal(i++, Decimal::DeUnidades(1800, 2));
        q.ParamDecimal(i++, Decimal::DeUnidades(0, 2));
        q.ParamInteiro(i++, 9012100);
        q.ParamInteiro(i++, 1);
        q.ParamInteiro(i++, 1);
        q.ParamNulo(i++);
        q.ParamInteiro(i++, 0);
        q.ParamTexto(i++, "000123");
        q.ParamNulo(i++);
        for (int k = 0; k < 4; ++k) q.ParamData(i++, dia - k);
        q.ParamTexto(i++, "T");
        q.ParamTexto(i++, "T");
        q.ParamTexto(i++, "F");
        for (int k = 0; k < 3; ++k) q.ParamDecimal(i++, Decimal::DeUnidades(0, 2));
        for (int k = 0; k < 3; ++k) q.ParamDecimal(i++, Decimal::DeUnidades(0, 3));
        q.ParamTexto(i++, "F");
        q.ParamTexto(i++, "F");
        q.ExecSQL();
    }
    t.Commit();
    return n / Segundos(t0);
}

}  // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? std::stoi(argv[1]) : 100000;
    fs::path pasta = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
    fs::path dir = pasta / ("bench-fb-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    int rc = 0;
    try {
        double bruta = getenv("BENCH_SO_DEMO") ? 1 : TaxaBruta((dir / "bruta.fdb").string(), n);

        demo::TOpcoesLojaDemo o;
        o.caminho = (dir / "demo.fdb").string();
        o.mercadorias = n;
        o.semente = 1;
        auto t0 = Relogio::now();
        auto r = demo::CriarLojaDemo(o);
        double s = Segundos(t0);
        double demo = n / s;
        std::printf("mercadorias: %d (grades %d, compras %d, itens %d)\n", n, r.grades, r.compras, r.itensCompra);
        std::printf("insercoes simples preparadas: %.0f linhas/s\n", bruta);
        std::printf("demo-db (tudo, do arquivo vazio ao banco pronto): %.2f s, %.0f mercadorias/s\n", s, demo);
        std::printf("razao bruta/demo: %.2fx\n", bruta / demo);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    fs::remove_all(dir);
    return rc;
}
