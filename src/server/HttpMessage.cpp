#include "server/HttpMessage.h"

#include <strings.h>
#include <unistd.h>

namespace server {

std::string HttpRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (strcasecmp(key.c_str(), name.c_str()) == 0) {
            return value;
        }
    }
    return std::string();
}

FileBody::~FileBody() {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

void HttpResponse::SetHeader(const std::string& name, const std::string& value) {
    for (auto& [key, old] : headers) {
        if (strcasecmp(key.c_str(), name.c_str()) == 0) {
            old = value;
            return;
        }
    }
    headers.emplace_back(name, value);
}

void HttpResponse::SetContent(std::string content, const std::string& type) {
    body = std::move(content);
    file.reset();
    shared.reset();
    SetHeader("Content-Type", type);
}

}  // namespace server
