#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace server {

// A fixed set of threads for the work that may take long (reading the table, a replay or a file),
// so that the thread reading the sockets never waits for it. Bounded: when every thread is busy and
// the queue is full, more work is refused at once rather than piled up.
class Workers {
  public:
    Workers(int threads, std::size_t mostWaiting);
    // Lets the work already given finish, then ends the threads.
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // False, and job never runs, when there is no room for it.
    bool Submit(std::function<void()> job);

  private:
    void Work();

    std::size_t mostWaiting;
    std::mutex guard;
    std::condition_variable wake;
    std::deque<std::function<void()>> waiting;
    std::size_t running = 0;
    bool stopping = false;
    std::vector<std::thread> threads;
};

}  // namespace server
