#pragma once
// Qt side of the helpers: the Yes/No question, the application-wide failure
// handler and the application object that keeps failures inside the event loop.
#include <exception>
#include <functional>
#include <string>

#include <QApplication>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// Text between the core (UTF-8 std::string) and the widgets.
inline QString ParaQString(const std::string& s) { return QString::fromStdString(s); }
inline std::string ParaStd(const QString& s) { return s.toStdString(); }

// Where a window of geometry `janela` stands so that it fits in `tela` (the
// screen's free area), moving it as little as possible; one larger than the
// area keeps its top left corner on it.
QPoint PosicaoDentroDaTela(const QRect& janela, const QRect& tela);

// Yes/No box titled "Confirmação" with a question icon; true for Yes.
bool ConfirmaAcao(const std::string& pergunta);

// Shows the failure's message in a box titled "Erro de sistema" and returns;
// the operation that failed is abandoned and the program goes on.
void erros_de_sistema(QObject* sender, const std::exception& falha);

// The handler in force for failures no operation catches. Before TFuncoes
// exists the message goes to standard error.
using TTratadorFalhas = std::function<void(QObject* sender, const std::exception& falha)>;
void TratarFalha(QObject* sender, const std::exception& falha);
void TratarFalhaDesconhecida(QObject* sender);

// Runs `acao` and hands whatever it throws to the handler: slots call it at
// their boundary so no exception unwinds through Qt.
template <typename F>
void Protegido(QObject* sender, F&& acao) {
    try {
        acao();
    } catch (const std::exception& e) {
        TratarFalha(sender, e);
    } catch (...) {
        TratarFalhaDesconhecida(sender);
    }
}

// A window's activation work (FormActivate) run as Protegido does, but the
// same failure is reported once in a row: closing its box activates the
// window again, which would bring it round in an endless round of boxes.
// `ultima` keeps the message of the last failure; a run that succeeds clears it.
template <typename F>
void AtivacaoProtegida(QObject* janela, std::string& ultima, F&& acao) {
    try {
        acao();
        ultima.clear();
    } catch (const std::exception& falha) {
        if (falha.what() == ultima) return;
        ultima = falha.what();
        TratarFalha(janela, falha);
    } catch (...) {
        TratarFalhaDesconhecida(janela);
    }
}

// The module that installs erros_de_sistema for the whole program while it
// lives (caption "Funcoes", never shown).
class TFuncoes : public QObject {
    Q_OBJECT
public:
    explicit TFuncoes(QObject* parent = nullptr);
    ~TFuncoes() override;

private:
    TTratadorFalhas anterior_;
};

// Installs another handler; returns the one it replaces. Empty restores the
// plain one (standard error).
TTratadorFalhas DefinirTratadorFalhas(TTratadorFalhas tratador);

// The application object: every event goes through notify(), which catches what
// an event handler throws, so no failure ends the program.
class TAplicacao : public QApplication {
    Q_OBJECT
public:
    TAplicacao(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};
