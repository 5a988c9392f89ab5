// The door's parts that decide, apart from any socket: deadlines on a clock turned by hand, the
// request policy, and what one client may hold.
#include <gtest/gtest.h>

#include <string>

#include "server/ConnectionLimit.h"
#include "server/Deadlines.h"
#include "server/RequestPolicy.h"
#include "server/Router.h"

namespace {

using server::Deadlines;
using std::chrono::seconds;

TEST(Deadlines, AHeaderAndABodyEachHaveTheirTimeAndAnAnswerMadeOrSentOwesNone) {
    Deadlines deadlines(seconds(10));
    const auto start = Deadlines::Time() + seconds(1000);
    deadlines.Opened(1, start);
    deadlines.Opened(2, start);
    EXPECT_TRUE(deadlines.Overdue(start + seconds(9)).empty());
    deadlines.HeaderIn(1, start + seconds(9));  // its body has ten more
    EXPECT_EQ(deadlines.Overdue(start + seconds(10)), std::vector<int>{2}) << "at 10 s, not after";
    EXPECT_TRUE(deadlines.Overdue(start + seconds(11)).empty()) << "each told once";
    EXPECT_EQ(deadlines.Overdue(start + seconds(19)), std::vector<int>{1});

    // A kept connection: its answer queued, sent however slowly, then a second request.
    deadlines.Opened(3, start);
    deadlines.HeaderIn(3, start + seconds(1));
    deadlines.Owes(3);  // made on a worker
    deadlines.Answered(3);
    EXPECT_TRUE(deadlines.Overdue(start + seconds(60)).empty()) << "the answer's pace is its own";
    deadlines.Finished(3, start + seconds(60));
    EXPECT_TRUE(deadlines.Overdue(start + seconds(69)).empty());
    EXPECT_EQ(deadlines.Overdue(start + seconds(70)), std::vector<int>{3})
        << "the second request has its own ten seconds";
    deadlines.Closed(3);
    deadlines.Finished(3, start + seconds(70));  // a late word of a closed one keeps nothing
    EXPECT_EQ(deadlines.Open(), 2u);
}

TEST(Deadlines, TheIdlestBetweenRequestsComeFirstAndABusyConnectionIsNeverIdle) {
    Deadlines deadlines(seconds(10));
    const auto start = Deadlines::Time() + seconds(1000);
    for (int socket = 1; socket <= 4; ++socket) {
        deadlines.Opened(socket, start + seconds(socket));
    }
    deadlines.HeaderIn(1, start + seconds(5));  // asking: not idle
    deadlines.Finished(2, start + seconds(6));  // answered since: idle from then
    EXPECT_EQ(deadlines.Idlest(2), (std::vector<int>{3, 4}));
    EXPECT_EQ(deadlines.Idlest(10), (std::vector<int>{3, 4, 2}));
}

TEST(RequestPolicy, HeadersUpToTheLimitPassAndABodyIsReadOnlyWhereARouteTakesOne) {
    server::Router router;
    const auto nothing = [](const server::HttpRequest&, server::HttpResponse&) {};
    router.Add("GET", "/api/scores", false, nothing, server::Route::Runs::kReading);
    server::Route post;
    post.method = "POST";
    post.path = "/api/scores";
    post.admit = [](const server::HttpRequest&, server::HttpResponse&) { return true; };
    router.Add(post);
    const server::PolicyLimits limits{16384, 65536};
    const auto rule = [&](const char* method, const char* path, std::size_t headerBytes,
                          const char* length, bool host = true) {
        server::HttpRequest request;
        request.method = method;
        request.path = path;
        if (*length != '\0') {
            request.headers.emplace_back("Content-Length", length);
        }
        return server::Rule(router, request, {headerBytes, true, host}, limits);
    };
    EXPECT_EQ(rule("GET", "/api/scores", 16384, "").status, 0) << "exactly the limit";
    const auto large = rule("GET", "/api/scores", 16385, "");
    EXPECT_EQ(large.status, 431);
    EXPECT_TRUE(large.close);
    EXPECT_EQ(rule("GET", "/api/scores", 100, "", false).status, 400) << "HTTP/1.1 names its Host";
    EXPECT_EQ(rule("GET", "/api/scores", 100, "0").status, 0) << "an empty body is none";
    const auto body = rule("GET", "/api/scores", 100, "65535");
    EXPECT_EQ(body.status, 413) << "no GET reads a body";
    EXPECT_TRUE(body.close);
    EXPECT_EQ(rule("PUT", "/api/scores", 100, "").status, 405);
    EXPECT_EQ(rule("GET", "/nowhere", 100, "").status, 404);
    EXPECT_TRUE(rule("GET", "/nowhere", 100, "5").close) << "its body is never read";
    const auto posted = rule("POST", "/api/scores", 100, "65536");
    EXPECT_EQ(posted.status, 0);
    EXPECT_EQ(posted.route->method, "POST");

    server::HttpRequest chunked;
    chunked.headers.emplace_back("Transfer-Encoding", "chunked");
    EXPECT_TRUE(server::HasBody(chunked));
    EXPECT_EQ(server::BodyBound(chunked, 65536), 65536u) << "as large as any may be";
    server::BodyBudget budget(100000);
    EXPECT_TRUE(budget.Take(65536));
    EXPECT_FALSE(budget.Take(65536)) << "past the budget";
    budget.Give(65536);
    EXPECT_TRUE(budget.Take(100000));
}

TEST(ConnectionLimit, AnIPv6HostCountsByItsSlash64AndATrustedProxyIsNeverCounted) {
    server::ConnectionLimit limit(2, server::AddressList::Of("127.0.0.1"));
    limit.Opened("2001:db8:1:2::1");
    limit.Opened("2001:db8:1:2:ffff::9");
    EXPECT_FALSE(limit.Admits("2001:db8:1:2::77")) << "the same /64";
    EXPECT_TRUE(limit.Admits("2001:db8:1:3::1"));
    limit.Closed("2001:db8:1:2::1");
    EXPECT_TRUE(limit.Admits("2001:db8:1:2::77"));
    limit.Opened("192.0.2.7");
    limit.Opened("192.0.2.7");
    EXPECT_FALSE(limit.Admits("192.0.2.7"));
    EXPECT_TRUE(limit.Admits("192.0.2.8"));
    for (int i = 0; i < 1000; ++i) {
        limit.Opened("127.0.0.1");
    }
    EXPECT_TRUE(limit.Admits("127.0.0.1")) << "the proxy speaks for every player";
    EXPECT_TRUE(limit.Admits("::ffff:127.0.0.1")) << "however its address is written";
}

}  // namespace
