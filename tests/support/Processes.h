#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts argv[0] with the given arguments in folder and returns its process id.
pid_t StartProgram(const std::string& folder, const std::vector<std::string>& argv);
// Waits for the process: its exit status, or 128 plus the signal that ended it.
int WaitForExit(pid_t pid);
int RunProgram(const std::string& folder, const std::vector<std::string>& argv);
// argv run as the user nobody, without root's groups. Empty when this machine cannot do that.
std::vector<std::string> AsNobody(const std::vector<std::string>& argv);
