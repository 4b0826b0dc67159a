#include <gtest/gtest.h>

#include <filesystem>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "AuxiliarTeste.h"
#include "app/ConfigPainel.h"
#include "app/GaleriaPainel.h"
#include "app/ModelosEtiqueta.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"

namespace {

// INI lines on one line, for test names.
std::string Linhas(std::string s) {
    for (char& ch : s)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return s;
}

class ConfigPainelTest : public ::testing::Test {
protected:
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};

    void Config(const std::string& linhas) { pasta.Gravar("configEtq.ini", "[CONF]\r\n" + linhas); }
};

TEST(ModelosEtiqueta, CinquentaENoveLinhasNumeradas) {
    const auto& linhas = LinhasModelo();
    ASSERT_EQ(linhas.size(), 59u);
    for (int i = 0; i < 59; ++i) {
        const std::string n = ZerosEsquerda(i + 1, 2);
        EXPECT_EQ(linhas[i].substr(0, 5), n + " - ") << linhas[i];
    }
}

TEST_F(ConfigPainelTest, PrimeiraExecucaoSemArquivo) {
    frm.LoadConfig();
    EXPECT_EQ(frm.edtBD->text(), "");
    EXPECT_EQ(frm.edtRede->text(), "");
    EXPECT_EQ(frm.edtTemp->text(), "");
    EXPECT_EQ(frm.edtColunas->text(), "");  // the design "0" is replaced
    EXPECT_TRUE(frm.edtppla->isChecked());
    EXPECT_EQ(frm.edtImpressora->ItemIndex(), 0);
    EXPECT_EQ(frm.edtModelo->currentIndex(), 0);
    EXPECT_EQ(frm.edtModelo->currentText().toStdString(), LinhasModelo()[0]);
    EXPECT_EQ(frm.edtRatio->ItemIndex(), 1);    // "2"
    EXPECT_EQ(frm.edttipobar->ItemIndex(), 0);  // "cod Bar"
    EXPECT_FALSE(frm.chkGrade->isChecked());
    EXPECT_FALSE(frm.chkImportVitrinex->isChecked());
    EXPECT_TRUE(frm.btnAtualizabase->isHidden());
    EXPECT_EQ(frm.TextoUltimaData(), "  -  -    ");
    EXPECT_FALSE(pasta.Existe("configEtq.ini"));  // reading creates nothing
}

TEST_F(ConfigPainelTest, ConfirmaGravaCadaChaveERecarrega) {
    frm.edtBD->setText("/dados/loja ção.fdb");
    frm.edtRede->setText("TCP:192.168.0.9:9100");
    frm.edtzpl->setChecked(true);
    frm.edtImpressora->SetItemIndex(1);
    frm.edtModelo->setCurrentIndex(44);
    frm.edtTemp->setText("12");
    frm.edtColunas->setText("-15");
    frm.edtRatio->SetItemIndex(2);
    frm.edttipobar->SetItemIndex(4);
    frm.edtTokenVitrinex->setText("tok-123");
    frm.edtRegTrafego->setText("500");
    frm.chkImportVitrinex->setChecked(true);
    frm.chkGrade->setChecked(true);
    frm.edtUltimaData->setText("05-03-2026");
    const TConfigPainel antes = frm.ConfigDoPainel();

    frm.SpeedButton1Click();

    const std::vector<std::pair<std::string, std::string>> esperado = {
        {"PATH MERKOR", "/dados/loja ção.fdb"},
        {"PATH REDE", "TCP:192.168.0.9:9100"},
        {"TEMPERATURA", "12"},
        {"ADDCOLUNA", "-15"},
        {"MODELO PRINT", LinhasModelo()[44]},
        {"MODELO PRINT INDEX", "44"},
        {"TokenVitrinex", "tok-123"},
        {"RegTrafego", "500"},
        {"edtRatio", "3"},
        {"edttipobar", "4"},
        {"ImportVitrinex", "SIM"},
        {"chkGrade", "SIM"},
        {"MODELO IMPRESSORA", "ELGIN"},
        {"MODELO", "ZPL"},
        {"data_inicio_at", "05-03-2026"},
    };
    for (const auto& [chave, valor] : esperado) EXPECT_EQ(LerConfig(chave), valor) << chave;
    EXPECT_EQ(SoNumeros(LerConfig("MODELO PRINT").substr(0, 4)), "45");

    // A fresh window shows the same.
    TfrmPrincipal outra{{}};
    outra.LoadConfig();
    EXPECT_EQ(outra.ConfigDoPainel(), antes);
    EXPECT_EQ(outra.edtRatio->Item(2)->text(), "3");
    EXPECT_TRUE(outra.btnAtualizabase->isVisibleTo(&outra));
}

struct CasoChave {
    std::string linha;
    bool importa;
    bool grade;
};

void PrintTo(const CasoChave& c, std::ostream* os) { *os << Linhas(c.linha); }

class ChavesSimTest : public ConfigPainelTest, public ::testing::WithParamInterface<CasoChave> {};

TEST_P(ChavesSimTest, SoSIMMaiusculoLigaAOpcao) {
    Config(GetParam().linha);
    frm.LoadConfig();
    EXPECT_EQ(frm.chkImportVitrinex->isChecked(), GetParam().importa);
    EXPECT_EQ(frm.btnAtualizabase->isVisibleTo(&frm), GetParam().importa);
    EXPECT_EQ(frm.chkGrade->isChecked(), GetParam().grade);
}

INSTANTIATE_TEST_SUITE_P(Valores, ChavesSimTest,
                         ::testing::Values(CasoChave{"ImportVitrinex=sim\r\nchkGrade=Sim\r\n", false, false},
                                           CasoChave{"importvitrinex=SIM\r\nCHKGRADE=SIM\r\n", true, true},
                                           CasoChave{"ImportVitrinex=NAO\r\nchkGrade=S\r\n", false, false}));

TEST_F(ConfigPainelTest, LinguagemEImpressoraComparadasExatamente) {
    frm.edtepl2->setChecked(true);
    Config("MODELO=ppla\r\nMODELO IMPRESSORA=elgin\r\n");
    frm.LoadConfig();
    EXPECT_TRUE(frm.edtepl2->isChecked());  // left as it was
    EXPECT_EQ(frm.edtImpressora->ItemIndex(), 0);
    Config("MODELO=PPLB\r\nMODELO IMPRESSORA=ELGIN\r\n");
    frm.LoadConfig();
    EXPECT_TRUE(frm.edtpplb->isChecked());
    EXPECT_EQ(frm.edtImpressora->ItemIndex(), 1);
}

TEST_F(ConfigPainelTest, RecargaTrocaOTextoDigitadoPelaLinhaGravada) {
    Config("MODELO PRINT INDEX=5\r\n");
    frm.LoadConfig();
    frm.edtModelo->setEditText("digitado");
    frm.LoadConfig();
    EXPECT_EQ(frm.edtModelo->currentText().toStdString(), LinhasModelo()[5]);
}

TEST_F(ConfigPainelTest, ModeloDigitadoSemLinhaVoltaComoTexto) {
    frm.edtModelo->setEditText("45 - minha etiqueta");
    frm.SpeedButton1Click();
    EXPECT_EQ(LerConfig("MODELO PRINT INDEX"), "-1");
    TfrmPrincipal outra{{}};
    outra.LoadConfig();
    EXPECT_EQ(outra.edtModelo->currentText(), "45 - minha etiqueta");
    EXPECT_EQ(outra.edtModelo->currentIndex(), -1);
}

struct CasoInvalido {
    std::string linha;
    std::string mensagem;
};

void PrintTo(const CasoInvalido& c, std::ostream* os) { *os << Linhas(c.linha); }

class ValorInvalidoTest : public ConfigPainelTest, public ::testing::WithParamInterface<CasoInvalido> {};

TEST_P(ValorInvalidoTest, FalhaDeConversaoNaoMexeNoPainel) {
    frm.LoadConfig();
    frm.edtBD->setText("digitado");
    const TConfigPainel antes = frm.ConfigDoPainel();
    Config("PATH MERKOR=outro.fdb\r\nImportVitrinex=SIM\r\n" + GetParam().linha);
    try {
        frm.LoadConfig();
        FAIL() << "sem falha";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().mensagem);
    }
    EXPECT_EQ(frm.ConfigDoPainel(), antes);
    EXPECT_TRUE(frm.btnAtualizabase->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Chaves, ValorInvalidoTest,
    ::testing::Values(
        CasoInvalido{"edtRatio=x\r\n", "configEtq.ini, chave edtRatio: 'x' não é um valor inteiro válido"},
        CasoInvalido{"edttipobar=2a\r\n", "configEtq.ini, chave edttipobar: '2a' não é um valor inteiro válido"},
        CasoInvalido{"MODELO PRINT INDEX=abc\r\n",
                     "configEtq.ini, chave MODELO PRINT INDEX: 'abc' não é um valor inteiro válido"}));

TEST_F(ConfigPainelTest, ArquivoQueNaoSePodeGravarFicaInteiro) {
    Config("PATH MERKOR=antigo.fdb\r\n");
    const std::string antigo = pasta.Ler("configEtq.ini");
    frm.NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
    frm.btnConfigClick();
    frm.edtBD->setText("novo.fdb");
    // The new file is written beside the old one first; a folder in its way makes that fail.
    std::filesystem::create_directory(pasta.Arquivo("configEtq.ini.tmp"));
    EXPECT_THROW(frm.SpeedButton1Click(), Exception);
    EXPECT_EQ(pasta.Ler("configEtq.ini"), antigo);
    // Still in the panel, with what was typed.
    EXPECT_TRUE(frm.pnlConfig->isVisibleTo(&frm));
    EXPECT_EQ(frm.size(), QSize(1090, 560).boundedTo(frm.AreaDisponivel().size()));
    EXPECT_EQ(frm.edtBD->text(), "novo.fdb");
}

}  // namespace

namespace {

// The chosen model's picture beside the model list: drawn after the panel
// shows, with the size line, the languages and the warning; a model that
// cannot be drawn (09 without a shop to read its format from) shows the
// reason in place of the picture.
TEST_F(ConfigPainelTest, GaleriaDoModeloEscolhido) {
    Config("MODELO=PPLA\r\nMODELO PRINT INDEX=10\r\n");
    frm.NomeComputador = [] { return std::string(kEstacaoDesenvolvimento); };
    frm.btnConfigClick();
    ASSERT_EQ(frm.edtModelo->currentText().toStdString(), LinhasModelo()[10]);
    EXPECT_TRUE(frm.pnlGaleria->lblTamanho->text().isEmpty()) << "desenhada depois que o painel aparece";
    QCoreApplication::processEvents();

    struct Caso {
        int indice;
        QRadioButton* linguagem;
        bool figura;
        std::string tamanho, escrito, aviso;
    };
    const Caso casos[] = {
        {10, frm.edtppla, true, "Etiqueta térmica: 33 x 22 mm, 3 por linha (passo 36 mm)",
         "Escrito para PPLA; configurada: PPLA.", ""},
        {10, frm.edtzpl, true, "Etiqueta térmica: 33 x 22 mm, 3 por linha (passo 36 mm)",
         "Escrito para PPLA; configurada: ZPL.",
         "Atenção: o modelo foi escrito para PPLA e a impressora está em ZPL; confira a etiqueta antes de imprimir em "
         "quantidade."},
        {18, frm.edtppla, true, "Etiqueta gôndola: 1 por linha", "Escrito para PPLA; configurada: PPLA.", ""},
        {25, frm.edtppla, true, "Folha A4, 3 etiquetas por linha",
         "Impressa pela folha A4, sem linguagem de impressora.", ""},
        {8, frm.edtppla, false, "Etiqueta formato do banco: etiquetas por linha conforme o formato do banco",
         "Escrito para PPLA; configurada: PPLA.", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.indice);
        c.linguagem->setChecked(true);
        frm.edtModelo->setCurrentIndex(c.indice);
        QCoreApplication::processEvents();
        const QLabel* figura = frm.pnlGaleria->lblFigura;
        EXPECT_EQ(!figura->pixmap().isNull(), c.figura);
        if (c.figura) {
            EXPECT_LE(figura->pixmap().width(), figura->width());
            EXPECT_LE(figura->pixmap().height(), figura->height());
        } else {
            EXPECT_EQ(figura->text().toStdString().rfind("Não foi possível desenhar o modelo 09: ", 0), 0u)
                << figura->text().toStdString();
        }
        EXPECT_EQ(frm.pnlGaleria->lblTamanho->text().toStdString(), c.tamanho);
        EXPECT_EQ(frm.pnlGaleria->lblLinguagem->text().toStdString(), c.escrito);
        EXPECT_EQ(frm.pnlGaleria->lblAviso->text().toStdString(), c.aviso);
    }
}

}  // namespace
