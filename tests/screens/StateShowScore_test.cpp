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
#include "net/SharedTable.h"
#include "playback/BestGame.h"
#include "replay/Recorder.h"
#include "replay/Replay.h"
#include "replay/ReplayFile.h"
#include "report/Counted.h"
#include "screens/ScoreListLayout.h"
#include "screens/SharedTableWords.h"
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

// A shared table that answers at once with what the test gives it.
class FakeTable : public net::SharedTable {
  public:
    const std::string& Host() const override { return host; }
    void Send(const replay::Replay& /*game*/) override { ++sent; }
    net::PostReport LastPost() const override { return post; }
    void AskForRows() override { ++asked; }
    net::TableReport Rows() const override { return rows; }
    void AskForReplay(long long id) override {
        replay = {net::ReplayReport::State::Fetching, id, "", ""};
        ++changes;
    }
    net::ReplayReport Replay() const override { return replay; }
    unsigned Changes() const override { return changes; }

    std::string host = "scores.example.org";
    int sent = 0;
    int asked = 0;
    net::PostReport post;
    net::TableReport rows;
    net::ReplayReport replay;
    unsigned changes = 0;
};

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
    PushKey(SDLK_TAB, '\t');
    RunFrames(engine, 3);
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
// A player who named a shared table: the list gives the label and the line about the post the
// rows below it, Tab shows the table's rows in the same columns and font with the posted line
// marked as this computer's list marks it, and what the table's worker brings later (the rows,
// the post's answer, the table gone) is shown as it comes. Tab again: this computer's list.
TEST(HighScoreList, TabFlipsToTheSharedTableWithThePostedLineMarkedAndBack) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    WriteWholeFile(dir.File("highscore.txt"), Numbered(40));
    FakeTable table;
    table.post.state = net::PostReport::State::Sending;
    table.post.line = "42 points - Ada";
    engine.SetState(new StateShowScore(engine.GetAssets(), "", "line 3", {}, &table));
    auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->Shared(), nullptr);
    const SharedListView& shared = *list->Shared();
    EXPECT_EQ(table.asked, 1) << "the rows are asked for as the list opens";
    ASSERT_EQ(list->ShownCount(), 24u);
    EXPECT_EQ(At(*list, 11), (Position{50, 390}));
    EXPECT_EQ(At(*list, 12), (Position{300, 60}));
    EXPECT_EQ(shared.LabelText(), "This computer  -  Tab: shared table");
    EXPECT_EQ(shared.StatusText(), "Sending to the shared table...");
    engine.RunFrame();
    const std::vector<Uint8> local = Pixels(engine.GetScreen());

    PushKey(SDLK_TAB, '\t');
    engine.RunFrame();
    EXPECT_TRUE(shared.SharedShown());
    EXPECT_EQ(shared.LabelText(), "Shared table at scores.example.org  -  Tab: this computer");
    EXPECT_EQ(shared.StatusText(), "Asking scores.example.org for the shared table...");
    EXPECT_EQ(shared.SharedCount(), 0u);

    for (int i = 0; i < 30; ++i) {
        table.rows.rows.push_back(
            {i + 1, 300 - i, i == 14 ? "Ada" : "Player " + std::to_string(i)});
    }
    table.rows.rows[14].points = 42;
    table.rows.rows[16] = {17, 42, "Ada"};  // the same line again: only the first is marked
    table.rows.state = net::TableReport::State::Listed;
    table.post.state = net::PostReport::State::Listed;
    table.post.place = 15;
    table.post.lines = 340;
    ++table.changes;
    engine.RunFrame();
    EXPECT_EQ(shared.StatusText(), "Sent to the shared table: 15th of 340");
    ASSERT_EQ(shared.SharedCount(), 24u);
    const auto atShared = [&](std::size_t i) {
        return Position{shared.SharedText(i).GetPosX(), shared.SharedText(i).GetPosY()};
    };
    EXPECT_EQ(atShared(0), (Position{50, 60}));
    EXPECT_EQ(atShared(12), (Position{300, 60}));
    EXPECT_EQ(atShared(23), (Position{300, 390}));
    const auto drawnAs = [](const std::string& line, SDL_Color colour) {
        Text text;
        text.SetColour(colour);
        text.Render(line.c_str());
        return Pixels(text.GetSurface());
    };
    const SDL_Color gold{255, 215, 64, 0};
    EXPECT_TRUE(Pixels(shared.SharedText(14).GetSurface()) == drawnAs("42 points - Ada", gold));
    const SDL_Color magenta{255, 0, 255, 0};
    EXPECT_TRUE(Pixels(shared.SharedText(16).GetSurface()) == drawnAs("42 points - Ada", magenta));
    const std::vector<Uint8> sharedFrame = Pixels(engine.GetScreen());
    EXPECT_FALSE(sharedFrame == local);

    // The table away: the rows stay as last fetched, and one line says so.
    table.rows.state = net::TableReport::State::Unreachable;
    ++table.changes;
    engine.RunFrame();
    EXPECT_EQ(shared.StatusText(),
              "The shared table at scores.example.org cannot be reached just now");
    EXPECT_EQ(shared.SharedCount(), 24u);

    PushKey(SDLK_TAB, '\t');
    engine.RunFrame();
    EXPECT_FALSE(shared.SharedShown());
    EXPECT_EQ(shared.StatusText(), "Sent to the shared table: 15th of 340");
    PushKey(SDLK_TAB, '\t');
    engine.RunFrame();
    EXPECT_EQ(table.asked, 2) << "each showing of the table asks whether it changed";
    EXPECT_EQ(engine.GetState(), list);
}

TEST(SharedTableWords, SayWhereAGameWentInWordsThatFitTheNumbers) {
    const std::vector<std::pair<std::uint64_t, std::string>> ordinals = {
        {1, "1st"},     {2, "2nd"},     {3, "3rd"},     {4, "4th"},      {11, "11th"},
        {12, "12th"},   {13, "13th"},   {21, "21st"},   {22, "22nd"},    {23, "23rd"},
        {101, "101st"}, {111, "111th"}, {112, "112th"}, {1002, "1002nd"}};
    for (const auto& [number, word] : ordinals) {
        EXPECT_EQ(Ordinal(number), word);
    }
    using State = net::PostReport::State;
    const std::string host = "scores.example.org";
    net::PostReport post;
    EXPECT_EQ(shared_words::PostLine(post, host), "");
    post = {State::Listed, "42 points - Ada", 12, 100, 340, ""};
    EXPECT_EQ(shared_words::PostLine(post, host), "Sent to the shared table: 12th of 340");
    post.lines = 0;
    EXPECT_EQ(shared_words::PostLine(post, host), "Sent to the shared table: 12th");
    post.place = 0;
    EXPECT_EQ(shared_words::PostLine(post, host), "Sent to the shared table: below its first 100");
    post = {State::AlreadyListed, "223 points - Anna", 0, 0, 0, ""};
    EXPECT_EQ(shared_words::PostLine(post, host), "Already on the shared table: 223 points - Anna");
    post = {State::Refused, "", 0, 0, 0, "the shared table runs version 1.1.0"};
    EXPECT_EQ(shared_words::PostLine(post, host), "Not sent: the shared table runs version 1.1.0");
    post = {State::Waiting, "", 0, 0, 0, "Couldn't connect to server"};
    EXPECT_EQ(shared_words::PostLine(post, host), "Will be sent when scores.example.org answers");
}
// R on the shared table's side fetches its best game, proves it here and watches it as R watches
// the best game kept; a game of another version is named and not watched, and so is one that
// cannot be fetched. On this computer's side R is what it always was.
TEST(HighScoreList, ROnTheSharedTableWatchesItsBestGameOnceItProvesHere) {
    ScratchDir dir;
    GameEngine engine;
    UseFakeClock(engine);
    engine.Watches().SetProver(replay::ProveGameFromElsewhere);
    FakeTable table;
    engine.SetState(new StateShowScore(engine.GetAssets(), "", "", {}, &table));
    auto* list = dynamic_cast<StateShowScore*>(engine.GetState());
    ASSERT_NE(list, nullptr);
    const SharedListView& shared = *list->Shared();
    PushKey(SDLK_TAB, '\t');
    PushKey(SDLK_r, 'r');
    RunFrames(engine, 2);
    EXPECT_EQ(shared.StatusText(), "No game on the shared table to watch yet");
    EXPECT_EQ(table.replay.id, 0);

    table.rows = {net::TableReport::State::Listed, {{7, 223, "Anna"}, {3, 5, "Bo"}}, ""};
    ++table.changes;
    engine.RunFrame();
    PushKey(SDLK_r, 'r');
    RunFrames(engine, 2);
    EXPECT_EQ(table.replay.id, 7) << "the best listed game is asked for";
    EXPECT_EQ(shared.StatusText(), "Fetching 223 points - Anna from scores.example.org...");

    const std::string kept = ReadWholeFile(ARCADE_TEST_DATA "/replay/whole-game-223.replay");
    replay::Replay otherVersion;
    std::string error;
    ASSERT_TRUE(replay::Decode(kept, otherVersion, error)) << error;
    otherVersion.gameVersion = "9.0.0";
    table.replay = {net::ReplayReport::State::Fetched, 7, replay::Encode(otherVersion), ""};
    ++table.changes;
    engine.RunFrame();
    EXPECT_FALSE(engine.Watches().On());
    EXPECT_EQ(shared.StatusText(),
              std::string("223 points - Anna does not prove here: recorded by version 9.0.0 of "
                          "the game; this is ") +
                  replay::GameVersion());

    PushKey(SDLK_r, 'r');
    engine.RunFrame();
    table.replay = {net::ReplayReport::State::Failed, 7, "", "it answered 503"};
    ++table.changes;
    engine.RunFrame();
    EXPECT_EQ(shared.StatusText(), "Cannot fetch 223 points - Anna: it answered 503");

    PushKey(SDLK_r, 'r');
    engine.RunFrame();
    table.replay = {net::ReplayReport::State::Fetched, 7, kept, ""};
    ++table.changes;
    engine.RunFrame();
    EXPECT_TRUE(engine.Watches().On()) << shared.StatusText();
    // Escape ends the watch, and the list comes back as it was: the table's side.
    RunFrames(engine, 3);
    PushKey(SDLK_ESCAPE, 27);
    RunFrames(engine, 3);
    EXPECT_FALSE(engine.Watches().On());
    EXPECT_EQ(engine.GetState(), list);
    EXPECT_TRUE(shared.SharedShown());
}
}  // namespace
