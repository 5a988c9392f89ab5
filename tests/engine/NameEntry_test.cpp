#include "engine/NameEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/GameEngine.h"
#include "engine/RecordingState.h"
#include "scores/TypeableName.h"
#include "support/Frames.h"
#include "support/Scratch.h"

namespace {

// Whether anything but black lies in the row where the name and its prompt are drawn.
bool NameRowHasInk(SDL_Surface* screen, int fromX, int toX) {
    SDL_LockSurface(screen);
    bool ink = false;
    for (int y = 350; y < 380 && !ink; ++y) {
        const auto* row = static_cast<const Uint32*>(screen->pixels) + y * screen->pitch / 4;
        for (int x = fromX; x < toX && !ink; ++x) {
            ink = (row[x] & 0x00FFFFFF) != 0;
        }
    }
    SDL_UnlockSurface(screen);
    return ink;
}

void ClearScreen(SDL_Surface* screen) {
    SDL_FillRect(screen, nullptr, 0);
}

std::vector<Uint8> Pixels(SDL_Surface* screen) {
    SDL_LockSurface(screen);
    const auto* bytes = static_cast<const Uint8*>(screen->pixels);
    std::vector<Uint8> pixels(bytes, bytes + screen->h * screen->pitch);
    SDL_UnlockSurface(screen);
    return pixels;
}

SDL_Rect Box(const Text& line) {
    const SDL_Surface* drawn = line.GetSurface();
    return {static_cast<Sint16>(line.GetPosX()), static_cast<Sint16>(line.GetPosY()),
            static_cast<Uint16>(drawn != nullptr ? drawn->w : 0),
            static_cast<Uint16>(drawn != nullptr ? drawn->h : 0)};
}

bool Apart(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
}

bool InsideTheWindow(const SDL_Rect& box) {
    return box.w > 0 && box.x >= 0 && box.y >= 0 && box.x + box.w <= 640 && box.y + box.h <= 480;
}

void TypeInto(::NameEntry& entry, const std::string& text) {
    for (char c : text) {
        SDL_keysym key{};
        key.sym = static_cast<SDLKey>(c == ' ' ? SDLK_SPACE : SDLK_a);
        key.unicode = static_cast<Uint8>(c);
        entry.TypeKey(key);
    }
}

class TypingAName : public ::testing::Test {
  protected:
    TypingAName() {
        UseFakeClock(engine);
        engine.SetState(new RecordingState("gameover", log));
        engine.SetEntername();
    }
    ~TypingAName() override { ReleaseAllInput(); }

    void Type(const char* text) {
        PushText(text);
        RunUntilQueueEmpty(engine);
    }
    void Press(SDLKey sym, Uint16 unicode = 0) {
        PushKey(sym, unicode);
        engine.RunFrame();
    }

    // The log outlives the engine, whose screen writes into it when it is destroyed.
    std::vector<std::string> log;
    ScratchDir dir;
    GameEngine engine;
};

TEST_F(TypingAName, BackspaceRemovesTheLastCharacterAndDoesNothingOnAnEmptyName) {
    Type("ab");
    Press(SDLK_BACKSPACE, 8);
    Type("c");
    EXPECT_EQ(engine.Names().Name(), "ac");
    Press(SDLK_BACKSPACE, 8);
    Press(SDLK_BACKSPACE, 8);
    Press(SDLK_BACKSPACE, 8);
    EXPECT_EQ(engine.Names().Name(), "");
    EXPECT_TRUE(engine.Names().Typing());
}

TEST_F(TypingAName, OnlyLettersDigitsAndSpacesAreTyped) {
    Type("Zz 09");
    for (char c : std::string("!.-_/~@\t")) {
        Press(static_cast<SDLKey>(c), static_cast<Uint8>(c));
    }
    Press(SDLK_ESCAPE, 27);
    Press(SDLK_LEFT, 0);
    PushKey(SDLK_a, 0xE9);  // a character outside ASCII
    engine.RunFrame();
    EXPECT_EQ(engine.Names().Name(), "Zz 09");
    EXPECT_FALSE(engine.QuitRequested());
}

TEST_F(TypingAName, ANameNeitherBeginsNorEndsWithASpace) {
    SDL_Surface* screen = engine.GetScreen();
    Type("  Al Bo ");
    EXPECT_EQ(engine.Names().Name(), "Al Bo ");
    for (int i = 0; i < 6; ++i) {
        Press(SDLK_BACKSPACE, 8);
    }
    // Hammering Space on the emptied name changes nothing, and no name shows.
    ClearScreen(screen);
    Type("   ");
    engine.RunFrame();
    EXPECT_EQ(engine.Names().Name(), "");
    EXPECT_FALSE(NameRowHasInk(screen, 0, 300));

    // Spaces hammered after a name, in a second game too, go when it is confirmed.
    Type("Bot one  ");
    Press(SDLK_RETURN, 13);
    EXPECT_EQ(engine.Names().Name(), "Bot one");
    engine.SetName();
    EXPECT_EQ(engine.GetState()->GetName(), "Bot one");
    engine.SetEntername();
    engine.SetNameentered();
    engine.SetEntername();
    Type(" ");
    EXPECT_EQ(engine.Names().Name(), "Bot one ");
    Press(SDLK_RETURN, 13);
    EXPECT_EQ(engine.Names().Name(), "Bot one");

    // What a name from elsewhere (a posted replay) is believed to be: what confirming leaves,
    // never a name with a space at either end.
    EXPECT_TRUE(CouldBeTyped("Bot one"));
    EXPECT_TRUE(CouldBeTyped(""));
    for (const char* spaced : {"Bot one ", " Bot one", " ", "Bot one  "}) {
        EXPECT_FALSE(CouldBeTyped(spaced)) << '"' << spaced << '"';
    }
}

TEST_F(TypingAName, NameStopsAtSeventeenCharactersAndReturnStillConfirms) {
    Type("abcdefghijklmnopqrstu");
    EXPECT_EQ(engine.Names().Name(), "abcdefghijklmnopq");
    Press(SDLK_RETURN, 13);
    EXPECT_TRUE(engine.Names().Confirmed());
    EXPECT_EQ(engine.Names().Name(), "abcdefghijklmnopq");
    EXPECT_TRUE(CouldBeTyped("abcdefghijklmnopq"));
    EXPECT_FALSE(CouldBeTyped("abcdefghijklmnopqr"));
}

TEST_F(TypingAName, ReturnOnAnEmptyNameConfirmsItAndTheNextReturnReachesTheScreen) {
    Press(SDLK_RETURN, 13);
    EXPECT_TRUE(engine.Names().Confirmed());
    EXPECT_EQ(engine.Names().Name(), "");
    EXPECT_EQ(std::count(log.begin(), log.end(), "gameover:key3"), 0);
    Press(SDLK_RETURN, 13);
    EXPECT_EQ(std::count(log.begin(), log.end(), "gameover:key3"), 1);
}

TEST_F(TypingAName, SetNameHandsTheTypedNameToTheCurrentScreen) {
    Type("Ann");
    engine.SetName();
    EXPECT_EQ(engine.GetState()->GetName(), "Ann");
}

TEST_F(TypingAName, OverlayShowsNothingBeforeTheFirstKeyThenNameAndPromptThenOnlyTheNextPrompt) {
    SDL_Surface* screen = engine.GetScreen();
    ClearScreen(screen);
    engine.RunFrame();
    EXPECT_FALSE(NameRowHasInk(screen, 0, 640));

    Type("W");
    ClearScreen(screen);
    engine.RunFrame();
    EXPECT_TRUE(NameRowHasInk(screen, 100, 300));
    EXPECT_TRUE(NameRowHasInk(screen, 300, 640));

    Press(SDLK_RETURN, 13);
    ClearScreen(screen);
    engine.RunFrame();
    EXPECT_FALSE(NameRowHasInk(screen, 0, 300));
    EXPECT_TRUE(NameRowHasInk(screen, 300, 640));

    // Both flags off again: no overlay at all.
    engine.SetEntername();
    engine.SetNameentered();
    ClearScreen(screen);
    engine.RunFrame();
    EXPECT_FALSE(NameRowHasInk(screen, 0, 640));
}

TEST_F(TypingAName, ALongNameOfWideLettersMovesThePromptDownAndAShortOneLeavesEveryPixel) {
    // A short name: the frame is the two lines where they always stood.
    SDL_Surface* screen = engine.GetScreen();
    Type("Al");
    ClearScreen(screen);
    engine.RunFrame();
    const std::vector<Uint8> typed = Pixels(screen);
    Text name;
    Text prompt;
    name.SetPos(100, 350);
    name.Render("Al");
    prompt.SetPos(300, 350);
    prompt.Render("Push Enter to confirm name");
    ClearScreen(screen);
    name.Draw(screen);
    prompt.Draw(screen);
    EXPECT_TRUE(typed == Pixels(screen));

    for (const char* longest : {"WWWWWWWWWWWWWWWWW", "ALEXANDER MORGAN", "MMMMMMMMMMMMMMMMM"}) {
        ::NameEntry entry(engine.GetAssets());
        entry.ToggleOn();
        TypeInto(entry, longest);
        const SDL_Rect nameBox = Box(entry.NameLine());
        const SDL_Rect promptBox = Box(entry.PromptLine());
        ASSERT_GE(nameBox.x + nameBox.w, 300) << longest;  // it would reach the prompt's place
        EXPECT_TRUE(Apart(nameBox, promptBox)) << longest;
        EXPECT_TRUE(InsideTheWindow(nameBox)) << longest;
        EXPECT_TRUE(InsideTheWindow(promptBox)) << longest;

        // Confirmed, the name goes and the next prompt stands in the name's row as always.
        SDL_keysym enter{};
        enter.sym = SDLK_RETURN;
        entry.TypeKey(enter);
        entry.Draw(screen);
        EXPECT_EQ(entry.PromptLine().GetPosY(), 350) << longest;
        EXPECT_TRUE(InsideTheWindow(Box(entry.PromptLine()))) << longest;
    }
}

TEST_F(TypingAName, ASecondGameStartsFromThePreviousName) {
    Type("Bo");
    Press(SDLK_RETURN, 13);
    engine.SetEntername();
    engine.SetNameentered();
    EXPECT_FALSE(engine.Names().On());

    engine.SetEntername();
    EXPECT_TRUE(engine.Names().Typing());
    Type("b");
    EXPECT_EQ(engine.Names().Name(), "Bob");
}

}  // namespace
