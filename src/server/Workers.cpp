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
        // Every thread may hold one job, and mostWaiting more may queue; a job counts from
        // when it is given until it has run.
        const std::size_t room = threads.size() + mostWaiting;
        if (stopping || running + waiting.size() >= room) {
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
        wake.wait(lock, [this] { return stopping || !waiting.empty(); });
        if (waiting.empty()) {
            return;  // stopping, and nothing left to do
        }
        std::function<void()> job = std::move(waiting.front());
        waiting.pop_front();
        ++running;
        lock.unlock();
        job();
        lock.lock();
        --running;
    }
}

}  // namespace server
