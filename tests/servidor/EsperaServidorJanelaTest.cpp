// The windows on a server that stops answering in the middle of a call: the
// waiting window counts the seconds of silence and "Desistir" abandons the
// connection at once, without waiting for the limit.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "ServidorFb.h"
#include "app/InterfaceUsuarioQt.h"
#include "app/uFrmAvisoAbertura.h"
#include "app/uFrmServidorSemResposta.h"
#include "common/ConfigEtq.h"
#include "common/UFuncoes.h"
#include "common/gui/FuncoesGui.h"
#include "data/Tabela.h"
#include "data/udtmAplicativo.h"
#include "labels/gui/ModeloFila.h"
#include "labels/gui/MrgEtiquetas.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/Suporte.h"

namespace {

constexpr int kLimite = 20;  // far beyond the moment "Desistir" is pressed

class JanelaServidorCalado : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        static int n = 0;  // a shop of its own for each test
        caminho_ = Servidor().Caminho(Servidor().Pasta() + "/janela" + std::to_string(++n) + ".fdb");
        CriarLojaNoServidor(caminho_);
        pasta_ = std::make_unique<TPastaTemp>("etiq-janela-calado");
        DefinirDiretorioSistema(pasta_->caminho.string());
        GravarConfig("PATH MERKOR", caminho_);
        DefinirInterfaceUsuario(&iu_);
    }
    void TearDown() override {
        DefinirInterfaceUsuario(nullptr);
        DefinirDiretorioSistema("");
        pasta_.reset();
    }
    std::string caminho_;
    std::unique_ptr<TPastaTemp> pasta_;
    TfrmAvisoAbertura aguarde_;
    TInterfaceUsuarioQt iu_{aguarde_};
};

TEST_F(JanelaServidorCalado, DesistirAbandonaAConexaoSemEsperarOLimite) {
    TdtmAplicativo dtm;
    dtm.dtbAplicativo.SetTempoSemResposta(kLimite);
    auto enfileirar = [&](int codigo, const std::string& nome) {
        dtm.INSERTFILE("EtiquetaRead", {"CODIGO", std::to_string(codigo), "NOME", nome, "QUANTIDADE", "0"});
    };
    // Calls go through the worker thread while the screen waits: the road works as before.
    enfileirar(1, "ANTIGA");
    ASSERT_TRUE(dtm.dtmCommit());
    dtm.DeleteRegistro("EtiquetaRead", "1=1");
    enfileirar(2, "NOVA");

    // Another window of the program, as the queue's would be behind, and its grid's rows.
    QWidget outraJanela;
    outraJanela.show();
    TTabela fila(dtm.dtbAplicativo, dtm.ibtAplicativo, "ETIQUETAREAD");
    fila.Open();
    TModeloFila grade(fila);
    grade.Recarregar();
    const QModelIndex nome = grade.index(0, TModeloFila::ColunaDoCampo("NOME"));
    ASSERT_EQ(grade.data(nome).toString().toStdString(), "NOVA");
    QVariant naEspera = QStringLiteral("não lido");

    // What the operator sees once the window is up, an event that reaches for
    // the database meanwhile (a repaint, an activation), then the click.
    QString texto;
    int maximo = 0, segundos = -1;
    bool modal = false, congelada = false;
    std::string intrometida;
    QTimer olho;
    olho.setInterval(50);
    QObject::connect(&olho, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* janela = qobject_cast<TfrmServidorSemResposta*>(w);
            if (!janela || !janela->isVisible() || segundos >= 0) continue;
            texto = janela->lblTexto->text();
            maximo = janela->pbSilencio->maximum();
            segundos = janela->pbSilencio->value();
            modal = janela->isModal();
            congelada = !outraJanela.updatesEnabled();
            naEspera = grade.data(nome);
            intrometida = MensagemDe<EDatabaseError>([&] { dtm.SelectFile("2", "EtiquetaRead", "1=1"); });
            janela->btnDesistir->click();
        }
    });
    olho.start();

    // Left to the limit, the call would end with the silence's message, not the operator's.
    std::string msg;
    {
        TCongelamento gelo(kLimite + 10);
        msg = MensagemDe<fb::EFbConexao>([&] { enfileirar(3, "NOVA 3"); });
    }
    olho.stop();

    ASSERT_GE(segundos, 1) << "a janela de espera não apareceu";
    EXPECT_TRUE(congelada) << "as outras janelas repintavam durante a espera";
    EXPECT_TRUE(outraJanela.updatesEnabled());
    EXPECT_FALSE(naEspera.isValid()) << "a grade leu a tabela durante a espera: " << naEspera.toString().toStdString();
    EXPECT_EQ(intrometida,
              "Outra operação no banco de dados está aguardando o servidor: esta não foi iniciada. Tente de novo "
              "quando aquela terminar.");
    EXPECT_TRUE(modal);
    EXPECT_EQ(maximo, kLimite);
    const std::string servidor = "O servidor 127.0.0.1 (porta " + std::to_string(Servidor().Porta()) + ")";
    EXPECT_EQ(texto.toStdString(), servidor + " não responde há " + std::to_string(segundos) +
                                       " s.\nA operação será abandonada aos " + std::to_string(kLimite) +
                                       " s sem resposta.");
    EXPECT_EQ(msg.rfind(servidor + " do banco de dados \"" + caminho_ + "\" não responde há ", 0), 0u) << msg;
    EXPECT_NE(msg.find("a operação foi abandonada a pedido do operador e nada foi gravado."), std::string::npos) << msg;

    // Awake again: the abandoned batch is gone, the module connects again.
    TConexao outra(caminho_);
    EXPECT_EQ(outra.Texto("select list(nome, '|') from etiquetaread"), "ANTIGA");
    enfileirar(4, "DEPOIS");
    EXPECT_TRUE(dtm.dtmCommit());
    EXPECT_EQ(outra.Texto("select list(nome, '|') from (select nome from etiquetaread order by codigo)"),
              "ANTIGA|DEPOIS");
}

// The queue window prints to a network printer when the server falls silent;
// the operator presses "Desistir". The run stays "EM CURSO" with its last
// committed progress, in this very process: awake again, "Continuar de onde
// parou" takes it up. The labels of both streams, counted in whole print
// jobs, cover the queue, and only what went after that progress is twice.
TEST_F(JanelaServidorCalado, DesistirNoMeioDaImpressaoEContinuarNaoPerdeEtiqueta) {
    constexpr int kLinhas = 40;
    setenv("LC_ALL", "C", 1);
    TConexao outra(caminho_);
    // One label a row, every job the same length: jobs are counted by bytes.
    outra.Executar("execute block as declare i integer = 100; begin while (i < " + std::to_string(100 + kLinhas) +
                   ") do begin insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN) values (:i, "
                   "'7890000000' || :i, 'ITEM ' || :i, 'R' || :i, 1.5); insert into ETIQUETAREAD (CODIGO, BARRAS, "
                   "NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, NRO_LOTE) values (:i, '7890000000' || :i, 'ITEM ' || "
                   ":i, 'ITEM', 1, 0, 1.5, ''); i = i + 1; end end");
    const std::string arquivo = pasta_->caminho.string() + "/inteira.prn";
    GravarConfig({{"PATH REDE", "FILE:" + arquivo}, {"MODELO", "PPLA"}, {"MODELO PRINT", "06 - PPLA 1 coluna"}});
    std::vector<std::string> falhas;
    DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    struct TRestaurar {
        ~TRestaurar() {
            DefinirTratadorFalhas(nullptr);
            unsetenv("LC_ALL");
        }
    } restaurar;

    TdtmAplicativo dtm;
    dtm.dtbAplicativo.SetTempoSemResposta(kLimite);
    TmrgEtiquetas janela(dtm);
    janela.show();
    janela.Impressao().PausaMs = 0;
    janela.btnEtiquetas->click();  // the whole print to a file, to know its jobs
    ASSERT_TRUE(falhas.empty()) << falhas.front();
    const std::string inteiro = LerTudo(arquivo);
    ASSERT_EQ(inteiro.size() % kLinhas, 0u);
    const size_t trabalho = inteiro.size() / kLinhas;
    outra.Executar("delete from DIARIO_IMPRESSAO_ITEM");
    outra.Executar("delete from DIARIO_IMPRESSAO");

    // Frozen once six jobs are out; "Desistir" at the first sight of the wait.
    // One printer for both: after a failure the component keeps its port (a
    // changed one is refused until it closes), so the continuation goes to it
    // on a new connection.
    TImpressoraTeste impressora;
    ASSERT_TRUE(impressora.Ok());
    GravarConfig("PATH REDE", impressora.Endereco());
    janela.Impressao().PausaMs = 250;
    std::unique_ptr<TCongelamento> gelo;
    auto primeiro = std::chrono::steady_clock::now();
    double segundos = 0;
    bool desistiu = false, congelar = true;
    std::vector<std::string> mensagens;
    QTimer olho;
    olho.setInterval(5);
    QObject::connect(&olho, &QTimer::timeout, [&] {
        const size_t bytes = congelar ? impressora.Recebido().size() : 0;
        if (bytes == 0) primeiro = std::chrono::steady_clock::now();
        if (congelar && !gelo && bytes >= 6 * trabalho) {
            segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - primeiro).count();
            gelo = std::make_unique<TCongelamento>(kLimite + 10);
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* caixa = qobject_cast<QMessageBox*>(w); caixa && caixa->isVisible()) {
                mensagens.push_back(caixa->text().toStdString());
                caixa->accept();
            }
            auto* espera = qobject_cast<TfrmServidorSemResposta*>(w);
            if (espera && espera->isVisible() && !desistiu) {
                desistiu = true;
                espera->btnDesistir->click();
            }
        }
    });
    olho.start();
    janela.btnEtiquetas->click();
    congelar = false;
    gelo.reset();
    ASSERT_TRUE(desistiu) << "a janela de espera não apareceu";
    ASSERT_FALSE(falhas.empty()) << "a impressão não parou com o servidor calado";
    std::string todas;
    for (const auto& f : falhas) todas += f + "\n";
    // Said naming the server (after "Desistir" the window reconnects to show the
    // queue, and that attempt may be what is told).
    EXPECT_NE(todas.find("O servidor 127.0.0.1 (porta " + std::to_string(Servidor().Porta()) + ")"), std::string::npos)
        << todas;
    const std::string recebido = impressora.Recebido();
    const size_t r1 = recebido.size() / trabalho;
    EXPECT_EQ(recebido.substr(0, r1 * trabalho), inteiro.substr(0, r1 * trabalho));
    EXPECT_EQ(outra.Texto("select SITUACAO from DIARIO_IMPRESSAO"), "EM CURSO");
    const int64_t e = std::stoll(outra.Texto("select ENTREGUES from DIARIO_IMPRESSAO"));
    falhas.clear();
    mensagens.clear();

    janela.Impressao().PausaMs = 0;
    janela.btnContinuar->click();
    olho.stop();
    impressora.Parar();
    const auto conexoes = impressora.Conexoes();
    ASSERT_EQ(conexoes.size(), 2u);
    EXPECT_EQ(conexoes[0], recebido);
    EXPECT_TRUE(falhas.empty()) << falhas.front();
    EXPECT_TRUE(mensagens.empty()) << mensagens.front();
    EXPECT_EQ(janela.Impressao().EtiquetasEnviadas(), kLinhas - e);
    EXPECT_EQ(conexoes[1], inteiro.substr(static_cast<size_t>(e) * trabalho));
    // Not one label lost; twice only what went after the last progress (about a second).
    EXPECT_GE(static_cast<int64_t>(r1), e);
    const double porSegundo = static_cast<double>(r1) / std::max(segundos, 0.001);
    EXPECT_LE(static_cast<double>(r1) - static_cast<double>(e), std::ceil(porSegundo * 1.5) + 3)
        << r1 << " jobs taken, " << e << " in the journal, " << porSegundo << " a second";
    janela.close();
}

}  // namespace

int main(int argc, char** argv) {
    TAplicacao app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-janela");
}
