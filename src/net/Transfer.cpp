#include "net/Transfer.h"

#include <strings.h>

#include <utility>

#include "net/NetRules.h"
#include "replay/Recorder.h"

namespace net {
namespace {
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The value of a "Name: value" header line when it is the header named; nothing otherwise.
bool HeaderValue(const std::string& line, const char* name, std::string& value) {
    const std::size_t length = std::char_traits<char>::length(name);
    if (line.size() <= length || line[length] != ':' ||
        strncasecmp(line.c_str(), name, length) != 0) {
        return false;
    }
    value = Trimmed(line.substr(length + 1));
    return true;
}
}  // namespace

Transfer::Transfer(Request request) : request(std::move(request)), easy(curl_easy_init()) {
    if (easy == nullptr) {
        return;
    }
    const Request& asked = this->request;
    curl_easy_setopt(easy, CURLOPT_URL, asked.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    // The worker is a thread of its own: no signals, and no wait for a name lookup still under
    // way when the game ends.
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, rules::kConnectSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, asked.seconds);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, error);
    const std::string agent = std::string("arcade-game/") + replay::GameVersion();
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    if (!asked.body.empty()) {
        headers = curl_slist_append(headers, "Content-Type: application/octet-stream");
        // Sent at once: a table that never says "go on" would otherwise cost a second a post.
        headers = curl_slist_append(headers, "Expect:");
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, asked.body.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(asked.body.size()));
    }
    if (!asked.ifNoneMatch.empty()) {
        headers = curl_slist_append(headers, ("If-None-Match: " + asked.ifNoneMatch).c_str());
    }
    if (headers != nullptr) {
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    }
}

Transfer::~Transfer() {
    if (easy != nullptr) {
        curl_easy_cleanup(easy);
    }
    curl_slist_free_all(headers);
}

bool Transfer::Finish(CURLcode result, Answer& taken, std::string& why) {
    if (tooLarge) {
        why = "its answer is far larger than it should be";
        return false;
    }
    if (result != CURLE_OK) {
        why = error[0] != '\0' ? error : curl_easy_strerror(result);
        return false;
    }
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &answer.status);
    taken = std::move(answer);
    return true;
}

std::size_t Transfer::TakeBody(char* data, std::size_t size, std::size_t count,
                               void* self) noexcept {
    auto& transfer = *static_cast<Transfer*>(self);
    const std::size_t bytes = size * count;
    try {
        if (transfer.answer.body.size() + bytes > transfer.request.largestAnswer) {
            transfer.tooLarge = true;
            return 0;  // ends the transfer
        }
        transfer.answer.body.append(data, bytes);
        return bytes;
    } catch (...) {
        return 0;
    }
}

std::size_t Transfer::TakeHeader(char* data, std::size_t size, std::size_t count,
                                 void* self) noexcept {
    auto& transfer = *static_cast<Transfer*>(self);
    const std::size_t bytes = size * count;
    try {
        const std::string line(data, bytes);
        Answer& answer = transfer.answer;
        // An interim answer's headers are not the final one's.
        if (line.compare(0, 5, "HTTP/") == 0) {
            answer = Answer();
        }
        HeaderValue(line, "Retry-After", answer.retryAfter) ||
            HeaderValue(line, "Game-Version", answer.gameVersion) ||
            HeaderValue(line, "Table-Lines", answer.tableLines) ||
            HeaderValue(line, "ETag", answer.etag);
        return bytes;
    } catch (...) {
        return 0;
    }
}

}  // namespace net
