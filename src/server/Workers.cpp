#include "server/Workers.h"

namespace server {

Workers::Workers(int count, std::size_t mostWaiting) : mostWaiting(mostWaiting) {
    for (int i = 0; i < count; ++i) {
        threads.emplace_back(&Workers::Work, this);
    }
}

Workers::~Workers() {
    {
        std::lock_guard<std::mutex> lock(guard);
        stopping = true;
    }
    wake.notify_all();
    for (auto& thread : threads) {
        thread.join();
    }
}

bool Workers::Submit(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(guard);
        // Each idle thread takes one job at once; beyond those, mostWaiting may queue.
        const std::size_t room = static_cast<std::size_t>(idle) + mostWaiting;
        if (stopping || waiting.size() >= room) {
            return false;
        }
        waiting.push_back(std::move(job));
    }
    wake.notify_one();
    return true;
}

void Workers::Work() {
    std::unique_lock<std::mutex> lock(guard);
    for (;;) {
        ++idle;
        wake.wait(lock, [this] { return stopping || !waiting.empty(); });
        --idle;
        if (waiting.empty()) {
            return;  // stopping, and nothing left to do
        }
        std::function<void()> job = std::move(waiting.front());
        waiting.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace server
