#pragma once
// The journal of label prints, kept in the shop database so that every
// workstation sees it: one DIARIO_IMPRESSAO row per print run (start, end,
// workstation, user, model, language, port, labels to send and delivered,
// how it ended) and one DIARIO_IMPRESSAO_ITEM row per queue row it printed.
// The tables are created when missing. A journal that cannot be kept never
// stops a print: each call answers false and Motivo() says why. A lost link
// to the database (fb::EFbConexao) is raised: the print cannot go on either.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/UFuncoes.h"
#include "data/fb/FbCliente.h"

class TdtmAplicativo;

// How a print run ended.
inline constexpr const char* kEmCurso = "EM CURSO";
inline constexpr const char* kInteira = "INTEIRA";
inline constexpr const char* kCancelada = "CANCELADA";
inline constexpr const char* kFalha = "FALHA";
// Sent whole but for rows whose goods were gone.
inline constexpr const char* kIncompleta = "INCOMPLETA";
// Language of a run of A4 sheets (a PDF or a sheet print).
inline constexpr const char* kLinguagemA4 = "A4";

struct TItemDiario {
    int64_t ORDEM = 0;  // place of the row in its run, from 1
    std::string CODIGO, BARRAS, NRO_LOTE, NOME;
    int64_t QTD_FILA = 0;        // labels the queue row asks for
    int64_t QUANTIDADE = 0;      // labels this run had to send (less when it continues another)
    int64_t ENTREGUES = 0;       // labels of this run the printer took
    bool semMercadoria = false;  // the goods were gone: nothing of the row printed
    // Same queue row with the same count.
    bool MesmaLinha(const TItemDiario& o) const {
        return CODIGO == o.CODIGO && BARRAS == o.BARRAS && NRO_LOTE == o.NRO_LOTE && QTD_FILA == o.QTD_FILA;
    }
};

struct TRegistroDiario {
    int64_t ID = 0;
    TDateTime INICIO = 0, FIM = 0;
    std::string ESTACAO, USUARIO;
    int MODELO = 0;
    std::string LINGUAGEM, PORTA;
    int64_t A_ENVIAR = 0, ENTREGUES = 0;
    std::string SITUACAO = kEmCurso;
    std::string MENSAGEM;    // the failure
    std::string OBSERVACAO;  // notes: printer status not read, ...
    int64_t CONTINUA = 0;    // the run this one continues (0: none)
    // What a continuation needs from the first second, before any row is
    // journalled: the queue's rows with labels and its fingerprint (see
    // TAssinaturaFila), the labels the runs this one continues delivered,
    // and the process that prints (a run "EM CURSO" whose process is gone
    // was cut).
    int64_t LINHAS = 0;
    int64_t ASSINATURA = 0;
    int64_t ANTERIORES = 0;
    std::string PROCESSO;
    std::vector<TItemDiario> itens;
    // Labels of the whole queue: what this run sent plus what the runs it continues did.
    int64_t EtiquetasDaFila() const { return ANTERIORES + A_ENVIAR; }
};

// A queue as the print sees it, in one aggregate request: its rows with
// labels, their labels, and a sum of the hashes of (code, barcode, variant,
// name, labels) of each row. Rows come in NOME order, so the same rows make
// the same walk.
struct TAssinaturaFila {
    int64_t linhas = 0;
    int64_t etiquetas = 0;
    int64_t assinatura = 0;
    bool operator==(const TAssinaturaFila&) const = default;
};
// The select of that aggregate over `tabela` where `condicao` (an SQL condition, may be empty).
std::string TextoAssinaturaFila(const std::string& tabela, const std::string& condicao);

// This process, as the journal records it ("pid start-time boot"), and
// whether the process so recorded still runs on this machine.
std::string ProcessoAtual();
bool ProcessoVivo(const std::string& processo);

// Spreads `entregues` labels over the rows in order, as the walk printed
// them: rows whose goods were gone take none.
void DistribuirEntregues(std::vector<TItemDiario>& itens, int64_t entregues);

// Journal rows go to the server in blocks of this many, one request per block.
inline constexpr size_t kItensPorBloco = 100;

class TDiarioImpressao {
public:
    explicit TDiarioImpressao(TdtmAplicativo& dtm);
    ~TDiarioImpressao();
    TDiarioImpressao(const TDiarioImpressao&) = delete;
    TDiarioImpressao& operator=(const TDiarioImpressao&) = delete;

    // Creates the tables when missing.
    bool Preparar();
    // Writes the run and its rows (ID filled in).
    bool Abrir(TRegistroDiario& r);
    // Rows of the open run, each at its ORDEM, as a print reads them: they
    // reach the database with the next Progresso or Fechar.
    bool GravarItens(const TRegistroDiario& r, std::span<const TItemDiario> itens);
    // The delivered count of a run in course (kept so a run cut short by a
    // crash still tells how far it got).
    bool Progresso(const TRegistroDiario& r);
    // The end: header, and the rows held in `r` (rows written by GravarItens stay).
    bool Fechar(const TRegistroDiario& r);
    // The last `n` runs, newest (by start) first, with their rows; only those of
    // `estacao` when it is not empty, begun at `desde` or later when it is
    // set, that ended as `situacao` when it is given. `comItens` false reads
    // only the runs (a long run has as many rows as its queue).
    std::vector<TRegistroDiario> Ultimas(int n, const std::string& estacao = "", TDateTime desde = 0,
                                         const char* situacao = nullptr, bool comItens = true);
    // One run without its rows (ID 0 when there is none).
    TRegistroDiario Registro(int64_t id);
    // Rows of run `id` with ORDEM from `de` to `ate`.
    std::vector<TItemDiario> Itens(int64_t id, int64_t de, int64_t ate);
    // Checks the rows of run `r` in one request: the first whose counts
    // cannot be (delivered outside 0..to send, to send outside 0..asked,
    // ORDEM outside 1..LINHAS), as "a impressão N, linha K, diz ...", or
    // rows that add up to more than the run delivered; "" when sound.
    std::string ConferirItens(const TRegistroDiario& r);
    // The rows run `id` journalled (linhas) and the labels of them the runs
    // up to it delivered (etiquetas: asked for, less what is still to send).
    TAssinaturaFila Anotado(int64_t id);

    const std::string& Motivo() const { return motivo_; }

private:
    // How a step leaves the transaction when it worked.
    enum class TFim { Commit, Retendo, Aberta };
    template <class F>
    bool Tentar(F&& f, TFim fim = TFim::Commit);
    void InserirItens(int64_t id, std::span<const TItemDiario> itens);  // inside Tentar
    bool AbrirRegistro(TRegistroDiario& r);
    TdtmAplicativo& dtm_;
    fb::TTransaction tr_;
    fb::TQuery q_;
    fb::TQuery qProgresso_;  // prepared once: a long print updates it about once a second
    fb::TQuery qItens_;      // the block insert, prepared again only when the block size changes
    size_t linhasPreparadas_ = 0;
    std::string motivo_;
    bool preparado_ = false;
    bool itensGravados_ = false;  // the open run's rows are in the table already
};

// The columns of a run and of one of its rows, as historico and the queue
// window's "Histórico" show them.
std::vector<std::string> ColunasRegistro(const TRegistroDiario& r);
std::vector<std::string> ColunasItem(const TItemDiario& i);
// One line per run, then one per row, tab-separated (etiquetas-cli historico):
// a run's line has the fields of ColunasRegistro, a row's an empty field and
// those of ColunasItem, each with TAB, LF, CR and backslash escaped.
std::string TextoHistorico(const std::vector<TRegistroDiario>& runs);
std::string LinhaHistorico(const TRegistroDiario& r);
std::string LinhaHistorico(const TItemDiario& i);
// The user of this session, as the system knows it.
std::string UsuarioSessao();
