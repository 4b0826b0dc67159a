// The bounded name look-up: an answer when there is one, getaddrinfo's code
// when the name or service is wrong, and nothing to free when the caller's
// time runs out first (the look-up's thread then frees its own answer).
#include <gtest/gtest.h>

#include "common/ResolverNome.h"

namespace {

TEST(ResolverNome, RespondeOuDizPorQueNao) {
    struct Caso {
        const char* host;
        const char* porta;
        bool acha;
    } casos[] = {
        {"127.0.0.1", "9100", true},
        {"localhost", "9100", true},
        {"127.0.0.1", "impressora", false},  // a service must be a number
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.host) + ":" + c.porta);
        const TResolucao r = ResolverComPrazo(c.host, c.porta, [] { return 5000; });
        EXPECT_FALSE(r.esgotado);
        EXPECT_EQ(r.enderecos != nullptr, c.acha);
        EXPECT_EQ(r.erro == 0, c.acha) << gai_strerror(r.erro);
        if (r.enderecos) freeaddrinfo(r.enderecos);
    }
}

TEST(ResolverNome, TempoEsgotadoNaoDeixaNadaParaLiberar) {
    // The caller's clock is up from the start: whatever the look-up's thread
    // does later, the caller has nothing to free; a run under the sanitizers
    // catches the answer freed twice or never.
    for (int i = 0; i < 50; ++i) {
        int consultas = 0;
        const TResolucao r = ResolverComPrazo("localhost", "9100", [&] { return consultas++ == 0 ? 0 : 1; });
        if (r.esgotado) {
            EXPECT_EQ(r.enderecos, nullptr);
        } else {
            ASSERT_NE(r.enderecos, nullptr);  // it answered before the clock was read
            freeaddrinfo(r.enderecos);
        }
    }
}

}  // namespace
