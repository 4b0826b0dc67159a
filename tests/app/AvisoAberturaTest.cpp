#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "AuxiliarTeste.h"
#include "app/InterfaceUsuarioQt.h"
#include "app/uFrmAvisoAbertura.h"

namespace {

TEST(AvisoAbertura, Aparencia) {
    TfrmAvisoAbertura frm;
    EXPECT_EQ(frm.windowTitle(), " ");
    EXPECT_EQ(frm.size(), QSize(249, 119));
    EXPECT_EQ(frm.lbltexto->text(), "Aguarde ...");
    EXPECT_EQ(frm.lbltexto->pos(), QPoint(96, 24));
    EXPECT_TRUE(frm.lbltexto->font().bold());
    EXPECT_TRUE(frm.lbltexto->font().italic());
    EXPECT_EQ(frm.lbltexto->font().pixelSize(), 19);
    EXPECT_EQ(frm.Image1->geometry(), QRect(16, 16, 41, 41));
    EXPECT_EQ(frm.p->geometry(), QRect(16, 88, 215, 16));
    EXPECT_EQ(frm.p->minimum(), 0);
    EXPECT_EQ(frm.p->maximum(), 20);
    EXPECT_EQ(frm.Timer1->interval(), 250);
    EXPECT_FALSE(frm.Timer1->isActive());
    EXPECT_EQ(frm.cursor().shape(), Qt::WaitCursor);
}

TEST(AvisoAbertura, BarraVoltaAoZeroEm20) {
    TfrmAvisoAbertura frm;
    for (int i = 0; i < 19; ++i) frm.Timer1Timer();
    EXPECT_EQ(frm.p->value(), 19);
    frm.Timer1Timer();
    EXPECT_EQ(frm.p->value(), 0);
}

TEST(AvisoAbertura, RelogioSoCorreComAJanelaVisivel) {
    TfrmAvisoAbertura frm;
    frm.show();
    EXPECT_TRUE(frm.Timer1->isActive());
    frm.hide();
    EXPECT_FALSE(frm.Timer1->isActive());
}

}  // namespace

namespace {

TEST(InterfaceUsuarioQt, AguardeEMensagens) {
    TfrmAvisoAbertura aguarde;
    TInterfaceUsuarioQt iu(aguarde);
    iu.MostraAguarde();
    EXPECT_TRUE(aguarde.isVisible());
    EXPECT_TRUE(aguarde.Timer1->isActive());
    iu.RepintaAguarde();
    iu.EscondeAguarde();
    EXPECT_FALSE(aguarde.isVisible());
    EXPECT_FALSE(aguarde.Timer1->isActive());

    auto caixa = ResponderCaixa(QMessageBox::Ok);
    iu.Mensagem("Desliga a impressora\r\nSolta o botão");
    ASSERT_TRUE(caixa->vista);
    EXPECT_EQ(caixa->texto, "Desliga a impressora\nSolta o botão");
    EXPECT_EQ(caixa->icone, QMessageBox::Information);
}

}  // namespace
