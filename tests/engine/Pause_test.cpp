// Pause: the field stands still, draws nothing from rand() and takes no keys but the ones that
// end the pause or the game, then goes on exactly where it stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/RecordingState.h"
#include "play/PlayFixture.h"
#include "screens/StateMenu.h"

namespace {

// Everything of the field that moves or counts, as one comparable value.
std::vector<int> Field(const StatePlayProbe& field) {
    std::vector<int> all = {field.Level(), field.Score(), field.AirplaneHits(),
                            field.Airplane2Hits()};
    for (const Sprite* sprite :
         {static_cast<const Sprite*>(field.Player()), static_cast<const Sprite*>(field.Airplane()),
          static_cast<const Sprite*>(field.Airplane2())}) {
        all.push_back(sprite != nullptr ? sprite->GetPosX() : -1000);
        all.push_back(sprite != nullptr ? sprite->GetPosY() : -1000);
    }
    for (const auto& bullet : field.Bullets()) {
        all.push_back(bullet->GetPosX());
        all.push_back(bullet->GetPosY());
    }
    for (const auto& bomb : field.Bombs()) {
        all.push_back(bomb->GetPosX());
        all.push_back(bomb->GetPosY());
    }
    return all;
}

// Pixels of the game's magenta text in the middle of the window, where the pause note goes.
int NotePixels(SDL_Surface* screen) {
    SDL_LockSurface(screen);
    int count = 0;
    for (int y = 215; y < 265; ++y) {
        const auto* row = static_cast<const Uint32*>(screen->pixels) + y * screen->pitch / 4;
        for (int x = 0; x < 640; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(row[x], screen->format, &r, &g, &b);
            count += r > 200 && g < 60 && b > 200;
        }
    }
    SDL_UnlockSurface(screen);
    return count;
}

void PushFocusLoss(Uint8 what = SDL_APPINPUTFOCUS) {
    SDL_Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.gain = 0;
    event.active.state = what;
    SDL_PushEvent(&event);
}

class Pause : public PlayField {
  protected:
    void Press(SDLKey sym, Uint16 unicode = 0) {
        PushKey(sym, unicode);
        Frame();
    }
    // Forty frames of play with a shot and a walk to the right, the same every time.
    void PlayAWhile() {
        for (int frame = 0; frame < 40; ++frame) {
            HoldKey(SDLK_RIGHT, frame >= 10 && frame < 20);
            if (frame % 8 == 0) {
                PushKey(SDLK_SPACE, ' ');
            }
            Frame();
        }
        HoldKey(SDLK_RIGHT, false);
    }
    RandDraws draws;
};

TEST_F(Pause, NothingMovesOrDrawsUntilPAndThenPlayGoesOnExactlyWhereItStopped) {
    draws.Start();
    PlayAWhile();
    Press(SDLK_p, 'p');
    ASSERT_TRUE(engine.Paused());
    const std::vector<int> stopped = Field(Probe());
    const int drawnBefore = draws.Count();
    // Keys and held arrows change nothing while paused.
    HoldKey(SDLK_LEFT, true);
    for (int frame = 0; frame < 500; ++frame) {
        if (frame % 50 == 0) {
            PushKey(frame % 100 == 0 ? SDLK_SPACE : SDLK_RETURN, ' ');
        }
        Frame();
    }
    HoldKey(SDLK_LEFT, false);
    EXPECT_EQ(draws.Count(), drawnBefore);
    EXPECT_EQ(Field(Probe()), stopped);
    EXPECT_GT(NotePixels(engine.GetScreen()), 0);
    Press(SDLK_p, 'p');
    EXPECT_FALSE(engine.Paused());
    EXPECT_EQ(NotePixels(engine.GetScreen()), 0);
    RunFrames(engine, 60);
    const std::vector<int> resumed = Field(Probe());
    const int nextDraw = std::rand();

    // The same game never paused: the pause frames are all that differ.
    std::srand(1);
    engine.SetState(new StatePlay(engine.GetAssets()));
    PlayAWhile();
    Frame();  // the frame in which P ended the pause already played
    RunFrames(engine, 60);
    EXPECT_EQ(Field(Probe()), resumed);
    EXPECT_EQ(std::rand(), nextDraw);
}

TEST_F(Pause, LosingTheKeyboardPausesPlayAndOnlyPlay) {
    Frame();
    // The pointer wandering off the window leaves the keys with the game: play goes on.
    PushFocusLoss(SDL_APPMOUSEFOCUS);
    Frame();
    EXPECT_FALSE(engine.Paused());
    PushFocusLoss();
    Frame();
    EXPECT_TRUE(engine.Paused());
    // Coming back leaves the game paused until the player is ready.
    SDL_Event gained{};
    gained.type = SDL_ACTIVEEVENT;
    gained.active.gain = 1;
    gained.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&gained);
    Frame();
    EXPECT_TRUE(engine.Paused());
    Press(SDLK_ESCAPE, 27);
    EXPECT_TRUE(engine.QuitRequested());

    engine.SetState(new StateMenu(engine.GetAssets()));
    EXPECT_FALSE(engine.Paused());
    PushFocusLoss();
    Frame();
    EXPECT_FALSE(engine.Paused());
    Press(SDLK_p, 'p');
    EXPECT_FALSE(engine.Paused());
}

}  // namespace
