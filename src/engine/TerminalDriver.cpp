#include "engine/TerminalDriver.h"

#include <SDL.h>

#include <cstdlib>
#include <optional>

namespace {
constexpr const char* kDriverVariable = "SDL_VIDEODRIVER";

// A window system, by the variable that names its display and SDL's name for its driver.
struct WindowSystem {
    const char* display;
    const char* driver;
};
// In the order SDL itself tries them.
constexpr WindowSystem kWindowSystems[] = {{"DISPLAY", "x11"}, {"WAYLAND_DISPLAY", "wayland"}};

bool Unset(const char* variable) {
    return variable == nullptr || *variable == '\0';
}

std::optional<std::string> Read(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// SDL reads the driver's name from the environment only as it starts: the name is put there for
// that moment, and what the player had is put back.
bool StartDriver(const char* driver, const std::optional<std::string>& players) {
    setenv(kDriverVariable, driver, 1);
    const bool started = SDL_Init(SDL_INIT_EVERYTHING) != -1;
    if (players.has_value()) {
        setenv(kDriverVariable, players->c_str(), 1);
    } else {
        unsetenv(kDriverVariable);
    }
    return started;
}
}  // namespace

bool NoDisplayToOpen(const char* asked, const char* x11, const char* wayland) {
    return Unset(asked) && Unset(x11) && Unset(wayland);
}

bool StartSdlOnWindow(std::string& why) {
    const std::optional<std::string> asked = Read(kDriverVariable);
    if (asked.has_value() && !asked->empty()) {
        if (SDL_Init(SDL_INIT_EVERYTHING) != -1) {
            return true;
        }
        why = std::string("SDL_Init failed: ") + SDL_GetError();
        return false;
    }
    std::string tried;
    std::string reason;
    for (const WindowSystem& system : kWindowSystems) {
        const char* display = std::getenv(system.display);
        if (Unset(display)) {
            continue;
        }
        if (StartDriver(system.driver, asked)) {
            return true;
        }
        reason = SDL_GetError();
        SDL_Quit();
        tried += (tried.empty() ? "" : " or ") + std::string(display);
    }
    const std::string remedy =
        "start the game in a desktop session, or name a driver in " + std::string(kDriverVariable);
    why = tried.empty() ? "no display to open the window on: " + remedy
                        : "no window could be opened on display " + tried + " (SDL: " + reason +
                              "): " + remedy;
    return false;
}
