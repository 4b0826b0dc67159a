// The windows on a server that stops answering in the middle of a call: the
// waiting window counts the seconds of silence and "Desistir" abandons the
// connection at once, without waiting for the limit.
#include <memory>

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
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
#include "suporte/Suporte.h"

namespace {

constexpr int kLimite = 20;  // far beyond the moment "Desistir" is pressed

class JanelaServidorCalado : public ::testing::Test {
protected:
    void SetUp() override {
        EXIGIR_SERVIDOR();
        caminho_ = Servidor().Caminho(Servidor().Pasta() + "/janela.fdb");
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

}  // namespace

int main(int argc, char** argv) {
    TAplicacao app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RodarTestesComServidor("etiq-servidor-janela");
}
