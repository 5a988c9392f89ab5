// The engine's name entry: typing rules and the overlay drawn over the game-over screen.
#include "engine/GameEngine.h"

namespace {
// A name may grow while it holds at most this many characters, so it reaches one more.
constexpr std::string::size_type kLongestNameThatGrows = 16;
constexpr const char* kConfirmPrompt = "Push Enter to confirm name";
constexpr const char* kAddScorePrompt = "Push Enter to add your score";

bool IsNameCharacter(Uint16 unicode) {
    return unicode == ' ' || (unicode >= '0' && unicode <= '9') ||
           (unicode >= 'A' && unicode <= 'Z') || (unicode >= 'a' && unicode <= 'z');
}

// A player still hammering Space when the game ends would otherwise start the name with spaces
// nobody can see in the list.
bool Appends(const std::string& name, Uint16 unicode) {
    return name.size() <= kLongestNameThatGrows && IsNameCharacter(unicode) &&
           !(unicode == ' ' && name.empty());
}
}  // namespace

void GameEngine::TypeNameKey(const SDL_keysym& key) {
    const std::string before = playerName;
    if (Appends(playerName, key.unicode)) {
        playerName += static_cast<char>(key.unicode);
    }
    if (key.sym == SDLK_RETURN) {
        nameEntered = true;
        PlaySound(Effect::Select);
    }
    if (key.sym == SDLK_BACKSPACE && !playerName.empty()) {
        playerName.pop_back();
    }
    if (playerName != before) {
        nameText->Render(playerName.c_str());
        if (!nameEntered) {
            promptText->Render(kConfirmPrompt);
        }
    }
}

void GameEngine::DrawNameOverlay() {
    if (!enterName) {
        return;
    }
    if (!nameEntered) {
        nameText->Draw(screen);
        promptText->Draw(screen);
        return;
    }
    promptText->Render(kAddScorePrompt);
    promptText->Draw(screen);
}
