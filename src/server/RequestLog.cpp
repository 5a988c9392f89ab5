#include "server/RequestLog.h"

#include <cstdio>

#include "server/HttpMessage.h"

namespace server {
namespace {

std::string Printable(const std::string& text) {
    std::string shown;
    for (const unsigned char c : text) {
        if (c <= ' ' || c >= 0x7f || c == '%' || c == '"') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

unsigned long long BodyBytes(const HttpResponse& response) {
    if (response.file) {
        return response.file->Size();
    }
    return response.shared ? response.shared->size() : response.body.size();
}

}  // namespace

std::string RequestLine(const HttpRequest& request, const HttpResponse& response,
                        std::chrono::steady_clock::duration took, const std::string& client) {
    const double milliseconds = std::chrono::duration<double, std::milli>(took).count();
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " %d %llu %.1fms ", response.status, BodyBytes(response),
                  milliseconds);
    return Printable(request.method) + " " + Printable(request.path) + numbers + client;
}

}  // namespace server
