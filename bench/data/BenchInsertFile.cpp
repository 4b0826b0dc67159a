// bench_data_insertfile [linhas]: INSERTFILE into ETIQUETAREAD N times and one
// dtmCommit, on an embedded database made from the built-in schema, beside one
// prepared parameterised insert executed N times in the same run.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/fb/EsquemaLoja.h"
#include "data/udtmAplicativo.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

std::vector<std::string> Pares(int i) {
    std::string nome = "CAMISA POLO, AZUL " + std::to_string(i);
    return {"CODIGO",     std::to_string(i),
            "BARRAS",     "789" + std::to_string(1000000 + i),
            "NOME",       nome,
            "So_NOME",    nome,
            "Estoque",    "12,5",
            "VLR_VEN",    "39.9",
            "QUANTIDADE", "0"};
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 10000;
    std::string molde = (fs::temp_directory_path() / "etiq-bench-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    const std::string banco = pasta + "/loja.fdb";
    DefinirDiretorioSistema(pasta);
    GravarConfig("PATH MERKOR", banco);
    {
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db);
    }

    double texto = 0, preparado = 0;
    {
        TdtmAplicativo dtm;
        dtm.SelectFile("1", "Gerador", "1=1");  // connect outside the timing
        auto t0 = Relogio::now();
        for (int i = 0; i < n; ++i) dtm.INSERTFILE("EtiquetaRead", Pares(i));
        if (!dtm.dtmCommit()) return 1;
        texto = Segundos(t0);

        dtm.DeleteRegistro("EtiquetaRead", "1=1");
        dtm.dtmCommit();

        fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
        q.Add(
            "Insert into EtiquetaRead ( CODIGO,BARRAS,NOME,So_NOME,Estoque,VLR_VEN,QUANTIDADE ) Values ( ?,?,?,?,?,?,? "
            ")");
        t0 = Relogio::now();
        q.Prepare();
        for (int i = 0; i < n; ++i) {
            std::vector<std::string> p = Pares(i);
            q.ParamInteiro(0, i);
            q.ParamTexto(1, p[3]);
            q.ParamTexto(2, p[5]);
            q.ParamTexto(3, p[7]);
            q.ParamDecimal(4, Decimal::DeTexto(p[9]));
            q.ParamDecimal(5, Decimal::DeTexto(p[11]));
            q.ParamDecimal(6, Decimal(0));
            q.ExecSQL();
        }
        if (!dtm.dtmCommit()) return 1;
        preparado = Segundos(t0);
    }
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);

    std::printf("INSERTFILE + dtmCommit : %d linhas em %.3f s = %.0f linhas/s\n", n, texto, n / texto);
    std::printf("insert preparado       : %d linhas em %.3f s = %.0f linhas/s\n", n, preparado, n / preparado);
    std::printf("razao preparado/texto  : %.2f\n", texto / preparado);
    return 0;
}
