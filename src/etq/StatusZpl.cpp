#include "etq/StatusZpl.h"

#include <vector>

#include "device/CdbDevice.h"
#include "device/CdbDeviceTCP.h"

namespace {

std::vector<std::string> Separar(std::string_view s, char c) {
    std::vector<std::string> r;
    size_t i = 0;
    for (size_t j; (j = s.find(c, i)) != std::string_view::npos; i = j + 1) r.emplace_back(s.substr(i, j - i));
    r.emplace_back(s.substr(i));
    return r;
}

// "0" or "1", nothing else.
bool Bandeira(const std::string& campo, bool& valor) {
    if (campo != "0" && campo != "1") return false;
    valor = campo == "1";
    return true;
}

}  // namespace

std::string TStatusZpl::Falha() const {
    std::string r;
    auto juntar = [&](bool se, const char* texto) {
        if (!se) return;
        if (!r.empty()) r += "; ";
        r += texto;
    };
    juntar(semPapel, "Impressora sem papel");
    juntar(semRibbon, "Impressora sem ribbon");
    juntar(cabecaAberta, "Cabeça de impressão aberta");
    juntar(pausa, "Impressora em pausa");
    juntar(bufferCheio, "Memória de recepção da impressora cheia");
    return r;
}

std::optional<TStatusZpl> InterpretarStatusHS(std::string_view resposta) {
    std::vector<std::string> linhas;
    for (size_t i = 0; (i = resposta.find('\x02', i)) != std::string_view::npos;) {
        const size_t fim = resposta.find('\x03', i + 1);
        if (fim == std::string_view::npos) break;
        linhas.emplace_back(resposta.substr(i + 1, fim - i - 1));
        i = fim + 1;
    }
    if (linhas.size() < 2) return std::nullopt;
    const auto a = Separar(linhas[0], ','), b = Separar(linhas[1], ',');
    if (a.size() != 12 || b.size() != 11) return std::nullopt;
    TStatusZpl s;
    if (!Bandeira(a[1], s.semPapel) || !Bandeira(a[2], s.pausa) || !Bandeira(a[5], s.bufferCheio) ||
        !Bandeira(b[2], s.cabecaAberta) || !Bandeira(b[3], s.semRibbon))
        return std::nullopt;
    return s;
}

std::optional<TStatusZpl> ConsultarStatusZpl(TCdbDevice& device, int timeOutMs) {
    if (device.DeviceType() != TCdbDeviceType::dtTCP || !device.Ativo()) return std::nullopt;
    const std::string resposta = device.TCP().Perguntar("~HS", timeOutMs, '\x03', 3);
    return InterpretarStatusHS(resposta);
}
