#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <string>

#include "net/Answers.h"

namespace net {

// One request to the table on a libcurl handle of its own, its answer gathered as it comes:
// the body up to a bound, and the few headers the game reads.
class Transfer {
  public:
    struct Request {
        std::string url;
        std::string body;  // posted as a replay when not empty; a GET otherwise
        std::string ifNoneMatch;
        std::size_t largestAnswer = 0;
        long seconds = 0;  // for the whole request
    };
    explicit Transfer(Request request);
    ~Transfer();
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // Null when libcurl could not make a handle.
    CURL* Handle() const { return easy; }
    // Once done with result: the answer, or false with why the request failed.
    bool Finish(CURLcode result, Answer& answer, std::string& why);

  private:
    static std::size_t TakeBody(char* data, std::size_t size, std::size_t count,
                                void* self) noexcept;
    static std::size_t TakeHeader(char* data, std::size_t size, std::size_t count,
                                  void* self) noexcept;

    Request request;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    Answer answer;
    bool tooLarge = false;
    char error[CURL_ERROR_SIZE] = {};
};

}  // namespace net
