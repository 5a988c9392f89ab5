#include "server/ProvingGate.h"

namespace server {
namespace {
// Lets the next post in however the proof ends.
class Leaving {
  public:
    explicit Leaving(std::atomic<int>& inside) : inside(inside) {}
    ~Leaving() { --inside; }
    Leaving(const Leaving&) = delete;
    Leaving& operator=(const Leaving&) = delete;

  private:
    std::atomic<int>& inside;
};
}  // namespace

std::optional<replay::Verdict> ProvingGate::Prove(const replay::Replay& game) {
    Leaving leaving(inside);
    if (++inside > mostPosts) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> lock(proving);
    return replay::Prove(game);
}

}  // namespace server
