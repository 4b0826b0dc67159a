#pragma once
// The journal's accounting of a print, kept apart from the print itself: the
// run it opens, the queue rows it notes (written in blocks, each with what the
// printer took of it), the progress about once a second, the end; what a
// continued print leaves of each row; and the questions that read the journal
// before a print (continue, repeat, replace). The print tells it what the
// walk read and what the port took; it never touches the port or a layout.
// A journal that cannot be written never stops a print: Aviso() says it is
// off and why, and what it kept.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "labels/DiarioImpressao.h"
#include "labels/EtiquetaDoDiario.h"
#include "labels/Mercadoria.h"

class TdtmAplicativo;
class TTabela;

// What a run is opened with.
struct TAberturaDiario {
    int modelo = 0;
    std::string linguagem;
    std::string porta;
    int64_t aEnviar = 0;
    std::string observacao;  // what the printer's first status answer left to say
};

class TContaDiario {
public:
    // Works on the module's connection; `fila` is the queue table the print walks.
    TContaDiario(TdtmAplicativo& dtm, TTabela& fila);
    ~TContaDiario();
    TContaDiario(const TContaDiario&) = delete;
    TContaDiario& operator=(const TContaDiario&) = delete;

    TDiarioImpressao& Diario();

    // A new print: the counts and rows of the last one go (a prepared
    // continuation stays until Comecar or Terminar).
    void Reiniciar();
    // The queue as the print sees it (rows with labels, their labels,
    // fingerprint), in one request.
    TAssinaturaFila AssinaturaDaFila();
    // The labels a print of `fila` sends: every one, or for a continuation
    // what the run it takes up left. Throws when another workstation changed
    // the queue since the continuation was prepared. `termica`: false for
    // sheets, which never continue (the continuation is dropped).
    int64_t Comecar(const TAssinaturaFila& fila, bool termica);
    // Opens the run of a thermal print; the journal off: Aviso() says why.
    void Abrir(const TAberturaDiario& abertura);
    // Nothing to send is no print: no run, no warning of an earlier one.
    void NadaAEnviar() { aviso_.clear(); }

    // The walk tells each queue row with labels it reads, after looking its
    // goods up; the answer is what it prints of the row (its count, or what a
    // continued print left undelivered of it). `confirmadas`: labels the
    // printer surely took in, asked only when a row waits for it. `soFigura`:
    // sample goods drawn for a picture, nothing journalled.
    // `etiqueta`: what the row's labels say (model, prices), journalled with the row.
    int64_t AnotarLinha(const TLinhaFila& linha, bool achouMercadoria, const std::function<int64_t()>& confirmadas,
                        bool soFigura, const std::optional<TEtiquetaDoDiario>& etiqueta = std::nullopt);
    int64_t EtiquetasDaLinha() const { return etiquetasDaLinha_; }
    // After a print job: the run's delivered count reaches the journal about
    // once a second, committing the blocks written since the last time.
    void Progresso(int64_t enviadas);
    // The end of a thermal print: the last rows read get what the printer took
    // of them; a walk cut short (cancelled, failed) journals the rows it did
    // not reach too, with none delivered.
    void Fechar(const char* situacao, const std::string& mensagem, int64_t enviadas);
    // The sheets of an A4 print went to `destino`: a run in language "A4" with
    // the queue's rows, each with its labels on the sheets. The labels
    // delivered, or nothing when the journal could not take the run.
    std::optional<int64_t> Folhas(const std::string& destino, int modelo, int64_t aEnviar);
    // Forgets the prepared continuation (the print failed or ended).
    void Terminar() { continuacao_.reset(); }

    // "4 etiquetas de 1 linha da fila não foram impressas: a mercadoria 1234
    // não existe mais no cadastro", or "" when every row's goods were found.
    std::string TextoFaltas() const;
    const TRegistroDiario& Registro() const { return registro_; }
    // A note on the run (the printer's status after the last job), written at the end.
    void Observar(const std::string& texto) { registro_.OBSERVACAO = texto; }
    const std::string& Aviso() const { return aviso_; }
    // Labels of the rows journalled as delivered whole.
    int64_t Assentadas() const { return assentadas_; }
    // Journal rows held in memory now (a block and a print job's rows at most).
    size_t LinhasGuardadas() const { return bloco_.size() + pendentes_.size(); }

    // The queue rows a print would send (count above 0, in the table's order), ORDEM from 1.
    std::vector<TItemDiario> ItensDaFila();

    // Makes the next print continue the last print of this workstation that
    // did not end whole; empty when ready, otherwise why it cannot.
    std::string PrepararContinuacao();
    // When the queue is exactly one that printed whole here in the last 8
    // hours on the same kind of output: the question; otherwise "".
    std::string PerguntaRepeticao(bool folhas);
    // The last print of this workstation when it did not end whole, for the
    // question before the queue is replaced; otherwise "".
    static std::string PerguntaSubstituicao(TdtmAplicativo& dtm);

    // A prepared continuation: the run it takes up and that run's queue. The
    // print takes it out while the port opens, so that it holds for this
    // print only, also when the print cannot start.
    struct TContinuacao {
        int64_t id = 0;
        TDateTime inicio = 0;
        int64_t anteriores = 0;  // labels the chain delivered before this print
        int64_t semLinha = 0;    // of them, labels of rows the run it takes up did not journal
        TAssinaturaFila fila;
    };
    std::optional<TContinuacao> TirarContinuacao() { return std::exchange(continuacao_, std::nullopt); }
    void DevolverContinuacao(std::optional<TContinuacao> c) { continuacao_ = std::move(c); }

private:
    // Calls f with each queue row with labels after table row `desde` (a
    // RecNo; 0: from the first row), as journal rows numbered on from `ordem`.
    template <class F>
    void PercorrerItensDaFila(size_t desde, int64_t ordem, F&& f);
    // What a continued print sends of the queue row at `ordem`, asking for `pedidas` labels.
    int64_t Restantes(int64_t ordem, int64_t pedidas, bool achouMercadoria);
    // Rows whose labels all reached the printer leave pendentes_ for bloco_.
    void AssentarEntregues(int64_t confirmadas);
    void GravarBloco(bool tudo);  // tudo: also the last rows short of a block
    void Desligar();

    TdtmAplicativo& dtm_;
    TTabela& fila_;
    std::unique_ptr<TDiarioImpressao> diario_;
    TRegistroDiario registro_;
    std::string aviso_;
    std::optional<TContinuacao> continuacao_;
    TAssinaturaFila filaAtual_;               // of the print in course
    std::vector<TItemDiario> blocoAnterior_;  // rows of the run taken up, ORDEM [deAnterior_, ateAnterior_]
    int64_t deAnterior_ = 0, ateAnterior_ = -1;
    int64_t semLinha_ = 0;          // labels still to pass over where that run journalled no row
    int64_t etiquetasDaLinha_ = 0;  // what the walk prints of the row just noted
    // Rows whose goods were gone: how many, their labels, the first codes.
    int64_t faltaLinhas_ = 0, faltaEtiquetas_ = 0;
    std::vector<std::string> faltaCodigos_;
    std::set<std::string> faltaTodos_;  // codes of those rows (sheets journal them after the walk)
    bool fechado_ = false;
    // Journal rows written (ORDEM of the last), and rows and labels committed
    // by the last progress; the run of a journal that failed mid-print.
    int64_t gravadas_ = 0, confirmadas_ = 0, entreguesConfirmadas_ = 0;
    int64_t idDesligado_ = 0;
    // Journal rows of a plain print: those whose delivered count is known wait
    // in bloco_ for a block to fill; pendentes_ are the last rows read with
    // labels not all delivered yet (a print job's at most).
    std::vector<TItemDiario> bloco_;
    std::vector<TItemDiario> pendentes_;
    int64_t anotadas_ = 0;        // journal rows read by the walk (the ORDEM of the last)
    int64_t assentadas_ = 0;      // labels of the rows that left pendentes_
    size_t posicaoAnotada_ = 0;   // queue table row (RecNo) of the last journal row read
    double ultimoProgresso_ = 0;  // steady seconds of the last journal progress
};
