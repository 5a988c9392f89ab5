#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace server {

// One request as the routes see it: read whole before a route answers, whatever the socket
// layer underneath.
struct HttpRequest {
    std::string method;
    std::string path;  // decoded, without the query
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string peer;  // the address of the socket's other end
    // The player's address, where a trusted proxy in front names it; the peer's otherwise.
    std::string client;
    // The headers promised a body larger than the route takes: it is never read.
    bool bodyTooLarge = false;

    // The first header of that name (names compare without case); empty when there is none.
    std::string Header(const std::string& name) const;
};

// A file's bytes sent straight from its descriptor, which the answer owns.
class FileBody {
  public:
    FileBody(int descriptor, std::uint64_t offset, std::uint64_t size)
        : descriptor(descriptor), offset(offset), size(size) {}
    ~FileBody();
    FileBody(const FileBody&) = delete;
    FileBody& operator=(const FileBody&) = delete;

    // Hands the descriptor over to whoever sends it; -1 afterwards.
    int Release() { return std::exchange(descriptor, -1); }
    int Descriptor() const { return descriptor; }
    std::uint64_t Offset() const { return offset; }
    std::uint64_t Size() const { return size; }

  private:
    int descriptor;
    std::uint64_t offset;
    std::uint64_t size;
};

// What became of a request, beside its status, as the host's figures count it.
struct Outcome {
    std::string refusal;                 // why it was turned away, in a word; empty when it was not
    bool proven = false;                 // a posted game proven
    std::optional<double> proofSeconds;  // from its proof asked to its verdict
};

struct HttpResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::unique_ptr<FileBody> file;  // sent instead of body when set
    // Sent instead of body when set: bytes many answers share, held until the last is sent.
    std::shared_ptr<const std::string> shared;
    Outcome outcome;

    void SetHeader(const std::string& name, const std::string& value);
    void SetContent(std::string content, const std::string& type);
};

}  // namespace server
