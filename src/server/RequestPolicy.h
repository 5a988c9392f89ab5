#pragma once

#include <cstddef>
#include <string>

#include "server/HttpMessage.h"
#include "server/Router.h"

namespace server {

// What the door knows of a request once its header is in, beside the request itself.
struct RequestFacts {
    std::size_t headerBytes = 0;  // of all its header lines, as sent
    bool http11 = true;
    bool hasHost = true;
};

struct PolicyLimits {
    std::size_t mostHeaderBytes = 16 * 1024;
    std::size_t largestBody = 64 * 1024;
};

// The door's word on a request whose header is in, before a route sees it: a refusal (status
// set, and whether its connection ends with it), or the route that takes it.
struct Ruling {
    int status = 0;  // 0: the route goes on
    std::string reason;
    bool close = false;
    const Route* route = nullptr;
};

// Decides from the header alone, touching nothing else; marks a body promised larger than any
// route takes (request.bodyTooLarge), for the route to refuse in its own words.
Ruling Rule(const Router& router, HttpRequest& request, const RequestFacts& facts,
            const PolicyLimits& limits);

// A body follows the header.
bool HasBody(const HttpRequest& request);
// The most bytes of body the request may bring: its length, or the largest taken when it is sent
// in chunks.
std::size_t BodyBound(const HttpRequest& request, std::size_t largest);

// The bytes of request bodies held at once, from every connection: one budget, well under what
// the server may use, so that no crowd of bodies can take its memory. On the door's thread only.
class BodyBudget {
  public:
    explicit BodyBudget(std::size_t most) : most(most) {}
    bool Take(std::size_t bytes) {
        if (bytes > most - held) {
            return false;
        }
        held += bytes;
        return true;
    }
    void Give(std::size_t bytes) { held -= bytes; }
    std::size_t Held() const { return held; }

  private:
    std::size_t most;
    std::size_t held = 0;
};

}  // namespace server
