// Where a database lives: a local file for the embedded engine, or a server
// and its port (number, service name or the client's own setting).
#include <netdb.h>

#include <algorithm>

#include "data/fb/FbInterno.h"

namespace fb {

namespace {

// The port number of a TCP service name ("gds_db"), from the system's table;
// empty when the name is unknown. getservbyname's static result is not safe
// with threads.
std::string PortaDoServico(const char* nome) {
    servent resultado{};
    servent* achado = nullptr;
    std::vector<char> buf(1024);
    while (getservbyname_r(nome, "tcp", &resultado, buf.data(), buf.size(), &achado) == ERANGE && buf.size() < 65536)
        buf.resize(buf.size() * 2);
    return achado ? std::to_string(ntohs(static_cast<uint16_t>(achado->s_port))) : std::string();
}

std::string PortaPadrao() {
    // The client's own setting, as the client itself will use it.
    std::string porta = "3050";
    IFirebirdConf* conf = Mestre()->getConfigManager()->getFirebirdConf();
    if (!conf) return porta;
    int64_t n = conf->asInteger(conf->getKey("RemoteServicePort"));
    if (n > 0 && n < 65536) {
        porta = std::to_string(n);
    } else {
        const char* nome = conf->asString(conf->getKey("RemoteServiceName"));
        std::string doServico = PortaDoServico(nome && *nome ? nome : "gds_db");
        if (!doServico.empty()) porta = doServico;
    }
    conf->release();
    return porta;
}

}  // namespace

std::optional<TEndereco> EnderecoDoServidor(std::string_view c) {
    std::string_view hostPorta;
    char separador = '/';
    auto proto = c.find("://");
    if (proto != std::string_view::npos) {
        std::string esquema = Minusc(c.substr(0, proto));
        if (esquema != "inet" && esquema != "inet4" && esquema != "inet6") return std::nullopt;
        std::string_view resto = c.substr(proto + 3);
        hostPorta = resto.substr(0, resto.find('/'));
        separador = ':';
    } else {
        if (TDatabase::EhCaminhoLocal(c) || c.rfind("\\\\", 0) == 0) return std::nullopt;
        size_t fimHost = 0;
        if (!c.empty() && c[0] == '[') fimHost = c.find(']');
        if (fimHost == std::string_view::npos) return std::nullopt;
        auto dois = c.find(':', fimHost);
        if (dois == std::string_view::npos) return std::nullopt;
        hostPorta = c.substr(0, dois);
    }
    TEndereco e;
    size_t fimHost = 0;
    if (!hostPorta.empty() && hostPorta[0] == '[') {
        fimHost = hostPorta.find(']');
        if (fimHost == std::string_view::npos) return std::nullopt;
        e.host = std::string(hostPorta.substr(1, fimHost - 1));
        ++fimHost;
    } else {
        fimHost = hostPorta.find(separador);
        e.host = std::string(hostPorta.substr(0, fimHost));
    }
    if (fimHost < hostPorta.size() && hostPorta[fimHost] == separador)
        e.porta = std::string(hostPorta.substr(fimHost + 1));
    if (e.host.empty()) return std::nullopt;
    if (e.porta.empty()) e.porta = PortaPadrao();
    if (!std::all_of(e.porta.begin(), e.porta.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        e.porta = PortaDoServico(e.porta.c_str());
        if (e.porta.empty()) return std::nullopt;  // the client will say what is wrong with it
    }
    return e;
}

bool TDatabase::EhCaminhoLocal(std::string_view c) {
    if (c.empty() || c[0] == '/' || c[0] == '.') return true;  // a colon further on is part of a file name
    if (c.rfind("\\\\", 0) == 0) return false;                 // \\server\path
    auto dois = c.find(':');
    if (dois == std::string_view::npos) return true;
    // "C:\..." is a drive letter, not a host
    return dois == 1 && std::isalpha(static_cast<unsigned char>(c[0]));
}

}  // namespace fb
