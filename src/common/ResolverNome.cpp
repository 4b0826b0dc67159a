#include "common/ResolverNome.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the look-up's thread and the caller share; whoever leaves last frees it.
struct TPedido {
    std::string host, porta;
    std::mutex trava;
    std::condition_variable pronto;
    bool terminou = false;
    bool abandonado = false;  // the caller's time ran out: the thread frees the answer
    addrinfo* enderecos = nullptr;
    int erro = 0;
};

}  // namespace

TResolucao ResolverComPrazo(const std::string& host, const std::string& porta, const std::function<int()>& restaMs) {
    // getaddrinfo cannot be cancelled: it runs on a thread of its own, which a
    // caller whose time ran out leaves behind to finish alone. A thread of the
    // program's own, unlike getaddrinfo_a's, so the sanitizers see its work.
    auto pedido = std::make_shared<TPedido>();
    pedido->host = host;
    pedido->porta = porta;
    std::thread([pedido] {
        addrinfo dicas{};
        dicas.ai_family = AF_UNSPEC;
        dicas.ai_socktype = SOCK_STREAM;
        dicas.ai_flags = AI_NUMERICSERV;
        addrinfo* enderecos = nullptr;
        const int erro = getaddrinfo(pedido->host.c_str(), pedido->porta.c_str(), &dicas, &enderecos);
        std::lock_guard<std::mutex> trava(pedido->trava);
        if (pedido->abandonado) {
            if (erro == 0 && enderecos) freeaddrinfo(enderecos);
            return;
        }
        pedido->enderecos = erro == 0 ? enderecos : nullptr;
        pedido->erro = erro;
        pedido->terminou = true;
        pedido->pronto.notify_all();
    }).detach();

    TResolucao r;
    std::unique_lock<std::mutex> trava(pedido->trava);
    while (!pedido->terminou) {
        const int ms = restaMs();
        if (ms <= 0) {
            pedido->abandonado = true;
            r.esgotado = true;
            return r;
        }
        // The loop looks at the caller's clock again, which may not be the wall's.
        pedido->pronto.wait_for(trava, std::chrono::milliseconds(ms));
    }
    r.enderecos = pedido->enderecos;
    r.erro = pedido->erro;
    return r;
}
