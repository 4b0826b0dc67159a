// The journal's accounting without a printer: the test plays the walk and the
// port, telling the account what was read, sent and surely taken in, and
// reads back what the journal kept of each queue row.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FilaTeste.h"
#include "data/Tabela.h"
#include "labels/ContaDiario.h"

namespace {

class ContaDiario : public FilaTeste {
protected:
    void SetUp() override {
        FilaTeste::SetUp();
        // Three rows in NOME order asking for 2, 3 and 1 labels.
        const char* nomes[] = {"ARROZ", "FEIJAO", "SAL"};
        const char* contagens[] = {"2", "3", "1"};
        for (int i = 0; i < 3; ++i) {
            const std::string cod = std::to_string(i + 1);
            Mercadoria(i + 1, "789" + cod, nomes[i], "R" + cod, "1");
            Fila(i + 1, "789" + cod, nomes[i], contagens[i], "1");
        }
        fila = std::make_unique<TTabela>(dtm->dtbAplicativo, dtm->ibtAplicativo, "ETIQUETAREAD");
        fila->SetOrdenacao("NOME");
        fila->SetFiltro("quantidade>0");
        fila->SetFiltrado(true);
        fila->Open();
        conta = std::make_unique<TContaDiario>(*dtm, *fila);
    }
    void TearDown() override {
        conta.reset();
        fila.reset();
        FilaTeste::TearDown();
    }
    // A thermal print's start, as the print does it.
    int64_t Comecar() {
        conta->Reiniciar();
        const int64_t aEnviar = conta->Comecar(conta->AssinaturaDaFila(), true);
        conta->Abrir({11, "PPLA", "FILE:" + saida_, aEnviar, ""});
        return aEnviar;
    }
    // Walks the queue: each row is noted, then its labels "sent" by
    // `enviar(row, labels)`, which answers false to stop the walk there.
    // `confirmadas` is what the port surely took when a row waits for it.
    void Percorrer(const std::function<bool(int, int64_t)>& enviar, const std::function<int64_t()>& confirmadas) {
        int linha = 0;
        for (fila->First(); !fila->Eof(); fila->Next()) {
            const int64_t n = conta->AnotarLinha(LerLinhaFila(*fila), true, confirmadas, false);
            if (!enviar(++linha, n)) return;
        }
    }
    // "delivered de to send" of each journal row of the last run.
    std::vector<std::string> Entregues() {
        std::vector<std::string> r;
        const auto u = conta->Diario().Ultimas(1);
        if (u.empty()) return r;
        for (const auto& i : u.front().itens)
            r.push_back(std::to_string(i.ENTREGUES) + "/" + std::to_string(i.QUANTIDADE));
        return r;
    }
    TRegistroDiario Ultima() {
        const auto u = conta->Diario().Ultimas(1);
        return u.empty() ? TRegistroDiario{} : u.front();
    }
    std::unique_ptr<TTabela> fila;
    std::unique_ptr<TContaDiario> conta;
};

TEST_F(ContaDiario, CadaLinhaFicaComOQueAImpressoraConfirmou) {
    struct Caso {
        const char* nome;
        int paraNaLinha;          // the walk stops after this row is sent (0: never)
        int64_t descontadas;      // labels a port failure left in doubt at the end
        int64_t atrasoConfirmar;  // labels the port has not confirmed while the walk goes
        const char* situacao;
        std::vector<std::string> esperado;
    } casos[] = {
        {"inteira", 0, 0, 0, kInteira, {"2/2", "3/3", "1/1"}},
        {"cancelada antes da ultima", 2, 0, 0, kCancelada, {"2/2", "3/3", "0/1"}},
        // The port failed with FEIJAO's labels in doubt: ARROZ stays delivered, FEIJAO is not.
        {"falha com duvida", 2, 3, 3, kFalha, {"2/2", "0/3", "0/1"}},
        // Unconfirmed labels still count as taken when nothing failed.
        {"inteira sem confirmacao", 0, 0, 6, kInteira, {"2/2", "3/3", "1/1"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ASSERT_EQ(Comecar(), 6);
        int64_t enviadas = 0;
        Percorrer(
            [&](int linha, int64_t n) {
                enviadas += n;
                conta->Progresso(enviadas);
                return linha != c.paraNaLinha;
            },
            [&] { return std::max<int64_t>(0, enviadas - c.atrasoConfirmar); });
        conta->Fechar(c.situacao, "", enviadas - c.descontadas);
        EXPECT_EQ(Entregues(), c.esperado);
        const TRegistroDiario r = Ultima();
        EXPECT_EQ(r.SITUACAO, c.situacao);
        EXPECT_EQ(r.ENTREGUES, enviadas - c.descontadas);
        EXPECT_TRUE(conta->Aviso().empty()) << conta->Aviso();
    }
}

TEST_F(ContaDiario, ContinuacaoEntregaSoOQueFaltouEFilaMudadaNaoImprime) {
    // Cancelled after the first of FEIJAO's labels.
    Comecar();
    int64_t enviadas = 0;
    Percorrer([&](int linha, int64_t n) { return enviadas += linha == 2 ? 1 : n, linha < 2; },
              [&] { return enviadas; });
    conta->Fechar(kCancelada, "", enviadas);
    ASSERT_EQ(Entregues(), (std::vector<std::string>{"2/2", "1/3", "0/1"}));
    const int64_t cancelada = Ultima().ID;

    // What the cancelled run left: the rest of FEIJAO and SAL, row by row.
    ASSERT_EQ(conta->PrepararContinuacao(), "");
    EXPECT_EQ(Comecar(), 3);
    std::vector<int64_t> porLinha;
    Percorrer([&](int, int64_t n) { return porLinha.push_back(n), true; }, [] { return 0; });
    EXPECT_EQ(porLinha, (std::vector<int64_t>{0, 2, 1}));
    EXPECT_EQ(conta->Registro().CONTINUA, cancelada);
    EXPECT_EQ(conta->Registro().ANTERIORES, 3);
    conta->Fechar(kCancelada, "", 0);

    // Another workstation changed a count: nothing is opened.
    ASSERT_EQ(conta->PrepararContinuacao(), "");
    Executar("update ETIQUETAREAD set QUANTIDADE = 9 where CODIGO = 3");
    conta->Reiniciar();
    try {
        conta->Comecar(conta->AssinaturaDaFila(), true);
        FAIL() << "a fila mudada foi aceita";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("A fila mudou desde a impressão das "), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(": nada foi impresso"), std::string::npos) << e.what();
    }
    EXPECT_EQ(conta->Registro().ID, 0);
}

TEST_F(ContaDiario, LinhaSemMercadoriaFicaDeFora) {
    Comecar();
    int64_t enviadas = 0;
    int linha = 0;
    for (fila->First(); !fila->Eof(); fila->Next()) {
        // SAL's goods are gone: nothing of the row is sent.
        const bool achou = ++linha != 3;
        const int64_t n = conta->AnotarLinha(
            LerLinhaFila(*fila), achou, [&] { return enviadas; }, false);
        if (achou) enviadas += n;
    }
    EXPECT_EQ(conta->TextoFaltas(),
              "1 etiqueta de 1 linha da fila não foi impressa: a mercadoria 3 não existe mais no cadastro");
    conta->Fechar(kIncompleta, conta->TextoFaltas(), enviadas);
    EXPECT_EQ(Entregues(), (std::vector<std::string>{"2/2", "3/3", "0/1"}));

    // The same queue on A4 sheets: the row without goods is not on them.
    conta->Reiniciar();
    conta->Comecar(conta->AssinaturaDaFila(), false);
    linha = 0;
    for (fila->First(); !fila->Eof(); fila->Next())
        conta->AnotarLinha(
            LerLinhaFila(*fila), ++linha != 3, [] { return 0; }, false);
    const auto entregues = conta->Folhas("PDF: ARQUIVO", 26, 6);
    ASSERT_TRUE(entregues.has_value()) << conta->Aviso();
    EXPECT_EQ(*entregues, 5);
    const TRegistroDiario r = Ultima();
    EXPECT_EQ(r.LINGUAGEM, kLinguagemA4);
    EXPECT_EQ(r.SITUACAO, kIncompleta);
    EXPECT_EQ(Entregues(), (std::vector<std::string>{"2/2", "3/3", "0/1"}));
}

}  // namespace
