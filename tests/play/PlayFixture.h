#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "play/StatePlayProbe.h"
#include "support/Frames.h"
#include "support/Scratch.h"

using Position = std::pair<int, int>;

// Whether text shows exactly what a fresh Text renders for expected.
inline ::testing::AssertionResult Shows(const Text& text, const char* expected) {
    Text reference;
    reference.Render(expected);
    SDL_Surface* shown = text.GetSurface();
    SDL_Surface* wanted = reference.GetSurface();
    if (shown == nullptr || wanted == nullptr) {
        return ::testing::AssertionFailure() << "nothing rendered";
    }
    if (shown->w != wanted->w || shown->h != wanted->h) {
        return ::testing::AssertionFailure()
               << "a " << shown->w << "x" << shown->h << " rendering where \"" << expected
               << "\" is " << wanted->w << "x" << wanted->h;
    }
    const auto rowBytes = static_cast<std::size_t>(shown->w * shown->format->BytesPerPixel);
    for (int y = 0; y < shown->h; ++y) {
        const auto* a = static_cast<const Uint8*>(shown->pixels) + y * shown->pitch;
        const auto* b = static_cast<const Uint8*>(wanted->pixels) + y * wanted->pitch;
        if (std::memcmp(a, b, rowBytes) != 0) {
            return ::testing::AssertionFailure() << "not \"" << expected << "\" (row " << y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

inline Position PositionOf(const Sprite& sprite) {
    return {sprite.GetPosX(), sprite.GetPosY()};
}

// Counts the draws from rand() since Start. The game never seeds the generator, and the default
// sequence is the one srand(1) gives, so comparing the next value with a fresh srand(1) sequence
// tells how many values were used in between.
class RandDraws {
  public:
    void Start() { std::srand(1); }
    // The number of draws since Start; leaves the sequence where it was.
    int Count() const {
        const int next = std::rand();
        std::srand(1);
        for (int used = 0; used < kLongestRun; ++used) {
            if (std::rand() == next) {
                Rewind(used);
                return used;
            }
        }
        ADD_FAILURE() << "more than " << kLongestRun << " draws";
        return -1;
    }

  private:
    static void Rewind(int used) {
        std::srand(1);
        for (int i = 0; i < used; ++i) {
            std::rand();
        }
    }

    static constexpr int kLongestRun = 100000;
};

// A play state installed in a headless engine with a fake clock.
class PlayField : public ::testing::Test {
  protected:
    // Without pictures everything still moves and collides; only the drawing is left out.
    explicit PlayField(bool withPictures = true) : dir(withPictures) {
        std::srand(1);
        UseFakeClock(engine);
        engine.SetState(new StatePlay(engine.GetAssets()));
    }
    ~PlayField() override { ReleaseAllInput(); }

    // The current state as the play state, or null once the game has ended.
    StatePlay* Play() { return dynamic_cast<StatePlay*>(engine.GetState()); }
    StatePlayProbe Probe() { return StatePlayProbe(*Play()); }
    void Frame() { engine.RunFrame(); }

    // Puts a bullet at (x, y) the way the cannon would fire it from 33 left and 3 below.
    void BulletAt(int x, int y) { Play()->FireBullet(x - 33, y + 3); }
    // Puts a bomb at (x, y) the way an airplane would drop it from 38 left and 35 above.
    void BombAt(int x, int y) { Play()->DropBomb(x - 38, y - 35); }

    ScratchDir dir;  // before the engine: its texts open the font from the working directory
    GameEngine engine;
};
