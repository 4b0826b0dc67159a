// etiquetas-cli imprimir and teste against a network printer played on the
// loopback: what they report sent is what the printer took.
#include <filesystem>
#include <regex>
#include <sstream>

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

// The last line of a failed print: labels delivered, of how many, and those
// sent last that the printer may not have taken in (-1 when the line is not one).
struct TEntrega {
    int64_t entregues = -1, aEnviar = -1, naoConfirmadas = 0;
};
TEntrega EntregaDe(const std::string& erro) {
    static const std::regex linha(
        "(\\d+) de (\\d+) etiquetas entregues(?:; as últimas (\\d+) podem não ter saído e serão repetidas ao "
        "continuar| à impressora antes da falha)\n$");
    std::smatch m;
    TEntrega r;
    if (!std::regex_search(erro, m, linha)) return r;
    r.entregues = std::stoll(m[1].str());
    r.aEnviar = std::stoll(m[2].str());
    if (m[3].matched) r.naoConfirmadas = std::stoll(m[3].str());
    return r;
}

TEST_F(CmdImprimirRede, ImpressoraQueNaoLeFalhaNoPrazoSemContarOQueFicouNoBufferDela) {
    std::string inteiro, trabalho;
    Referencia(1900, 3, inteiro, trabalho);  // model 11, three labels a job
    TImpressoraTeste impressora({.naoLer = true, .bufferRecepcao = 4096});
    ASSERT_TRUE(impressora.Ok());
    GravarConfig("PATH REDE", impressora.Endereco());
    const TResultadoCli r = Rodar("imprimir --sem-pausa");
    impressora.Parar();
    EXPECT_NE(r.codigo, 0);
    EXPECT_EQ(r.saida, "");
    // Its stack took some jobs, but it read none: none counts as delivered.
    const uint64_t jobs = impressora.BytesConfirmados() / trabalho.size();
    ASSERT_GT(jobs, 0u);
    EXPECT_LT(jobs * 3, 1900u);
    const std::string fim = "0 de 1900 etiquetas entregues; as últimas " + std::to_string(jobs * 3) +
                            " podem não ter saído e serão repetidas ao continuar\n";
    ASSERT_GE(r.erro.size(), fim.size()) << r.erro;
    EXPECT_EQ(r.erro.substr(r.erro.size() - fim.size()), fim) << r.erro;
    EXPECT_NE(r.erro.find("Tempo esgotado esperando a impressora 127.0.0.1:"), std::string::npos) << r.erro;
}

TEST_F(CmdImprimirRede, ImpressoraQueFechaAposNBytesNaoContaOQueElaPodeNaoTerLido) {
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
        const TEntrega e = EntregaDe(r.erro);
        ASSERT_EQ(e.aEnviar, 60) << r.erro;
        // Every job its stack took is told, delivered or doubted; the last one always doubted.
        EXPECT_EQ(static_cast<uint64_t>(e.entregues + e.naoConfirmadas),
                  impressora.BytesConfirmados() / trabalho.size());
        EXPECT_GE(e.naoConfirmadas, 1) << r.erro;
        // None it did not read counts as delivered, and at most its buffer's worth it read is doubted.
        const int64_t lidos = corte / static_cast<long>(trabalho.size());
        EXPECT_LE(e.entregues, lidos) << r.erro;
        EXPECT_LE(lidos - e.entregues, impressora.BufferRecepcaoEfetivo() / static_cast<int64_t>(trabalho.size()) + 1)
            << r.erro;
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
    const TEntrega e = EntregaDe(r.erro);
    ASSERT_GE(e.entregues, 0) << r.erro;
    const auto entregues = static_cast<size_t>(e.entregues);
    // What the printer read whole reaches at least as far as the count.
    EXPECT_LE(entregues * trabalho.size(), quebra.Recebido().size());

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
    const auto linhas = LinhasDoTexto(r.saida);
    ASSERT_EQ(linhas.size(), 4u) << r.saida;
    const auto continuacao = CamposTabulados(linhas[0]), falha = CamposTabulados(linhas[2]);
    EXPECT_EQ(continuacao[8], std::to_string(60 - entregues) + " de " + std::to_string(60 - entregues));
    EXPECT_EQ(continuacao[9], "INTEIRA");
    EXPECT_EQ(continuacao[10], "continua " + falha[0]);
    EXPECT_EQ(CamposTabulados(linhas[1])[5], std::to_string(60 - entregues) + " de " + std::to_string(60 - entregues));
    EXPECT_EQ(falha[5], "modelo 06");
    EXPECT_EQ(falha[6], "PPLA");
    EXPECT_EQ(falha[7], quebra.Endereco());
    EXPECT_EQ(falha[8], std::to_string(entregues) + " de 60");
    EXPECT_EQ(falha[9], "FALHA");
    EXPECT_EQ(CamposTabulados(linhas[3])[5], std::to_string(entregues) + " de 60");
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
    ASSERT_EQ(LinhasDoTexto(historico).size(), 2u) << historico;

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
    const auto falha = CamposTabulados(LinhasDoTexto(historico)[0]);
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
    const char* const semResposta = "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram\n";
    struct Caso {
        TComportamentoImpressora impressora;
        int codigo;
        const char* erro;
        bool imprime;
        const char* nota = nullptr;  // what the journal's run notes
    } casos[] = {
        {{.respostasHS = {RespostaHS(true, false, false, false, false)}},
         1,
         "Impressora sem papel: nada foi enviado à impressora\n",
         false},
        {{.respostasHS = {RespostaHS(false, false, false, true, false)}},
         1,
         "Cabeça de impressão aberta: nada foi enviado à impressora\n",
         false},
        {{.respostasHS = {RespostaHS(false, true, true, false, true)}},
         1,
         "Impressora sem ribbon; Impressora em pausa; Memória de recepção da impressora cheia: nada foi enviado à "
         "impressora\n",
         false},
        {{.respostasHS = {pronta}}, 0, "", true},
        // Silent before the first job and after the last: printed, but nobody knows whether it came out.
        {{}, 3, semResposta, true, "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram"},
        {{.respostasHS = {"\x02garbage\x03\r\n"}}, 3, semResposta, true, "confira se as etiquetas saíram"},
        // Never reads either: the 7 labels fit in the sockets' buffers, so they "went out".
        {{.naoLer = true}, 3, semResposta, true, "confira se as etiquetas saíram"},
        // Silent before, answering after: it is there and well.
        {{.respostasHS = {"", pronta}}, 0, "", true, "A impressora não respondeu ao pedido de status (~HS)"},
        {{.respostasHS = {pronta, RespostaHS(true, false, false, false, false)}},
         3,
         "A impressora informou após o último trabalho: Impressora sem papel\n",
         true,
         "A impressora informou após o último trabalho: Impressora sem papel"},
    };
    int quantidade = 6;
    for (const auto& c : casos) {
        // Another count each time: no repeated-queue warning in the way.
        Executar("update ETIQUETAREAD set QUANTIDADE = " + std::to_string(++quantidade));
        TImpressoraTeste impressora(c.impressora);
        ASSERT_TRUE(impressora.Ok());
        GravarConfig("PATH REDE", impressora.Endereco());
        const TResultadoCli r = Rodar("imprimir --sem-pausa");
        impressora.Parar();
        EXPECT_EQ(r.codigo, c.codigo) << r.erro;
        EXPECT_EQ(r.erro, c.erro);
        const std::string recebido = impressora.Recebido();
        if (!c.impressora.naoLer) {
            EXPECT_EQ(recebido.rfind("~HS", 0), 0u);
            EXPECT_EQ(recebido.find("^XA") != std::string::npos, c.imprime) << r.erro;
        }
        if (c.imprime) {
            EXPECT_EQ(r.saida, std::to_string(quantidade) + " etiquetas enviadas (modelo 11)\n");
            // Asked after the last job too.
            if (!c.impressora.naoLer) {
                EXPECT_EQ(impressora.ConsultasHS(), 2);
            }
            const std::string run = LinhasDoTexto(Rodar("historico --ultimos 1").saida).at(0);
            EXPECT_EQ(CamposTabulados(run).at(9), "INTEIRA") << run;
            if (c.nota)
                EXPECT_NE(run.find(c.nota), std::string::npos) << run;
            else
                EXPECT_EQ(run.find("A impressora"), std::string::npos) << run;
        }
    }
}

// The printer reads 60,000 bytes and closes. The jobs its stack took but it
// never read are not counted as delivered: the continuation sends them, so
// every label comes out, and at most a receive buffer's worth twice.
TEST_F(CmdImprimirRede, ImpressoraZplQueFechaAposLer60000BytesNaoPerdeEtiquetaAoContinuar) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    GravarConfig("MODELO", "ZPL");
    std::string inteiro, trabalho;
    Referencia(1121, 1, inteiro, trabalho);
    const std::string pronta = RespostaHS(false, false, false, false, false);
    TImpressoraTeste quebra({.fecharApos = 60000, .soAPrimeira = true, .bufferRecepcao = 16384});
    ASSERT_TRUE(quebra.Ok());
    GravarConfig("PATH REDE", quebra.Endereco());
    TResultadoCli r = Rodar("imprimir --sem-pausa");
    quebra.Parar();
    ASSERT_EQ(r.codigo, 1) << r.erro;
    const TEntrega e = EntregaDe(r.erro);
    ASSERT_EQ(e.aEnviar, 1121) << r.erro;
    EXPECT_GE(e.naoConfirmadas, 1) << r.erro;
    // It read the status question, then whole jobs and part of one.
    const std::string lido = quebra.Recebido();
    ASSERT_EQ(lido.rfind("~HS", 0), 0u);
    EXPECT_EQ(lido.substr(3), inteiro.substr(0, lido.size() - 3));
    const int64_t lidos = static_cast<int64_t>((lido.size() - 3) / trabalho.size());
    EXPECT_LE(e.entregues, lidos) << r.erro;
    EXPECT_LE(lidos - e.entregues, quebra.BufferRecepcaoEfetivo() / static_cast<int64_t>(trabalho.size()) + 1)
        << r.erro;

    TImpressoraTeste boa({.respostasHS = {pronta}});
    ASSERT_TRUE(boa.Ok());
    GravarConfig("PATH REDE", boa.Endereco());
    r = Rodar("imprimir --sem-pausa --continuar");
    boa.Parar();
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida, std::to_string(1121 - e.entregues) + " etiquetas enviadas (modelo 06)\n");
    const std::string segunda = boa.Recebido();
    ASSERT_TRUE(segunda.starts_with("~HS") && segunda.ends_with("~HS")) << segunda.substr(0, 40);
    EXPECT_EQ(segunda.substr(3, segunda.size() - 6),
              inteiro.substr(static_cast<size_t>(e.entregues) * trabalho.size()));
    // The labels of both, counted in whole jobs: every one, none lost.
    EXPECT_GE(lidos + (1121 - e.entregues), 1121);
}

// A printer that never stops talking, from the connection's start and as its
// answer to "~HS": the print ends, with little memory. ZPL asks its status
// (no answer comes out of the noise); PPLA only reads and drops.
TEST_F(CmdImprimirRede, ImpressoraQueNaoParaDeFalarTerminaComPoucaMemoria) {
    Fila(1, "7891234567895", "CAMISETA", "30", "29.9");
    struct Caso {
        const char* linguagem;
        int codigo;
        const char* erro;
    } casos[] = {
        {"ZPL", 3, "A impressora não respondeu ao pedido de status: confira se as etiquetas saíram\n"},
        {"PPLA", 0, ""},
    };
    TProgramaCli medido = cli_;
    medido.programa = "/usr/bin/time";
    const std::string pico = pasta_ + "/pico";
    int quantidade = 30;
    for (const auto& c : casos) {
        Executar("update ETIQUETAREAD set QUANTIDADE = " + std::to_string(++quantidade));
        GravarConfig("MODELO", c.linguagem);
        TImpressoraTeste impressora({.inundar = true});
        ASSERT_TRUE(impressora.Ok());
        GravarConfig("PATH REDE", impressora.Endereco());
        FecharOutro();
        const TResultadoCli r = medido.Rodar("-f %M -o '" + pico + "' '" + cli_.programa + "' imprimir --sem-pausa");
        impressora.Parar();
        EXPECT_EQ(r.codigo, c.codigo) << c.linguagem << ": " << r.erro;
        EXPECT_EQ(r.erro, c.erro) << c.linguagem;
        EXPECT_EQ(r.saida, std::to_string(quantidade) + " etiquetas enviadas (modelo 11)\n") << c.linguagem;
        EXPECT_GT(impressora.BytesInundados(), 1u << 20) << c.linguagem;
        // time's last line (a first one says the exit status when it is not 0).
        std::string medida = LerTudo(pico);
        while (!medida.empty() && medida.back() == '\n') medida.pop_back();
        const long kb = std::stol("0" + medida.substr(medida.rfind('\n') + 1));
        EXPECT_GT(kb, 0) << c.linguagem;
        EXPECT_LT(kb, 100 * 1024) << c.linguagem;
    }
}

}  // namespace

namespace {

// A failed print of two rows (300 and 50 labels) and the ID of its run.
class DiarioDeUmaFalha : public CmdImprimirRede {
protected:
    void SetUp() override {
        CmdImprimirRede::SetUp();
        GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
        Mercadoria(2, "7891234567901", "MEIA", "M-02", "9.9");
        Fila(1, "7891234567895", "CAMISETA", "300", "29.9");
        Fila(2, "7891234567901", "MEIA", "50", "9.9");
        // Past what its receive buffer may hold: some labels count as delivered.
        TImpressoraTeste quebra({.fecharApos = 20000, .bufferRecepcao = 4096});
        GravarConfig("PATH REDE", quebra.Endereco());
        ASSERT_EQ(Rodar("imprimir --sem-pausa").codigo, 1);
        quebra.Parar();
        id_ = Texto("select max(ID) from DIARIO_IMPRESSAO");
        entregues_ = Texto("select ENTREGUES from DIARIO_IMPRESSAO where ID = " + id_);
        ASSERT_GT(std::stoll(entregues_), 0);
    }
    std::string id_, entregues_;
};

TEST_F(DiarioDeUmaFalha, DiarioDanificadoEhRecusadoSemImprimirNada) {
    const std::string id = id_;
    struct Caso {
        std::string estraga, conserta, fim;
    } casos[] = {
        {"update DIARIO_IMPRESSAO_ITEM set ENTREGUES = 500 where ORDEM = 1",
         "update DIARIO_IMPRESSAO_ITEM set ENTREGUES = " + Texto("select ENTREGUES from DIARIO_IMPRESSAO_ITEM where "
                                                                 "ORDEM = 1 and DIARIO = " +
                                                                 id),
         "a impressão " + id + ", linha 1, diz 500 etiquetas entregues de 300"},
        {"update DIARIO_IMPRESSAO_ITEM set ENTREGUES = -20 where ORDEM = 2",
         "update DIARIO_IMPRESSAO_ITEM set ENTREGUES = 0 where ORDEM = 2",
         "a impressão " + id + ", linha 2, diz -20 etiquetas entregues de 50"},
        {"update DIARIO_IMPRESSAO_ITEM set QUANTIDADE = 400 where ORDEM = 1",
         "update DIARIO_IMPRESSAO_ITEM set QUANTIDADE = 300 where ORDEM = 1",
         "a impressão " + id + ", linha 1, diz 400 etiquetas a enviar de 300 pedidas"},
        {"update DIARIO_IMPRESSAO set ENTREGUES = 520", "update DIARIO_IMPRESSAO set ENTREGUES = " + entregues_,
         "a impressão " + id + " diz 520 etiquetas entregues de 350"},
        {"update DIARIO_IMPRESSAO set ENTREGUES = -20", "update DIARIO_IMPRESSAO set ENTREGUES = " + entregues_,
         "a impressão " + id + " diz -20 etiquetas entregues de 350"},
        {"update DIARIO_IMPRESSAO set ENTREGUES = 0", "update DIARIO_IMPRESSAO set ENTREGUES = " + entregues_,
         "as linhas da impressão " + id + " somam " + entregues_ + " etiquetas entregues, e ela diz 0"},
        {"update DIARIO_IMPRESSAO set CONTINUA = ID", "update DIARIO_IMPRESSAO set CONTINUA = null",
         "a impressão " + id + " continua a " + id + ", que não é uma impressão anterior desta estação"},
        {"update DIARIO_IMPRESSAO set CONTINUA = 9999", "update DIARIO_IMPRESSAO set CONTINUA = null",
         "a impressão " + id + " continua a 9999, que não está no diário"},
        {"update DIARIO_IMPRESSAO set ANTERIORES = 100", "update DIARIO_IMPRESSAO set ANTERIORES = 0",
         "a impressão " + id + " diz que outras entregaram 100 etiquetas, mas não continua nenhuma"},
        {"update DIARIO_IMPRESSAO set SITUACAO = 'QUASE'", "update DIARIO_IMPRESSAO set SITUACAO = 'FALHA'",
         "a impressão " + id + " diz ter terminado como \"QUASE\""},
        {"update DIARIO_IMPRESSAO set A_ENVIAR = 340", "update DIARIO_IMPRESSAO set A_ENVIAR = 350",
         "a impressão " + id + " diz 340 etiquetas na fila, que pede 350"},
    };
    TImpressoraTeste boa;
    ASSERT_TRUE(boa.Ok());
    GravarConfig("PATH REDE", boa.Endereco());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.estraga);
        Executar(c.estraga);
        const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.erro, "O diário de impressões está danificado: " + c.fim + ": nada foi impresso\n");
        Executar(c.conserta);
    }
    // Sound again, it continues.
    const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
    boa.Parar();
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(boa.Recebido().empty(), false);
    EXPECT_EQ(r.saida, std::to_string(350 - std::stoll(entregues_)) + " etiquetas enviadas (modelo 06)\n");
}

// A run "EM CURSO" is taken up only when its process is gone: one whose
// process still runs (here, this test's) is not, however old it looks.
TEST_F(DiarioDeUmaFalha, EmCursoSoEContinuadaSemOSeuProcesso) {
    const std::string vivo = ProcessoAtual();
    std::istringstream campos(vivo);
    std::string pid, inicio, boot;
    campos >> pid >> inicio >> boot;
    const struct {
        std::string processo;
        bool vivo;
    } casos[] = {
        {vivo, true},
        {pid + " 1 " + boot, false},                // the number taken by another process since
        {pid + " " + inicio + " 00000000", false},  // another boot: the power came back
        {"", false},
    };
    TImpressoraTeste boa;
    ASSERT_TRUE(boa.Ok());
    GravarConfig("PATH REDE", boa.Endereco());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.processo);
        Executar("update DIARIO_IMPRESSAO set SITUACAO = 'EM CURSO', FIM = null, PROCESSO = '" + c.processo +
                 "' where ID = " + id_);
        if (c.vivo) {
            const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
            EXPECT_EQ(r.codigo, 1);
            EXPECT_TRUE(r.erro.ends_with(" (" + id_ + ") ainda está em curso nesta estação: nada foi impresso\n"))
                << r.erro;
            EXPECT_EQ(boa.Recebido(), "");
            continue;
        }
        // Taken up, and taken back for the next case.
        const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
        EXPECT_EQ(r.codigo, 0) << r.erro;
        EXPECT_EQ(r.saida, std::to_string(350 - std::stoll(entregues_)) + " etiquetas enviadas (modelo 06)\n");
        Executar("delete from DIARIO_IMPRESSAO_ITEM where DIARIO <> " + id_);
        Executar("delete from DIARIO_IMPRESSAO where ID <> " + id_);
    }
    boa.Parar();
}

// The queue a run was of is its fingerprint: a run of another queue is not continued.
TEST_F(DiarioDeUmaFalha, ExecucaoDeOutraFilaNaoEContinuada) {
    Executar("update DIARIO_IMPRESSAO set ASSINATURA = ASSINATURA + 1");
    TImpressoraTeste boa;
    GravarConfig("PATH REDE", boa.Endereco());
    const TResultadoCli r = Rodar("imprimir --sem-pausa --continuar");
    boa.Parar();
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind("A fila mudou desde a impressão das ", 0), 0u) << r.erro;
    EXPECT_TRUE(r.erro.ends_with(": as linhas ou as quantidades não são as mesmas: nada foi impresso\n")) << r.erro;
    EXPECT_EQ(boa.Recebido(), "");
}

// Every line of historico has its fields, whatever the texts hold.
TEST_F(DiarioDeUmaFalha, HistoricoTemSempreOMesmoNumeroDeCampos) {
    const std::string mensagem = "a porta caiu\nlinha 2\tcom tab \\ e\r fim";
    Executar(
        "update DIARIO_IMPRESSAO set MENSAGEM = 'a porta caiu' || ascii_char(10) || 'linha 2' || ascii_char(9) || "
        "'com tab \\ e' || ascii_char(13) || ' fim', OBSERVACAO = null");
    Executar("update DIARIO_IMPRESSAO_ITEM set NOME = 'CAMISETA' || ascii_char(9) || 'AZUL' where ORDEM = 1");
    TImpressoraTeste boa;
    GravarConfig("PATH REDE", boa.Endereco());
    ASSERT_EQ(Rodar("imprimir --sem-pausa --continuar").codigo, 0);
    boa.Parar();
    const TResultadoCli r = Rodar("historico");
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const auto linhas = LinhasDoTexto(r.saida);
    ASSERT_EQ(linhas.size(), 6u) << r.saida;  // two runs of two rows each
    auto desfazer = [](const std::string& s) {
        std::string t;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] != '\\' || i + 1 == s.size()) {
                t += s[i];
                continue;
            }
            const char c = s[++i];
            t += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        return t;
    };
    for (size_t k = 0; k < linhas.size(); ++k) {
        const auto campos = CamposTabulados(linhas[k]);
        const bool execucao = k % 3 == 0;
        SCOPED_TRACE(linhas[k]);
        ASSERT_EQ(campos.size(), execucao ? 13u : 6u);
        if (!execucao) {
            EXPECT_EQ(campos[0], "");
        }
    }
    const auto falha = CamposTabulados(linhas[3]);
    EXPECT_EQ(falha[9], "FALHA");
    EXPECT_EQ(falha[10], "");
    EXPECT_EQ(desfazer(falha[11]), mensagem);
    EXPECT_EQ(falha[12], "");
    EXPECT_EQ(desfazer(CamposTabulados(linhas[4])[4]), "CAMISETA\tAZUL");
    EXPECT_EQ(CamposTabulados(linhas[0])[10], "continua " + id_);
}

// A batch over a queue whose print was cut asks first: lote warns, or keeps the queue.
TEST_F(DiarioDeUmaFalha, LoteSobreImpressaoInterrompidaAvisaOuMantemAFila) {
    const std::string antes = "A fila tem uma impressão interrompida às ";
    const std::string quantas = " (" + entregues_ + " de 350 etiquetas entregues).";
    TResultadoCli r = Rodar("lote --codigo 1 1 --produtos todos --sem-substituir");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind(antes, 0), 0u) << r.erro;
    EXPECT_TRUE(r.erro.ends_with(quantas + " A fila foi mantida (--sem-substituir).\n")) << r.erro;
    EXPECT_EQ(Contar("ETIQUETAREAD"), 2);

    r = Rodar("lote --codigo 1 1 --produtos todos");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro.rfind("Aviso: " + antes, 0), 0u) << r.erro;
    EXPECT_TRUE(r.erro.ends_with(quantas + " Substituindo a fila.\n")) << r.erro;
    EXPECT_EQ(r.saida, "1 linha na fila, 0 etiquetas\n");
    EXPECT_EQ(Contar("ETIQUETAREAD"), 1);
}

TEST_F(CmdImprimirRede, LinhaSemMercadoriaEhDitaEAExecucaoFicaIncompleta) {
    GravarConfig("MODELO PRINT", "06 - PPLA 1 coluna");
    Fila(1, "7891234567895", "CAMISETA", "3", "29.9");
    Fila(1234, "7890000012345", "SUMIU", "4", "5");
    TImpressoraTeste boa;
    GravarConfig("PATH REDE", boa.Endereco());
    TResultadoCli r = Rodar("imprimir --sem-pausa");
    boa.Parar();
    EXPECT_EQ(r.codigo, 4);
    EXPECT_EQ(r.saida, "3 etiquetas enviadas (modelo 06)\n");
    EXPECT_EQ(r.erro,
              "4 etiquetas de 1 linha da fila não foram impressas: a mercadoria 1234 não existe mais no "
              "cadastro\n");
    const auto execucao = CamposTabulados(LinhasDoTexto(Rodar("historico --ultimos 1").saida).at(0));
    EXPECT_EQ(execucao[8], "3 de 7");
    EXPECT_EQ(execucao[9], "INCOMPLETA");
    EXPECT_EQ(execucao[11],
              "4 etiquetas de 1 linha da fila não foram impressas: a mercadoria 1234 não existe mais no "
              "cadastro");
}

}  // namespace

namespace {

// Sheets are journalled when they go to a PDF, as language "A4", and are
// compared only with sheets when the repeat question is asked.
TEST_F(CmdImprimirRede, FolhasA4EmPdfEntramNoDiarioComoA4) {
    Fila(1, "7891234567895", "CAMISETA", "3", "29.9");
    const std::string pdf = pasta_ + "/folhas.pdf";
    TResultadoCli r = Rodar("imprimir --modelo 26 --pdf " + pdf);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    const auto linhas = LinhasDoTexto(Rodar("historico --ultimos 1").saida);
    ASSERT_EQ(linhas.size(), 2u);
    const auto folhas = CamposTabulados(linhas[0]);
    EXPECT_EQ(folhas[5], "modelo 26");
    EXPECT_EQ(folhas[6], "A4");
    EXPECT_EQ(folhas[7], "PDF: " + pdf);
    EXPECT_EQ(folhas[8], "3 de 3");
    EXPECT_EQ(folhas[9], "INTEIRA");
    EXPECT_EQ(CamposTabulados(linhas[1])[5], "3 de 3");

    // A PDF does not make a label print a repetition; a second label print is one.
    r = Rodar("imprimir --sem-pausa --sem-repetir");
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.erro, "");
    r = Rodar("imprimir --sem-pausa --sem-repetir");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind("Esta fila já foi impressa às ", 0), 0u) << r.erro;
    r = Rodar("imprimir --modelo 26 --pdf " + pdf + " --sem-repetir");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro.rfind("Esta fila já foi impressa às ", 0), 0u) << r.erro;
}

}  // namespace
