// The road of stale shelf labels as a script walks it with etiquetas-cli on a
// demo shop: a batch printed whole, prices and a name changed, the stale
// labels found, batched with the counts printed last time, printed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../data/modulos/BancoTeste.h"
#include "common/ConfigEtq.h"
#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace {

class CmdDesatualizadas : public BancoTeste {
protected:
    void SetUp() override {
        BancoTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        saida_ = pasta_ + "/saida.prn";
        GravarConfig({{"PATH REDE", "FILE:" + saida_}, {"MODELO", "PPLA"}, {"MODELO PRINT", "11 - PPLA 3 colunas"}});
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();  // the embedded engine lets one process at a time hold the file
        return cli_.Rodar(argumentos);
    }
    void LojaDemo(int mercadorias) {
        const TResultadoCli r = Rodar("demo-db '" + banco_ + "' --mercadorias " + std::to_string(mercadorias) +
                                      " --semente 7 --substituir");
        ASSERT_EQ(r.codigo, 0) << r.erro;
    }
    // The queue: code=count, by code.
    std::string Fila() {
        return Texto(
            "select list(codigo || '=' || cast(quantidade as integer), ' ') from (select codigo, quantidade from "
            "etiquetaread order by codigo)");
    }
    TProgramaCli cli_;
    std::string saida_;
};

}  // namespace

TEST_F(CmdDesatualizadas, QuatroDesatualizadasDepoisDeUmLoteDe50) {
    LojaDemo(80);
    // The first 50 active goods; counts 1 to 3 labels.
    const std::string ultimo = Texto(
        "select max(cod_red) from (select first 50 cod_red from mercadorias where pro_ativo = 'T' and cod_red > 0 "
        "order by cod_red)");
    const std::string codigos = Texto(
        "select list(cod_red) from (select first 8 cod_red from mercadorias where pro_ativo = 'T' and cod_red > 0 "
        "order by cod_red)");
    std::vector<std::string> c;
    for (size_t i = 0, j = 0; i <= codigos.size(); i = j + 1) {
        j = codigos.find(',', i);
        if (j == std::string::npos) j = codigos.size();
        c.push_back(codigos.substr(i, j - i));
    }
    ASSERT_EQ(c.size(), 8U);
    // Prices compared as the labels show them, two decimals.
    Executar("update mercadorias set vlr_ven = 10.004 where cod_red = " + c[2]);
    Executar("update mercadorias set vlr_ven = 20.001 where cod_red = " + c[7]);
    TResultadoCli r = Rodar("lote --codigo 1 " + ultimo);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    ASSERT_EQ(r.saida, "50 linhas na fila, 0 etiquetas\n");
    Executar("update etiquetaread set quantidade = mod(codigo, 3) + 1");
    const std::string impressa = Fila();
    r = Rodar("imprimir --sem-pausa");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    r = Rodar("desatualizadas --contar");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "0\n");
    const int64_t ativas = Contar("mercadorias", "pro_ativo = 'T' and cod_red > 0");
    r = Rodar("desatualizadas --nunca --contar");
    EXPECT_EQ(r.saida, std::to_string(ativas - 50) + "\n") << r.erro;

    // Three prices, one name, one price changed and changed back; one goods
    // item gone and one made inactive (neither listed).
    Executar("update mercadorias set vlr_ven = vlr_ven + 1 where cod_red in (" + c[0] + ", " + c[1] + ")");
    // 10,00 on the label, 10,01 now (halves round up); 20,00 both before and after.
    Executar("update mercadorias set vlr_ven = 10.005 where cod_red = " + c[2]);
    Executar("update mercadorias set vlr_ven = 20.004 where cod_red = " + c[7]);
    Executar("update mercadorias set nom_mer = 'NOME NOVO' where cod_red = " + c[3]);
    Executar("update mercadorias set vlr_ven = vlr_ven + 5 where cod_red = " + c[4]);
    Executar("update mercadorias set vlr_ven = vlr_ven - 5 where cod_red = " + c[4]);
    Executar("delete from mercadorias where cod_red = " + c[5]);
    Executar("update mercadorias set pro_ativo = 'F', vlr_ven = vlr_ven + 1 where cod_red = " + c[6]);

    r = Rodar("desatualizadas --contar");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "4\n");
    r = Rodar("desatualizadas");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(std::count(r.saida.begin(), r.saida.end(), '\n'), 4) << r.saida;
    // The renamed one says what its label said and what the goods say now;
    // the sub-cent one shows both prices.
    EXPECT_NE(r.saida.find("\t10,00\t"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("\t10,01\t"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("\tNOME NOVO\t"), std::string::npos) << r.saida;

    r = Rodar("lote --desatualizadas");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    // Each with the count printed last time.
    std::string esperado;
    int etiquetas = 0;
    for (const std::string& x : {c[0], c[1], c[2], c[3]}) {
        const std::string k = x + "=";
        const size_t p = impressa.find(k);
        ASSERT_NE(p, std::string::npos);
        const std::string par = impressa.substr(p, impressa.find(' ', p) - p);
        etiquetas += std::stoi(par.substr(k.size()));
        esperado += (esperado.empty() ? "" : " ") + par;
    }
    EXPECT_EQ(r.saida, "4 linhas na fila, " + std::to_string(etiquetas) + " etiquetas\n");
    EXPECT_EQ(Fila(), esperado);

    r = Rodar("imprimir --sem-pausa");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    r = Rodar("desatualizadas --contar");
    EXPECT_EQ(r.saida, "0\n") << r.erro;
}

namespace {

// A label table someone made by hand, whose price is text: a price that is
// no number stops the reading with a message, and nothing is selected.
class CmdDesatualizadasIlegivel : public CmdDesatualizadas {
protected:
    void SetUp() override {
        CmdDesatualizadas::SetUp();
        Executar(
            "insert into mercadorias (cod_red, cod_bar, nom_mer, vlr_ven, pro_ativo) values (1, '789', 'CAFE', 5, "
            "'T')");
        Executar(
            "insert into mercadorias (cod_red, cod_bar, nom_mer, vlr_ven, pro_ativo) values (2, '790', 'CHA', 6, 'T')");
        Executar("insert into etiquetaread (codigo, nome) values (999, 'ANTES')");
        Executar(
            "create table ETIQUETA_ATUAL (CODIGO integer not null primary key, BARRAS varchar(30), NOME varchar(80), "
            "VLR_VEN varchar(10), VLR_VEN_2 varchar(10), QUANTIDADE integer, MODELO smallint, ESTACAO varchar(63), "
            "HORA timestamp, DIARIO integer)");
        Executar("insert into ETIQUETA_ATUAL (CODIGO, BARRAS, NOME, VLR_VEN) values (1, '789', 'CAFE', 'cinco')");
    }
};

}  // namespace

TEST_F(CmdDesatualizadasIlegivel, PrecoQueNaoENumeroNaoSelecionaNada) {
    for (const char* args : {"desatualizadas --contar", "desatualizadas", "lote --desatualizadas"}) {
        SCOPED_TRACE(args);
        const TResultadoCli r = Rodar(args);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.saida, "");
        EXPECT_EQ(r.erro.rfind("Não foi possível ler as etiquetas já impressas: ", 0), 0U) << r.erro;
        EXPECT_EQ(Texto("select list(codigo) from etiquetaread"), "999");
    }
}

TEST_F(CmdDesatualizadasIlegivel, OpcoesRecusadas) {
    for (const char* args : {"desatualizadas --departamento x", "desatualizadas --mais", "desatualizadas sobra"}) {
        SCOPED_TRACE(args);
        const TResultadoCli r = Rodar(args);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.saida, "");
        EXPECT_FALSE(r.erro.empty());
    }
}
