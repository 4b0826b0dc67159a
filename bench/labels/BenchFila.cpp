// bench_labels_fila [linhas] [repeticoes]: a queue of N rows (one label each)
// printed with model 11 to a FILE: port with no pause between jobs, on an
// embedded database made from the built-in schema. Reports the time from the
// start of the print to the first job written, the whole queue in rows per
// second, the same walk with the goods served from memory, and a plain
// prepared select of the same goods rows, one execution per row.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/fb/EsquemaLoja.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;

namespace {

double Ms(Relogio::time_point desde, Relogio::time_point ate = Relogio::now()) {
    return std::chrono::duration<double, std::milli>(ate - desde).count();
}

void Preencher(TdtmAplicativo& dtm, int n) {
    fb::TQuery m(dtm.dtbAplicativo, dtm.ibtAplicativo);
    m.Add(
        "insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN, QTD_EST, APLICACAO) "
        "values (?, ?, ?, ?, ?, ?, ?)");
    fb::TQuery f(dtm.dtbAplicativo, dtm.ibtAplicativo);
    f.Add(
        "insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) "
        "values (?, ?, ?, ?, 1, 0, ?, ?)");
    for (int i = 1; i <= n; ++i) {
        const std::string barras = i % 3 ? "789" + ZerosEsquerda(1000000000 + i, 10) : std::to_string(i);
        const std::string nome = "CAMISA POLO MANGA CURTA AZUL " + std::to_string(i);
        const Decimal preco = Decimal::DeUnidades(1990 + i, 2);
        m.ParamInteiro(0, i);
        m.ParamTexto(1, barras);
        m.ParamTexto(2, nome);
        m.ParamTexto(3, "REF-" + std::to_string(i));
        m.ParamDecimal(4, preco);
        m.ParamDecimal(5, Decimal(5));
        m.ParamTexto(6, "VESTUARIO");
        m.ExecSQL();
        f.ParamInteiro(0, i);
        f.ParamTexto(1, barras);
        f.ParamTexto(2, nome);
        f.ParamTexto(3, nome);
        f.ParamDecimal(4, preco);
        f.ParamTexto(5, i % 4 ? "" : "AZUL P");
        f.ExecSQL();
    }
    dtm.dtmCommit();
}

struct Medida {
    double primeiroMs = 0, totalMs = 0;
};

Medida Imprimir(TImpressaoEtiquetas& imp) {
    const auto t0 = Relogio::now();
    Relogio::time_point primeiro{};
    imp.AoProgresso = [&](int64_t, int64_t) {
        if (primeiro == Relogio::time_point{}) primeiro = Relogio::now();
        return true;
    };
    imp.ImprimeEtiquetasPreConfigurada();
    return {Ms(t0, primeiro), Ms(t0)};
}

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 1000;
    const int repeticoes = argc > 2 ? std::stoi(argv[2]) : 5;
    std::string molde = (fs::temp_directory_path() / "etiq-bench-XXXXXX").string();
    if (!mkdtemp(molde.data())) return 1;
    const std::string pasta = molde;
    const std::string banco = pasta + "/loja.fdb";
    const std::string saida = pasta + "/saida.prn";
    DefinirDiretorioSistema(pasta);
    GravarConfig({{"PATH MERKOR", banco},
                  {"PATH REDE", "FILE:" + saida},
                  {"MODELO", "PPLA"},
                  {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});
    {
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db);
    }

    std::vector<double> primeiro, total, memoria, selecao;
    uintmax_t bytes = 0;
    {
        TdtmAplicativo dtm;
        Preencher(dtm, n);
        TImpressaoEtiquetas imp(dtm);
        imp.PausaMs = 0;
        imp.tblEtiquetaRead.Open();  // the window opens the queue when it comes up

        for (int r = 0; r < repeticoes; ++r) {
            const Medida m = Imprimir(imp);
            primeiro.push_back(m.primeiroMs);
            total.push_back(m.totalMs);
        }
        bytes = fs::file_size(saida);

        auto busca = std::make_unique<TBuscaMercadoriasMemoria>();
        TBuscaMercadoriasBanco banco(imp.tblMercadorias);
        for (int i = 1; i <= n; ++i) banco.Buscar(std::to_string(i), busca->linhas[std::to_string(i)]);
        imp.BuscaMercadorias = std::move(busca);
        for (int r = 0; r < repeticoes; ++r) memoria.push_back(Imprimir(imp).totalMs);

        fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
        for (const auto& l : LinhasSelectMercadorias())
            if (!l.empty()) q.Add(l);
        q.Add("where cod_red=?");
        for (int r = 0; r < repeticoes; ++r) {
            const auto t0 = Relogio::now();
            q.Prepare();
            int64_t soma = 0;
            for (int i = 1; i <= n; ++i) {
                q.ParamInteiro(0, i);
                q.Open();
                soma += q.FieldByName("COD_RED").AsInteger() +
                        static_cast<int64_t>(q.FieldByName("NOM_MER").AsString().size());
                q.Close();
            }
            selecao.push_back(Ms(t0));
            if (soma == 0) std::printf("(nada lido)\n");
        }
    }
    DefinirDiretorioSistema("");
    fs::remove_all(pasta);

    const double t = Mediana(total), mem = Mediana(memoria), sel = Mediana(selecao);
    std::printf("fila de %d linhas, modelo 11, sem pausa, porta FILE: (%ju bytes por impressão), mediana de %d\n", n,
                bytes, repeticoes);
    std::printf("  primeiro trabalho gravado:          %8.1f ms  (na primeira impressão: %.1f ms)\n", Mediana(primeiro),
                primeiro.front());
    std::printf("  fila inteira:                       %8.1f ms  %9.0f linhas/s\n", t, n * 1000.0 / t);
    std::printf("  fila inteira, mercadorias em memória:%7.1f ms  %9.0f linhas/s\n", mem, n * 1000.0 / mem);
    std::printf("  select preparado, uma execução por linha: %5.1f ms  %9.0f linhas/s\n", sel, n * 1000.0 / sel);
    return 0;
}
