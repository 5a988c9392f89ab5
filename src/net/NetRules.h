#pragma once

#include <cstddef>

// The numbers of the game's talk with a shared table, in one place.
namespace net::rules {

// Beside highscore.txt: the games stored but not yet answered for by the table.
constexpr const char* kOutboxFolder = "outbox";
constexpr const char* kOutboxExtension = ".replay";

// A post that could not reach the table is tried again after this many seconds, twice as long
// after each further failure, up to the most.
constexpr int kFirstRetrySeconds = 5;
constexpr int kMostRetrySeconds = 10 * 60;
// A Retry-After beyond this is taken as this.
constexpr int kMostRetryAfterSeconds = kMostRetrySeconds;

// How long one request may take: to connect, and in all (a post is proven before its answer).
constexpr long kConnectSeconds = 10;
constexpr long kPostSeconds = 60;
constexpr long kReadSeconds = 30;

// The most of an answer that is read: the table as lines or rows (a hundred short lines), and a
// replay (as large as a replay file may be).
constexpr std::size_t kLargestTable = 256 * 1024;
constexpr std::size_t kLargestReplay = 1024 * 1024;
// The most rows of the shared table that are kept; the list shows fewer.
constexpr std::size_t kMostRows = 100;
// A reason from the table is shown on one line: anything longer is cut.
constexpr std::size_t kLongestReason = 200;

}  // namespace net::rules
