#pragma once

#include <cstddef>
#include <cstdint>

// The score server's numbers, in one place.
namespace server::limits {
// A whole four-level game is some 12,600 frames, well under 16 KB as a replay: a post four
// times that is no game.
constexpr std::size_t kLargestPost = 64 * 1024;
// An hour of play, pauses and all. Proving holds every other post back, so a game may not
// claim more than this, whatever a replay file may hold.
constexpr std::uint32_t kMostPostedFrames = 50 * 60 * 60;
// One address: a game takes minutes, so ten in a minute is already someone scripting.
constexpr int kDefaultPostsPerMinute = 10;
// Addresses remembered by the rate limit before those with a full allowance are forgotten.
constexpr std::size_t kMostRememberedAddresses = 10000;
// Lines of the table a GET gives: the list screen shows 28, the page offers the rest to watch.
constexpr std::size_t kMostListed = 100;
// Posts proven or waiting to be, at once; beyond this a post is told to come back.
constexpr int kMostProvingPosts = 4;
// Request workers: always more than the posts that may wait for a proof, so reads keep going.
constexpr int kWorkers = 16;
static_assert(kWorkers > 2 * kMostProvingPosts, "a flood of posts must leave workers to read");
// Seconds a client may take to send its request or read the answer.
constexpr int kRequestSeconds = 10;
// What a busy or failing server tells a client to wait before trying again, in seconds.
constexpr int kRetrySeconds = 2;
constexpr int kDefaultPort = 8000;
}  // namespace server::limits
