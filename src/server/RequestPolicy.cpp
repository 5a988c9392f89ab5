#include "server/RequestPolicy.h"

#include <cstdlib>

namespace server {
namespace {

constexpr int kBadRequest = 400;
constexpr int kNotFound = 404;
constexpr int kNotAllowed = 405;
constexpr int kTooLarge = 413;
constexpr int kHeadersTooLarge = 431;
constexpr std::size_t kMostLengthDigits = 18;

Ruling Refused(int status, std::string reason, bool close) {
    Ruling ruling;
    ruling.status = status;
    ruling.reason = std::move(reason);
    ruling.close = close;
    return ruling;
}

// A Content-Length beyond most; a malformed one is the library's to refuse.
bool LongerThan(const HttpRequest& request, std::size_t most) {
    const std::string length = request.Header("Content-Length");
    if (length.empty() || length.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    return length.size() > kMostLengthDigits || std::strtoull(length.c_str(), nullptr, 10) > most;
}

}  // namespace

bool HasBody(const HttpRequest& request) {
    const std::string length = request.Header("Content-Length");
    return (!length.empty() && length.find_first_not_of('0') != std::string::npos) ||
           !request.Header("Transfer-Encoding").empty();
}

std::size_t BodyBound(const HttpRequest& request, std::size_t largest) {
    const std::string length = request.Header("Content-Length");
    if (length.empty() || !request.Header("Transfer-Encoding").empty() ||
        LongerThan(request, largest)) {
        return largest;
    }
    return static_cast<std::size_t>(std::strtoull(length.c_str(), nullptr, 10));
}

Ruling Rule(const Router& router, HttpRequest& request, const RequestFacts& facts,
            const PolicyLimits& limits) {
    if (facts.headerBytes > limits.mostHeaderBytes) {
        return Refused(kHeadersTooLarge,
                       "the request's headers are larger than " +
                           std::to_string(limits.mostHeaderBytes) + " bytes in all",
                       true);
    }
    // The library lets a request of HTTP/1.1 without a Host through; no such request is made by
    // anything that speaks it.
    if (facts.http11 && !facts.hasHost) {
        return Refused(kBadRequest, "an HTTP/1.1 request names its Host", true);
    }
    // A body sent where none is read is never read: its connection ends with the answer.
    const bool body = HasBody(request);
    bool known = false;
    const Route* route = router.Find(request.method, request.path, known);
    if (route == nullptr) {
        return known ? Refused(kNotAllowed, "not a method this path takes", body)
                     : Refused(kNotFound, "no such thing here", body);
    }
    if (body && !route->admit) {
        return Refused(kTooLarge, "this request takes no body", true);
    }
    Ruling ruling;
    ruling.route = route;
    request.bodyTooLarge = route->admit && LongerThan(request, limits.largestBody);
    return ruling;
}

}  // namespace server
