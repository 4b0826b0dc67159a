// Round trips of the label batch and of the print, counted by the delaying
// relay between the program and the server: a shop's database is often far
// away, so both must go in blocks, not one request (or three) per queue row.
#include <chrono>
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "Retransmissor.h"
#include "ServidorFb.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "data/udtmAplicativo.h"
#include "goods/LoteEtiquetas.h"
#include "labels/ImpressaoEtiquetas.h"
#include "suporte/Suporte.h"

namespace {

constexpr int kMercadorias = 1200;
// At most one request for every ten queue rows or labels: at 20 ms a round
// trip, a batch of 10,000 goods in 20 s and 1,000 labels in 2 s.
constexpr double kIdasPorLinha = 0.1;

class IdasEVoltas : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        static int n = 0;
        arquivo_ = Servidor().Pasta() + "/idas" + std::to_string(++n) + ".fdb";
        CriarLojaNoServidor(Servidor().Caminho(arquivo_));
        direta_ = std::make_unique<TConexao>(Servidor().Caminho(arquivo_));
        direta_->Executar("execute block as declare i integer = 1; begin while (i <= " + std::to_string(kMercadorias) +
                          ") do begin insert into mercadorias (cod_red, cod_bar, nom_mer, ref_mer, pro_ativo, qtd_est, "
                          "vlr_ven) values (:i, lpad(:i, 13, '789'), 'MERCADORIA ' || :i, 'R' || :i, 'T', mod(:i, 7), "
                          ":i * 1.25); i = i + 1; end end");
        rede_ = std::make_unique<TRetransmissor>(Servidor().Porta(), std::chrono::microseconds(0));
        pasta_ = std::make_unique<TPastaTemp>("etiq-idas");
        DefinirDiretorioSistema(pasta_->caminho.string());
        GravarConfig({{"PATH MERKOR", "127.0.0.1/" + std::to_string(rede_->Porta()) + ":" + arquivo_},
                      {"PATH REDE", "FILE:" + (pasta_->caminho / "saida.prn").string()},
                      {"MODELO", "PPLA"},
                      {"MODELO PRINT", "11 - PPLA 3 colunas 22x33"}});
    }
    void TearDown() override {
        DefinirDiretorioSistema("");
        pasta_.reset();
        rede_.reset();
        direta_.reset();
    }

    std::string arquivo_;
    std::unique_ptr<TConexao> direta_;
    std::unique_ptr<TRetransmissor> rede_;
    std::unique_ptr<TPastaTemp> pasta_;
};

TEST_F(IdasEVoltas, LoteEImpressaoPedemPoucoAoServidor) {
    TdtmAplicativo dtm;
    dtm.dtbAplicativo.Conectar();
    dtm.dtbAplicativoMrg.Conectar();

    TSelecaoMercadorias sel(dtm);
    rede_->Zerar();
    const size_t linhas = sel.MontarLote();
    const uint64_t idasLote = rede_->IdasEVoltas();
    ASSERT_EQ(linhas, static_cast<size_t>(kMercadorias));
    EXPECT_EQ(direta_->Texto("select count(*) from etiquetaread"), std::to_string(kMercadorias));
    EXPECT_LE(static_cast<double>(idasLote) / static_cast<double>(linhas), kIdasPorLinha)
        << idasLote << " idas e voltas";

    // Labels on every fourth row: the rows between cost nothing either.
    direta_->Executar("update etiquetaread set quantidade = 1 where mod(codigo, 4) = 0");
    const int64_t etiquetas = kMercadorias / 4;
    TImpressaoEtiquetas imp(dtm);
    imp.PausaMs = 0;
    imp.tblEtiquetaRead.Open();  // the queue window opens it when it comes up
    // The shop's first print also makes the journal's tables, once for every
    // workstation; a print's own requests are those of the next one.
    rede_->Zerar();
    imp.ImprimeEtiquetasPreConfigurada();
    ASSERT_EQ(imp.EtiquetasEnviadas(), etiquetas);
    std::printf("primeira impressão da loja (cria o diário): %llu idas e voltas\n",
                static_cast<unsigned long long>(rede_->IdasEVoltas()));
    rede_->Zerar();
    imp.ImprimeEtiquetasPreConfigurada();
    const uint64_t idasImpressao = rede_->IdasEVoltas();
    ASSERT_EQ(imp.EtiquetasEnviadas(), etiquetas);
    EXPECT_LE(static_cast<double>(idasImpressao) / static_cast<double>(etiquetas), kIdasPorLinha)
        << idasImpressao << " idas e voltas";
}

TEST_F(IdasEVoltas, LoteComGradesPedePoucoAoServidorEGuardaCadaGradeNaOrdem) {
    // Every third goods item has two variants (stored P before G), the others none.
    direta_->Executar("execute block as declare i integer = 3; begin while (i <= " + std::to_string(kMercadorias) +
                      ") do begin insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, vlr_grade) "
                      "values (:i, 'P', 1, '', 0); insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, "
                      "vlr_grade) values (:i, 'G', 2, 'G' || :i, 9); i = i + 3; end end");
    TdtmAplicativo dtm;
    dtm.dtbAplicativo.Conectar();
    dtm.dtbAplicativoMrg.Conectar();
    TSelecaoMercadorias sel(dtm);
    sel.ProcessarGrades = true;
    rede_->Zerar();
    const size_t linhas = sel.MontarLote();
    const uint64_t idas = rede_->IdasEVoltas();
    const size_t comGrades = kMercadorias / 3;
    ASSERT_EQ(linhas, kMercadorias + comGrades);
    EXPECT_LE(static_cast<double>(idas) / static_cast<double>(linhas), kIdasPorLinha) << idas << " idas e voltas";
    EXPECT_EQ(direta_->Texto("select count(*) from etiquetaread where nro_lote is null"),
              std::to_string(kMercadorias - comGrades));
    // The rows of one goods item in the order its variants came: P (the goods' barcode and price), then G.
    EXPECT_EQ(direta_->Texto("select list(nro_lote || '/' || barras || '/' || vlr_ven, ' ') from (select * from "
                             "etiquetaread where codigo = 600 order by rdb$db_key)"),
              "P/7897897897600/750.000 G/G600/9.000");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-idas");
}
