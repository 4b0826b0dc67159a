#pragma once
// A TCP name look-up bounded in time: a name server that does not answer must
// not hold a connect (a printer, the database watch) for the system's
// retries. The caller's clock decides how long: `restaMs` answers the
// milliseconds left, 0 when the time is up.
#include <netdb.h>

#include <functional>
#include <string>

struct TResolucao {
    addrinfo* enderecos = nullptr;  // the caller frees it with freeaddrinfo; null on failure
    int erro = 0;                   // getaddrinfo's code when it failed
    bool esgotado = false;          // the time ran out first
};

TResolucao ResolverComPrazo(const std::string& host, const std::string& porta, const std::function<int()>& restaMs);
