// etiquetas-cli imprimir and teste against a network printer played on the
// loopback: what they report sent is what the printer took.
#include <filesystem>

#include "FilaTeste.h"
#include "suporte/Caminhos.h"
#include "suporte/ImpressoraTeste.h"
#include "suporte/ProgramaCli.h"

namespace {

class CmdImprimirRede : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        cli_ = TProgramaCli::CopiaEm(pasta_, kProgramaCli);
        Mercadoria(1, "7891234567895", "CAMISETA BÁSICA ALGODÃO", "CB-01", "29.9");
    }
    TResultadoCli Rodar(const std::string& argumentos) {
        FecharOutro();
        return cli_.Rodar(argumentos);
    }
    // The queue of one row printed to the file port: the whole stream, and
    // the stream of one print job (one row of `porLinha` labels).
    void Referencia(int quantidade, int porLinha, std::string& inteiro, std::string& trabalho) {
        Executar("delete from ETIQUETAREAD");
        Fila(1, "7891234567895", "CAMISETA", std::to_string(porLinha), "29.9");
        ASSERT_EQ(Rodar("imprimir --sem-pausa").codigo, 0);
        trabalho = Saida();
        Executar("delete from ETIQUETAREAD");
        Fila(1, "7891234567895", "CAMISETA", std::to_string(quantidade), "29.9");
        ASSERT_EQ(Rodar("imprimir --sem-pausa").codigo, 0);
        inteiro = Saida();
        ASSERT_FALSE(trabalho.empty());
        ASSERT_EQ(inteiro.substr(0, trabalho.size()), trabalho);
    }
    TProgramaCli cli_;
};

TEST_F(CmdImprimirRede, ImpressoraQueNaoLeFalhaNoPrazoComAContagemDoQueElaConfirmou) {
    std::string inteiro, trabalho;
    Referencia(1900, 3, inteiro, trabalho);  // model 11, three labels a job
    TImpressoraTeste impressora({.naoLer = true, .bufferRecepcao = 4096});
    ASSERT_TRUE(impressora.Ok());
    GravarConfig("PATH REDE", impressora.Endereco());
    const TResultadoCli r = Rodar("imprimir --sem-pausa");
    impressora.Parar();
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.saida, "");
    const uint64_t jobs = impressora.BytesConfirmados() / trabalho.size();
    EXPECT_LT(jobs * 3, 1900u);
    const std::string fim = std::to_string(jobs * 3) + " de 1900 etiquetas entregues à impressora antes da falha\n";
    ASSERT_GE(r.erro.size(), fim.size()) << r.erro;
    EXPECT_EQ(r.erro.substr(r.erro.size() - fim.size()), fim) << r.erro;
    EXPECT_NE(r.erro.find("Tempo esgotado esperando a impressora 127.0.0.1:"), std::string::npos) << r.erro;
}

TEST_F(CmdImprimirRede, ImpressoraQueFechaAposNBytesContaOsTrabalhosConfirmados) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    std::string inteiro, trabalho;
    Referencia(60, 1, inteiro, trabalho);
    for (long corte : {static_cast<long>(trabalho.size()) * 7, static_cast<long>(trabalho.size()) * 12 + 5}) {
        TImpressoraTeste impressora({.fecharApos = corte, .bufferRecepcao = 4096});
        ASSERT_TRUE(impressora.Ok());
        GravarConfig("PATH REDE", impressora.Endereco());
        const TResultadoCli r = Rodar("imprimir --sem-pausa");
        impressora.Parar();
        EXPECT_EQ(r.codigo, 1) << r.erro;
        const uint64_t entregues = impressora.BytesConfirmados() / trabalho.size();
        EXPECT_GE(entregues, static_cast<uint64_t>(corte) / trabalho.size());
        const std::string fim = std::to_string(entregues) + " de 60 etiquetas entregues à impressora antes da falha\n";
        ASSERT_GE(r.erro.size(), fim.size()) << r.erro;
        EXPECT_EQ(r.erro.substr(r.erro.size() - fim.size()), fim) << r.erro;
        EXPECT_EQ(impressora.Recebido(), inteiro.substr(0, static_cast<size_t>(corte)));
    }
}

TEST_F(CmdImprimirRede, BytesNaoSolicitadosEImpressoraLentaRecebemOTrabalhoInteiro) {
    std::string inteiro, trabalho;
    Referencia(300, 3, inteiro, trabalho);
    const TComportamentoImpressora casos[] = {
        {.naoSolicitado = std::string(16 * 1024, '\x06')},
        {.lerPorVez = 1024, .pausaLeituraMs = 1, .bufferRecepcao = 4096},
    };
    for (const auto& c : casos) {
        TImpressoraTeste impressora(c);
        ASSERT_TRUE(impressora.Ok());
        GravarConfig("PATH REDE", impressora.Endereco());
        const TResultadoCli r = Rodar("imprimir --sem-pausa");
        impressora.Parar();
        EXPECT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, "300 etiquetas enviadas (modelo 11)\n");
        EXPECT_EQ(impressora.Recebido(), inteiro);
    }
}

TEST_F(CmdImprimirRede, TesteDaImpressora) {
    TImpressoraTeste boa;
    ASSERT_TRUE(boa.Ok());
    TResultadoCli r = Rodar("teste --linguagem ZPL --porta " + boa.Endereco());
    boa.Parar();
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(boa.Recebido().find("^XA"), std::string::npos);

    TImpressoraTeste muda({.naoLer = true, .bufferRecepcao = 4096});
    ASSERT_TRUE(muda.Ok());
    // A label larger than what the printer's stack takes without reading.
    r = Rodar("teste --linguagem ZPL --colunas 60 --codigo " + std::string(250, '7') + " --porta " + muda.Endereco());
    muda.Parar();
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.erro.rfind("Tempo esgotado esperando a impressora", 0), 0u) << r.erro;
}

}  // namespace

namespace {

// The journal rows of historico: one line per run, then its queue rows.
std::vector<std::string> Linhas(const std::string& texto) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = texto.find('\n', i)) != std::string::npos; i = j + 1) r.push_back(texto.substr(i, j - i));
    return r;
}
std::vector<std::string> Campos(const std::string& linha) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = linha.find('\t', i)) != std::string::npos; i = j + 1) r.push_back(linha.substr(i, j - i));
    r.push_back(linha.substr(i));
    return r;
}

TEST_F(CmdImprimirRede, ContinuarImprimeExatamenteOQueFaltou) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    std::string inteiro, trabalho;
    Referencia(60, 1, inteiro, trabalho);
    TImpressoraTeste quebra({.fecharApos = static_cast<long>(trabalho.size()) * 9 + 17, .bufferRecepcao = 4096});
    ASSERT_TRUE(quebra.Ok());
    GravarConfig("PATH REDE", quebra.Endereco());
    TResultadoCli r = Rodar("imprimir --sem-pausa");
    quebra.Parar();
    ASSERT_EQ(r.codigo, 1) << r.erro;
    const size_t entregues = quebra.BytesConfirmados() / trabalho.size();

    TImpressoraTeste boa;
    ASSERT_TRUE(boa.Ok());
    GravarConfig("PATH REDE", boa.Endereco());
    r = Rodar("imprimir --sem-pausa --continuar");
    boa.Parar();
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, std::to_string(60 - entregues) + " etiquetas enviadas (modelo 06)\n");
    EXPECT_EQ(inteiro.substr(0, entregues * trabalho.size()) + boa.Recebido(), inteiro);

    // Nothing is left: a second continuation refuses and sends nothing.
    TImpressoraTeste terceira;
    GravarConfig("PATH REDE", terceira.Endereco());
    r = Rodar("imprimir --sem-pausa --continuar");
    terceira.Parar();
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind("A última impressão desta estação (às ", 0), 0u) << r.erro;
    EXPECT_TRUE(r.erro.ends_with(") terminou inteira: nada a continuar\n")) << r.erro;
    EXPECT_EQ(terceira.Recebido(), "");

    // historico: the failed run and its continuation, as the printers took them.
    r = Rodar("historico --ultimos 2");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const auto linhas = Linhas(r.saida);
    ASSERT_EQ(linhas.size(), 4u) << r.saida;
    const auto continuacao = Campos(linhas[0]), falha = Campos(linhas[2]);
    EXPECT_EQ(continuacao[8], std::to_string(60 - entregues) + " de " + std::to_string(60 - entregues));
    EXPECT_EQ(continuacao[9], "INTEIRA");
    EXPECT_EQ(continuacao[10], "continua " + falha[0]);
    EXPECT_EQ(Campos(linhas[1])[5], std::to_string(60 - entregues) + " de " + std::to_string(60 - entregues));
    EXPECT_EQ(falha[5], "modelo 06");
    EXPECT_EQ(falha[6], "PPLA");
    EXPECT_EQ(falha[7], quebra.Endereco());
    EXPECT_EQ(falha[8], std::to_string(entregues) + " de 60");
    EXPECT_EQ(falha[9], "FALHA");
    EXPECT_EQ(Campos(linhas[3])[5], std::to_string(entregues) + " de 60");
}

TEST_F(CmdImprimirRede, ContinuarRecusaQuandoAFilaMudou) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    Mercadoria(2, "7891234567901", "MEIA", "M-02", "9.9");
    Fila(1, "7891234567895", "CAMISETA", "300", "29.9");
    Fila(2, "7891234567901", "MEIA", "50", "9.9");
    TImpressoraTeste quebra({.fecharApos = 2000, .bufferRecepcao = 4096});
    GravarConfig("PATH REDE", quebra.Endereco());
    ASSERT_EQ(Rodar("imprimir --sem-pausa").codigo, 1);
    quebra.Parar();
    TImpressoraTeste boa;
    GravarConfig("PATH REDE", boa.Endereco());
    const std::pair<const char*, const char*> casos[] = {
        {"update ETIQUETAREAD set QUANTIDADE = 4 where CODIGO = 2",
         "(código 2) pedia 50 etiquetas e agora pede 4: nada foi impresso\n"},
        {"delete from ETIQUETAREAD where CODIGO = 2", "tinha 2 linhas com etiquetas, agora tem 1: nada foi impresso\n"},
    };
    for (auto [mudanca, fim] : casos) {
        Executar(mudanca);
        const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro.rfind("A fila mudou desde a impressão das ", 0), 0u) << r.erro;
        ASSERT_GE(r.erro.size(), std::string(fim).size());
        EXPECT_EQ(r.erro.substr(r.erro.size() - std::string(fim).size()), fim);
    }
    boa.Parar();
    EXPECT_EQ(boa.Recebido(), "");
}

TEST_F(CmdImprimirRede, FilaSemEtiquetasNaoEntraNoDiario) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    Fila(1, "7891234567895", "CAMISETA", "300", "29.9");
    TImpressoraTeste quebra({.fecharApos = 2000, .bufferRecepcao = 4096});
    GravarConfig("PATH REDE", quebra.Endereco());
    ASSERT_EQ(Rodar("imprimir --sem-pausa").codigo, 1);
    quebra.Parar();
    const std::string historico = Rodar("historico").saida;
    ASSERT_EQ(Linhas(historico).size(), 2u) << historico;

    // Counts of 0, and a count that rounds to no label: nothing to send, no run.
    TImpressoraTeste boa;
    GravarConfig("PATH REDE", boa.Endereco());
    for (const char* quantidade : {"0", "0.4"}) {
        Executar(std::string("update ETIQUETAREAD set QUANTIDADE = ") + quantidade);
        const TResultadoCli r = Rodar("imprimir --sem-pausa");
        EXPECT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, "Nenhuma etiqueta a imprimir: as quantidades da fila são todas 0\n");
        EXPECT_EQ(Rodar("historico").saida, historico);
    }
    // The failed print is still the one to continue.
    Executar("update ETIQUETAREAD set QUANTIDADE = 300");
    const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
    boa.Parar();
    EXPECT_EQ(r.codigo, 0) << r.erro;
    const auto falha = Campos(Linhas(historico)[0]);
    const int64_t entregues = std::stoll(falha[8].substr(0, falha[8].find(' ')));
    EXPECT_EQ(r.saida, std::to_string(300 - entregues) + " etiquetas enviadas (modelo 06)\n");
}

TEST_F(CmdImprimirRede, FilaJaImpressaAvisaOuRecusa) {
    Fila(1, "7891234567895", "CAMISETA", "6", "29.9");
    TResultadoCli r = Rodar("imprimir --sem-pausa");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    const std::string primeira = Saida();

    r = Rodar("imprimir --sem-pausa --sem-repetir");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind("Esta fila já foi impressa às ", 0), 0u) << r.erro;
    EXPECT_NE(r.erro.find(" (6 etiquetas). Nada foi impresso (--sem-repetir).\n"), std::string::npos) << r.erro;
    EXPECT_EQ(Saida(), primeira);

    r = Rodar("imprimir --sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro.rfind("Aviso: Esta fila já foi impressa às ", 0), 0u) << r.erro;
    EXPECT_NE(r.erro.find(" (6 etiquetas). Imprimindo de novo.\n"), std::string::npos) << r.erro;
    EXPECT_EQ(r.saida, "6 etiquetas enviadas (modelo 11)\n");

    // One count changed: another queue, no word.
    Executar("update ETIQUETAREAD set QUANTIDADE = 5");
    r = Rodar("imprimir --sem-pausa --sem-repetir");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    EXPECT_EQ(r.saida, "5 etiquetas enviadas (modelo 11)\n");
}

TEST_F(CmdImprimirRede, DiarioQueNaoPodeSerGravadoNaoImpedeAImpressao) {
    // A table of that name that takes no journal row (as one without rights would).
    Executar("create table DIARIO_IMPRESSAO (X integer)");
    Fila(1, "7891234567895", "CAMISETA", "3", "29.9");
    const TResultadoCli r = Rodar("imprimir --sem-pausa");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, "3 etiquetas enviadas (modelo 11)\n");
    EXPECT_EQ(r.erro.rfind("Aviso: Diário de impressões desligado: ", 0), 0u) << r.erro;
    EXPECT_FALSE(Saida().empty());
}

}  // namespace

namespace {

TEST_F(CmdImprimirRede, StatusZplAntesEDepois) {
    GravarConfig("MODELO", "ZPL");
    Fila(1, "7891234567895", "CAMISETA", "6", "29.9");
    const std::string pronta = RespostaHS(false, false, false, false, false);
    struct Caso {
        std::vector<std::string> respostas;
        int codigo;
        const char* erro;
        bool imprime;
        bool semResposta = false;  // the journal notes it
    } casos[] = {
        {{RespostaHS(true, false, false, false, false)},
         1,
         "Impressora sem papel: nada foi enviado à impressora\n",
         false},
        {{RespostaHS(false, false, false, true, false)},
         1,
         "Cabeça de impressão aberta: nada foi enviado à impressora\n",
         false},
        {{RespostaHS(false, true, true, false, true)},
         1,
         "Impressora sem ribbon; Impressora em pausa; Memória de recepção da impressora cheia: nada foi enviado à "
         "impressora\n",
         false},
        {{pronta}, 0, "", true},
        {{}, 0, "", true, true},                       // no answer: prints as before
        {{"\x02garbage\x03\r\n"}, 0, "", true, true},  // an answer that is not one
        {{pronta, RespostaHS(true, false, false, false, false)},
         3,
         "A impressora informou após o último trabalho: Impressora sem papel\n",
         true},
    };
    int quantidade = 6;
    for (const auto& c : casos) {
        // Another count each time: no repeated-queue warning in the way.
        Executar("update ETIQUETAREAD set QUANTIDADE = " + std::to_string(++quantidade));
        TImpressoraTeste impressora({.respostasHS = c.respostas});
        ASSERT_TRUE(impressora.Ok());
        GravarConfig("PATH REDE", impressora.Endereco());
        const TResultadoCli r = Rodar("imprimir --sem-pausa");
        impressora.Parar();
        EXPECT_EQ(r.codigo, c.codigo) << r.erro;
        EXPECT_EQ(r.erro, c.erro);
        const std::string recebido = impressora.Recebido();
        EXPECT_EQ(recebido.rfind("~HS", 0), 0u);
        EXPECT_EQ(recebido.find("^XA") != std::string::npos, c.imprime) << r.erro;
        if (c.imprime) {
            const std::string historico = Rodar("historico --ultimos 1").saida;
            EXPECT_EQ(historico.find("A impressora não respondeu ao pedido de status (~HS)") != std::string::npos,
                      c.semResposta)
                << historico;
        }
    }
}

}  // namespace
