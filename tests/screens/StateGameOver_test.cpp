#include "screens/StateGameOver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "play/StatePlay.h"
#include "screens/StateAddScore.h"
#include "screens/StateShowScore.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Pictures.h"
#include "support/Scratch.h"

namespace {

// Installs the game-over screen the way the end of a game does: score first, then name entry
// on, then the switch.
StateGameOver* EndGameWith(GameEngine& engine, int score) {
    auto* screen = new StateGameOver(engine.GetAssets());
    screen->SetScore(score);
    engine.SetEntername();
    engine.SetState(screen);
    return screen;
}

void Press(GameEngine& engine, SDLKey sym, Uint16 unicode) {
    PushKey(sym, unicode);
    engine.RunFrame();
}

TEST(GameOverScreen, ShowsItsPictureAndWithoutItLeavesTheWindowAsItWas) {
    ScratchDir dir(false);
    GameEngine engine;
    UseFakeClock(engine);
    SDL_Surface* window = engine.GetScreen();

    EndGameWith(engine, 0);  // no gameover.png in the folder
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 1, 2, 3));
    engine.GetState()->Draw(window);
    EXPECT_EQ(PixelAt(window, 0, 0), (Rgb{1, 2, 3}));

    WriteSolidPicture(dir.File("gameover.png"), 640, 480, 90, 10, 10);
    engine.SetState(new StateGameOver(engine.GetAssets()));
    engine.GetState()->Draw(window);
    EXPECT_EQ(PixelAt(window, 0, 0), (Rgb{90, 10, 10}));
    EXPECT_EQ(PixelAt(window, 639, 479), (Rgb{90, 10, 10}));
}

TEST(GameOverScreen, FirstReturnConfirmsTheNameAndTheSecondMovesOnWithEntryOff) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    StateGameOver* screen = EndGameWith(engine, 42);

    // While the name is typed, Space is a character of it and the held arrows are ignored.
    HoldKey(SDLK_LEFT, true);
    HoldKey(SDLK_RIGHT, true);
    PushText("Al");
    RunUntilQueueEmpty(engine);
    Press(engine, SDLK_SPACE, ' ');
    EXPECT_EQ(engine.Names().Name(), "Al ");
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_EQ(screen->GetScore(), 42);

    Press(engine, SDLK_RETURN, '\r');
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_TRUE(engine.Names().On());
    EXPECT_TRUE(engine.Names().Confirmed());

    // Confirmed: Space and the arrows now reach the screen, which ignores them.
    Press(engine, SDLK_SPACE, ' ');
    RunFrames(engine, 3);
    ReleaseAllInput();
    ASSERT_EQ(engine.GetState(), screen);
    EXPECT_TRUE(engine.Names().On());
    EXPECT_TRUE(engine.Names().Confirmed());

    Press(engine, SDLK_RETURN, '\r');
    EXPECT_NE(dynamic_cast<StateAddScore*>(engine.GetState()), nullptr);
    EXPECT_FALSE(engine.Names().On());
    EXPECT_FALSE(engine.Names().Confirmed());
    // Confirming dropped the space after the name.
    EXPECT_EQ(engine.Names().Name(), "Al");
}

// The add-score screen keeps its score to itself; what it stores shows what it was handed.
TEST(GameOverScreen, HandsTheScoreOnToBeStoredZeroIncluded) {
    for (const int score : {0, 57}) {
        ScratchDir dir;
        GameEngine engine;
        UseFakeClock(engine);
        EndGameWith(engine, score);
        PushText("Bo");
        PushKey(SDLK_RETURN, '\r');  // confirms the name
        PushKey(SDLK_RETURN, '\r');  // on to the add-score screen
        PushKey(SDLK_RETURN, '\r');  // stores
        RunUntilQueueEmpty(engine);

        const std::string stored = ReadWholeFile(dir.File("highscore.txt"));
        ASSERT_NE(stored.find(" points - Bo"), std::string::npos) << stored;
        EXPECT_EQ(std::stoi(stored), score) << stored;
    }
}

TEST(GameOverScreen, TheGameEndsOverItWithNameEntryOn) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    auto* play = new StatePlay(engine.GetAssets());
    engine.SetState(play);
    play->DropBomb(280, 400);  // straight onto the cannon
    engine.RunFrame();

    auto* screen = dynamic_cast<StateGameOver*>(engine.GetState());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->GetScore(), 0);
    EXPECT_TRUE(engine.Names().Typing());
    PushText("Cy");
    RunUntilQueueEmpty(engine);
    EXPECT_EQ(engine.Names().Name(), "Cy");
    EXPECT_EQ(engine.GetState(), screen);
}

}  // namespace

namespace {
// What the screen draws into a black window, row by row.
std::vector<Uint32> Drawn(GameEngine& engine) {
    SDL_Surface* window = engine.GetScreen();
    SDL_FillRect(window, nullptr, 0);
    engine.GetState()->Draw(window);
    SDL_LockSurface(window);
    std::vector<Uint32> pixels;
    for (int y = 0; y < window->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(window->pixels) + y * window->pitch);
        pixels.insert(pixels.end(), row, row + window->w);
    }
    SDL_UnlockSurface(window);
    return pixels;
}

// The picture alone, and with one line of text centred at y over it, as the window shows them.
std::vector<Uint32> PictureWith(GameEngine& engine, const char* picture, const char* line, int y) {
    SDL_Surface* window = engine.GetScreen();
    SDL_FillRect(window, nullptr, 0);
    Sprite background;
    background.SetImage(ScreenEngine::load_image(picture));
    background.Draw(window);
    if (line != nullptr) {
        Text text;
        text.SetPos((640 - text.WidthOf(line)) / 2, y);
        text.Render(line);
        text.Draw(window);
    }
    SDL_LockSurface(window);
    std::vector<Uint32> pixels;
    for (int row = 0; row < window->h; ++row) {
        const auto* at = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(window->pixels) +
                                                         row * window->pitch);
        pixels.insert(pixels.end(), at, at + window->w);
    }
    SDL_UnlockSurface(window);
    return pixels;
}

// Whether two pictures are the same size and the same pixels.
bool SamePicture(SDL_Surface& a, SDL_Surface& b) {
    if (a.w != b.w || a.h != b.h || a.format->BytesPerPixel != b.format->BytesPerPixel) {
        return false;
    }
    SDL_LockSurface(&a);
    SDL_LockSurface(&b);
    bool same = true;
    const std::size_t row = static_cast<std::size_t>(a.w) * a.format->BytesPerPixel;
    for (int y = 0; y < a.h && same; ++y) {
        same = std::memcmp(static_cast<const Uint8*>(a.pixels) + y * a.pitch,
                           static_cast<const Uint8*>(b.pixels) + y * b.pitch, row) == 0;
    }
    SDL_UnlockSurface(&b);
    SDL_UnlockSurface(&a);
    return same;
}

// The colour of the most opaque pixel of a rendered line: the colour it was rendered in.
Rgb InkOf(const Text& line) {
    SDL_Surface* surface = line.GetSurface();
    Uint8 best = 0;
    Rgb ink{0, 0, 0};
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const Uint32 pixel = reinterpret_cast<const Uint32*>(
                static_cast<const Uint8*>(surface->pixels) + y * surface->pitch)[x];
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
            if (a > best) {
                best = a;
                ink = {r, g, b};
            }
        }
    }
    SDL_UnlockSurface(surface);
    return ink;
}

// With the player's settings in use (as the launcher starts the game), the game-over and
// add-score screens show the points of the game just played and the list draws its line in gold;
// without them every frame is the picture alone and every line magenta, as the game always drew.
TEST(TheGameJustPlayed, ShowsItsPointsAndMarksItsLineOnlyWithThePlayersSettings) {
    for (const bool settings : {false, true}) {
        SCOPED_TRACE(settings ? "with settings" : "bare");
        ScratchDir dir;
        Options options;
        if (settings) {
            options.settingsPath = dir.File("settings");
        }
        GameEngine engine(options);
        UseFakeClock(engine);
        WriteWholeFile(dir.File("highscore.txt"), "50 points - Ann\n10 points - Bo\n");

        EndGameWith(engine, 42);
        EXPECT_TRUE(Drawn(engine) ==
                    PictureWith(engine, "gameover.png", settings ? "42 points" : nullptr, 180));
        PushText("Cy");
        PushKey(SDLK_RETURN, '\r');
        PushKey(SDLK_RETURN, '\r');
        RunUntilQueueEmpty(engine);
        ASSERT_NE(dynamic_cast<StateAddScore*>(engine.GetState()), nullptr);
        EXPECT_TRUE(Drawn(engine) ==
                    PictureWith(engine, "addscorebg.png", settings ? "42 points" : nullptr, 168));

        Press(engine, SDLK_RETURN, '\r');
        const auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->ShownCount(), 3u);
        EXPECT_EQ(list->GetEntries()[1], "42 points - Cy");
        const Rgb magenta{255, 0, 255};
        const Rgb gold{255, 215, 64};
        EXPECT_EQ(InkOf(list->ShownText(0)), magenta);
        EXPECT_EQ(InkOf(list->ShownText(1)), settings ? gold : magenta);
        EXPECT_EQ(InkOf(list->ShownText(2)), magenta);
        EXPECT_EQ(list->PlaceText(), nullptr);

        // A score stored below the 28 lines shown: the list's last row says where it went, in
        // gold across both columns, and the list is two lines shorter. Bare, nothing tells it.
        struct Low {
            int above;
            int points;
            const char* told;
        };
        for (const Low& low :
             {Low{27, 3, nullptr}, Low{28, 3, "Your 3 points are 29th of 29, below this list"},
              Low{30, 1, "Your 1 point is 31st of 31, below this list"},
              Low{111, 2, "Your 2 points are 112th of 112, below this list"}}) {
            SCOPED_TRACE(low.above);
            std::string lines;
            for (int line = 0; line < low.above; ++line) {
                lines += std::to_string(200 - line) + " points - Ann\n";
            }
            WriteWholeFile(dir.File("highscore.txt"), lines);
            EndGameWith(engine, low.points);
            PushKey(SDLK_RETURN, '\r');
            PushKey(SDLK_RETURN, '\r');
            RunUntilQueueEmpty(engine);
            Press(engine, SDLK_RETURN, '\r');
            const auto* below = dynamic_cast<StateShowScore*>(engine.GetState());
            ASSERT_NE(below, nullptr);
            const bool told = settings && low.told != nullptr;
            ASSERT_EQ(below->PlaceText() != nullptr, told);
            ASSERT_EQ(below->ShownCount(), told ? 26u : 28u);
            if (told) {
                const Text& place = *below->PlaceText();
                EXPECT_EQ(place.GetPosX(), 50);
                EXPECT_EQ(place.GetPosY(), 450);
                Text expected;
                expected.SetColour({255, 215, 64, 0});
                expected.Render(low.told);
                EXPECT_TRUE(SamePicture(*place.GetSurface(), *expected.GetSurface()));
                EXPECT_EQ(InkOf(below->ShownText(25)), magenta);
            } else {
                EXPECT_EQ(InkOf(below->ShownText(27)), settings ? gold : magenta);
            }
            if (!settings) {
                const std::vector<Uint32> stored = Drawn(engine);
                engine.SetState(new StateShowScore(engine.GetAssets()));
                EXPECT_TRUE(Drawn(engine) == stored);
            }
        }
    }
}
}  // namespace
