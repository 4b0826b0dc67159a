// Goods statement, row checks and label batches on a real (embedded) shop database.
#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <memory>

#include "../data/modulos/BancoTeste.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"
#include "data/udtmAplicativo.h"
#include "goods/ChamaFila.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LoteEtiquetas.h"
#include "interface/ModelosA4.h"
#include "suporte/Suporte.h"

namespace {

using Linha = std::vector<std::string>;

class Lote : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        dtm = std::make_unique<TdtmAplicativo>();
        sel = std::make_unique<TSelecaoMercadorias>(*dtm);
    }
    void TearDown() override {
        sel.reset();
        dtm.reset();
        BancoTeste::TearDown();
    }

    void Mercadoria(int cod, const std::string& barras, const std::string& nome, const std::string& extra = "",
                    const std::string& valores = "") {
        Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo" + extra + ") values (" +
                 std::to_string(cod) + ", " + AspasSql(barras) + ", " + AspasSql(nome) + ", 'T'" + valores + ")");
    }

    // Rows of a select, every column as text, through another connection.
    std::vector<Linha> Linhas(const std::string& sql) {
        Texto("select 1 from rdb$database");  // fresh look
        fb::TQuery q(Outro(), *Outro().TransacaoPadrao());
        q.Add(sql);
        q.Open();
        std::vector<Linha> r;
        for (; !q.Eof(); q.Next()) {
            Linha l;
            for (const std::string& c : q.NomesDosCampos()) l.push_back(q.FieldByName(c).AsString());
            r.push_back(l);
        }
        return r;
    }
    std::vector<std::string> Codigos() {
        std::vector<std::string> r;
        for (const Linha& l : Linhas("select codigo from etiquetaread order by codigo")) r.push_back(l[0]);
        return r;
    }
    std::vector<std::string> Selecionadas(const TOpcoesMercadorias& o) {
        sel->Opcoes = o;
        sel->MontarLote();
        return Codigos();
    }
    void EncherFila() {
        Executar("insert into etiquetaread (codigo, nome, quantidade) values (999, 'ANTES', 3)");
        Executar("insert into etiquetamrg (linha1, ct_lin) values ('ANTES', 1)");
    }
    void FilaComoAntes() {
        EXPECT_EQ(Linhas("select codigo, nome, quantidade from etiquetaread"),
                  (std::vector<Linha>{{"999", "ANTES", "3.000"}}));
        EXPECT_EQ(Contar("etiquetamrg"), 1);
    }

    std::unique_ptr<TdtmAplicativo> dtm;
    std::unique_ptr<TSelecaoMercadorias> sel;
};

std::string Juntar(const std::vector<std::string>& l) {
    std::string r;
    for (size_t i = 0; i < l.size(); ++i) r += (i ? "\n" : "") + l[i];
    return r;
}

TEST_F(Lote, PadraoEnviaAInstrucaoExataEPegaSoOsAtivos) {
    Mercadoria(2, "789", "B");
    Mercadoria(1, "788", "A");
    Executar("insert into mercadorias (cod_red, nom_mer, pro_ativo) values (3, 'INATIVA', 'F')");
    Executar("insert into mercadorias (cod_red, nom_mer, pro_ativo) values (0, 'ZERO', 'T')");
    EXPECT_EQ(Selecionadas(TOpcoesMercadorias{}), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(sel->tblMercadorias.UltimoTextoEnviado(), Juntar(SQLMercadorias(TOpcoesMercadorias{})));
    EXPECT_FALSE(sel->tblMercadorias.Active());

    TOpcoesMercadorias todos;
    todos.chkProAtivos = false;
    EXPECT_EQ(Selecionadas(todos), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(Lote, NomeAchaMaiusculasEMinusculasEAspas) {
    Mercadoria(1, "1", "CALÇA");
    Mercadoria(2, "2", "Calção");
    Mercadoria(3, "3", "D'AGUA MINERAL");
    Mercadoria(4, "4", "SAPATO");
    TOpcoesMercadorias o;
    o.chkNome = true;
    o.edtNome = "cal";
    EXPECT_EQ(Selecionadas(o), (std::vector<std::string>{"1", "2"}));
    o.edtNome = "D'AGUA";
    EXPECT_EQ(Selecionadas(o), (std::vector<std::string>{"3"}));
}

TEST_F(Lote, OrdemEscolhidaEhAOrdemDaFila) {
    Mercadoria(1, "3", "B");
    Mercadoria(2, "1", "C");
    Mercadoria(3, "2", "A");
    TOpcoesMercadorias o;
    o.Ordem = TOrdemListagem::NomeMer;
    sel->Opcoes = o;
    sel->MontarLote();
    // Insert order follows the statement's order (no key: natural order of a fresh table).
    EXPECT_EQ(Linhas("select codigo from etiquetaread"), (std::vector<Linha>{{"3"}, {"1"}, {"2"}}));
}

// A list longer than the statement may carry (tens of thousands of codes
// used to crash the engine) selects through the temporary table: the same
// rows in the same order as the short list of the codes that exist.
TEST_F(Lote, ListaLongaSelecionaAsMesmasLinhasNaMesmaOrdem) {
    Mercadoria(1, "7890000000003", "C");
    Mercadoria(2, "7890000000001", "A");
    Mercadoria(3, "7890000000002", "B");
    Mercadoria(4, "999", "FORA");
    // Just above the bound for the orders; for the batch, as long as the list that crashed.
    std::string acima, longa;
    for (long i = kMaximoCodigosNaInstrucao + 3; i > 0; --i) acima += std::to_string(7890000000000L + i) + "\n";
    for (long i = 50000; i > 0; --i) longa += std::to_string(7890000000000L + i) + "\n";
    // The goods in the order the statement gives them.
    auto ordemDaInstrucao = [&](const TOpcoesMercadorias& o) {
        sel->Opcoes = o;
        sel->AbrirMercadorias();
        std::vector<int64_t> cods;
        for (sel->tblMercadorias.First(); !sel->tblMercadorias.Eof(); sel->tblMercadorias.Next())
            cods.push_back(sel->tblMercadorias.FieldByName("COD_RED").AsInteger());
        sel->FecharMercadorias();
        return cods;
    };
    const std::vector<int64_t> esperadas[] = {{1, 2, 3}, {2, 3, 1}, {2, 3, 1}};
    int i = 0;
    for (TOrdemListagem ordem : {TOrdemListagem::CodigoRed, TOrdemListagem::CodigoBar, TOrdemListagem::NomeMer}) {
        TOpcoesMercadorias o;
        o.Ordem = ordem;
        o.chkListaCodBar = true;
        o.memoLista = "7890000000003\n7890000000001\n7890000000002\n";
        EXPECT_EQ(ordemDaInstrucao(o), esperadas[i]);
        EXPECT_EQ(sel->tblMercadorias.UltimoTextoEnviado(), Juntar(SQLMercadorias(o)));
        o.memoLista = acima;
        EXPECT_EQ(ordemDaInstrucao(o), esperadas[i++]);
        EXPECT_NE(sel->tblMercadorias.UltimoTextoEnviado().find("ETIQUETALISTA"), std::string::npos);
    }
    // The whole batch, and again (the table is there now, its rows were the last run's).
    for (int vez = 0; vez < 2; ++vez) {
        TOpcoesMercadorias o;
        o.chkListaCodBar = true;
        o.memoLista = longa;
        sel->Opcoes = o;
        EXPECT_EQ(sel->MontarLote(), 3u);
        EXPECT_EQ(Codigos(), (std::vector<std::string>{"1", "2", "3"}));
    }
}

TEST_F(Lote, VerificacoesDeLinhaPassamEFalhamComoDevem) {
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (5, 'CALÇADOS', 'LOJA')");
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (6, 'CAMA', 'DEPOSITO')");
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (7, 'CALHAS', 'DEPOSITO')");
    Mercadoria(1, "000123", "A", ", dep_mer, aplicacao", ", 5, '150'");
    Mercadoria(2, "7891234567890", "B", ", dep_mer, aplicacao", ", 6, 'X250'");
    Mercadoria(3, "789123456789", "C", ", dep_mer", ", 7");
    Mercadoria(4, "", "D");
    Executar("insert into compras (nro_not, integrador, data_emi) values (100, 1, '2025-03-05')");
    Executar("insert into compras (nro_not, integrador, data_emi) values (200, 1, '2025-03-06')");
    Executar("insert into itenscompra (nro_not, integrador, item, cod_mer) values (100, 1, 1, 1)");
    Executar("insert into itenscompra (nro_not, integrador, item, cod_mer) values (200, 1, 1, 2)");
    Executar("insert into itenscompra (nro_not, integrador, item, cod_mer) values (200, 1, 2, 3)");

    struct Caso {
        const char* nome;
        std::function<void(TOpcoesMercadorias&)> marcar;
        std::vector<std::string> codigos;
    };
    const Caso casos[] = {
        {"gerados", [](auto& o) { o.chkCodGer = true; }, {"1"}},
        {"faixa de barras",
         [](auto& o) {
             o.chkNumero = true;
             o.edtCodBar = "7890000000000";
             o.edtBar2 = "7899999999999";
         },
         {"2"}},
        {"faixa personalizada",
         [](auto& o) {
             o.chkCodPers = true;
             o.edtCodPers1 = "100";
             o.edtCodPers2 = "200";
         },
         {"1"}},
        {"departamento composto",
         [](auto& o) {
             o.chkDepartComposta = true;
             o.edtNomeDepart = "CAL";
         },
         {"1", "3"}},
        {"setor",
         [](auto& o) {
             o.chksetor = true;
             o.edtSetor = "DEPOSITO";
         },
         {"2", "3"}},
        {"composto e setor",
         [](auto& o) {
             o.chkDepartComposta = true;
             o.edtNomeDepart = "CAL";
             o.chksetor = true;
             o.edtSetor = "DEPOSITO";
         },
         {"3"}},
        {"nota",
         [](auto& o) {
             o.chkNNota = true;
             o.edtNNota = "200";
         },
         {"2", "3"}},
        {"data da compra",
         [](auto& o) {
             o.chkDataCompra = true;
             o.edtDtC1 = "05/03/2025";
             o.edtDtC2 = "05/03/2025";
         },
         {"1"}},
        {"data da compra, dois dias",
         [](auto& o) {
             o.chkDataCompra = true;
             o.edtDtC1 = "05/03/2025";
             o.edtDtC2 = "06/03/2025";
         },
         {"1", "2", "3"}},
    };
    for (const auto& c : casos) {
        TOpcoesMercadorias o;
        c.marcar(o);
        EXPECT_EQ(Selecionadas(o), c.codigos) << c.nome;
    }
}

TEST_F(Lote, VerificacaoDeDepartamentoEnviaOsTextosDaLinha) {
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (12, 'CALÇADOS', 'LOJA')");
    Mercadoria(1, "1", "A", ", dep_mer", ", 12");
    TOpcoesMercadorias o;
    o.chksetor = true;
    o.edtSetor = "LOJA";
    EXPECT_EQ(Selecionadas(o), (std::vector<std::string>{"1"}));
    EXPECT_EQ(sel->tblDepartPesquisa.UltimoTextoEnviado(),
              "select cod_dep\nfrom departamentos\nwhere cod_dep>0\n and Nom_Setor = 'LOJA'\n and cod_dep = 012");
    o.chksetor = false;
    o.chkDepartComposta = true;
    o.edtNomeDepart = "CAL";
    EXPECT_EQ(Selecionadas(o), (std::vector<std::string>{"1"}));
    EXPECT_EQ(sel->tblDepartPesquisa.UltimoTextoEnviado(),
              "select cod_dep\nfrom departamentos\nwhere cod_dep>0\n and Nom_dep like 'CAL%'\n and cod_dep=012");
}

TEST_F(Lote, LinhasSimplesComoAFilaAsGuarda) {
    setlocale(LC_ALL, "pt_BR.UTF-8");  // a decimal comma locale, where there is one
    Mercadoria(1, "789", "CAMISA, AZUL", ", qtd_est, vlr_ven, aplicacao", ", 4.5, 12.5, 'APL'");
    Mercadoria(2, "790", std::string(50, 'N'), ", qtd_est, vlr_ven", ", 0, 0");
    EncherFila();
    sel->Opcoes = TOpcoesMercadorias{};
    EXPECT_EQ(sel->MontarLote(), 2u);
    setlocale(LC_ALL, "C");
    EXPECT_EQ(
        Linhas("select codigo, barras, nome, so_nome, estoque, vlr_ven, nro_lote, quantidade "
               "from etiquetaread order by codigo"),
        (std::vector<Linha>{{"1", "789", "CAMISA. AZUL", "CAMISA. AZUL", "4.500", "12.500", "", "0.000"},
                            {"2", "790", std::string(50, 'N'), std::string(50, 'N'), "0.000", "0.000", "", "0.000"}}));
    EXPECT_EQ(Contar("etiquetamrg"), 0);
}

TEST_F(Lote, InsercaoLevaOsParesNaOrdemComNumerosCurtos) {
    // Names longer than the queue's NOME: cuts count characters, not bytes.
    Executar("alter table mercadorias alter nom_mer type varchar(100)");
    auto repetir = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i) r += s;
        return r;
    };
    const std::string longo = repetir("AÇÃO-", 18);  // 90 characters
    struct Caso {
        const char* nome;
        std::string nomeMercadoria;
        bool grades;
        std::string insercao;
        Linha guardada;  // barras, nome, so_nome, estoque, vlr_ven, nro_lote
    };
    const Caso casos[] = {
        {"simples",
         "CAMISA, AZUL",
         false,
         "Insert into EtiquetaRead\n( CODIGO,BARRAS,NOME,So_NOME,Estoque,VLR_VEN,QUANTIDADE )  \n"
         " Values ( '1','789','CAMISA. AZUL','CAMISA. AZUL','4.5','12.5','0' )  ",
         {"789", "CAMISA. AZUL", "CAMISA. AZUL", "4.500", "12.500", ""}},
        {"grade",
         longo,
         true,
         "Insert into EtiquetaRead\n( CODIGO,BARRAS,NOME,So_NOME,Estoque,VLR_VEN,nro_lote,QUANTIDADE )  \n"
         " Values ( '1','789','" +
             repetir("AÇÃO-", 14) + "','" + repetir("AÇÃO-", 16) + "','2','12.5','AZUL MARINHO 42','0' )  ",
         {"789", repetir("AÇÃO-", 14), repetir("AÇÃO-", 16), "2.000", "12.500", "AZUL MARINHO 42"}},
    };
    for (const auto& c : casos) {
        Executar("delete from grades_produtos_p");
        Executar("delete from mercadorias");
        dtm->dtmConectBancoMrg(false);  // a new snapshot of the goods
        Mercadoria(1, "789", c.nomeMercadoria, ", qtd_est, vlr_ven", ", 4.5, 12.5");
        Executar(
            "insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, vlr_grade) "
            "values (1, 'AZUL MARINHO 42', 2, '', 0)");
        sel->ProcessarGrades = c.grades;
        EXPECT_EQ(sel->MontarLote(), 1u) << c.nome;
        EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), c.insercao) << c.nome;
        EXPECT_EQ(Linhas("select barras, nome, so_nome, estoque, vlr_ven, nro_lote from etiquetaread"),
                  std::vector<Linha>{c.guardada})
            << c.nome;
    }
}

TEST_F(Lote, Modelo55LevaAAplicacaoNoCodigoDeBarras) {
    GravarConfig("MODELO PRINT", "55 - A4 aplicacao");
    Mercadoria(1, "789", "A", ", aplicacao", ", '" + std::string(35, '7') + "'");
    Mercadoria(2, "790", "B");
    sel->MontarLote();
    EXPECT_EQ(Linhas("select barras from etiquetaread order by codigo"),
              (std::vector<Linha>{{std::string(30, '7')}, {""}}));
    // The command-line number wins over the configured one.
    sel->ParamModelo = "012";
    sel->MontarLote();
    EXPECT_EQ(Linhas("select barras from etiquetaread order by codigo"), (std::vector<Linha>{{"789"}, {"790"}}));
}

TEST_F(Lote, GradesUmaLinhaPorGradeENenhumaSimples) {
    const std::string nome50 = "CAMISETA POLO MANGA CURTA ALGODAO PENTEADO PREMIUM";  // 50
    ASSERT_EQ(nome50.size(), 50u);
    Mercadoria(1, "7890001", nome50, ", qtd_est, vlr_ven", ", 9, 59.9");
    Mercadoria(2, "7890002", "SEM GRADE", ", qtd_est, vlr_ven", ", 1, 10");
    Executar(
        "insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, vlr_grade) "
        "values (1, 'AZUL MARINHO 42', 2, '7890011', 61.5)");
    Executar(
        "insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, vlr_grade) "
        "values (1, 'P', 3, '', 0)");
    Executar(
        "insert into grades_produtos_p (cod_mer, nome_gra, qtd_gra, cod_bar, vlr_grade) "
        "values (1, 'UMA GRADE DE NOME BEM COMPRIDO', 4, null, null)");
    sel->ProcessarGrades = true;
    EXPECT_EQ(sel->MontarLote(), 4u);
    EXPECT_EQ(Linhas("select codigo, barras, nome, so_nome, estoque, vlr_ven, nro_lote, quantidade from etiquetaread "
                     "order by codigo, estoque"),
              (std::vector<Linha>{{"1", "7890011", (nome50 + " - AZUL MARINHO 42").substr(0, 70), nome50, "2.000",
                                   "61.500", "AZUL MARINHO 42", "0.000"},
                                  {"1", "7890001", nome50 + " - P", nome50, "3.000", "59.900", "P", "0.000"},
                                  {"1", "7890001", (nome50 + " - UMA GRADE DE NOME BEM COMPRIDO").substr(0, 70), nome50,
                                   "4.000", "59.900", "UMA GRADE DE NOME BE", "0.000"},
                                  {"2", "7890002", "SEM GRADE", "SEM GRADE", "1.000", "10.000", "", "0.000"}}));

    sel->ProcessarGrades = false;
    EXPECT_EQ(sel->MontarLote(), 2u);
    EXPECT_EQ(Codigos(), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Lote, NadaSelecionadoDeixaAsDuasTabelasVazias) {
    Mercadoria(1, "1", "A");
    EncherFila();
    TOpcoesMercadorias o;
    o.chkBarras = true;
    o.edtcodbarras = "NAO EXISTE";
    sel->Opcoes = o;
    EXPECT_EQ(sel->MontarLote(), 0u);
    EXPECT_TRUE(sel->LoteGravado);
    EXPECT_EQ(Contar("etiquetaread"), 0);
    EXPECT_EQ(Contar("etiquetamrg"), 0);
}

TEST_F(Lote, OpcaoRecusadaNaoEnviaNadaENaoEsvaziaAFila) {
    Mercadoria(1, "1", "A");
    EncherFila();
    const std::function<void(TOpcoesMercadorias&)> recusadas[] = {
        [](auto& o) {
            o.chkCodRed = true;
            o.edtCod1 = "1)or(1=1";
        },
        [](auto& o) {
            o.chkNNota = true;
            o.edtNNota = "1 or 1=1";
        },
        [](auto& o) { o.chkDepartamento = true; },
        [](auto& o) {
            o.chkDataCompra = true;
            o.edtDtC1 = "32/01/2025";
            o.edtDtC2 = "01/02/2025";
        },
        [](auto& o) {
            o.chkListaCodBar = true;
            o.memoLista = "\n  \n";
        },
    };
    for (const auto& marcar : recusadas) {
        TOpcoesMercadorias o;
        marcar(o);
        sel->Opcoes = o;
        EXPECT_NE(MensagemDe<Exception>([&] { sel->MontarLote(); }), "(nada lançado)");
        EXPECT_EQ(sel->tblMercadorias.UltimoTextoEnviado(), "");
        EXPECT_EQ(dtm->qryprocesso.UltimoTextoEnviado(), "");
        FilaComoAntes();
    }
}

TEST_F(Lote, FalhaNoMeioDoLoteDevolveAFilaComoEstava) {
    for (int i = 1; i <= 5; ++i) Mercadoria(i, std::to_string(i), i == 4 ? "FALHA" : "OK");
    Executar("create exception e_fila 'fila recusou a linha'");
    Executar(
        "create trigger t_fila for etiquetaread before insert as begin "
        "if (new.nome = 'FALHA') then exception e_fila; end");
    EncherFila();
    sel->Opcoes = TOpcoesMercadorias{};
    const std::string m = MensagemDe<EDatabaseError>([&] { sel->MontarLote(); });
    EXPECT_NE(m.find("fila recusou a linha"), std::string::npos) << m;
    FilaComoAntes();
    // The connection goes on: the next batch (a new snapshot) lands whole.
    Executar("update mercadorias set nom_mer = 'OK' where cod_red = 4");
    dtm->dtmConectBancoMrg(false);
    EXPECT_EQ(sel->MontarLote(), 5u);
    EXPECT_EQ(Contar("etiquetaread"), 5);
}

TEST_F(Lote, FalhaEmQualquerBlocoDevolveAFilaComoEstava) {
    // The failing row in the first block, in a middle one, and alone in the last.
    const int total = 2 * static_cast<int>(TInsercaoEmBlocos::kLinhasPorBloco) + 1;
    Executar("create exception e_fila 'fila recusou a linha'");
    Executar(
        "create trigger t_fila for etiquetaread before insert as begin "
        "if (new.nome = 'FALHA') then exception e_fila; end");
    Executar("execute block as declare i integer = 1; begin while (i <= " + std::to_string(total) +
             ") do begin insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo) values (:i, :i, 'OK', 'T'); "
             "i = i + 1; end end");
    for (int falha : {1, static_cast<int>(TInsercaoEmBlocos::kLinhasPorBloco) + 7, total}) {
        Executar("update mercadorias set nom_mer = iif(cod_red = " + std::to_string(falha) + ", 'FALHA', 'OK')");
        dtm->dtmConectBancoMrg(false);  // a new snapshot of the goods
        EncherFila();
        const std::string m = MensagemDe<EDatabaseError>([&] { sel->MontarLote(); });
        EXPECT_NE(m.find("fila recusou a linha"), std::string::npos) << falha << ": " << m;
        FilaComoAntes();
        Executar("delete from etiquetaread");
        Executar("delete from etiquetamrg");
    }
}

TEST_F(Lote, ConexaoDasMercadoriasCaidaNoMeioDizQueAFilaNaoFoiGravada) {
    // The goods connection is the first to find its link gone (as it may be
    // when a server dies mid-batch): the message must still say that the
    // queue's unsaved rows went with it, and the queue is as it was.
    Executar(
        "execute block as declare i integer = 1; begin while (i <= 50) do begin insert into mercadorias "
        "(cod_red, cod_bar, nom_mer, pro_ativo) values (:i, :i, 'M', 'T'); i = i + 1; end end");
    EncherFila();
    sel->Progresso = [&](size_t lidas, size_t) {
        if (lidas != 3) return;
        fb::TQuery q(dtm->dtbAplicativoMrg, dtm->ibtAplicativoMrg);
        q.Add("select current_connection from rdb$database");
        q.Open();
        const std::string id = q.FieldByName(q.NomesDosCampos().at(0)).AsString();
        q.Close();
        Executar("delete from mon$attachments where mon$attachment_id = " + id);
    };
    const std::string m = MensagemDe<fb::EFbConexao>([&] { sel->MontarLote(); });
    EXPECT_NE(m.find("foi perdida; as alterações não gravadas foram perdidas"), std::string::npos) << m;
    EXPECT_FALSE(sel->LoteGravado);
    FilaComoAntes();
}

TEST_F(Lote, BlocosGravamOQueCadaInsertfileGravaria) {
    // Values INSERTFILE changes (commas, quotes, decimal commas), accents, and
    // rows with and without the variant column, over several blocks.
    std::vector<std::vector<std::string>> pares;
    const size_t total = 2 * TInsercaoEmBlocos::kLinhasPorBloco + 57;
    for (size_t i = 1; i <= total; ++i) {
        const std::string n = std::to_string(i);
        std::vector<std::string> p{
            "CODIGO",  n,           "BARRAS",  "789" + n, "NOME",    "CAMISA, \"AZUL\" D'ÁGUA " + n,
            "So_NOME", "AÇÃO " + n, "Estoque", n + ",5",  "VLR_VEN", "12.5"};
        if (i % 3 == 0) p.insert(p.end(), {"nro_lote", "P,M " + n});
        p.insert(p.end(), {"QUANTIDADE", "0"});
        pares.push_back(std::move(p));
    }
    const std::string consulta =
        "select codigo, barras, nome, so_nome, estoque, vlr_ven, nro_lote, quantidade from etiquetaread order by "
        "codigo";
    {
        TInsercaoEmBlocos fila(*dtm, "EtiquetaRead");
        for (const auto& p : pares) fila.INSERTFILE(p);
        EXPECT_EQ(fila.Pendentes(), 57u);  // full blocks went as they filled
        fila.Enviar();
        EXPECT_EQ(fila.Pendentes(), 0u);
    }
    ASSERT_TRUE(dtm->dtmCommit());
    const std::vector<Linha> emBlocos = Linhas(consulta);
    Executar("delete from etiquetaread");
    for (const auto& p : pares) dtm->INSERTFILE("EtiquetaRead", p);
    ASSERT_TRUE(dtm->dtmCommit());
    const std::vector<Linha> umAUm = Linhas(consulta);
    ASSERT_EQ(emBlocos.size(), total);
    EXPECT_EQ(emBlocos, umAUm);
    EXPECT_EQ(emBlocos[2],
              (Linha{"3", "7893", "CAMISA.  AZUL  D ÁGUA 3", "AÇÃO 3", "3.500", "12.500", "P.M 3", "0.000"}));
}

TEST_F(Lote, BlocoRecusadoNaoGravaNenhumaDeSuasLinhas) {
    Executar("create exception e_fila 'fila recusou a linha'");
    Executar(
        "create trigger t_fila for etiquetaread before insert as begin "
        "if (new.nome = 'FALHA') then exception e_fila; end");
    EncherFila();
    TInsercaoEmBlocos fila(*dtm, "EtiquetaRead");
    const size_t total = TInsercaoEmBlocos::kLinhasPorBloco + 10;
    const std::string m = MensagemDe<EDatabaseError>([&] {
        for (size_t i = 1; i <= total; ++i)
            fila.INSERTFILE({"CODIGO", std::to_string(i), "NOME", i == total - 3 ? "FALHA" : "OK", "QUANTIDADE", "0"});
        fila.Enviar();
    });
    EXPECT_NE(m.find("fila recusou a linha"), std::string::npos) << m;
    // The first block went in; the refused one left nothing of itself.
    EXPECT_EQ(Contar("etiquetaread"), 1);  // others see nothing uncommitted
    dtm->qryprocesso.Clear();
    dtm->qryprocesso.Add("select count(*) from etiquetaread");
    dtm->qryprocesso.Open();
    EXPECT_EQ(dtm->qryprocesso.FieldByName("COUNT").AsInteger(),
              1 + static_cast<int64_t>(TInsercaoEmBlocos::kLinhasPorBloco));
    dtm->qryprocesso.Close();
    dtm->ibtAplicativo.RollbackRetaining();
    FilaComoAntes();
}

TEST(InsercaoEmBlocos, CadaLinhaEhAInstrucaoDoInsertfileNaOrdem) {
    const auto a = TdtmAplicativo::LinhasInsert("EtiquetaRead", {"CODIGO", "1", "NOME", "A, B"}, true);
    const auto b =
        TdtmAplicativo::LinhasInsert("EtiquetaRead", {"CODIGO", "2", "NOME", "O'NEIL", "nro_lote", "P"}, true);
    EXPECT_EQ(a,
              (std::vector<std::string>{"Insert into EtiquetaRead", "( CODIGO,NOME )  ", " Values ( '1','A. B' )  "}));
    // One row goes as INSERTFILE sends it; several in one block, in their order.
    EXPECT_EQ(TInsercaoEmBlocos::TextoBloco({a}), a);
    EXPECT_EQ(Juntar(TInsercaoEmBlocos::TextoBloco({a, b})),
              "EXECUTE BLOCK AS\nBEGIN\n"
              "Insert into EtiquetaRead\n( CODIGO,NOME )  \n Values ( '1','A. B' )  ;\n"
              "Insert into EtiquetaRead\n( CODIGO,NOME,nro_lote )  \n Values ( '2','O NEIL','P' )  ;\n"
              "END");
}

TEST_F(Lote, TextoMaliciosoNaoMudaOQueEhSelecionado) {
    Mercadoria(1, "789", "CAFE", ", ref_mer, loc_mer", ", 'R1', 'A1'");
    Mercadoria(2, "790", "ACUCAR", ", ref_mer, loc_mer", ", 'R2', 'A2'");
    Executar("insert into departamentos (cod_dep, nom_dep, nom_setor) values (1, 'MERCEARIA', 'LOJA')");
    Executar("update mercadorias set dep_mer = 1");
    const std::string ataques[] = {
        "'",
        "x' or '1'='1",
        "x') or (1=1) or ('",
        "7'); delete from mercadorias; --",
        "%' or 1=1 --",
        "a\n) or (1=1",
        "a\r\n' or 1=1 /*",
        "*/ or 1=1 --'",
        "; commit;",
    };
    struct Campo {
        const char* nome;
        std::function<void(TOpcoesMercadorias&, const std::string&)> marcar;
    };
    const Campo campos[] = {
        {"barras",
         [](auto& o, auto& t) {
             o.chkBarras = true;
             o.edtcodbarras = t;
         }},
        {"nome",
         [](auto& o, auto& t) {
             o.chkNome = true;
             o.edtNome = t;
         }},
        {"referencia",
         [](auto& o, auto& t) {
             o.chkReferencia = true;
             o.edtReferencia = t;
         }},
        {"localizacao",
         [](auto& o, auto& t) {
             o.chkLocaliz = true;
             o.edtLocaliz = t;
         }},
        {"departamento composto",
         [](auto& o, auto& t) {
             o.chkDepartComposta = true;
             o.edtNomeDepart = t;
         }},
        {"setor",
         [](auto& o, auto& t) {
             o.chksetor = true;
             o.edtSetor = t;
         }},
        {"lista",
         [](auto& o, auto& t) {
             o.chkListaCodBar = true;
             o.memoLista = t;
         }},
    };
    // A text longer than its column or with a control character is refused
    // before the database (the refusals have tests of their own); any other
    // selects nothing.
    auto recusada = [](const TOpcoesMercadorias& o) {
        return MensagemDe<Exception>([&] { ValidarOpcoes(o); }) != "(nada lançado)";
    };
    for (const auto& c : campos) {
        for (const std::string& ataque : ataques) {
            TOpcoesMercadorias o;
            c.marcar(o, ataque);
            if (recusada(o)) continue;
            EXPECT_EQ(Selecionadas(o), std::vector<std::string>{}) << c.nome << ": " << ataque;
        }
    }
    // "Diferente de" with a crafted text leaves out nothing but that text.
    for (const std::string& ataque : ataques) {
        TOpcoesMercadorias o;
        o.chkDiferente = true;
        o.edtDiferente = ataque;
        if (recusada(o)) continue;
        EXPECT_EQ(Selecionadas(o), (std::vector<std::string>{"1", "2"})) << ataque;
    }
    EXPECT_EQ(Contar("mercadorias"), 2);
}

TEST_F(Lote, ProgressoContaAsLinhasLidas) {
    for (int i = 1; i <= 7; ++i) Mercadoria(i, std::to_string(i), "M");
    Executar("update mercadorias set pro_ativo = 'F' where cod_red > 5");
    std::vector<std::pair<size_t, size_t>> vistos;
    sel->Progresso = [&](size_t lidas, size_t total) { vistos.emplace_back(lidas, total); };
    sel->MontarLote();
    ASSERT_EQ(vistos.size(), 5u);
    EXPECT_EQ(vistos.front(), (std::pair<size_t, size_t>{1, 5}));
    EXPECT_EQ(vistos.back(), (std::pair<size_t, size_t>{5, 5}));
}

TEST(ModeloDoLote, DigitosDosQuatroPrimeirosOuOParametro) {
    EXPECT_EQ(ModeloDoLote("26 - A4", "0"), 26);
    EXPECT_EQ(ModeloDoLote("26 - A4", "012"), 12);
    EXPECT_EQ(ModeloDoLote("9 - X", "0"), 9);
    EXPECT_EQ(ModeloDoLote("", "0"), 0);
    EXPECT_EQ(ModeloDoLote("A1B2C3", "0"), 12);
}

TEST(ModeloDaFila, ZeroEOsDoisPrimeirosCaracteresSemFiltro) {
    struct Caso {
        const char* modeloPrint;
        int modelo;
        bool a4;
    };
    const Caso casos[] = {
        {"26 - A4", 26, true},
        {"55 - A4 aplicacao", 55, true},
        {"47 - Parcelas", 47, false},
        {"12 - Termica", 12, false},
        {"", 0, false},
        {"9", 9, false},
        {"20", 20, true},
        {"28", 28, true},
        {"32", 32, true},
        {"33", 33, true},
        {"34", 34, true},
        {"35", 35, true},
        {"39", 39, true},
        {"42", 42, true},
        {"19", 19, false},
        {"59", 59, false},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ModeloDaFila(c.modeloPrint), c.modelo) << c.modeloPrint;
        EXPECT_EQ(EhModeloA4(c.modelo), c.a4) << c.modeloPrint;
    }
    // No digit filtering: a blank or a letter among the first two is no integer.
    for (const char* ilegivel : {"9 - X", "A1 - X", " 5"})
        EXPECT_THROW(ModeloDaFila(ilegivel), EConvertError) << ilegivel;
}

}  // namespace
