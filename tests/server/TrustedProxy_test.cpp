#include "server/TrustedProxy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/HttpMessage.h"
#include "server/ServerOptions.h"

namespace {

server::HttpRequest From(const std::string& peer, const std::string& forwarded) {
    server::HttpRequest request;
    request.peer = peer;
    if (!forwarded.empty()) {
        request.headers.emplace_back("X-Forwarded-For", forwarded);
    }
    return request;
}

TEST(TrustedProxy, OnlyTheNamedProxyNamesThePlayerAndOnlyWithAnAddress) {
    server::ServerOptions options;
    std::vector<const char*> words = {"arcade-scores", "--trust-proxy", "127.0.0.1,::1"};
    std::string error;
    ASSERT_TRUE(
        server::ParseServerOptions(static_cast<int>(words.size()), words.data(), options, error))
        << error;
    const server::TrustedProxy proxy(options.trustProxy);
    // The proxy's own entry is the last one: whatever the player wrote before it is not believed.
    EXPECT_EQ(proxy.ClientOf(From("127.0.0.1", "6.6.6.6, 192.0.2.7")), "192.0.2.7");
    EXPECT_EQ(proxy.ClientOf(From("::ffff:127.0.0.1", " 2001:db8::7 ")), "2001:db8::7");
    EXPECT_EQ(proxy.ClientOf(From("::1", "::ffff:192.0.2.9")), "192.0.2.9");
    // Anyone else may write the header; it counts for nothing.
    EXPECT_EQ(proxy.ClientOf(From("198.51.100.4", "192.0.2.7")), "198.51.100.4");
    // From the proxy, a header that names no address, or none at all, leaves the proxy's own.
    EXPECT_EQ(proxy.ClientOf(From("127.0.0.1", "192.0.2.7, unknown")), "127.0.0.1");
    EXPECT_EQ(proxy.ClientOf(From("127.0.0.1", "")), "127.0.0.1");
    // No proxy named: nobody is.
    EXPECT_EQ(server::TrustedProxy(server::AddressList()).ClientOf(From("127.0.0.1", "192.0.2.7")),
              "127.0.0.1");

    words = {"arcade-scores", "--metrics-from", "10.0.0.1,nowhere"};
    EXPECT_FALSE(
        server::ParseServerOptions(static_cast<int>(words.size()), words.data(), options, error));
    EXPECT_EQ(error,
              "--metrics-from takes addresses separated by commas: \"nowhere\" is not an IPv4 or "
              "IPv6 address");
    words = {"arcade-scores", "--trust-proxy", ""};
    EXPECT_TRUE(
        server::ParseServerOptions(static_cast<int>(words.size()), words.data(), options, error));
    EXPECT_TRUE(options.trustProxy.Empty());
}

}  // namespace
