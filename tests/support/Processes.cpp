#include "support/Processes.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {
constexpr const char* kSetpriv = "/usr/bin/setpriv";
constexpr int kCannotStart = 127;
constexpr int kSignalled = 128;
}  // namespace

pid_t StartProgram(const std::string& folder, const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) == 0) {
            execv(args[0], args.data());
        }
        _exit(kCannotStart);
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFSIGNALED(status)) {
        return kSignalled + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

int RunProgram(const std::string& folder, const std::vector<std::string>& argv) {
    return WaitForExit(StartProgram(folder, argv));
}

std::vector<std::string> AsNobody(const std::vector<std::string>& argv) {
    if (access(kSetpriv, X_OK) != 0) {
        return {};
    }
    std::vector<std::string> wrapped = {kSetpriv, "--reuid=nobody", "--regid=nogroup",
                                        "--clear-groups"};
    wrapped.insert(wrapped.end(), argv.begin(), argv.end());
    return wrapped;
}
