#pragma once
// "Visualizar etiquetas": the label images of the current queue as the
// configured model and language would print them, on screen, before anything
// is sent. The window only shows; TPreviaImpressao runs the print into memory.
#include <QDialog>
#include <QImage>
#include <string>
#include <vector>

#include "previa/PreviaImpressao.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class TImpressaoEtiquetas;

class TfrmPreviaEtiquetas : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPreviaEtiquetas(QWidget* parent = nullptr);

    // Draws the print label by label, each image shown as soon as it is made;
    // closing the window stops the walk. Failures pass to the caller.
    void Executar(TImpressaoEtiquetas& impressao, int dpi = 203);

    // More than this many images are drawn but not kept on screen.
    static constexpr int kMaxNaTela = 300;

    int ImagensMostradas() const { return static_cast<int>(imagens_.size()); }
    const std::vector<QImage>& Imagens() const { return imagens_; }
    const previa::TResultadoPrevia& Resultado() const { return resultado_; }

    QLabel* lblResumo;
    QScrollArea* Rolagem;
    QPlainTextEdit* memoAvisos;
    QPushButton* btnFechar;

private:
    void Adicionar(const QImage& imagem, int indice);

    QVBoxLayout* lista_;
    std::vector<QImage> imagens_;
    previa::TResultadoPrevia resultado_;
};
