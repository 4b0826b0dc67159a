#pragma once
// The goods window: a thin shell over TOpcoesMercadorias. Its controls give
// the options record; "Imprimir" hands it to TSelecaoMercadorias and then
// opens the label queue window on the new batch.
#include <QDialog>

#include <optional>
#include <string>

#include "app/JanelaMercadorias.h"
#include "data/fb/FbCliente.h"
#include "goods/LoteEtiquetas.h"
#include "goods/OpcoesMercadorias.h"
#include "interface/JanelaEtiquetas.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QToolButton;
class QWidget;
class TdtmAplicativo;
class TDtmMercadorias;
class TdtmFornecedores;
class TTabela;

class TMrgMercadoriasBD : public QDialog, public TJanelaMercadorias {
    Q_OBJECT
public:
    TMrgMercadoriasBD(TdtmAplicativo& aplicativo, TDtmMercadorias& mercadorias, TdtmFornecedores& fornecedores,
                      QWidget* pai = nullptr);
    ~TMrgMercadoriasBD() override;

    // "0" + digits of the program's second parameter (set by the program entry).
    std::string ParamModelo = "0";

    // Toolbar
    QToolButton* btnSair;
    QToolButton* btnImprimir;
    QProgressBar* Porcento;
    QToolButton* btnRepetir;  // "Repetir última seleção"

    // Ordem de listagem
    QGroupBox* grpOrdem;
    QRadioButton* rdCodigoRed;
    QRadioButton* rdCodigoBar;
    QRadioButton* rdNomeMer;

    // Seleção
    QGroupBox* grpSelecao;
    QCheckBox* chkCodRed;
    QLineEdit* edtCod1;
    QLineEdit* edtCod2;
    QCheckBox* chkBarras;
    QLineEdit* edtcodbarras;
    QCheckBox* chkDiferente;
    QLineEdit* edtDiferente;
    QCheckBox* chkNumero;
    QLineEdit* edtCodBar;
    QLineEdit* edtBar2;
    QCheckBox* chkListaCodBar;
    QPlainTextEdit* memoLista;
    QLabel* lbllista;
    QCheckBox* chkNome;
    QLineEdit* edtNome;
    QCheckBox* chkDepartamento;
    QComboBox* edtDepartamento;
    QCheckBox* chkFornecedor;
    QComboBox* edtFornecedor;
    QCheckBox* chkCodPers;
    QLineEdit* edtCodPers1;
    QLineEdit* edtCodPers2;
    QCheckBox* chkDepartComposta;
    QLineEdit* edtNomeDepart;
    QCheckBox* chksetor;
    QComboBox* edtSetor;
    QCheckBox* chkReferencia;
    QLineEdit* edtReferencia;
    QCheckBox* chkLocaliz;
    QLineEdit* edtLocaliz;
    QCheckBox* chkDataEmi;
    QDateEdit* edtData1;
    QDateEdit* edtData2;
    QCheckBox* chkEstoque;
    QCheckBox* chkEstoqueM0;
    QCheckBox* chkEstoque0;
    QCheckBox* chkEstoque2;
    QCheckBox* chkEstoqueM02;
    QCheckBox* chkEstoque02;
    QCheckBox* chkMinimo;
    QCheckBox* chkEstMax;
    QCheckBox* chkCodGer;
    QCheckBox* chkDesatualizada;    // "Somente com etiqueta desatualizada"
    QCheckBox* chkNuncaEtiquetada;  // "Somente nunca etiquetadas"
    QCheckBox* chkProEstoque;
    QRadioButton* rMarcados;
    QRadioButton* rDesmarcados;
    QCheckBox* chkProAtivos;
    QRadioButton* rbAtivos;
    QRadioButton* rbInativos;
    QWidget* grpGrade;
    QCheckBox* chkGrade;
    QRadioButton* rdSim;
    QRadioButton* rdNao;
    QCheckBox* chkPiscofins;
    QComboBox* edtPis;
    QCheckBox* chkICms;
    QComboBox* edtICMS;
    QCheckBox* chkNNota;
    QLineEdit* edtNNota;
    QCheckBox* chkDataCompra;
    QDateEdit* edtDtC1;
    QDateEdit* edtDtC2;

    // The controls as one value, and back (check boxes, the state of their
    // value controls, lookups chosen by key).
    TOpcoesMercadorias Opcoes() const;
    void MostrarOpcoes(const TOpcoesMercadorias& o);
    TSelecaoMercadorias& Selecao() { return selecao_; }

    // Operations, named as the shop's developers know them.
    void ShowModal() override;
    void FormActivate();
    void btnImprimirClick();
    void btnSairClick();
    void MONTAMODELO();
    void chama_print_etiqueta();
    void btnRepetirClick();  // the criteria of this workstation's last batch

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void CriarOrdem();
    void CriarSelecao();
    void Ativada();
    bool ControleDestaJanela(const QWidget* w) const;
    bool TeclaEnter(QWidget* foco);
    void PreencherListas();
    void Progresso(size_t lidas, size_t total);

    TdtmAplicativo& dtmAplicativo_;
    TDtmMercadorias& dtmMercadorias_;
    TdtmFornecedores& dtmFornecedores_;
    TSelecaoMercadorias selecao_;
    fb::TQuery qrySetor;
    bool ativadaNestaExibicao_ = false;
    bool filaAbertaNestaExibicao_ = false;
    std::string falhaGuardarSelecao_;  // why the last batch's criteria could not be kept
    bool maiusculasNome_ = true;
    size_t ultimoPasso_ = 0;
    // Enter taken by the open department list, until its key press arrives.
    struct TEnterDaLista {
        int tecla;
        quint64 instante;
    };
    std::optional<TEnterDaLista> enterDaLista_;
    std::string falhaAtivacao_;
};
