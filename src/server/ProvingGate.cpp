#include "server/ProvingGate.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <exception>
#include <future>
#include <utility>

namespace server {

ProvingGate::ProvingGate(int mostPosts, unsigned workerCount) : mostPosts(mostPosts) {
    if (workerCount == 0) {
        workerCount = std::max(1u, std::thread::hardware_concurrency());
    }
    // The workers take no signals: a server waits for its stop signal on a thread of its own, and
    // one sent to a worker would end the process at once. They inherit the mask they start with.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    workers.reserve(workerCount);
    for (unsigned i = 0; i < workerCount; ++i) {
        workers.emplace_back([this] { Work(); });
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

ProvingGate::~ProvingGate() {
    {
        std::lock_guard<std::mutex> held(lock);
        closing = true;
    }
    waiting.notify_all();
    for (std::thread& worker : workers) {
        worker.join();
    }
}

bool ProvingGate::Submit(replay::Replay game, Done done) {
    {
        std::lock_guard<std::mutex> held(lock);
        if (closing || inside >= mostPosts) {
            return false;
        }
        ++inside;
        queue.push_back({std::move(game), std::move(done)});
    }
    waiting.notify_one();
    return true;
}

std::optional<replay::Verdict> ProvingGate::Prove(const replay::Replay& game) {
    auto promise = std::make_shared<std::promise<replay::Verdict>>();
    std::future<replay::Verdict> verdict = promise->get_future();
    if (!Submit(game, [promise](const replay::Verdict& made) { promise->set_value(made); })) {
        return std::nullopt;
    }
    return verdict.get();
}

void ProvingGate::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> held(lock);
            waiting.wait(held, [this] { return closing || !queue.empty(); });
            if (queue.empty()) {
                return;
            }
            job = std::move(queue.front());
            queue.pop_front();
        }
        replay::Verdict verdict;
        try {
            verdict = replay::Prove(job.game);
        } catch (const std::exception& error) {
            verdict.proven = false;
            verdict.why = std::string("could not be proven here (") + error.what() + ")";
        }
        {
            // Out before the call: a caller answered may hand in its next game at once.
            std::lock_guard<std::mutex> held(lock);
            --inside;
        }
        job.done(verdict);
    }
}

}  // namespace server
