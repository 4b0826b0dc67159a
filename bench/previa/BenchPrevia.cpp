// Preview of 1,000 labels of model 11 (PPLA, three per row) to PNG files, as
// "etiquetas-cli visualizar" makes them: labels per second, and the time from
// the request to the first image. A demo shop in a temporary folder.
//   bench_previa [ETIQUETAS]
#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>

#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/AjustesBanco.h"
#include "data/demo/LojaDemo.h"
#include "data/fb/FbCliente.h"
#include "data/udtmAplicativo.h"
#include "labels/ImpressaoEtiquetas.h"
#include "previa/PreviaImpressao.h"

namespace fs = std::filesystem;
using relogio = std::chrono::steady_clock;

int main(int argc, char** argv) {
    const int etiquetas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    auto app = previa::GarantirAplicacaoGrafica();
    char molde[] = "/tmp/bench-previa-XXXXXX";
    const fs::path pasta = mkdtemp(molde);
    const std::string banco = (pasta / "loja.fdb").string();

    demo::TOpcoesLojaDemo o;
    o.caminho = banco;
    o.mercadorias = 120;
    demo::CriarLojaDemo(o);
    DefinirDiretorioSistema(pasta.string());
    GravarConfig({{"PATH MERKOR", banco},
                  {"PATH REDE", "FILE:" + (pasta / "nunca.prn").string()},
                  {"MODELO", "PPLA"},
                  {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});
    {
        // 100 goods, ten labels each (or as many as asked, spread over them).
        fb::TDatabase db;
        db.SetCaminho(banco);
        db.SetParametros(ParametrosConexao());
        fb::TTransaction tr(db, ParametrosTransacao());
        fb::TQuery q(db, tr);
        q.Add(
            "insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) "
            "select first 100 COD_RED, COD_BAR, substring(NOM_MER from 1 for 60), " +
            std::to_string(etiquetas / 100) + ", 0, VLR_VEN, '' from MERCADORIAS where COD_BAR is not null");
        q.ExecSQL();
        tr.Commit();
    }

    const fs::path png = pasta / "png";
    fs::create_directories(png);
    const auto inicio = relogio::now();
    relogio::time_point primeira{};
    {
        TdtmAplicativo dtm;
        Ajusta_BD(dtm);
        TImpressaoEtiquetas imp(dtm);
        imp.tblEtiquetaRead.Open();
        previa::TPreviaImpressao previa(imp);
        previa.AoImagem = [&](const QImage& img, int indice) {
            if (indice == 0) primeira = relogio::now();
            // What etiquetas-cli visualizar writes.
            return previa::GravarPng(img, (png / previa::NomeImagemPng(indice)).string());
        };
        const auto r = previa.Executar();
        const auto fim = relogio::now();
        const double total = std::chrono::duration<double>(fim - inicio).count();
        const double ms = std::chrono::duration<double, std::milli>(primeira - inicio).count();
        const long enviadas = static_cast<long>(imp.EtiquetasEnviadas());
        std::cout << "modelo 11: " << enviadas << " etiquetas em " << r.imagens << " imagens PNG, " << total << " s\n"
                  << "etiquetas/s: " << enviadas / total << "\n"
                  << "primeira imagem após o pedido: " << ms << " ms\n";
    }
    std::error_code ec;
    fs::remove_all(pasta, ec);
    return 0;
}
