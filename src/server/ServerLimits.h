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
// The frames one post of the allowance pays for: five minutes of play, more than a whole
// four-level game (12,627 frames in the kept 223-point one). A longer replay is charged a post
// more for each further five minutes, so that an address's allowance never buys more proving
// than as many real games, however long the replays it sends.
constexpr std::uint32_t kFramesAPostPaysFor = 50 * 60 * 5;
// Addresses remembered by the rate limit before those with a full allowance are forgotten.
constexpr std::size_t kMostRememberedAddresses = 10000;
// Lines of the table a GET gives: the list screen shows 28, the page offers the rest to watch.
constexpr std::size_t kMostListed = 100;
// Posts proven or waiting to be, at once; beyond this a post is told to come back.
constexpr int kMostProvingPosts = 4;
// Threads that read the table for the clients, off the thread that reads the sockets.
constexpr int kReadingWorkers = 2;
// Connections to the store, one for each worker so that none waits for another: PostgreSQL's,
// and SQLite's for reading (it writes on one of its own).
constexpr int kStoreConnections = kMostProvingPosts + kReadingWorkers;
// Connections open at once, from everyone and from one address; each holds at most
// kConnectionMemory while its request is read, whatever it sends.
constexpr int kDefaultConnections = 4096;
constexpr int kDefaultConnectionsPerAddress = 32;
constexpr std::size_t kConnectionMemory = 32 * 1024;
// The bytes of posted bodies read and held at once, from everyone: a crowd holding bodies half
// sent takes no more than this (the service may use 256 MB in all); past it a post is told to
// come back shortly. 256 posts of the largest size, far more than can be proven at once.
constexpr std::size_t kHeldBodyBytes = 16 * 1024 * 1024;
// Of one request's headers, in all (a browser sends about 1 KB).
constexpr std::size_t kMostHeaderBytes = 16 * 1024;
// Seconds a client may take to send a whole request header, and again a whole body.
constexpr int kRequestSeconds = 10;
// Seconds of silence before a connection is closed: kept open between requests, or within one.
constexpr int kIdleSeconds = 5;
// What a busy or failing server tells a client to wait before trying again, in seconds.
constexpr int kRetrySeconds = 2;
constexpr int kDefaultPort = 8000;
}  // namespace server::limits
