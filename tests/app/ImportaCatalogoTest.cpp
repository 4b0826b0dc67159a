#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include <QLineEdit>

#include "AuxiliarTeste.h"
#include "app/ImportaCatalogo.h"
#include "app/InterfaceUsuarioQt.h"
#include "app/ufrmPrincipal.h"
#include "common/ConfigEtq.h"
#include "common/Excecoes.h"

namespace fs = std::filesystem;

namespace {

class ImportaCatalogoTest : public ::testing::Test {
protected:
    TPastaPrograma pasta;
    TInterfaceTeste iu;
    TAmbienteImportacao amb;
    std::vector<int> pausas;
    std::vector<std::string> iniciados;
    // Called with the number of the pause (1, 2, ...) while it runs.
    std::function<void(int)> durantePausa;

    void SetUp() override {
        amb.Hoje = [] { return EncodeDate(2026, 3, 5); };
        amb.Pausa = [this](int ms) {
            pausas.push_back(ms);
            if (durantePausa) durantePausa(static_cast<int>(pausas.size()));
        };
        amb.IniciarCarregador = [this](const std::string& p) { iniciados.push_back(p); };
    }

    TPedidoImportacao Pedido() {
        TPedidoImportacao p;
        p.PathBanco = "/dados/loja.fdb";
        p.Token = "";
        p.RegTrafego = "500";
        p.DataInicio = "  -  -    ";
        return p;
    }
};

TEST_F(ImportaCatalogoTest, SemRetornoDesisteDepoisDe301Verificacoes) {
    EXPECT_FALSE(ImportarCatalogo(pasta.Dir(), Pedido(), amb));
    EXPECT_EQ(pausas, std::vector<int>(301, 1000));
    EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Retorno da importação não localizado"});
    EXPECT_EQ(iniciados, std::vector<std::string>{pasta.Arquivo("Vitrinex_Load_base.exe")});
    EXPECT_EQ(iu.mostra, 1);
    EXPECT_EQ(iu.repinta, 301);
    EXPECT_EQ(iu.esconde, 1);
    EXPECT_EQ(LerConfig("data_inicio_at"), "");
}

TEST_F(ImportaCatalogoTest, PedidoComCincoLinhas) {
    ImportarCatalogo(pasta.Dir(), Pedido(), amb);
    EXPECT_EQ(pasta.Ler("ConfigImporta.ini"),
              "[conf]\r\npathBancoDados=/dados/loja.fdb\r\ntoken_vitrinex=\r\nReg_por_trafego=500\r\n"
              "Data_inicio=  -  -    \r\n");
}

struct CasoUltimoSegundo {
    int pausa;  // the answer is written during this pause
    bool aceito;
};

void PrintTo(const CasoUltimoSegundo& c, std::ostream* os) { *os << "resposta na pausa " << c.pausa; }

class UltimoSegundoTest : public ImportaCatalogoTest, public ::testing::WithParamInterface<CasoUltimoSegundo> {};

TEST_P(UltimoSegundoTest, RespostaNoLimite) {
    durantePausa = [this](int n) {
        if (n == GetParam().pausa) pasta.Gravar("ConfigImporta.ret", "Importados 10 produtos");
    };
    EXPECT_EQ(ImportarCatalogo(pasta.Dir(), Pedido(), amb), GetParam().aceito);
    if (GetParam().aceito) {
        EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Importados 10 produtos"});
        EXPECT_EQ(LerConfig("data_inicio_at"), "05-03-2026");
        EXPECT_FALSE(pasta.Existe("ConfigImporta.ret"));
        EXPECT_EQ(pausas.size(), static_cast<size_t>(GetParam().pausa) + 1);  // one more second after the answer
    } else {
        EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Retorno da importação não localizado"});
    }
}

INSTANTIATE_TEST_SUITE_P(Limite, UltimoSegundoTest,
                         ::testing::Values(CasoUltimoSegundo{1, true}, CasoUltimoSegundo{300, true},
                                           CasoUltimoSegundo{301, false}));

TEST_F(ImportaCatalogoTest, RespostaEmWindows1252ChegaLegivel) {
    durantePausa = [this](int n) {
        if (n == 2)
            pasta.Gravar("ConfigImporta.ret",
                         "Importa\xe7\xe3o conclu\xed"
                         "da");
    };
    EXPECT_TRUE(ImportarCatalogo(pasta.Dir(), Pedido(), amb));
    EXPECT_EQ(iu.mensagens, std::vector<std::string>{"Importação concluída"});
}

TEST_F(ImportaCatalogoTest, PedidoQueNaoSePodeGravar) {
    fs::create_directory(pasta.Arquivo("ConfigImporta.ini"));
    EXPECT_THROW(ImportarCatalogo(pasta.Dir(), Pedido(), amb), EOSError);
    EXPECT_TRUE(iniciados.empty());
    EXPECT_EQ(iu.mostra, iu.esconde);
}

// The whole road through the window, with a stand-in loader script that
// answers with the request it got.
TEST_F(ImportaCatalogoTest, PelaJanelaComCarregadorDeVerdade) {
    pasta.Gravar("configEtq.ini",
                 "[CONF]\r\nPATH MERKOR=/dados/loja.fdb\r\nTokenVitrinex=abc\r\nRegTrafego=500\r\n"
                 "ImportVitrinex=SIM\r\ndata_inicio_at=01-02-2026\r\n");
    pasta.Gravar("ConfigImporta.ret", "resposta velha");
    pasta.Gravar("Vitrinex_Load_base.exe",
                 "#!/bin/sh\n"
                 "cd \"$(dirname \"$0\")\"\n"
                 "{ echo 'Importação concluída'; cat ConfigImporta.ini; } > ret.tmp && mv ret.tmp ConfigImporta.ret\n");
    fs::permissions(pasta.Arquivo("Vitrinex_Load_base.exe"), fs::perms::owner_all);

    TfrmPrincipal frm{{}};
    frm.AmbienteImportacao.Hoje = [] { return EncodeDate(2026, 3, 5); };
    frm.AmbienteImportacao.Pausa = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
    frm.edtTokenVitrinex->setText("nao salvo");  // the saved settings are used
    frm.btnAtualizabaseClick();

    ASSERT_EQ(iu.mensagens.size(), 1u);
    EXPECT_EQ(iu.mensagens[0],
              "Importação concluída\n[conf]\r\npathBancoDados=/dados/loja.fdb\r\ntoken_vitrinex=abc\r\n"
              "Reg_por_trafego=500\r\nData_inicio=01-02-2026\r\n");
    EXPECT_FALSE(pasta.Existe("ConfigImporta.ret"));
    EXPECT_EQ(LerConfig("data_inicio_at"), "05-03-2026");
    frm.LoadConfig();
    EXPECT_EQ(frm.TextoUltimaData(), "05-03-2026");
}

TEST_F(ImportaCatalogoTest, CarregadorAusenteNaoFalha) {
    EXPECT_NO_THROW(AbrirPrograma(pasta.Arquivo("Vitrinex_Load_base.exe")));
}

}  // namespace
