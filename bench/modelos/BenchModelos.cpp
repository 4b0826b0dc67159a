// Labels per second of the queue walk on models 11, 19, 45 and 58, with the
// goods looked up in memory and no port behind the component, beside the
// same drawing calls made straight on the driver. 10,000 labels per model
// (1,000 queue rows of 10 labels), best of three runs, one thread.
// Run: bench_modelos [labels per row of the queue, default 10]
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/fb/EsquemaLoja.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/Modelos.h"

namespace {

constexpr int kLinhas = 1000;

std::string Codigo(int i) { return i % 2 ? "78912345" : "789" + ZerosEsquerda(1000000000 + i, 10); }
std::string Nome(int i) { return "CAMISA POLO MASCULINA " + std::to_string(i); }

double Melhor(const std::function<void()>& f) {
    double melhor = 1e30;
    for (int k = 0; k < 3; ++k) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        melhor = std::min(melhor, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return melhor;
}

// The calls of one label of each model, straight on the driver.
void Driver11(TCdbETQ& e, int x, int i) {
    const std::string c = Codigo(i);
    e.ImprimirTexto(orNormal, 3, 1, 1, 3, x + 15, "R$ 12,90");
    e.ImprimirTexto(orNormal, 2, 1, 1, 45, x + 15, "Ref: 000123-A");
    e.ImprimirBarras(orNormal, c.size() == 13 ? "F" : "E", "2", "2", 70, x + 20, c, 75, becSIM);
    e.ImprimirTexto(orNormal, 2, 1, 1, 145, x + 15, "");
    e.ImprimirTexto(orNormal, 2, 1, 1, 175, x + 15, Nome(i).substr(0, 22));
}
void Driver19(TCdbETQ& e, int, int i) {
    const std::string c = Codigo(i);
    e.ImprimirTexto(orNormal, 3, 1, 2, 190, 45, Nome(i));
    e.ImprimirTexto(orNormal, 2, 2, 2, 100, 450, "R$");
    e.ImprimirTexto(orNormal, 3, 2, 3, 40, 520, "12,90");
    e.ImprimirCaixa(30, 510, 360, 130, 6, 6, 0);
    e.ImprimirBarras(orNormal, c.size() == 13 ? "F" : "E", "2", "2", 60, 120, c, 90, c.size() == 13 ? becSIM : becNAO);
    if (c.size() != 13) e.ImprimirTexto(orNormal, 2, 1, 2, 5, 150, c);
}
void Driver45(TCdbETQ& e, int x, int i) {
    const std::string c = Codigo(i);
    e.ImprimirBarras(orNormal, c.size() == 13 ? "F" : "E", "2", "2", 160, x + 40, c, 80, becSIM);
    e.ImprimirTexto(orNormal, 2, 1, 1, 120, x + 20, Nome(i).substr(0, 22));
    e.ImprimirTexto(orNormal, 2, 1, 1, 90, x + 20, "");
    e.ImprimirTexto(orNormal, 5, 1, 1, 10, x + 30, "R$ 12,90");
}
void Driver58(TCdbETQ& e, int x, int i) {
    const std::string c = Codigo(i);
    e.ImprimirTexto(orNormal, 1, 1, 1, 5, x + 50, "R$");
    e.ImprimirTexto(orNormal, 2, 1, 1, 5, x + 75, "12,90");
    e.ImprimirTexto(orNormal, c.size() == 13 ? 1 : 2, 1, 1, 5, x + 180, c);
    e.ImprimirBarras(orNormal, c.size() == 13 ? "E30" : "1", "2", "2", 30, x + 50, c, 45, becNAO);
    e.ImprimirTexto(orNormal, 2, 1, 1, 90, x + 50, Nome(i).substr(0, 18));
}

void SoDriver(TCdbETQ& e, int porLinha, int passo, int etiquetasPorLinhaDaFila, void (*etiqueta)(TCdbETQ&, int, int)) {
    int coluna = 1;
    for (int i = 0; i < kLinhas; ++i)
        for (int k = 0; k < etiquetasPorLinhaDaFila; ++k) {
            if (coluna == 1) e.IniciarEtiqueta();
            etiqueta(e, (coluna - 1) * passo, i);
            if (coluna == porLinha) {
                e.Imprimir(1, 0);
                coluna = 1;
            } else {
                ++coluna;
            }
        }
    if (coluna != 1) e.Imprimir(1, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const int porLinhaDaFila = argc > 1 ? std::atoi(argv[1]) : 10;
    const int total = kLinhas * porLinhaDaFila;
    setenv("LC_ALL", "C", 1);

    char molde[] = "/tmp/bench-modelos-XXXXXX";
    const std::string pasta = mkdtemp(molde);
    const std::string banco = pasta + "/loja.fdb";
    {
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        db.CriarBanco();
        fb::CriarEsquemaLoja(db);
        fb::TTransaction tr(db, ParametrosTransacao());
        fb::TQuery q(db, tr);
        q.Add(
            "insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) "
            "values (?, ?, ?, ?, ?, 0, 12.9, '')");
        for (int i = 0; i < kLinhas; ++i) {
            q.ParamInteiro(0, i + 1);
            q.ParamTexto(1, Codigo(i));
            q.ParamTexto(2, Nome(i));
            q.ParamTexto(3, Nome(i));
            q.ParamInteiro(4, porLinhaDaFila);
            q.ExecSQL();
        }
        tr.Commit();
    }
    DefinirDiretorioSistema(pasta);
    GravarConfig("PATH MERKOR", banco);

    auto busca = std::make_unique<TBuscaMercadoriasMemoria>();
    for (int i = 0; i < kLinhas; ++i) {
        TMercadoria m;
        m.COD_RED = i + 1;
        m.COD_BAR = Codigo(i);
        m.NOM_MER = Nome(i);
        m.REF_MER = "000123-A";
        m.UNI_MER = "UNID";
        m.VLR_VEN = Decimal::DeTexto("12.9");
        busca->linhas[std::to_string(i + 1)] = m;
    }

    TdtmAplicativo dtm;
    TImpressaoEtiquetas imp(dtm);
    imp.PausaMs = 0;
    imp.BuscaMercadorias = std::move(busca);
    imp.tblEtiquetaRead.Open();
    imp.tblEtiquetaRead.SetFiltro("quantidade>0");
    imp.tblEtiquetaRead.SetFiltrado(true);

    struct Caso {
        int numero;
        TCdbETQModelo linguagem;
        std::function<void()> percurso;
        int porLinha, passo;
        void (*etiqueta)(TCdbETQ&, int, int);
    };
    const Caso casos[] = {
        {11, etqPpla, [&] { Etiq_Modelo_11(imp); }, 3, 360, Driver11},
        {19, etqPpla, [&] { Etiq_Modelo_19(imp, 19); }, 1, 0, Driver19},
        {45, etqPpla, [&] { Etiq_Modelo_45(imp, "cod_nome_valor"); }, 3, 350, Driver45},
        {58, etqZPLII, [&] { Etiq_Modelo_58(imp); }, 3, 325, Driver58},
    };
    std::printf("%d etiquetas por modelo (%d linhas da fila x %d)\n", total, kLinhas, porLinhaDaFila);
    std::printf("modelo  percurso (etiq/s)  so o driver (etiq/s)  razao\n");
    for (const Caso& c : casos) {
        imp.CdbETQ.Desativar();
        imp.CdbETQ.SetPorta("");  // active without a port: streams are built and handed to no channel
        imp.CdbETQ.SetModelo(c.linguagem);
        imp.CdbETQ.Ativar();
        const double tPercurso = Melhor(c.percurso);
        if (imp.EtiquetasEnviadas() != total)
            std::printf("  (enviadas %lld)\n", static_cast<long long>(imp.EtiquetasEnviadas()));
        const double tDriver = Melhor([&] { SoDriver(imp.CdbETQ, c.porLinha, c.passo, porLinhaDaFila, c.etiqueta); });
        std::printf("%6d  %17.0f  %20.0f  %5.2f\n", c.numero, total / tPercurso, total / tDriver, tPercurso / tDriver);
    }
    imp.CdbETQ.Desativar();
    DefinirDiretorioSistema("");
    std::filesystem::remove_all(pasta);
    return 0;
}
