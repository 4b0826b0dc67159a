// The dispatcher: settings read from configEtq.ini, the component opened and
// closed around one model routine, the queue filtered meanwhile, and what a
// failure leaves behind.
#include <filesystem>

#include <gtest/gtest.h>

#include "FilaTeste.h"
#include "labels/Modelos.h"

namespace {

class Despacho : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        Mercadoria(1, "7891234567895", "CAMISETA", "CB-01", "29.9");
        Fila(1, "7891234567895", "CAMISETA", "1", "29.9");
    }
    bool FiltroLevantado() const { return !imp->tblEtiquetaRead.Filtrado() && imp->tblEtiquetaRead.Filtro().empty(); }
};

TEST_F(Despacho, NumeroDoModeloDaLinhaConfiguradaOuDaLinhaDeComando) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    Imprimir();
    EXPECT_EQ(imp->ModelNumber(), 6);
    EXPECT_NE(Saida().find("Manter restriado"), std::string::npos);

    imp->ParamModelo = "045";
    Imprimir();
    EXPECT_EQ(imp->ModelNumber(), 45);
    EXPECT_EQ(Saida().find("Manter restriado"), std::string::npos);

    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    imp->ParamModelo = "011";
    Imprimir();
    EXPECT_EQ(imp->ModelNumber(), 11);
    EXPECT_NE(Saida().find("CAMISETA"), std::string::npos);
}

// A number that names no model prints nothing and leaves the port alone: a
// file port is not created (nor emptied).
TEST_F(Despacho, SemModeloNaoAbreAPortaNemAvisa) {
    GravarConfig("MODELO PRINT", "");
    Imprimir();
    EXPECT_EQ(imp->ModelNumber(), 0);
    EXPECT_FALSE(std::filesystem::exists(saida_));
    GravarConfig("MODELO PRINT", "99 - nenhum");
    Imprimir();
    EXPECT_EQ(imp->ModelNumber(), 99);
    EXPECT_FALSE(std::filesystem::exists(saida_));
    EXPECT_FALSE(imp->CdbETQ.Ativo());
    EXPECT_TRUE(FiltroLevantado());
    EXPECT_TRUE(iu_.Mensagens().empty());
}

struct CasoCalor {
    const char* temperatura;
    int esperada;
    const char* comando;
};

void PrintTo(const CasoCalor& c, std::ostream* os) { *os << "TEMPERATURA '" << c.temperatura << "'"; }

class DespachoCalor : public Despacho, public ::testing::WithParamInterface<CasoCalor> {};

TEST_P(DespachoCalor, TemperaturaVaziaOuZeroImprimeComDez) {
    GravarConfig("TEMPERATURA", GetParam().temperatura);
    Imprimir();
    EXPECT_EQ(imp->CdbETQ.Temperatura(), GetParam().esperada);
    EXPECT_NE(Saida().find(GetParam().comando), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Casos, DespachoCalor,
                         ::testing::Values(CasoCalor{"", 10, "\rH10\r"}, CasoCalor{"0", 10, "\rH10\r"},
                                           CasoCalor{"12", 12, "\rH12\r"}),
                         [](const ::testing::TestParamInfo<CasoCalor>& i) {
                             return std::string("temperatura_") +
                                    (*i.param.temperatura ? i.param.temperatura : "vazia");
                         });

TEST_F(Despacho, LinguagemEmMinusculasDeixaAAnterior) {
    GravarConfig("MODELO", "ppla");
    Imprimir();
    EXPECT_EQ(imp->CdbETQ.Modelo(), etqPpla);  // as placed on the window
    GravarConfig("MODELO", "ZPL");
    Imprimir();
    EXPECT_EQ(imp->CdbETQ.Modelo(), etqZPLII);
    GravarConfig("MODELO", "ppla");
    Imprimir();
    EXPECT_EQ(imp->CdbETQ.Modelo(), etqZPLII);
    EXPECT_NE(Saida().find("^XA"), std::string::npos);
}

TEST_F(Despacho, ConfiguracaoNaoNumericaParaAntesDeTocarOComponente) {
    for (auto [chave, valor, mensagem] : {std::tuple{"TEMPERATURA", "-1", "'0-1' não é um valor inteiro válido"},
                                          std::tuple{"ADDCOLUNA", "dez", "'dez' não é um valor inteiro válido"},
                                          std::tuple{"edtRatio", "x", "'x' não é um valor inteiro válido"},
                                          std::tuple{"edttipobar", "1a", "'1a' não é um valor inteiro válido"}}) {
        TImpressaoEtiquetas nova(*dtm);
        GravarConfig(chave, valor);
        EXPECT_EQ(MensagemDe([&] { nova.ImprimeEtiquetasPreConfigurada(); }), mensagem);
        EXPECT_EQ(nova.CdbETQ.Porta(), "LPT1");
        EXPECT_FALSE(nova.CdbETQ.Ativo());
        GravarConfig(chave, "");
    }
    EXPECT_FALSE(std::filesystem::exists(saida_));
}

TEST_F(Despacho, AjustesDoConfigParaOsLayouts) {
    GravarConfig({{"ADDCOLUNA", "-3"}, {"MODELO IMPRESSORA", "ELGIN"}, {"edttipobar", "3"}});
    Imprimir();
    EXPECT_EQ(imp->AddColuna, -3);
    EXPECT_EQ(imp->ModeloImpressora, "ELGIN");
    EXPECT_EQ(imp->IndiceRatio, 1);  // edtRatio missing reads as 2
    EXPECT_EQ(imp->TipoBarraA4, 3);
    GravarConfig("edtRatio", "1");
    Imprimir();
    EXPECT_EQ(imp->IndiceRatio, 0);
}

TEST_F(Despacho, PortaQueNaoAbreParaAntesDeFiltrarAFila) {
    GravarConfig("PATH REDE", "FILE:" + pasta_ + "/nao-existe/saida.prn");
    imp->tblEtiquetaRead.Open();
    EXPECT_EQ(MensagemDe([&] { imp->ImprimeEtiquetasPreConfigurada(); }),
              "Não foi possível abrir " + pasta_ + "/nao-existe/saida.prn: Arquivo ou dispositivo não encontrado");
    EXPECT_FALSE(imp->CdbETQ.Ativo());
    EXPECT_FALSE(imp->tblEtiquetaRead.Filtrado());
}

TEST_F(Despacho, FalhaNoMeioDeixaAbertoEFiltradoEAProximaImprime) {
    // A shift beyond the label's width fails at the first text.
    GravarConfig({{"MODELO PRINT", "11 - PPLA 3 colunas"}, {"ADDCOLUNA", "10000"}});
    EXPECT_EQ(MensagemDe([&] { Imprimir(); }), "Horizontal deve ser de 0 a 9999");
    EXPECT_TRUE(imp->CdbETQ.Ativo());
    EXPECT_TRUE(imp->tblEtiquetaRead.Filtrado());

    GravarConfig("ADDCOLUNA", "");
    Imprimir();
    EXPECT_NE(Saida().find("CAMISETA"), std::string::npos);
    EXPECT_FALSE(imp->CdbETQ.Ativo());
    EXPECT_TRUE(FiltroLevantado());
}

// A look-up that fails once, as a dropped connection would.
class BuscaQueFalha : public TBuscaMercadorias {
public:
    explicit BuscaQueFalha(std::unique_ptr<TBuscaMercadorias> real) : real_(std::move(real)) {}
    bool falhar = true;
    bool Buscar(const std::string& codigo, TMercadoria& destino) override {
        if (codigo == "2" && falhar) throw EDatabaseError("conexão perdida");
        return real_->Buscar(codigo, destino);
    }

private:
    std::unique_ptr<TBuscaMercadorias> real_;
};

TEST_F(Despacho, LinhaMeioCompostaNaFalhaNaoVaiJuntoNaProximaImpressao) {
    Mercadoria(2, "12345", "MEIA", "M2", "5.5");
    Fila(2, "12345", "MEIA", "1", "5.5");
    auto busca = std::make_unique<BuscaQueFalha>(std::move(imp->BuscaMercadorias));
    BuscaQueFalha& falha = *busca;
    imp->BuscaMercadorias = std::move(busca);
    EXPECT_EQ(MensagemDe([&] { Imprimir(); }), "conexão perdida");  // CAMISETA drawn in column 1, MEIA fails
    EXPECT_TRUE(imp->CdbETQ.Ativo());

    falha.falhar = false;
    Imprimir();
    const std::string s = Saida();
    size_t camisetas = 0;
    for (size_t p = 0; (p = s.find("CAMISETA", p)) != std::string::npos; ++p) ++camisetas;
    EXPECT_EQ(camisetas, 1u) << s;
    EXPECT_EQ(s.find("\x02L"), s.rfind("\x02L"));  // one start block: one label image
}

TEST_F(Despacho, MercadoriaDeCadaLinhaPelaLinha10DaConsulta) {
    Mercadoria(0, "0000", "SEM CODIGO NA FILA", "Z0", "1");
    Executar("insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, QUANTIDADE, VLR_VEN) values (NULL, '0000', 'Z', 1, 1)");
    Imprimir();
    // the empty CODIGO reads as code 0, the goods row that has it prints
    EXPECT_NE(Saida().find("SEM CODIGO NA FILA"), std::string::npos);
    std::string esperado =
        "Select vlr_ven_3, custo_ope, aplicacao2, similares, \n"
        "COD_RED, COD_BAR, NOM_MER, ICM_PROG, QTD_EST, UNI_MER,\n"
        "VLR_VEN, REF_MER, LOC_MER, VLR_COM, VLR_CUS, APLICACAO,\n"
        "GARANTIA, VALORLETRAS, APE_CUP, DATA_CAD, VLR_VEN_2\n"
        " from Mercadorias\n\n\n\n\n\nwhere cod_red=0\n\n\n\n\n\n\n\n";
    EXPECT_EQ(imp->tblMercadorias.Texto(), esperado);  // the last row, in NOME order, is the one without code
}

TEST_F(Despacho, ContagemAEnviarArredondaComoOPercurso) {
    // Halves to even, below a half nothing; a row whose goods are gone still counts.
    Executar("update ETIQUETAREAD set QUANTIDADE = 2.5");
    Fila(1, "7891234567895", "CAMISETA", "3.5", "29.9");
    Fila(1, "7891234567895", "CAMISETA", "0.4", "29.9");
    Fila(1, "7891234567895", "CAMISETA", "1.5", "29.9");
    Fila(1, "7891234567895", "CAMISETA", "-3", "29.9");
    Fila(77, "77", "SUMIU", "1", "1");
    std::vector<int64_t> aEnviar;
    imp->AoProgresso = [&](int64_t, int64_t total) {
        aEnviar.push_back(total);
        return true;
    };
    Imprimir();
    ASSERT_FALSE(aEnviar.empty());
    EXPECT_EQ(aEnviar.front(), 2 + 4 + 0 + 2 + 1);
    EXPECT_EQ(imp->EtiquetasEnviadas(), 2 + 4 + 0 + 2);
}

TEST_F(Despacho, MercadoriasAntecipadasSaoAsDaConsultaDeCadaLinha) {
    Mercadoria(0, "0000", "CODIGO ZERO", "Z0", "1");
    Mercadoria(2, "0002", "O''NEIL, PRETO", "R2", "2.5");
    Executar(
        "update MERCADORIAS set APLICACAO = 'APL', GARANTIA = 30, DATA_CAD = '2025-01-31', "
        "VLR_VEN_2 = 1.5, SIMILARES = 'A' || ascii_char(10) || 'B' where COD_RED = 2");
    // Every kind of code a queue row may hold: found, missing, empty (code 0),
    // repeated, and one that is not a plain number (asked by itself).
    const std::vector<std::string> codigos{"1", "2", "999", "", "2", "0", "-0", "1+1"};
    TBuscaMercadoriasBanco antecipada(imp->tblMercadorias);
    antecipada.Antecipar(codigos);
    fb::TQuery outra(dtm->dtbAplicativo, dtm->ibtAplicativo);
    TBuscaMercadoriasBanco umaAUma(outra);
    for (const std::string& c : codigos) {
        TMercadoria a, b;
        const bool achouA = antecipada.Buscar(c, a);
        const bool achouB = umaAUma.Buscar(c, b);
        EXPECT_EQ(achouA, achouB) << c;
        EXPECT_EQ(a.COD_RED, b.COD_RED) << c;
        EXPECT_EQ(a.NOM_MER, b.NOM_MER) << c;
        EXPECT_EQ(a.COD_BAR, b.COD_BAR) << c;
        EXPECT_EQ(a.REF_MER, b.REF_MER) << c;
        EXPECT_EQ(a.APLICACAO, b.APLICACAO) << c;
        EXPECT_EQ(a.SIMILARES, b.SIMILARES) << c;
        EXPECT_EQ(a.VLR_VEN, b.VLR_VEN) << c;
        EXPECT_EQ(a.VLR_VEN_2, b.VLR_VEN_2) << c;
        EXPECT_EQ(a.GARANTIA, b.GARANTIA) << c;
        EXPECT_EQ(a.DATA_CAD, b.DATA_CAD) << c;
        // the goods statement names the row looked up either way
        EXPECT_EQ(imp->tblMercadorias.Texto(), outra.Texto()) << c;
    }
}

TEST_F(Despacho, FilaSoComQuantidadesZeroNaoImprime) {
    Executar("update ETIQUETAREAD set QUANTIDADE = 0");
    Fila(1, "7891234567895", "CAMISETA", "-2", "29.9");
    Imprimir();
    EXPECT_EQ(Saida(), "");
    EXPECT_EQ(imp->EtiquetasAEnviar(), 0);
    EXPECT_TRUE(FiltroLevantado());
    EXPECT_EQ(imp->tblEtiquetaRead.RecordCount(), 2u);
}

TEST_F(Despacho, CancelarParaAntesDoProximoTrabalhoEFechaComoAoFim) {
    Executar("update ETIQUETAREAD set QUANTIDADE = 7");
    std::vector<std::pair<int64_t, int64_t>> avisos;
    imp->AoProgresso = [&](int64_t enviadas, int64_t aEnviar) {
        avisos.emplace_back(enviadas, aEnviar);
        return false;
    };
    Imprimir();
    EXPECT_EQ(avisos, (std::vector<std::pair<int64_t, int64_t>>{{3, 7}}));
    EXPECT_TRUE(imp->Cancelado());
    EXPECT_EQ(imp->EtiquetasEnviadas(), 3);
    EXPECT_FALSE(imp->CdbETQ.Ativo());
    EXPECT_TRUE(FiltroLevantado());
    // One job of three labels: one print command per job.
    const std::string s = Saida();
    size_t jobs = 0;
    for (size_t p = 0; (p = s.find("\rE\r", p)) != std::string::npos; ++p) ++jobs;
    EXPECT_EQ(jobs, 1u);
}

// The pause after each job paces a printer: a device node (here /dev/null, as
// a parallel or USB printer's node) is paced, a regular file is not, wherever
// it is named as a file.
TEST_F(Despacho, PausaEntreTrabalhosPeloGanchoDeEsperaSoForaDeArquivoComum) {
    Executar("update ETIQUETAREAD set QUANTIDADE = 4");
    struct Caso {
        std::string porta;
        bool pausarEmArquivo;
        std::vector<int> esperas;
    };
    const std::vector<Caso> casos = {
        {"FILE:" + saida_, false, {}},        {saida_, false, {}},
        {"FILE:" + saida_, true, {500, 500}}, {"FILE:/dev/null", false, {500, 500}},
        {"/dev/null", false, {500, 500}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.porta);
        GravarConfig("PATH REDE", c.porta);
        std::vector<int> esperas;
        imp->PausaMs = 500;
        imp->PausarEmArquivoComum = c.pausarEmArquivo;
        imp->Esperar = [&](int ms) { esperas.push_back(ms); };
        Imprimir();
        EXPECT_EQ(esperas, c.esperas);
        EXPECT_EQ(imp->EtiquetasEnviadas(), 4);
        imp->PausaMs = 0;
        esperas.clear();
        Imprimir();
        EXPECT_TRUE(esperas.empty());
    }
}

// Names in the order people read them: accented capitals with their letter,
// lower case with upper case, in the queue's name order and so in the print.
TEST_F(Despacho, OrdemDoNomeComoSeLe) {
    Executar("delete from ETIQUETAREAD");
    int codigo = 0;
    for (const char* nome : {"XAMPU", "ÓLEO DE SOJA", "ÁGUA MINERAL", "Arroz tipo 1", "ÁLCOOL 70", "BANANA", "abacate",
                             "AÇÚCAR", "ACUCAR MASCAVO", "ovos"}) {
        const std::string n = nome;
        Mercadoria(900 + codigo, std::to_string(7890 + codigo), n, "", "1");
        Fila(900 + codigo, std::to_string(7890 + codigo), n, "1", "1");
        ++codigo;
    }
    imp->tblEtiquetaRead.Open();
    std::vector<std::string> ordem;
    for (imp->tblEtiquetaRead.First(); !imp->tblEtiquetaRead.Eof(); imp->tblEtiquetaRead.Next())
        ordem.push_back(imp->tblEtiquetaRead.FieldByName("NOME").AsString());
    const std::vector<std::string> esperada = {"abacate",      "AÇÚCAR", "ACUCAR MASCAVO", "ÁGUA MINERAL", "ÁLCOOL 70",
                                               "Arroz tipo 1", "BANANA", "ÓLEO DE SOJA",   "ovos",         "XAMPU"};
    EXPECT_EQ(ordem, esperada);
    Imprimir();
    const std::string s = Saida();
    size_t antes = 0;
    for (const std::string nome : {"abacate", "BANANA", "XAMPU"}) {
        const size_t p = s.find(nome.substr(0, 6));
        ASSERT_NE(p, std::string::npos) << nome;
        EXPECT_GT(p, antes) << nome;
        antes = p;
    }
}

TEST_F(Despacho, ModeloA4PassaPeloMesmoDespachoEAbreAPorta) {
    EXPECT_TRUE(EhModeloA4(20));
    EXPECT_FALSE(EhModeloA4(11));
    GravarConfig({{"MODELO PRINT", "20 - A4 2 colunas"}, {"PATH REDE", "FILE:" + pasta_ + "/nao-existe/x.prn"}});
    imp->tblEtiquetaRead.Open();
    EXPECT_EQ(MensagemDe([&] { imp->ImprimeEtiquetasPreConfigurada(); }),
              "Não foi possível abrir " + pasta_ + "/nao-existe/x.prn: Arquivo ou dispositivo não encontrado");
    EXPECT_FALSE(imp->tblEtiquetaRead.Filtrado());
}

TEST_F(Despacho, InsertEtiquetaMrgNumeraAsLinhasEOChamadorConfirma) {
    imp->InsertEtiquetaMrg("A", "B", "C", "D", "E");
    imp->InsertEtiquetaMrg("F", "", "", "", "");
    EXPECT_TRUE(imp->Commit());
    EXPECT_EQ(Texto("select LINHA1 || LINHA5 from ETIQUETAMRG where CT_LIN = 0"), "AE");
    EXPECT_EQ(Texto("select LINHA1 from ETIQUETAMRG where CT_LIN = 1"), "F");
    EXPECT_EQ(imp->ContadorLinha, 2);
    // A price with a decimal comma and a name with a comma and a quote reach the sheet as they are.
    imp->InsertEtiquetaMrg("AÇÚCAR, D'OURO", "7891234567895", "R$ 4,99", "", "");
    EXPECT_TRUE(imp->Commit());
    EXPECT_EQ(Texto("select LINHA1 || '|' || LINHA3 from ETIQUETAMRG where CT_LIN = 2"), "AÇÚCAR, D'OURO|R$ 4,99");
}

TEST_F(Despacho, RelatorioFormatLeOTamanhoDaPrimeiraLinhaDoCodigo) {
    Executar("insert into FORMATMRG (COD_MRG, ORD_IMP, TAM_IMP) values (113, 3, 36)");
    EXPECT_EQ(imp->Relatorio_format("tamanho", 113), 36);
    EXPECT_EQ(imp->qryFormat.FieldByName("ORD_IMP").AsInteger(), 3);
    EXPECT_EQ(imp->qryFormat.Texto(), "Select * from FormatMrg where cod_mrg=0113");
    EXPECT_EQ(imp->Relatorio_format("TAMANHO", 7), 0);
}

}  // namespace
