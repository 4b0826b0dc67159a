#include "device/CdbDeviceClass.h"

#include <algorithm>
#include <chrono>
#include <thread>

void TEntregasRecentes::Reiniciar() {
    fins_.clear();
    posicao_ = 0;
    naoConfirmados_ = 0;
    falhou_ = false;
}

void TEntregasRecentes::Entregue() {
    falhou_ = false;
    fins_.push_back(posicao_);
    // Enough for any receive buffer a printer has, at a few bytes a label.
    if (fins_.size() > 65536) fins_.pop_front();
}

int TEntregasRecentes::Incertos(int64_t seguroAte) const {
    int n = 0;
    for (auto i = fins_.rbegin(); i != fins_.rend() && *i > seguroAte; ++i) ++n;
    return std::max(n, fins_.empty() ? 0 : 1);
}

void TEntregasRecentes::Falhou(int64_t seguroAte) {
    naoConfirmados_ = Incertos(seguroAte);
    falhou_ = true;
}

int TCdbDeviceClass::EnviosNaoConfirmados() {
    return entregas_.Falhado() ? entregas_.NaoConfirmados() : entregas_.Incertos(SeguroAte());
}

TCdbDeviceClass::TCdbDeviceClass(TCdbDevice* dono) : dono_(dono) {
    if (!dono_) throw Exception("Dono de TCdbDeviceClass deve ser TCdbDevice");
}

TCdbDeviceClass::~TCdbDeviceClass() = default;

void TCdbDeviceClass::GravarLog(const std::string& linha, bool traduzir) { dono_->GravarLog(linha, traduzir); }

void TCdbDeviceClass::Conectar(const std::string& porta, int timeOutMs) {
    GravarLog(std::string("   ") + ClassName() + ".Conectar(" + porta + ", " + std::to_string(timeOutMs) + ")");
    porta_ = porta;
}

void TCdbDeviceClass::Desconectar(bool ignorarErros) {
    GravarLog(std::string("   ") + ClassName() + ".Desconectar(" + (ignorarErros ? "True" : "False") + ")");
}

void TCdbDeviceClass::EnviaString(const std::string&) {}

void TCdbDeviceClass::EnviaByte(uint8_t b) { EnviaString(std::string(1, static_cast<char>(b))); }

std::string TCdbDeviceClass::LeString(int, int, const std::string&) { return {}; }

uint8_t TCdbDeviceClass::LeByte(int timeOutMs) {
    std::string s = LeString(timeOutMs, 1);
    return s.empty() ? 0 : static_cast<uint8_t>(s[0]);
}

void TCdbDeviceClass::Limpar() {
    // A device that never stops talking must not keep us here for ever.
    for (int i = 0; i < 50; ++i)
        if (LeString(100).empty()) break;
}

void TCdbDeviceClass::EnviarEmPartes(const std::string& dados,
                                     const std::function<void(const char*, size_t)>& escrever) {
    const size_t total = dados.size();
    const int porVez = dono_->SendBytesCount();
    const size_t tamanho = porVez > 0 ? static_cast<size_t>(porVez) : std::max<size_t>(total, 1);
    const int pausa = dono_->SendBytesInterval();
    for (size_t pos = 0; pos < total; pos += tamanho) {
        const size_t n = std::min(tamanho, total - pos);
        GravarLog("  BytesToSend:" + std::to_string(n));
        escrever(dados.data() + pos, n);
        if (pausa > 0) {
            GravarLog("  Sleep(" + std::to_string(pausa) + ")");
            std::this_thread::sleep_for(std::chrono::milliseconds(pausa));
        }
    }
}
