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
    // said before the question is dropped first.
    std::string Perguntar(const std::string& pergunta, int timeOutMs, char fim, int vezes);

    // Most a print waits at the end for the printer to close its side.
    static constexpr int kDrenagemMs = 500;

private:
    void Fechar();
    // Returns once the printer acknowledged every byte sent; raises when the
    // connection fails or nothing moves for the time-out.
    void EsperarEntrega();
    void DescartarRecebidos();
    void Encerrar();  // half-close and short drain, never a reset
    bool fimRecebido_ = false;
    int erroRecebido_ = 0;
    int fd_ = -1;
    int timeOut_ = 3000;
    std::string host_, portaIP_;
    TLimiteBanda banda_;
};
