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
#include "labels/Modelos.h"
#include "labels/ResumoImpressao.h"

TImpressaoEtiquetas::TImpressaoEtiquetas(TdtmAplicativo& modulo)
    : dtm(modulo),
      tblEtiquetaRead(modulo.dtbAplicativo, modulo.ibtAplicativo, "ETIQUETAREAD"),
      tblMercadorias(modulo.dtbAplicativo, modulo.ibtAplicativo),
      qryFormat(modulo.dtbAplicativo, modulo.ibtAplicativo) {
    tblEtiquetaRead.SetOrdenacao("NOME");
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
    std::vector<TItemDiario> continuacao = std::move(continuacao_);
    continuacao_.clear();
    if (AntesDeAtivar) AntesDeAtivar(CdbETQ);
    CdbETQ.Ativar();
    avisoStatus_.clear();
    observacaoStatus_.clear();
    bool statusAoFim = false;
    if (CdbETQ.Modelo() == etqZPLII && CdbETQ.Device().DeviceType() == TCdbDeviceType::dtTCP) {
        const auto status = ConsultarStatusZpl(CdbETQ.Device(), TempoStatusMs);
        if (!status) {
            observacaoStatus_ = "A impressora não respondeu ao pedido de status (~HS)";
        } else if (!status->Falha().empty()) {
            CdbETQ.Desativar();
            throw Exception(status->Falha() + ": nada foi enviado à impressora");
        }
        statusAoFim = status.has_value();
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
        continuacao_.clear();
        throw;
    } catch (const std::exception& e) {
        falhou_ = true;
        continuacao_.clear();
        FecharDiario(kFalha, MensagemDaFalha(e));
        throw;
    } catch (...) {
        falhou_ = true;
        continuacao_.clear();
        FecharDiario(kFalha, "");
        throw;
    }
    continuacao_.clear();
    if (statusAoFim && enviadas_ > 0) {
        const auto status = ConsultarStatusZpl(CdbETQ.Device(), TempoStatusMs);
        if (status && !status->Falha().empty()) {
            avisoStatus_ = "A impressora informou após o último trabalho: " + status->Falha();
            registro_.OBSERVACAO = avisoStatus_;
        }
    }
    FecharDiario(cancelado_ ? kCancelada : kInteira, "");
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

void TImpressaoEtiquetas::IniciarContagem() {
    enviadas_ = 0;
    aEnviar_ = 0;
    cancelado_ = false;
    antecipadaDesde_ = antecipadaAte_ = 0;
    percursoIniciado_ = true;
    registro_ = TRegistroDiario{};
    bloco_.clear();
    pendentes_.clear();
    anotadas_ = assentadas_ = 0;
    posicaoAnotada_ = 0;
    proximaLinha_ = 0;
    linhaAtual_ = SIZE_MAX;
    if (FilaEmMemoria) {
        // Sample goods drawn for a picture: nothing reaches a printer, nothing is journaled.
        for (const TLinhaFila& l : *FilaEmMemoria)
            if (l.QUANTIDADE > Decimal(0)) aEnviar_ += ContagemEtiquetas(l.QUANTIDADE);
        continuacao_.clear();
        return;
    }
    if (!continuacao_.empty()) {
        // Rows were compared when the continuation was prepared; a queue
        // changed since then prints whole rather than guessing.
        registro_.itens = ItensDaFila();
        bool igual = continuacao_.size() == registro_.itens.size();
        for (size_t i = 0; igual && i < continuacao_.size(); ++i)
            igual = continuacao_[i].MesmaLinha(registro_.itens[i]);
        if (igual) {
            for (size_t i = 0; i < continuacao_.size(); ++i) registro_.itens[i].QUANTIDADE = continuacao_[i].QUANTIDADE;
            registro_.CONTINUA = continua_;
        }
        continuacao_.clear();
        for (const auto& i : registro_.itens) aEnviar_ += i.QUANTIDADE;
    } else {
        // One aggregate over the rows the walk sees, each count rounded as the
        // walk rounds it (halves to even), instead of a pass over the queue.
        const std::string q = "quantidade";
        const std::string inteiro = "floor(" + q + ")";
        const std::string resto = "(" + q + " - " + inteiro + ")";
        std::string sql = "select coalesce(sum(" + inteiro + " + case when " + resto + " > 0.5 then 1 when " + resto +
                          " = 0.5 and mod(" + inteiro + ", 2) = 1 then 1 else 0 end), 0) from " +
                          tblEtiquetaRead.NomeTabela() + " where (" + q + " > 0)";
        if (tblEtiquetaRead.Filtrado() && !Trim(tblEtiquetaRead.Filtro()).empty())
            sql += " and (" + tblEtiquetaRead.Filtro() + ")";
        fb::TQuery soma(dtm.dtbAplicativo, dtm.ibtAplicativo);
        soma.Add(sql);
        soma.Open();
        aEnviar_ = soma.Eof() ? 0 : soma.FieldByName(soma.NomesDosCampos().at(0)).AsInteger();
        soma.Close();
        // The journal's rows come as the walk reads them: the first label
        // does not wait for a pass over a long queue.
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

void TImpressaoEtiquetas::AnotarLinha(const TLinhaFila& linha, bool achouMercadoria) {
    // A continued print has its rows from the start; a picture journals nothing.
    if (registro_.ID == 0 || !registro_.itens.empty()) return;
    posicaoAnotada_ = tblEtiquetaRead.RecNo();
    TItemDiario i = ItemDaLinha(linha);
    i.ORDEM = ++anotadas_;
    i.semMercadoria = !achouMercadoria;
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
    while (!pendentes_.empty() && assentadas_ + pendentes_.front().QUANTIDADE <= enviadas_) {
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
    bloco_.erase(bloco_.begin(), bloco_.begin() + static_cast<std::ptrdiff_t>(n));
}

void TImpressaoEtiquetas::DesligarDiario() {
    // A run missing rows would let a continuation or the repeat question go
    // by a queue it does not have: the journal is off for this print and the
    // run stays "EM CURSO".
    avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
    registro_.ID = 0;
    bloco_.clear();
    pendentes_.clear();
}

int64_t TImpressaoEtiquetas::EtiquetasDaLinha(const TLinhaFila& linha) const {
    if (linhaAtual_ < registro_.itens.size() && registro_.itens[linhaAtual_].CODIGO == linha.CODIGO)
        return registro_.itens[linhaAtual_].QUANTIDADE;
    return ContagemEtiquetas(linha.QUANTIDADE);
}

TDiarioImpressao& TImpressaoEtiquetas::Diario() {
    if (!diario_) diario_ = std::make_unique<TDiarioImpressao>(dtm);
    return *diario_;
}

void TImpressaoEtiquetas::FecharDiario(const char* situacao, const std::string& mensagem) {
    if (registro_.ID == 0) return;
    registro_.FIM = Agora();
    registro_.ENTREGUES = enviadas_;
    registro_.SITUACAO = situacao;
    registro_.MENSAGEM = mensagem;
    if (registro_.itens.empty()) {
        // The last rows read get what the printer took of them; a walk cut
        // short journals the rows it did not reach too, with none delivered.
        DistribuirEntregues(pendentes_, enviadas_ - assentadas_);
        for (auto& i : pendentes_) bloco_.push_back(std::move(i));
        pendentes_.clear();
        if (situacao != std::string_view(kInteira)) {
            try {
                PercorrerItensDaFila(posicaoAnotada_, anotadas_, [&](TItemDiario i) {
                    if (registro_.ID == 0) return;
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
    } else {
        DistribuirEntregues(registro_.itens, enviadas_);
    }
    if (!Diario().Fechar(registro_)) avisoDiario_ = "Diário de impressões desligado: " + Diario().Motivo();
}

namespace {
std::string HoraMinuto(TDateTime d) { return FormataData("HH:MM", d); }
}  // namespace

std::string TImpressaoEtiquetas::PrepararContinuacao() {
    continuacao_.clear();
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    const auto ultimas = Diario().Ultimas(1, NomeComputador());
    if (ultimas.empty()) {
        if (!Diario().Motivo().empty()) return "Diário de impressões indisponível: " + Diario().Motivo();
        return "Nenhuma impressão desta estação para continuar";
    }
    const TRegistroDiario& u = ultimas.front();
    if (u.SITUACAO == kInteira)
        return "A última impressão desta estação (às " + HoraMinuto(u.INICIO) + ") terminou inteira: nada a continuar";
    const std::vector<TItemDiario> fila = ItensDaFila();
    if (fila.size() != u.itens.size())
        return "A fila mudou desde a impressão das " + HoraMinuto(u.INICIO) + ": tinha " +
               std::to_string(u.itens.size()) + " linhas com etiquetas, agora tem " + std::to_string(fila.size());
    for (size_t i = 0; i < fila.size(); ++i) {
        if (fila[i].MesmaLinha(u.itens[i])) continue;
        const TItemDiario& a = u.itens[i];
        std::string porque = "a linha " + std::to_string(i + 1) + " (código " + a.CODIGO + ")";
        if (fila[i].CODIGO == a.CODIGO && fila[i].BARRAS == a.BARRAS && fila[i].NRO_LOTE == a.NRO_LOTE)
            porque +=
                " pedia " + std::to_string(a.QTD_FILA) + " etiquetas e agora pede " + std::to_string(fila[i].QTD_FILA);
        else
            porque += " agora é outra mercadoria";
        return "A fila mudou desde a impressão das " + HoraMinuto(u.INICIO) + ": " + porque;
    }
    int64_t falta = 0;
    continuacao_ = u.itens;
    for (auto& i : continuacao_) {
        i.QUANTIDADE = std::max<int64_t>(0, i.QUANTIDADE - i.ENTREGUES);
        falta += i.QUANTIDADE;
    }
    if (falta == 0) {
        continuacao_.clear();
        return "A impressão das " + HoraMinuto(u.INICIO) + " já entregou todas as etiquetas: nada a continuar";
    }
    continua_ = u.ID;
    return "";
}

std::string TImpressaoEtiquetas::PerguntaRepeticao() {
    const TDateTime limite = Agora() - 8.0 / 24.0;
    const std::vector<TRegistroDiario> recentes = Diario().Ultimas(20, NomeComputador(), limite, kInteira);
    // The queue is read only when a recent whole print could match it.
    if (recentes.empty()) return "";
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    const std::vector<TItemDiario> fila = ItensDaFila();
    if (fila.empty()) return "";
    for (const auto& r : recentes) {
        if (r.itens.size() != fila.size()) continue;
        bool igual = true;
        int64_t total = 0;
        for (size_t i = 0; igual && i < fila.size(); ++i) {
            igual = fila[i].MesmaLinha(r.itens[i]);
            total += r.itens[i].QTD_FILA;
        }
        if (igual)
            return "Esta fila já foi impressa às " + HoraMinuto(r.FIM > 0 ? r.FIM : r.INICIO) + " (" +
                   std::to_string(total) + " etiquetas). Imprimir de novo?";
    }
    return "";
}

std::string TImpressaoEtiquetas::ResumoEntrega() const { return TextoEntregues(enviadas_, aEnviar_, falhou_); }

bool TImpressaoEtiquetas::EnviarTrabalho(int etiquetas) {
    CdbETQ.Imprimir(1, 0);
    enviadas_ += etiquetas;
    // The journal follows a long print about once a second, so a run cut
    // short by a crash still tells about how far it got (never further).
    if (registro_.ID != 0) {
        const double agora = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        if (agora - ultimoProgresso_ >= 1.0) {
            ultimoProgresso_ = agora;
            registro_.ENTREGUES = enviadas_;
            // The progress also commits the blocks of rows written since the
            // last one: when it fails they are lost, and the journal is off.
            if (!Diario().Progresso(registro_)) DesligarDiario();
        }
    }
    if (PausaMs > 0) {
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
    const bool achou = BuscaMercadorias->Buscar(codigo, mercadoria_);
    // The walk looks the rows up in order: this tells which journal row it is on.
    auto& itens = registro_.itens;
    linhaAtual_ = SIZE_MAX;
    for (size_t i = proximaLinha_; i < itens.size(); ++i) {
        if (itens[i].CODIGO != codigo) continue;
        linhaAtual_ = i;
        proximaLinha_ = i + 1;
        itens[i].semMercadoria = !achou;
        break;
    }
    return achou;
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
