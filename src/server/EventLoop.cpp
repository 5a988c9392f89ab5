#include "server/EventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <initializer_list>

namespace server {
namespace {

void Signal(int eventDescriptor) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(eventDescriptor, &one, sizeof one);
}

void Drain(int eventDescriptor) {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(eventDescriptor, &count, sizeof count);
}

}  // namespace

EventLoop::EventLoop()
    : stopSignal(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      wakeSignal(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventLoop::~EventLoop() {
    for (const int signal : {stopSignal, wakeSignal}) {
        if (signal >= 0) {
            close(signal);
        }
    }
}

void EventLoop::Stop() {
    Signal(stopSignal);
}

void EventLoop::Wake() {
    Signal(wakeSignal);
}

bool EventLoop::Wait(int watched, int milliseconds, Woken& woken) {
    pollfd fds[3] = {
        {watched, POLLIN, 0}, {stopped ? -1 : stopSignal, POLLIN, 0}, {wakeSignal, POLLIN, 0}};
    woken = Woken();
    if (poll(fds, 3, milliseconds) < 0) {
        return errno == EINTR;
    }
    if (fds[1].revents != 0) {
        stopped = true;
        woken.stop = true;
    }
    if (fds[2].revents != 0) {
        Drain(wakeSignal);
        woken.wake = true;
    }
    return true;
}

}  // namespace server
