#pragma once

#include <chrono>
#include <string>

namespace server {

struct HttpRequest;
struct HttpResponse;

// One line a request, as journald keeps it from standard error: method, path, status, bytes of
// the answer's body, milliseconds from the whole header to the answer, and the client:
//   GET /api/scores 200 1432 0.4ms 192.0.2.7
// Whatever of the path could pass for another field or line is written as %XX.
std::string RequestLine(const HttpRequest& request, const HttpResponse& response,
                        std::chrono::steady_clock::duration took, const std::string& client);

}  // namespace server
