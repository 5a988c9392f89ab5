#pragma once

namespace server {

// The door's one thread waits here: for the library's sockets, a stop from anywhere (a signal
// handler included), or a worker that has made an answer and let its connection go on.
class EventLoop {
  public:
    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    bool Ready() const { return stopSignal >= 0 && wakeSignal >= 0; }
    // From any thread, or a signal handler.
    void Stop();
    void Wake();

    struct Woken {
        bool stop = false;  // told once
        bool wake = false;
    };
    // Waits up to milliseconds for the watched descriptor to be readable, a stop or a wake.
    // False when the wait itself failed.
    bool Wait(int watched, int milliseconds, Woken& woken);

  private:
    int stopSignal = -1;  // eventfds
    int wakeSignal = -1;
    bool stopped = false;
};

}  // namespace server
