// etiquetas-cli lote, run as a script runs it, beside its own configEtq.ini.
#include <gtest/gtest.h>

#include "../data/modulos/BancoTeste.h"
#include "common/UFuncoes.h"
#include "goods/FiltroMercadorias.h"
#include "goods/LinhaComandoLote.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace {

class CmdLote : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, ETIQ_CLI);
        Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo) values (1, '789', 'CAFE', 'T')");
        Executar("insert into mercadorias (cod_red, cod_bar, nom_mer, pro_ativo) values (2, '790', 'CHA', 'T')");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra, cod_bar) values (2, 'P', '7901')");
        Executar("insert into grades_produtos_p (cod_mer, nome_gra, cod_bar) values (2, 'M', '7902')");
        Executar("insert into etiquetaread (codigo, nome) values (999, 'ANTES')");
    }
    TResultadoCli Rodar(const std::string& argumentos, const std::string& entrada = "") {
        // The embedded engine lets one process at a time hold the file.
        FecharOutro();
        return cli_.Rodar("lote " + argumentos, entrada);
    }
    TProgramaCli cli_;
};

}  // namespace

TEST_F(CmdLote, SqlMostraAs58LinhasSemTocarNoBanco) {
    const TResultadoCli r = Rodar("--nome \"D'AGUA\" --ordem nome --produtos todos --sql");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    TOpcoesMercadorias o;
    o.chkNome = true;
    o.edtNome = "D'AGUA";
    o.chkProAtivos = false;
    o.Ordem = TOrdemListagem::NomeMer;
    std::string esperado;
    for (const std::string& l : SQLMercadorias(o)) esperado += l + "\n";
    EXPECT_EQ(r.saida, esperado);
    EXPECT_EQ(Contar("etiquetaread"), 1);
}

TEST_F(CmdLote, MontaOLoteEDizQuantasLinhasGravou) {
    TResultadoCli r = Rodar("--grades --lista -", "790\n\n 789 \n");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "3\n");
    EXPECT_EQ(Texto("select list(barras, ',') from (select barras from etiquetaread order by barras)"),
              "789,7901,7902");

    r = Rodar("--codigo 2 2");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "1\n");
    EXPECT_EQ(Texto("select list(barras) from etiquetaread"), "790");
}

TEST_F(CmdLote, OpcaoRecusadaSaiComErroEAFilaFicaComoEstava) {
    const std::string vazia = pasta_ + "/vazia.txt";
    Gravar(vazia, "  \n\n");
    const std::string casos[] = {"--codigo 1 \"1 or 1=1\"", "--nota \"5;\"", "--lista '" + vazia + "'",
                                 "--compra 01/01/2025 31/02/2025", "--ordem preco", "--lista /nao/existe"};
    for (const std::string& args : casos) {
        const TResultadoCli r = Rodar(args);
        EXPECT_NE(r.codigo, 0) << args;
        EXPECT_FALSE(r.erro.empty()) << args;
        EXPECT_EQ(r.erro.find("conectar"), std::string::npos) << r.erro;  // refused before connecting
        EXPECT_EQ(r.saida, "") << args;
        EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "999") << args;
    }
}
