#pragma once
// The picture of the chosen label model beside the model list of the
// configuration panel: one row of labels drawn from the model's own stream in
// the configured language (an A4 model as its page), the label size, the
// language it was written for and the one configured, and a warning when they
// differ. Drawn on demand, after the panel has shown, and kept per model and
// language; a model that cannot be drawn shows the reason.
#include <QFrame>
#include <memory>
#include <string>

class QLabel;
class TdtmAplicativo;
namespace previa {
class TGaleriaModelos;
}

class TGaleriaPainel : public QFrame {
public:
    explicit TGaleriaPainel(QWidget* pai);
    ~TGaleriaPainel() override;

    // The model line as the list shows it ("11 - PPLA ...") and the language
    // of the checked radio button ("" when none); the shop's name and text
    // line as the panel has them, saved or not. Drawing waits for the event loop.
    void Mostrar(const std::string& linhaModelo, const std::string& linguagem, const std::string& nomeLoja = "",
                 const std::string& textoLoja = "");
    // Draws what Mostrar asked for now (tests, screenshots).
    void DesenharAgora();

    QLabel* lblFigura = nullptr;
    QLabel* lblTamanho = nullptr;
    QLabel* lblLinguagem = nullptr;
    QLabel* lblAviso = nullptr;

private:
    std::unique_ptr<TdtmAplicativo> dtm_;
    std::unique_ptr<previa::TGaleriaModelos> galeria_;
    std::string linha_, linguagem_;
    std::string nomeLoja_, textoLoja_;            // asked for
    std::string nomeDesenhado_, textoDesenhado_;  // of the pictures kept
    bool pendente_ = false;
};
