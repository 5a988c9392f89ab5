#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/FileCalls.h"

// The system calls that put a file in place for good, each logged as it is made ("create",
// "write", "sync", "close", "rename", "sync folder"; a call on a descriptor other than the new
// file's is logged with " elsewhere"), and the one named in failing made to fail with EIO.
class WatchedCalls : public storage::FileCalls {
  public:
    std::vector<std::string> log;
    std::string failing;
    std::string temporary;  // the new file's name, once made
    std::string renamedTo;
    // Called just before the rename, while the old file still stands.
    std::function<void()> beforeRename;
    // What a signal and a slow disk do to writes of the new file: so many of them interrupted
    // (EINTR) before they write a byte, and at most so many bytes taken by one.
    int interrupted = 0;
    std::size_t mostPerWrite = SIZE_MAX;

    int MakeTemporary(char* pattern) override {
        if (Logged("create")) {
            return -1;
        }
        fd = storage::FileCalls::MakeTemporary(pattern);
        temporary = pattern;
        return fd;
    }
    ssize_t Write(int onto, const char* data, std::size_t size) override {
        if (Logged("write", onto)) {
            return -1;
        }
        if (onto == fd && interrupted > 0) {
            --interrupted;
            errno = EINTR;
            return -1;
        }
        return storage::FileCalls::Write(onto, data,
                                         onto == fd ? std::min(size, mostPerWrite) : size);
    }
    int Sync(int onto) override {
        return Logged("sync", onto) ? -1 : storage::FileCalls::Sync(onto);
    }
    int Close(int onto) override {
        // A close that fails has closed all the same.
        const int closed = storage::FileCalls::Close(onto);
        return Logged("close", onto) ? -1 : closed;
    }
    int Rename(const char* from, const char* to) override {
        if (beforeRename) {
            beforeRename();
        }
        if (Logged(from == temporary ? "rename" : "rename elsewhere")) {
            return -1;
        }
        renamedTo = to;
        return storage::FileCalls::Rename(from, to);
    }
    int SyncFolder(const char* folder) override {
        return Logged("sync folder") ? -1 : storage::FileCalls::SyncFolder(folder);
    }

  private:
    // Logs the call; true when it is the one to fail.
    bool Logged(const std::string& call, int onto) {
        return Logged(onto == fd ? call : call + " elsewhere");
    }
    bool Logged(const std::string& call) {
        log.push_back(call);
        if (call == failing) {
            errno = EIO;
            return true;
        }
        return false;
    }

    int fd = -1;
};
