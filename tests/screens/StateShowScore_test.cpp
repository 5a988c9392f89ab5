#include "screens/StateShowScore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "gfx/Blit.h"
#include "gfx/SdlPtr.h"
#include "gfx/Text.h"
#include "screens/ScoreListLayout.h"
#include "screens/ShortenToFit.h"
#include "screens/StateMenu.h"
#include "support/Frames.h"
#include "support/HighScores.h"
#include "support/Pictures.h"
#include "support/Scratch.h"

namespace {
struct Position {
    int x;
    int y;
    bool operator==(const Position& other) const { return x == other.x && y == other.y; }
};

Position At(const StateShowScore& list, std::size_t i) {
    return {list.ShownText(i).GetPosX(), list.ShownText(i).GetPosY()};
}

// What the window shows, row by row.
std::vector<Uint8> Pixels(SDL_Surface* screen) {
    std::vector<Uint8> pixels;
    SDL_LockSurface(screen);
    const auto* bytes = static_cast<const Uint8*>(screen->pixels);
    const std::size_t row = static_cast<std::size_t>(screen->w) * screen->format->BytesPerPixel;
    for (int y = 0; y < screen->h; ++y) {
        pixels.insert(pixels.end(), bytes + y * screen->pitch, bytes + y * screen->pitch + row);
    }
    SDL_UnlockSurface(screen);
    return pixels;
}

// What the list draws into a black window.
std::vector<Uint8> Drawn(GameState& list, SDL_Surface* screen) {
    SDL_FillRect(screen, nullptr, 0);
    list.Draw(screen);
    return Pixels(screen);
}

std::string Numbered(int lines) {
    std::string content;
    for (int i = 0; i < lines; ++i) {
        content += "line " + std::to_string(i) + "\n";  // ascending: not the order the game sorts
    }
    return content;
}

// The widest line of head and letters that font still draws within width: wide letters first,
// then narrow ones to come within a few pixels of it.
std::string WidestFitting(const Text& font, const std::string& head, int width) {
    std::string line = head;
    for (const char letter : {'W', 'i'}) {
        while (font.WidthOf((line + letter).c_str()) <= width) {
            line += letter;
        }
    }
    return line;
}

TEST(ShortenToFit, KeepsALineThatFitsAndCutsOneThatDoesNotAsLittleAsItCan) {
    ScratchDir dir;
    GameEngine engine;
    const Text font;
    const int width = 250;
    const std::string fits = WidestFitting(font, "223 points - ", width);
    EXPECT_EQ(ShortenToFit(font, fits, width), fits);

    const std::string tooWide = fits + "i";
    const std::string cut = ShortenToFit(font, tooWide, width);
    ASSERT_GE(cut.size(), 3u);
    const std::string kept = cut.substr(0, cut.size() - 3);
    EXPECT_EQ(cut.substr(kept.size()), "...");
    EXPECT_EQ(tooWide.compare(0, kept.size(), kept), 0) << cut;
    EXPECT_LE(font.WidthOf(cut.c_str()), width) << cut;
    EXPECT_GT(font.WidthOf((tooWide.substr(0, kept.size() + 1) + "...").c_str()), width) << cut;

    // A cut just after a word leaves no space before the dots.
    const std::string name = "223 points - ALEXANDER MORGAN";
    EXPECT_EQ(ShortenToFit(font, name, font.WidthOf("223 points - ALEXANDER ...")),
              "223 points - ALEXANDER...");
    // The font library draws a line up to its first zero byte, and so much is measured.
    EXPECT_EQ(ShortenToFit(font, std::string("223\0WWWWWWWWWWWWWWWWWWWWWWWWW", 28), 40), "223");
}

// The longest names of wide letters, with three-digit scores, in both columns: each line ends
// inside its column, the left column's 12 pixels short of the right one, the right column's at
// the edge of the panel drawn in the picture. Lines that just fit are drawn as they stand. Once
// drawn, a line keeps no font open.
TEST(HighScoreList, EveryLineStaysInsideItsColumnAndALineThatFitsIsDrawnWhole) {
    ScratchDir dir;
    GameEngine engine;
    SurfacePtr picture(GameEngine::load_image("showscorebg.png"));
    ASSERT_NE(picture, nullptr);
    const int panelEdge = score_list::kPanelInnerRight;
    EXPECT_EQ(PixelAt(picture.get(), panelEdge - 1, 200), (Rgb{8, 10, 24})) << "panel";
    EXPECT_EQ(PixelAt(picture.get(), panelEdge, 200), (Rgb{60, 170, 220})) << "its border";

    const Text font;
    const int columnRight[] = {300 - 12, panelEdge};
    std::vector<std::string> lines;
    for (int i = 0; i < 28; ++i) {
        lines.push_back(std::to_string(250 - i) + " points - " + std::string(17, 'W'));
    }
    lines[0] = WidestFitting(font, "250 points - ", columnRight[0] - 50);
    lines[14] = WidestFitting(font, "236 points - ", columnRight[1] - 300);
    std::string content;
    for (const std::string& line : lines) {
        content += line + "\n";
    }
    WriteWholeFile(dir.File("highscore.txt"), content);

    StateShowScore list(engine.GetAssets());
    ASSERT_EQ(list.ShownCount(), 28u);
    for (std::size_t i = 0; i < 28; ++i) {
        const Text& shown = list.ShownText(i);
        const SDL_Surface* surface = shown.GetSurface();
        ASSERT_NE(surface, nullptr) << "line " << i;
        // Rendered for good, its font closed: a list holds no 28 open fonts while it is shown.
        EXPECT_EQ(shown.WidthOf("W"), 0) << "line " << i;
        EXPECT_LE(shown.GetPosX() + surface->w, columnRight[i / 14]) << "line " << i;
        EXPECT_LE(shown.GetPosY() + surface->h, engine.GetScreen()->h) << "line " << i;
        if (i % 14 == 0) {
            Text whole;
            whole.Render(lines[i].c_str());
            EXPECT_EQ(surface->w, whole.GetSurface()->w) << "line " << i;
            EXPECT_TRUE(Pixels(whole.GetSurface()) == Pixels(shown.GetSurface())) << "line " << i;
        } else {
            EXPECT_LT(surface->w, font.WidthOf(lines[i].c_str())) << "line " << i;
        }
    }
}

TEST(HighScoreList, ShowsTheFirst28LinesInFileOrderInTwoColumns) {
    ScratchDir dir;
    GameEngine engine;
    struct Case {
        int lines;
        std::size_t shown;
        Position last;
    };
    for (const Case& c :
         {Case{14, 14, {50, 450}}, Case{15, 15, {300, 60}}, Case{40, 28, {300, 450}}}) {
        WriteWholeFile(dir.File("highscore.txt"), Numbered(c.lines));
        StateShowScore list(engine.GetAssets());
        ASSERT_EQ(list.ShownCount(), c.shown) << c.lines << " lines";
        EXPECT_EQ(At(list, 0), (Position{50, 60}));
        EXPECT_EQ(At(list, 1), (Position{50, 90}));
        EXPECT_EQ(At(list, c.shown - 1), c.last) << c.lines << " lines";
        EXPECT_EQ(list.GetEntries().front(), "line 0");
        EXPECT_EQ(list.GetEntries().back(), "line " + std::to_string(c.shown - 1));
        EXPECT_EQ(ReadWholeFile(dir.File("highscore.txt")), Numbered(c.lines));
    }
}

TEST(HighScoreList, AFailedStoreIsToldInTheFirstRowAndAStoredOneDrawsTheListAsEver) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    WriteWholeFile(dir.File("highscore.txt"), Numbered(40));
    StateShowScore told(engine.GetAssets(), "Score not saved: the disk is full");
    ASSERT_NE(told.NoticeText(), nullptr);
    EXPECT_NE(told.NoticeText()->GetSurface(), nullptr);
    EXPECT_EQ((Position{told.NoticeText()->GetPosX(), told.NoticeText()->GetPosY()}),
              (Position{50, 60}));
    ASSERT_EQ(told.ShownCount(), 26u);
    EXPECT_EQ(At(told, 0), (Position{50, 90}));
    EXPECT_EQ(At(told, 12), (Position{50, 450}));
    EXPECT_EQ(At(told, 13), (Position{300, 90}));
    EXPECT_EQ(At(told, 25), (Position{300, 450}));
    EXPECT_EQ(told.GetEntries().front(), "line 0");

    // A store that went through opens a list that draws exactly what the menu's list draws.
    ConfirmName(engine, "Ann");
    StoreScore(engine, 99);
    auto* stored = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->NoticeText(), nullptr);
    StateShowScore fromMenu(engine.GetAssets());
    ASSERT_EQ(fromMenu.ShownCount(), 28u);
    EXPECT_TRUE(Drawn(*stored, engine.GetScreen()) == Drawn(fromMenu, engine.GetScreen()));
    EXPECT_FALSE(Drawn(told, engine.GetScreen()) == Drawn(fromMenu, engine.GetScreen()));
}

TEST(HighScoreList, EnterGoesBackToTheMenuAndNothingElseDoes) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    // No file: only the picture.
    engine.SetState(new StateShowScore(engine.GetAssets()));
    auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ShownCount(), 0u);
    EXPECT_EQ(list->GetFileName(), "highscore.txt");
    EXPECT_FALSE(FileExists(dir.File("highscore.txt")));

    HoldKey(SDLK_LEFT, true);
    PushKey(SDLK_SPACE, ' ');
    RunFrames(engine, 2);
    ReleaseAllInput();
    EXPECT_EQ(engine.GetState(), list);

    PushKey(SDLK_RETURN, '\r');
    engine.RunFrame();
    EXPECT_NE(dynamic_cast<StateMenu*>(engine.GetState()), nullptr);

    // Space on the menu builds a new list that reads the file again.
    WriteWholeFile(dir.File("highscore.txt"), "09 points - Al\n");
    PushKey(SDLK_SPACE, ' ');
    engine.RunFrame();
    list = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ShownCount(), 1u);
}

TEST(HighScoreList, LinesNotWrittenByTheGameShowWhatTheyCan) {
    ScratchDir dir;
    GameEngine engine;
    std::string binary;
    for (int byte = 1; byte < 256; ++byte) {
        binary += byte == '\n' ? ' ' : static_cast<char>(byte);
    }
    WriteWholeFile(dir.File("highscore.txt"), std::string(1000 * 1000, 'W') + "\n\n" + binary +
                                                  "\n" + std::string(5, '\0') +
                                                  "x\n10 points - Al");
    StateShowScore list(engine.GetAssets());
    ASSERT_EQ(list.ShownCount(), 5u);
    for (std::size_t i = 0; i < list.ShownCount(); ++i) {
        EXPECT_LE(list.GetEntries()[i].size(), 128u) << "line " << i;
        const SDL_Surface* shown = list.ShownText(i).GetSurface();
        if (shown != nullptr) {
            EXPECT_LT(shown->w, 4000) << "line " << i;
        }
    }
    EXPECT_NE(list.ShownText(0).GetSurface(), nullptr);
    EXPECT_EQ(list.ShownText(1).GetSurface(), nullptr) << "an empty line draws nothing";
    EXPECT_EQ(list.GetEntries()[4], "10 points - Al");
    list.Draw(engine.GetScreen());

    // A file far bigger than the game's own, in one line: read no further than the limit.
    WriteWholeFile(dir.File("highscore.txt"), "");
    std::filesystem::resize_file(dir.File("highscore.txt"), 64 * 1024 * 1024);
    StateShowScore huge(engine.GetAssets());
    EXPECT_EQ(huge.ShownCount(), 1u);
}

// A frame of the list is the picture copied onto the window and every line blended over it, in
// order; without the picture, every line blended over whatever the window showed. So it is
// whether the engine runs the list or it is drawn on its own.
TEST(HighScoreList, AFrameIsEveryLineBlendedOverThePictureOrOverTheLastFrame) {
    for (const bool withPicture : {true, false}) {
        for (const bool installed : {true, false}) {
            ScratchDir dir;
            if (!withPicture) {
                std::filesystem::remove(dir.File("showscorebg.png"));
            }
            GameEngine engine;
            SDL_Surface* screen = engine.GetScreen();
            WriteWholeFile(dir.File("highscore.txt"), Numbered(40));
            auto made = std::make_unique<StateShowScore>(engine.GetAssets(),
                                                         "Score not saved: the disk is full");
            StateShowScore& list = *made;
            if (installed) {
                engine.SetState(made.release());
            }
            const Uint32 lastFrame = SDL_MapRGB(screen->format, 40, 90, 160);

            SDL_FillRect(screen, nullptr, lastFrame);
            SurfacePtr picture(withPicture ? GameEngine::load_image("showscorebg.png") : nullptr);
            BlitAt(picture.get(), screen, 0, 0);
            for (std::size_t i = 0; i < list.ShownCount(); ++i) {
                Text line;
                line.SetPos(At(list, i).x, At(list, i).y);
                line.Render(list.GetEntries()[i].c_str());
                line.Draw(screen);
            }
            Text notice;
            notice.SetPos(list.NoticeText()->GetPosX(), list.NoticeText()->GetPosY());
            notice.Render(list.GetNotice().c_str());
            notice.Draw(screen);
            const std::vector<Uint8> byHand = Pixels(screen);

            for (int frame = 0; frame < 2; ++frame) {
                SDL_FillRect(screen, nullptr, lastFrame);
                list.Draw(screen);
                EXPECT_TRUE(Pixels(screen) == byHand) << "picture " << withPicture << ", installed "
                                                      << installed << ", frame " << frame;
            }
        }
    }
}
}  // namespace
