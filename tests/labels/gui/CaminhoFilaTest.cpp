// The whole road offscreen, with the real windows: "Etiquetas" on the main
// window -> goods options -> "Imprimir" -> the queue window on the new batch
// -> a count typed -> "Imprimir etiquetas" -> labels at the file port.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "FilaBanco.h"
#include "app/AuxiliarTeste.h"
#include "app/ModulosDadosReais.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/gui/FuncoesGui.h"
#include "goods/gui/UMrgMercadoriasBD.h"
#include "labels/gui/GradeFila.h"
#include "labels/gui/ModeloFila.h"
#include "labels/gui/MrgEtiquetas.h"
#include "suporte/Suporte.h"

namespace {

class CaminhoFila : public FilaBanco {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        FilaBanco::SetUp();
        saida = pasta_ + "/saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida}, {"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas"}});
        ExecutarAParte({"update mercadorias set pro_ativo = 'T'"});
        DefinirFabricaJanelaEtiquetasFila([this]() -> std::unique_ptr<TJanelaEtiquetas> {
            auto j = std::make_unique<TmrgEtiquetas>(modulos->dtmAplicativo, QApplication::activeModalWidget());
            j->Impressao().PausaMs = 0;
            return j;
        });
        anterior = DefinirTratadorFalhas([this](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
        modulos = std::make_unique<TModulosDadosReais>();
        mercadorias = std::make_unique<TMrgMercadoriasBD>(modulos->dtmAplicativo, modulos->DtmMercadorias,
                                                          modulos->dtmFornecedores);
    }
    void TearDown() override {
        DefinirTratadorFalhas(anterior);
        DefinirFabricaJanelaEtiquetasFila(nullptr);
        mercadorias.reset();
        modulos.reset();
        FilaBanco::TearDown();
        unsetenv("LC_ALL");
    }

    std::string saida;
    std::vector<std::string> falhas;
    TTratadorFalhas anterior;
    std::unique_ptr<TModulosDadosReais> modulos;
    std::unique_ptr<TMrgMercadoriasBD> mercadorias;
};

TEST_F(CaminhoFila, DaJanelaPrincipalAteAsEtiquetasImpressas) {
    TfrmPrincipal principal({});
    principal.DefinirModulosDados(modulos.get());
    principal.DefinirJanelaMercadorias(mercadorias.get());

    QStringList nomes, contagens;
    bool fechou = false;
    QuandoModal<TMrgMercadoriasBD>([&](TMrgMercadoriasBD* m) {
        QuandoModal<TmrgEtiquetas>([&](TmrgEtiquetas* fila) {
            TModeloFila& modelo = fila->ModeloGrade();
            const int nome = TModeloFila::ColunaDoCampo("NOME"), qtd = TModeloFila::ColunaDoCampo("QUANTIDADE");
            for (int i = 0; i < modelo.rowCount(); ++i) {
                nomes << modelo.data(modelo.index(i, nome)).toString();
                contagens << modelo.data(modelo.index(i, qtd)).toString();
            }
            // three labels of the first row, typed and printed at once
            const QModelIndex c = modelo.index(0, qtd);
            fila->gridArg->setCurrentIndex(c);
            fila->gridArg->edit(c);
            if (auto* editor = qobject_cast<QLineEdit*>(fila->gridArg->indexWidget(c))) {
                editor->selectAll();
                QTest::keyClicks(editor, "3");
            }
            fila->btnEtiquetas->click();
            fila->btnSair->click();
            fechou = true;
        });
        m->chkNome->click();
        QTest::keyClicks(m->edtNome, "ca");
        m->btnImprimir->click();
        m->btnSair->click();
    });
    principal.btnEtiquetas->click();
    principal.DefinirJanelaMercadorias(nullptr);

    EXPECT_TRUE(falhas.empty()) << (falhas.empty() ? "" : falhas.front());
    ASSERT_TRUE(fechou);
    // the new batch: the goods whose names begin with CA, no label yet
    EXPECT_EQ(nomes.join(';'), "CAFE PILAO;CAMISA");
    EXPECT_EQ(contagens.join(';'), "0;0");
    const std::string impresso = LerTudo(saida);
    EXPECT_NE(impresso.find("CAFE PILAO"), std::string::npos);
    EXPECT_EQ(impresso.find("CAMISA"), std::string::npos);
    EXPECT_EQ(LerConfig("modModelo58"), "0");
}

}  // namespace
