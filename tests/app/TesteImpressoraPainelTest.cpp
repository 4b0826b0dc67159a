// The panel's printer test, down to the bytes that reach a file port.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "AuxiliarTeste.h"
#include "app/ufrmPrincipal.h"
#include "common/gui/FuncoesGui.h"

namespace {

const std::string STX = "\x02";

std::string Ppla(const std::vector<std::string>& campos) {
    std::string s = STX + "L\r" + STX + "V0\r" + STX + "m\r" + STX + "Q\r" + "H10\r" + "D11\r";
    for (const auto& c : campos) s += c + "\r";
    return s + "Q0001\r" + "E\r" + STX + "f220\r" + STX + "Q\r";
}

struct CasoTeste {
    const char* nome;
    bool texto;
    bool numeros;
    const char* colunas;
    std::vector<std::string> campos;
};

void PrintTo(const CasoTeste& c, std::ostream* os) { *os << c.nome; }

class TesteImpressoraPainel : public ::testing::TestWithParam<CasoTeste> {
protected:
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};
};

TEST_P(TesteImpressoraPainel, GravaOFluxoNaPortaArquivo) {
    const auto& c = GetParam();
    frm.edtRede->setText(QString::fromStdString("FILE:" + pasta.Arquivo("saida.prn")));
    frm.edtTemp->setText("10");
    frm.edtppla->setChecked(true);
    frm.chkPrintTexto->setChecked(c.texto);
    frm.chkPrintNbar->setChecked(c.numeros);
    frm.qtdCol->setText(c.colunas);
    frm.Button2Click();
    EXPECT_EQ(pasta.Ler("saida.prn"), Ppla(c.campos));
    EXPECT_FALSE(frm.CdbETQ.Ativo());
    EXPECT_EQ(frm.CdbETQ.Modelo(), etqPpla);
}

INSTANTIATE_TEST_SUITE_P(Campos, TesteImpressoraPainel,
                         ::testing::Values(
                             // the panel's defaults: the text at 3 mm, 3 mm
                             CasoTeste{"Texto",
                                       true,
                                       true,
                                       "1",
                                       {"121100000300030"
                                        "7893156253569"}},
                             CasoTeste{"BarrasComNumeros",
                                       false,
                                       true,
                                       "1",
                                       {"1F2208000300030"
                                        "7893156253569"}},
                             CasoTeste{"BarrasSemNumeros",
                                       false,
                                       false,
                                       "1",
                                       {"1f2232000300030"
                                        "7893156253569"}},
                             CasoTeste{"TresColunas",
                                       true,
                                       true,
                                       "3",
                                       {"121100000300030"
                                        "7893156253569",
                                        "121100000300330"
                                        "7893156253569",
                                        "121100000300630"
                                        "7893156253569"}},
                             CasoTeste{"NenhumaColuna", true, true, "0", {}}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(TesteImpressoraCampoInvalido, MensagemDeConversaoENadaEnviado) {
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TfrmPrincipal frm{{}};
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    frm.edtRede->setText(QString::fromStdString("FILE:" + pasta.Arquivo("saida.prn")));
    struct {
        QLineEdit* campo;
        const char* valor;
        const char* mensagem;
    } casos[] = {
        {frm.edtTemp, "", "Temperatura: '' não é um valor inteiro válido"},
        {frm.qtdCol, "um", "qtd Colunas: 'um' não é um valor inteiro válido"},
        {frm.edtAlt, "2,5", "Altura: '2,5' não é um valor inteiro válido"},
        {frm.edtEntCol, "30mm", "entre colunas: '30mm' não é um valor inteiro válido"},
        {frm.qtdCol, "2147483647", "qtd Colunas: 2147483647 colunas não cabem numa etiqueta (use no máximo 99)"},
    };
    for (auto& c : casos) {
        frm.edtTemp->setText("10");
        frm.qtdCol->setText("1");
        frm.edtAlt->setText("20");
        frm.edtEntCol->setText("30");
        c.campo->setText(c.valor);
        falhas.clear();
        frm.Button2->click();
        EXPECT_EQ(falhas, std::vector<std::string>{c.mensagem});
        EXPECT_FALSE(pasta.Existe("saida.prn")) << c.valor;
    }
    DefinirTratadorFalhas(anterior);
}

}  // namespace
