#pragma once
// Raw TCP socket: "TCP:host:port", port 9100 when none is given. A stream
// counts as sent once the printer acknowledged all of it.
#include "device/CdbDeviceClass.h"
#include "device/Descritor.h"

class TCdbDeviceTCP : public TCdbDeviceClass {
public:
    using TCdbDeviceClass::TCdbDeviceClass;
    ~TCdbDeviceTCP() override;
    const char* ClassName() const override { return "TCdbDeviceTCP"; }

    int GetMaxBandwidth() override { return banda_.Maximo; }
    void SetMaxBandwidth(int v) override { banda_.Maximo = v; }
    int GetTimeOut() override { return timeOut_; }
    void SetTimeOut(int ms) override { timeOut_ = ms; }
    void Conectar(const std::string& porta, int timeOutMs) override;
    void Desconectar(bool ignorarErros = true) override;
    void EnviaString(const std::string& dados) override;
    std::string LeString(int timeOutMs = 1000, int numBytes = 0, const std::string& terminador = "") override;
    void Limpar() override;

    // "TCP:host:port" into host and port ("9100" when missing).
    static void SepararEndereco(const std::string& porta, std::string& host, std::string& portaIP);
    const std::string& Host() const { return host_; }
    const std::string& PortaIP() const { return portaIP_; }
    bool Conectado() const { return fd_ >= 0; }

    // Sends a question and reads the answer until `fim` came `vezes` times or
    // timeOutMs passed (what came so far; "" when nothing). What the printer
    // said before the question is dropped first. Only the first
    // kRespostaMax bytes are kept; the rest is read and dropped until the
    // deadline, so a printer that never stops talking costs the time-out and
    // no memory.
    std::string Perguntar(const std::string& pergunta, int timeOutMs, char fim, int vezes);

    // Most a print waits at the end for the printer to close its side.
    static constexpr int kDrenagemMs = 500;
    static constexpr size_t kRespostaMax = 4096;
    // Most bytes read and dropped at a time while waiting for the printer.
    static constexpr size_t kDescarteMax = 64 * 1024;
    // The printer's receive buffer assumed when the system does not tell its window.
    static constexpr int64_t kJanelaPadrao = 128 * 1024;

private:
    void Fechar();
    // Returns once the printer acknowledged every byte sent; raises when the
    // connection fails or nothing moves for the time-out.
    void EsperarEntrega();
    void DescartarRecebidos(size_t maximo = kDescarteMax);
    void Encerrar();  // half-close and short drain, never a reset
    // Notes how far the printer acknowledged (`pendente`: bytes not yet
    // acknowledged) and the largest receive window it offered.
    void Observar(int pendente);
    // The port failed: marks which streams may have died in the printer's
    // buffer, then raises.
    [[noreturn]] void FalharEnvio(const Exception& e);
    int64_t SeguroAte() override;
    bool fimRecebido_ = false;
    int erroRecebido_ = 0;
    int64_t confirmados_ = 0;  // position the printer acknowledged up to
    int64_t janela_ = 0;       // largest receive window it offered (0: unknown)
    int fd_ = -1;
    int timeOut_ = 3000;
    std::string host_, portaIP_;
    TLimiteBanda banda_;
};
