#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace server {

// The database connections of one store, each lent to one thread at a time: at most `most` open,
// opened as they are first needed; a thread that finds them all lent waits for one.
template <typename Connection, typename Close = std::default_delete<Connection>>
class ConnectionPool {
  public:
    using Lent = std::unique_ptr<Connection, Close>;

    explicit ConnectionPool(std::size_t most) : most(most > 0 ? most : 1) {}

    // An idle connection, else a new one from open() (which may throw, or give none).
    template <typename Open>
    Lent Borrow(Open open) {
        std::unique_lock<std::mutex> lock(mutex);
        freed.wait(lock, [this] { return !idle.empty() || opened < most; });
        if (!idle.empty()) {
            Lent connection = std::move(idle.back());
            idle.pop_back();
            return connection;
        }
        ++opened;
        lock.unlock();
        Lent made;
        try {
            made = open();
        } catch (...) {
            Forget(1);
            throw;
        }
        if (!made) {
            Forget(1);
        }
        return made;
    }

    void GiveBack(Lent connection) {
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back(std::move(connection));
        freed.notify_one();
    }

    // Closes the idle connections, and counts a lent one (broken) as closed too: one dropped
    // connection mostly means the database went away and came back, and the idle ones are just
    // as dead.
    void ForgetAll(Lent broken) {
        std::vector<Lent> dead;
        {
            std::lock_guard<std::mutex> lock(mutex);
            dead.swap(idle);
            opened -= dead.size() + (broken ? 1 : 0);
            freed.notify_all();
        }
    }

  private:
    void Forget(std::size_t count) {
        std::lock_guard<std::mutex> lock(mutex);
        opened -= count;
        freed.notify_one();
    }

    const std::size_t most;
    std::mutex mutex;
    std::condition_variable freed;
    std::vector<Lent> idle;
    std::size_t opened = 0;  // idle and lent out
};

}  // namespace server
