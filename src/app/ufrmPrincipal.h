#pragma once
// The main window: the "Etiquetas" action, the exit, and the configuration
// panel behind the password of the day, with the printer test and the
// catalogue import.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QGroupBox>
#include <QWidget>

#include "app/ConfigPainel.h"
#include "app/ImportaCatalogo.h"
#include "app/JanelaPrimeiroUso.h"
#include "app/Parametros.h"
#include "app/SenhaDoDia.h"
#include "etq/CdbETQ.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class TGaleriaPainel;
class TJanelaMercadorias;
class TModulosDados;

// A captioned group of exclusive radio items with an item index (-1: none).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& titulo, const QStringList& itens, int colunas, QWidget* pai);
    int ItemIndex() const;
    void SetItemIndex(int i);
    QRadioButton* Item(int i) const { return itens_[i]; }
    int Itens() const { return static_cast<int>(itens_.size()); }

private:
    std::vector<QRadioButton*> itens_;
};

class TfrmPrincipal : public QWidget {
    Q_OBJECT
public:
    // `argumentos` without the program name (FormCreate).
    explicit TfrmPrincipal(const std::vector<std::string>& argumentos, QWidget* pai = nullptr);
    ~TfrmPrincipal() override;

    std::string ParamAcesso;
    std::string ParamModelo;

    // Main window
    QToolButton* btnSair;
    QToolButton* btnEtiquetas;
    QToolButton* btnConfig;
    QToolButton* btnAtualizabase;
    // "N mercadorias com etiqueta de preço desatualizado": opens the goods
    // window with that box checked; hidden while the count is 0 or unknown.
    QPushButton* btnDesatualizadas;
    QFrame* pnlConfig;
    QScrollArea* scrConfig;  // the panel's page, scrolled on a small screen
    QWidget* pnlConteudo;    // the page: the controls at their places
    TCdbETQ CdbETQ;

    // Configuration panel
    QLabel* Label1;
    QLineEdit* edtBD;
    QLabel* Label2;
    QLineEdit* edtRede;
    QComboBox* edtModelo;
    QRadioButton* edtppla;
    QRadioButton* edtpplb;
    QRadioButton* edtzpl;
    QRadioButton* edtepl2;
    QLabel* Label3;
    QLineEdit* edtTemp;
    QLabel* Label4;
    QLineEdit* edtColunas;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    TRadioGroup* edtImpressora;
    QCheckBox* chkGrade;
    QCheckBox* chkImportVitrinex;
    QLabel* Label10;
    QLineEdit* edtTokenVitrinex;
    QLabel* Label11;
    QLineEdit* edtRegTrafego;
    QLabel* Label12;
    QLineEdit* edtUltimaData;
    QLabel* lblArquivoConfig;         // which configEtq.ini the panel reads and saves
    QLineEdit* edtNomeLoja;           // NOME LOJA
    QLineEdit* edtTextoLoja;          // TEXTO LOJA
    QLineEdit* edtLimiteConfirmacao;  // LIMITE CONFIRMACAO
    QGroupBox* GroupBox1;
    TRadioGroup* edtRatio;
    TRadioGroup* edttipobar;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QPlainTextEdit* memotmp;
    QPushButton* Button1;
    TGaleriaPainel* pnlGaleria;  // picture of the chosen model
    QPushButton* btnEditor09;    // "Editor de etiqueta (modelo 09)"

    // Printer test
    QPushButton* Button2;
    QLineEdit* edtL;
    QLineEdit* edtCol;
    QLineEdit* edtAlt;
    QLineEdit* qtdCol;
    QLineEdit* codBar;
    QLineEdit* modBar;
    QLineEdit* edtEntCol;
    QCheckBox* chkPrintNbar;
    QCheckBox* chkPrintTexto;

    // What the window works with; installed by the program entry (or a test).
    void DefinirModulosDados(TModulosDados* modulos) { modulos_ = modulos; }
    void DefinirJanelaMercadorias(TJanelaMercadorias* janela) { mrgMercadoriasBD_ = janela; }
    TJanelaMercadorias* JanelaMercadorias() const { return mrgMercadoriasBD_; }
    std::function<std::string()> NomeComputador;
    std::function<TDateTime()> Hoje;
    std::function<QRect()> AreaDisponivel;  // the screen's room for the window
    // The first-start window, shown by "Etiquetas" while no database is configured.
    std::function<TfrmPrimeiroUso::TEscolha()> PrimeiroUso;
    TPedeTexto PedeTexto;  // the input box of the gate
    TAmbienteImportacao AmbienteImportacao;
    // Counts the goods with a stale label; runs on a thread of its own (empty: no line).
    std::function<int64_t()> ContarDesatualizadas;
    // A count slower than this is not shown: the line never waits on the database.
    int LimiteContagemMs = 10000;

    // Operations, named as the shop's developers know them.
    void FormActivate();
    void btnEtiquetasClick();
    void btnSairClick();
    void btnConfigClick();
    void btnAtualizabaseClick();
    void LoadConfig();
    void SpeedButton1Click();  // Confirma: writes the panel to configEtq.ini, back to the small window
    void SpeedButton2Click();  // Cancela: back to the small window, nothing written
    void SpeedButton3Click();  // Como calibrar Zebra - GC420 T: the calibration steps in a box
    void SpeedButton4Click();  // Como calibrar Zebra - outro modelo: the calibration steps in a box
    void SpeedButton5Click();  // Como calibrar Bematech LB-1000: the calibration steps in a box
    void Button1Click();       // Ajusta Base de dados: the ICMS tax adjustment of the shop database
    void Button2Click();       // Teste Cod Barras / Texto: one test label with the panel's barcode values
    void btnEditor09Click();   // the model 09 label editor
    void btnDesatualizadasClick();
    // Counts the stale labels in the background; the line shows the result.
    void ContarDesatualizadasAoFundo();
    bool ContandoDesatualizadas() const { return contando_; }

    // The panel's controls as one value, and back.
    TConfigPainel ConfigDoPainel() const;
    void MostraConfigPainel(const TConfigPainel& c);
    std::string TextoUltimaData() const;

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void CriarPainel();
    void AtualizarGaleria();
    void CriarTeste();
    void EstadoNormal();
    void ProgramaMudouDeEstado(Qt::ApplicationState estado);
    void Ativada();  // FormActivate from the window system, failures reported

    TModulosDados* modulos_ = nullptr;
    TJanelaMercadorias* mrgMercadoriasBD_ = nullptr;
    bool acessoDireto_ = false;
    bool voltaDeOutroPrograma_ = false;
    bool ativada_ = false;
    std::string falhaAtivacao_;
    void MostrarDesatualizadas(std::optional<int64_t> n);
    std::thread contagem_;
    bool contando_ = false;
    bool contouNaAbertura_ = false;
};
