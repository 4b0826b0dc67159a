#include "labels/ImpressaoEtiquetas.h"

#include <array>
#include <utility>

#include "common/ConfigEtq.h"
#include "common/Regional.h"
#include "common/UFuncoes.h"
#include "common/Win1252.h"
#include "data/udtmAplicativo.h"
#include "labels/Modelos.h"

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
    } catch (...) {
    }
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
    // A number with no routine prints nothing; the port is not even opened,
    // so a file port is not emptied.
    if (numero < 1 || numero > 59) return;

    // 9-10
    CdbETQ.SetPorta(portaTexto);
    CdbETQ.SetLimparMemoria(true);
    CdbETQ.SetTemperatura(calor);
    CdbETQ.SetAvanco(0);
    if (linguagem == "PPLA") CdbETQ.SetModelo(etqPpla);
    else if (linguagem == "PPLB") CdbETQ.SetModelo(etqPplb);
    else if (linguagem == "ZPL") CdbETQ.SetModelo(etqZPLII);
    else if (linguagem == "EPL2") CdbETQ.SetModelo(etqEpl2);
    // A print that failed midway left the component open with the labels it
    // was composing; they were lost with it and must not ride along with the
    // first job of this print. Closing drops them; the port opens again.
    if (CdbETQ.Ativo() && (CdbETQ.ListaCmd().Count() > 0 || CdbETQ.EtqInicializada() || CdbETQ.EtqFinalizada()))
        CdbETQ.Desativar();
    if (AntesDeAtivar) AntesDeAtivar(CdbETQ);
    CdbETQ.Ativar();

    // 11-13. A failure in between leaves the component open and the filter on;
    // the next print with the same port and language goes on from there.
    if (!tblEtiquetaRead.Active()) tblEtiquetaRead.Open();
    tblEtiquetaRead.SetFiltro("quantidade>0");
    tblEtiquetaRead.SetFiltrado(true);
    enviadas_ = 0;
    aEnviar_ = 0;
    cancelado_ = false;
    antecipadaDesde_ = antecipadaAte_ = 0;
    ExecutarModelo(*this, numero);
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
    if (FilaEmMemoria) {
        for (const TLinhaFila& l : *FilaEmMemoria)
            if (l.QUANTIDADE > Decimal(0)) aEnviar_ += ContagemEtiquetas(l.QUANTIDADE);
        return;
    }
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

bool TImpressaoEtiquetas::EnviarTrabalho(int etiquetas) {
    CdbETQ.Imprimir(1, 0);
    enviadas_ += etiquetas;
    if (PausaMs > 0) {
        if (Esperar) Esperar(PausaMs);
        else Pausa(PausaMs);
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
    const std::string chave = Utf8::Maiusculas(Trecho(unidade, 1, 5));
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
