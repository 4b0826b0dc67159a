#include <gtest/gtest.h>

#include <QScreen>

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "AuxiliarTeste.h"
#include "app/JanelaMercadorias.h"
#include "app/ModulosDados.h"
#include "app/ufrmPrincipal.h"
#include "common/Excecoes.h"
#include "common/gui/FuncoesGui.h"
#include "labels/gui/JanelaLeiaute09.h"

namespace {

std::string Junta(const TListaNomes& nomes) {
    std::string s;
    for (const auto& n : nomes) s += (s.empty() ? "" : ",") + n;
    return s;
}

// Writes down every call in order; can fail on a chosen one.
class TModulosGravador final : public TModulosDados {
public:
    std::vector<std::string> chamadas;
    std::string falharEm;

    void Registra(const std::string& c) {
        chamadas.push_back(c);
        if (c == falharEm) throw EDatabaseError("tabela inexistente");
    }
    void Ajusta_BD() override { Registra("Ajusta_BD"); }
    void AjustaTributosIcm() override { Registra("AjustaTributosIcm"); }
    void dtmAplicativoOpen(const TListaNomes& n) override { Registra("AplicativoOpen " + Junta(n)); }
    void dtmAplicativoclose(const TListaNomes& n) override { Registra("Aplicativoclose " + Junta(n)); }
    void dtmMercadoriasOpen(const TListaNomes& n) override { Registra("MercadoriasOpen " + Junta(n)); }
    void dtmMercadoriasClose(const TListaNomes& n) override { Registra("MercadoriasClose " + Junta(n)); }
    void dtmFornecedoresOpen(const TListaNomes& n) override { Registra("FornecedoresOpen " + Junta(n)); }
    void dtmFornecedoresClose(const TListaNomes& n) override { Registra("FornecedoresClose " + Junta(n)); }
    void dtmConectBancoMrg(bool c) override { Registra(std::string("ConectBancoMrg ") + (c ? "true" : "false")); }
};

class TJanelaMercadoriasTeste final : public TJanelaMercadorias {
public:
    explicit TJanelaMercadoriasTeste(TModulosGravador& m) : modulos(m) {}
    TModulosGravador& modulos;
    void ShowModal() override {
        modulos.chamadas.push_back(std::string("ShowModal grades=") + (ProcessarGrades ? "1" : "0") + " vitrinex=" +
                                   (ImportaBaseVitrinex ? "1" : "0") + " direto=" + std::to_string(AcessoDireto));
    }
};

const std::vector<std::string> kAntes = {
    "Ajusta_BD",
    "FornecedoresOpen Fornecedores",
    "MercadoriasOpen Aliquotas,Departamentos",
    "AplicativoOpen MERCADORIAS",
    "MercadoriasOpen TributosIcm,TributosPC",
};
const std::vector<std::string> kDepois = {
    "MercadoriasClose Aliquotas,Departamentos", "FornecedoresClose Fornecedores", "Aplicativoclose MERCADORIAS",
    "MercadoriasClose TributosIcm,TributosPC",  "ConectBancoMrg false",
};

std::vector<std::string> Sequencia(const std::vector<std::string>& meio) {
    std::vector<std::string> s = kAntes;
    s.insert(s.end(), meio.begin(), meio.end());
    s.insert(s.end(), kDepois.begin(), kDepois.end());
    return s;
}

class FrmPrincipalTest : public ::testing::Test {
protected:
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TModulosGravador modulos;
    TJanelaMercadoriasTeste mercadorias{modulos};

    std::unique_ptr<TfrmPrincipal> Janela(const std::vector<std::string>& argumentos = {}) {
        auto frm = std::make_unique<TfrmPrincipal>(argumentos);
        frm->DefinirModulosDados(&modulos);
        frm->DefinirJanelaMercadorias(&mercadorias);
        frm->NomeComputador = [] { return std::string("CAIXA01"); };
        frm->Hoje = [] { return EncodeDate(2026, 3, 5); };
        return frm;
    }
};

TEST_F(FrmPrincipalTest, JanelaNormal) {
    auto frm = Janela();
    EXPECT_EQ(frm->windowTitle(), "Etiquetas de codigo de barras");
    EXPECT_EQ(frm->size(), QSize(530, 280));
    EXPECT_EQ(frm->btnSair->geometry(), QRect(10, 10, 41, 40));
    EXPECT_EQ(frm->btnSair->toolTip(), "Fechar Janela");
    EXPECT_EQ(frm->btnEtiquetas->geometry(), QRect(160, 10, 177, 40));
    EXPECT_EQ(frm->btnEtiquetas->text(), "Etiquetas");
    EXPECT_EQ(frm->btnConfig->geometry(), QRect(458, 10, 41, 40));
    EXPECT_EQ(frm->btnAtualizabase->geometry(), QRect(160, 66, 177, 40));
    EXPECT_EQ(frm->btnAtualizabase->text(), "Atualizar base de dados");
    EXPECT_TRUE(frm->pnlConfig->isHidden());
    EXPECT_EQ(frm->CdbETQ.Modelo(), etqPplb);
    EXPECT_EQ(frm->CdbETQ.Temperatura(), 14);
    EXPECT_EQ(frm->CdbETQ.Porta(), "LPT1");
    EXPECT_FALSE(frm->CdbETQ.Ativo());
}

TEST_F(FrmPrincipalTest, ConfiguracaoAbreComSenhaEVoltaAoNormal) {
    auto frm = Janela();
    frm->PedeTexto = [](const std::string&, const std::string&) { return std::string("0508033426"); };
    frm->btnConfigClick();
    // The whole panel, or as much as the screen holds (it scrolls then).
    EXPECT_EQ(frm->size(), QSize(1090, 560).boundedTo(frm->AreaDisponivel().size()));
    EXPECT_TRUE(frm->pnlConfig->isVisibleTo(frm.get()));
    EXPECT_EQ(frm->pnlConfig->geometry(), frm->rect());
    EXPECT_TRUE(frm->btnEtiquetas->isHidden());
    EXPECT_TRUE(frm->btnConfig->isHidden());

    // Opened from a small window near the screen's right edge: the panel ends on the screen.
    frm->SpeedButton2Click();  // Cancela
    frm->show();
    const QRect tela = frm->screen()->availableGeometry();
    frm->move(tela.right() - 600, tela.top() + 10);
    frm->btnConfigClick();
    const QRect quadro = frm->frameGeometry();
    if (quadro.width() <= tela.width()) {
        EXPECT_LE(quadro.right(), tela.right());
        EXPECT_GE(quadro.left(), tela.left());
    } else {  // a screen narrower than the panel: its left edge shows
        EXPECT_EQ(quadro.left(), tela.left());
    }

    frm->edtBD->setText("nao gravado");
    frm->SpeedButton2Click();  // Cancela
    EXPECT_EQ(frm->size(), QSize(530, 280));
    EXPECT_TRUE(frm->pnlConfig->isHidden());
    EXPECT_FALSE(frm->btnEtiquetas->isHidden());
    EXPECT_FALSE(frm->btnConfig->isHidden());
    EXPECT_FALSE(pasta.Existe("configEtq.ini"));
    EXPECT_EQ(frm->edtBD->text(), "nao gravado");  // until the next LoadConfig
}

// The model 09 editor opens from the panel, drawing for the printer the panel
// shows; a shop it cannot read still opens it, with the reason as its note.
TEST_F(FrmPrincipalTest, EditorDoModelo09AbrePeloPainel) {
    auto frm = Janela();
    frm->PedeTexto = [](const std::string&, const std::string&) { return std::string("0508033426"); };
    frm->btnConfigClick();
    EXPECT_EQ(frm->btnEditor09->text(), "Editor de etiqueta (modelo 09)");
    EXPECT_TRUE(frm->btnEditor09->isVisibleTo(frm.get()));
    frm->edtzpl->setChecked(true);
    std::string titulo, impressora, nota;
    QTimer::singleShot(0, [&] {
        auto* editor = dynamic_cast<TfrmLeiaute09*>(QApplication::activeModalWidget());
        if (!editor) return;
        titulo = editor->windowTitle().toStdString();
        impressora = editor->lblImpressora->text().toStdString();
        nota = editor->lblNota->text().toStdString();
        editor->reject();
    });
    frm->btnEditor09->click();
    EXPECT_EQ(titulo, "Editor de etiqueta (modelo 09)");
    EXPECT_EQ(impressora.rfind("Impressora configurada: ZPL, Argox;", 0), 0u) << impressora;
    EXPECT_EQ(nota.rfind("Não foi possível ler o desenho da tabela FormatMrg: ", 0), 0u) << nota;
}

TEST_F(FrmPrincipalTest, SenhaErradaNaoMudaNada) {
    auto frm = Janela();
    frm->PedeTexto = [](const std::string&, const std::string&) { return std::string("1234"); };
    frm->btnConfigClick();
    EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Senha não confere"});
    EXPECT_EQ(frm->size(), QSize(530, 280));
    EXPECT_TRUE(frm->pnlConfig->isHidden());
    EXPECT_FALSE(frm->btnConfig->isHidden());
}

TEST_F(FrmPrincipalTest, EtiquetasNaOrdemEntregandoAsOpcoes) {
    pasta.Gravar("configEtq.ini", "[CONF]\r\nchkGrade=SIM\r\nImportVitrinex=NAO\r\n");
    auto frm = Janela();
    frm->FormActivate();
    frm->btnEtiquetasClick();
    EXPECT_EQ(modulos.chamadas, Sequencia({"ShowModal grades=1 vitrinex=0 direto=0"}));
}

TEST_F(FrmPrincipalTest, SemJanelaDeMercadoriasAbreEFecha) {
    auto frm = Janela();
    frm->DefinirJanelaMercadorias(nullptr);
    frm->btnEtiquetasClick();
    EXPECT_EQ(modulos.chamadas, Sequencia({}));
}

TEST_F(FrmPrincipalTest, FalhaAoAbrirTabelaEncerraAAcao) {
    auto frm = Janela();
    modulos.falharEm = "MercadoriasOpen Aliquotas,Departamentos";
    EXPECT_THROW(frm->btnEtiquetasClick(), EDatabaseError);
    EXPECT_EQ(modulos.chamadas, (std::vector<std::string>{"Ajusta_BD", "FornecedoresOpen Fornecedores",
                                                          "MercadoriasOpen Aliquotas,Departamentos"}));
}

TEST_F(FrmPrincipalTest, ModoDiretoRodaUmaVezEFechaOPrograma) {
    auto frm = Janela({"acessa_direto", "12"});
    EXPECT_EQ(frm->ParamAcesso, "ACESSA_DIRETO");
    EXPECT_EQ(frm->ParamModelo, "012");
    frm->show();
    frm->FormActivate();
    EXPECT_EQ(modulos.chamadas, Sequencia({"ShowModal grades=0 vitrinex=0 direto=1"}));
    EXPECT_EQ(frm->ParamAcesso, "");
    EXPECT_FALSE(frm->isVisible());

    modulos.chamadas.clear();
    frm->FormActivate();  // later activations only reload the configuration
    EXPECT_TRUE(modulos.chamadas.empty());
}

TEST_F(FrmPrincipalTest, ModoDiretoSemJanelaDeMercadoriasTambemTermina) {
    auto frm = Janela({"ACESSA_DIRETO"});
    frm->DefinirJanelaMercadorias(nullptr);
    frm->show();
    frm->FormActivate();
    EXPECT_EQ(modulos.chamadas, Sequencia({}));
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(FrmPrincipalTest, SemParametrosNadaFechaSozinho) {
    auto frm = Janela();
    frm->show();
    frm->FormActivate();
    frm->btnEtiquetasClick();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(frm->ParamModelo, "0");
}

TEST_F(FrmPrincipalTest, SairPerguntaAntes) {
    auto frm = Janela();
    frm->show();
    iu.resposta = false;
    frm->btnSairClick();
    EXPECT_EQ(iu.perguntas, std::vector<std::string>{"Sair do sistema?"});
    EXPECT_TRUE(frm->isVisible());
    iu.resposta = true;
    frm->btnSairClick();
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(FrmPrincipalTest, AjustaBaseDeDados) {
    auto frm = Janela();
    frm->Button1Click();
    EXPECT_EQ(modulos.chamadas, std::vector<std::string>{"AjustaTributosIcm"});
}

TEST_F(FrmPrincipalTest, AjudasDeCalibragem) {
    auto frm = Janela();
    frm->SpeedButton3Click();
    frm->SpeedButton4Click();
    frm->SpeedButton5Click();
    auto texto = [](const char* piscar) {
        return std::string("Desliga a impressora\r\nLiga impressora com botão pressionado\r\n") + piscar +
               "\r\nSolta o botão\r\nEspera ela calibrar, em seguida ela imprime testes\r\n"
               "Depois só apertar o botão, para ver se ela dispara uma etiqueta por vez";
    };
    EXPECT_EQ(iu.mensagens, (std::vector<std::string>{texto("Aguarde piscar 2x"), texto("Aguarde piscar 5x"),
                                                      texto("Aguarde piscar 2x")}));
}

TEST_F(FrmPrincipalTest, AtivacaoRecarregaOArquivo) {
    auto frm = Janela();
    frm->edtRede->setText("digitado");
    pasta.Gravar("configEtq.ini", "[CONF]\r\nPATH REDE=COM2\r\n");
    frm->FormActivate();
    EXPECT_EQ(frm->edtRede->text(), "COM2");
}

TEST_F(FrmPrincipalTest, FalhaNoBotaoVaiAoTratadorEOProgramaSegue) {
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    pasta.Gravar("configEtq.ini", "[CONF]\r\nedtRatio=dois\r\n");
    auto frm = Janela();
    frm->NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
    frm->btnConfig->click();
    EXPECT_EQ(falhas, std::vector<std::string>{"configEtq.ini, chave edtRatio: 'dois' não é um valor inteiro válido"});
    EXPECT_EQ(frm->size(), QSize(530, 280));  // still the normal state, nothing half-done
    EXPECT_TRUE(frm->pnlConfig->isHidden());
    DefinirTratadorFalhas(anterior);
}

TEST_F(FrmPrincipalTest, ArquivoEstragadoEhAvisadoUmaVezNaAtivacao) {
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    pasta.Gravar("configEtq.ini", "[CONF]\r\nedttipobar=x\r\n");
    auto frm = Janela();
    frm->show();
    frm->activateWindow();
    for (int i = 0; i < 50 && !frm->isActiveWindow(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(frm->isActiveWindow());
    // Each closed box hands activation back: the same failure must not come round again.
    for (int i = 0; i < 3; ++i) {
        QEvent ativacao(QEvent::ActivationChange);
        QApplication::sendEvent(frm.get(), &ativacao);
    }
    EXPECT_EQ(falhas, std::vector<std::string>{"configEtq.ini, chave edttipobar: 'x' não é um valor inteiro válido"});

    // Once mended, the file loads; a new failure is reported again.
    pasta.Gravar("configEtq.ini", "[CONF]\r\nedttipobar=3\r\n");
    QEvent ativacao(QEvent::ActivationChange);
    QApplication::sendEvent(frm.get(), &ativacao);
    EXPECT_EQ(frm->edttipobar->ItemIndex(), 3);
    pasta.Gravar("configEtq.ini", "[CONF]\r\nedttipobar=x\r\n");
    QApplication::sendEvent(frm.get(), &ativacao);
    EXPECT_EQ(falhas.size(), 2u);
    DefinirTratadorFalhas(anterior);
}

TEST_F(FrmPrincipalTest, VoltarDeOutroProgramaNaoApagaOPainel) {
    auto frm = Janela();
    frm->NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
    frm->show();
    frm->activateWindow();
    for (int i = 0; i < 50 && !frm->isActiveWindow(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(frm->isActiveWindow());
    frm->btnConfigClick();
    frm->edtRede->setText("COM3");
    QEvent ativacao(QEvent::ActivationChange);

    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QApplication::sendEvent(frm.get(), &ativacao);
    EXPECT_EQ(frm->edtRede->text(), "COM3");

    // Handed over by a window of the program (a message box): reloaded.
    QApplication::sendEvent(frm.get(), &ativacao);
    EXPECT_EQ(frm->edtRede->text(), "");
}

}  // namespace
