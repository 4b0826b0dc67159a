#include "labels/ImpressaoEtiquetas.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <utility>

#include "common/ConfigEtq.h"
#include "common/ErroSistema.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/udtmAplicativo.h"
#include "device/CdbDevice.h"
#include "etq/StatusZpl.h"
#include "labels/EtiquetaDoDiario.h"
#include "labels/Modelos.h"
#include "labels/ResumoImpressao.h"

TImpressaoEtiquetas::TImpressaoEtiquetas(TdtmAplicativo& modulo)
    : dtm(modulo),
      tblEtiquetaRead(modulo.dtbAplicativo, modulo.ibtAplicativo, "ETIQUETAREAD"),
      tblMercadorias(modulo.dtbAplicativo, modulo.ibtAplicativo),
      qryFormat(modulo.dtbAplicativo, modulo.ibtAplicativo) {
    tblEtiquetaRead.SetOrdenacao("NOME");
    // "ÁGUA" with the A's and "Óleo" with the O's, as people read the list.
    tblEtiquetaRead.SetColacao("NOME", "WIN_PTBR");
    for (const auto& l : LinhasSelectMercadorias()) tblMercadorias.Add(l);
    qryFormat.Add("Select * from formatMrg");
    CdbETQ.SetModelo(etqPpla);
    CdbETQ.SetPorta("LPT1");
    BuscaMercadorias = std::make_unique<TBuscaMercadoriasBanco>(tblMercadorias);
}

TImpressaoEtiquetas::~TImpressaoEtiquetas() {
    try {
        CdbETQ.Desativar();
    } catch (...) {}
    tblEtiquetaRead.Close();
}

void TImpressaoEtiquetas::ImprimeEtiquetasPreConfigurada() {
    // 1-8: every setting is read and converted before the component is touched.
    const std::string portaTexto = LerConfig("PATH REDE");
    const std::string linguagem = LerConfig("MODELO");
    const std::string temperatura = LerConfig("TEMPERATURA");
    const std::string addColuna = LerConfig("ADDCOLUNA");
    const std::string modeloImpressora = LerConfig("MODELO IMPRESSORA");
    const std::string ratio = LerConfig("edtRatio");
    const std::string tipoBar = LerConfig("edttipobar");

    const int numero = ModeloConfigurado();
    // The counts of this print only, also when it fails before the walk.
    enviadas_ = 0;
    aEnviar_ = 0;
    cancelado_ = false;
    int calor = StrToInt("0" + temperatura);
    if (calor < 1) calor = 10;
    AddColuna = addColuna.empty() ? 0 : StrToInt(addColuna);
    ModeloImpressora = modeloImpressora;
    IndiceRatio = StrToInt(ratio.empty() ? "2" : ratio) - 1;
    TipoBarraA4 = StrToInt(tipoBar.empty() ? "0" : tipoBar);
    modelNumber_ = numero;
    // Counts of an earlier print must not be told as this one's.
    enviadas_ = aEnviar_ = 0;
    naoConfirmadas_ = assentadas_ = 0;
    etiquetasPorTrabalho_.clear();
    percursoIniciado_ = falhou_ = false;
    // A number with no routine prints nothing; the port is not even opened,
    // so a file port is not emptied.
    if (numero < 1 || numero > 59) return;

    // 9-10
    CdbETQ.SetPorta(portaTexto);
    CdbETQ.SetLimparMemoria(true);
    CdbETQ.SetTemperatura(calor);
    CdbETQ.SetAvanco(0);
    if (linguagem == "PPLA")
        CdbETQ.SetModelo(etqPpla);
    else if (linguagem == "PPLB")
        CdbETQ.SetModelo(etqPplb);
    else if (linguagem == "ZPL")
        CdbETQ.SetModelo(etqZPLII);
    else if (linguagem == "EPL2")
        CdbETQ.SetModelo(etqEpl2);
    // Every print that ends closes the component: one still open was left so
    // by a failure, maybe with the labels it was composing (lost with it:
    // they must not ride along with the first job of this print) and maybe on
    // a link the failure broke (a network printer that closed the connection
    // takes nothing more on it). Closing drops both; the port opens again.
    if (CdbETQ.Ativo()) CdbETQ.Desativar();
    // A continuation holds for this print only, also when it cannot start.
    std::optional<TContinuacao> continuacao = std::move(continuacao_);
    continuacao_.reset();
    if (AntesDeAtivar) AntesDeAtivar(CdbETQ);
    CdbETQ.Ativar();
    // A printer needs the pause after each job; a file on disk does not.
    pausar_ = PausarEmArquivoComum || !CdbETQ.Device().EscreveEmArquivoComum();
    avisoStatus_.clear();
    observacaoStatus_.clear();
    const bool perguntarStatus = CdbETQ.Modelo() == etqZPLII && CdbETQ.Device().DeviceType() == TCdbDeviceType::dtTCP;
    bool respondeuAntes = false;
    if (perguntarStatus) {
        const auto status = ConsultarStatusZpl(CdbETQ.Device(), TempoStatusMs);
        if (!status) {
            observacaoStatus_ = "A impressora não respondeu ao pedido de status (~HS)";
        } else if (!status->Falha().empty()) {
            CdbETQ.Desativar();
            throw Exception(status->Falha() + ": nada foi enviado à impressora");
        }
        respondeuAntes = status.has_value();
    }

    // 11-13. A failure in between leaves the component open and the filter on;
    // the next print with the same port and language goes on from there.
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    tblEtiquetaRead.SetFiltro("quantidade>0");
    tblEtiquetaRead.SetFiltrado(true);
    enviadas_ = 0;
    aEnviar_ = 0;
    cancelado_ = false;
    antecipadaDesde_ = antecipadaAte_ = 0;
    percursoIniciado_ = false;
    falhou_ = false;
    registro_ = TRegistroDiario{};
    linguagem_ = linguagem;
    continuacao_ = std::move(continuacao);
    try {
        ExecutarModelo(*this, numero);
    } catch (const fb::EFbConexao&) {
        // The journal shares the lost link: the run stays "EM CURSO" with the
        // last progress it wrote.
        falhou_ = true;
        continuacao_.reset();
        throw;
    } catch (const std::exception& e) {
        // The rows the walk did not reach are journalled with what the run had to send of them.
        falhou_ = true;
        DescontarNaoConfirmadas();
        FecharDiario(kFalha, MensagemDaFalha(e));
        continuacao_.reset();
        throw;
    } catch (...) {
        falhou_ = true;
        DescontarNaoConfirmadas();
        FecharDiario(kFalha, "");
        continuacao_.reset();
        throw;
    }
    if (perguntarStatus && enviadas_ > 0) {
        const auto status = ConsultarStatusZpl(CdbETQ.Device(), TempoStatusMs);
        if (status && !status->Falha().empty()) {
            avisoStatus_ = "A impressora informou após o último trabalho: " + status->Falha();
            registro_.OBSERVACAO = avisoStatus_;
        } else if (!status && !respondeuAntes) {
            // Taken by its network stack is all that is known of the labels.
            avisoStatus_ = "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram";
            registro_.OBSERVACAO = avisoStatus_;
        }
    }
    avisoIncompleta_.clear();
    if (!cancelado_ && faltaLinhas_ > 0) {
        auto plural = [](int64_t n, const char* um, const char* varios) {
            return std::to_string(n) + " " + (n == 1 ? um : varios);
        };
        std::string codigos;
        for (size_t k = 0; k < faltaCodigos_.size(); ++k)
            codigos += (k == 0                                               ? ""
                        : k + 1 == faltaCodigos_.size() && faltaLinhas_ <= 5 ? " e "
                                                                             : ", ") +
                       faltaCodigos_[k];
        if (faltaLinhas_ > 5) codigos += " e outras " + std::to_string(faltaLinhas_ - 5);
        avisoIncompleta_ = plural(faltaEtiquetas_, "etiqueta", "etiquetas") + " de " +
                           plural(faltaLinhas_, "linha", "linhas") + " da fila " +
                           (faltaEtiquetas_ == 1 ? "não foi impressa" : "não foram impressas") + ": " +
                           (faltaLinhas_ == 1 ? "a mercadoria " + codigos + " não existe mais no cadastro"
                                              : "as mercadorias " + codigos + " não existem mais no cadastro");
    }
    FecharDiario(cancelado_ ? kCancelada : avisoIncompleta_.empty() ? kInteira : kIncompleta, avisoIncompleta_);
    continuacao_.reset();
    CdbETQ.Desativar();
    tblEtiquetaRead.SetFiltro("");
    tblEtiquetaRead.SetFiltrado(false);
}

int TImpressaoEtiquetas::NumeroDoModelo(const std::string& modeloPrint, const std::string& paramModelo) {
    const int parametro = StrToInt("0" + SoNumeros(paramModelo));
    if (parametro > 0) return parametro;
    return StrToInt("0" + SoNumeros(Trecho(modeloPrint, 1, 4)));
}

int TImpressaoEtiquetas::ModeloConfigurado() const { return NumeroDoModelo(LerConfig("MODELO PRINT"), ParamModelo); }

TAssinaturaFila TImpressaoEtiquetas::AssinaturaDaFila() {
    const std::string filtro = tblEtiquetaRead.Filtrado() ? Trim(tblEtiquetaRead.Filtro()) : std::string();
    fb::TQuery q(dtm.dtbAplicativo, dtm.ibtAplicativo);
    q.Add(TextoAssinaturaFila(tblEtiquetaRead.NomeTabela(), filtro));
    q.Open();
    TAssinaturaFila a;
    if (!q.Eof()) {
        const auto campos = q.NomesDosCampos();
        a.linhas = q.FieldByName(campos.at(0)).AsInteger();
        a.etiquetas = q.FieldByName(campos.at(1)).AsInteger();
        a.assinatura = q.FieldByName(campos.at(2)).AsInteger();
    }
    q.Close();
    return a;
}

void TImpressaoEtiquetas::IniciarContagem() {
    enviadas_ = 0;
    naoConfirmadas_ = 0;
    etiquetasPorTrabalho_.clear();
    aEnviar_ = 0;
    cancelado_ = false;
    antecipadaDesde_ = antecipadaAte_ = 0;
    percursoIniciado_ = true;
    registro_ = TRegistroDiario{};
    bloco_.clear();
    pendentes_.clear();
    anotadas_ = assentadas_ = 0;
    posicaoAnotada_ = 0;
    blocoAnterior_.clear();
    deAnterior_ = 0;
    ateAnterior_ = -1;
    semLinha_ = 0;
    etiquetasDaLinha_ = 0;
    faltaLinhas_ = faltaEtiquetas_ = 0;
    faltaCodigos_.clear();
    faltaTodos_.clear();
    avisoIncompleta_.clear();
    diarioFechado_ = false;
    idDesligado_ = 0;
    gravadas_ = confirmadas_ = entreguesConfirmadas_ = 0;
    if (FilaEmMemoria) {
        // Sample goods drawn for a picture: nothing reaches a printer, nothing is journaled.
        for (const TLinhaFila& l : *FilaEmMemoria)
            if (l.QUANTIDADE > Decimal(0)) aEnviar_ += ContagemEtiquetas(l.QUANTIDADE);
        continuacao_.reset();
        return;
    }
    // One aggregate over the rows the walk sees: the labels to send and what
    // a continuation holds the queue against, so a run is comparable with
    // the queue from its first second; the rows come as the walk reads them.
    const TAssinaturaFila fila = AssinaturaDaFila();
    filaAtual_ = fila;
    aEnviar_ = fila.etiquetas;
    // Sheets are journalled when they go out (DiarioDasFolhas): a preview only looked at is no print.
    if (EhModeloA4(modelNumber_)) {
        continuacao_.reset();
        return;
    }
    if (continuacao_) {
        // Another workstation may have changed the queue since the
        // continuation was prepared: the labels left would be other labels.
        if (!(continuacao_->fila == fila)) {
            const TDateTime inicio = continuacao_->inicio;
            continuacao_.reset();
            throw Exception("A fila mudou desde a impressão das " + FormataData("HH:MM", inicio) +
                            ": nada foi impresso");
        }
        aEnviar_ = std::max<int64_t>(0, fila.etiquetas - continuacao_->anteriores);
        semLinha_ = continuacao_->semLinha;
        registro_.CONTINUA = continuacao_->id;
        registro_.ANTERIORES = continuacao_->anteriores;
    }
    if (!UsarDiario) return;
    if (aEnviar_ == 0) {
        // Nothing to send is no print: a run of "0 de 0" would be what the
        // repeat question and a continuation find.
        avisoDiario_.clear();
        return;
    }
    registro_.INICIO = Agora();
    registro_.ESTACAO = NomeComputador();
    registro_.USUARIO = UsuarioSessao();
    registro_.MODELO = modelNumber_;
    registro_.LINGUAGEM = linguagem_;
    registro_.PORTA = CdbETQ.Porta();
    registro_.A_ENVIAR = aEnviar_;
    registro_.OBSERVACAO = observacaoStatus_;
    registro_.LINHAS = fila.linhas;
    registro_.ASSINATURA = fila.assinatura;
    registro_.PROCESSO = ProcessoAtual();
    if (!Diario().Abrir(registro_)) {
        registro_.ID = 0;
        avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
    } else {
        avisoDiario_.clear();
    }
    // The first progress a second after the start: a short print writes none.
    ultimoProgresso_ = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void TImpressaoEtiquetas::AnteciparMercadorias() {
    const size_t porVez = BuscaMercadorias->CodigosPorAntecipacao();
    const size_t atual = tblEtiquetaRead.RecNo();
    if (porVez == 0 || atual == 0) return;
    const size_t linha = atual - 1;
    if (linha >= antecipadaDesde_ && linha < antecipadaAte_) return;
    const int codigo = tblEtiquetaRead.IndiceCampo("CODIGO");
    const int quantidade = tblEtiquetaRead.IndiceCampo("QUANTIDADE");
    if (codigo < 0 || quantidade < 0) return;
    std::vector<std::string> codigos;
    size_t i = linha;
    // Rows without labels (an unfiltered queue) are passed over, a bounded number at a time.
    const size_t limite = linha + 8 * porVez;
    for (; codigos.size() < porVez && i < limite && tblEtiquetaRead.HaLinha(i); ++i) {
        if (tblEtiquetaRead.Valor(i, quantidade).AsDecimal() > Decimal(0))
            codigos.push_back(tblEtiquetaRead.Valor(i, codigo).AsString());
    }
    antecipadaDesde_ = linha;
    antecipadaAte_ = i;
    BuscaMercadorias->Antecipar(codigos);
}

namespace {
TItemDiario ItemDaLinha(const TLinhaFila& l) {
    TItemDiario i;
    i.CODIGO = l.CODIGO;
    i.BARRAS = l.BARRAS;
    i.NRO_LOTE = l.NRO_LOTE;
    i.NOME = l.NOME;
    i.QTD_FILA = ContagemEtiquetas(l.QUANTIDADE);
    i.QUANTIDADE = i.QTD_FILA;
    return i;
}
}  // namespace

template <class F>
void TImpressaoEtiquetas::PercorrerItensDaFila(size_t desde, int64_t ordem, F&& f) {
    if (desde == 0) {
        tblEtiquetaRead.First();
    } else {
        tblEtiquetaRead.SetRecNo(desde);
        tblEtiquetaRead.Next();
    }
    for (; !tblEtiquetaRead.Eof(); tblEtiquetaRead.Next()) {
        const TLinhaFila l = LerLinhaFila(tblEtiquetaRead);
        if (!(l.QUANTIDADE > Decimal(0))) continue;
        TItemDiario i = ItemDaLinha(l);
        i.ORDEM = ++ordem;
        f(std::move(i));
    }
}

std::vector<TItemDiario> TImpressaoEtiquetas::ItensDaFila() {
    std::vector<TItemDiario> itens;
    PercorrerItensDaFila(0, 0, [&](TItemDiario i) { itens.push_back(std::move(i)); });
    return itens;
}

int64_t TImpressaoEtiquetas::Restantes(int64_t ordem, int64_t pedidas, bool achouMercadoria) {
    if (!continuacao_) return pedidas;
    // The run taken up journalled this row: what it did not deliver of it.
    if (ordem > ateAnterior_) {
        constexpr int64_t kPorVez = 1000;
        deAnterior_ = ordem;
        ateAnterior_ = ordem + kPorVez - 1;
        blocoAnterior_ = Diario().Itens(continuacao_->id, deAnterior_, ateAnterior_);
        if (!Diario().Motivo().empty())
            throw Exception("Diário de impressões indisponível: " + Diario().Motivo() + ": a continuação parou");
    }
    const size_t k = static_cast<size_t>(ordem - deAnterior_);
    if (k < blocoAnterior_.size() && blocoAnterior_[k].ORDEM == ordem) {
        const TItemDiario& a = blocoAnterior_[k];
        return std::clamp<int64_t>(a.QUANTIDADE - a.ENTREGUES, 0, pedidas);
    }
    // A run cut before it journalled this row delivered its labels in order
    // after the rows it journalled, passing rows whose goods were gone.
    if (!achouMercadoria) return pedidas;
    const int64_t pula = std::min(semLinha_, pedidas);
    semLinha_ -= pula;
    return pedidas - pula;
}

void TImpressaoEtiquetas::AnotarLinha(const TLinhaFila& linha, bool achouMercadoria) {
    const int64_t ordem = ++anotadas_;
    const int64_t pedidas = ContagemEtiquetas(linha.QUANTIDADE);
    etiquetasDaLinha_ = FilaEmMemoria ? pedidas : Restantes(ordem, pedidas, achouMercadoria);
    if (!achouMercadoria && etiquetasDaLinha_ > 0) {
        ++faltaLinhas_;
        faltaEtiquetas_ += etiquetasDaLinha_;
        if (faltaCodigos_.size() < 5) faltaCodigos_.push_back(linha.CODIGO);
        faltaTodos_.insert(linha.CODIGO);
    }
    // A picture journals nothing.
    if (registro_.ID == 0) return;
    posicaoAnotada_ = tblEtiquetaRead.RecNo();
    TItemDiario i = ItemDaLinha(linha);
    i.ORDEM = ordem;
    i.QUANTIDADE = etiquetasDaLinha_;
    i.semMercadoria = !achouMercadoria;
    if (achouMercadoria)
        NotarEtiquetaDoDiario(
            registro_.ID, i.ORDEM,
            EtiquetaDoModelo(modelNumber_, linha.VLR_VEN, mercadoria_.VLR_VEN, mercadoria_.VLR_VEN_2));
    AssentarEntregues();
    // A row whose goods were gone, or that asks for no label, has its count already.
    if (achouMercadoria && i.QUANTIDADE > 0)
        pendentes_.push_back(std::move(i));
    else
        bloco_.push_back(std::move(i));
    GravarBloco(false);
}

void TImpressaoEtiquetas::AssentarEntregues() {
    // The walk sends the labels of the rows in order: a row is delivered whole
    // once the labels of the rows before it and its own reached the printer.
    // Not before the printer surely took them in: a row settled whole stays so.
    if (pendentes_.empty()) return;
    const int64_t confirmadas = EntreguesConfirmadas();
    while (!pendentes_.empty() && assentadas_ + pendentes_.front().QUANTIDADE <= confirmadas) {
        TItemDiario& i = pendentes_.front();
        i.ENTREGUES = i.QUANTIDADE;
        assentadas_ += i.QUANTIDADE;
        bloco_.push_back(std::move(i));
        pendentes_.erase(pendentes_.begin());
    }
}

void TImpressaoEtiquetas::GravarBloco(bool tudo) {
    if (registro_.ID == 0) return;
    // Whole blocks while the print goes: the block statement stays prepared.
    const size_t n = tudo ? bloco_.size() : bloco_.size() / kItensPorBloco * kItensPorBloco;
    if (n == 0) return;
    if (!Diario().GravarItens(registro_, std::span(bloco_).first(n))) return DesligarDiario();
    gravadas_ = bloco_[n - 1].ORDEM;
    bloco_.erase(bloco_.begin(), bloco_.begin() + static_cast<std::ptrdiff_t>(n));
}

void TImpressaoEtiquetas::DesligarDiario() {
    EsquecerEtiquetasDoDiario(registro_.ID);
    // The rows written since the last progress went with the failed request's
    // transaction: the operator is told what the journal kept. The run is
    // written once more at the end, without rows, so that a continuation
    // knows how far the print got.
    avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo() + ". A impressão " +
                   std::to_string(registro_.ID) + " ficou no diário com " + std::to_string(entreguesConfirmadas_) +
                   " etiquetas entregues e " + std::to_string(confirmadas_) + " linhas da fila";
    if (gravadas_ > confirmadas_)
        avisoDiario_ +=
            "; as " + std::to_string(gravadas_ - confirmadas_) + " linhas gravadas depois disso foram desfeitas";
    idDesligado_ = registro_.ID;
    registro_.ID = 0;
    bloco_.clear();
    pendentes_.clear();
}

int64_t TImpressaoEtiquetas::EtiquetasDaLinha(const TLinhaFila&) const { return etiquetasDaLinha_; }

TDiarioImpressao& TImpressaoEtiquetas::Diario() {
    if (!diario_) diario_ = std::make_unique<TDiarioImpressao>(dtm);
    return *diario_;
}

void TImpressaoEtiquetas::DiarioDasFolhas(const std::string& destino) {
    if (!UsarDiario || FilaEmMemoria || aEnviar_ == 0) return;
    TRegistroDiario r;
    r.INICIO = Agora();
    r.ESTACAO = NomeComputador();
    r.USUARIO = UsuarioSessao();
    r.MODELO = modelNumber_;
    r.LINGUAGEM = kLinguagemA4;
    r.PORTA = destino;
    r.A_ENVIAR = aEnviar_;
    r.LINHAS = filaAtual_.linhas;
    r.ASSINATURA = filaAtual_.assinatura;
    r.PROCESSO = ProcessoAtual();
    if (!Diario().Abrir(r)) {
        avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
        return;
    }
    registro_ = std::move(r);
    bloco_.clear();
    int64_t entregues = 0;
    // The rows again, a block at a time: every label of a row with goods is on the sheets.
    PercorrerItensDaFila(0, 0, [&](TItemDiario i) {
        if (registro_.ID == 0) return;
        if (!faltaTodos_.contains(i.CODIGO)) i.ENTREGUES = i.QUANTIDADE;
        entregues += i.ENTREGUES;
        bloco_.push_back(std::move(i));
        GravarBloco(false);
    });
    GravarBloco(true);
    if (registro_.ID == 0) return;
    enviadas_ = entregues;
    registro_.FIM = Agora();
    registro_.ENTREGUES = entregues;
    registro_.SITUACAO = entregues < aEnviar_ ? kIncompleta : kInteira;
    if (!Diario().Fechar(registro_)) avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
    diarioFechado_ = true;
}

void TImpressaoEtiquetas::FecharDiario(const char* situacao, const std::string& mensagem) {
    if (diarioFechado_) return;
    if (registro_.ID == 0 && idDesligado_ != 0) {
        // The journal failed mid-print: its run gets at least its end and the delivered count.
        registro_.ID = idDesligado_;
        registro_.itens.clear();
        registro_.FIM = Agora();
        registro_.ENTREGUES = enviadas_;
        registro_.SITUACAO = situacao;
        registro_.MENSAGEM = mensagem;
        if (Diario().Fechar(registro_))
            avisoDiario_ += ". No fim, a impressão " + std::to_string(idDesligado_) + " foi registrada com " +
                            std::to_string(enviadas_) + " etiquetas entregues";
        else
            avisoDiario_ += ". Ao continuar, as etiquetas entregues depois disso serão impressas de novo";
        registro_.ID = 0;
        return;
    }
    if (registro_.ID == 0) return;
    registro_.FIM = Agora();
    registro_.ENTREGUES = enviadas_;
    registro_.SITUACAO = situacao;
    registro_.MENSAGEM = mensagem;
    // The last rows read get what the printer took of them; a walk cut
    // short journals the rows it did not reach too, with none delivered.
    DistribuirEntregues(pendentes_, enviadas_ - assentadas_);
    for (auto& i : pendentes_) bloco_.push_back(std::move(i));
    pendentes_.clear();
    if (situacao == std::string_view(kCancelada) || situacao == std::string_view(kFalha)) {
        try {
            PercorrerItensDaFila(posicaoAnotada_, anotadas_, [&](TItemDiario i) {
                if (registro_.ID == 0) return;
                ++anotadas_;
                i.QUANTIDADE = Restantes(i.ORDEM, i.QTD_FILA, true);
                bloco_.push_back(std::move(i));
                GravarBloco(false);
            });
        } catch (const fb::EFbConexao&) {
            throw;
        } catch (const std::exception& e) {
            avisoDiario_ = "Diário de impressões sem as linhas da fila: " + MensagemDaFalha(e);
        }
    }
    GravarBloco(true);
    if (registro_.ID == 0) return;
    if (!Diario().Fechar(registro_)) avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
    EsquecerEtiquetasDoDiario(registro_.ID);
}

namespace {
std::string HoraMinuto(TDateTime d) { return FormataData("HH:MM", d); }
}  // namespace

namespace {
bool EhFolhaA4(const TRegistroDiario& r) { return r.LINGUAGEM == kLinguagemA4; }
}  // namespace

std::string TImpressaoEtiquetas::PrepararContinuacao() {
    continuacao_.reset();
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    // The last print of this workstation, continuations included: only the
    // runs, a long run has as many rows as its queue.
    const auto ultimas = Diario().Ultimas(1, NomeComputador(), 0, nullptr, false);
    if (ultimas.empty()) {
        if (!Diario().Motivo().empty()) return "Diário de impressões indisponível: " + Diario().Motivo();
        return "Nenhuma impressão desta estação para continuar";
    }
    const TRegistroDiario& u = ultimas.front();
    const std::string das = "A impressão das " + HoraMinuto(u.INICIO);
    const std::string id = std::to_string(u.ID);
    if (u.SITUACAO == kInteira)
        return "A última impressão desta estação (às " + HoraMinuto(u.INICIO) + ") terminou inteira: nada a continuar";
    // Sent whole but for rows whose goods were gone: what is left has no goods to print.
    if (u.SITUACAO == kIncompleta)
        return "A última impressão desta estação (às " + HoraMinuto(u.INICIO) +
               ") imprimiu tudo menos as linhas cujas mercadorias não existem mais no cadastro: nada a continuar";
    if (EhFolhaA4(u)) return das + " foi de folhas A4: não há o que continuar";
    if (u.SITUACAO == kEmCurso && ProcessoVivo(u.PROCESSO))
        return das + " (" + id + ") ainda está em curso nesta estação";
    const std::string danificado = "O diário de impressões está danificado: ";
    if (u.SITUACAO != kEmCurso && u.SITUACAO != kCancelada && u.SITUACAO != kFalha)
        return danificado + "a impressão " + id + " diz ter terminado como \"" + u.SITUACAO + "\"";
    if (u.LINHAS <= 0 || u.ASSINATURA == 0) return das + " foi registrada sem a sua fila: não pode ser continuada";
    if (u.A_ENVIAR < 0 || u.ENTREGUES < 0 || u.ENTREGUES > u.A_ENVIAR || u.ANTERIORES < 0)
        return danificado + "a impressão " + id + " diz " + std::to_string(u.ENTREGUES) + " etiquetas entregues de " +
               std::to_string(u.A_ENVIAR);
    // A continuation is sound only over the run it names: an earlier one of
    // this workstation, of the same queue, with what it delivered.
    if (u.CONTINUA > 0) {
        const TRegistroDiario a = Diario().Registro(u.CONTINUA);
        const std::string de = danificado + "a impressão " + id + " continua a " + std::to_string(u.CONTINUA);
        if (a.ID == 0) return de + ", que não está no diário";
        if (a.ID == u.ID || a.INICIO > u.INICIO || a.ESTACAO != u.ESTACAO)
            return de + ", que não é uma impressão anterior desta estação";
        if (a.ASSINATURA != u.ASSINATURA || a.LINHAS != u.LINHAS) return de + ", que é de outra fila";
        if (u.ANTERIORES != a.ANTERIORES + a.ENTREGUES)
            return de + ", que entregou " + std::to_string(a.ANTERIORES + a.ENTREGUES) + " etiquetas, e não " +
                   std::to_string(u.ANTERIORES);
    } else if (u.ANTERIORES != 0) {
        return danificado + "a impressão " + id + " diz que outras entregaram " + std::to_string(u.ANTERIORES) +
               " etiquetas, mas não continua nenhuma";
    }
    if (const std::string erro = Diario().ConferirItens(u); !erro.empty()) return danificado + erro;
    const TAssinaturaFila fila = AssinaturaDaFila();
    const std::string mudou = "A fila mudou desde a impressão das " + HoraMinuto(u.INICIO) + ": ";
    if (fila.linhas != u.LINHAS)
        return mudou + "tinha " + std::to_string(u.LINHAS) + " linhas com etiquetas, agora tem " +
               std::to_string(fila.linhas);
    if (fila.assinatura != u.ASSINATURA) {
        // Which row: the queue against the rows the run journalled, a block at a time.
        std::string porque;
        std::vector<TItemDiario> bloco;
        int64_t de = 0;
        PercorrerItensDaFila(0, 0, [&](TItemDiario i) {
            if (!porque.empty()) return;
            if (i.ORDEM >= de + static_cast<int64_t>(bloco.size())) {
                de = i.ORDEM;
                bloco = Diario().Itens(u.ID, de, de + 999);
            }
            const size_t k = static_cast<size_t>(i.ORDEM - de);
            if (k >= bloco.size() || bloco[k].ORDEM != i.ORDEM || i.MesmaLinha(bloco[k])) return;
            const TItemDiario& a = bloco[k];
            porque = "a linha " + std::to_string(i.ORDEM) + " (código " + a.CODIGO + ")";
            if (i.CODIGO == a.CODIGO && i.BARRAS == a.BARRAS && i.NRO_LOTE == a.NRO_LOTE)
                porque +=
                    " pedia " + std::to_string(a.QTD_FILA) + " etiquetas e agora pede " + std::to_string(i.QTD_FILA);
            else
                porque += " agora é outra mercadoria";
        });
        return mudou + (porque.empty() ? "as linhas ou as quantidades não são as mesmas" : porque);
    }
    if (u.ANTERIORES + u.A_ENVIAR != fila.etiquetas)
        return danificado + "a impressão " + id + " diz " + std::to_string(u.ANTERIORES + u.A_ENVIAR) +
               " etiquetas na fila, que pede " + std::to_string(fila.etiquetas);
    const int64_t entregues = u.ANTERIORES + u.ENTREGUES;
    if (entregues >= fila.etiquetas)
        return "A impressão das " + HoraMinuto(u.INICIO) + " já entregou todas as etiquetas: nada a continuar";
    // Labels of rows the run did not journal (cut before it wrote them): what
    // it delivered beyond the rows it did.
    const TAssinaturaFila anotado = Diario().Anotado(u.ID);
    TContinuacao c;
    c.id = u.ID;
    c.inicio = u.INICIO;
    c.anteriores = entregues;
    c.semLinha = std::max<int64_t>(0, entregues - anotado.etiquetas);
    c.fila = fila;
    continuacao_ = c;
    return "";
}

std::string TImpressaoEtiquetas::PerguntaRepeticao() {
    const TDateTime limite = Agora() - 8.0 / 24.0;
    // A print that sent all but rows whose goods were gone printed the queue too.
    std::vector<TRegistroDiario> recentes = Diario().Ultimas(20, NomeComputador(), limite, nullptr, false);
    std::erase_if(recentes,
                  [](const TRegistroDiario& r) { return r.SITUACAO != kInteira && r.SITUACAO != kIncompleta; });
    // The queue is read only when a recent whole print could match it.
    if (recentes.empty()) return "";
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    const int modelo = ModeloConfigurado();
    const bool folhas = modelo >= 1 && modelo <= 59 && EhModeloA4(modelo);
    const TAssinaturaFila fila = AssinaturaDaFila();
    if (fila.linhas == 0) return "";
    for (const auto& r : recentes) {
        // Like with like: a PDF of the queue does not make a thermal print a repetition.
        if (EhFolhaA4(r) != folhas) continue;
        if (r.LINHAS != fila.linhas || r.ASSINATURA != fila.assinatura || r.EtiquetasDaFila() != fila.etiquetas)
            continue;
        return "Esta fila já foi impressa às " + HoraMinuto(r.FIM > 0 ? r.FIM : r.INICIO) + " (" +
               std::to_string(fila.etiquetas) + " etiquetas). Imprimir de novo?";
    }
    return "";
}

std::string TImpressaoEtiquetas::PerguntaSubstituicao(TdtmAplicativo& dtm) {
    TDiarioImpressao diario(dtm);
    const auto ultimas = diario.Ultimas(1, NomeComputador(), 0, nullptr, false);
    if (ultimas.empty()) return "";
    const TRegistroDiario& u = ultimas.front();
    if (u.SITUACAO == kInteira || u.SITUACAO == kIncompleta || EhFolhaA4(u)) return "";
    // One still printing here is not interrupted.
    if (u.SITUACAO == kEmCurso && ProcessoVivo(u.PROCESSO)) return "";
    return "A fila tem uma impressão interrompida às " + HoraMinuto(u.INICIO) + " (" +
           std::to_string(u.ANTERIORES + u.ENTREGUES) + " de " + std::to_string(u.EtiquetasDaFila()) +
           " etiquetas entregues). Substituir a fila mesmo assim?";
}

std::string TImpressaoEtiquetas::ResumoEntrega() const {
    return TextoEntregues(enviadas_, aEnviar_, falhou_, naoConfirmadas_);
}

int64_t TImpressaoEtiquetas::EntreguesConfirmadas() {
    const int trabalhos = CdbETQ.Device().EnviosNaoConfirmados();
    int64_t incertas = 0;
    auto j = etiquetasPorTrabalho_.rbegin();
    for (int i = 0; i < trabalhos && j != etiquetasPorTrabalho_.rend(); ++i, ++j) incertas += *j;
    return enviadas_ - incertas;
}

void TImpressaoEtiquetas::DescontarNaoConfirmadas() {
    // A failure elsewhere (the database, a layout) leaves the printer printing what it has.
    if (!CdbETQ.Device().EnvioFalhou()) return;
    // Rows already journalled whole keep their count (the journal's rows
    // never add up to more than its run says).
    const int64_t confirmadas = std::max(EntreguesConfirmadas(), assentadas_);
    naoConfirmadas_ = enviadas_ - confirmadas;
    enviadas_ = confirmadas;
    etiquetasPorTrabalho_.clear();
}

bool TImpressaoEtiquetas::EnviarTrabalho(int etiquetas) {
    CdbETQ.Imprimir(1, 0);
    enviadas_ += etiquetas;
    etiquetasPorTrabalho_.push_back(etiquetas);
    // As many as the port keeps streams for.
    if (etiquetasPorTrabalho_.size() > 65536) etiquetasPorTrabalho_.pop_front();
    // The journal follows a long print about once a second, so a run cut
    // short by a crash still tells about how far it got (never further).
    if (registro_.ID != 0) {
        const double agora = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        if (agora - ultimoProgresso_ >= 1.0) {
            ultimoProgresso_ = agora;
            // What the printer's stack took: a cut of this process alone leaves
            // the printer printing its buffer, so these are not doubted here.
            registro_.ENTREGUES = enviadas_;
            // The progress also commits the blocks of rows written since the
            // last one: when it fails they are lost, and the journal is off.
            if (!Diario().Progresso(registro_)) {
                DesligarDiario();
            } else {
                confirmadas_ = gravadas_;
                entreguesConfirmadas_ = enviadas_;
            }
        }
    }
    if (PausaMs > 0 && pausar_) {
        if (Esperar)
            Esperar(PausaMs);
        else
            Pausa(PausaMs);
    }
    return Prosseguir(enviadas_);
}

bool TImpressaoEtiquetas::Prosseguir(int64_t feitas) {
    if (AoProgresso && !AoProgresso(feitas, aEnviar_)) cancelado_ = true;
    return !cancelado_;
}

bool TImpressaoEtiquetas::BuscarMercadoria(const std::string& codigo) {
    if (tblEtiquetaRead.Active()) AnteciparMercadorias();
    return BuscaMercadorias->Buscar(codigo, mercadoria_);
}

std::string TImpressaoEtiquetas::Load_Valor_do_campo(const std::string& campo) const {
    const TMercadoria& m = mercadoria_;
    if (campo == "CODIGO REDUZIDO") return std::to_string(m.COD_RED);
    if (campo == "CODIGO DE BARRAS TEXTO") return m.COD_BAR;
    if (campo == "NOME") return m.NOM_MER;
    if (campo == "APELIDO CUPOM") return m.APE_CUP;
    if (campo == "APLICACAO") return m.APLICACAO;
    if (campo == "REFERENCIA") return m.REF_MER;
    if (campo == "LOCALIZACAO") return m.LOC_MER;
    if (campo == "UNIDADE") return m.UNI_MER;
    // Purchase is CUSTO_OPE and purchase plus charges VLR_COM, as the shop system names them.
    if (campo == "VALOR DE COMPRA") return FormataValor(m.CUSTO_OPE);
    if (campo == "VALOR DE VENDA") return FormataValor(m.VLR_VEN);
    if (campo == "VALOR DE VENDA2") return FormataValor(m.VLR_VEN_2);
    if (campo == "VALOR DE VENDA3") return FormataValor(m.VLR_VEN_3);
    if (campo == "VALOR DE CUSTO") return FormataValor(m.VLR_CUS);
    if (campo == "COMPRA+ENCARGO") return FormataValor(m.VLR_COM);
    if (campo == "ESTOQUE") return FormataNumero(m.QTD_EST);
    if (campo == "VALOR LETRAS") return m.VALORLETRAS;
    if (campo == "GARANTIA") return std::to_string(m.GARANTIA);
    if (campo == "TEXTO PARAMETRO") return edtParametro;
    return "";
}

std::string TImpressaoEtiquetas::troca_Unidade(const std::string& unidade) {
    static const std::array<std::pair<const char*, const char*>, 31> tabela{{
        {"AMPOL", "AMP"}, {"BALDE", "BAL"}, {"BANDE", "BJ"},  {"BARRA", "BR"},  {"BISNA", "BSG"}, {"BLOCO", "BL"},
        {"BOBIN", "BBN"}, {"BOMB", "BB"},   {"DUZIA", "DZ"},  {"EMBAL", "EM"},  {"FARDO", "FD"},  {"FOLHA", "FL"},
        {"FRASC", "FR"},  {"GALAO", "GL"},  {"GRAMA", "GR"},  {"JOGO", "JG"},   {"LATA", "LT"},   {"LITRO", "LT"},
        {"MILHE", "MIL"}, {"PACOT", "PCT"}, {"PALET", "PLT"}, {"PARES", "PAR"}, {"POTE", "PT"},   {"ROLO", "RL"},
        {"SACO", "SC"},   {"SACOL", "SCL"}, {"TAMBO", "TB"},  {"TANQU", "TQ"},  {"UNID", "UN"},   {"VASIL", "VSL"},
        {"VIDRO", "VDR"},
    }};
    std::string chave = Utf8::Maiusculas(Trecho(unidade, 1, 5));
    for (const auto& [palavra, abreviacao] : tabela)
        if (chave == palavra) return abreviacao;
    return chave;
}

int TImpressaoEtiquetas::Relatorio_format(const std::string& modo, int codigo) {
    if (Utf8::Maiusculas(modo) != "TAMANHO") return 0;
    qryFormat.Clear();
    // The "0" in front is part of the literal: 113 gives cod_mrg=0113.
    qryFormat.Add("Select * from FormatMrg where cod_mrg=0" + std::to_string(codigo));
    qryFormat.Open();
    if (qryFormat.Eof()) return 0;
    return static_cast<int>(qryFormat.FieldByName("TAM_IMP").AsInteger());
}

void TImpressaoEtiquetas::InsertEtiquetaMrg(const std::string& Linha1, const std::string& Linha2,
                                            const std::string& Linha3, const std::string& Linha4,
                                            const std::string& Linha5) {
    // Parameters keep the texts as the goods have them: the pairs insert would
    // turn the price's decimal comma, and commas and quotes in names, into
    // other characters on the sheet. Prepared once for a whole sheet.
    static const std::string sql =
        "Insert into EtiquetaMrg ( LINHA1,LINHA2,LINHA3,LINHA4,LINHA5,Ct_lin ) Values ( ?,?,?,?,?,? )";
    fb::TQuery& q = dtm.qryprocesso;
    if (q.Texto() != sql) {
        q.Clear();
        q.Add(sql);
    }
    q.ParamTexto(0, Linha1);
    q.ParamTexto(1, Linha2);
    q.ParamTexto(2, Linha3);
    q.ParamTexto(3, Linha4);
    q.ParamTexto(4, Linha5);
    q.ParamInteiro(5, ContadorLinha);
    q.ExecSQL();
    ++ContadorLinha;
}

bool TImpressaoEtiquetas::Commit() { return dtm.dtmCommit(); }
