#pragma once
// Shared pieces of the application tests: a program folder of its own, a
// recording stand-in for the person at the screen, and a responder for the
// modal boxes the real Qt code shows.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include "common/InterfaceUsuario.h"
#include "common/UFuncoes.h"
#include "suporte/Suporte.h"

// A fresh program folder for each test; the real one comes back afterwards.
class TPastaPrograma {
public:
    TPastaPrograma() : caminho_(CriarPastaTemp("etiq_app")) { DefinirDiretorioSistema(caminho_ + "/"); }
    ~TPastaPrograma() {
        DefinirDiretorioSistema("");
        std::error_code ec;
        std::filesystem::remove_all(caminho_, ec);
    }
    std::string Dir() const { return caminho_ + "/"; }
    std::string Arquivo(const std::string& nome) const { return Dir() + nome; }
    void Gravar(const std::string& nome, const std::string& bytes) const { ::Gravar(Arquivo(nome), bytes); }
    std::string Ler(const std::string& nome) const { return LerTudo(Arquivo(nome)); }
    bool Existe(const std::string& nome) const { return std::filesystem::exists(Arquivo(nome)); }

private:
    std::string caminho_;
};

// Records what the program says and answers its questions, installed while it lives.
class TInterfaceTeste final : public TInterfaceUsuario {
public:
    TInterfaceTeste() { DefinirInterfaceUsuario(this); }
    ~TInterfaceTeste() override { DefinirInterfaceUsuario(nullptr); }

    std::vector<std::string> mensagens;
    std::vector<std::string> perguntas;
    bool resposta = false;
    int mostra = 0, repinta = 0, esconde = 0;
    std::function<void(const std::string&)> aoMostrarMensagem;

    void Mensagem(const std::string& texto) override {
        mensagens.push_back(texto);
        if (aoMostrarMensagem) aoMostrarMensagem(texto);
    }
    bool Confirma(const std::string& pergunta) override {
        perguntas.push_back(pergunta);
        return resposta;
    }
    void MostraAguarde() override { ++mostra; }
    void RepintaAguarde() override { ++repinta; }
    void EscondeAguarde() override { ++esconde; }
};

// What a modal box showed before the responder closed it.
struct TCaixaVista {
    bool vista = false;
    QString titulo, texto;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
};

// Runs `acao` once a window of kind W is the modal one.
template <class W>
void QuandoModal(std::function<void(W*)> acao) {
    auto* relogio = new QTimer(qApp);
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, relogio, [acao, relogio] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w) return;
        relogio->stop();
        relogio->deleteLater();
        acao(w);
    });
    relogio->start();
}

// Watches for the next modal message box, records it and presses `botao`.
inline std::shared_ptr<TCaixaVista> ResponderCaixa(QMessageBox::StandardButton botao) {
    auto vista = std::make_shared<TCaixaVista>();
    QuandoModal<QMessageBox>([vista, botao](QMessageBox* caixa) {
        vista->vista = true;
        vista->titulo = caixa->windowTitle();
        vista->texto = caixa->text();
        vista->icone = caixa->icon();
        caixa->button(botao)->click();
    });
    return vista;
}
