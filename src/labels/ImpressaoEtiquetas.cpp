#include "labels/ImpressaoEtiquetas.h"

#include <algorithm>
#include <array>
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
      qryFormat(modulo.dtbAplicativo, modulo.ibtAplicativo),
      conta_(modulo, tblEtiquetaRead) {
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
    naoConfirmadas_ = 0;
    conta_.Reiniciar();
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
    auto continuacao = conta_.TirarContinuacao();
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
    conta_.Reiniciar();
    linguagem_ = linguagem;
    conta_.DevolverContinuacao(std::move(continuacao));
    try {
        ExecutarModelo(*this, numero);
    } catch (const fb::EFbConexao&) {
        // The journal shares the lost link: the run stays "EM CURSO" with the
        // last progress it wrote.
        falhou_ = true;
        conta_.Terminar();
        throw;
    } catch (const std::exception& e) {
        // The rows the walk did not reach are journalled with what the run had to send of them.
        falhou_ = true;
        DescontarNaoConfirmadas();
        conta_.Fechar(kFalha, MensagemDaFalha(e), enviadas_);
        conta_.Terminar();
        throw;
    } catch (...) {
        falhou_ = true;
        DescontarNaoConfirmadas();
        conta_.Fechar(kFalha, "", enviadas_);
        conta_.Terminar();
        throw;
    }
    if (perguntarStatus && enviadas_ > 0) {
        const auto status = ConsultarStatusZpl(CdbETQ.Device(), TempoStatusMs);
        if (status && !status->Falha().empty()) {
            avisoStatus_ = "A impressora informou após o último trabalho: " + status->Falha();
            conta_.Observar(avisoStatus_);
        } else if (!status && !respondeuAntes) {
            // Taken by its network stack is all that is known of the labels.
            avisoStatus_ = "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram";
            conta_.Observar(avisoStatus_);
        }
    }
    avisoIncompleta_ = cancelado_ ? std::string() : conta_.TextoFaltas();
    conta_.Fechar(cancelado_                 ? kCancelada
                  : avisoIncompleta_.empty() ? kInteira
                                             : kIncompleta,
                  avisoIncompleta_, enviadas_);
    conta_.Terminar();
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

TAssinaturaFila TImpressaoEtiquetas::AssinaturaDaFila() { return conta_.AssinaturaDaFila(); }

void TImpressaoEtiquetas::IniciarContagem() {
    enviadas_ = 0;
    naoConfirmadas_ = 0;
    etiquetasPorTrabalho_.clear();
    aEnviar_ = 0;
    cancelado_ = false;
    antecipadaDesde_ = antecipadaAte_ = 0;
    percursoIniciado_ = true;
    conta_.Reiniciar();
    avisoIncompleta_.clear();
    if (FilaEmMemoria) {
        // Sample goods drawn for a picture: nothing reaches a printer, nothing is journaled.
        for (const TLinhaFila& l : *FilaEmMemoria)
            if (l.QUANTIDADE > Decimal(0)) aEnviar_ += ContagemEtiquetas(l.QUANTIDADE);
        conta_.Terminar();
        return;
    }
    // One aggregate over the rows the walk sees: the labels to send and what
    // a continuation holds the queue against, so a run is comparable with
    // the queue from its first second; the rows come as the walk reads them.
    const bool termica = !EhModeloA4(modelNumber_);
    aEnviar_ = conta_.Comecar(conta_.AssinaturaDaFila(), termica);
    if (!termica || !UsarDiario) return;
    // Nothing to send is no print: a run of "0 de 0" would be what the
    // repeat question and a continuation find.
    if (aEnviar_ == 0) return conta_.NadaAEnviar();
    conta_.Abrir({modelNumber_, linguagem_, CdbETQ.Porta(), aEnviar_, observacaoStatus_});
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

std::vector<TItemDiario> TImpressaoEtiquetas::ItensDaFila() { return conta_.ItensDaFila(); }

void TImpressaoEtiquetas::AnotarLinha(const TLinhaFila& linha, bool achouMercadoria) {
    // What the label says goes into the journal beside the row (when a run is written).
    std::optional<TEtiquetaDoDiario> etiqueta;
    if (achouMercadoria && conta_.Registro().ID != 0)
        etiqueta = EtiquetaDoModelo(modelNumber_, linha.VLR_VEN, mercadoria_.VLR_VEN, mercadoria_.VLR_VEN_2);
    conta_.AnotarLinha(
        linha, achouMercadoria, [this] { return EntreguesConfirmadas(); }, FilaEmMemoria != nullptr, etiqueta);
}

int64_t TImpressaoEtiquetas::EtiquetasDaLinha(const TLinhaFila&) const { return conta_.EtiquetasDaLinha(); }

TDiarioImpressao& TImpressaoEtiquetas::Diario() { return conta_.Diario(); }

void TImpressaoEtiquetas::DiarioDasFolhas(const std::string& destino) {
    if (!UsarDiario || FilaEmMemoria || aEnviar_ == 0) return;
    if (const auto entregues = conta_.Folhas(destino, modelNumber_, aEnviar_)) enviadas_ = *entregues;
}

std::string TImpressaoEtiquetas::PrepararContinuacao() { return conta_.PrepararContinuacao(); }

std::string TImpressaoEtiquetas::PerguntaRepeticao() {
    const int modelo = ModeloConfigurado();
    return conta_.PerguntaRepeticao(modelo >= 1 && modelo <= 59 && EhModeloA4(modelo));
}

std::string TImpressaoEtiquetas::PerguntaSubstituicao(TdtmAplicativo& dtm) {
    return TContaDiario::PerguntaSubstituicao(dtm);
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
    const int64_t confirmadas = std::max(EntreguesConfirmadas(), conta_.Assentadas());
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
    conta_.Progresso(enviadas_);
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
