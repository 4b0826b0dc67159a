// etiquetas-cli teste, run as the technician runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "suporte/Caminhos.h"
#include "suporte/ProgramaCli.h"
#include "suporte/Suporte.h"

namespace fs = std::filesystem;

namespace {

struct CmdTeste : testing::Test {
    fs::path pasta;
    fs::path saida;

    void SetUp() override {
        pasta = fs::path(testing::TempDir()) /
                ("cmdteste_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        saida = pasta / "out.prn";
    }
    void TearDown() override { fs::remove_all(pasta); }

    TResultadoCli Rodar(const std::string& argumentos, const fs::path& programa = kProgramaCli) {
        return TProgramaCli{programa.string(), pasta.string()}.Rodar("teste " + argumentos);
    }
    std::string Porta() const { return "FILE:" + saida.string(); }
};

const std::string STX = "\x02";

}  // namespace

TEST_F(CmdTeste, GravaAEtiquetaDeTesteNaLinguagemPedida) {
    struct Caso {
        const char* linguagem;
        std::string esperado;
    };
    const Caso casos[] = {
        {"ZPL",
         "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON\r\n^FO24,24^A2N,1,1^FD7893156253569^FS\r\n^PQ1\r\n^XZ\r\n^MCY\r\n"},
        {"PPLA", STX + "L\r" + STX + "V0\r" + STX + "m\r" + STX +
                     "Q\rH10\rD11\r121100000300030"
                     "7893156253569\r"
                     "Q0001\rE\r" +
                     STX + "f220\r" + STX + "Q\r"},
        {"EPL2", "R0,0\nO\nN\nD10\nZB\nA24,24,0,2,1,1,N,\"7893156253569\"\nP1\nN\n"},
        {"pplb", "R0,0\nO\nN\nD10\nZB\nA24,24,0,2,1,1,N,\"7893156253569\"\nP1\nN\n"},
    };
    for (const auto& k : casos) {
        TResultadoCli r = Rodar("--porta '" + Porta() + "' --linguagem " + k.linguagem + " --temperatura 10");
        EXPECT_EQ(r.codigo, 0) << k.linguagem << ": " << r.erro;
        EXPECT_EQ(LerTudo(saida), k.esperado) << k.linguagem;
    }
}

TEST_F(CmdTeste, BarrasComESemDigitos) {
    const std::string inicio = STX + "L\r" + STX + "V0\r" + STX + "m\r" + STX + "Q\rH12\rD11\r";
    const std::string fim = "Q0001\rE\r" + STX + "f220\r" + STX + "Q\r";
    TResultadoCli r = Rodar("--porta '" + Porta() + "' --linguagem PPLA --temperatura 12 --barras --colunas 2");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida), inicio +
                                  "1F2208000300030"
                                  "7893156253569\r1F2208000300330"
                                  "7893156253569\r" +
                                  fim);

    r = Rodar("--porta '" + Porta() +
              "' --linguagem PPLA --temperatura 12 --barras --sem-digitos --tipo E "
              "--codigo 1234 --altura 10 --linha 5 --coluna 7");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida), inicio +
                                  "1e2216000500070"
                                  "1234\r" +
                                  fim);
}

TEST_F(CmdTeste, CampoNaoInteiroFalhaAntesDeMandarQualquerCoisa) {
    TResultadoCli r = Rodar("--porta '" + Porta() + "' --linguagem ZPL --temperatura 10 --linha abc");
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "Linha: 'abc' não é um valor inteiro válido\n");
    EXPECT_FALSE(fs::exists(saida));
}

TEST_F(CmdTeste, ColunasDemaisSaoRecusadasSemGastarAMemoria) {
    TResultadoCli r = Rodar("--porta NULL --linguagem ZPL --temperatura 10 --colunas 2147483647 --entre-colunas 0");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "qtd Colunas: 2147483647 colunas não cabem numa etiqueta (use no máximo 99)\n");
    EXPECT_EQ(r.saida, "");
}

TEST_F(CmdTeste, PortaSemCanalNestaEstacaoNaoDizQueEnviou) {
    struct {
        const char* porta;
        const char* erro;
    } casos[] = {
        {"BTH:00:11:22", "A porta Bluetooth BTH:00:11:22 não está disponível nesta estação\n"},
        {"DLL", "A porta DLL não está disponível nesta estação: nenhuma biblioteca de impressão está ligada a ela\n"},
    };
    for (const auto& c : casos) {
        TResultadoCli r = Rodar(std::string("--porta ") + c.porta + " --linguagem ZPL --temperatura 10");
        EXPECT_EQ(r.codigo, 1) << c.porta;
        EXPECT_EQ(r.erro, c.erro);
        EXPECT_EQ(r.saida, "");
    }
}

TEST_F(CmdTeste, FalhaDaLinguagemVaiParaOErroPadrao) {
    TResultadoCli r = Rodar("--porta '" + Porta() + "' --linguagem EPL2 --temperatura 16");
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "Temperatura deve ser de 0 a 15\n");
    EXPECT_EQ(LerTudo(saida), "");

    r = Rodar("--porta '" + Porta() + "' --linguagem ZPLII --temperatura 10");
    EXPECT_NE(r.codigo, 0);
    EXPECT_NE(r.erro.find("Linguagem inválida: ZPLII"), std::string::npos) << r.erro;

    r = Rodar("--porta '" + Porta() + "' --temperatura 10 --temperatura 12");
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "Opção repetida: --temperatura\n");

    r = Rodar("--porta '" + Porta() + "' --temperatura 10 --cor azul");
    EXPECT_NE(r.codigo, 0);
    EXPECT_NE(r.erro.find("--cor"), std::string::npos) << r.erro;
}

TEST_F(CmdTeste, PortaLinguagemETemperaturaPadraoVemDoConfigEtqAoLadoDoPrograma) {
    // A copy of the program in its own folder, with its own configEtq.ini.
    const fs::path programa = TProgramaCli::CopiaEm(pasta.string(), kProgramaCli).programa;
    auto configurar = [&](const std::string& modelo, const std::string& temperatura = "12") {
        std::ofstream ini(pasta / "configEtq.ini", std::ios::binary);
        ini << "[CONF]\r\nPATH REDE=" << Porta() << "\r\nMODELO=" << modelo << "\r\nTEMPERATURA=" << temperatura
            << "\r\n";
    };

    configurar("EPL2");
    TResultadoCli r = Rodar("", programa);
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida), "R0,0\nO\nN\nD12\nZB\nA24,24,0,2,1,1,N,\"7893156253569\"\nP1\nN\n");

    // The panel compares MODELO exactly; anything else leaves pplA checked.
    configurar("epl2");
    r = Rodar("--linha 4", programa);
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida), STX + "L\r" + STX + "V0\r" + STX + "m\r" + STX +
                                  "Q\rH12\rD11\r121100000400030"
                                  "7893156253569\r"
                                  "Q0001\rE\r" +
                                  STX + "f220\r" + STX + "Q\r");

    // No heat in the file prints at 10, as the label print does; a typed one must be a number.
    configurar("ZPL", "");
    r = Rodar("", programa);
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida).substr(0, 30), "^XA\r\n^MMT\r\n^MCY\r\n~SD10\r\n^PON\r\n");
    configurar("ZPL", "dez");
    r = Rodar("", programa);
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "Temperatura: 'dez' não é um valor inteiro válido\n");

    // An option wins over the file.
    r = Rodar("--linguagem ZPL --temperatura 9", programa);
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(LerTudo(saida).substr(0, 30), "^XA\r\n^MMT\r\n^MCY\r\n~SD09\r\n^PON\r\n");

    // No port anywhere: nothing can be printed, and it says so.
    fs::remove(pasta / "configEtq.ini");
    r = Rodar("--temperatura 10", programa);
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro, "Porta não definida\n");
}
