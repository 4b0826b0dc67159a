// The print journal of a queue longer than a block of journal rows: the rows
// go to the database as the walk reads them, and every row ends with what the
// printer took of it, whether the print ended whole, was cancelled or failed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>

#include "FilaTeste.h"

namespace {

constexpr int kLinhas = 250;
constexpr int kSemMercadoria = 50;  // its goods are gone
constexpr int kSemEtiqueta = 120;   // 0.4 labels: a journal row asking for none
constexpr int kCinco = 150;         // five labels, across two print jobs of model 11

class DiarioLongo : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        const std::string n = std::to_string(kLinhas);
        Executar("execute block as declare i integer = 1; begin while (i <= " + n + ") do begin if (i <> " +
                 std::to_string(kSemMercadoria) +
                 ") then insert into MERCADORIAS (COD_RED, COD_BAR, NOM_MER, REF_MER, VLR_VEN) values (:i, "
                 "lpad(:i, 13, '789'), 'ITEM ' || :i, 'R' || :i, 1); i = i + 1; end end");
        Executar("execute block as declare i integer = 1; begin while (i <= " + n +
                 ") do begin insert into ETIQUETAREAD (CODIGO, BARRAS, NOME, SO_NOME, QUANTIDADE, ESTOQUE, VLR_VEN, "
                 "NRO_LOTE) values (:i, lpad(:i, 13, '789'), 'ITEM ' || lpad(:i, 3, '0'), 'ITEM', case :i when " +
                 std::to_string(kSemEtiqueta) + " then 0.4 when " + std::to_string(kCinco) +
                 " then 5 else 1 end, 0, 1, ''); i = i + 1; end end");
    }
    // The labels each row asks for.
    static int64_t Pedidas(int linha) { return linha == kSemEtiqueta ? 0 : linha == kCinco ? 5 : 1; }
    // Prints, keeping the most journal rows held in memory at any print job.
    void ImprimirMedindo(const std::function<bool(int64_t)>& prosseguir) {
        guardadas_ = 0;
        imp->AoProgresso = [&](int64_t enviadas, int64_t) {
            guardadas_ = std::max(guardadas_, imp->LinhasDoDiarioGuardadas());
            return prosseguir(enviadas);
        };
        Imprimir();
    }
    // Every journal row of the last run: the queue row it stands for, in
    // order, and "delivered de to send": all of the rows before `corte`, none
    // after it, `parcial` at it; a row whose goods are gone takes none.
    void ConferirItens(const TRegistroDiario& r, int corte, const std::string& parcial) {
        ASSERT_EQ(r.itens.size(), static_cast<size_t>(kLinhas));
        for (int linha = 1; linha <= kLinhas; ++linha) {
            const TItemDiario& i = r.itens[static_cast<size_t>(linha - 1)];
            SCOPED_TRACE("linha " + std::to_string(linha));
            EXPECT_EQ(i.ORDEM, linha);
            EXPECT_EQ(i.CODIGO, std::to_string(linha));
            EXPECT_EQ(i.QTD_FILA, Pedidas(linha));
            const std::string pedidas = std::to_string(Pedidas(linha));
            std::string esperado = (linha < corte ? pedidas : "0") + " de " + pedidas;
            if (linha == kSemMercadoria)
                esperado = "0 de 1";
            else if (linha == corte)
                esperado = parcial;
            EXPECT_EQ(ColunasItem(i)[4], esperado);
        }
    }
    TRegistroDiario Ultima() {
        const auto u = imp->Diario().Ultimas(1);
        return u.empty() ? TRegistroDiario{} : u.front();
    }
    size_t guardadas_ = 0;
};

TEST_F(DiarioLongo, InteiraCanceladaEFalhaGuardamOQueCadaLinhaEntregou) {
    struct Caso {
        const char* nome;
        int64_t parar;  // labels sent when the print is cut (0: never)
        bool falha;     // cut by a failure instead of a cancel
        const char* situacao;
        int corte;            // the row the cut falls in
        const char* parcial;  // and what it delivered
    } casos[] = {
        // Whole but for the row whose goods are gone, which is said.
        {"inteira", 0, false, kIncompleta, kLinhas + 1, ""},
        {"cancelada no meio de uma linha", 150, false, kCancelada, kCinco, "3 de 5"},
        {"falha ao fim de um bloco", 99, true, kFalha, 101, "0 de 1"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        auto parar = [&](int64_t enviadas) {
            if (c.parar == 0 || enviadas < c.parar) return true;
            if (c.falha) throw Exception("a porta caiu");
            return false;
        };
        if (c.falha)
            EXPECT_THROW(ImprimirMedindo(parar), Exception);
        else
            ImprimirMedindo(parar);
        const int64_t entregues = c.parar ? c.parar : 252;
        EXPECT_EQ(imp->EtiquetasEnviadas(), entregues);
        EXPECT_EQ(imp->AvisoDiario(), "");
        // A block of rows and the rows of a print job at most, however long the queue.
        EXPECT_GT(guardadas_, 0u);
        EXPECT_LE(guardadas_, kItensPorBloco + 3);
        const TRegistroDiario r = Ultima();
        EXPECT_EQ(r.SITUACAO, c.situacao);
        EXPECT_EQ(r.MENSAGEM, c.falha ? "a porta caiu"
                              : c.parar == 0
                                  ? "1 etiqueta de 1 linha da fila não foi impressa: a mercadoria 50 não existe mais "
                                    "no cadastro"
                                  : "");
        EXPECT_EQ(r.ENTREGUES, entregues);
        EXPECT_EQ(r.A_ENVIAR, 253);
        ConferirItens(r, c.corte, c.parcial);
    }
    // The whole run is the one the repeat question finds.
    const std::string pergunta = imp->PerguntaRepeticao();
    EXPECT_TRUE(pergunta.ends_with(" (253 etiquetas). Imprimir de novo?")) << pergunta;
}

TEST_F(DiarioLongo, ContinuacaoDeUmaCanceladaLongaEntregaORestoLinhaALinha) {
    ImprimirMedindo([](int64_t enviadas) { return enviadas < 150; });
    const int64_t cancelada = Ultima().ID;
    ASSERT_EQ(imp->PrepararContinuacao(), "");
    ImprimirMedindo([](int64_t) { return true; });
    EXPECT_EQ(imp->EtiquetasEnviadas(), 102);
    const TRegistroDiario r = Ultima();
    EXPECT_EQ(r.CONTINUA, cancelada);
    EXPECT_EQ(r.SITUACAO, kIncompleta);
    ASSERT_EQ(r.itens.size(), static_cast<size_t>(kLinhas));
    EXPECT_EQ(ColunasItem(r.itens[0])[4], "0 de 0");
    EXPECT_EQ(ColunasItem(r.itens[kCinco - 1])[4], "2 de 2");
    EXPECT_EQ(ColunasItem(r.itens[kLinhas - 1])[4], "1 de 1");
    EXPECT_NE(imp->PrepararContinuacao().find("imprimiu tudo menos as linhas cujas mercadorias não existem mais no "
                                              "cadastro: nada a continuar"),
              std::string::npos);
}

// The journal fails mid-print (not the link): the print goes on, and the
// operator is told what the journal kept and what it lost.
TEST_F(DiarioLongo, DiarioQueFalhaNoMeioDizOQuePerdeu) {
    ASSERT_TRUE(imp->Diario().Preparar());
    Executar("create exception DIARIO_CHEIO 'o diário não aceita mais linhas'");
    Executar(
        "create trigger DIARIO_CHEIO for DIARIO_IMPRESSAO_ITEM before insert as begin if (new.ORDEM > 150) then "
        "exception DIARIO_CHEIO; end");
    ImprimirMedindo([](int64_t) { return true; });
    EXPECT_EQ(imp->EtiquetasEnviadas(), 252);
    const std::string aviso = imp->AvisoDiario();
    const std::string id = std::to_string(Ultima().ID);
    EXPECT_EQ(aviso.rfind("Diário de impressões desligado: ", 0), 0u) << aviso;
    EXPECT_NE(aviso.find("o diário não aceita mais linhas"), std::string::npos) << aviso;
    // The first block waited for a progress that a print this short never wrote.
    EXPECT_NE(aviso.find(". A impressão " + id +
                         " ficou no diário com 0 etiquetas entregues e 0 linhas da fila; as 100 linhas gravadas "
                         "depois disso foram desfeitas. No fim, a impressão " +
                         id + " foi registrada com 252 etiquetas entregues"),
              std::string::npos)
        << aviso;
    const TRegistroDiario r = Ultima();
    EXPECT_EQ(r.ENTREGUES, 252);
    EXPECT_EQ(r.SITUACAO, kIncompleta);
    EXPECT_TRUE(r.itens.empty());
}

// A run "EM CURSO" is still printing only while the process it names lives;
// a hand-edited number must not keep it printing forever.
TEST(ProcessoDoDiario, VivoSoEnquantoOProcessoQueONomeiaVive) {
    const pid_t filho = ::fork();
    if (filho == 0) ::_exit(0);
    ASSERT_GT(filho, 0);
    ::waitpid(filho, nullptr, 0);
    struct Caso {
        std::string processo;
        bool vivo;
    } casos[] = {
        {std::to_string(::getppid()), true},  // the test runner, alive, named by number only
        {std::to_string(filho), false},       // ended
        {ProcessoAtual(), false},             // this process asks between its own prints
        {"0", false},                         // the process group, not a print
        {"0 - -", false},
        {"00", false},
        {"abc", false},
        {"", false},
    };
    for (const Caso& c : casos) EXPECT_EQ(ProcessoVivo(c.processo), c.vivo) << "\"" << c.processo << "\"";
}

}  // namespace
