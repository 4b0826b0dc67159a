// The configuration panel as a shop's technician meets it: the shop's texts
// with the picture that follows them, the confirmation threshold, what is
// refused before anything is written, a panel that fits small screens, the
// password box's Cancel, the printer test saying what it sent, and a model
// list that tells look-alike models apart.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <set>

#include "AuxiliarTeste.h"
#include "app/ConfigPainel.h"
#include "app/GaleriaPainel.h"
#include "app/ModelosEtiqueta.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "common/Win1252.h"
#include "common/gui/FuncoesGui.h"
#include "labels/InfoModelos.h"
#include "suporte/ImpressoraTeste.h"

namespace {

class Painel : public ::testing::Test {
protected:
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};

    void Abrir() {
        frm.NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
        frm.btnConfigClick();
    }
    QImage Figura() {
        QCoreApplication::processEvents();
        return frm.pnlGaleria->lblFigura->pixmap().toImage();
    }
};

TEST_F(Painel, TextosDaLojaGravadosEFiguraSegueODigitado) {
    // Windows-1252, as shops have the file.
    pasta.Gravar("configEtq.ini", "[CONF]\r\nNOME LOJA=Mercearia Z\xE9\r\nTEXTO LOJA=Oferta\r\nMODELO=PPLA\r\n");
    Abrir();
    EXPECT_EQ(frm.edtNomeLoja->text(), QString::fromUtf8("Mercearia Zé"));
    EXPECT_EQ(frm.edtTextoLoja->text(), "Oferta");
    // Model 50 prints both texts: the picture changes while they are typed, unsaved.
    frm.edtModelo->setCurrentIndex(49);
    const QImage antes = Figura();
    ASSERT_FALSE(antes.isNull());
    frm.edtNomeLoja->setText("Casa do Pão");
    const QImage comNome = Figura();
    EXPECT_NE(comNome, antes);
    frm.edtTextoLoja->setText("Leve 3");
    EXPECT_NE(Figura(), comNome);
    EXPECT_EQ(LerConfig("NOME LOJA"), "Mercearia Zé");  // nothing saved yet
    // Typed back, the first picture again: drawn from the panel, not from a stale copy.
    frm.edtNomeLoja->setText(QString::fromUtf8("Mercearia Zé"));
    frm.edtTextoLoja->setText("Oferta");
    EXPECT_EQ(Figura(), antes);
    // The texts stand in for the file only while the picture is drawn.
    EXPECT_EQ(NomeLoja(), "Mercearia Zé");

    frm.edtNomeLoja->setText("  Casa do Pão  ");
    frm.SpeedButton1Click();
    EXPECT_EQ(LerConfig("NOME LOJA"), "Casa do Pão");
    EXPECT_EQ(LerConfig("TEXTO LOJA"), "Oferta");
    EXPECT_EQ(NomeLoja(), "Casa do Pão");
}

struct CasoRecusa {
    const char* nome;
    QLineEdit* TfrmPrincipal::*campo;
    std::string valor;
    std::string inicio;  // of the message: the field named
};

class PainelRecusa : public Painel, public ::testing::WithParamInterface<CasoRecusa> {};

TEST_P(PainelRecusa, NomeiaOCampoENadaEhGravado) {
    const auto& c = GetParam();
    pasta.Gravar("configEtq.ini", "[CONF]\r\nPATH MERKOR=antigo.fdb\r\nNOME LOJA=Antiga\r\n");
    const std::string antigo = pasta.Ler("configEtq.ini");
    Abrir();
    frm.edtBD->setText("novo.fdb");  // typed too, and not saved half
    (frm.*c.campo)->setText(QString::fromStdString(c.valor));
    const std::string msg = MensagemDe([&] { frm.SpeedButton1Click(); });
    EXPECT_EQ(msg.rfind(c.inicio, 0), 0u) << msg;
    EXPECT_NE(msg.find("Nada foi gravado"), std::string::npos) << msg;
    EXPECT_EQ(pasta.Ler("configEtq.ini"), antigo);
    EXPECT_TRUE(frm.pnlConfig->isVisibleTo(&frm));  // still open, with what was typed
    EXPECT_EQ(frm.edtBD->text(), "novo.fdb");
}

INSTANTIATE_TEST_SUITE_P(
    Campos, PainelRecusa,
    ::testing::Values(
        CasoRecusa{"NomeLongo", &TfrmPrincipal::edtNomeLoja, std::string(41, 'A'),
                   "Nome da loja: no máximo 40 caracteres (tem 41)"},
        // 40 letters that take two bytes each in UTF-8 fit: letters are counted, not bytes
        CasoRecusa{"NomeForaDoWindows1252", &TfrmPrincipal::edtNomeLoja, "Loja \xE2\x98\x85",
                   "Nome da loja: o caractere \"\xE2\x98\x85\""},
        CasoRecusa{"TextoLongo", &TfrmPrincipal::edtTextoLoja, "Promoção da semana",
                   "Texto da loja: no máximo 15 caracteres (tem 18)"},
        CasoRecusa{"LimiteTexto", &TfrmPrincipal::edtLimiteConfirmacao, "quinhentos",
                   "Limite para confirmar a impressão: "},
        CasoRecusa{"LimiteNegativo", &TfrmPrincipal::edtLimiteConfirmacao, "-5", "Limite para confirmar a impressão: "},
        CasoRecusa{"LimiteDecimal", &TfrmPrincipal::edtLimiteConfirmacao, "2,5", "Limite para confirmar a impressão: "},
        CasoRecusa{"LimiteLongo", &TfrmPrincipal::edtLimiteConfirmacao, "1000000000",
                   "Limite para confirmar a impressão: "},
        CasoRecusa{"DataIncompleta", &TfrmPrincipal::edtUltimaData, "05-03-20", "Ultima data importada do vitrinex"},
        CasoRecusa{"DataQueNaoExiste", &TfrmPrincipal::edtUltimaData, "31-02-2026",
                   "Ultima data importada do vitrinex"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Painel, ValoresAceitosNosLimites) {
    Abrir();
    frm.edtNomeLoja->setText(QString::fromUtf8(std::string(20, 'A').c_str()) +
                             QString::fromUtf8("ÇÃÉÍÓÚçãéíóúÂÊÔâêôÀà"));  // 40 letters, 60 bytes
    frm.edtTextoLoja->setText("Preço Baixo!!!!");
    frm.edtLimiteConfirmacao->setText("0");
    frm.edtUltimaData->setText("29-02-2024");
    frm.SpeedButton1Click();
    EXPECT_EQ(Utf8::Decodificar(LerConfig("NOME LOJA")).size(), 40u);
    EXPECT_EQ(LerConfig("TEXTO LOJA"), "Preço Baixo!!!!");
    EXPECT_EQ(LerConfig("LIMITE CONFIRMACAO"), "0");
    EXPECT_EQ(LerConfig("data_inicio_at"), "29-02-2024");
}

TEST_F(Painel, ConfirmarSemDataNaoGravaAMascara) {
    pasta.Gravar("configEtq.ini", "[CONF]\r\ndata_inicio_at=  -  -    \r\n");  // as older versions wrote it
    Abrir();
    EXPECT_EQ(frm.TextoUltimaData(), "  -  -    ");
    frm.SpeedButton1Click();
    EXPECT_NE(pasta.Ler("configEtq.ini").find("data_inicio_at=\r\n"), std::string::npos) << pasta.Ler("configEtq.ini");
    EXPECT_EQ(LerConfig("data_inicio_at"), "");
    frm.btnConfigClick();
    EXPECT_EQ(frm.TextoUltimaData(), "  -  -    ");  // shown empty again
}

// The whole panel can be reached on the screens shops have: the window fits
// the screen's free area and the page scrolls to every control.
TEST_F(Painel, CabeNaTelaERolaAteCadaControle) {
    struct Caso {
        const char* nome;
        QRect area;
        bool rola;
    };
    const Caso casos[] = {
        {"1366x768 com barra de tarefas", QRect(0, 0, 1366, 728), false},
        {"1280x720 com barra de tarefas", QRect(0, 0, 1280, 680), false},
        {"1280x720 com barra dos dois lados", QRect(0, 28, 1280, 520), true},
        {"1024x600", QRect(0, 24, 1024, 576), true},
        {"800x600", QRect(0, 0, 800, 600), true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        TfrmPrincipal janela{{}};
        janela.NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
        janela.AreaDisponivel = [&c] { return c.area; };
        janela.show();
        janela.btnConfigClick();
        QCoreApplication::processEvents();
        EXPECT_TRUE(c.area.contains(janela.frameGeometry()))
            << janela.frameGeometry().width() << "x" << janela.frameGeometry().height();
        const QScrollArea* rolagem = janela.scrConfig;
        const QWidget* vista = rolagem->viewport();
        EXPECT_EQ(rolagem->verticalScrollBar()->maximum() > 0 || rolagem->horizontalScrollBar()->maximum() > 0, c.rola);
        // Every control's far corner is inside the page once scrolled to the end.
        for (const QWidget* w : janela.pnlConteudo->findChildren<QWidget*>()) {
            if (w->isHidden() || w->parentWidget() != janela.pnlConteudo) continue;
            const QRect r = w->geometry();
            EXPECT_LE(r.right(), vista->width() + rolagem->horizontalScrollBar()->maximum())
                << w->objectName().toStdString();
            EXPECT_LE(r.bottom(), vista->height() + rolagem->verticalScrollBar()->maximum())
                << w->objectName().toStdString();
        }
    }
}

TEST_F(Painel, CancelarASenhaNaoDizQueNaoConfere) {
    frm.NomeComputador = [] { return std::string("CAIXA01"); };
    struct Caso {
        std::optional<std::string> resposta;
        std::vector<std::string> mensagens;
    };
    const Caso casos[] = {
        {std::nullopt, {}},                      // Cancelar
        {std::string(), {"Senha não confere"}},  // OK with nothing typed
        {std::string("123"), {"Senha não confere"}},
    };
    for (const auto& c : casos) {
        iu.mensagens.clear();
        frm.PedeTexto = [&c](const std::string&, const std::string&) { return c.resposta; };
        frm.btnConfigClick();
        EXPECT_EQ(iu.mensagens, c.mensagens);
        EXPECT_FALSE(frm.pnlConfig->isVisibleTo(&frm));
    }
}

TEST_F(Painel, TesteDizOQueEnviouEOnde) {
    Abrir();
    const std::string arquivo = pasta.Arquivo("teste.prn");
    frm.edtRede->setText(QString::fromStdString("FILE:" + arquivo));
    frm.edtTemp->setText("10");
    frm.Button2->click();
    const size_t bytes = pasta.Ler("teste.prn").size();
    ASSERT_GT(bytes, 0u);
    EXPECT_EQ(iu.mensagens,
              std::vector<std::string>{"Teste enviado para FILE:" + arquivo + ": " + std::to_string(bytes) + " bytes"});

    // A network printer counts the same bytes it received.
    TImpressoraTeste impressora;
    frm.edtRede->setText(QString::fromStdString(impressora.Endereco()));
    iu.mensagens.clear();
    frm.Button2->click();
    impressora.Parar();
    EXPECT_EQ(impressora.Recebido().size(), bytes);
    EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Teste enviado para " + impressora.Endereco() + ": " +
                                                     std::to_string(bytes) + " bytes"});

    for (QWidget* w :
         std::initializer_list<QWidget*>{frm.Button2, frm.edtL, frm.edtCol, frm.edtAlt, frm.qtdCol, frm.codBar,
                                         frm.modBar, frm.edtEntCol, frm.chkPrintNbar, frm.chkPrintTexto})
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
}

TEST_F(Painel, TesteQueFalhaDizOndeEPorque) {
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    Abrir();
    const std::string porta = "TCP:127.0.0.1:" + std::to_string(PortaLivre());
    frm.edtRede->setText(QString::fromStdString(porta));
    frm.edtTemp->setText("10");
    frm.Button2->click();
    // A folder in place of the file: the other port kind that fails.
    const std::string pastaNoLugar = "FILE:" + pasta.Dir();
    frm.edtRede->setText(QString::fromStdString(pastaNoLugar));
    frm.Button2->click();
    DefinirTratadorFalhas(anterior);
    ASSERT_EQ(falhas.size(), 2u);
    EXPECT_EQ(falhas[0].rfind("Teste não enviado para " + porta + ": ", 0), 0u) << falhas[0];
    EXPECT_GT(falhas[0].size(), ("Teste não enviado para " + porta + ": ").size());
    EXPECT_EQ(falhas[1].rfind("Teste não enviado para " + pastaNoLugar + ": ", 0), 0u) << falhas[1];
    EXPECT_TRUE(iu.mensagens.empty());
    EXPECT_FALSE(frm.CdbETQ.Ativo());
}

TEST(LinhasDoPainel, DistinguemModelosParecidos) {
    const auto& linhas = LinhasModelo();
    EXPECT_EQ(linhas[10], "11 - PPLA 3 colunas 22x33 mm (203 dpi)");
    EXPECT_EQ(linhas[4], "05 - PPLA 3 colunas (passo 29 mm, 203 dpi)");
    EXPECT_EQ(linhas[16], "17 - Elgin L42 3 colunas 22x33 mm (PPLA, 203 dpi)");
    EXPECT_EQ(linhas[49], "50 - PPLA 1 coluna 4 x 4 (40 x 40 mm, 203 dpi)");
    EXPECT_EQ(linhas[8], "09 - Modelo Pre Configurado dentro do Merkor ( PPLA )");
    EXPECT_EQ(linhas[27].rfind("28 - A4 65 por folha (", 0), 0u);
    EXPECT_NE(linhas[27].find(" mm, 2 de 5 intercalado)"), std::string::npos) << linhas[27];
    EXPECT_NE(linhas[54].find(" mm, sem código de barras)"), std::string::npos) << linhas[54];
    // "PPLA 3 colunas" four times, "A4 65 por folha" three times: told apart now.
    for (const std::vector<int>& parecidos : std::vector<std::vector<int>>{{5, 8, 27, 30}, {28, 35, 55}}) {
        std::set<std::string> vistas;
        for (int n : parecidos) vistas.insert(linhas[n - 1]);
        EXPECT_EQ(vistas.size(), parecidos.size()) << linhas[parecidos[0] - 1];
    }
    for (int n = 1; n <= 59; ++n) {
        // Every reader takes the number from the first characters.
        EXPECT_EQ(StrToInt("0" + SoNumeros(linhas[n - 1].substr(0, 4))), n) << linhas[n - 1];
        EXPECT_EQ(linhas[n - 1].rfind(InfoModelo(n).linha, 0), 0u) << linhas[n - 1];
    }
}

// Files saved before the lines grew, or written by hand, still choose their model.
TEST_F(Painel, LinhaGravadaAntesOuSemIndiceEscolheOModelo) {
    struct Caso {
        std::string linhas;
        int indice;
    };
    const Caso casos[] = {
        {"MODELO PRINT=11 - PPLA 3 colunas 22x33\r\nMODELO PRINT INDEX=10\r\n", 10},
        {"MODELO PRINT=11 - PPLA 3 colunas 22x33\r\n", 10},                             // no index
        {"MODELO PRINT=45 - PPLA 3 colunas 35 x 30\r\nMODELO PRINT INDEX=-1\r\n", 44},  // older line, "-1"
        {"MODELO PRINT=" + LinhasModelo()[57] + "\r\n", 57},                            // today's line, no index
        {"MODELO PRINT=45 - minha etiqueta\r\nMODELO PRINT INDEX=-1\r\n", -1},          // a text of one's own stays
        {"", 0},                                                                        // first run: the first line
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.linhas);
        pasta.Gravar("configEtq.ini", "[CONF]\r\n" + c.linhas);
        frm.LoadConfig();
        EXPECT_EQ(frm.edtModelo->currentIndex(), c.indice);
        if (c.indice < 0) continue;
        frm.SpeedButton1Click();
        EXPECT_EQ(LerConfig("MODELO PRINT"), LinhasModelo()[c.indice]);
        EXPECT_EQ(LerConfig("MODELO PRINT INDEX"), std::to_string(c.indice));
    }
}

}  // namespace
