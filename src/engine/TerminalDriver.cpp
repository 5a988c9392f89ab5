#include "engine/TerminalDriver.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {
// SDL 1.2's drivers that draw in the terminal, by the names SDL gives them.
constexpr const char* kTerminalDrivers[] = {"caca", "aalib"};
}  // namespace

namespace {
bool Unset(const char* variable) {
    return variable == nullptr || *variable == '\0';
}
}  // namespace

bool NoDisplayToOpen(const char* asked, const char* x11, const char* wayland) {
    return Unset(asked) && Unset(x11) && Unset(wayland);
}

bool FellBackOnTerminal(const char* asked, const char* chosen) {
    return asked == nullptr &&
           std::any_of(std::begin(kTerminalDrivers), std::end(kTerminalDrivers),
                       [chosen](const char* name) { return std::strcmp(name, chosen) == 0; });
}
