// The hook channel: the caller's functions receive the port and the stream.
#include <gtest/gtest.h>

#include "device/CdbDevice.h"
#include "device/CdbDeviceHook.h"
#include "suporte/Suporte.h"

TEST(CanalHook, FuncoesDoChamadorRecebemPortaConfiguracaoEFluxo) {
    TCdbDevice d;
    std::vector<std::string> chamadas;
    std::string recebido;
    d.HookAtivar = [&](const std::string& porta, const std::string& params) {
        chamadas.push_back("ativar " + porta + " | " + params);
    };
    d.HookDesativar = [&](const std::string& porta) { chamadas.push_back("desativar " + porta); };
    d.HookEnviaString = [&](const std::string& dados) { recebido += dados; };
    d.SetPorta("DLL");
    d.SetBaud(19200);
    d.Ativar();
    d.EnviaString(TodosOsBytes());
    d.EnviaString("fim");
    d.Desativar();
    EXPECT_EQ(recebido, TodosOsBytes() + "fim");
    std::vector<std::string> esperado = {
        "ativar DLL | BAUD=19200 DATA=8 PARITY=N STOP=1 HANDSHAKE= MAXBANDWIDTH=0 SENDBYTESCOUNT=0 "
        "SENDBYTESINTERVAL=0",
        "desativar DLL"};
    EXPECT_EQ(chamadas, esperado);
}

TEST(CanalHook, SemFuncaoDeEnvioAPortaNaoEstaDisponivel) {
    // Nothing could be sent: the print must fail rather than pass for done.
    const std::string msg =
        "A porta DLL não está disponível nesta estação: nenhuma biblioteca de impressão está ligada a ela";
    TCdbDevice d;
    d.HookDesativar = [](const std::string&) {};
    d.SetPorta("DLL");
    EXPECT_EQ(MensagemDe([&] { d.Ativar(); }), msg);
    EXPECT_FALSE(d.Ativo());
    EXPECT_EQ(MensagemDe([&] { d.EnviaString("x"); }), msg);
    EXPECT_NO_THROW(d.Desativar());
}

TEST(CanalHook, ErroAoFecharIgnorado) {
    TCdbDevice d;
    d.HookDesativar = [](const std::string&) { throw std::runtime_error("falhou"); };
    d.HookEnviaString = [](const std::string&) {};
    d.SetPorta("DLL");
    d.Ativar();
    EXPECT_NO_THROW(d.Desativar());
    EXPECT_FALSE(d.Ativo());
}

TEST(CanalHook, LeituraRepeteAteQuantidadeTerminadorOuTempo) {
    TCdbDevice d;
    std::string fonte = "abcdefgh\r\nresto";
    d.HookLeString = [&](int, int) {
        std::string parte = fonte.substr(0, 2);
        fonte.erase(0, 2);
        return parte;
    };
    d.SetPorta("DLL");
    EXPECT_EQ(d.Hook().LeString(1000, 5), "abcdef");
    EXPECT_EQ(d.Hook().LeString(1000, 0, "\r\n"), "gh\r\n");
    EXPECT_EQ(d.Hook().LeString(100, 0, "#"), "resto");  // runs dry: time-out ends it
    EXPECT_EQ(d.Hook().LeString(30, 4), "");
}
