#include "labels/ContaDiario.h"

#include <algorithm>
#include <chrono>
#include <span>

#include "common/ErroSistema.h"
#include "common/Excecoes.h"
#include "common/UFuncoes.h"
#include "data/Tabela.h"
#include "data/udtmAplicativo.h"

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

std::string HoraMinuto(TDateTime d) { return FormataData("HH:MM", d); }

bool EhFolhaA4(const TRegistroDiario& r) { return r.LINGUAGEM == kLinguagemA4; }

double SegundosFirmes() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TContaDiario::TContaDiario(TdtmAplicativo& dtm, TTabela& fila) : dtm_(dtm), fila_(fila) {}

TContaDiario::~TContaDiario() = default;

TDiarioImpressao& TContaDiario::Diario() {
    if (!diario_) diario_ = std::make_unique<TDiarioImpressao>(dtm_);
    return *diario_;
}

void TContaDiario::Reiniciar() {
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
    fechado_ = false;
    idDesligado_ = 0;
    gravadas_ = confirmadas_ = entreguesConfirmadas_ = 0;
}

TAssinaturaFila TContaDiario::AssinaturaDaFila() {
    const std::string filtro = fila_.Filtrado() ? Trim(fila_.Filtro()) : std::string();
    fb::TQuery q(dtm_.dtbAplicativo, dtm_.ibtAplicativo);
    q.Add(TextoAssinaturaFila(fila_.NomeTabela(), filtro));
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

int64_t TContaDiario::Comecar(const TAssinaturaFila& fila, bool termica) {
    filaAtual_ = fila;
    // Sheets are journalled when they go out (Folhas): a preview only looked at is no print.
    if (!termica || !continuacao_) {
        continuacao_.reset();
        return fila.etiquetas;
    }
    // Another workstation may have changed the queue since the continuation
    // was prepared: the labels left would be other labels.
    if (!(continuacao_->fila == fila)) {
        const TDateTime inicio = continuacao_->inicio;
        continuacao_.reset();
        throw Exception("A fila mudou desde a impressão das " + HoraMinuto(inicio) + ": nada foi impresso");
    }
    semLinha_ = continuacao_->semLinha;
    registro_.CONTINUA = continuacao_->id;
    registro_.ANTERIORES = continuacao_->anteriores;
    return std::max<int64_t>(0, fila.etiquetas - continuacao_->anteriores);
}

void TContaDiario::Abrir(const TAberturaDiario& a) {
    registro_.INICIO = Agora();
    registro_.ESTACAO = NomeComputador();
    registro_.USUARIO = UsuarioSessao();
    registro_.MODELO = a.modelo;
    registro_.LINGUAGEM = a.linguagem;
    registro_.PORTA = a.porta;
    registro_.A_ENVIAR = a.aEnviar;
    registro_.OBSERVACAO = a.observacao;
    registro_.LINHAS = filaAtual_.linhas;
    registro_.ASSINATURA = filaAtual_.assinatura;
    registro_.PROCESSO = ProcessoAtual();
    if (!Diario().Abrir(registro_)) {
        registro_.ID = 0;
        aviso_ = "Diário de impressões desligado: " + Diario().Motivo();
    } else {
        aviso_.clear();
    }
    // The first progress a second after the start: a short print writes none.
    ultimoProgresso_ = SegundosFirmes();
}

template <class F>
void TContaDiario::PercorrerItensDaFila(size_t desde, int64_t ordem, F&& f) {
    if (desde == 0) {
        fila_.First();
    } else {
        fila_.SetRecNo(desde);
        fila_.Next();
    }
    for (; !fila_.Eof(); fila_.Next()) {
        const TLinhaFila l = LerLinhaFila(fila_);
        if (!(l.QUANTIDADE > Decimal(0))) continue;
        TItemDiario i = ItemDaLinha(l);
        i.ORDEM = ++ordem;
        f(std::move(i));
    }
}

std::vector<TItemDiario> TContaDiario::ItensDaFila() {
    std::vector<TItemDiario> itens;
    PercorrerItensDaFila(0, 0, [&](TItemDiario i) { itens.push_back(std::move(i)); });
    return itens;
}

int64_t TContaDiario::Restantes(int64_t ordem, int64_t pedidas, bool achouMercadoria) {
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

int64_t TContaDiario::AnotarLinha(const TLinhaFila& linha, bool achouMercadoria,
                                  const std::function<int64_t()>& confirmadas, bool soFigura,
                                  const std::optional<TEtiquetaDoDiario>& etiqueta) {
    const int64_t ordem = ++anotadas_;
    const int64_t pedidas = ContagemEtiquetas(linha.QUANTIDADE);
    etiquetasDaLinha_ = soFigura ? pedidas : Restantes(ordem, pedidas, achouMercadoria);
    if (!achouMercadoria && etiquetasDaLinha_ > 0) {
        ++faltaLinhas_;
        faltaEtiquetas_ += etiquetasDaLinha_;
        if (faltaCodigos_.size() < 5) faltaCodigos_.push_back(linha.CODIGO);
        faltaTodos_.insert(linha.CODIGO);
    }
    // A picture journals nothing.
    if (registro_.ID == 0) return etiquetasDaLinha_;
    posicaoAnotada_ = fila_.RecNo();
    TItemDiario i = ItemDaLinha(linha);
    i.ORDEM = ordem;
    i.QUANTIDADE = etiquetasDaLinha_;
    i.semMercadoria = !achouMercadoria;
    if (etiqueta) NotarEtiquetaDoDiario(registro_.ID, i.ORDEM, *etiqueta);
    if (!pendentes_.empty()) AssentarEntregues(confirmadas());
    // A row whose goods were gone, or that asks for no label, has its count already.
    if (achouMercadoria && i.QUANTIDADE > 0)
        pendentes_.push_back(std::move(i));
    else
        bloco_.push_back(std::move(i));
    GravarBloco(false);
    return etiquetasDaLinha_;
}

void TContaDiario::AssentarEntregues(int64_t confirmadas) {
    // The walk sends the labels of the rows in order: a row is delivered whole
    // once the labels of the rows before it and its own reached the printer,
    // and not before the printer surely took them in: a row settled whole stays so.
    while (!pendentes_.empty() && assentadas_ + pendentes_.front().QUANTIDADE <= confirmadas) {
        TItemDiario& i = pendentes_.front();
        i.ENTREGUES = i.QUANTIDADE;
        assentadas_ += i.QUANTIDADE;
        bloco_.push_back(std::move(i));
        pendentes_.erase(pendentes_.begin());
    }
}

void TContaDiario::GravarBloco(bool tudo) {
    if (registro_.ID == 0) return;
    // Whole blocks while the print goes: the block statement stays prepared.
    const size_t n = tudo ? bloco_.size() : bloco_.size() / kItensPorBloco * kItensPorBloco;
    if (n == 0) return;
    if (!Diario().GravarItens(registro_, std::span(bloco_).first(n))) return Desligar();
    gravadas_ = bloco_[n - 1].ORDEM;
    bloco_.erase(bloco_.begin(), bloco_.begin() + static_cast<std::ptrdiff_t>(n));
}

void TContaDiario::Desligar() {
    EsquecerEtiquetasDoDiario(registro_.ID);
    // The rows written since the last progress went with the failed request's
    // transaction: the operator is told what the journal kept. The run is
    // written once more at the end, without rows, so that a continuation
    // knows how far the print got.
    aviso_ = "Diário de impressões desligado: " + Diario().Motivo() + ". A impressão " + std::to_string(registro_.ID) +
             " ficou no diário com " + std::to_string(entreguesConfirmadas_) + " etiquetas entregues e " +
             std::to_string(confirmadas_) + " linhas da fila";
    if (gravadas_ > confirmadas_)
        aviso_ += "; as " + std::to_string(gravadas_ - confirmadas_) + " linhas gravadas depois disso foram desfeitas";
    idDesligado_ = registro_.ID;
    registro_.ID = 0;
    bloco_.clear();
    pendentes_.clear();
}

void TContaDiario::Progresso(int64_t enviadas) {
    // The journal follows a long print about once a second, so a run cut
    // short by a crash still tells about how far it got (never further).
    if (registro_.ID == 0) return;
    const double agora = SegundosFirmes();
    if (agora - ultimoProgresso_ < 1.0) return;
    ultimoProgresso_ = agora;
    // What the printer's stack took: a cut of this process alone leaves the
    // printer printing its buffer, so these are not doubted here.
    registro_.ENTREGUES = enviadas;
    // The progress also commits the blocks of rows written since the last
    // one: when it fails they are lost, and the journal is off.
    if (!Diario().Progresso(registro_)) {
        Desligar();
    } else {
        confirmadas_ = gravadas_;
        entreguesConfirmadas_ = enviadas;
    }
}

std::optional<int64_t> TContaDiario::Folhas(const std::string& destino, int modelo, int64_t aEnviar) {
    TRegistroDiario r;
    r.INICIO = Agora();
    r.ESTACAO = NomeComputador();
    r.USUARIO = UsuarioSessao();
    r.MODELO = modelo;
    r.LINGUAGEM = kLinguagemA4;
    r.PORTA = destino;
    r.A_ENVIAR = aEnviar;
    r.LINHAS = filaAtual_.linhas;
    r.ASSINATURA = filaAtual_.assinatura;
    r.PROCESSO = ProcessoAtual();
    if (!Diario().Abrir(r)) {
        aviso_ = "Diário de impressões desligado: " + Diario().Motivo();
        return std::nullopt;
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
    if (registro_.ID == 0) return std::nullopt;
    registro_.FIM = Agora();
    registro_.ENTREGUES = entregues;
    registro_.SITUACAO = entregues < aEnviar ? kIncompleta : kInteira;
    if (!Diario().Fechar(registro_)) aviso_ = "Diário de impressões desligado: " + Diario().Motivo();
    fechado_ = true;
    return entregues;
}

void TContaDiario::Fechar(const char* situacao, const std::string& mensagem, int64_t enviadas) {
    if (fechado_) return;
    if (registro_.ID == 0 && idDesligado_ != 0) {
        // The journal failed mid-print: its run gets at least its end and the delivered count.
        registro_.ID = idDesligado_;
        registro_.itens.clear();
        registro_.FIM = Agora();
        registro_.ENTREGUES = enviadas;
        registro_.SITUACAO = situacao;
        registro_.MENSAGEM = mensagem;
        if (Diario().Fechar(registro_))
            aviso_ += ". No fim, a impressão " + std::to_string(idDesligado_) + " foi registrada com " +
                      std::to_string(enviadas) + " etiquetas entregues";
        else
            aviso_ += ". Ao continuar, as etiquetas entregues depois disso serão impressas de novo";
        registro_.ID = 0;
        return;
    }
    if (registro_.ID == 0) return;
    registro_.FIM = Agora();
    registro_.ENTREGUES = enviadas;
    registro_.SITUACAO = situacao;
    registro_.MENSAGEM = mensagem;
    // The last rows read get what the printer took of them; a walk cut
    // short journals the rows it did not reach too, with none delivered.
    DistribuirEntregues(pendentes_, enviadas - assentadas_);
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
            aviso_ = "Diário de impressões sem as linhas da fila: " + MensagemDaFalha(e);
        }
    }
    GravarBloco(true);
    if (registro_.ID == 0) return;
    if (!Diario().Fechar(registro_)) aviso_ = "Diário de impressões desligado: " + Diario().Motivo();
    EsquecerEtiquetasDoDiario(registro_.ID);
}

std::string TContaDiario::TextoFaltas() const {
    if (faltaLinhas_ == 0) return "";
    auto plural = [](int64_t n, const char* um, const char* varios) {
        return std::to_string(n) + " " + (n == 1 ? um : varios);
    };
    std::string codigos;
    for (size_t k = 0; k < faltaCodigos_.size(); ++k)
        codigos += (k == 0 ? "" : k + 1 == faltaCodigos_.size() && faltaLinhas_ <= 5 ? " e " : ", ") + faltaCodigos_[k];
    if (faltaLinhas_ > 5) codigos += " e outras " + std::to_string(faltaLinhas_ - 5);
    return plural(faltaEtiquetas_, "etiqueta", "etiquetas") + " de " + plural(faltaLinhas_, "linha", "linhas") +
           " da fila " + (faltaEtiquetas_ == 1 ? "não foi impressa" : "não foram impressas") + ": " +
           (faltaLinhas_ == 1 ? "a mercadoria " + codigos + " não existe mais no cadastro"
                              : "as mercadorias " + codigos + " não existem mais no cadastro");
}

std::string TContaDiario::PrepararContinuacao() {
    continuacao_.reset();
    if (!fila_.Active()) fila_.Open();
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

std::string TContaDiario::PerguntaRepeticao(bool folhas) {
    const TDateTime limite = Agora() - 8.0 / 24.0;
    // A print that sent all but rows whose goods were gone printed the queue too.
    std::vector<TRegistroDiario> recentes = Diario().Ultimas(20, NomeComputador(), limite, nullptr, false);
    std::erase_if(recentes,
                  [](const TRegistroDiario& r) { return r.SITUACAO != kInteira && r.SITUACAO != kIncompleta; });
    // The queue is read only when a recent whole print could match it.
    if (recentes.empty()) return "";
    if (!fila_.Active()) fila_.Open();
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

std::string TContaDiario::PerguntaSubstituicao(TdtmAplicativo& dtm) {
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
