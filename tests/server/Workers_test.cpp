// The workers that answer what must not wait on the door's thread: as much work as there are
// threads and queue, from the first moment, and not one job more.
#include "server/Workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

TEST(Workers, TakeAJobForEveryThreadAndQueuePlaceAtOnceThenRefuseUntilOneHasRun) {
    std::mutex guard;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> ran{0};
    const auto job = [&] {
        std::unique_lock<std::mutex> lock(guard);
        opened.wait(lock, [&] { return open; });
        ++ran;
    };
    {
        server::Workers workers(2, 1);
        // Straight after the threads are made, before any of them has looked for work.
        EXPECT_TRUE(workers.Submit(job));
        EXPECT_TRUE(workers.Submit(job));
        EXPECT_TRUE(workers.Submit(job));
        EXPECT_FALSE(workers.Submit(job)) << "two running and one queued fill it";
        {
            std::lock_guard<std::mutex> lock(guard);
            open = true;
        }
        opened.notify_all();
        while (ran < 3) {
            std::this_thread::yield();
        }
        // The count drops as each job ends, just after ran is counted: room comes back soon.
        bool taken = false;
        for (int tries = 0; tries < 100000 && !taken; ++tries) {
            taken = workers.Submit(job);
        }
        EXPECT_TRUE(taken);
    }
    EXPECT_EQ(ran, 4) << "work given is done before the workers end";
}

}  // namespace
