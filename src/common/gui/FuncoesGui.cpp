#include "common/gui/FuncoesGui.h"

#include <iostream>

#include <QAbstractButton>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTranslator>
#include <QWidget>

#include "common/Encerramento.h"
#include "common/ErroSistema.h"
#include "common/Excecoes.h"

namespace {

void TratadorTexto(QObject*, const std::exception& falha) { std::cerr << "Erro de sistema: " << falha.what() << "\n"; }

TTratadorFalhas& TratadorAtual() {
    static TTratadorFalhas tratador = TratadorTexto;
    return tratador;
}

QWidget* JanelaDona() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

}  // namespace

bool ConfirmaAcao(const std::string& pergunta) {
    QMessageBox caixa(QMessageBox::Question, QStringLiteral("Confirmação"), QString::fromStdString(pergunta),
                      QMessageBox::Yes | QMessageBox::No, JanelaDona());
    caixa.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
    caixa.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
    caixa.setDefaultButton(QMessageBox::Yes);
    return caixa.exec() == QMessageBox::Yes;
}

void erros_de_sistema(QObject*, const std::exception& falha) {
    QMessageBox caixa(QMessageBox::Critical, QStringLiteral("Erro de sistema"),
                      QString::fromStdString(MensagemDaFalha(falha)), QMessageBox::Ok, JanelaDona());
    caixa.exec();
}

TTratadorFalhas DefinirTratadorFalhas(TTratadorFalhas tratador) {
    TTratadorFalhas anterior = TratadorAtual();
    TratadorAtual() = tratador ? std::move(tratador) : TTratadorFalhas(TratadorTexto);
    return anterior;
}

void TratarFalha(QObject* sender, const std::exception& falha) {
    // While the program ends on a signal, the work it interrupts fails on
    // purpose: no box that would hold the ending up.
    if (EncerramentoPedido()) {
        std::cerr << "Encerrando: " << falha.what() << "\n";
        return;
    }
    // A failure while reporting must not take the program down either.
    try {
        TratadorAtual()(sender, falha);
    } catch (const std::exception& e) {
        std::cerr << "Erro de sistema: " << falha.what() << " (" << e.what() << ")\n";
    } catch (...) {
        std::cerr << "Erro de sistema: " << falha.what() << "\n";
    }
}

void TratarFalhaDesconhecida(QObject* sender) { TratarFalha(sender, Exception("Erro desconhecido")); }

TFuncoes::TFuncoes(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("Funcoes"));
    anterior_ = DefinirTratadorFalhas(erros_de_sistema);
}

TFuncoes::~TFuncoes() { DefinirTratadorFalhas(anterior_); }

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv) {
    // Brazilian Portuguese whatever the machine's locale (often only C): the
    // calendar's months and week days, Qt's numbers and dates, and Qt's own
    // buttons and dialogs ("Cancel", "OK", ...).
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brasil);
    auto* traducao = new QTranslator(this);
    if (traducao->load(brasil, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(traducao);
}

bool TAplicacao::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception& e) {
        TratarFalha(receptor, e);
    } catch (...) {
        TratarFalhaDesconhecida(receptor);
    }
    return false;
}

QPoint PosicaoDentroDaTela(const QRect& janela, const QRect& tela) {
    auto eixo = [](int pos, int tamanho, int inicio, int fim) {
        if (pos + tamanho > fim) pos = fim - tamanho;
        return pos < inicio ? inicio : pos;
    };
    // QRect's right() is the last pixel inside: the end is one past it.
    return {eixo(janela.x(), janela.width(), tela.left(), tela.right() + 1),
            eixo(janela.y(), janela.height(), tela.top(), tela.bottom() + 1)};
}
