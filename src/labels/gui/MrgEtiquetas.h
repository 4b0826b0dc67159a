#pragma once
// The label queue window "Etiqueta de produto": the batch in ETIQUETAREAD in
// a grid where the operator sets the label counts, the two add-edits, the
// stock import, the orders and incremental searches, the extra inputs some
// models need, and "Imprimir etiquetas". A thin shell: the queue operations
// are TFilaOperacoes, printing is TImpressaoEtiquetas, both without widgets.
#include <array>
#include <memory>
#include <utility>

#include <QDialog>

#include "interface/JanelaEtiquetas.h"
#include "labels/FilaOperacoes.h"
#include "labels/ImpressaoEtiquetas.h"
#include "labels/ResumoImpressao.h"
#include "labels/TotalFila.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
class TGradeFila;
class TModeloFila;
class TfrmProgressoImpressao;
class TfrmPreviaEtiquetas;
class TfrmHistoricoImpressoes;
class TdtmAplicativo;

class TmrgEtiquetas : public QDialog, public TJanelaEtiquetas {
    Q_OBJECT
public:
    // FormCreate. The window works on the application module's connection.
    explicit TmrgEtiquetas(TdtmAplicativo& dtm, QWidget* parent = nullptr);
    ~TmrgEtiquetas() override;

    // Applies the settings made before the show, shows modally, and reads
    // the instalment counts back.
    void ShowModal() override;

    // Datasets, component and print settings the layouts use.
    TImpressaoEtiquetas& Impressao() { return *imp_; }
    TFilaOperacoes& Operacoes() { return *ops_; }
    TModeloFila& ModeloGrade() { return *modelo_; }

    bool BloqueiaInclusao = false;

    // Controls, named as the operator's manual and the layouts know them.
    QFrame* Painel;
    QToolButton* btnSair;
    QRadioButton* rdCodigoRed;
    QRadioButton* rdCodigoBar;
    QRadioButton* rdNomeMer;
    QLabel* Label2;
    QLineEdit* edtRefAdd;
    QLabel* Label1;
    QLineEdit* edtBarrasAdd;
    QPushButton* btnImpQtdEst;
    QLineEdit* edtcodigo;
    QLineEdit* edtBarras;
    QLineEdit* edtDesc;
    TGradeFila* gridArg;
    QGroupBox* modModelo58;
    QButtonGroup* grupoModelo58;
    QLabel* lblbranco;
    QSpinBox* edtBranco;
    QLabel* lblParametro;
    QLineEdit* edtParametro;
    QLabel* lblPetiq;
    QSpinBox* EdtP1;
    QSpinBox* edtP2;
    QPushButton* btnEtiquetas;
    QPushButton* btnVisualizar;  // the labels on screen, nothing sent
    QPushButton* btnContinuar;   // "Continuar de onde parou": the labels a cut print did not deliver
    QPushButton* btnHistorico;   // the journal of prints
    QLabel* lblSituacao;         // how the last print ended, until the next one
    QLabel* lblTotal;            // "N linhas, M etiquetas" under the grid, always current
    QPlainTextEdit* memoTm;

    // The window appears while a thermal print runs (null otherwise).
    TfrmProgressoImpressao* Progresso() const { return progresso_.get(); }
    // The preview window of the last "Visualizar" (null before the first).
    TfrmPreviaEtiquetas* Previa() const { return previa_.get(); }
    // The journal window of the last "Histórico" (null before the first).
    TfrmHistoricoImpressoes* Historico() const { return historico_.get(); }

    // Event handlers.
    void FormActivate();
    void FormClose();
    void btnEtiquetasClick();
    void btnVisualizarClick();
    void btnContinuarClick();
    void btnHistoricoClick();
    void btnImpQtdEstClick();
    void btnSairClick();
    void edtBarrasAddKeyPress();        // Enter
    void edtRefAddKeyPress();           // Enter
    void OrdenarPor(TOrdemFila ordem);  // the radio buttons, a search edit taking the focus
    void ExcluirLinhaAtual();           // the grid's row deletion, after the question

public slots:
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CriarControles();
    void tblEtiquetaReadAfterInsert(TTabela& tabela);
    // The search edits and the column each searches.
    std::array<std::pair<QLineEdit*, TOrdemFila>, 3> Buscas() const;
    void Procurar(TOrdemFila coluna, const QString& texto);
    void Adicionado(TResultadoAdicao resultado, QLineEdit* edit);
    void RecarregarGrade();
    void MostrarLinhaAtual();
    void AoMudarLinhaDaGrade(int linha);
    void PostarDigitado();  // the cell editor's text and the row in edit, before printing or previewing
    void GravarDigitado();  // the row in edit posted and committed
    void Imprimir();
    // False (after saying so) when no model's routine would run: nothing is
    // opened, written or shown. `acao` ends the message ("impresso").
    bool ModeloValido(int modelo, const char* acao);
    void MostrarSituacao(const TResumoImpressao& resumo);
    void CopiarEntradas();  // the model inputs, as the layouts read them
    void Recontar();        // the queue's rows and labels counted again
    void MostrarTotal();
    int64_t FolhasDoModelo(int modelo) const;  // -1 for a thermal model
    // The question before a print above LIMITE CONFIRMACAO; false when the
    // operator said no.
    bool ConfirmarImpressaoGrande(int modelo);

    std::unique_ptr<TImpressaoEtiquetas> imp_;
    std::unique_ptr<TFilaOperacoes> ops_;
    TModeloFila* modelo_;
    std::unique_ptr<TfrmProgressoImpressao> progresso_;
    std::unique_ptr<TfrmPreviaEtiquetas> previa_;
    std::unique_ptr<TfrmHistoricoImpressoes> historico_;
    bool sincronizando_ = false;
    bool imprimindo_ = false;
    TTotalFila total_;
};
