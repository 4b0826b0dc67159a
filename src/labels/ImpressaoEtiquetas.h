#pragma once
// What the label queue window owns for printing, without the window: the
// queue table, the goods and format statements, the label printer component,
// the print settings the dispatcher hands to the layouts, and the values of
// the window's inputs that layouts read. The window (TmrgEtiquetas) holds one
// of these, copies its inputs into it before "Imprimir", and calls
// ImprimeEtiquetasPreConfigurada; etiquetas-cli and the tests do the same
// without any window.
//
// Hooks, all optional:
//   AoProgresso        after each print job: (labels sent, labels to send);
//                      answer false to stop before the next job. A stopped
//                      print still closes the component and lifts the filter.
//   Esperar            the pause after each print job (PausaMs, 500 ms; 0 for
//                      scripts and tests). A window may wait while it keeps
//                      repainting. A port that names a regular file is not
//                      paced (PausarEmArquivoComum: paced all the same).
//   Hoje               today's date for the labels that print it (tests fix it).
//   BuscaMercadorias   the goods look-up of the walk (the database by default).
//   AntesDeAtivar      after the settings reach the component and before it
//                      opens: the preview points it at memory instead of the port.
//   ArquivoPdf /
//   MostrarPrevia      output of the A4 models: a PDF file when ArquivoPdf is
//                      set, otherwise this preview hook, or when it is empty
//                      the preview the program installed (MostraPreviaA4).
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/Tabela.h"
#include "data/fb/FbCliente.h"
#include "etq/CdbETQ.h"
#include "labels/ContaDiario.h"
#include "labels/DiarioImpressao.h"
#include "labels/Mercadoria.h"

class TdtmAplicativo;
struct TFormularioA4;  // an A4 report form and its sheet rows (labels/a4/RelatorioA4.h)
class TFonteCelulas;

class TImpressaoEtiquetas {
public:
    // Works on the application module's connection and transaction.
    explicit TImpressaoEtiquetas(TdtmAplicativo& dtm);
    ~TImpressaoEtiquetas();
    TImpressaoEtiquetas(const TImpressaoEtiquetas&) = delete;
    TImpressaoEtiquetas& operator=(const TImpressaoEtiquetas&) = delete;

    TdtmAplicativo& dtm;

    // ETIQUETAREAD, in NOME order at start; the window's grid edits it.
    TTabela tblEtiquetaRead;
    // The goods statement (LinhasSelectMercadorias), positioned per queue row.
    fb::TQuery tblMercadorias;
    // FORMATMRG ("Select * from formatMrg" until Relatorio_format changes it).
    fb::TQuery qryFormat;
    // PPLA on "LPT1" until the dispatcher configures it.
    TCdbETQ CdbETQ;

    // Print settings, written by the dispatcher at every print.
    std::string ModeloImpressora;  // "ARGOX", "ELGIN" (model 09)
    int AddColuna = 0;             // horizontal shift, tenths of a millimetre
    int IndiceRatio = 0;           // barcode width ratio of the A4 models
    int TipoBarraA4 = 0;           // barcode kind of the A4 models
    // Running number of InsertEtiquetaMrg; never reset while the window lives.
    int ContadorLinha = 0;

    // The window's inputs (texts as typed).
    std::string edtParametro = " ";  // "TEXTO PARAMETRO"
    std::string EdtP1 = "0";         // instalments of model 47
    std::string edtP2 = "0";
    int edtBranco = 0;         // blank cells at the start of an A4 sheet
    int modModelo58 = 0;       // 0 "3 colunas", 1 "4 colunas", -1 none chosen
    std::string memoTm;        // work area of model 59
    std::string lblParametro;  // caption model 09 leaves the last barcode row's AUX_4 in
    // The program's command-line model number ("0" + digits); above 0 it wins
    // over MODELO PRINT.
    std::string ParamModelo = "0";

    // Hooks (see the top of this file).
    std::function<bool(int64_t enviadas, int64_t aEnviar)> AoProgresso;
    int PausaMs = 500;
    bool PausarEmArquivoComum = false;
    std::function<void(int ms)> Esperar;
    // Today's date for the labels that print it (empty: the machine's clock).
    std::function<TDateTime()> Hoje;
    std::unique_ptr<TBuscaMercadorias> BuscaMercadorias;
    // Rows the thermal walk takes instead of the queue table (a model's
    // picture over sample goods); null: the table.
    const std::vector<TLinhaFila>* FilaEmMemoria = nullptr;
    std::function<void(TCdbETQ&)> AntesDeAtivar;
    std::string ArquivoPdf;
    std::function<void(const TFormularioA4&, TFonteCelulas&)> MostrarPrevia;

    // Reads the print settings of configEtq.ini, configures and opens the
    // component, filters the queue to quantidade>0, runs the model's routine,
    // closes the component and lifts the filter. A failure after the
    // component is open leaves it open and the queue filtered.
    void ImprimeEtiquetasPreConfigurada();
    // The model number the last print ran (0 when none).
    int ModelNumber() const { return modelNumber_; }
    // The model number a print would run now: ParamModelo above 0, otherwise
    // "0" + the digits among the first four characters of MODELO PRINT.
    int ModeloConfigurado() const;
    static int NumeroDoModelo(const std::string& modeloPrint, const std::string& paramModelo);

    // Text of one field of the label vocabulary for the current goods row.
    std::string Load_Valor_do_campo(const std::string& campo) const;
    // Unit of measure to its label abbreviation ("LITRO" gives "LT").
    static std::string troca_Unidade(const std::string& unidade);
    // "TAMANHO": opens qryFormat on the rows of one format code and answers
    // the TAM_IMP of the first (0 when none); the query stays on that row.
    int Relatorio_format(const std::string& modo, int codigo);
    // One row of the A4 sheet table ETIQUETAMRG, texts stored as given; the caller commits.
    void InsertEtiquetaMrg(const std::string& Linha1, const std::string& Linha2, const std::string& Linha3,
                           const std::string& Linha4, const std::string& Linha5);
    // Makes the module's changes durable (dtmCommit); false when it failed.
    bool Commit();

    // The goods row of the last successful look-up (what the layouts read).
    const TMercadoria& Mercadoria() const { return mercadoria_; }
    // Looks a goods row up by the queue's CODIGO text; false when missing.
    bool BuscarMercadoria(const std::string& codigo);

    // Progress of the current / last walk. Labels to send counts every queue
    // row with a count above 0, also one whose goods turn out to be gone, so
    // a finished print may have sent fewer.
    // Sent means delivered: the port took the job (a network printer
    // acknowledged every byte, a file was written, the spooler accepted it).
    int64_t EtiquetasEnviadas() const { return enviadas_; }
    int64_t EtiquetasAEnviar() const { return aEnviar_; }
    bool Cancelado() const { return cancelado_; }
    // The walk of the last print began counting labels (a thermal model ran),
    // and whether it ended by a failure.
    bool PercursoIniciado() const { return percursoIniciado_; }
    bool Falhou() const { return falhou_; }
    // "N de M etiquetas entregues à impressora", plus " antes da falha" after
    // one; "…; as últimas K podem não ter saído e serão repetidas ao continuar"
    // when the port failed with labels maybe still in the printer's buffer.
    std::string ResumoEntrega() const;
    // Those K labels: sent last before the port failed, maybe lost with the
    // printer's buffer. They are not in EtiquetasEnviadas(), so the journal
    // and a continuation count them as not delivered.
    int64_t EtiquetasNaoConfirmadas() const { return naoConfirmadas_; }

    // Used by the walk: sends the composed job, pauses, reports progress;
    // false when the operator asked to stop.
    bool EnviarTrabalho(int etiquetas);
    // Tells the progress hook `feitas` of the labels to send and asks it
    // whether to go on; false (and Cancelado()) when the operator stopped.
    bool Prosseguir(int64_t feitas);
    // Counts the labels the filtered queue asks for in one query (a continued
    // print reads its rows, to hold them against the journal) and opens the journal run.
    void IniciarContagem();
    // Labels the walk prints for the queue row AnotarLinha was just told:
    // its count, or what a continued print left undelivered of it.
    int64_t EtiquetasDaLinha(const TLinhaFila& linha) const;
    // The walk tells each queue row with labels it reads, after looking its
    // goods up: the journal gets the rows in blocks as they are read, each
    // with what the printer took of it, and holds only a block.
    void AnotarLinha(const TLinhaFila& linha, bool achouMercadoria);
    // The A4 sheets of this print went to `destino` ("PDF: ARQUIVO" or the
    // spooler's printer): a run in language "A4" with the queue's rows, each
    // with the labels on the sheets.
    void DiarioDasFolhas(const std::string& destino);
    // The queue as the print sees it (rows with labels, their labels, fingerprint), in one request.
    TAssinaturaFila AssinaturaDaFila();
    // After a print that sent everything else: "4 etiquetas de 1 linha da
    // fila não foram impressas: a mercadoria 1234 não existe mais no
    // cadastro" ("" when every row printed); the journal run is "INCOMPLETA".
    const std::string& AvisoIncompleta() const { return avisoIncompleta_; }
    // Journal rows held in memory now (for tests: a block and a print job's rows at most).
    size_t LinhasDoDiarioGuardadas() const { return conta_.LinhasGuardadas(); }

    // ZPL printers on a TCP port are asked their status ("~HS") before the
    // first job, waiting this long; a fault stops the print before anything
    // is sent. They are asked again after the last job: a fault that appeared,
    // or no answer to either question, is kept in AvisoStatus().
    int TempoStatusMs = 1000;
    const std::string& AvisoStatus() const { return avisoStatus_; }

    // Journal of prints (DIARIO_IMPRESSAO), written for every thermal print.
    // A journal that cannot be written leaves the print alone: AvisoDiario()
    // then says it is off and why ("" while it works).
    bool UsarDiario = true;
    const std::string& AvisoDiario() const { return conta_.Aviso(); }
    TDiarioImpressao& Diario();
    // The run of the last thermal print (ID 0 when the journal was off).
    const TRegistroDiario& RegistroDiario() const { return conta_.Registro(); }
    // The queue rows a print would send (count above 0, in the table's order),
    // ORDEM from 1.
    std::vector<TItemDiario> ItensDaFila();
    // Makes the next print continue the last print of this workstation that
    // did not end whole (cancelled, failed, or cut: "EM CURSO" with its
    // process gone): only the labels not delivered, in the same order.
    // Empty when ready, otherwise why it cannot (queue changed, nothing to
    // continue, a run still printing, a damaged journal...).
    std::string PrepararContinuacao();
    // When this queue, rows and counts, is exactly one that printed whole at
    // this workstation in the last 8 hours on the same kind of output
    // (labels or A4 sheets): "Esta fila já foi impressa às HH:MM (N
    // etiquetas). Imprimir de novo?"; otherwise "".
    std::string PerguntaRepeticao();
    // The last print of this workstation when it did not end whole, for the
    // question before the queue is replaced: "A fila tem uma impressão
    // interrompida às HH:MM (N de M etiquetas entregues). Substituir a fila
    // mesmo assim?"; otherwise "".
    static std::string PerguntaSubstituicao(TdtmAplicativo& dtm);

private:
    // Hands the look-up the codes of the queue rows from the current one on.
    void AnteciparMercadorias();

    TMercadoria mercadoria_;
    // Rows [antecipadaDesde_, antecipadaAte_) of the queue had their codes handed over.
    size_t antecipadaDesde_ = 0, antecipadaAte_ = 0;
    int modelNumber_ = 0;
    int64_t enviadas_ = 0;
    int64_t aEnviar_ = 0;
    bool pausar_ = true;  // this print's port is paced
    bool cancelado_ = false;
    // Labels of the last print jobs, newest last, for what a port failure
    // leaves unconfirmed.
    std::deque<int> etiquetasPorTrabalho_;
    int64_t naoConfirmadas_ = 0;
    // Labels sent minus those of the jobs the printer may not have taken in yet.
    int64_t EntreguesConfirmadas();
    // After a port failure: the unconfirmed labels leave the delivered count.
    void DescontarNaoConfirmadas();
    bool percursoIniciado_ = false;
    bool falhou_ = false;
    std::string avisoStatus_;
    std::string observacaoStatus_;  // for the journal: the printer did not answer
    std::string linguagem_;
    std::string avisoIncompleta_;
    // The journal's side of the print: its run, rows, progress and questions.
    TContaDiario conta_;
};
