#include <gtest/gtest.h>

#include <new>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QInputDialog>
#include <QPushButton>
#include <QTimer>

#include "AuxiliarTeste.h"
#include "common/Excecoes.h"
#include "common/gui/FuncoesGui.h"

namespace {

// An object whose event handling fails, as any window's can.
class TObjetoQueFalha : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw EConvertError("'abc' não é um valor inteiro válido");
        if (e->type() == QEvent::User + 1) throw 42;
        return QObject::event(e);
    }
};

TEST(FuncoesGui, FalhaSemDonoApareceEmErroDeSistemaEOProgramaSegue) {
    TFuncoes funcoes;
    TObjetoQueFalha objeto;
    auto caixa = ResponderCaixa(QMessageBox::Ok);
    QEvent evento(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&objeto, &evento));
    ASSERT_TRUE(caixa->vista);
    EXPECT_EQ(caixa->titulo, "Erro de sistema");
    EXPECT_EQ(caixa->texto, "'abc' não é um valor inteiro válido");

    // The loop goes on: a later event is handled normally.
    bool rodou = false;
    QTimer::singleShot(0, [&] { rodou = true; });
    QCoreApplication::processEvents();
    EXPECT_TRUE(rodou);
}

TEST(FuncoesGui, FalhaDentroDoLacoDeEventos) {
    TFuncoes funcoes;
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    TObjetoQueFalha objeto;
    QCoreApplication::postEvent(&objeto, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&objeto, new QEvent(static_cast<QEvent::Type>(QEvent::User + 1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(falhas, (std::vector<std::string>{"'abc' não é um valor inteiro válido", "Erro desconhecido"}));
    DefinirTratadorFalhas(anterior);
}

// Every closed failure box activates the window again: a failure repeated in
// a row is reported once, a different one or the same after a success again.
TEST(FuncoesGui, AtivacaoProtegidaAvisaCadaFalhaUmaVezSeguida) {
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    QObject janela;
    std::string ultima;
    struct Caso {
        const char* falha;  // nullptr: the activation succeeds
        std::vector<std::string> avisadas;
    };
    const Caso casos[] = {
        {"A", {"A"}},          {"A", {"A"}},           {"B", {"A", "B"}},           {"B", {"A", "B"}},
        {nullptr, {"A", "B"}}, {"B", {"A", "B", "B"}}, {"A", {"A", "B", "B", "A"}},
    };
    for (const Caso& c : casos) {
        AtivacaoProtegida(&janela, ultima, [&] {
            if (c.falha) throw Exception(c.falha);
        });
        EXPECT_EQ(falhas, c.avisadas) << (c.falha ? c.falha : "sem falha");
    }
    // Anything not an exception of the library is reported every time.
    for (int i = 0; i < 2; ++i) AtivacaoProtegida(&janela, ultima, [] { throw 42; });
    EXPECT_EQ(falhas.size(), 6u);
    EXPECT_EQ(falhas.back(), "Erro desconhecido");
    DefinirTratadorFalhas(anterior);
}

TEST(FuncoesGui, TFuncoesInstalaEDevolveOTratador) {
    std::vector<std::string> falhas;
    TTratadorFalhas anterior =
        DefinirTratadorFalhas([&](QObject*, const std::exception& e) { falhas.push_back(e.what()); });
    {
        TFuncoes funcoes;
        EXPECT_EQ(funcoes.objectName(), "Funcoes");
        auto caixa = ResponderCaixa(QMessageBox::Ok);
        TratarFalha(nullptr, Exception("primeira"));
        EXPECT_TRUE(caixa->vista);
        EXPECT_TRUE(falhas.empty());
    }
    TratarFalha(nullptr, Exception("segunda"));
    EXPECT_EQ(falhas, std::vector<std::string>{"segunda"});
    DefinirTratadorFalhas(anterior);
}

TEST(FuncoesGui, ConfirmaAcao) {
    for (auto [botao, esperado] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        auto caixa = ResponderCaixa(botao);
        EXPECT_EQ(ConfirmaAcao("Sair do sistema?"), esperado);
        ASSERT_TRUE(caixa->vista);
        EXPECT_EQ(caixa->titulo, "Confirmação");
        EXPECT_EQ(caixa->texto, "Sair do sistema?");
        EXPECT_EQ(caixa->icone, QMessageBox::Question);
    }
}

}  // namespace

TEST(FuncoesGui, BotoesEDialogosDoQtEmPortugues) {
    // The password prompt is a plain input dialog: its buttons come from Qt.
    QInputDialog senha;
    senha.setLabelText(QStringLiteral("Senha"));
    senha.show();
    QCoreApplication::processEvents();
    auto* botoes = senha.findChild<QDialogButtonBox*>();
    ASSERT_NE(botoes, nullptr);
    ASSERT_NE(botoes->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(botoes->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
    senha.reject();
}

TEST(FuncoesGui, FalhaDaBibliotecaPadraoApareceEmPortugues) {
    TFuncoes funcoes;
    auto caixa = ResponderCaixa(QMessageBox::Ok);
    TratarFalha(nullptr, std::bad_alloc());
    ASSERT_TRUE(caixa->vista);
    EXPECT_EQ(caixa->texto, "Memória insuficiente para concluir a operação");
}

// A window that grew past the screen's edge comes back whole onto it, moving
// no more than it must; one larger than the screen keeps its corner on it.
TEST(PosicaoDentroDaTela, TrazAJanelaDeVoltaATela) {
    const QRect tela(0, 0, 1366, 738);
    struct Caso {
        QRect janela;
        QPoint esperado;
    } casos[] = {
        {QRect(418, 244, 1090, 500), QPoint(276, 238)},  // the panel opened from a centred small window
        {QRect(100, 100, 530, 280), QPoint(100, 100)},   // fits: stays
        {QRect(-50, -20, 530, 280), QPoint(0, 0)},       // past the top left
        {QRect(300, 100, 1500, 900), QPoint(0, 0)},      // larger than the screen
    };
    for (const Caso& c : casos) EXPECT_EQ(PosicaoDentroDaTela(c.janela, tela), c.esperado) << c.janela.x();
    // a screen that does not start at 0 (a second monitor, a panel on the left)
    EXPECT_EQ(PosicaoDentroDaTela(QRect(2500, 100, 1090, 500), QRect(1366, 30, 1280, 994)), QPoint(1556, 100));
}
