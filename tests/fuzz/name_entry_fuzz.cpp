// Any sequence of key presses while a name is typed: the name never grows past its limit, holds
// only letters, digits and spaces, and never begins with a space.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstddef>
#include <memory>
#include <string>

#include "FuzzFolder.h"
#include "engine/GameEngine.h"
#include "engine/GameState.h"
#include "scores/LongestName.h"
#include "support/Frames.h"

namespace {
constexpr std::size_t kBytesPerKey = 3;
// Keys that mean something to name entry or to the screens behind it; any other byte is a key
// code of its own.
constexpr SDLKey kKeys[] = {SDLK_RETURN, SDLK_BACKSPACE, SDLK_SPACE, SDLK_ESCAPE, SDLK_TAB,
                            SDLK_DELETE, SDLK_LEFT,      SDLK_RIGHT, SDLK_a,      SDLK_KP_ENTER};
constexpr std::size_t kNamedKeys = sizeof kKeys / sizeof kKeys[0];

GameEngine* engine = nullptr;

void Require(bool holds, const char* what, const std::string& name) {
    if (!holds) {
        fprintf(stderr, "name entry fuzz: %s: \"%s\"\n", what, name.c_str());
        abort();
    }
}

bool Allowed(char c) {
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void CheckName() {
    const std::string& name = engine->Names().Name();
    Require(name.size() <= kLongestName, "longer than the limit", name);
    for (const char c : name) {
        Require(Allowed(c), "a character that may not be typed", name);
    }
    Require(name.empty() || name[0] != ' ', "begins with a space", name);
}

// Typing on, as over the game-over screen: after a confirmed name the next game types again.
void TypeAgain() {
    if (engine->Names().Confirmed()) {
        engine->SetNameentered();
    }
    if (!engine->Names().On()) {
        engine->SetEntername();
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EnterFuzzFolder("arcade-fuzz-name-entry");
    engine = new GameEngine();  // lives as long as the process: SDL is set up once
    engine->SetClock(std::make_unique<SteppingClock>());
    engine->SetState(new GameState());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each run starts from an empty name, as the very first game does.
    TypeAgain();
    ReleaseAllInput();
    for (std::size_t i = engine->Names().Name().size(); i > 0; --i) {
        PushKey(SDLK_BACKSPACE, '\b');
    }
    RunUntilQueueEmpty(*engine);
    Require(engine->Names().Name().empty(), "Backspace does not empty the name",
            engine->Names().Name());

    for (std::size_t at = 0; at + kBytesPerKey <= size; at += kBytesPerKey) {
        const uint8_t which = data[at];
        const SDLKey sym = which < 0x80 ? kKeys[which % kNamedKeys] : static_cast<SDLKey>(which);
        const auto unicode = static_cast<Uint16>(data[at + 1] | data[at + 2] << 8);
        TypeAgain();
        PushKey(sym, unicode);
        engine->RunFrame();
        CheckName();
    }
    return 0;
}
