#pragma once
// "Editor de etiqueta (modelo 09)": the shop's own label design of the table
// FormatMrg, edited as a table of field rows beside a live picture of one
// row of labels drawn from model 09's own stream. A click in the picture
// picks the field row, the arrow keys move it by 1 mm, dragging by whole
// millimetres. "Salvar" writes the design in one transaction, "Descartar"
// reads it again. The logic lives in TEditorLeiaute09 and DesenharLeiaute09;
// this is their window.
#include <QDialog>
#include <QImage>
#include <functional>
#include <string>

#include "labels/EditorLeiaute09.h"
#include "previa/FiguraLeiaute09.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class TdtmAplicativo;

// The picture: the stream's image scaled to the widget, the labels' edges,
// the selected element framed. Clicks, drags and arrow keys go to the hooks.
class TFiguraEditor09 : public QWidget {
public:
    explicit TFiguraEditor09(QWidget* pai);
    void Definir(const previa::TFigura09* figura, int selecionado);
    // Widget point to image dots, and back.
    QPoint Dots(QPoint ponto) const;
    QPoint Ponto(QPoint dots) const;

    std::function<void(QPoint dots)> AoPressionar;
    std::function<void(QPoint deslocamentoDots)> AoArrastar;
    std::function<void()> AoSoltar;
    std::function<void(int tecla, bool shift)> AoTecla;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    double Escala() const;
    const previa::TFigura09* figura_ = nullptr;
    int selecionado_ = -1;
    bool arrastando_ = false;
    QPoint inicio_;
};

class TfrmLeiaute09 : public QDialog {
public:
    // `ambiente`: the printer language, brand and shift to draw for (the
    // configuration panel's); the goods are chosen in the window.
    TfrmLeiaute09(TdtmAplicativo& dtm, const previa::TAmbiente09& ambiente, QWidget* pai = nullptr);
    ~TfrmLeiaute09() override;

    QLineEdit* edtPorLinha;
    QLineEdit* edtPasso;
    QLineEdit* edtAltura;
    QComboBox* cmbMercadorias;
    QLabel* lblImpressora;
    QTableWidget* tblCampos;
    QComboBox* cmbNovoCampo;
    QPushButton* btnAdicionar;
    QPushButton* btnRemover;
    QPushButton* btnSubir;
    QPushButton* btnDescer;
    QLabel* lblVariante;
    TFiguraEditor09* pnlFigura;
    QListWidget* lstAvisos;
    QLabel* lblNota;
    QPushButton* btnSalvar;
    QPushButton* btnDescartar;
    QPushButton* btnFechar;

    TEditorLeiaute09& Editor() { return editor_; }
    const previa::TFigura09& Figura() const { return figura_; }
    double UltimoRedesenhoMs() const { return ultimoMs_; }

    // Reads the design from the table again (what "Descartar" does).
    void Recarregar();
    // Writes the design; false when nothing was written (the reason was told).
    bool Salvar();
    // After an edit made through Editor(): table and picture follow.
    void Atualizar();

    // The questions the window asks; tests answer them.
    std::function<bool(const std::string&)> Perguntar;  // Yes/No
    // On closing with unsaved changes: 0 save, 1 discard, 2 stay.
    std::function<int()> PerguntarAoFechar;

    // Closing (button, Esc, the window's own): asks first when there are unsaved changes.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void MostrarTabela();
    void Redesenhar();
    void CelulaMudou(int linha, int coluna);
    void CabecalhoMudou(QLineEdit* edt);
    void Tecla(int tecla, bool shift);
    void Pressionar(QPoint dots);
    void Arrastar(QPoint deslocamento);
    void TrocarMercadorias();
    void Nota(const std::string& texto);
    void Recusar(const std::string& erro);

    TdtmAplicativo& dtm_;
    previa::TAmbiente09 ambiente_;
    TEditorLeiaute09 editor_;
    previa::TFigura09 figura_;
    double ultimoMs_ = 0;
    bool mostrando_ = false;  // the table is being filled: its signals are not edits
    // Dragging: the row and where it was when the press began.
    int arrastado_ = -1;
    int vertical0_ = 0, horizontal0_ = 0;
    std::string notaCarga_;
};
