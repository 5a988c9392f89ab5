#include "support/Frames.h"

#include <memory>

#include "engine/GameEngine.h"
#include "engine/KeyboardState.h"

SDL_Event KeyDown(SDLKey sym, Uint16 unicode) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = sym;
    event.key.keysym.unicode = unicode;
    return event;
}

void PushKey(SDLKey sym, Uint16 unicode) {
    SDL_Event event = KeyDown(sym, unicode);
    SDL_PushEvent(&event);
}

void PushText(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        const auto character = static_cast<unsigned char>(*c);
        PushKey(static_cast<SDLKey>(character), character);
    }
}

void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void HoldKey(SDLKey sym, bool down) {
    KeyboardState()[sym] = down ? 1 : 0;
}

void ReleaseAllInput() {
    int count = 0;
    Uint8* keys = KeyboardState(&count);
    for (int i = 0; i < count; ++i) {
        keys[i] = 0;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
    }
}

FakeClock* UseFakeClock(GameEngine& engine) {
    auto clock = std::make_unique<FakeClock>();
    FakeClock* fake = clock.get();
    engine.SetClock(std::move(clock));
    return fake;
}

void RunFrames(GameEngine& engine, int count) {
    for (int i = 0; i < count; ++i) {
        engine.RunFrame();
    }
}

void RunUntilQueueEmpty(GameEngine& engine) {
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
        engine.RunFrame();
    }
}
